#include "skinui/CFrameSequence.h"

#include "platform/TextConversion.h"
#include "skinui/AttributeValue.h"
#include "skinui/CControlUI.h"

#include <array>
#include <cstdio>
#include <optional>

namespace SkinUI {

namespace {

constexpr size_t kMaxFrameNameChars = 259;

// Only the exact text "false" switches a sequence flag off.
bool SequenceFlag(std::string_view value) { return value != "false"; }

size_t SkipWhile(std::string_view text, size_t pos, std::string_view allowed)
{
    while (pos < text.size() && allowed.find(text[pos]) != std::string_view::npos) ++pos;
    return pos;
}

// A width or precision of at most three digits keeps the formatted name short.
std::optional<size_t> SkipNumber(std::string_view text, size_t pos)
{
    const size_t end = SkipWhile(text, pos, "0123456789");
    if (end - pos > 3) return std::nullopt;
    return end;
}

// The end of the one integer conversion starting at `percent`, if it is one
// (flags, width, precision, no length modifier, no '*').
std::optional<size_t> IntegerConversionEnd(std::string_view pattern, size_t percent)
{
    std::optional<size_t> pos = SkipNumber(pattern, SkipWhile(pattern, percent + 1, "-+ #0"));
    if (pos && *pos < pattern.size() && pattern[*pos] == '.') pos = SkipNumber(pattern, *pos + 1);
    if (pos && *pos < pattern.size() && std::string_view("diouxX").find(pattern[*pos]) != std::string_view::npos) {
        return *pos + 1;
    }
    return std::nullopt;
}

// A pattern with exactly one integer conversion and "%%" escapes is safe to
// hand to the formatter; anything else would read arguments that are not there.
bool IsSingleIntegerFormat(std::string_view pattern)
{
    int conversions = 0;
    for (size_t pos = 0; pos < pattern.size(); ++pos) {
        if (pattern[pos] != '%') continue;
        if (pos + 1 < pattern.size() && pattern[pos + 1] == '%') {
            ++pos;
            continue;
        }
        const std::optional<size_t> end = IntegerConversionEnd(pattern, pos);
        if (!end) return false;
        ++conversions;
        pos = *end - 1;
    }
    return conversions == 1;
}

}  // namespace

CFrameSequence::CFrameSequence(int spanMs, bool round) : span_(spanMs), round_(round) {}

bool CFrameSequence::SetAttribute(std::string_view name, std::string_view value)
{
    const auto is = [name](std::string_view expected) { return Platform::EqualsIgnoringCase(name, expected); };
    // The pattern's name is matched as written; the others ignore case.
    if (name == "sequencebkimage") {
        SetPattern(value);
    } else if (is("sequencecount")) {
        SetCount(ParseInt(value));
    } else if (is("sequencespan")) {
        SetSpan(ParseInt(value));
    } else if (is("sequenceloop")) {
        loop_ = SequenceFlag(value);
    } else if (is("autostart")) {
        autoStart_ = SequenceFlag(value);
    } else if (is("sequenceround")) {
        round_ = SequenceFlag(value);
    } else {
        return false;
    }
    return true;
}

void CFrameSequence::OnInit(CControlUI& control) const
{
    if (autoStart_) control.SetTimer(kTimerId, static_cast<uint32_t>(span_));
}

void CFrameSequence::Start(CControlUI& control)
{
    index_ = 0;
    control.SetTimer(kTimerId, static_cast<uint32_t>(span_));
}

void CFrameSequence::OnTimer(CControlUI& control)
{
    const int frame = Tick();
    if (frame == kStop) {
        control.KillTimer(kTimerId);
    } else if (frame != kNothing) {
        control.SetBkImage(FrameName(frame));
        control.Invalidate();
    }
}

int CFrameSequence::Tick()
{
    if (pattern_.empty()) return kNothing;
    if (forward_ && !TurnAtEnd()) return kStop;
    if (!forward_ && !TurnAtStart()) return kStop;
    const int frame = index_;
    index_ += forward_ ? 1 : -1;
    return frame;
}

// After the last frame; false when the sequence ends here.
bool CFrameSequence::TurnAtEnd()
{
    if (index_ <= count_ - 1) return true;
    if (round_) {
        forward_ = false;
        index_ = count_ - 2;
        return true;
    }
    index_ = 0;
    return loop_;
}

// Back at the first frame; false when the sequence ends here. Counts below 2
// turn back below frame 0, so anything up to 0 is the start.
bool CFrameSequence::TurnAtStart()
{
    if (index_ > 0) return true;
    if (round_) forward_ = true;
    index_ = 0;
    return loop_;
}

std::string CFrameSequence::FrameName(int frame) const
{
    if (!IsSingleIntegerFormat(pattern_)) return "";
    // Room for the longest name in whole characters; the rest is cut off below.
    std::array<char, 4 * kMaxFrameNameChars + 16> buffer{};
    if (std::snprintf(buffer.data(), buffer.size(), pattern_.c_str(), frame) < 0) return "";
    std::string name(buffer.data());
    Platform::TruncateUtf8(name, kMaxFrameNameChars);
    return name;
}

}  // namespace SkinUI

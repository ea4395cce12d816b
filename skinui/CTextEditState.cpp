#include "skinui/CTextEditState.h"

#include "platform/TextConversion.h"

#include <algorithm>

namespace SkinUI {

namespace {

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

bool IsDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
}

} // namespace

void CTextEditState::SetText(std::string_view text)
{
    text_ = Platform::SanitizeUtf8(text);
    caret_ = anchor_ = text_.size();
}

size_t CTextEditState::SelectionStart() const
{
    return std::min(caret_, anchor_);
}

size_t CTextEditState::SelectionEnd() const
{
    return std::max(caret_, anchor_);
}

void CTextEditState::SelectAll()
{
    anchor_ = 0;
    caret_ = text_.size();
}

size_t CTextEditState::PreviousBoundary(size_t offset) const
{
    if (offset == 0) {
        return 0;
    }
    --offset;
    while (offset > 0 && IsContinuationByte(text_[offset])) {
        --offset;
    }
    return offset;
}

size_t CTextEditState::NextBoundary(size_t offset) const
{
    if (offset >= text_.size()) {
        return text_.size();
    }
    ++offset;
    while (offset < text_.size() && IsContinuationByte(text_[offset])) {
        ++offset;
    }
    return offset;
}

void CTextEditState::MoveTo(size_t offset, bool extend)
{
    offset = std::min(offset, text_.size());
    while (offset > 0 && offset < text_.size() && IsContinuationByte(text_[offset])) {
        --offset;
    }
    caret_ = offset;
    if (!extend) {
        anchor_ = caret_;
    }
}

void CTextEditState::MoveLeft(bool extend)
{
    // Without extending, a selection collapses to its start.
    if (!extend && HasSelection()) {
        MoveTo(SelectionStart(), false);
        return;
    }
    MoveTo(PreviousBoundary(caret_), extend);
}

void CTextEditState::MoveRight(bool extend)
{
    if (!extend && HasSelection()) {
        MoveTo(SelectionEnd(), false);
        return;
    }
    MoveTo(NextBoundary(caret_), extend);
}

void CTextEditState::MoveHome(bool extend)
{
    MoveTo(0, extend);
}

void CTextEditState::MoveEnd(bool extend)
{
    MoveTo(text_.size(), extend);
}

void CTextEditState::EraseSelection()
{
    const size_t start = SelectionStart();
    text_.erase(start, SelectionEnd() - start);
    caret_ = anchor_ = start;
}

std::string CTextEditState::Filter(std::string_view text) const
{
    std::string clean = Platform::SanitizeUtf8(text.substr(0, text.find_first_of("\r\n")));
    clean.erase(std::remove_if(clean.begin(), clean.end(),
                               [](char ch) { return static_cast<unsigned char>(ch) < 0x20 || ch == 0x7F; }),
                clean.end());
    return clean;
}

bool CTextEditState::Insert(std::string_view text)
{
    if (readOnly_) {
        return false;
    }
    std::string clean = Filter(text);
    if (numberOnly_ && !IsDigits(clean)) {
        return false;
    }
    const size_t selected = Platform::Utf8Length(std::string_view(text_).substr(SelectionStart(), SelectionEnd() - SelectionStart()));
    const size_t kept = Platform::Utf8Length(text_) - selected;
    const size_t room = maxChars_ > kept ? maxChars_ - kept : 0;
    Platform::TruncateUtf8(clean, room);
    if (clean.empty()) {
        return false;
    }
    EraseSelection();
    text_.insert(caret_, clean);
    caret_ = anchor_ = caret_ + clean.size();
    return true;
}

bool CTextEditState::InsertCodePoint(uint32_t codePoint)
{
    return Insert(EncodeCodePoint(codePoint));
}

bool CTextEditState::DeleteBackward()
{
    if (readOnly_ || (!HasSelection() && caret_ == 0)) {
        return false;
    }
    if (!HasSelection()) {
        anchor_ = PreviousBoundary(caret_);
    }
    EraseSelection();
    return true;
}

bool CTextEditState::DeleteForward()
{
    if (readOnly_ || (!HasSelection() && caret_ == text_.size())) {
        return false;
    }
    if (!HasSelection()) {
        anchor_ = NextBoundary(caret_);
    }
    EraseSelection();
    return true;
}

std::vector<size_t> CTextEditState::Boundaries() const
{
    std::vector<size_t> boundaries{0};
    for (size_t offset = 0; offset < text_.size();) {
        offset = NextBoundary(offset);
        boundaries.push_back(offset);
    }
    return boundaries;
}

std::string CTextEditState::EncodeCodePoint(uint32_t codePoint)
{
    std::string utf8;
    if (codePoint < 0x80) {
        utf8 += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        utf8 += static_cast<char>(0xC0 | (codePoint >> 6));
        utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
            return "";
        }
        utf8 += static_cast<char>(0xE0 | (codePoint >> 12));
        utf8 += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= 0x10FFFF) {
        utf8 += static_cast<char>(0xF0 | (codePoint >> 18));
        utf8 += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        utf8 += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    return utf8;
}

} // namespace SkinUI

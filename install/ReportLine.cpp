#include "install/ReportLine.h"

#include "platform/TextConversion.h"

#include <clocale>
#include <cstdlib>
#include <locale.h>

namespace {

constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";

locale_t ClassicLocale() {
    static const locale_t classic = ::newlocale(LC_ALL_MASK, "C", nullptr);
    return classic;
}

}  // namespace

void ReportLine::ForEach(std::string_view text, const std::function<void(ReportLine&)>& visit) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        ReportLine line(text.substr(0, end));
        if (!line.line_.empty()) visit(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
}

bool ReportLine::Is(std::string_view key) {
    if (!line_.starts_with(key)) return false;
    value_ = line_.substr(key.size());
    return true;
}

double ReportLine::Real() const {
    const std::string value(value_);
    return ::strtod_l(value.c_str(), nullptr, ClassicLocale());
}

int32_t ReportLine::Integer() const {
    return LeadingInteger(std::string(value_));
}

int32_t ReportLine::LeadingInteger(const std::string& text) {
    // Out-of-range numbers keep their low 32 bits, as the C library's "%d" does.
    return static_cast<int32_t>(static_cast<uint32_t>(::strtoll_l(text.c_str(), nullptr, 10, ClassicLocale())));
}

std::string ReportLine::Text() const {
    std::string text(value_);
    Platform::TruncateUtf8(text, kMaxTextChars);
    return text;
}

std::string ReportLine::Keyword() const {
    const std::size_t first = value_.find_first_not_of(kWhiteSpace);
    if (first == std::string_view::npos) return {};
    return std::string(value_.substr(first, value_.find_last_not_of(kWhiteSpace) - first + 1));
}

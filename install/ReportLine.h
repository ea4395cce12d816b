#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// One "Key=Value" report line of a package or uninstaller and the value forms
// its keys use. Keys are case-sensitive and match only at the line's start.
class ReportLine {
public:
    // The value buffer of a report holds this many characters.
    static constexpr std::size_t kMaxTextChars = 771;

    // Calls visit for every non-empty line of text; LF ends a line, a CR
    // before it stays part of the line.
    static void ForEach(std::string_view text, const std::function<void(ReportLine&)>& visit);

    explicit ReportLine(std::string_view line) : line_(line) {}

    // True when the line starts with key; the value is then what follows it.
    bool Is(std::string_view key);

    // A number as "%lf" reads it (leading white space skipped, the C locale);
    // 0 when there is none.
    double Real() const;
    // A signed 32-bit number as "%d" reads it; 0 when there is none.
    int32_t Integer() const;
    // The rest of the line, cut after kMaxTextChars characters.
    std::string Text() const;
    // The value without surrounding white space.
    std::string Keyword() const;

    // Leading digits with an optional sign after white space, as a standard
    // string-to-int conversion reads them; 0 when there are none.
    static int32_t LeadingInteger(const std::string& text);

private:
    std::string_view line_;
    std::string_view value_;
};

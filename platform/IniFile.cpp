#include "platform/IniFile.h"

#include "platform/FileSystem.h"
#include "platform/TextConversion.h"

#include <charconv>
#include <climits>
#include <fstream>
#include <sstream>

namespace Platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

bool FitsOnOneLine(std::string_view text) { return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos; }

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

// "[name]" -> name; anything else -> nullopt.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '[') return std::nullopt;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return KeyLine{Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Calls visit(lineIndex, keyLine) for every key line of the section; stops when visit returns true.
template <typename Visit>
bool ForEachKeyLine(const std::vector<std::string>& lines, std::string_view section, Visit visit) {
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            inSection = EqualsIgnoringCase(*name, section);
            continue;
        }
        if (!inSection) continue;
        if (const auto kv = ParseKeyLine(lines[i]); kv && visit(i, *kv)) return true;
    }
    return false;
}

}  // namespace

IniFile IniFile::Load(const std::string& path) {
    return LoadForUpdate(path).value_or(IniFile{});
}

std::optional<IniFile> IniFile::LoadForUpdate(const std::string& path) {
    std::string text;
    if (!ReadWholeFile(path, text)) {
        if (FileExists(path)) return std::nullopt;
        return IniFile{};
    }
    return Parse(std::move(text));
}

IniFile IniFile::Parse(std::string text) {
    IniFile ini;
    if (text.starts_with(kUtf16LeBom)) {
        text = DecodeCodePage(std::string_view(text).substr(kUtf16LeBom.size()), 1200);
        ini.encoding_ = Encoding::Utf16Le;
    } else if (text.starts_with(kUtf8Bom)) {
        text.erase(0, kUtf8Bom.size());
        ini.encoding_ = Encoding::Utf8WithBom;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
            ini.lineEnd_ = "\r\n";
        }
        ini.lines_.push_back(std::move(line));
        start = end + 1;
    }
    return ini;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    std::optional<std::string> found;
    ForEachKeyLine(lines_, section, [&](std::size_t, const KeyLine& kv) {
        if (!EqualsIgnoringCase(kv.key, key)) return false;
        found = SanitizeUtf8(Unquote(kv.value));
        return true;
    });
    return found;
}

bool IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!FitsOnOneLine(section) || !FitsOnOneLine(key) || !FitsOnOneLine(value) || Trim(key).empty() ||
        key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos)
        return false;
    const std::string newLine = std::string(key) + "=" + std::string(value);
    const bool replaced = ForEachKeyLine(lines_, section, [&](std::size_t i, const KeyLine& kv) {
        if (!EqualsIgnoringCase(kv.key, key)) return false;
        lines_[i] = newLine;
        return true;
    });
    if (replaced) return true;

    // Insert after the last non-blank line of the section, or append a new section.
    std::optional<std::size_t> insertAt;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto name = SectionName(lines_[i])) {
            inSection = EqualsIgnoringCase(*name, section);
            if (inSection) insertAt = i + 1;
            continue;
        }
        if (inSection && !Trim(lines_[i]).empty()) insertAt = i + 1;
    }
    if (insertAt) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), newLine);
        return true;
    }
    if (!lines_.empty() && lines_.back().empty()) lines_.pop_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(newLine);
    return true;
}

bool IniFile::Remove(std::string_view section, std::string_view key) {
    std::optional<std::size_t> at;
    ForEachKeyLine(lines_, section, [&](std::size_t i, const KeyLine& kv) {
        if (!EqualsIgnoringCase(kv.key, key)) return false;
        at = i;
        return true;
    });
    if (!at) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
    return true;
}

std::vector<std::string> IniFile::Sections() const {
    std::vector<std::string> names;
    for (const auto& line : lines_)
        if (const auto name = SectionName(line)) names.emplace_back(*name);
    return names;
}

std::vector<std::string> IniFile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    ForEachKeyLine(lines_, section, [&](std::size_t, const KeyLine& kv) {
        keys.emplace_back(kv.key);
        return false;
    });
    return keys;
}

bool IniFile::Save(const std::string& path) const {
    std::string text;
    for (const auto& line : lines_) text += line + lineEnd_;
    switch (encoding_) {
        case Encoding::Utf8: break;
        case Encoding::Utf8WithBom: text.insert(0, kUtf8Bom); break;
        case Encoding::Utf16Le: text = std::string(kUtf16LeBom) + EncodeCodePage(text, 1200); break;
    }
    return WriteFileAtomically(path, text);
}

std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view fallback, std::size_t maxChars) {
    return ReadIniString(IniFile::Load(path), section, key, fallback, maxChars);
}

std::string ReadIniString(const IniFile& file, std::string_view section, std::string_view key,
                          std::string_view fallback, std::size_t maxChars) {
    std::string value = file.Get(section, key).value_or(std::string(fallback));
    TruncateUtf8(value, maxChars);
    return value;
}

int ReadIniInt(const std::string& path, std::string_view section, std::string_view key, int fallback) {
    return ReadIniInt(IniFile::Load(path), section, key, fallback);
}

int ReadIniInt(const IniFile& file, std::string_view section, std::string_view key, int fallback) {
    const auto text = file.Get(section, key);
    if (!text) return fallback;
    std::string_view digits = *text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    long long magnitude = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), magnitude);
    if (ec == std::errc::invalid_argument || end == digits.data()) return 0;
    const long long value = negative ? -magnitude : magnitude;
    if (ec == std::errc::result_out_of_range || value < INT_MIN || value > INT_MAX) return fallback;
    return static_cast<int>(value);
}

bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
    std::optional<IniFile> ini = IniFile::LoadForUpdate(path);
    return ini && ini->Set(section, key, value) && ini->Save(path);
}

}  // namespace Platform

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Platform {

// An ini document with the private-profile rules: sections and keys compared
// ignoring case, blanks around keys and values trimmed, one pair of matching
// surrounding quotes removed from a value. Every line that is not touched by
// a write (comments, unknown lines, other keys) is kept as it was.
class IniFile {
public:
    // A missing or unreadable file gives an empty document.
    static IniFile Load(const std::string& path);
    // As Load, but nullopt when the file exists and cannot be read, so that a
    // write never replaces contents it could not see.
    static std::optional<IniFile> LoadForUpdate(const std::string& path);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // False, and nothing changed, when the names or the value cannot be kept on one line
    // (line breaks, NUL, "=" in the key, "]" in the section, an empty key).
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key's line; true when there was one.
    bool Remove(std::string_view section, std::string_view key);
    // Section names in file order, as written.
    std::vector<std::string> Sections() const;
    // Keys of a section in file order, as written.
    std::vector<std::string> Keys(std::string_view section) const;

    // Writes the document through a temporary file and a rename, so readers
    // see either the old or the new file, never a half-written one.
    bool Save(const std::string& path) const;

private:
    static IniFile Parse(std::string text);
    // A file written by a Windows tool may start with a byte-order mark; it is kept.
    enum class Encoding { Utf8, Utf8WithBom, Utf16Le };

    std::vector<std::string> lines_;
    std::string lineEnd_ = "\n";
    Encoding encoding_ = Encoding::Utf8;
};

inline constexpr std::size_t kProfileStringMaxChars = 259;

// One-call reads and writes in the manner of the private-profile functions. The forms
// that take a loaded file serve a caller reading many keys of one file.
std::string ReadIniString(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view fallback, std::size_t maxChars = kProfileStringMaxChars);
std::string ReadIniString(const IniFile& file, std::string_view section, std::string_view key,
                          std::string_view fallback, std::size_t maxChars = kProfileStringMaxChars);
// Leading decimal digits with an optional sign; no digits give 0; a missing
// key, or a number out of range, gives fallback.
int ReadIniInt(const std::string& path, std::string_view section, std::string_view key, int fallback);
int ReadIniInt(const IniFile& file, std::string_view section, std::string_view key, int fallback);
// Creates file, section and key as needed; false when the file cannot be written, or
// exists but cannot be read (it is then left alone rather than replaced).
bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);

}  // namespace Platform

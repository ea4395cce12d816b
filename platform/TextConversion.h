#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text inside the program is UTF-8. Bytes that come from or go to the outside
// world in a Windows code page (a package's console output, an ini written by a
// Windows tool) pass through here.
namespace Platform {

inline constexpr unsigned kCodePageAnsi = 0;   // the locale's code set
inline constexpr unsigned kCodePageUtf8 = 65001;

// Bytes in codePage -> UTF-8. Invalid or cut-off sequences become U+FFFD; a
// code page that cannot be converted at all gives "".
std::string DecodeCodePage(std::string_view bytes, unsigned codePage);

// UTF-8 -> bytes in codePage. Characters the code page lacks become '?'; a
// code page that cannot be converted at all gives "".
std::string EncodeCodePage(std::string_view utf8, unsigned codePage);

// Replaces every invalid UTF-8 sequence with U+FFFD.
std::string SanitizeUtf8(std::string_view bytes);

// Number of characters (code points) in valid UTF-8.
std::size_t Utf8Length(std::string_view utf8);

// Cuts valid UTF-8 after maxChars characters, never inside a character.
void TruncateUtf8(std::string& utf8, std::size_t maxChars);

// Equal when the texts differ only in the case of ASCII letters (names, keys, tags).
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// The iconv name of the locale's code set, with the plain C locale taken as UTF-8.
std::string AnsiCodeSetName();

}  // namespace Platform

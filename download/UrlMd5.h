#pragma once

#include <string>

namespace Utils {

// The path segment before the file name of a URL ("…/<md5>/name.exe"), or ""
// when the URL has fewer than two slashes.
std::string UrlMd5(const std::string& url);

// True when expected is a usable MD5 (32 characters) that differs from a
// computed digest of 32 characters; hex digits compare ignoring case.
bool Md5Mismatch(const std::string& expected, const std::string& computed);

enum class Md5Check { NoUrlMd5, Matches, Differs };
// Compares a downloaded file with the MD5 its URL carries; the file is read only when
// the URL has one.
Md5Check CheckAgainstUrlMd5(const std::string& urlMd5, const std::string& ansiPath);

}  // namespace Utils

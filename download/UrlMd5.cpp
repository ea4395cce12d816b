#include "download/UrlMd5.h"

#include "utils/FileMd5.h"

#include <strings.h>

namespace Utils {

namespace {
constexpr std::size_t kMd5Length = 32;
}

std::string UrlMd5(const std::string& url) {
    const std::size_t last = url.rfind('/');
    if (last == std::string::npos || last == 0) return "";
    const std::size_t previous = url.rfind('/', last - 1);
    if (previous == std::string::npos) return "";
    return url.substr(previous + 1, last - previous - 1);
}

bool Md5Mismatch(const std::string& expected, const std::string& computed) {
    return expected.size() == kMd5Length && computed.size() == kMd5Length &&
           strcasecmp(expected.c_str(), computed.c_str()) != 0;
}

Md5Check CheckAgainstUrlMd5(const std::string& urlMd5, const std::string& ansiPath) {
    if (urlMd5.size() != kMd5Length) return Md5Check::NoUrlMd5;
    return Md5Mismatch(urlMd5, FileMd5(ansiPath)) ? Md5Check::Differs : Md5Check::Matches;
}

}  // namespace Utils

#include "platform/TextConversion.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <iconv.h>
#include <langinfo.h>
#include <memory>
#include <string>

namespace Platform {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence at s[i], or 0 when it is invalid or cut off.
std::size_t ValidSequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return 1;
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + len > s.size()) return 0;
    if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < len; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    return len;
}

std::string IconvName(unsigned codePage) {
    switch (codePage) {
        case kCodePageAnsi: return AnsiCodeSetName();
        case kCodePageUtf8: return "UTF-8";
        case 1200: return "UTF-16LE";
        case 1201: return "UTF-16BE";
        case 20127: return "ASCII";
        case 28591: return "ISO-8859-1";
        case 54936: return "GB18030";
        default: return "CP" + std::to_string(codePage);
    }
}

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using IconvHandle = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

IconvHandle OpenIconv(const std::string& to, const std::string& from) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
    return IconvHandle(cd);
}

// Runs iconv over the whole input; onInvalid appends a stand-in and says how
// many input bytes to skip.
template <typename OnInvalid>
std::string Convert(iconv_t cd, std::string_view in, OnInvalid onInvalid) {
    std::string out;
    char buffer[4096];
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, dst - buffer);
        if (rc != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        const std::size_t skip = std::min(srcLeft, onInvalid(out, std::string_view(src, srcLeft)));
        src += skip;
        srcLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, dst - buffer);
    return out;
}

bool IsUtf8Name(const std::string& name) { return name == "UTF-8"; }

}  // namespace

std::string AnsiCodeSetName() {
    const char* codeset = nl_langinfo(CODESET);
    const std::string name = codeset ? codeset : "";
    // The plain C locale reports ASCII; file names on this platform are UTF-8.
    if (name.empty() || name == "ANSI_X3.4-1968" || name == "ASCII" || name == "UTF8" || name == "utf8")
        return "UTF-8";
    return name;
}

std::string SanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t len = ValidSequenceLength(bytes, i);
        if (len == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(bytes.substr(i, len));
            i += len;
        }
    }
    return out;
}

std::size_t Utf8Length(std::string_view utf8) {
    std::size_t count = 0;
    for (unsigned char c : utf8)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

void TruncateUtf8(std::string& utf8, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) continue;
        if (chars == maxChars) {
            utf8.resize(i);
            return;
        }
        ++chars;
    }
}

std::string DecodeCodePage(std::string_view bytes, unsigned codePage) {
    const std::string from = IconvName(codePage);
    if (IsUtf8Name(from)) return SanitizeUtf8(bytes);
    IconvHandle cd = OpenIconv("UTF-8", from);
    if (!cd) return "";
    return Convert(cd.get(), bytes, [](std::string& out, std::string_view) {
        out += kReplacement;
        return std::size_t{1};
    });
}

std::string EncodeCodePage(std::string_view utf8, unsigned codePage) {
    const std::string to = IconvName(codePage);
    if (IsUtf8Name(to)) return SanitizeUtf8(utf8);
    IconvHandle cd = OpenIconv(to, "UTF-8");
    if (!cd) return "";
    return Convert(cd.get(), utf8, [](std::string& out, std::string_view rest) {
        out += '?';
        const std::size_t len = ValidSequenceLength(rest, 0);
        return len == 0 ? std::size_t{1} : len;
    });
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace Platform

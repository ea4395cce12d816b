#include "utils/FileMd5.h"

#include <openssl/evp.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace Utils {

namespace {

// Reading in 1024-byte blocks costs one system call per block unless stdio
// fetches far larger pieces underneath.
constexpr std::size_t kStdioBuffer = 1u << 20;
constexpr std::size_t kBlock = 1024;
// Blocks are gathered before they are digested: the digest runs faster on
// larger pieces than on 1024 bytes at a time.
constexpr std::size_t kDigestBatch = 64 * kBlock;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
struct DigestFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};

std::string ToHex(const unsigned char* bytes, unsigned length) {
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(length * 2);
    for (unsigned i = 0; i < length; ++i) {
        hex.push_back(kDigits[bytes[i] >> 4]);
        hex.push_back(kDigits[bytes[i] & 0x0f]);
    }
    return hex;
}

}  // namespace

std::string FileMd5(const std::string& path) {
    if (path.empty()) return "";
    std::vector<char> stdioBuffer(kStdioBuffer);  // outlives the file that uses it
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return "";
    std::setvbuf(file.get(), stdioBuffer.data(), _IOFBF, stdioBuffer.size());

    std::unique_ptr<EVP_MD_CTX, DigestFree> context(EVP_MD_CTX_new());
    if (!context || EVP_DigestInit_ex(context.get(), EVP_md5(), nullptr) != 1) return "";
    std::vector<unsigned char> batch(kDigestBatch);
    std::size_t filled = 0, count;
    while ((count = std::fread(batch.data() + filled, 1, kBlock, file.get())) > 0) {
        filled += count;
        if (filled + kBlock > batch.size()) {
            EVP_DigestUpdate(context.get(), batch.data(), filled);
            filled = 0;
        }
    }
    if (std::ferror(file.get())) return "";
    EVP_DigestUpdate(context.get(), batch.data(), filled);
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned length = 0;
    if (EVP_DigestFinal_ex(context.get(), digest, &length) != 1) return "";
    return ToHex(digest, length);
}

}  // namespace Utils

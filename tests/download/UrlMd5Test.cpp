#include "download/UrlMd5.h"

#include <gtest/gtest.h>

namespace {

TEST(UrlMd5, TakesTheSegmentBeforeTheFileName) {
    const struct {
        const char* url;
        const char* expected;
    } cases[] = {
        {"http://h/a/0123456789abcdef0123456789abcdef/setup.exe", "0123456789abcdef0123456789abcdef"},
        {"http://h/files/setup.exe", "files"},
        {"setup.exe", ""},
        {"/setup.exe", ""},
        {"a/b", ""},
        {"a//b", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Utils::UrlMd5(c.url), c.expected) << c.url;
}

TEST(Md5Mismatch, ComparesHexIgnoringCaseAndOnlyFullDigests) {
    const std::string lower = "0123456789abcdef0123456789abcdef";
    const std::string upper = "0123456789ABCDEF0123456789ABCDEF";
    const std::string other = "ffffffffffffffffffffffffffffffff";
    EXPECT_FALSE(Utils::Md5Mismatch(lower, lower));
    EXPECT_FALSE(Utils::Md5Mismatch(upper, lower));
    EXPECT_TRUE(Utils::Md5Mismatch(other, lower));
    EXPECT_FALSE(Utils::Md5Mismatch("files", lower));  // no usable expectation
    EXPECT_FALSE(Utils::Md5Mismatch(other, ""));       // unreadable file
}

}  // namespace

#include "download/CurlInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(ContentRangeStart, ReadsTheFirstOffsetOfAContentRangeLine) {
    const struct {
        const char* line;
        int64_t start;
    } cases[] = {
        {"Content-Range: bytes 100-199/200\r\n", 100},
        {"content-range:bytes 0-9/10\r\n", 0},
        {"Content-Range: bytes 3221225472-3221225473/3221225474\r\n", 3221225472},
        {"Content-Range: bytes */200\r\n", -1},
        {"Content-Range: items 1-2/3\r\n", -1},
        {"Content-Range: bytes 100\r\n", -1},
        {"Content-Length: 100\r\n", -1},
        {"Content-Range:", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(ContentRangeStart(c.line), c.start) << c.line;
}

TEST(ResponseStartsAt, AcceptsOnlyBytesAtTheWantedOffset) {
    EXPECT_TRUE(ResponseStartsAt(206, 500, 500));
    EXPECT_FALSE(ResponseStartsAt(206, 0, 500));
    EXPECT_FALSE(ResponseStartsAt(206, -1, 500));
    EXPECT_TRUE(ResponseStartsAt(200, -1, 0));
    EXPECT_FALSE(ResponseStartsAt(200, -1, 500));  // the whole body for a later range
    EXPECT_FALSE(ResponseStartsAt(302, -1, 0));
}

TEST(CurlErrorText, UnknownCodesGetLibcurlsUnknownText) {
    EXPECT_STREQ(CurlErrorText(0), "No error");
    EXPECT_STREQ(CurlErrorText(-998), curl_easy_strerror(CURL_LAST));
    EXPECT_STREQ(CurlErrorText(100000), curl_easy_strerror(CURL_LAST));
}

}  // namespace

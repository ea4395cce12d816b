#include "utils/FileMd5.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(FileMd5, DigestsOfKnownContents) {
    TempFolder folder;
    const struct {
        const char* content;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
    };
    for (const auto& c : cases) {
        const std::string path = folder / "f";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.content;
        EXPECT_EQ(Utils::FileMd5(path), c.digest) << c.content;
    }
}

TEST(FileMd5, BlockBoundariesDoNotChangeTheDigest) {
    TempFolder folder;
    // 1024-byte reads: one byte short of, exactly at and one past a block.
    const struct {
        std::size_t size;
        const char* digest;
    } cases[] = {
        {1023, "e3e210ff5dfc9da789cdbee262348db6"},
        {1024, "c9a34cfc85d982698c6ac89f76071abd"},
        {1025, "ae187e1febee2a150b64849c32d566ca"},
    };
    for (const auto& c : cases) {
        const std::string path = folder / "f";
        std::ofstream(path, std::ios::binary | std::ios::trunc) << std::string(c.size, 'a');
        EXPECT_EQ(Utils::FileMd5(path), c.digest) << c.size;
    }
}

TEST(FileMd5, UnreadableGivesEmpty) {
    TempFolder folder;
    EXPECT_EQ(Utils::FileMd5(""), "");
    EXPECT_EQ(Utils::FileMd5(folder / "missing"), "");
    EXPECT_EQ(Utils::FileMd5(folder.Path()), "");  // a folder opens but cannot be read
}

}  // namespace

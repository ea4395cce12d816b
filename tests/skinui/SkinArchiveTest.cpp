#include "skinui/CSkinArchive.h"

#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace {

using SkinUI::CSkinArchive;

std::unique_ptr<CSkinArchive> OpenSolid()
{
    static const std::string bytes = SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE);
    return CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
}

std::string ReadEntry(const CSkinArchive& archive, const std::string& name)
{
    std::size_t index = 0;
    uint64_t size = 0;
    std::string data;
    if (!archive.Find(name, index, size)) return "<missing>";
    EXPECT_EQ(CSkinArchive::kCopyOk, archive.Copy(index, data));
    EXPECT_EQ(size, data.size());
    return data;
}

TEST(SkinArchiveTest, DecodesEveryFileWithItsNameAndPosition)
{
    auto archive = OpenSolid();
    ASSERT_NE(nullptr, archive);
    ASSERT_EQ(4u, archive->Entries().size());  // folders are items but not entries
    for (const auto& entry : archive->Entries()) {
        EXPECT_EQ(entry.size, entry.data.size()) << entry.name;
        EXPECT_EQ(entry.name.size() + 1, entry.nameLength) << entry.name;
    }
    EXPECT_EQ(SkinTest::ReadFixture(SKIN_FIXTURE_DIR "/exitTipWnd.xml"), ReadEntry(*archive, "exitTipWnd.xml"));
}

TEST(SkinArchiveTest, LookupRules)
{
    auto archive = OpenSolid();
    ASSERT_NE(nullptr, archive);
    const std::string png = SkinTest::ReadFixture(SKIN_FIXTURE_DIR "/res/mainWnd/cb1.png");
    const std::string xml = SkinTest::ReadFixture(SKIN_FIXTURE_DIR "/exitTipWnd.xml");
    const struct {
        const char* requested;
        std::string expected;
    } cases[] = {
        {"ExitTipWnd.xml", xml},
        {"EXITTIPWND.XML", xml},
        {"res\\mainWnd\\Cb1.png", png},
        {"res/mainwnd/CB1.PNG", png},
        {"exitTipWnd.xm", "<missing>"},   // a prefix never matches
        {"xitTipWnd.xml", "<missing>"},
        {"exitTipWnd.xml ", "<missing>"},
        {"res/mainWnd", "<missing>"},      // folders are not entries
        {"", "<missing>"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, ReadEntry(*archive, c.requested)) << c.requested;
}

TEST(SkinArchiveTest, FirstOfEntriesDifferingOnlyInCaseWins)
{
    auto archive = OpenSolid();
    ASSERT_NE(nullptr, archive);
    std::string first;
    for (const auto& entry : archive->Entries()) {
        if (entry.name == "a.txt" || entry.name == "A.TXT") {
            first = entry.data;
            break;
        }
    }
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, ReadEntry(*archive, "a.txt"));
    EXPECT_EQ(first, ReadEntry(*archive, "A.TXT"));
}

TEST(SkinArchiveTest, CopyOfAnUnknownIndexFails)
{
    auto archive = OpenSolid();
    ASSERT_NE(nullptr, archive);
    std::string data = "kept";
    EXPECT_EQ(CSkinArchive::kCopyNoEntry, archive->Copy(999, data));
    EXPECT_EQ("kept", data);
    archive->Close();
    EXPECT_TRUE(archive->Entries().empty());
    EXPECT_EQ("<missing>", ReadEntry(*archive, "exitTipWnd.xml"));
}

TEST(SkinArchiveTest, DamageInALaterBlockKeepsTheEntriesBeforeIt)
{
    std::string bytes = SkinTest::ReadFixture(SKIN_BLOCKS_ARCHIVE);
    auto intact = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(nullptr, intact);
    ASSERT_EQ(4u, intact->Entries().size());
    // Stored blocks hold the files as they are: flip a byte of the last one.
    const std::string& lastData = intact->Entries().back().data;
    const std::size_t at = bytes.find(lastData);
    ASSERT_NE(std::string::npos, at);
    bytes[at] = static_cast<char>(bytes[at] ^ 0x20);

    auto damaged = CSkinArchive::OpenFromMemory(bytes.data(), bytes.size());
    ASSERT_NE(nullptr, damaged);
    ASSERT_EQ(3u, damaged->Entries().size());
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(intact->Entries()[i].name, damaged->Entries()[i].name);
        EXPECT_EQ(intact->Entries()[i].data, damaged->Entries()[i].data);
    }
    EXPECT_EQ("<missing>", ReadEntry(*damaged, intact->Entries().back().name));
}

TEST(SkinArchiveTest, TruncatedEmptyOrForeignBytesGiveNoEntries)
{
    const std::string bytes = SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE);
    const std::string inputs[] = {
        "",
        bytes.substr(0, 6),
        bytes.substr(0, 32),
        bytes.substr(0, bytes.size() / 2),
        bytes.substr(0, bytes.size() - 1),
        std::string(1000, 'x'),
        "<Window/>",
    };
    for (const std::string& input : inputs) {
        auto archive = CSkinArchive::OpenFromMemory(input.data(), input.size());
        if (archive != nullptr) {
            EXPECT_TRUE(archive->Entries().empty()) << input.size();
        }
    }
    EXPECT_EQ(nullptr, CSkinArchive::OpenFromMemory(nullptr, 10));
}

TEST(SkinArchiveTest, FromFile)
{
    auto archive = CSkinArchive::OpenFromFile(SKIN_SOLID_ARCHIVE);
    ASSERT_NE(nullptr, archive);
    EXPECT_EQ(4u, archive->Entries().size());

    EXPECT_EQ(nullptr, CSkinArchive::OpenFromFile("/nonexistent/skin.7z"));

    TempFolder folder;
    auto unreadable = CSkinArchive::OpenFromFile(folder.Write("garbage.7z", "not an archive at all"));
    ASSERT_NE(nullptr, unreadable);
    EXPECT_TRUE(unreadable->Entries().empty());
}

}  // namespace

#include "skinui/CResourceSettings.h"

#include "platform/ResourceTable.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

namespace {

using SkinUI::CResourceSettings;
using SkinUI::SkinReadStatus;

class ResourceSettingsTest : public SkinTest::ProcessStateTest {};

TEST_F(ResourceSettingsTest, PathsEndInASeparator)
{
    const struct {
        const char* given;
        const char* stored;
    } cases[] = {{"", ""}, {"/opt/skin", "/opt/skin/"}, {"/opt/skin/", "/opt/skin/"}, {"C:\\skin\\", "C:\\skin\\"}};
    for (const auto& c : cases) {
        CResourceSettings::SetResourcePath(c.given);
        EXPECT_EQ(c.stored, CResourceSettings::GetResourcePath()) << c.given;
    }
    CResourceSettings::SetInstance("/opt/nuvalo/installer");
    EXPECT_EQ("/opt/nuvalo/", CResourceSettings::GetInstancePath());
    CResourceSettings::SetInstance("");
    EXPECT_EQ("", CResourceSettings::GetInstancePath());
}

TEST_F(ResourceSettingsTest, ResourceTableFindsByTypeAndId)
{
    static const char kBlob[] = "blob";
    Platform::ResourceTable::Register("TestType", 7, kBlob, 4);
    EXPECT_EQ("blob", Platform::ResourceTable::Find("TESTTYPE", 7));
    EXPECT_EQ("blob", Platform::ResourceTable::Find("testtype", "7"));
    EXPECT_TRUE(Platform::ResourceTable::Find("TestType", 8).empty());
    EXPECT_TRUE(Platform::ResourceTable::Find("Other", 7).empty());
}

TEST_F(ResourceSettingsTest, ArchiveResourceIsDecodedOncePerProcess)
{
    static const std::string archive = SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE);
    Platform::ResourceTable::Register("ZIPRES", 9147, archive.data(), archive.size());

    EXPECT_FALSE(CResourceSettings::UseArchiveResource(9148));
    EXPECT_EQ("", CResourceSettings::GetArchiveName());

    ASSERT_TRUE(CResourceSettings::UseArchiveResource(9147));
    const SkinUI::CSkinArchive* first = CResourceSettings::GetOpenArchive();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ("membuffer", CResourceSettings::GetArchiveName());
    EXPECT_TRUE(CResourceSettings::IsArchiveCached());

    // A second window: same archive object, nothing decoded again.
    ASSERT_TRUE(CResourceSettings::UseArchiveResource(9147));
    CResourceSettings::SetArchiveFromMemory(archive.data(), archive.size());
    EXPECT_EQ(first, CResourceSettings::GetOpenArchive());

    std::string bytes;
    EXPECT_EQ(SkinReadStatus::Ok, CResourceSettings::ReadSkinFile("ExitTipWnd.xml", bytes, 1 << 20));
    EXPECT_EQ(SkinTest::ReadFixture(SKIN_FIXTURE_DIR "/exitTipWnd.xml"), bytes);
    EXPECT_EQ(SkinReadStatus::EntryNotFound, CResourceSettings::ReadSkinFile("mainWnd.xml", bytes, 1 << 20));
    EXPECT_EQ(SkinReadStatus::FileTooLarge, CResourceSettings::ReadSkinFile("exitTipWnd.xml", bytes, 10));
}

TEST_F(ResourceSettingsTest, LooseFiles)
{
    TempFolder folder;
    folder.Write("skin.xml", "<Window/>");
    folder.Write("res/mainWnd/Skin.xml", "<Window/>");
    folder.Write("empty.xml", "");
    CResourceSettings::SetResourcePath(folder.Path());
    const struct {
        const char* name;
        std::size_t maxBytes;
        SkinReadStatus status;
    } cases[] = {
        {"skin.xml", 100, SkinReadStatus::Ok},
        {"skin.xml", 9, SkinReadStatus::Ok},
        {"skin.xml", 8, SkinReadStatus::FileTooLarge},
        {"empty.xml", 100, SkinReadStatus::FileEmpty},
        {"missing.xml", 100, SkinReadStatus::FileOpenFailed},
        {"res\\mainWnd\\Skin.xml", 100, SkinReadStatus::Ok},   // the archive's name rules
        {"RES/MAINWND/skin.XML", 100, SkinReadStatus::Ok},
        {"res\\mainWnd\\Skin.xm", 100, SkinReadStatus::FileOpenFailed},
        {"res", 100, SkinReadStatus::FileOpenFailed},           // a folder
        {"", 100, SkinReadStatus::FileOpenFailed},
    };
    for (const auto& c : cases) {
        std::string bytes;
        EXPECT_EQ(c.status, CResourceSettings::ReadSkinFile(c.name, bytes, c.maxBytes)) << c.name << c.maxBytes;
        EXPECT_EQ(c.status == SkinReadStatus::Ok ? "<Window/>" : "", bytes);
    }
}

TEST_F(ResourceSettingsTest, ArchiveFiles)
{
    TempFolder folder;
    folder.Write("skin.7z", SkinTest::ReadFixture(SKIN_SOLID_ARCHIVE));
    CResourceSettings::SetResourcePath(folder.Path());
    std::string bytes;

    for (bool cached : {true, false}) {
        CResourceSettings::SetArchiveFromFile("skin.7z", cached);
        EXPECT_EQ(cached, CResourceSettings::GetOpenArchive() != nullptr);
        EXPECT_EQ(SkinReadStatus::Ok, CResourceSettings::ReadSkinFile("res\\mainWnd\\cb1.png", bytes, 1 << 20));
        EXPECT_EQ(SkinReadStatus::EntryNotFound, CResourceSettings::ReadSkinFile("none.xml", bytes, 1 << 20));
    }
    CResourceSettings::SetArchiveFromFile("missing.7z", false);
    EXPECT_EQ(SkinReadStatus::ArchiveOpenFailed, CResourceSettings::ReadSkinFile("exitTipWnd.xml", bytes, 1 << 20));
    CResourceSettings::SetArchiveFromFile("missing.7z", true);
    EXPECT_EQ(SkinReadStatus::ArchiveOpenFailed, CResourceSettings::ReadSkinFile("exitTipWnd.xml", bytes, 1 << 20));
}

}  // namespace

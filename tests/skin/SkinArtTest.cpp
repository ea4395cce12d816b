#include "PngImage.h"
#include "SkinFiles.h"

#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace {

namespace fs = std::filesystem;

std::string FrameName(const char* folder, int index)
{
    char name[96];
    std::snprintf(name, sizeof name, "res\\mainWnd\\%s\\%03d.png", folder, index);
    return name;
}

// Images the program sets from code rather than from a skin file.
TEST(SkinArt, ImagesSetByTheProgramExistWithTheirSizes)
{
    const struct {
        const char* path;
        int width;
        int height;
    } cases[] = {
        {"res\\mainWnd\\bg1.png", 600, 400},
        {"res\\mainWnd\\bg2.png", 600, 400},
        {"res\\mainWnd\\bg3.png", 600, 400},
        {"res\\mainWnd\\bg4.png", 600, 400},
        {"res\\mainWnd\\installPrg3.png", 20, 5},
    };
    for (const auto& c : cases) {
        const auto image = PngImage::Load(SkinFiles::TreePath(c.path));
        ASSERT_TRUE(image) << c.path;
        EXPECT_EQ(image->Width(), c.width) << c.path;
        EXPECT_EQ(image->Height(), c.height) << c.path;
        EXPECT_TRUE(image->HasVisiblePixel()) << c.path;
    }
}

TEST(SkinArt, ProgressAnimationHas99FramesAndNoMore)
{
    for (int index = 0; index < 99; ++index) {
        const auto frame = PngImage::Load(SkinFiles::TreePath(FrameName("progressAnimate", index)));
        ASSERT_TRUE(frame) << index;
        EXPECT_EQ(frame->Width(), 70);
        EXPECT_EQ(frame->Height(), 70);
        EXPECT_TRUE(frame->HasVisiblePixel()) << index;
    }
    EXPECT_FALSE(Platform::FileExists(SkinFiles::TreePath(FrameName("progressAnimate", 99))));
}

TEST(SkinArt, WindowIconIsASquareImage)
{
    const auto icon = PngImage::Load(SKIN_ICON_FILE);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->Width(), icon->Height());
    EXPECT_GE(icon->Width(), 32);
    EXPECT_TRUE(icon->HasVisiblePixel());
}

TEST(SkinArt, TreeHoldsTheSkinFilesUnchanged)
{
    for (const std::string& name : SkinFiles::Names()) {
        std::string source, copy;
        ASSERT_TRUE(Platform::ReadWholeFile(Platform::JoinPath(SKIN_SOURCE_DIR, name), source));
        ASSERT_TRUE(Platform::ReadWholeFile(Platform::JoinPath(SKIN_TREE_DIR, name), copy)) << name;
        EXPECT_EQ(source, copy) << name;
    }
}

class ArtGenerator : public testing::Test {
protected:
    void SetUp() override
    {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/skin-art-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    // Runs the generator with the given argument text; answers its exit status.
    static int Run(const std::string& arguments)
    {
        const std::string command = std::string("'") + SKIN_ART_PROGRAM + "' " + arguments + " 2>/dev/null";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::set<std::string> FilesBelow(const fs::path& root)
    {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file())
                files.insert(fs::relative(entry.path(), root).string());
        }
        return files;
    }

    std::string folder_;
};

// A second run must reproduce the tree byte for byte, or the packed skin would change
// from build to build.
TEST_F(ArtGenerator, ReproducesTheTreeExactly)
{
    const std::string icon = folder_ + "/icon.png";
    ASSERT_EQ(Run("'" + folder_ + "/tree' '" + icon + "'"), 0);

    const fs::path built = fs::path(SKIN_TREE_DIR) / "res";
    const fs::path again = fs::path(folder_) / "tree" / "res";
    const std::set<std::string> files = FilesBelow(built);
    ASSERT_EQ(files, FilesBelow(again));
    for (const std::string& file : files) {
        std::string first, second;
        ASSERT_TRUE(Platform::ReadWholeFile((built / file).string(), first));
        ASSERT_TRUE(Platform::ReadWholeFile((again / file).string(), second));
        EXPECT_TRUE(first == second) << file << " differs between runs";
    }
    std::string firstIcon, secondIcon;
    ASSERT_TRUE(Platform::ReadWholeFile(SKIN_ICON_FILE, firstIcon));
    ASSERT_TRUE(Platform::ReadWholeFile(icon, secondIcon));
    EXPECT_TRUE(firstIcon == secondIcon);
}

TEST_F(ArtGenerator, ReportsBadArgumentsAndUnwritableFolders)
{
    EXPECT_EQ(Run(""), 2);
    EXPECT_EQ(Run("'" + folder_ + "'"), 2);

    // A plain file where the tree folder should be: nothing can be written below it.
    const std::string blocker = folder_ + "/blocker";
    ASSERT_TRUE(Platform::WriteFileAtomically(blocker, "x"));
    EXPECT_EQ(Run("'" + blocker + "' '" + folder_ + "/icon.png'"), 1);
    EXPECT_EQ(Run("'" + folder_ + "/tree' '" + blocker + "/icon.png'"), 1);
}

}  // namespace

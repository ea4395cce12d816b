#include "tests/mainwnd/MainWndFixture.h"

#include "app/InstanceGuard.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "tools/packageserver/PackageServer.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::size_t kPackageBytes = 3u << 19;  // the downloaders refuse anything below 1 MiB

// The window over the real orchestration: the package server on 127.0.0.1
// serves the demo package, which installs into a folder of the test.
class MainWndPipelineTest : public MainWndFixture {
protected:
    void SetUp() override
    {
        MainWndFixture::SetUp();
        folders.Set("DEMO_STEP_MS", "5");
        folders.Set("DEMO_PACKAGE_FAULT", "");
        std::string image;
        ASSERT_TRUE(Platform::ReadWholeFile(DEMO_PACKAGE_PATH, image));
        image.resize(std::max(image.size(), kPackageBytes), '\0');
        const std::string package = folders.Path("served/nuvaloPDFconverter.exe");
        std::filesystem::create_directories(Platform::ParentFolder(package));
        ASSERT_TRUE(Platform::WriteFileAtomically(package, image));
        PackageServer::Options options;
        options.packagePath = package;
        server = std::make_unique<PackageServer>(options);
        std::string error;
        ASSERT_TRUE(server->Start(&error)) << error;
        settings.DownloadUrl = server->BaseUrl() + "/software/359";
    }

    void TearDown() override
    {
        MainWndFixture::TearDown();
        server.reset();
    }

    std::unique_ptr<PackageServer> server;
};

TEST_F(MainWndPipelineTest, CustomInstallRunsThePackageAndReachesTheFinishPage)
{
    const std::string folder = folders.Path("opt/Nuvalo 转换器/nuvaloPDFconverter");
    OpenWindow();
    ClickOn("customeBtn");
    Find("installDirEdit")->SetText(folder);
    ClickOn("createQSCb");
    ClickOn("customeInstallBtn");
    ASSERT_TRUE(PumpUntil([&] { return window->CurrentPage() == CMainWnd::kFinishedPage || !dialogs.empty(); }));
    ASSERT_THAT(dialogs, ::testing::IsEmpty());
    EXPECT_EQ(ProgressValue(), 100);
    EXPECT_TRUE(Platform::FileExists(folder + "/nuvalo-pdfconvert.exe"));
    // The worker removes the package after it has reported the success.
    EXPECT_TRUE(PumpUntil([&] { return !Platform::FileExists(folder + "/__Package_nuvaloPDFconverter.exe"); }))
        << "the package is removed";
    EXPECT_EQ(window->Facts().instPath, folder);
    EXPECT_EQ(window->Facts().startupStyle, 2);
    std::string recorded;
    ASSERT_TRUE(InstallRecords::ReadSetting("InstallPath", recorded));
    EXPECT_EQ(recorded, folder);
    EXPECT_FALSE(Platform::ReadIniString(folder + "/set.ini", "Install", "DeviceID", "").empty());
    // The finish page ends with the close button, without a question.
    PumpIdle();
    ClickOn("closebtn");
    EXPECT_TRUE(WindowGone());
    EXPECT_THAT(dialogs, ::testing::IsEmpty());
}

// The entry point, run as a program: a second installer in the same session
// ends at once with -1 and creates no window (the headless back end would
// print the skin's failures; nothing is printed at all).
TEST_F(MainWndPipelineTest, SecondInstanceEndsAtOnceWithMinusOne)
{
    InstanceGuard running("Installer_nuvaloPDFconverter");
    running.Acquire();
    ASSERT_TRUE(running.IsHeld());
    folders.Set("NUVALO_WINDOW_SYSTEM", "headless");
    const std::string program = NUVALO_INSTALLER_PATH;
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    pid_t ended = 0;
    for (int waited = 0; waited < 200 && (ended = ::waitpid(pid, &status, WNOHANG)) == 0; ++waited) ::usleep(50000);
    if (ended == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        FAIL() << "the second installer did not end";
    }
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 255);
}

}  // namespace

// The installer end to end on a real X server: its own Xvfb, the package
// server with the demo package on 127.0.0.1, the installer with a throw-away
// home, driven by xdotool at the skin's control positions.
#include "platform/FileSystem.h"
#include "platform/HeadlessWindowSystem.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/WindowMessages.h"
#include "skinui/CControlUI.h"
#include "skinui/CManagerUI.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSkinResources.h"
#include "tests/e2e/Process.h"
#include "ui/CMessageBoxWnd.h"
#include "ui/DesktopShell.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
#include <optional>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

constexpr int kStepMs = 15000;
constexpr int kInstallMs = 90000;
constexpr uid_t kNobody = 65534;
constexpr size_t kPackageBytes = 3u << 19;  // the downloaders refuse anything below 1 MiB

struct Point {
    int x = 0;
    int y = 0;
};

// Where a control of a skin file lies once laid out, found on the headless
// back end (the same framework lays the window out on X11).
Point ControlCentre(const std::string& skin, const std::string& name)
{
    Platform::WindowSystem::Select(std::make_unique<Platform::HeadlessWindowSystem>());
    SkinUI::CResourceSettings::Reset();
    Point centre;
    {
        CMessageBoxWnd probe(skin);
        if (probe.Open(0) != 0) {
            Platform::Message message;
            auto* system = Platform::WindowSystem::Current();
            for (int i = 0; i < 1000 && system->WaitMessage(message, 0) == Platform::WindowSystem::Wait::Message; ++i) {
                if (!SkinUI::CManagerUI::TranslateMessage(message)) system->DispatchMessage(message);
            }
            if (const SkinUI::CControlUI* control = probe.GetManager().FindControl(name)) {
                const auto& r = control->GetPos();
                centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
            }
        }
    }
    SkinUI::CSkinResources::ClearShared();
    SkinUI::CResourceSettings::Reset();
    Platform::WindowSystem::Select(nullptr);
    return centre;
}

// A free loopback port, held bound (not listening, so connections are refused as with no
// server) until the server is about to take it, so that no other test's server takes it first.
class PortReservation {
public:
    PortReservation()
    {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~PortReservation() { Release(); }
    PortReservation(const PortReservation&) = delete;
    PortReservation& operator=(const PortReservation&) = delete;

    uint16_t Port() const { return port_; }
    void Release()
    {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

bool WaitUntil(const std::function<bool()>& done, int limitMs)
{
    for (int waited = 0; waited < limitMs; waited += 100) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return done();
}

class InstallerE2ETest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"}) {
            if (DesktopShell::FindProgram({tool}).empty()) GTEST_SKIP() << tool << " is not installed";
        }
        installBtn_ = ControlCentre("MainWnd.xml", "defaultInstallBtn");
        closeBtn_ = ControlCentre("MainWnd.xml", "closebtn");
        updateBtn_ = ControlCentre("InstalledPathTipWnd.xml", "okBtn");
        retryBtn_ = ControlCentre("NetworkTipWnd.xml", "okBtn");
        ASSERT_NE(installBtn_.x, 0);

        std::string pattern = (fs::temp_directory_path() / "nuvalo-e2e-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        for (const char* folder : {"home/.config", "home/.local/share", "home/Desktop", "tmp", "run", "app", "package"}) {
            fs::create_directories(root_ / folder);
        }
        ASSERT_NO_FATAL_FAILURE(StartXvfb());
        ASSERT_NO_FATAL_FAILURE(StageInstaller());
    }

    void TearDown() override
    {
        installer_.reset();
        server_.reset();
        xvfb_.reset();
        std::error_code ignored;
        if (!root_.empty()) fs::remove_all(root_, ignored);
    }

    void StartXvfb()
    {
        // Only its own unix socket listens, so access control has nothing to guard; without it a
        // client of another user (the installer runs as nobody) depends on the host list.
        // Without -noreset the server resets each time its last client leaves, and a client that
        // connects meanwhile (the installer, right after a probing xdotool) is turned away.
        xvfb_ = std::make_unique<Process>(std::vector<std::string>{
            "Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset", "-ac", "-screen", "0", "1024x768x24"});
        const std::optional<std::string> display = xvfb_->ReadLine(kStepMs);
        ASSERT_TRUE(display && !display->empty()) << "Xvfb did not report its display";
        display_ = ":" + *display;
        ASSERT_TRUE(WaitUntil([&] { return Xdotool({"getdisplaygeometry"}).has_value(); }, kStepMs))
            << "display " << display_ << " takes no clients";
    }

    // The installer in a folder of its own with the settings file beside it,
    // and the padded demo package to serve.
    void StageInstaller()
    {
        fs::copy_file(NUVALO_INSTALLER_PATH, root_ / "app/nuvalo-installer");
        port_ = reservation_.Port();
        ASSERT_NE(port_, 0);
        ASSERT_TRUE(Platform::WriteIniString((root_ / "app/TekdorInstallerConfig.ini").string(), "Install",
                                             "DownloadUrl",
                                             "http://127.0.0.1:" + std::to_string(port_) + "/software/359"));
        std::string image;
        ASSERT_TRUE(Platform::ReadWholeFile(DEMO_PACKAGE_PATH, image));
        if (image.size() < kPackageBytes) image.resize(kPackageBytes, '\0');
        ASSERT_TRUE(Platform::WriteFileAtomically((root_ / "package/nuvaloPDFconverter.exe").string(), image));
        // Run as root, the installer would propose /opt; as nobody everything stays in the home here.
        if (::geteuid() == 0) {
            for (const auto& entry : fs::recursive_directory_iterator(root_)) {
                if (::lchown(entry.path().c_str(), kNobody, kNobody) != 0) ADD_FAILURE() << entry.path();
            }
            ASSERT_EQ(::chown(root_.c_str(), kNobody, kNobody), 0);
        }
    }

    void StartServer()
    {
        reservation_.Release();
        server_ = std::make_unique<Process>(std::vector<std::string>{
            PACKAGE_SERVER_PATH, "--package", (root_ / "package/nuvaloPDFconverter.exe").string(), "--port",
            std::to_string(port_)});
        const std::optional<std::string> line = server_->ReadLine(kStepMs);
        ASSERT_TRUE(line && line->find("listening on") != std::string::npos) << line.value_or("(nothing)");
    }

    std::map<std::string, std::string> Environment() const
    {
        const std::string home = (root_ / "home").string();
        return {{"DISPLAY", display_},
                {"HOME", home},
                {"XDG_CONFIG_HOME", home + "/.config"},
                {"XDG_DATA_HOME", home + "/.local/share"},
                {"XDG_DESKTOP_DIR", home + "/Desktop"},
                {"XDG_RUNTIME_DIR", (root_ / "run").string()},
                {"TMPDIR", (root_ / "tmp").string()},
                {Platform::Registry::kStoreFileVariable, RegistryFile()},
                {"DEMO_STEP_MS", "300"},
                {"NUVALO_WINDOW_SYSTEM", "x11"}};
    }

    std::string RegistryFile() const { return (root_ / "registry.ini").string(); }

    std::vector<std::string> InstallerCommand() const
    {
        std::vector<std::string> args = {(root_ / "app/nuvalo-installer").string()};
        if (::geteuid() == 0) {
            args.insert(args.begin(), {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"});
        }
        return args;
    }

    void StartInstaller()
    {
        installer_ = std::make_unique<Process>(InstallerCommand(), Environment());
        ASSERT_TRUE(installer_->Started());
    }

    std::optional<std::string> Xdotool(const std::vector<std::string>& args)
    {
        std::vector<std::string> command = {"xdotool"};
        command.insert(command.end(), args.begin(), args.end());
        return Process::Output(command, kStepMs, {{"DISPLAY", display_}});
    }

    // A visible window of this size once it is mapped. Titles cannot be
    // matched: xdotool reads WM_NAME, which holds the UTF-8 title as Latin-1.
    std::string FindWindow(int width, int height)
    {
        const std::string size = "WIDTH=" + std::to_string(width) + "\nHEIGHT=" + std::to_string(height) + "\n";
        std::string id;
        WaitUntil(
            [&] {
                const std::optional<std::string> found = Xdotool({"search", "--onlyvisible", "--name", ""});
                std::istringstream ids(found.value_or(""));
                for (std::string candidate; std::getline(ids, candidate);) {
                    const std::optional<std::string> geometry = Xdotool({"getwindowgeometry", "--shell", candidate});
                    if (geometry && geometry->find(size) != std::string::npos) id = candidate;
                }
                return !id.empty();
            },
            kStepMs);
        // Let the first exposures be painted.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return id;
    }

    std::string MainWindow() { return FindWindow(600, 400); }

    void ClickIn(const std::string& window, Point at)
    {
        ASSERT_TRUE(Xdotool({"mousemove", "--window", window, std::to_string(at.x), std::to_string(at.y)}));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        ASSERT_TRUE(Xdotool({"click", "1"}));
    }

    // A screenshot of the screen, kept in E2E_SCREENSHOT_DIR when that is set.
    void Screenshot(const std::string& name)
    {
        const char* folder = std::getenv("E2E_SCREENSHOT_DIR");
        const std::string path = folder != nullptr ? std::string(folder) + "/" + name : (root_ / name).string();
        const std::optional<std::string> done =
            Process::Output({"import", "-window", "root", "-crop", "720x520+152+124", "+repage", path}, kStepMs,
                            {{"DISPLAY", display_}});
        EXPECT_TRUE(done) << "no screenshot " << name;
    }

    std::string Recorded(const std::string& value) const
    {
        return Platform::Registry(RegistryFile()).ReadString("Software\\TekdorSoft\\nuvaloPDFconverter", value).value_or("");
    }

    bool InstalledAt(const std::string& folder) const
    {
        return !folder.empty() && Platform::FileExists(folder + "/nuvalo-pdfconvert.exe") &&
               Platform::FileExists(folder + "/uninst.ep");
    }

    // Quick install on page 0 and wait for the finish page's records.
    std::string QuickInstall()
    {
        const std::string window = MainWindow();
        EXPECT_FALSE(window.empty()) << "the installer window did not appear";
        Screenshot("e2e-1-welcome.png");
        ClickIn(window, installBtn_);
        return window;
    }

    void ExpectFinished(const std::string& window, const std::string& screenshot)
    {
        // The finish takes steps on two threads: the records one value at a time on the window's,
        // the package's removal on the worker's. Each is checked once all could have happened.
        const auto package = [&] { return Recorded("InstallPath") + "/__Package_nuvaloPDFconverter.exe"; };
        WaitUntil([&] { return !Recorded("UnInstallEp").empty() && !Platform::FileExists(package()); }, kInstallMs);
        const std::string folder = Recorded("InstallPath");
        ASSERT_FALSE(folder.empty()) << "the installation did not finish";
        EXPECT_TRUE(InstalledAt(folder)) << folder;
        EXPECT_EQ(Recorded("UnInstallEp"), folder + "/uninst.ep");
        EXPECT_EQ(Platform::ReadIniString(folder + "/set.ini", "Install", "AppName", ""), "nuvaloPDFconverter");
        EXPECT_FALSE(Platform::FileExists(package())) << "the package is removed";
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // the finish animation
        Screenshot(screenshot);
        ClickIn(window, closeBtn_);
        EXPECT_EQ(installer_->WaitFor(kStepMs), 0) << "the close button on page 3 ends the installer";
    }

    fs::path root_;
    std::string display_;
    PortReservation reservation_;
    uint16_t port_ = 0;
    Point installBtn_, closeBtn_, updateBtn_, retryBtn_;
    std::unique_ptr<Process> xvfb_;
    std::unique_ptr<Process> server_;
    std::unique_ptr<Process> installer_;
};

TEST_F(InstallerE2ETest, QuickInstallThenUpdateOfTheEarlierInstallation)
{
    ASSERT_NO_FATAL_FAILURE(StartServer());
    ASSERT_NO_FATAL_FAILURE(StartInstaller());
    const std::string window = QuickInstall();
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    Screenshot("e2e-2-progress.png");
    ASSERT_NO_FATAL_FAILURE(ExpectFinished(window, "e2e-3-finished.png"));
    const std::string folder = Recorded("InstallPath");
    const std::string firstDevice = Platform::ReadIniString(folder + "/set.ini", "Install", "DeviceID", "");

    // The earlier installation is found: "安装最新版本" removes it and installs again.
    ASSERT_NO_FATAL_FAILURE(StartInstaller());
    const std::string dialog = FindWindow(400, 180);
    ASSERT_FALSE(dialog.empty()) << "the existing-installation dialog did not appear";
    Screenshot("e2e-4-existing-installation.png");
    // Read at start; the finish writes it again.
    ASSERT_TRUE(fs::remove(RegistryFile()));
    ASSERT_NO_FATAL_FAILURE(ClickIn(dialog, updateBtn_));
    ASSERT_NO_FATAL_FAILURE(ExpectFinished(MainWindow(), "e2e-5-updated.png"));
    EXPECT_NE(Platform::ReadIniString(folder + "/set.ini", "Install", "DeviceID", ""), firstDevice);
}

TEST_F(InstallerE2ETest, FailedDownloadShowsTheNetworkDialogAndTheRetrySucceeds)
{
    ASSERT_NO_FATAL_FAILURE(StartInstaller());  // nothing serves the package yet
    const std::string window = QuickInstall();
    const std::string dialog = FindWindow(360, 180);
    ASSERT_FALSE(dialog.empty()) << "the network dialog did not appear";
    Screenshot("e2e-6-network-dialog.png");
    ASSERT_NO_FATAL_FAILURE(StartServer());
    ASSERT_NO_FATAL_FAILURE(ClickIn(dialog, retryBtn_));
    ASSERT_NO_FATAL_FAILURE(ExpectFinished(window, "e2e-7-retried.png"));
}

TEST_F(InstallerE2ETest, SecondInstanceEndsAtOnceWithoutAWindow)
{
    ASSERT_NO_FATAL_FAILURE(StartInstaller());
    ASSERT_FALSE(MainWindow().empty());
    Process second(InstallerCommand(), Environment());
    EXPECT_EQ(second.WaitFor(kStepMs), 255) << "exit code -1";
    const std::optional<std::string> windows = Xdotool({"search", "--onlyvisible", "--name", "^NuvaloPDF"});
    ASSERT_TRUE(windows);
    EXPECT_EQ(std::count(windows->begin(), windows->end(), '\n'), 1) << *windows;
    EXPECT_FALSE(installer_->Poll()) << "the first installer keeps running";
}

}  // namespace

#include "Reports.h"
#include "Sandbox.h"
#include "install/CInstaller.h"
#include "install/CUninstaller.h"
#include "platform/IniFile.h"
#include "utils/ChildProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

// The package as a download leaves it: a copy without its execute bit.
std::string DownloadedPackage(const fs::path& folder) {
    fs::create_directories(folder);
    const fs::path package = folder / "__Package_nuvaloPDFconverter.exe";
    fs::copy_file(DEMO_PACKAGE_PATH, package, fs::copy_options::overwrite_existing);
    fs::permissions(package, fs::perms::owner_read | fs::perms::owner_write);
    return package.string();
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) { ::setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
};

bool Has(const std::vector<Report>& reports, int32_t code, double value = -1) {
    return std::any_of(reports.begin(), reports.end(),
                       [&](const Report& r) { return r.code == code && (value < 0 || r.value == value); });
}

std::string TextOf(const std::vector<Report>& reports, int32_t code) {
    for (const auto& r : reports) {
        if (r.code == code) return r.text;
    }
    return "";
}

std::vector<Report> Install(const std::string& package, const std::string& folder, bool shortcuts) {
    Reports reports;
    {
        CInstaller installer(reports.Callback(), "\"" + package + "\"", folder);
        installer.SetDesktopShortcut(shortcuts);
        installer.SetQuickLaunchShortcut(shortcuts);
        installer.SetLanguage("zh-CN");
        installer.Start();
    }
    return reports.Take();
}

TEST(DemoPackage, InstallsIntoAFolderWithBlanksAndChineseAndUninstallsAgain) {
    ScopedEnv pace("DEMO_STEP_MS", "5");
    const fs::path root = fs::path(Sandbox::Root()) / "e2e";
    const std::string folder = (root / "Program Files/Nuvalo  PDF 转换器").string();
    const auto installed = Install(DownloadedPackage(root / "download"), folder, true);

    ASSERT_TRUE(Has(installed, 2003, 0.0)) << testing::PrintToString(installed);
    EXPECT_FALSE(Has(installed, 2003, 1.0));
    EXPECT_EQ(TextOf(installed, 3000), folder);
    EXPECT_EQ(TextOf(installed, 3001), folder + "/nuvalo-pdfconvert.exe");
    const std::string uninstaller = TextOf(installed, 3003);
    EXPECT_EQ(uninstaller, folder + "/uninst.ep");
    EXPECT_TRUE(Has(installed, 3005, 2.0));
    EXPECT_TRUE(fs::exists(folder + "/nuvalo-pdfconvert.exe"));
    EXPECT_EQ(Platform::ReadIniString(folder + "/config.ini", "Install", "Language", "?"), "zh-CN");
    EXPECT_TRUE(fs::exists(Sandbox::Desktop() + "/nuvalo-pdfconvert.desktop"));
    EXPECT_TRUE(fs::exists(Sandbox::Menu() + "/nuvalo-pdfconvert.desktop"));

    const std::string foreign = folder + "/user notes.txt";
    std::ofstream(foreign) << "kept";
    Reports reports;
    {
        CUninstaller uninstall(reports.Callback(), uninstaller, folder);
        uninstall.Start();
    }
    const auto removed = reports.Take();
    EXPECT_TRUE(Has(removed, 5003, 0.0)) << testing::PrintToString(removed);
    EXPECT_FALSE(fs::exists(folder + "/nuvalo-pdfconvert.exe"));
    EXPECT_FALSE(fs::exists(folder + "/uninst.ep"));
    EXPECT_FALSE(fs::exists(folder + "/config.ini"));
    EXPECT_FALSE(fs::exists(Sandbox::Desktop() + "/nuvalo-pdfconvert.desktop"));
    EXPECT_FALSE(fs::exists(Sandbox::Menu() + "/nuvalo-pdfconvert.desktop"));
    EXPECT_TRUE(fs::exists(foreign));  // only what the package installed goes
    fs::remove_all(root);
}

TEST(DemoPackage, MisbehavingPackagesEndTheirRunNormally) {
    struct Case {
        const char* fault;
        int32_t code;
        double value;
    };
    const Case cases[] = {
        {"fail", 2004, 0.0},    {"error", 2004, 1000.0}, {"nostate", 2003, 1.0},
        {"crash", 2003, 1.0},   {"longlines", 2003, 0.0}, {"gbk", 2003, 0.0},
        // 10 MB to standard error and 10 MB of garbage to standard output.
        {"stderr,garbage", 2003, 0.0},
    };
    ScopedEnv pace("DEMO_STEP_MS", "1");
    ScopedEnv garbage("DEMO_GARBAGE_BYTES", "10000000");
    const fs::path root = fs::path(Sandbox::Root()) / "faults";
    const std::string package = DownloadedPackage(root / "download");
    for (const auto& c : cases) {
        ScopedEnv fault("DEMO_PACKAGE_FAULT", c.fault);
        const auto made = Install(package, (root / c.fault).string(), false);
        EXPECT_TRUE(Has(made, c.code, c.value)) << c.fault << testing::PrintToString(made);
        if (std::string(c.fault) == "gbk") {
            EXPECT_EQ(TextOf(made, 3000), (root / c.fault).string());
        }
        if (std::string(c.fault) == "longlines") {
            EXPECT_EQ(TextOf(made, 3009), std::string(771, 'L'));
        }
    }
    fs::remove_all(root);
}

TEST(DemoPackage, UninstallerFaultsEndTheirRunNormally) {
    struct Case {
        const char* fault;
        Report last;
    };
    const Case cases[] = {
        {"fail", {5005, 0.0, "安装包卸载失败"}},
        {"nostate", {5003, 1.0, ""}},
        {"crash", {5003, 1.0, ""}},
        {"garbage,stderr", {5003, 0.0, ""}},
    };
    ScopedEnv pace("DEMO_STEP_MS", "1");
    const fs::path root = fs::path(Sandbox::Root()) / "uninstaller faults";
    for (const auto& c : cases) {
        const std::string folder = (root / c.fault).string();
        ASSERT_TRUE(Has(Install(DownloadedPackage(root / "download"), folder, false), 2003, 0.0));
        ScopedEnv fault("DEMO_UNINSTALLER_FAULT", c.fault);
        Reports reports;
        {
            CUninstaller uninstall(reports.Callback(), folder + "/uninst.ep", folder);
            uninstall.Start();
        }
        const auto made = reports.Take();
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(made.back(), c.last) << c.fault;
    }
    fs::remove_all(root);
}

// Whether the process sleeps in sigwait, as the kernel names the place: a SIGTERM sent before the
// product waits for it would simply kill it. (Where wchan is not readable, the caller's wait
// just runs out.)
bool WaitsForASignal(pid_t pid) {
    std::ifstream wchan("/proc/" + std::to_string(pid) + "/wchan");
    std::string where;
    std::getline(wchan, where);
    return where.find("sigtimedwait") != std::string::npos;
}

TEST(DemoPackage, ProductStaysRunningUntilItIsClosed) {
    const fs::path root = fs::path(Sandbox::Root()) / "product";
    fs::create_directories(root);
    const fs::path product = root / "nuvalo-pdfconvert.exe";
    fs::copy_file(DEMO_PACKAGE_PATH, product);
    Utils::ChildProcess child;
    child.Start("\"" + product.string() + "\"");
    for (int waited = 0; waited < 500 && !WaitsForASignal(child.ProcessId()); ++waited) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(child.ExitStatus(), Utils::ChildProcess::kStillActive);
    ::kill(child.ProcessId(), SIGTERM);
    EXPECT_EQ(child.Wait(), 0u);  // closed, not killed: it was waiting for exactly this
    fs::remove_all(root);
}

}  // namespace

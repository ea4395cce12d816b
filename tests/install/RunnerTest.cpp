#include "Reports.h"
#include "Sandbox.h"
#include "install/CInstaller.h"
#include "install/CUninstaller.h"
#include "utils/Accounts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string kUninstallerMissing = "可执行卸载文件不存在";

// A shell script standing in for a package; written without its execute bit,
// as a download leaves it.
std::string WriteScript(const std::string& name, const std::string& body) {
    const fs::path folder = fs::path(Sandbox::Root()) / "scripts with blanks 脚本";
    fs::create_directories(folder);
    const fs::path path = folder / name;
    std::ofstream(path) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    return path.string();
}

std::vector<Report> RunPackage(const std::string& body, const std::string& name = "package.sh") {
    Reports reports;
    {
        CInstaller installer(reports.Callback(), "\"" + WriteScript(name, body) + "\"", "");
        installer.Start();
    }
    return reports.Take();
}

std::vector<Report> RunUninstaller(const std::string& body, const std::string& name = "uninst.sh") {
    Reports reports;
    {
        CUninstaller uninstaller(reports.Callback(), WriteScript(name, body), "/no folder");
        uninstaller.Start();
    }
    return reports.Take();
}

TEST(CInstallerCommandLine, HasEveryPieceInOrder) {
    CInstaller installer(nullptr, "\"/tmp/安装 包/__Package_nuvaloPDFconverter.exe\"", "/opt/Nuvalo PDF");
    for (auto set : {&CInstaller::SetAdminAct, &CInstaller::SetAuthorizationAct, &CInstaller::SetDesktopShortcut,
                     &CInstaller::SetQuickLaunchShortcut}) {
        (installer.*set)(true);
    }
    installer.SetLanguage("zh-CN");
    EXPECT_EQ(installer.BuildCommandLine(),
              "\"/tmp/安装 包/__Package_nuvaloPDFconverter.exe\" /S -console=show -version=1.0.0"
              " -adminact=true -authorizationact=true -dsc=true -ssc=true -inslang=\"zh-CN\""
              " -instdir=\"/opt/Nuvalo PDF\" /D=/opt/Nuvalo PDF");
}

TEST(CInstallerCommandLine, LeavesOutWhatIsEmpty) {
    CInstaller installer(nullptr, "\"/p.exe\"", "");
    installer.SetInstCmd("-channel=7 -x");
    EXPECT_EQ(installer.BuildCommandLine(),
              "\"/p.exe\" /S -console=show -version=1.0.0 -adminact=false -authorizationact=false -dsc=false"
              " -ssc=false -channel=7 -x");
}

TEST(CUninstallerCommandLine, PathAndFolderGoInUnquoted) {
    std::string user;
    const bool consoleAdmin = Utils::GetConsoleUserName(user) && Utils::IsUserAdmin(user);
    CUninstaller uninstaller(nullptr, "/tmp/a b/uninst.ep", "/opt/Nuvalo PDF");
    EXPECT_EQ(uninstaller.BuildCommandLine(), std::string("/tmp/a b/uninst.ep /S -adminact=") +
                                                  (consoleAdmin ? "true" : "false") + " -authorizationact=" +
                                                  (Utils::IsTokenAdmin() ? "true" : "false") +
                                                  " -console=show _?=/opt/Nuvalo PDF");
}

TEST(CInstallerRun, ReportSequences) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<Report> tail;
    };
    const Case cases[] = {
        {"success", "echo State=Success", {{2003, 0.0, ""}}},
        {"progress only", "echo Progress=0.5; sleep 0.1; echo Progress=1", {{2002, 0.5, ""}, {2002, 1.0, ""}, {2003, 1.0, ""}}},
        {"silent failure", "exit 3", {{2003, 1.0, ""}}},
        {"success then error in one chunk", "printf 'State=Success\\nError=late\\n'",
         {{2003, 0.0, ""}, {2004, 1000.0, "late"}}},
        // Parsing stops at the first final state; the rest is read and thrown away. (The pause
        // puts the lines into separate chunks; it is long enough for a slowed-down reader.)
        {"error then keeps running", "echo Error=boom; sleep 1; echo State=Success; head -c 200000 /dev/zero",
         {{2004, 1000.0, "boom"}}},
        {"last words before the end", "sleep 0.2; echo Progress=0.9", {{2002, 0.9, ""}, {2003, 1.0, ""}}},
        {"output closed while running", "exec >&-; sleep 0.3", {{2003, 1.0, ""}}},
        // Ends while many chunks are still unread: the last line still counts.
        {"error after much output", "head -c 204800 /dev/zero | tr '\\0' x; printf '\\nError=late\\n'",
         {{2004, 1000.0, "late"}}},
    };
    for (const auto& c : cases) {
        std::vector<Report> expected = {{2001, 0.0, ""}, {2002, 0.0, ""}};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(RunPackage(c.script), expected) << c.name;
    }
}

TEST(CInstallerRun, EncodingAnnouncedInOneChunkDecodesTheNext) {
    // "InstPath=安装" in GBK after the switch, in a later chunk.
    const auto made = RunPackage("echo Encode=936; sleep 1; printf 'InstPath=\\260\\262\\327\\260\\n'; echo State=Success");
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[2], (Report{3000, 0.0, "安装"}));
}

TEST(CInstallerRun, PackageThatCannotStartReportsStartFailure) {
    Reports reports;
    {
        CInstaller installer(reports.Callback(), "\"/nonexistent/package.exe\"", "/tmp/x");
        installer.Start();
    }
    EXPECT_EQ(reports.Take(), (std::vector<Report>{{2001, 0.0, ""}, {2002, 0.0, ""}, {2004, 2.0, ""}}));
}

TEST(CInstallerRun, SecondStartWaitsForTheRunningOne) {
    Reports reports;
    const std::string script = WriteScript("slow.sh", "sleep 0.4; echo State=Success");
    {
        CInstaller installer(reports.Callback(), "\"" + script + "\"", "");
        const auto start = std::chrono::steady_clock::now();
        installer.Start();
        installer.SetLanguage("en");
        installer.Start();
        EXPECT_GE(std::chrono::steady_clock::now() - start, 400ms);
        EXPECT_NE(installer.CommandLine().find("-inslang=\"en\""), std::string::npos);
    }
    const std::vector<Report> oneRun = {{2001, 0.0, ""}, {2002, 0.0, ""}, {2003, 0.0, ""}};
    std::vector<Report> twoRuns = oneRun;
    twoRuns.insert(twoRuns.end(), oneRun.begin(), oneRun.end());
    EXPECT_EQ(reports.Take(), twoRuns);
}

TEST(CUninstallerRun, ReportSequences) {
    struct Case {
        const char* name;
        std::string script;
        std::vector<Report> tail;
    };
    const Case cases[] = {
        {"success", "echo Progress=0.5; sleep 0.1; echo State=Success", {{5002, 0.5, ""}, {5003, 0.0, ""}}},
        {"no final state", "echo Progress=0.5", {{5002, 0.5, ""}, {5003, 1.0, ""}}},
        {"quick error is not lost", "echo Error=locked", {{5005, 0.0, "locked"}}},
        {"fail", "sleep 0.1; echo State=Fail; sleep 0.1", {{5005, 0.0, "安装包卸载失败"}}},
        {"output closed while running", "exec >&-; sleep 0.3", {{5003, 1.0, ""}}},
    };
    for (const auto& c : cases) {
        std::vector<Report> expected = {{5002, 0.0, ""}};
        expected.insert(expected.end(), c.tail.begin(), c.tail.end());
        EXPECT_EQ(RunUninstaller(c.script), expected) << c.name;
    }
}

TEST(CUninstallerRun, MissingOrUnstartableUninstaller) {
    Reports reports;
    {
        CUninstaller missing(reports.Callback(), "/nonexistent/uninst.ep", "/x");
        missing.Start();
    }
    EXPECT_EQ(reports.Take(), (std::vector<Report>{{5004, 1.0, kUninstallerMissing}}));
    const fs::path notAProgram = fs::path(Sandbox::Root()) / "not a program";
    std::ofstream(notAProgram) << "\x7f" "ELF garbage";
    {
        CUninstaller broken(reports.Callback(), notAProgram.string(), "/x");
        broken.Start();
    }
    EXPECT_EQ(reports.Take(), (std::vector<Report>{{5002, 0.0, ""}, {5004, 2.0, ""}}));
}

}  // namespace

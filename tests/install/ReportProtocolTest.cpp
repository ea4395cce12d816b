#include "Reports.h"
#include "install/CInstaller.h"
#include "install/CUninstaller.h"
#include "install/ReportLine.h"
#include "platform/TextConversion.h"

#include <gtest/gtest.h>

#include <random>

namespace {

struct ParseCase {
    const char* chunk;
    std::vector<Report> reports;
    ParseOutcome outcome = ParseOutcome::None;
};

void ExpectParse(CPackageRunner& runner, Reports& reports, const ParseCase& c) {
    EXPECT_EQ(runner.Parse(c.chunk), c.outcome) << c.chunk;
    EXPECT_EQ(reports.Take(), c.reports) << c.chunk;
}

const std::string kPackageFailed = "安装包安装失败";
const std::string kUninstallFailed = "安装包卸载失败";

TEST(CInstallerParse, PackageDialect) {
    const ParseCase cases[] = {
        {"Progress=0.35", {{2002, 0.35, ""}}},
        {"Progress=abc\n", {{2002, 0.0, ""}}},
        {"Progress=  1e-1xyz", {{2002, 0.1, ""}}},
        {" Progress=0.5\nprogress=0.5\nxProgress=0.5\nProgress", {}},
        {"InstPath=/opt/a b\r\n", {{3000, 0.0, "/opt/a b\r"}}},
        {"State=Success\r\n", {{2003, 0.0, ""}}, ParseOutcome::Succeeded},
        {"State= \tSuccess \f\v", {{2003, 0.0, ""}}, ParseOutcome::Succeeded},
        {"State=Fail", {{2004, 0.0, kPackageFailed}}, ParseOutcome::Failed},
        {"State=success\nState=Done\nState=", {}},
        {"InstallVersion=1.2.3\nInstallVersion=garbage", {}},
        {"ExePath=/opt/p/nuvalo-pdfconvert.exe", {{3001, 0.0, "/opt/p/nuvalo-pdfconvert.exe"}}},
        {"StartExe=/x", {{3001, 0.0, "/x"}}},
        {"UninstExePath=/u1\nUninstExe=/u2", {{3002, 0.0, "/u1"}, {3002, 0.0, "/u2"}}},
        {"UninstEp=/opt/p/uninst.ep", {{3003, 0.0, "/opt/p/uninst.ep"}}},
        {"Error=", {{2004, 1000.0, ""}}, ParseOutcome::Failed},
        {"Error=磁盘已满", {{2004, 1000.0, "磁盘已满"}}, ParseOutcome::Failed},
        {"TopShowDetention=-1", {{3007, 4294967295.0, ""}}},
        {"TopShowDetention=3000\nFinsihCloseDetention=5", {{3007, 3000.0, ""}, {3008, 5.0, ""}}},
        {"FinsihCloseDetention=x", {{3008, 0.0, ""}}},
        {"StartUrl=https://example.org/ok", {{3004, 0.0, "https://example.org/ok"}}},
        {"StartupStyle=NonStartup\nStartupStyle=AutoStartup\r\nStartupStyle=UserStartup\nStartupStyle=Other",
         {{3005, 0.0, ""}, {3005, 1.0, ""}, {3005, 2.0, ""}, {3005, 0.0, ""}}},
        {"Message=hello\n\n\nMessage=", {{3009, 0.0, "hello"}, {3009, 0.0, ""}}},
        // The last final state of a chunk counts; every report is made in order.
        {"State=Success\nError=late", {{2003, 0.0, ""}, {2004, 1000.0, "late"}}, ParseOutcome::Failed},
        {"Error=x\nState=Success\n", {{2004, 1000.0, "x"}, {2003, 0.0, ""}}, ParseOutcome::Succeeded},
        // Chunk boundaries: a cut key matches nothing, a cut number reads what is there.
        {"Progr", {}},
        {"ess=0.5", {}},
        {"Progress=0.", {{2002, 0.0, ""}}},
    };
    for (const auto& c : cases) {
        Reports reports;
        CInstaller installer(reports.Callback(), "\"/nonexistent\"", "");
        ExpectParse(installer, reports, c);
    }
}

TEST(CUninstallerParse, UninstallerDialect) {
    const ParseCase cases[] = {
        {"Progress=0.35", {{5002, 0.35, ""}}},
        {"Error=busy", {{5005, 0.0, "busy"}}, ParseOutcome::Failed},
        {"State=Success\r\n", {{5003, 0.0, ""}}, ParseOutcome::Succeeded},
        {"State=Fail", {{5005, 0.0, kUninstallFailed}}, ParseOutcome::Failed},
        {"State=Success\nError=late", {{5003, 0.0, ""}, {5005, 0.0, "late"}}, ParseOutcome::Failed},
        {"InstPath=/x\nMessage=y\nTopShowDetention=1\nState=other", {}},
    };
    for (const auto& c : cases) {
        Reports reports;
        CUninstaller uninstaller(reports.Callback(), "/nonexistent", "/nowhere");
        ExpectParse(uninstaller, reports, c);
    }
}

TEST(ReportParse, EncodeLineSetsTheCodePageByDialect) {
    struct Case {
        const char* line;
        int32_t package;
        int32_t uninstaller;
    };
    const Case cases[] = {
        {"Encode=936", 936, 0},     {"Encode=UTF8\r", 65001, 65001}, {"Encode=ACP", 0, 0},
        {"Encode=utf8", 0, 0},      {"Encode=65001", 65001, 0},      {"Encode=936abc", 936, 0},
        {"Encode=", 0, 0},
    };
    for (const auto& c : cases) {
        Reports reports;
        CInstaller installer(reports.Callback(), "\"/nonexistent\"", "");
        CUninstaller uninstaller(reports.Callback(), "/nonexistent", "/nowhere");
        installer.Parse("Encode=UTF8");
        uninstaller.Parse("Encode=UTF8");
        installer.Parse(c.line);
        uninstaller.Parse(c.line);
        EXPECT_EQ(installer.CodePage(), c.package) << c.line;
        EXPECT_EQ(uninstaller.CodePage(), c.uninstaller) << c.line;
        EXPECT_TRUE(reports.Take().empty());
    }
}

TEST(ReportParse, TextValueIsCutAt771Characters) {
    Reports reports;
    CInstaller installer(reports.Callback(), "\"/nonexistent\"", "");
    std::string longPath;
    for (int i = 0; i < 800; ++i) longPath += "文";
    installer.Parse("InstPath=" + longPath + "\nMessage=" + std::string(771, 'm'));
    const auto made = reports.Take();
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0].text, longPath.substr(0, 771 * 3));
    EXPECT_EQ(made[1].text, std::string(771, 'm'));
}

TEST(ReportParse, RandomBytesAndMixedLinesNeverBreakTheParsers) {
    const std::vector<std::string> pieces = {
        "Progress=", "InstPath=", "State=", "Success", "Fail", "Error=", "TopShowDetention=", "Encode=",
        "936", "UTF8", "StartupStyle=", "99999999999999999999", "-", "1e400", "nan", "0x1p3", "\n", "\r\n",
        "\xe4\xb8", "\xff\xfe", " ", "InstallVersion=", "Message=", std::string(900, 'z'), std::string(1, '\0')};
    std::mt19937 random(20261211);
    Reports reports;
    CInstaller installer(reports.Callback(), "\"/nonexistent\"", "");
    CUninstaller uninstaller(reports.Callback(), "/nonexistent", "/nowhere");
    for (int round = 0; round < 3000; ++round) {
        std::string bytes;
        const int parts = static_cast<int>(random() % 12);
        for (int i = 0; i < parts; ++i) {
            if (random() % 3 == 0) {
                bytes += static_cast<char>(random() & 0xff);
            } else {
                bytes += pieces[random() % pieces.size()];
            }
        }
        const std::string text =
            Platform::DecodeCodePage(bytes.substr(0, 1024), static_cast<unsigned>(installer.CodePage()));
        installer.Parse(text);
        uninstaller.Parse(text);
        for (const auto& r : reports.Take()) ASSERT_LE(Platform::Utf8Length(r.text), ReportLine::kMaxTextChars);
    }
}

}  // namespace

#include "tests/mainwnd/MainWndFixture.h"

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/TextConversion.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <strings.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kRunningText = "安装程序检测到NuvaloPDF转换器\r\n正在运行，请退出程序后再安装";
constexpr const char* kStartText = "正在安装中:0%，请稍候...";

using MainWndTest = MainWndFixture;

// ---------------------------------------------------------------- window and pages

TEST_F(MainWndTest, OpensOnTheWelcomePageWithTheProposedFolder)
{
    OpenWindow();
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
    EXPECT_EQ(headless_->Title(hwnd), "NuvaloPDF转换器");
    EXPECT_EQ(headless_->GetWindowRect(hwnd).Width(), 600);
    EXPECT_EQ(headless_->GetWindowRect(hwnd).Height(), 400);
    EXPECT_NE(headless_->IconSize(hwnd).cx, 0);
    EXPECT_FALSE(window->ExistingInstallation());
    const std::string edit = Find("installDirEdit")->GetText();
    EXPECT_EQ(Platform::ParentFolder(edit).empty(), false);
    EXPECT_EQ(edit.substr(edit.rfind('/') + 1), "nuvaloPDFconverter");
    EXPECT_TRUE(Checked("treatyCb"));
    EXPECT_TRUE(Checked("treatyBtn"));
    EXPECT_FALSE(Find("tipLbl")->IsVisible());
    EXPECT_THAT(dialogs, IsEmpty());
}

TEST_F(MainWndTest, BuilderCallbackMakesTheSequenceControls)
{
    OpenWindow();
    EXPECT_EQ(Find("finishedLbl")->GetClass(), "SequenceLabel");
    for (const char* name : {"SequenceLabel", "sequencelabel", "SequenceButton", "SEQUENCEBUTTON"}) {
        std::unique_ptr<SkinUI::CControlUI> control(window->CreateControl(name));
        ASSERT_NE(control, nullptr) << name;
        EXPECT_TRUE(strcasecmp(std::string(control->GetClass()).c_str(), name) == 0) << name;
    }
    for (const char* name : {"Label", "Sequence", ""}) EXPECT_EQ(window->CreateControl(name), nullptr) << name;
}

TEST_F(MainWndTest, TreatyToggleDrivesTheLinkTheCustomButtonAndTheHint)
{
    OpenWindow();
    ClickOn("treatyCb");
    EXPECT_FALSE(Checked("treatyCb"));
    EXPECT_FALSE(Checked("treatyBtn"));
    EXPECT_FALSE(Find("customeBtn")->IsEnabled());

    ClickOn("defaultInstallBtn");
    EXPECT_TRUE(Find("tipLbl")->IsVisible());
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
    EXPECT_EQ(freeSpaceProbes, 0) << "nothing may start without the agreement";
    EXPECT_THAT(dialogs, IsEmpty());

    ClickOn("treatyCb");
    EXPECT_TRUE(Checked("treatyCb"));
    EXPECT_TRUE(Checked("treatyBtn"));
    EXPECT_TRUE(Find("customeBtn")->IsEnabled());
    EXPECT_FALSE(Find("tipLbl")->IsVisible());
}

TEST_F(MainWndTest, LicenceLinkOpensTheTermsAndKeepsBothMarks)
{
    OpenWindow();
    ClickOn("treatyBtn");
    EXPECT_THAT(opened, ElementsAre("https://www.nuvalopdf.com/terms"));
    EXPECT_TRUE(Checked("treatyCb"));
    EXPECT_TRUE(Checked("treatyBtn"));

    ClickOn("treatyCb");
    ClickOn("treatyBtn");
    EXPECT_FALSE(Checked("treatyCb"));
    EXPECT_FALSE(Checked("treatyBtn"));
}

TEST_F(MainWndTest, CustomPageBackButtonAndTitleBar)
{
    OpenWindow();
    EXPECT_FALSE(Find("backBtn")->IsVisible());
    ClickOn("customeBtn");
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kCustomPage);
    EXPECT_TRUE(Find("backBtn")->IsVisible());
    EXPECT_EQ(Find("winCtn")->GetBkImage(), "res\\mainWnd\\bg2.png");
    EXPECT_TRUE(Find("customeInstallBtn")->IsFocused());
    ClickOn("backBtn");
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
    EXPECT_EQ(Find("winCtn")->GetBkImage(), "res\\mainWnd\\bg1.png");

    SelectPage(CMainWnd::kProgressPage);
    EXPECT_FALSE(Find("titleGrpCtn")->IsVisible());
    EXPECT_EQ(Find("winCtn")->GetBkImage(), "res\\mainWnd\\bg3.png");
    SelectPage(CMainWnd::kFinishedPage);
    EXPECT_TRUE(Find("titleGrpCtn")->IsVisible());
    EXPECT_EQ(Find<SkinUI::CTabLayoutUI>("titleTabLt")->GetCurSel(), 2);
}

TEST_F(MainWndTest, FolderBrowserAppendsTheProductFolderAndCancelKeepsTheEdit)
{
    OpenWindow();
    ClickOn("customeBtn");
    const std::string before = Find("installDirEdit")->GetText();
    ClickOn("chDirBtn");
    EXPECT_EQ(pickerTitle, "选择一个文件夹");
    EXPECT_EQ(Find("installDirEdit")->GetText(), before);

    picked = "/media/Apps";
    ClickOn("chDirBtn");
    EXPECT_EQ(Find("installDirEdit")->GetText(), "/media/Apps/nuvaloPDFconverter");

    picked = "/" + std::string(300, 'a');
    ClickOn("chDirBtn");
    EXPECT_EQ(Find("installDirEdit")->GetText(), "/media/Apps/nuvaloPDFconverter") << "a path too long is refused";
}

TEST_F(MainWndTest, FolderFromTheEditIsTheProposedOneWhenItNamesTheSameFolder)
{
    OpenWindow();
    const std::string proposed = Find("installDirEdit")->GetText();
    struct Case {
        std::string edit;
        std::string expected;
    };
    for (const Case& c : {Case{proposed + "/", proposed}, Case{proposed + "/./", proposed},
                          Case{proposed + "/../nuvaloPDFconverter", proposed}, Case{"/srv/apps", "/srv/apps"},
                          Case{proposed + "2", proposed + "2"}}) {
        Find("installDirEdit")->SetText(c.edit);
        EXPECT_EQ(window->GetInstallFolderFromEdit(), c.expected) << c.edit;
    }
}

struct CloseCase {
    int page;
    std::deque<int> answers;
    bool asked;
    bool closes;
};

class MainWndCloseTest : public MainWndFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(MainWndCloseTest, CloseButtonFollowsThePageRule)
{
    const CloseCase& c = GetParam();
    OpenWindow();
    SelectPage(c.page);
    answers = c.answers;
    if (c.page == CMainWnd::kProgressPage) {
        window->GetManager().SendNotify(Find("closebtn"), "click");
    } else {
        ClickOn("closebtn");
    }
    PumpIdle();
    EXPECT_EQ(dialogs.size(), c.asked ? 1u : 0u);
    if (c.asked) {
        EXPECT_EQ(dialogs[0].skin, "ExitTipWnd.xml");
    }
    EXPECT_EQ(WindowGone(), c.closes);
}

INSTANTIATE_TEST_SUITE_P(Pages, MainWndCloseTest,
                         ::testing::Values(CloseCase{0, {0}, true, true}, CloseCase{0, {1}, true, false},
                                           CloseCase{0, {2}, true, false}, CloseCase{1, {0}, true, true},
                                           CloseCase{1, {1}, true, false}, CloseCase{2, {0}, true, false},
                                           CloseCase{3, {}, false, true}));

TEST_F(MainWndTest, SystemCloseIsRefusedOnlyOnTheProgressPage)
{
    OpenWindow();
    SelectPage(CMainWnd::kProgressPage);
    window->Close(1);
    PumpIdle();
    EXPECT_FALSE(WindowGone());
    SelectPage(CMainWnd::kWelcomePage);
    window->Close(1);
    PumpIdle();
    EXPECT_TRUE(WindowGone());
}

// ---------------------------------------------------------------- progress

TEST_F(MainWndTest, DownloadProgressTextAndPatienceAfterAMinute)
{
    OpenWindow();
    Report(1001);
    Report(1002, 0.5);
    EXPECT_EQ(ProgressText(), "正在安装中:35%，请稍候...");
    EXPECT_EQ(ProgressValue(), 35);
    Report(1002, 0.1);
    EXPECT_EQ(ProgressText(), "正在安装中:6%，请稍候...") << "0.1 x 0.7 x 100 is just below 7";
    EXPECT_EQ(ProgressValue(), 6);

    tick += 60000;
    Report(1002, 0.5);
    EXPECT_EQ(ProgressText(), "正在安装中:35%，请稍候...") << "exactly a minute is not more than a minute";
    tick += 1;
    Report(1002, 0.5);
    EXPECT_EQ(ProgressText(), "正在安装中:35%，请耐心等待...");

    Report(1001);  // a new download start restarts the watch
    Report(1002, 0.5);
    EXPECT_EQ(ProgressText(), "正在安装中:35%，请稍候...");
}

TEST_F(MainWndTest, InstallationProgressIsSmoothedAndNeverReset)
{
    OpenWindow();
    std::vector<int> shown;
    std::vector<double> fractions;
    for (double value : {0.0, 0.0, 0.0, 0.9, 0.0}) {
        Report(2002, value);
        shown.push_back(ProgressValue());
        fractions.push_back(window->InstallFraction());
    }
    EXPECT_THAT(shown, ElementsAre(74, 78, 83, 97, 98));
    EXPECT_THAT(fractions, ElementsAre(0.15, 0.30, 0.44999999999999996, 0.9, 0.95));
    EXPECT_EQ(ProgressText(), "正在安装中:98%，请稍候...");

    // A failure and a second installation continue from where the first one was.
    Report(2004, 0, "boom");
    Report(2002, 0.0);
    EXPECT_DOUBLE_EQ(window->InstallFraction(), 0.95);
    EXPECT_EQ(ProgressValue(), 98);
}

TEST_F(MainWndTest, BadProgressValuesShowSaneNumbers)
{
    OpenWindow();
    for (double value : {std::nan(""), 1e300, -5.0, std::numeric_limits<double>::infinity()}) {
        Report(1002, value);
        EXPECT_GE(ProgressValue(), 0) << value;
        EXPECT_LE(ProgressValue(), 100) << value;
    }
    Report(1002, 1e300);
    EXPECT_EQ(ProgressText(), "正在安装中:100%，请稍候...");
}

TEST_F(MainWndTest, ProgressFormatFromUserDataTakesOnlyOneNumber)
{
    OpenWindow();
    struct Case {
        const char* userData;
        const char* expected;
    };
    for (const Case& c : {Case{"进度 %d%%", "进度 35%"}, Case{"%s%n%d", "正在安装中:35%，请稍候..."},
                          Case{"%d%d", "正在安装中:35%，请稍候..."}, Case{"no number", "no number"},
                          Case{"trailing %", "正在安装中:35%，请稍候..."}}) {
        Find("progressLb")->SetUserData(c.userData);
        Report(1002, 0.5);
        EXPECT_EQ(ProgressText(), c.expected) << c.userData;
    }
    Find("progressLb")->SetUserData(std::string(400, 'x') + "%d");
    Report(1002, 0.5);
    EXPECT_EQ(Platform::Utf8Length(ProgressText()), 249u);
}

struct FailureCase {
    double downloaded;
    int shownBefore;
    bool resets;
};

class MainWndFailureTest : public MainWndFixture, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(MainWndFailureTest, InstallationFailureResetsTheBarFromSeventyPercent)
{
    const FailureCase& c = GetParam();
    settings.DownloadScale = 1.0;
    OpenWindow();
    ClickOn("customeBtn");
    Report(1002, c.downloaded);
    ASSERT_EQ(ProgressValue(), c.shownBefore);
    const std::string textBefore = ProgressText();
    Report(2004, 0.0, "");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].skin, "MessageBox2Wnd.xml");
    EXPECT_EQ(dialogs[0].text, "安装失败");
    EXPECT_EQ(dialogs[0].caption, "温馨提示");
    EXPECT_EQ(ProgressValue(), c.resets ? 0 : c.shownBefore);
    EXPECT_EQ(ProgressText(), c.resets ? std::string(kStartText) : textBefore);
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
}

INSTANTIATE_TEST_SUITE_P(Percentages, MainWndFailureTest,
                         ::testing::Values(FailureCase{0.75, 75, true}, FailureCase{0.70, 70, true},
                                           FailureCase{0.6, 60, false}));

TEST_F(MainWndTest, PackageMessageShowsWhileTheInstallationGoesOn)
{
    OpenWindow();
    int progressWhileOpen = -1;
    whileDialogOpen = [&](const ShownDialog&) {
        PumpIdle();
        progressWhileOpen = ProgressValue();
    };
    window->ReportCallback()(3009, 0.0, "请稍后重启电脑");
    window->ReportCallback()(2002, 0.5, "");
    PumpIdle();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].skin, "MessageBox1Wnd.xml");
    EXPECT_EQ(dialogs[0].text, "请稍后重启电脑");
    EXPECT_EQ(dialogs[0].caption, "消息");
    EXPECT_GT(progressWhileOpen, 70) << "the next report is handled while the box is open";
}

TEST_F(MainWndTest, PackageFactsAreKept)
{
    OpenWindow();
    Report(3000, 0, "/opt/x");
    Report(3001, 0, "/opt/x/nuvalo-pdfconvert.exe");
    Report(3003, 0, "/opt/x/uninst.ep");
    Report(3004, 0, "https://example.com/start");
    Report(3005, 2.9);
    Report(3007, 1234.0);
    Report(3008, -1.0);
    const CMainWnd::InstallFacts& facts = window->Facts();
    EXPECT_EQ(facts.instPath, "/opt/x");
    EXPECT_EQ(facts.exePath, "/opt/x/nuvalo-pdfconvert.exe");
    EXPECT_EQ(facts.uninstEp, "/opt/x/uninst.ep");
    EXPECT_EQ(facts.startUrl, "https://example.com/start");
    EXPECT_EQ(facts.startupStyle, 2);
    EXPECT_EQ(facts.topShowDetention, 1234u);
    EXPECT_EQ(facts.finishCloseDetention, 0u);
    for (int code : {1003, 1005, 1006, 3002, 5001, 5002, 5003, 9999}) Report(code, 0.5, "x");
    EXPECT_THAT(dialogs, IsEmpty());
}

TEST_F(MainWndTest, DefaultStartPageIsTheProductHomePage)
{
    OpenWindow();
    EXPECT_EQ(window->Facts().startUrl, "https://www.nuvalopdf.com/converter");
    EXPECT_EQ(window->Facts().topShowDetention, 3000u);
    EXPECT_EQ(window->Facts().finishCloseDetention, 4294967295u);
}

// ---------------------------------------------------------------- checks before starting

struct SpaceCase {
    const char* name;
    uint64_t target;
    std::optional<uint64_t> data;  // nothing: the data folder is on the target drive
    const char* message;
};

class MainWndSpaceTest : public MainWndFixture, public ::testing::WithParamInterface<SpaceCase> {};

TEST_P(MainWndSpaceTest, LowFreeSpaceStopsWithItsMessage)
{
    const SpaceCase& c = GetParam();
    const std::string target = folders.Path("target/nuvaloPDFconverter");
    const std::string dataRoot = folders.Path("home/.local/share");
    driveOf = [&](const std::string& folder) {
        if (c.data && folder.rfind(dataRoot, 0) == 0) return std::string("/data");
        return std::string("/target");
    };
    freeBytes = {{"/target", c.target}};
    if (c.data) freeBytes["/data"] = *c.data;
    OpenWindow();
    SkinUI::CMultiLanguage::AddString(104, "安装盘空间不足1GB");

    EXPECT_EQ(window->StartInstall(target, true, true), *c.message == '\0');
    if (*c.message == '\0') {
        EXPECT_THAT(dialogs, IsEmpty());
        return;
    }
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].skin, "MessageBox2Wnd.xml");
    EXPECT_EQ(dialogs[0].text, c.message);
    EXPECT_EQ(dialogs[0].caption, "温馨提示");
    EXPECT_TRUE(Find("customeInstallBtn")->IsEnabled());
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
}

constexpr uint64_t kLow = MainWndFixture::kGiB / 10 * 9;
constexpr uint64_t kPlenty = 5 * MainWndFixture::kGiB;

INSTANTIATE_TEST_SUITE_P(
    Drives, MainWndSpaceTest,
    ::testing::Values(SpaceCase{"TargetLowSameDrive", kLow, std::nullopt, "安装盘空间不足1GB"},
                      SpaceCase{"BothLow", kLow, kLow, "安装盘空间不足1GB\n（请确认系统盘空间不低于1GB，以保证安装成功）"},
                      SpaceCase{"DataLow", kPlenty, kLow, "请确认系统盘空间不低于1GB，以保证安装成功"},
                      SpaceCase{"ExactlyOneGiB", MainWndFixture::kGiB, std::nullopt, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainWndTest, FailedProbesCountAsNoSpaceExceptWhereTheTargetsFigureStays)
{
    driveOf = [](const std::string& folder) {
        return std::string(folder.find("/share") != std::string::npos ? "/data" : "/target");
    };
    freeBytes = {{"/target", kPlenty}};  // the data drive's probe fails
    OpenWindow();
    EXPECT_TRUE(window->StartInstall(folders.Path("t/nuvaloPDFconverter"), true, true));

    freeBytes = {{"/data", kPlenty}};  // the target drive's probe fails
    dialogs.clear();
    EXPECT_FALSE(window->StartInstall(folders.Path("t/nuvaloPDFconverter"), true, true));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].text, "") << "text 104 is empty without a language table";
}

TEST_F(MainWndTest, FolderThatCannotBeMadeIsAnInvalidPath)
{
    const std::string file = folders.Path("plainfile");
    ASSERT_TRUE(Platform::WriteFileAtomically(file, "x"));
    OpenWindow();
    for (const std::string& folder : {file + "/sub", std::string()}) {
        dialogs.clear();
        EXPECT_FALSE(window->StartInstall(folder, true, true));
        ASSERT_EQ(dialogs.size(), 1u) << folder;
        EXPECT_EQ(dialogs[0].text, "无效路径");
        EXPECT_TRUE(Find("customeInstallBtn")->IsEnabled());
    }
}

TEST_F(MainWndTest, RunningProductOrUninstallerStopsTheStartUnlessInsNew)
{
    OpenWindow();
    running = {"nuvaloPDFconverter_un_asa.exe"};
    EXPECT_FALSE(window->StartInstall(folders.Path("a/nuvaloPDFconverter"), true, true));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].skin, "MessageBox1Wnd.xml");
    EXPECT_EQ(dialogs[0].text, kRunningText);
    PumpIdle();
    EXPECT_FALSE(WindowGone()) << "without an installation the uninstaller copy only stops the start";

    running = {"nuvalo-pdfconvert.exe"};
    EXPECT_FALSE(window->StartInstall(folders.Path("a/nuvaloPDFconverter"), true, true));
    PumpIdle();
    EXPECT_TRUE(WindowGone());
}

TEST_F(MainWndTest, CheckNetWithoutNetworkShowsTheMessageAndStartsNothing)
{
    settings.ApplyCommandLine(std::vector<std::string>{"installer", "-ischecknet=true"});
    ASSERT_TRUE(settings.IsCheckNet);
    network = 0x10000;
    OpenWindow();
    EXPECT_TRUE(window->StartInstall(folders.Path("net/nuvaloPDFconverter"), true, true));
    EXPECT_FALSE(Find("customeInstallBtn")->IsEnabled());
    ASSERT_TRUE(PumpUntil([&] { return !dialogs.empty(); }));
    PumpIdle();
    EXPECT_EQ(dialogs[0].skin, "MessageBox2Wnd.xml");
    EXPECT_EQ(dialogs[0].text, "当前网络环境较差，请在网络通畅时进行安装");
    EXPECT_TRUE(Find("customeInstallBtn")->IsEnabled());
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
    EXPECT_EQ(dialogs.size(), 1u);
}

TEST_F(MainWndTest, CheckNetWithNetworkStartsTheInstallation)
{
    settings.IsCheckNet = true;
    network = 0x40;
    answers = {2};  // the unreachable download's dialog: stay
    OpenWindow();
    // Into a folder of the test's own: run as root, the proposed folder would be under /opt.
    ClickOn("customeBtn");
    Find("installDirEdit")->SetText(folders.Path("checknet/nuvaloPDFconverter"));
    ClickOn("customeInstallBtn");
    ASSERT_TRUE(PumpUntil([&] { return window->CurrentPage() == CMainWnd::kProgressPage || !dialogs.empty(); }));
    ASSERT_TRUE(PumpUntil([&] { return !dialogs.empty(); }));
    EXPECT_EQ(dialogs[0].skin, "NetworkTipWnd.xml");
}

// ---------------------------------------------------------------- an existing installation

TEST_F(MainWndTest, ExistingInstallationWithRunningProductEndsWithoutAsking)
{
    RecordOldInstallation();
    running = {"nuvalo-pdfconvert.exe"};
    OpenWindow();
    EXPECT_TRUE(window->ExistingInstallation());
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].skin, "MessageBox1Wnd.xml");
    EXPECT_EQ(dialogs[0].text, kRunningText);
    EXPECT_EQ(dialogs[0].caption, "温馨提示");
    PumpIdle();
    EXPECT_TRUE(WindowGone());
}

TEST_F(MainWndTest, ExistingInstallationWithInsNewStartsAtOnceIntoItsFolder)
{
    const std::string folder = RecordOldInstallation();
    settings.ApplyCommandLine(std::vector<std::string>{"installer", "-insnew=true"});
    running = {"nuvalo-pdfconvert.exe"};
    answers = {2};
    OpenWindow();
    ASSERT_TRUE(PumpUntil([&] { return window->CurrentPage() == CMainWnd::kProgressPage || !dialogs.empty(); }));
    for (const ShownDialog& dialog : dialogs) EXPECT_EQ(dialog.skin, "NetworkTipWnd.xml") << dialog;
    EXPECT_EQ(window->Facts().instPath, folder);
}

struct ExistingCase {
    int answer;
    bool installs;
    bool opensProduct;
};

class MainWndExistingTest : public MainWndFixture, public ::testing::WithParamInterface<ExistingCase> {};

TEST_P(MainWndExistingTest, ExistingInstallationDialogDecides)
{
    const ExistingCase& c = GetParam();
    const std::string folder = RecordOldInstallation();
    answers = {c.answer, 2};
    OpenWindow();
    ASSERT_FALSE(dialogs.empty());
    EXPECT_EQ(dialogs[0].skin, "InstalledPathTipWnd.xml");
    if (c.installs) {
        ASSERT_TRUE(PumpUntil([&] { return window->CurrentPage() == CMainWnd::kProgressPage || dialogs.size() > 1; }));
        EXPECT_EQ(window->Facts().instPath, folder);
    } else {
        PumpIdle();
        EXPECT_TRUE(WindowGone());
    }
    if (c.opensProduct) {
        EXPECT_THAT(opened, ElementsAre(folder + "/nuvalo-pdfconvert.exe"));
        EXPECT_THAT(openedIn, ElementsAre(folder));
    } else {
        EXPECT_THAT(opened, IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, MainWndExistingTest,
                         ::testing::Values(ExistingCase{0, true, false}, ExistingCase{1, false, true},
                                           ExistingCase{2, false, false}));

TEST_F(MainWndTest, UninstallationFailureShowsTheRunningMessageAndEndsAnExistingInstallation)
{
    RecordOldInstallation();
    freeBytes = {};  // "安装最新版本" stops at the free-space check, so nothing runs
    answers = {0};
    OpenWindow();
    ASSERT_EQ(dialogs.size(), 2u);
    dialogs.clear();
    Report(5005, 0, "安装包卸载失败");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].skin, "MessageBox1Wnd.xml");
    EXPECT_EQ(dialogs[0].text, kRunningText);
    PumpIdle();
    EXPECT_TRUE(WindowGone());
}

TEST_F(MainWndTest, UninstallationFailureWithoutAnInstallationGoesBackToTheOriginPage)
{
    OpenWindow();
    SelectPage(CMainWnd::kProgressPage);
    Report(5004, 1.0, "可执行卸载文件不存在");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kWelcomePage);
    EXPECT_FALSE(WindowGone());
}

// ---------------------------------------------------------------- download failure and finish

TEST_F(MainWndTest, DownloadFailureOffersARetryFromTheOriginPage)
{
    answers = {0, 2};  // retry, then stay
    OpenWindow();
    ClickOn("customeBtn");
    Find("installDirEdit")->SetText(folders.Path("custom/nuvaloPDFconverter"));
    ClickOn("customeInstallBtn");
    ASSERT_TRUE(PumpUntil([&] { return dialogs.size() >= 2; }));
    EXPECT_EQ(dialogs[0].skin, "NetworkTipWnd.xml");
    EXPECT_EQ(dialogs[1].skin, "NetworkTipWnd.xml") << "the retry downloaded again and failed again";
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kCustomPage);
    EXPECT_EQ(window->Facts().instPath, folders.Path("custom/nuvaloPDFconverter"));
    EXPECT_TRUE(Find("customeInstallBtn")->IsEnabled());
}

TEST_F(MainWndTest, FinishStageWritesRecordsAndRunsItsTimers)
{
    const std::string folder = folders.Path("done/nuvaloPDFconverter");
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(Platform::WriteFileAtomically(folder + "/uninst.ep", "x"));
    OpenWindow();
    Report(3000, 0, folder);
    Report(3007, 10);
    Report(3008, 1500);
    Report(2003, 1.0);
    EXPECT_EQ(window->CurrentPage(), CMainWnd::kFinishedPage);
    EXPECT_EQ(ProgressValue(), 100);
    EXPECT_EQ(Find("winCtn")->GetBkImage(), "res\\mainWnd\\bg4.png");
    std::string recorded;
    EXPECT_TRUE(InstallRecords::ReadSetting("InstallPath", recorded));
    EXPECT_EQ(recorded, folder);
    EXPECT_TRUE(InstallRecords::ReadSetting("UnInstallEp", recorded));
    EXPECT_EQ(recorded, folder + "/uninst.ep");
    EXPECT_EQ(Platform::ReadIniString(folder + "/set.ini", "Install", "AppName", "", 259), "nuvaloPDFconverter");
    EXPECT_THAT(opened, IsEmpty()) << "StartupStyle 0 opens nothing";
    ASSERT_TRUE(PumpUntil([&] { return WindowGone(); }, 10000)) << "timer 11 closes the window";
    EXPECT_EQ(window->CurrentPage(), -1) << "no reference outlives the control tree";
}

struct OpenCase {
    const char* startUrl;
    bool opensUrl;
};

class MainWndOpenTest : public MainWndFixture, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(MainWndOpenTest, OpenProductOpensLongStartPagesAndAnExistingProduct)
{
    const std::string exe = folders.Path("p/nuvalo-pdfconvert.exe");
    std::filesystem::create_directories(Platform::ParentFolder(exe));
    ASSERT_TRUE(Platform::WriteFileAtomically(exe, "x"));
    OpenWindow();
    Report(3004, 0, GetParam().startUrl);
    Report(3001, 0, exe);
    Report(3005, 2);
    SelectPage(CMainWnd::kFinishedPage);
    ClickOn("openProduceBtn");
    if (GetParam().opensUrl) EXPECT_THAT(opened, ElementsAre(GetParam().startUrl, exe));
    else EXPECT_THAT(opened, ElementsAre(exe));
    PumpIdle();
    EXPECT_TRUE(WindowGone());
}

INSTANTIATE_TEST_SUITE_P(StartPages, MainWndOpenTest,
                         ::testing::Values(OpenCase{"a.com", false}, OpenCase{"ab.com", true},
                                           OpenCase{"网页", false}, OpenCase{"", false}));

TEST_F(MainWndTest, AutoStartupOpensTheProductAtTheFinish)
{
    OpenWindow();
    Report(3000, 0, folders.Path("auto"));
    Report(3005, 1);
    Report(2003, 1.0);
    EXPECT_THAT(opened, ElementsAre("https://www.nuvalopdf.com/converter"));
}

TEST_F(MainWndTest, ReportsAfterTheWindowIsGoneAreFreed)
{
    OpenWindow();
    const EventCallback callback = window->ReportCallback();
    callback(2002, 0.5, "before closing");
    window->Close(1);
    PumpIdle();
    ASSERT_TRUE(WindowGone());
    for (int i = 0; i < 10; ++i) callback(3009, 0.0, "late");
    window.reset();
    callback(3009, 0.0, "after the object");
    PumpIdle();
    EXPECT_THAT(dialogs, IsEmpty());
}

}  // namespace

#include "ui/CMainWnd.h"

#include "app/Localization.h"
#include "download/CDownloader.h"
#include "install/ReportCodes.h"
#include "platform/FileSystem.h"
#include "platform/TextConversion.h"
#include "platform/WindowMessages.h"
#include "skinui/CButtonUI.h"
#include "skinui/CCheckBoxUI.h"
#include "skinui/CEditUI.h"
#include "skinui/CFrameSequence.h"
#include "skinui/CLabelUI.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CProgressUI.h"
#include "skinui/CResourceSettings.h"
#include "skinui/CSequenceButtonUI.h"
#include "skinui/CSequenceLabelUI.h"
#include "skinui/CTabLayoutUI.h"
#include "utils/DebugLog.h"
#include "utils/Directories.h"


#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

using Platform::EqualsIgnoringCase;

constexpr int kMainWndIcon = 145;
constexpr uint32_t kMainWndStyle = SkinUI::UI_WS_VISIBLE | SkinUI::UI_WS_OVERLAPPEDWINDOW;
constexpr double kGiB = 1073741824.0;
constexpr double kDownloadPatienceSeconds = 60.0;
constexpr size_t kMaxProgressChars = 249;
constexpr size_t kMaxFolderChars = 260;
constexpr size_t kMinStartUrlChars = 5;
constexpr int kResetPercent = 70;
constexpr int kFreeSpaceTextId = 104;
// The platform's longest timer interval (about 24.8 days).
constexpr uint32_t kMaxTimerInterval = 0x7FFFFFFF;

constexpr const char* kTipTitle = "温馨提示";
constexpr const char* kRunningText = "安装程序检测到NuvaloPDF转换器\r\n正在运行，请退出程序后再安装";
constexpr const char* kInvalidFolderText = "无效路径";
constexpr const char* kBadNetworkText = "当前网络环境较差，请在网络通畅时进行安装";
constexpr const char* kInstallFailedText = "安装失败";
constexpr const char* kMessageTitle = "消息";
constexpr const char* kSystemDriveLine = "\n（请确认系统盘空间不低于1GB，以保证安装成功）";
constexpr const char* kSystemDriveText = "请确认系统盘空间不低于1GB，以保证安装成功";
constexpr const char* kProgressStartText = "正在安装中:0%，请稍候...";
constexpr const char* kProgressFormat = "正在安装中:%d%%，请稍候...";
constexpr const char* kPatientProgressFormat = "正在安装中:%d%%，请耐心等待...";
constexpr const char* kFolderPickerTitle = "选择一个文件夹";
constexpr const char* kProductFolder = "nuvaloPDFconverter";

constexpr const char* kMessageBox1 = "MessageBox1Wnd.xml";
constexpr const char* kMessageBox2 = "MessageBox2Wnd.xml";
constexpr const char* kInstalledTip = "InstalledPathTipWnd.xml";
constexpr const char* kNetworkTip = "NetworkTipWnd.xml";
constexpr const char* kExitTip = "ExitTipWnd.xml";

constexpr int kAnswerOk = 0;
constexpr int kAnswerCancel = 1;

bool IsSelected(const SkinUI::COptionUI* option) { return option != nullptr && option->IsSelected(); }

void SetVisible(SkinUI::CControlUI* control, bool visible)
{
    if (control != nullptr) control->SetVisible(visible);
}

void SetEnabled(SkinUI::CControlUI* control, bool enabled)
{
    if (control != nullptr) control->SetEnabled(enabled);
}

// The percentage of a fraction; package values out of range or not numbers
// must not turn into nonsense (or undefined conversions).
int TruncatePercent(double percent)
{
    if (!std::isfinite(percent)) return 0;
    return static_cast<int>(std::clamp(percent, 0.0, 100.0));
}

uint32_t ToUnsigned32(double value)
{
    if (!(value >= 0.0)) return 0;
    if (value >= 4294967295.0) return 4294967295u;
    return static_cast<uint32_t>(value);
}

int ToInt(double value)
{
    if (!std::isfinite(value)) return 0;
    return static_cast<int>(std::clamp(value, double(std::numeric_limits<int>::min()),
                                       double(std::numeric_limits<int>::max())));
}

// Fills the one "%d" of format with percent ("%%" is a percent sign); nothing
// for a format with any other conversion, which would read arguments that
// are not there.
std::optional<std::string> FormatPercent(std::string_view format, int percent)
{
    std::string text;
    bool filled = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            text += format[i];
            continue;
        }
        const char next = i + 1 < format.size() ? format[i + 1] : '\0';
        if (next == '%') {
            text += '%';
        } else if (next == 'd' && !filled) {
            text += std::to_string(percent);
            filled = true;
        } else {
            return std::nullopt;
        }
        ++i;
    }
    Platform::TruncateUtf8(text, kMaxProgressChars);
    return text;
}

}  // namespace

CMainWnd::CMainWnd(LaunchSettings& settings, MainWndServices services)
    : CSkinFrame(InstallerSkin("MainWnd.xml")), settings_(settings), services_(std::move(services))
{
}

CMainWnd::~CMainWnd()
{
    // The window's handlers need this object whole.
    if (GetHWND() != 0 && Platform::WindowSystem::Current() != nullptr) {
        Platform::WindowSystem::Current()->DestroyWindow(GetHWND());
    }
    netCheckThread_.Wait();
    installer_.reset();
}

Platform::WindowId CMainWnd::Open() { return Create(0, kProductName, kMainWndStyle, 0, 0, 0, 0, 0); }

// ---------------------------------------------------------------- building

void CMainWnd::InitWindow()
{
    CSkinFrame::InitWindow();
    SetStyle((GetStyle() & ~(SkinUI::UI_WS_CAPTION | SkinUI::UI_WS_MAXIMIZEBOX)) | SkinUI::UI_WS_CLIPSIBLINGS |
             SkinUI::UI_WS_CLIPCHILDREN);
    SetIcon(kMainWndIcon);
    FindControls();
    if (Localization::FindLanguageCombo(paintManager_) != nullptr) Localization::SelectInitialLanguage(paintManager_);
    FitProductNameLabels();
    InstallRecords::ReadInstallRecord(oldInstall_);
    existingInstallation_ =
        !oldInstall_.oldInstallPath.empty() && (Platform::FileExists(oldInstall_.oldInstallPath) ||
                                                Platform::DirectoryExists(oldInstall_.oldInstallPath));
    const std::string proposed = InstallRecords::GetDefaultInstallFolder(oldInstall_, rights_);
    if (installDirEdit_ != nullptr) installDirEdit_->SetText(proposed);
    CenterWindow();
    InitInstallFlow();
}

void CMainWnd::FindControls()
{
    using namespace SkinUI;
    const CManagerUI& m = paintManager_;
    mainTab_ = m.FindControlAs<CTabLayoutUI>("mainTabLt", "TabLayout");
    titleTab_ = m.FindControlAs<CTabLayoutUI>("titleTabLt", "TabLayout");
    winCtn_ = m.FindControl("winCtn");
    titleGroup_ = m.FindControl("titleGrpCtn");
    defaultInstallBtn_ = m.FindControlAs<CButtonUI>("defaultInstallBtn", "Button");
    customBtn_ = m.FindControlAs<CButtonUI>("customeBtn", "Button");
    treatyCb_ = m.FindControlAs<CCheckBoxUI>("treatyCb", "CheckBox");
    treatyBtn_ = m.FindControlAs<CCheckBoxUI>("treatyBtn", "CheckBox");
    tipLbl_ = m.FindControl("tipLbl");
    serviceCb_ = m.FindControlAs<CCheckBoxUI>("serviceCb", "CheckBox");
    backBtn_ = m.FindControlAs<CButtonUI>("backBtn", "Button");
    installDirEdit_ = m.FindControlAs<CEditUI>("installDirEdit", "Edit");
    chDirBtn_ = m.FindControlAs<CButtonUI>("chDirBtn", "Button");
    createDSCb_ = m.FindControlAs<CCheckBoxUI>("createDSCb", "CheckBox");
    createQSCb_ = m.FindControlAs<CCheckBoxUI>("createQSCb", "CheckBox");
    customInstallBtn_ = m.FindControlAs<CButtonUI>("customeInstallBtn", "Button");
    progressLb_ = m.FindControlAs<CLabelUI>("progressLb", "Label");
    installPrg_ = m.FindControlAs<CProgressUI>("installPrg", "Progress");
    finishedLbl_ = m.FindControl("finishedLbl");
    openProduceBtn_ = m.FindControlAs<CButtonUI>("openProduceBtn", "Button");
    progressAnLb_ = m.FindControl("progressAnLb");
    installLogo_ = m.FindControl("installLogo");
    softNameLbl_ = m.FindControlAs<CLabelUI>("softNameLbl", "Label");
}

void CMainWnd::FitProductNameLabels()
{
    for (const char* name : {"softNameLbl", "bTitleLbl1", "bTitleLbl2", "bTitleLbl3"}) {
        auto* label = paintManager_.FindControlAs<SkinUI::CLabelUI>(name, "Label");
        if (label == nullptr) continue;
        const SkinUI::UISize size = paintManager_.MeasureText(label->GetFont(), kProductName, label->GetTextStyle(), 0);
        label->SetFixedWidth(size.cx);
        label->SetText(kProductName);
    }
}

void CMainWnd::InitInstallFlow()
{
    mailbox_ = std::make_shared<ReportMailbox>(GetHWND(), WM_INSTALLER_REPORT);
    installer_ = std::make_unique<CDownloadInstaller>(ReportCallback(), CDownloadInstaller::Parameters{}, settings_);
    if (existingInstallation_) HandleExistingInstallation();
}

void CMainWnd::HandleExistingInstallation()
{
    const std::string& folder = oldInstall_.oldInstallPath;
    Localization::SelectInstallationLanguage(folder, paintManager_);
    if (services_.findProcess(kProductExe) != 0 && !settings_.InsNew) {
        ShowDialog(kMessageBox1, kRunningText, kTipTitle);
        Close(1);
        return;
    }
    if (settings_.InsNew) {
        StartInstall(folder, true, true);
        return;
    }
    switch (ShowDialog(kInstalledTip)) {
    case kAnswerOk: StartInstall(folder, true, true); break;
    case kAnswerCancel:
        facts_.exePath = Platform::JoinPath(folder, kProductExe);
        services_.shellOpen(facts_.exePath, folder);
        Close(1);
        break;
    default: Close(1); break;
    }
}

SkinUI::CControlUI* CMainWnd::CreateControl(std::string_view className)
{
    if (EqualsIgnoringCase(className, "SequenceButton")) return new SkinUI::CSequenceButtonUI;
    if (EqualsIgnoringCase(className, "SequenceLabel")) return new SkinUI::CSequenceLabelUI;
    return nullptr;
}

void CMainWnd::OnWindowGone()
{
    if (mailbox_) mailbox_->Close();
    CSkinFrame::OnWindowGone();
    // The tree is gone; every reference comes back empty.
    FindControls();
}

// ---------------------------------------------------------------- messages

intptr_t CMainWnd::HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    // No way out while an installation runs.
    if (message == Platform::WM_CLOSE && CurrentPage() == kProgressPage) return 0;
    return CSkinFrame::HandleMessage(message, wParam, lParam);
}

intptr_t CMainWnd::HandleAppMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled)
{
    if (message == Platform::WM_TIMER) {
        OnAppTimer(wParam, lParam);
    } else if (message == WM_INSTALLER_REPORT) {
        const std::unique_ptr<ReportRecord> record = mailbox_ ? mailbox_->Take(lParam) : nullptr;
        if (record) OnReport(*record);
    } else if (message == WM_INSTALLER_CHECKNET) {
        SendToSelf("checknet", wParam, false);
        return 0;
    }
    return CSkinFrame::HandleAppMessage(message, wParam, lParam, handled);
}

intptr_t CMainWnd::OnAppTimer(uintptr_t, intptr_t) { return 0; }

int CMainWnd::CurrentPage() const { return mainTab_ != nullptr ? mainTab_->GetCurSel() : -1; }

void CMainWnd::SelectPage(int page)
{
    if (mainTab_ != nullptr) mainTab_->SelectItem(page, true);
}

void CMainWnd::SendToSelf(const char* type, uintptr_t wParam, bool async)
{
    paintManager_.SendNotify(paintManager_.GetRoot(), type, wParam, 0, async);
}

int CMainWnd::ShowDialog(const std::string& skinFile, std::optional<std::string_view> text,
                         std::optional<std::string_view> caption)
{
    return services_.showMessageBox(GetHWND(), skinFile, text, caption);
}

// ---------------------------------------------------------------- notifications

void CMainWnd::Notify(SkinUI::TNotifyEvent& msg)
{
    if (msg.type == "selectchanged") OnSelectChanged(msg.sender);
    else if (msg.type == "tabselect") OnTabSelect();
    else if (msg.type == "checknet") OnCheckNet(msg.wParam);
    else if (msg.type == "install") OnInstall(msg.wParam);
    else if (msg.type == "timer" && msg.sender != nullptr && msg.sender == paintManager_.GetRoot()) OnRootTimer(msg.wParam);
    else if (msg.type == "itemselect" && msg.sender != nullptr && msg.sender->GetName() == ILanguageCombo::kControlName)
        Localization::OnLanguageItemSelect(paintManager_);
    CSkinFrame::Notify(msg);
}

void CMainWnd::OnSelectChanged(SkinUI::CControlUI* sender)
{
    if (sender == nullptr) return;
    if (sender == treatyCb_) {
        const bool agreed = IsSelected(treatyCb_);
        const bool serviceAgreed = serviceCb_ == nullptr || serviceCb_->IsSelected();
        if (treatyBtn_ != nullptr) treatyBtn_->Selected(agreed, true);
        SetEnabled(customBtn_, agreed && serviceAgreed);
        if (agreed && serviceAgreed) SetVisible(tipLbl_, false);
    } else if (sender == serviceCb_) {
        const bool serviceAgreed = IsSelected(serviceCb_);
        SetEnabled(customBtn_, serviceAgreed && IsSelected(treatyCb_));
        SetEnabled(defaultInstallBtn_, serviceAgreed);
    } else if (sender == treatyBtn_) {
        // The link never changes the agreement.
        treatyBtn_->Selected(IsSelected(treatyCb_), true);
    }
}

void CMainWnd::OnTabSelect()
{
    const int page = CurrentPage();
    const char* background = "res\\mainWnd\\bg1.png";
    int titlePage = -1;
    switch (page) {
    case kWelcomePage: titlePage = 1; break;
    case kCustomPage:
        background = "res\\mainWnd\\bg2.png";
        titlePage = 1;
        break;
    case kProgressPage:
        background = "res\\mainWnd\\bg3.png";
        if (auto* animation = dynamic_cast<SkinUI::CSequenceLabelUI*>(progressAnLb_)) animation->Start();
        break;
    case kFinishedPage:
        background = "res\\mainWnd\\bg4.png";
        titlePage = 2;
        if (progressAnLb_ != nullptr) progressAnLb_->KillTimer(SkinUI::CFrameSequence::kTimerId);
        if (auto* animation = dynamic_cast<SkinUI::CSequenceLabelUI*>(finishedLbl_)) animation->Start();
        break;
    default: titlePage = 0; break;
    }
    if (winCtn_ != nullptr) winCtn_->SetBkImage(background);
    if (titleTab_ != nullptr && titlePage >= 0) titleTab_->SelectItem(titlePage, true);
    SetVisible(titleGroup_, page != kProgressPage);
    SetVisible(installLogo_, page == kProgressPage);
    SetVisible(backBtn_, page == kCustomPage);
    paintManager_.NeedUpdate();
}

void CMainWnd::OnRootTimer(uintptr_t timerId)
{
    if (timerId == kFrontTimer) {
        ShowWindow(true, true);
        paintManager_.KillTimer(paintManager_.GetRoot(), kFrontTimer);
    } else if (timerId == kCloseTimer) {
        Close(1);
        paintManager_.KillTimer(paintManager_.GetRoot(), kCloseTimer);
    }
}

// ---------------------------------------------------------------- clicks

void CMainWnd::OnClick(SkinUI::TNotifyEvent& msg)
{
    SkinUI::CControlUI* sender = msg.sender;
    if (sender == nullptr) return CSkinFrame::OnClick(msg);
    if (sender == defaultInstallBtn_) {
        if (IsSelected(treatyCb_)) StartInstall(ProposedFolder(), true, true);
        else SetVisible(tipLbl_, true);
    } else if (sender == customInstallBtn_) {
        StartInstall(GetInstallFolderFromEdit(), IsSelected(createDSCb_), IsSelected(createQSCb_));
    } else if (sender == openProduceBtn_) {
        if (facts_.startupStyle == 2) OpenProduct();
        Close(1);
    } else if (sender == customBtn_) {
        SelectPage(kCustomPage);
        if (customInstallBtn_ != nullptr) customInstallBtn_->SetFocus();
    } else if (sender == treatyBtn_) {
        services_.shellOpen(std::string(kWebSite) + "/terms", "");
    } else if (sender == backBtn_) {
        SelectPage(kWelcomePage);
    } else if (sender == chDirBtn_) {
        BrowseFolder();
    } else if (sender->GetName() == "closebtn") {
        OnCloseButton();
    } else {
        CSkinFrame::OnClick(msg);
    }
}

void CMainWnd::OnCloseButton()
{
    if (CurrentPage() == kFinishedPage || ShowDialog(kExitTip) == kAnswerOk) Close(1);
}

void CMainWnd::BrowseFolder()
{
    const std::optional<std::string> picked = services_.pickFolder(GetHWND(), kFolderPickerTitle);
    if (!picked || picked->empty() || installDirEdit_ == nullptr) return;
    const std::string folder = Platform::JoinPath(*picked, kProductFolder);
    if (Platform::Utf8Length(folder) > kMaxFolderChars) {
        DEBUG_LOG("picked folder too long: %s", folder.c_str());
        return;
    }
    installDirEdit_->SetText(folder);
}

std::string CMainWnd::ProposedFolder() const { return InstallRecords::ProposeInstallFolder(oldInstall_, rights_); }

std::string CMainWnd::GetInstallFolderFromEdit() const
{
    const std::string text = installDirEdit_ != nullptr ? installDirEdit_->GetText() : "";
    const std::string proposed = ProposedFolder();
    return InstallRecords::IsSameFolder(text, proposed) ? proposed : text;
}

// ---------------------------------------------------------------- starting

bool CMainWnd::StartInstall(const std::string& folder, bool desktopShortcut, bool quickLaunchShortcut)
{
    if (!settings_.InsNew) {
        if (services_.findProcess(kUninstallerCopyExe) != 0) {
            ShowDialog(kMessageBox1, kRunningText, kTipTitle);
            if (existingInstallation_) Close(1);
            return false;
        }
        if (RunningProductStops(kProductExe)) return false;
    }
    SetEnabled(customInstallBtn_, false);
    if (FolderCreationFails(folder) || FreeSpaceFails(folder)) return false;
    facts_.instPath = folder;
    std::string oldUninstaller = oldInstall_.oldUninstallerPath;
    if (InstallRecords::IsOverrideDisabled(oldInstall_, folder)) oldUninstaller.clear();
    installer_->SetParameters(CDownloadInstaller::Parameters{settings_.DownloadUrl, oldUninstaller, folder,
                                                             desktopShortcut, quickLaunchShortcut, rights_.adminAct,
                                                             rights_.authorizationAct,
                                                             Localization::CurrentLanguageTag(paintManager_)});
    if (settings_.IsCheckNet) StartNetworkProbe();
    else SendToSelf("install", 1, true);
    return true;
}

bool CMainWnd::RunningProductStops(const char* exeName)
{
    if (services_.findProcess(exeName) == 0) return false;
    ShowDialog(kMessageBox1, kRunningText, kTipTitle);
    Close(1);
    return true;
}

bool CMainWnd::FolderCreationFails(const std::string& folder)
{
    if (!folder.empty() && Utils::CreateDirectories(folder)) return false;
    ShowDialog(kMessageBox2, kInvalidFolderText, kTipTitle);
    SendToSelf("install", 0, false);
    return true;
}

bool CMainWnd::FreeSpaceFails(const std::string& folder)
{
    // One holder for both probes: a failed second probe leaves the first one's figure.
    uint64_t freeBytes = 0;
    const std::string targetDrive = services_.driveOf(folder);
    services_.freeSpace(targetDrive, freeBytes);
    const bool targetLow = static_cast<double>(freeBytes) / kGiB < 1.0;
    std::string message = targetLow ? SkinUI::CMultiLanguage::GetString(kFreeSpaceTextId).value_or("") : "";
    bool dataLow = false;
    const std::string dataDrive = services_.driveOf(InstallRecords::GetVendorDataFolder());
    if (dataDrive != targetDrive) {
        services_.freeSpace(dataDrive, freeBytes);
        dataLow = static_cast<double>(freeBytes) / kGiB < 1.0;
        if (dataLow) message += targetLow ? kSystemDriveLine : kSystemDriveText;
    }
    if (!targetLow && !dataLow) return false;
    ShowDialog(kMessageBox2, message, kTipTitle);
    SendToSelf("install", 0, false);
    return true;
}

void CMainWnd::StartNetworkProbe()
{
    const Platform::WindowId window = GetHWND();
    std::function<uint32_t()> probe = services_.checkNetwork;
    netCheckThread_.Restart(this, "ABDEF", [window, probe](void*) -> uint32_t {
        const uint32_t result = probe();
        if (Platform::WindowSystem* system = Platform::WindowSystem::Current()) {
            system->PostMessage(Platform::Message{window, WM_INSTALLER_CHECKNET, result, 0});
        }
        return 0;
    });
}

void CMainWnd::OnCheckNet(uintptr_t result)
{
    if ((result >> 16) != 0) {
        ShowDialog(kMessageBox2, kBadNetworkText, kTipTitle);
        SendToSelf("install", 0, false);
    } else {
        SendToSelf("install", 1, false);
    }
}

void CMainWnd::OnInstall(uintptr_t start)
{
    if (start != 0) {
        originPage_ = CurrentPage();
        SelectPage(kProgressPage);
        installer_->Start();
    }
    SetEnabled(customInstallBtn_, true);
}

EventCallback CMainWnd::ReportCallback() const
{
    std::shared_ptr<ReportMailbox> mailbox = mailbox_;
    return [mailbox](int32_t code, double value, const std::string& text) {
        if (mailbox) mailbox->Post(code, value, text);
    };
}

// ---------------------------------------------------------------- reports

void CMainWnd::OnReport(const ReportRecord& record)
{
    const double scale = settings_.DownloadScale;
    switch (record.code) {
    case DL_CODE_START: downloadWatch_.StartAt(services_.tickCount()); break;
    case DL_CODE_PROGRESS: ShowPercent(record.value * scale * 100); break;
    case DL_CODE_FAIL: OnDownloadFailed(); break;
    case IST_CODE_START: InstallRecords::WriteIniRecords(facts_.instPath); break;
    case IST_CODE_PROGRESS:
        installFraction_ = std::max(std::min(installFraction_ + 0.15, 0.95), record.value);
        ShowPercent(((1 - scale) * installFraction_ + scale) * 100);
        break;
    case INSTALL_SUCCESS: OnInstallSucceeded(); break;
    case IST_CODE_FAIL: OnInstallFailed(record.text); break;
    case IST_INFO_INST_PATH: facts_.instPath = record.text; break;
    case IST_INFO_EXE_PATH: facts_.exePath = record.text; break;
    case IST_INFO_UNINST_EP: facts_.uninstEp = record.text; break;
    case IST_INFO_START_URL: facts_.startUrl = record.text; break;
    case IST_INFO_STARTUP_STYLE: facts_.startupStyle = ToInt(record.value); break;
    case IST_INFO_TOP_SHOW: facts_.topShowDetention = ToUnsigned32(record.value); break;
    case IST_INFO_FINISH_CLOSE: facts_.finishCloseDetention = ToUnsigned32(record.value); break;
    case IST_INFO_MESSAGE: ShowDialog(kMessageBox1, record.text, kMessageTitle); break;
    case UNIST_CODE_FAIL:
    case UNIST_CODE_ERROR: OnUninstallFailed(); break;
    default: break;
    }
}

std::string CMainWnd::ProgressFormat() const
{
    const std::string userFormat = progressLb_ != nullptr ? progressLb_->GetUserData() : "";
    if (!userFormat.empty()) return userFormat;
    const bool patient = downloadWatch_.ElapsedAt(services_.tickCount()) > kDownloadPatienceSeconds;
    return patient ? kPatientProgressFormat : kProgressFormat;
}

void CMainWnd::ShowPercent(double percent)
{
    const int value = TruncatePercent(percent);
    const std::optional<std::string> text = FormatPercent(ProgressFormat(), value);
    if (progressLb_ != nullptr) progressLb_->SetText(text ? *text : *FormatPercent(kProgressFormat, value));
    if (installPrg_ != nullptr) installPrg_->SetValue(value);
}

void CMainWnd::OnDownloadFailed()
{
    const int answer = ShowDialog(kNetworkTip);
    if (answer == kAnswerOk) RestartAsBefore();
    else if (answer == kAnswerCancel && existingInstallation_) Close(1);
    SelectPage(originPage_);
}

void CMainWnd::RestartAsBefore()
{
    if (originPage_ == kCustomPage) {
        StartInstall(GetInstallFolderFromEdit(), IsSelected(createDSCb_), IsSelected(createQSCb_));
    } else {
        StartInstall(ProposedFolder(), true, true);
    }
}

void CMainWnd::OnInstallFailed(const std::string& text)
{
    ShowDialog(kMessageBox2, text.empty() ? kInstallFailedText : text, kTipTitle);
    if (installPrg_ != nullptr && installPrg_->GetValue() >= kResetPercent) {
        if (progressLb_ != nullptr) progressLb_->SetText(kProgressStartText);
        installPrg_->SetValue(0);
    }
    SelectPage(kWelcomePage);
}

void CMainWnd::OnUninstallFailed()
{
    ShowDialog(kMessageBox1, kRunningText, kTipTitle);
    SelectPage(originPage_);
    if (existingInstallation_) Close(1);
}

void CMainWnd::OnInstallSucceeded()
{
    if (installPrg_ != nullptr) {
        installPrg_->SetValue(100);
        const std::string finished = "res\\mainWnd\\installPrg3.png";
        if (Platform::FileExists(SkinUI::CResourceSettings::GetResourcePath() + "res/mainWnd/installPrg3.png")) {
            installPrg_->SetForeImage(finished);
            installPrg_->Invalidate();
        }
    }
    if (softNameLbl_ != nullptr) {
        softNameLbl_->SetText(kProductName);
        softNameLbl_->SetVisible(true);
    }
    SelectPage(kFinishedPage);
    InstallRecords::WriteRegistryRecords(facts_.instPath, facts_.uninstEp);
    InstallRecords::WriteIniRecords(facts_.instPath);
    if (facts_.startupStyle == 1) OpenProduct();
    if (facts_.topShowDetention != 0) ArmRootTimer(kFrontTimer, facts_.topShowDetention);
    if (facts_.finishCloseDetention != 0) ArmRootTimer(kCloseTimer, facts_.finishCloseDetention);
}

void CMainWnd::ArmRootTimer(uint32_t timerId, uint32_t intervalMs)
{
    paintManager_.SetTimer(paintManager_.GetRoot(), timerId, std::min(intervalMs, kMaxTimerInterval));
}

void CMainWnd::OpenProduct()
{
    if (Platform::Utf8Length(facts_.startUrl) > kMinStartUrlChars) services_.shellOpen(facts_.startUrl, "");
    if (!Platform::FileExists(facts_.exePath)) return;
    PumpMessagesFor(GetHWND());
    services_.shellOpen(facts_.exePath, Platform::ParentFolder(facts_.exePath));
}

#pragma once

#include "app/LaunchSettings.h"
#include "install/CDownloadInstaller.h"
#include "install/InstallRecords.h"
#include "skinui/CSkinFrame.h"
#include "ui/MainWndServices.h"
#include "ui/ReportMailbox.h"
#include "utils/EventCallback.h"
#include "utils/Stopwatch.h"
#include "utils/Thread.h"

#include <cstdint>
#include <memory>
#include <string>

namespace SkinUI {
class CButtonUI;
class CCheckBoxUI;
class CEditUI;
class CLabelUI;
class CProgressUI;
class CTabLayoutUI;
}  // namespace SkinUI

// The installer's wizard window: welcome, custom options, progress and
// finished pages. It owns the download-and-install orchestration and turns
// its reports into page changes, progress and dialogs.
class CMainWnd : public SkinUI::CSkinFrame {
public:
    // Window message carrying a report (the first application message + 1000).
    static constexpr uint32_t WM_INSTALLER_REPORT = 0x0400 + 1000;
    // Window message carrying the network probe's result from its worker.
    static constexpr uint32_t WM_INSTALLER_CHECKNET = WM_INSTALLER_REPORT + 1;
    static constexpr uint32_t kFrontTimer = 10;
    static constexpr uint32_t kCloseTimer = 11;
    static constexpr const char* kProductName = "NuvaloPDF转换器";
    static constexpr const char* kProductExe = "nuvalo-pdfconvert.exe";
    static constexpr const char* kUninstallerCopyExe = "nuvaloPDFconverter_un_asa.exe";
    static constexpr const char* kWebSite = "https://www.nuvalopdf.com";

    enum Page { kWelcomePage = 0, kCustomPage = 1, kProgressPage = 2, kFinishedPage = 3 };

    // What the package told about the installation it made.
    struct InstallFacts {
        std::string instPath;
        std::string exePath;
        std::string uninstEp;
        std::string startUrl = std::string(kWebSite) + "/converter";
        int startupStyle = 0;
        uint32_t topShowDetention = 3000;
        uint32_t finishCloseDetention = 4294967295u;
    };

    // settings must outlive the window.
    explicit CMainWnd(LaunchSettings& settings = LaunchSettings::Instance(),
                      MainWndServices services = MainWndServices::Real());
    ~CMainWnd() override;

    // The native window: no owner, the product name as title; 0 when it cannot be made.
    Platform::WindowId Open();

    void InitWindow() override;
    void OnClick(SkinUI::TNotifyEvent& msg) override;
    void Notify(SkinUI::TNotifyEvent& msg) override;
    intptr_t HandleMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t HandleAppMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override;
    SkinUI::CControlUI* CreateControl(std::string_view className) override;
    void OnWindowGone() override;

    virtual intptr_t OnAppTimer(uintptr_t timerId, intptr_t lParam);
    virtual void OnReport(const ReportRecord& record);

    // The edit's folder, or the proposed folder exactly as proposed when the edit names it.
    std::string GetInstallFolderFromEdit() const;
    // True when the installation was handed on to the probe or the "install" notification.
    bool StartInstall(const std::string& folder, bool desktopShortcut, bool quickLaunchShortcut);
    void OpenProduct();
    // The orchestration's report receiver: any thread, returns at once.
    EventCallback ReportCallback() const;

    int CurrentPage() const;
    double InstallFraction() const { return installFraction_; }
    const InstallFacts& Facts() const { return facts_; }
    bool ExistingInstallation() const { return existingInstallation_; }

private:
    void FindControls();
    void FitProductNameLabels();
    void InitInstallFlow();
    void HandleExistingInstallation();
    void OnSelectChanged(SkinUI::CControlUI* sender);
    void OnTabSelect();
    void OnRootTimer(uintptr_t timerId);
    void OnCheckNet(uintptr_t result);
    void OnInstall(uintptr_t start);
    void OnCloseButton();
    void BrowseFolder();
    void SelectPage(int page);
    void SendToSelf(const char* type, uintptr_t wParam, bool async);

    bool RunningProductStops(const char* exeName);
    bool FolderCreationFails(const std::string& folder);
    bool FreeSpaceFails(const std::string& folder);
    void StartNetworkProbe();
    std::string ProposedFolder() const;
    void RestartAsBefore();

    void ShowPercent(double percent);
    std::string ProgressFormat() const;
    void OnDownloadFailed();
    void OnInstallFailed(const std::string& text);
    void OnUninstallFailed();
    void OnInstallSucceeded();
    void ArmRootTimer(uint32_t timerId, uint32_t intervalMs);
    int ShowDialog(const std::string& skinFile, std::optional<std::string_view> text = std::nullopt,
                   std::optional<std::string_view> caption = std::nullopt);

    LaunchSettings& settings_;
    MainWndServices services_;

    SkinUI::CTabLayoutUI* mainTab_ = nullptr;
    SkinUI::CTabLayoutUI* titleTab_ = nullptr;
    SkinUI::CControlUI* winCtn_ = nullptr;
    SkinUI::CControlUI* titleGroup_ = nullptr;
    SkinUI::CButtonUI* defaultInstallBtn_ = nullptr;
    SkinUI::CButtonUI* customBtn_ = nullptr;
    SkinUI::CCheckBoxUI* treatyCb_ = nullptr;
    SkinUI::CCheckBoxUI* treatyBtn_ = nullptr;
    SkinUI::CControlUI* tipLbl_ = nullptr;
    SkinUI::CCheckBoxUI* serviceCb_ = nullptr;
    SkinUI::CButtonUI* backBtn_ = nullptr;
    SkinUI::CEditUI* installDirEdit_ = nullptr;
    SkinUI::CButtonUI* chDirBtn_ = nullptr;
    SkinUI::CCheckBoxUI* createDSCb_ = nullptr;
    SkinUI::CCheckBoxUI* createQSCb_ = nullptr;
    SkinUI::CButtonUI* customInstallBtn_ = nullptr;
    SkinUI::CLabelUI* progressLb_ = nullptr;
    SkinUI::CProgressUI* installPrg_ = nullptr;
    SkinUI::CControlUI* finishedLbl_ = nullptr;
    SkinUI::CButtonUI* openProduceBtn_ = nullptr;
    SkinUI::CControlUI* progressAnLb_ = nullptr;
    SkinUI::CControlUI* installLogo_ = nullptr;
    SkinUI::CLabelUI* softNameLbl_ = nullptr;

    InstallRecords::OldInstallRecord oldInstall_;
    InstallRecords::RightsFlags rights_;
    bool existingInstallation_ = false;

    int originPage_ = kWelcomePage;
    InstallFacts facts_;
    Utils::Stopwatch downloadWatch_;
    double installFraction_ = 0.0;

    std::shared_ptr<ReportMailbox> mailbox_;
    std::unique_ptr<CDownloadInstaller> installer_;
    // Last: joined before anything it reads goes away.
    Utils::WorkerSlot netCheckThread_;
};

#include "install/CDownloadInstaller.h"

#include "download/CCurlDownloader.h"
#include "download/CDownloader.h"
#include "download/CMTCurlDownloader.h"
#include "download/WinHttpDownloader.h"
#include "install/CInstaller.h"
#include "install/CUninstaller.h"
#include "install/ReportCodes.h"
#include "platform/FileSystem.h"
#include "utils/DebugLog.h"
#include "utils/Directories.h"
#include "utils/FindProcessId.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

namespace {

constexpr const char* kProductProcessName = "nuvalo-pdfconvert.exe";
constexpr auto kProductPollInterval = std::chrono::milliseconds(100);

// lastPackagePath: one per process, touched only by the reactions that end a stage.
struct LastPackage {
    std::mutex mutex;
    std::string path;
};

LastPackage& TheLastPackage() {
    static LastPackage last;
    return last;
}

// The log names of the runners' reports; package facts (3xxx) are not logged.
const char* StageReportName(int32_t code) {
    switch (code) {
    case IST_CODE_START: return "IST_CODE_START";
    case IST_CODE_PROGRESS: return "IST_CODE_PROGRESS";
    case INSTALL_SUCCESS: return "INSTALL_SUCCESS";
    case IST_CODE_FAIL: return "IST_CODE_FAIL";
    case UNIST_CODE_PROGRESS: return "UNIST_CODE_PROGRESS";
    case UNIST_CODE_SUCCESS: return "UNIST_CODE_SUCCESS";
    case UNIST_CODE_FAIL: return "UNIST_CODE_FAIL";
    case UNIST_CODE_ERROR: return "UNIST_CODE_ERROR";
    default: return nullptr;
    }
}

}  // namespace

// Marks one reaction as running; while the orchestration closes, a reaction
// still forwards and cleans up but starts no further stage.
class CDownloadInstaller::ReactionScope {
public:
    explicit ReactionScope(CDownloadInstaller& owner) : owner_(owner) {
        const std::lock_guard lock(owner_.stageMutex_);
        ++owner_.activeReactions_;
        mayStartStage_ = !owner_.closing_;
    }
    ~ReactionScope() {
        const std::lock_guard lock(owner_.stageMutex_);
        if (--owner_.activeReactions_ == 0) owner_.reactionsDone_.notify_all();
    }
    ReactionScope(const ReactionScope&) = delete;
    ReactionScope& operator=(const ReactionScope&) = delete;

    bool MayStartStage() const { return mayStartStage_; }

private:
    CDownloadInstaller& owner_;
    bool mayStartStage_ = false;
};

CDownloadInstaller::CDownloadInstaller(EventCallback uiCallback, Parameters parameters,
                                       const LaunchSettings& settings)
    : uiCallback_(std::move(uiCallback)), parameters_(std::move(parameters)), settings_(settings) {}

CDownloadInstaller::~CDownloadInstaller() {
    {
        const std::lock_guard lock(stageMutex_);
        closing_ = true;
    }
    WaitForReactions();
    retryWorker_.Wait();
    downloader_.reset();
    installer_.reset();
    uninstaller_.reset();
}

void CDownloadInstaller::SetParameters(Parameters parameters) {
    WaitForReactions();
    parameters_ = std::move(parameters);
}

void CDownloadInstaller::WaitForReactions() {
    std::unique_lock lock(stageMutex_);
    reactionsDone_.wait(lock, [this] { return activeReactions_ == 0; });
}

std::string CDownloadInstaller::LastPackagePath() {
    LastPackage& last = TheLastPackage();
    const std::lock_guard lock(last.mutex);
    return last.path;
}

std::string CDownloadInstaller::PackagePathFor(const std::string& installFolder) {
    return installFolder + "/__Package_" + "nuvaloPDFconverter" + ".exe";
}

std::string CDownloadInstaller::UninstallerCopyPath() {
    const std::string workFolder = Utils::GetTempWorkFolder();
    return workFolder.empty() ? "" : workFolder + "nuvaloPDFconverter_un_asa.exe";
}

void CDownloadInstaller::Start() {
    WaitForReactions();
    packagePath_ = PackagePathFor(parameters_.installFolder);
    DEBUG_LOG("DL_TYPE=%d\r\n", settings_.DownloadType);
    if (!downloader_) downloader_ = CreateDownloader();
    PrepareInstaller();
    if (!PrepareUninstaller()) {
        downloader_->Start();
        return;
    }
    if (settings_.InsNew) WaitWhileProductRuns();
    uninstaller_->Start();
}

std::unique_ptr<CDownloader> CDownloadInstaller::CreateDownloader() {
    EventCallback react = [this](int32_t code, double value, const std::string& text) {
        OnDownloadReport(code, value, text);
    };
    switch (settings_.DownloadType) {
    case 2:
        return std::make_unique<WinHttpDownloader>(std::move(react), parameters_.downloadUrl, packagePath_);
    case 3:
        return std::make_unique<CMTCurlDownloader>(std::move(react), parameters_.downloadUrl, packagePath_);
    default:
        return std::make_unique<CCurlDownloader>(std::move(react), parameters_.downloadUrl, packagePath_);
    }
}

void CDownloadInstaller::PrepareInstaller() {
    if (!installer_) {
        installer_ = std::make_unique<CInstaller>(
            [this](int32_t code, double value, const std::string& text) { OnInstallReport(code, value, text); },
            "\"" + packagePath_ + "\"", parameters_.installFolder);
    }
    installer_->SetInstallFolder(parameters_.installFolder);
    installer_->SetDesktopShortcut(parameters_.desktopShortcut);
    installer_->SetQuickLaunchShortcut(parameters_.quickLaunchShortcut);
    installer_->SetAdminAct(parameters_.adminAct);
    installer_->SetAuthorizationAct(parameters_.authorizationAct);
    installer_->SetLanguage(parameters_.language);
    installer_->SetInstCmd(settings_.InstCmd);
}

bool CDownloadInstaller::PrepareUninstaller() {
    const std::string& original = parameters_.oldUninstallerPath;
    if (!Platform::FileExists(original)) return false;
    // A stale copy from an earlier run must not stand in for one that failed.
    const std::string copy = UninstallerCopyPath();
    std::error_code error;
    if (!copy.empty()) {
        std::filesystem::remove(copy, error);
        std::filesystem::copy_file(original, copy, std::filesystem::copy_options::overwrite_existing, error);
        if (error) DEBUG_LOG("cannot copy %s: %s", original.c_str(), error.message().c_str());
    }
    uninstaller_ = std::make_unique<CUninstaller>(
        [this](int32_t code, double value, const std::string& text) { OnUninstallReport(code, value, text); },
        copy, Platform::ParentFolder(original));
    return true;
}

void CDownloadInstaller::WaitWhileProductRuns() const {
    while (Utils::FindProcessId(kProductProcessName) != 0) std::this_thread::sleep_for(kProductPollInterval);
}

void CDownloadInstaller::OnDownloadReport(int32_t code, double value, const std::string& text) {
    const ReactionScope scope(*this);
    uiCallback_(code, value, text);
    switch (code) {
    case DL_CODE_START:
        Utils::CreateDirectories(parameters_.installFolder);
        DEBUG_LOG("DL_CODE_START\r\n");
        break;
    case DL_CODE_PROGRESS:
        DEBUG_LOG("DL_CODE_PROGRESS\r\n");
        break;
    case DL_CODE_SUCCESS:
        DEBUG_LOG("DOWNLOAD_SUCCESS\r\n");
        if (scope.MayStartStage()) installer_->Start();
        DEBUG_LOG("DL_CODE_SUCCESS\r\n");
        break;
    case DL_CODE_FAIL:
        RemovePackageFiles();
        DEBUG_LOG("DL_CODE_FAIL\r\n");
        break;
    case DL_CODE_RETRY:
        DEBUG_LOG("DL_CODE_RETRY\r\n");
        if (scope.MayStartStage()) RestartDownloadElsewhere();
        break;
    default:
        break;
    }
}

void CDownloadInstaller::RestartDownloadElsewhere() {
    retryWorker_.Restart(this, "DLRetry", [](void* self) {
        static_cast<CDownloadInstaller*>(self)->downloader_->Start();
        return 0u;
    });
}

void CDownloadInstaller::OnUninstallReport(int32_t code, double value, const std::string& text) {
    const ReactionScope scope(*this);
    uiCallback_(code, value, text);
    if (const char* name = StageReportName(code)) DEBUG_LOG("%s\r\n", name);
    // 5004 and 5005 end the installation here.
    if (code == UNIST_CODE_SUCCESS && scope.MayStartStage()) downloader_->Start();
}

void CDownloadInstaller::OnInstallReport(int32_t code, double value, const std::string& text) {
    const ReactionScope scope(*this);
    uiCallback_(code, value, text);
    if (code == INSTALL_SUCCESS || code == IST_CODE_FAIL) RemovePackageFiles();
    if (const char* name = StageReportName(code)) DEBUG_LOG("%s\r\n", name);
}

void CDownloadInstaller::RemovePackageFiles() const {
    LastPackage& last = TheLastPackage();
    const std::lock_guard lock(last.mutex);
    std::remove(packagePath_.c_str());
    if (!last.path.empty()) std::remove(last.path.c_str());
    last.path = packagePath_;
}

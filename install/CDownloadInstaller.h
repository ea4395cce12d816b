#pragma once

#include "app/LaunchSettings.h"
#include "utils/EventCallback.h"
#include "utils/Thread.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>

class CDownloader;
class CInstaller;
class CUninstaller;

// Turns one "install" into the whole sequence: [old uninstaller →] download →
// package run → removal of the package. Every report of every stage goes to
// the UI callback first and is then acted upon here to start the next stage.
class CDownloadInstaller {
public:
    struct Parameters {
        std::string downloadUrl;
        // "" or a missing file: nothing to uninstall first.
        std::string oldUninstallerPath;
        std::string installFolder;
        bool desktopShortcut = true;
        bool quickLaunchShortcut = true;
        bool adminAct = true;
        bool authorizationAct = false;
        // "-inslang"; "" leaves it out.
        std::string language;
    };

    // settings gives DownloadType and "-insnew"; it must outlive the orchestration.
    CDownloadInstaller(EventCallback uiCallback, Parameters parameters,
                       const LaunchSettings& settings = LaunchSettings::Instance());
    // Lets no reaction start another stage, then releases the downloader, the
    // installer and the uninstaller runners, each waiting for its threads.
    ~CDownloadInstaller();
    CDownloadInstaller(const CDownloadInstaller&) = delete;
    CDownloadInstaller& operator=(const CDownloadInstaller&) = delete;

    // Both wait until the reactions to the reports already made have run, so
    // that the last stage's cleanup still sees the parameters it ran with.
    void SetParameters(Parameters parameters);
    // Starts the first stage and returns; with "-insnew" it first waits,
    // without a time limit, until the product is no longer running.
    void Start();

    // The package path of the latest attempt that ended, across orchestrations.
    static std::string LastPackagePath();
    // installFolder + "/__Package_nuvaloPDFconverter.exe", joined as plain text.
    static std::string PackagePathFor(const std::string& installFolder);
    // Where the old uninstaller is copied before it runs; "" without a temporary work folder.
    static std::string UninstallerCopyPath();

private:
    class ReactionScope;

    void OnDownloadReport(int32_t code, double value, const std::string& text);
    void OnUninstallReport(int32_t code, double value, const std::string& text);
    void OnInstallReport(int32_t code, double value, const std::string& text);

    std::unique_ptr<CDownloader> CreateDownloader();
    void PrepareInstaller();
    bool PrepareUninstaller();
    // A retry arrives on the very worker the downloader's restart waits for,
    // so the restart runs on a thread of its own.
    void RestartDownloadElsewhere();
    void RemovePackageFiles() const;
    void WaitWhileProductRuns() const;
    void WaitForReactions();

    EventCallback uiCallback_;
    Parameters parameters_;
    const LaunchSettings& settings_;
    std::string packagePath_;

    std::unique_ptr<CUninstaller> uninstaller_;
    std::unique_ptr<CInstaller> installer_;
    std::unique_ptr<CDownloader> downloader_;

    std::mutex stageMutex_;
    std::condition_variable reactionsDone_;
    int activeReactions_ = 0;
    bool closing_ = false;
    Utils::WorkerSlot retryWorker_;
};

#include "install/CDownloadInstaller.h"

#include "platform/FileSystem.h"
#include "tests/orchestration/ReportRecorder.h"
#include "tests/records/TempUserFolders.h"
#include "tools/packageserver/PackageServer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>

namespace {

using ::testing::ElementsAreArray;

constexpr std::size_t kPackageBytes = 3u << 19;  // the downloaders refuse anything below 1 MiB

// Codes that start or end a stage; progress and package facts are left out
// so that report orders can be compared exactly.
std::vector<int32_t> StageCodes(const std::vector<int32_t>& codes) {
    static const std::vector<int32_t> stage = {1001, 1003, 1004, 1005, 1006, 2001, 2003, 2004, 5003, 5004, 5005};
    std::vector<int32_t> result;
    for (int32_t code : codes)
        if (std::find(stage.begin(), stage.end(), code) != stage.end()) result.push_back(code);
    return result;
}

bool Contains(const std::vector<int32_t>& codes, int32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

class OrchestrationFixture : public ::testing::Test {
protected:
    void SetUp() override {
        folders.Set("DEMO_STEP_MS", "5");
        folders.Set("DEMO_UNINSTALLER_FAULT", "");
        folders.Set("DEMO_PACKAGE_FAULT", "");
        StartServer("");
    }

    // The demo package, padded with zeros (which it never reads) to a size the downloaders accept.
    std::string PaddedPackage() const {
        const std::string copy = folders.Path("served/nuvaloPDFconverter.exe");
        std::filesystem::create_directories(Platform::ParentFolder(copy));
        std::string image;
        EXPECT_TRUE(Platform::ReadWholeFile(DEMO_PACKAGE_PATH, image));
        if (image.size() < kPackageBytes) image.resize(kPackageBytes, '\0');
        EXPECT_TRUE(Platform::WriteFileAtomically(copy, image));
        return copy;
    }

    void StartServer(const std::string& md5) {
        server.reset();
        PackageServer::Options options;
        options.packagePath = PaddedPackage();
        options.md5 = md5;
        server = std::make_unique<PackageServer>(options);
        std::string error;
        ASSERT_TRUE(server->Start(&error)) << error;
    }

    std::string Url(const std::string& route = "/software/359") const { return server->BaseUrl() + route; }

    CDownloadInstaller::Parameters ParametersFor(const std::string& folder, const std::string& oldUninstaller = "") {
        CDownloadInstaller::Parameters p;
        p.downloadUrl = Url();
        p.oldUninstallerPath = oldUninstaller;
        p.installFolder = folder;
        p.language = "zh-CN";
        return p;
    }

    // An old installation whose uninstaller is the demo program, told to report State=Fail.
    std::string FailingOldUninstaller() {
        const std::string oldFolder = folders.Path("old");
        std::filesystem::create_directories(oldFolder);
        std::filesystem::copy_file(DEMO_PACKAGE_PATH, oldFolder + "/uninst.ep");
        folders.Set("DEMO_UNINSTALLER_FAULT", "fail");
        return oldFolder + "/uninst.ep";
    }

    // One whole installation into folder, through its own orchestration.
    void InstallInto(const std::string& folder) {
        ReportRecorder recorder;
        {
            CDownloadInstaller installer(recorder.Callback(), ParametersFor(folder), settings);
            installer.Start();
            ASSERT_TRUE(recorder.WaitForAny({2003, 2004, 1004, 5004, 5005}));
        }
        ASSERT_EQ(StageCodes(recorder.Codes()), (std::vector<int32_t>{1001, 1003, 2001, 2003}));
    }

    static void ExpectInstalled(const std::string& folder) {
        EXPECT_TRUE(Platform::FileExists(folder + "/nuvalo-pdfconvert.exe"));
        EXPECT_TRUE(Platform::FileExists(folder + "/uninst.ep"));
        EXPECT_TRUE(Platform::FileExists(folder + "/config.ini"));
    }

    TempUserFolders folders;
    LaunchSettings settings{"10"};
    std::unique_ptr<PackageServer> server;
};

class OrchestrationTest : public OrchestrationFixture, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        settings.DownloadType = GetParam();
        OrchestrationFixture::SetUp();
    }
};

TEST_P(OrchestrationTest, FreshInstallRunsEveryStageAndRemovesThePackage) {
    const std::string folder = folders.Path("opt/Nuvalo 转换器/app");
    const std::string package = CDownloadInstaller::PackagePathFor(folder);
    bool folderAtSuccess = false;
    ReportRecorder recorder([&](const ReportRecorder::Report& r) {
        if (r.code == 1003) folderAtSuccess = Platform::DirectoryExists(folder) && Platform::FileExists(package);
    });
    ASSERT_FALSE(Platform::DirectoryExists(folder));
    {
        CDownloadInstaller installer(recorder.Callback(), ParametersFor(folder), settings);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({2003, 2004, 1004}));
    }
    const auto codes = recorder.Codes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), 1001);
    EXPECT_EQ(codes.back(), 2003);
    EXPECT_THAT(StageCodes(codes), ElementsAreArray({1001, 1003, 2001, 2003}));
    EXPECT_TRUE(Contains(codes, 3000));
    EXPECT_TRUE(folderAtSuccess);
    ExpectInstalled(folder);
    EXPECT_FALSE(Platform::FileExists(package));
    EXPECT_EQ(CDownloadInstaller::LastPackagePath(), package);
}

TEST_P(OrchestrationTest, OldInstallationIsUninstalledBeforeTheDownload) {
    const std::string oldFolder = folders.Path("old install");
    ASSERT_NO_FATAL_FAILURE(InstallInto(oldFolder));
    const std::string newFolder = folders.Path("new 新");
    ReportRecorder recorder;
    {
        CDownloadInstaller installer(recorder.Callback(), ParametersFor(newFolder, oldFolder + "/uninst.ep"),
                                     settings);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({2003, 2004, 1004, 5004, 5005}));
    }
    const auto reports = recorder.Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().code, 5002);
    EXPECT_EQ(reports.front().value, 0.0);
    EXPECT_THAT(StageCodes(recorder.Codes()), ElementsAreArray({5003, 1001, 1003, 2001, 2003}));
    EXPECT_TRUE(Platform::FileExists(CDownloadInstaller::UninstallerCopyPath()));
    EXPECT_FALSE(Platform::FileExists(oldFolder + "/nuvalo-pdfconvert.exe"));
    ExpectInstalled(newFolder);
}

TEST_P(OrchestrationTest, FailingUninstallerStopsTheSequence) {
    ReportRecorder recorder;
    {
        CDownloadInstaller installer(recorder.Callback(), ParametersFor(folders.Path("new"), FailingOldUninstaller()),
                                     settings);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({5003, 5004, 5005}));
    }
    const auto codes = recorder.Codes();
    EXPECT_EQ(codes.front(), 5002);
    EXPECT_EQ(codes.back(), 5005);
    EXPECT_THAT(StageCodes(codes), ElementsAreArray({5005}));
    EXPECT_FALSE(Platform::DirectoryExists(folders.Path("new")));
}

TEST_P(OrchestrationTest, VanishedUninstallerStartsTheDownloadAtOnce) {
    const std::string folder = folders.Path("app");
    ReportRecorder recorder;
    {
        CDownloadInstaller installer(recorder.Callback(), ParametersFor(folder, folders.Path("gone/uninst.ep")),
                                     settings);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({2003, 2004, 1004, 5004, 5005}));
    }
    EXPECT_EQ(recorder.Codes().front(), 1001);
    EXPECT_THAT(StageCodes(recorder.Codes()), ElementsAreArray({1001, 1003, 2001, 2003}));
    ExpectInstalled(folder);
}

TEST_P(OrchestrationTest, DownloadFailureRemovesThePackageFiles) {
    PackageServer::Faults faults;
    faults.failStatus = 404;
    server->SetFaults(faults);
    const auto failIn = [&](const std::string& folder) {
        std::filesystem::create_directories(folder);
        // A package left behind by an earlier run in the same folder.
        ASSERT_TRUE(Platform::WriteFileAtomically(CDownloadInstaller::PackagePathFor(folder), "stale"));
        ReportRecorder recorder;
        {
            CDownloadInstaller installer(recorder.Callback(), ParametersFor(folder), settings);
            installer.Start();
            ASSERT_TRUE(recorder.WaitForAny({1003, 1004}));
        }
        const auto codes = recorder.Codes();
        EXPECT_EQ(codes.front(), 1001);
        EXPECT_EQ(codes.back(), 1004);
        EXPECT_FALSE(Contains(codes, 1003));
        EXPECT_FALSE(Platform::FileExists(CDownloadInstaller::PackagePathFor(folder)));
        EXPECT_EQ(CDownloadInstaller::LastPackagePath(), CDownloadInstaller::PackagePathFor(folder));
    };
    const std::string first = folders.Path("first");
    ASSERT_NO_FATAL_FAILURE(failIn(first));
    // The previous attempt's package is removed with the next one's.
    ASSERT_TRUE(Platform::WriteFileAtomically(CDownloadInstaller::PackagePathFor(first), "left over"));
    ASSERT_NO_FATAL_FAILURE(failIn(folders.Path("second")));
    EXPECT_FALSE(Platform::FileExists(CDownloadInstaller::PackagePathFor(first)));
}

TEST_P(OrchestrationTest, SecondStartReusesTheFirstDownloaderAddressAndPath) {
    PackageServer::Faults faults;
    faults.failStatus = 500;
    server->SetFaults(faults);
    const std::string first = folders.Path("first");
    const std::string second = folders.Path("second");
    ReportRecorder recorder;
    {
        CDownloadInstaller installer(recorder.Callback(), ParametersFor(first), settings);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({1003, 1004}));
        ASSERT_EQ(recorder.Codes().back(), 1004);

        server->SetFaults({});
        server->ClearRequests();
        auto changed = ParametersFor(second);
        changed.downloadUrl = Url("/download_silent");
        installer.SetParameters(changed);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({2003, 2004}));
    }
    for (const auto& request : server->Requests()) EXPECT_NE(request.path, "/download_silent");
    EXPECT_THAT(StageCodes(recorder.Codes()), ElementsAreArray({1001, 1004, 1001, 1003, 2001, 2003}));
    // The package went to the first folder, the product into the second.
    ExpectInstalled(second);
    EXPECT_FALSE(Platform::FileExists(CDownloadInstaller::PackagePathFor(first)));
}

INSTANTIATE_TEST_SUITE_P(EveryDownloadType, OrchestrationTest, ::testing::Values(1, 2, 3),
                         [](const auto& info) { return "DownloadType" + std::to_string(info.param); });

// A package whose MD5 never matches the one its final URL carries.
class RetryTest : public OrchestrationTest {};

TEST_P(RetryTest, Md5MismatchRetriesOnceThenFails) {
    StartServer("0123456789abcdef0123456789abcdef");
    const std::string folder = folders.Path("app");
    ReportRecorder recorder;
    {
        CDownloadInstaller installer(recorder.Callback(), ParametersFor(folder), settings);
        installer.Start();
        ASSERT_TRUE(recorder.WaitForAny({1003, 1004}));
    }
    EXPECT_THAT(StageCodes(recorder.Codes()), ElementsAreArray({1001, 1006, 1005, 1001, 1006, 1004}));
    EXPECT_FALSE(Platform::FileExists(CDownloadInstaller::PackagePathFor(folder)));
}

INSTANTIATE_TEST_SUITE_P(CurlDownloaders, RetryTest, ::testing::Values(1, 3),
                         [](const auto& info) { return "DownloadType" + std::to_string(info.param); });

// Runs a copy of a harmless program under the product's process name.
class FakeProduct {
public:
    FakeProduct(const std::string& folder, const char* seconds) {
        const std::string path = folder + "/nuvalo-pdfconvert.exe";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file("/bin/sleep", path, std::filesystem::copy_options::overwrite_existing);
        char* const argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(seconds), nullptr};
        if (::posix_spawn(&pid_, path.c_str(), nullptr, nullptr, argv, environ) != 0) pid_ = 0;
    }
    ~FakeProduct() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    FakeProduct(const FakeProduct&) = delete;
    FakeProduct& operator=(const FakeProduct&) = delete;

    bool Started() const { return pid_ > 0; }
    // Not reaped: an ended product stays a zombie, which no longer counts as running.
    bool HasEnded() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid_;
    }

private:
    pid_t pid_ = 0;
};

class InsNewTest : public OrchestrationFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(InsNewTest, StartWaitsForTheProductOnlyWithTheOption) {
    const bool insNew = GetParam();
    settings.InsNew = insNew;
    const std::string oldUninstaller = FailingOldUninstaller();
    FakeProduct product(folders.Path("product"), insNew ? "1" : "30");
    ASSERT_TRUE(product.Started());
    ReportRecorder recorder;
    CDownloadInstaller installer(recorder.Callback(), ParametersFor(folders.Path("new"), oldUninstaller), settings);
    installer.Start();
    EXPECT_EQ(product.HasEnded(), insNew);
    ASSERT_TRUE(recorder.WaitForAny({5003, 5004, 5005}));
}

INSTANTIATE_TEST_SUITE_P(WithAndWithout, InsNewTest, ::testing::Bool(),
                         [](const auto& info) { return std::string(info.param ? "InsNew" : "Plain"); });

class UninstallerCopyTest : public OrchestrationFixture {};

// Without a fresh copy the runner must find nothing to run, even where an
// earlier run left a copy behind that would still work.
TEST_F(UninstallerCopyTest, NoCopyMeansTheUninstallerIsMissing) {
    struct Case {
        const char* what;
        bool originalIsFolder;
        bool temporaryFolderIsFile;
    };
    const std::vector<Case> cases = {
        {"copy fails", true, false},
        {"no temporary work folder", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string stale = CDownloadInstaller::UninstallerCopyPath();
        ASSERT_FALSE(stale.empty());
        std::filesystem::copy_file(DEMO_PACKAGE_PATH, stale, std::filesystem::copy_options::overwrite_existing);
        // A folder passes for an existing file but cannot be copied.
        const std::string original = folders.Path(c.originalIsFolder ? "folder-old/uninst.ep" : "old/uninst.ep");
        std::filesystem::create_directories(c.originalIsFolder ? original : Platform::ParentFolder(original));
        if (!c.originalIsFolder) {
            std::filesystem::copy_file(DEMO_PACKAGE_PATH, original, std::filesystem::copy_options::overwrite_existing);
        }
        const std::string tmp = folders.Path("tmp-file");
        if (c.temporaryFolderIsFile) {
            ASSERT_TRUE(Platform::WriteFileAtomically(tmp, "not a folder"));
            folders.Set("TMPDIR", tmp);
        }
        ReportRecorder recorder;
        {
            CDownloadInstaller installer(recorder.Callback(), ParametersFor(folders.Path("new"), original), settings);
            installer.Start();
            ASSERT_TRUE(recorder.WaitForAny({5003, 5004, 5005}));
        }
        const auto reports = recorder.Reports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_EQ(reports[0].code, 5004);
        EXPECT_EQ(reports[0].value, 1.0);
        EXPECT_EQ(reports[0].text, "可执行卸载文件不存在");
        folders.Set("TMPDIR", folders.Path("tmp"));
    }
}

}  // namespace

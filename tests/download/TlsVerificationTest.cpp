#include "download/CMTCurlDownloader.h"
#include "download/CurlClient.h"
#include "download/WinHttpClient.h"

#include "DownloadFixture.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace {

using namespace DownloadTest;

// Makes a self-signed certificate with the openssl tool; true when it worked.
bool MakeSelfSignedCertificate(const std::string& certificate, const std::string& key) {
    std::vector<std::string> arguments = {"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                                          key, "-out", certificate, "-days", "1", "-subj", "/CN=127.0.0.1"};
    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const bool spawned = posix_spawnp(&pid, "openssl", &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// An HTTPS server whose certificate no system CA vouches for.
class UntrustedServer {
public:
    explicit UntrustedServer(const TempFolder& folder)
        : ready_(MakeSelfSignedCertificate(folder / "cert.pem", folder / "key.pem")),
          server_((folder / "cert.pem").c_str(), (folder / "key.pem").c_str()) {
        server_.Get(R"(/.*)", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(std::string(2 << 20, 'x'), "application/octet-stream");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~UntrustedServer() {
        server_.stop();
        thread_.join();
    }
    bool Ready() const { return ready_ && server_.is_valid() && port_ > 0; }
    std::string Url() const {
        return "https://127.0.0.1:" + std::to_string(port_) + "/0123456789abcdef0123456789abcdef/pkg.exe";
    }

private:
    bool ready_;
    httplib::SSLServer server_;
    int port_ = 0;
    std::thread thread_;
};

TEST(TlsVerification, UntrustedCertificatesFailLikeAnyTransferFailure) {
    TempFolder folder;
    UntrustedServer server(folder);
    if (!server.Ready()) GTEST_SKIP() << "no certificate could be made";

    CurlClient client(server.Url(), folder / "a.exe", nullptr, nullptr);
    EXPECT_EQ(client.Start(), CurlClient::kTooShort) << "the probes fail on the certificate";
    EXPECT_EQ(FileSizeOf(folder / "a.exe"), -1);

    EventRecorder events;
    {
        CMTCurlDownloader downloader(events.Callback(), server.Url(), folder / "b.exe");
        downloader.Start();
        EXPECT_TRUE(events.WaitForEnd());
    }
    EXPECT_EQ(events.Codes(), (std::vector<int32_t>{DL_CODE_START, DL_CODE_FAIL}));
    EXPECT_EQ(FileSizeOf(folder / "b.exe"), -1);

    WinHttpClient http(server.Url());
    EXPECT_FALSE(http.SendHttpRequest("GET"));
    EXPECT_EQ(http.GetLastError(), static_cast<uint32_t>(CURLE_PEER_FAILED_VERIFICATION));
}

}  // namespace

#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Serves one package file over HTTP/1.1 on 127.0.0.1: HEAD, byte ranges and
// resumed requests, route paths that redirect to a final URL ending in
// /<md5>/<name>, and faults injected on purpose for tests.
class PackageServer {
public:
    struct Faults {
        int64_t dropAfterBytes = 0;     // a body is cut off after this many bytes (0: never)
        int dropCount = -1;             // bodies to cut off; -1: every one
        int64_t stallAfterBytes = -1;   // a body pauses after this many bytes (-1: never)
        int stallMilliseconds = 0;
        int stallCount = 1;             // pauses left; -1: every body
        bool ignoreRange = false;       // answer ranged requests with the whole body
        int64_t announcedLength = -1;   // Content-Length told to HEAD (-1: the true one)
        int failStatus = 0;             // answer requests with this status (0: never)
        int failCount = -1;             // requests to fail; -1: every one
        int64_t bytesPerSecond = 0;     // cap per connection (0: none)
    };

    struct Options {
        std::string packagePath;
        std::string packageName = "nuvaloPDFconverter.exe";
        std::vector<std::string> routes = {"/download_silent", "/download_silent_xp", "/software/359"};
        std::string redirectPath;       // where routes lead; "" = "/<md5>/<packageName>"
        std::string md5;                // "" = computed from the package
        uint16_t port = 0;              // 0 = a free port
        Faults faults;
    };

    struct Request {
        std::string method;
        std::string path;
        std::string range;              // the Range header's value, "" without one
    };

    explicit PackageServer(Options options);
    ~PackageServer();
    PackageServer(const PackageServer&) = delete;
    PackageServer& operator=(const PackageServer&) = delete;

    // Binds 127.0.0.1 and starts serving; false (with a reason) when it cannot.
    bool Start(std::string* error = nullptr);
    // Closes every connection and joins every thread; idempotent.
    void Stop();

    uint16_t Port() const { return port_; }
    std::string BaseUrl() const;
    // The final URL the routes redirect to.
    std::string FinalUrl() const;
    const std::string& Md5() const { return options_.md5; }

    void SetFaults(const Faults& faults);
    void SetRedirectPath(const std::string& path);
    // Cuts every open connection, as a network failure would.
    void DropConnections();
    std::vector<Request> Requests() const;
    void ClearRequests();

private:
    struct Connection {
        int fd = -1;
        std::thread thread;
        std::atomic<bool> done{false};
    };
    struct Range {
        int64_t first = 0;
        int64_t last = 0;
        bool partial = false;
    };

    void AcceptLoop();
    void ReapFinished();
    void Serve(Connection& connection);
    bool HandleRequest(int fd, const std::string& head);
    bool SendPackage(int fd, const std::string& method, const std::string& rangeHeader);
    bool SendBody(int fd, int64_t offset, int64_t length, const Faults& faults);
    bool SendRedirect(int fd);
    bool TakeInjectedFailure(int& status);
    bool TakeFault(int& counter);
    void PauseFor(int milliseconds);
    void Record(const Request& request);

    Options options_;
    int64_t packageSize_ = 0;
    int packageFd_ = -1;
    int listenFd_ = -1;
    int wakeFd_ = -1;
    uint16_t port_ = 0;
    std::thread acceptThread_;
    std::atomic<bool> stopping_{false};

    mutable std::mutex mutex_;
    std::condition_variable stopSignal_;
    Faults faults_;
    std::vector<Request> requests_;
    std::list<Connection> connections_;
};

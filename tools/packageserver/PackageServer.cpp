#include "tools/packageserver/PackageServer.h"

#include "utils/FileMd5.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstring>

namespace {

constexpr std::size_t kMaxHeadBytes = 16 * 1024;
constexpr int64_t kSendChunk = 1 << 20;
constexpr int kPacingSlicesPerSecond = 20;

std::string StatusText(int status) {
    switch (status) {
        case 200: return "OK";
        case 206: return "Partial Content";
        case 302: return "Found";
        case 404: return "Not Found";
        case 405: return "Method Not Allowed";
        case 416: return "Range Not Satisfiable";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

bool SendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::string HeaderValue(const std::string& head, const std::string& name) {
    std::size_t lineStart = head.find("\r\n");
    while (lineStart != std::string::npos) {
        lineStart += 2;
        const std::size_t lineEnd = head.find("\r\n", lineStart);
        const std::string line = head.substr(lineStart, lineEnd - lineStart);
        const std::size_t colon = line.find(':');
        if (colon == name.size() && strncasecmp(line.c_str(), name.c_str(), colon) == 0) {
            const std::size_t value = line.find_first_not_of(" \t", colon + 1);
            return value == std::string::npos ? "" : line.substr(value);
        }
        lineStart = lineEnd;
    }
    return "";
}

bool ParseInt64(std::string_view text, int64_t& value) {
    if (text.empty()) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size() && value >= 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Response(int status, const std::string& extraHeaders, int64_t contentLength) {
    return "HTTP/1.1 " + std::to_string(status) + " " + StatusText(status) +
           "\r\nServer: package-server\r\nContent-Length: " + std::to_string(contentLength) + "\r\n" + extraHeaders +
           "\r\n";
}

}  // namespace

PackageServer::PackageServer(Options options) : options_(std::move(options)), faults_(options_.faults) {}

PackageServer::~PackageServer() {
    Stop();
}

bool PackageServer::Start(std::string* error) {
    auto fail = [&](const std::string& reason) {
        if (error) *error = reason + ": " + std::strerror(errno);
        Stop();
        return false;
    };
    packageFd_ = ::open(options_.packagePath.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (packageFd_ < 0 || ::fstat(packageFd_, &info) != 0 || !S_ISREG(info.st_mode))
        return fail("cannot read package " + options_.packagePath);
    packageSize_ = info.st_size;
    if (options_.md5.empty()) options_.md5 = Utils::FileMd5(options_.packagePath);
    if (options_.redirectPath.empty()) options_.redirectPath = "/" + options_.md5 + "/" + options_.packageName;

    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) return fail("socket");
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(options_.port);
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return fail("bind");
    if (::listen(listenFd_, 64) != 0) return fail("listen");
    socklen_t length = sizeof address;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    wakeFd_ = ::eventfd(0, EFD_CLOEXEC);
    if (wakeFd_ < 0) return fail("eventfd");
    acceptThread_ = std::thread(&PackageServer::AcceptLoop, this);
    return true;
}

void PackageServer::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        stopSignal_.notify_all();
    }
    if (wakeFd_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
    if (acceptThread_.joinable()) acceptThread_.join();
    {
        std::lock_guard lock(mutex_);
        for (auto& connection : connections_) ::shutdown(connection.fd, SHUT_RDWR);
    }
    for (auto& connection : connections_) {
        if (connection.thread.joinable()) connection.thread.join();
        ::close(connection.fd);
    }
    connections_.clear();
    for (int* fd : {&listenFd_, &wakeFd_, &packageFd_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

std::string PackageServer::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

std::string PackageServer::FinalUrl() const {
    std::lock_guard lock(mutex_);
    return BaseUrl() + options_.redirectPath;
}

void PackageServer::SetRedirectPath(const std::string& path) {
    std::lock_guard lock(mutex_);
    options_.redirectPath = path;
}

void PackageServer::SetFaults(const Faults& faults) {
    std::lock_guard lock(mutex_);
    faults_ = faults;
}

void PackageServer::DropConnections() {
    std::lock_guard lock(mutex_);
    for (auto& connection : connections_)
        if (!connection.done) ::shutdown(connection.fd, SHUT_RDWR);
}

std::vector<PackageServer::Request> PackageServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void PackageServer::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void PackageServer::AcceptLoop() {
    pollfd watched[2] = {{listenFd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
    while (!stopping_) {
        if (::poll(watched, 2, 1000) < 0 && errno != EINTR) break;
        ReapFinished();
        if (stopping_ || !(watched[0].revents & POLLIN)) continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        const int yes = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        std::lock_guard lock(mutex_);
        Connection& connection = connections_.emplace_back();
        connection.fd = fd;
        connection.thread = std::thread(&PackageServer::Serve, this, std::ref(connection));
    }
}

void PackageServer::ReapFinished() {
    std::lock_guard lock(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
        if (!it->done) {
            ++it;
            continue;
        }
        it->thread.join();
        ::close(it->fd);
        it = connections_.erase(it);
    }
}

void PackageServer::Serve(Connection& connection) {
    // A peer that hangs up mid-body must give EPIPE here, not end the process.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    std::string pending;
    char buffer[4096];
    bool keepOpen = true;
    while (keepOpen && !stopping_) {
        const std::size_t headEnd = pending.find("\r\n\r\n");
        if (headEnd == std::string::npos) {
            if (pending.size() > kMaxHeadBytes) break;
            const ssize_t n = ::recv(connection.fd, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            pending.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        const std::string head = pending.substr(0, headEnd + 2);
        pending.erase(0, headEnd + 4);
        keepOpen = HandleRequest(connection.fd, head);
    }
    ::shutdown(connection.fd, SHUT_RDWR);
    connection.done = true;
}

bool PackageServer::HandleRequest(int fd, const std::string& head) {
    Request request;
    const std::size_t firstSpace = head.find(' ');
    const std::size_t secondSpace = head.find(' ', firstSpace + 1);
    if (firstSpace == std::string::npos || secondSpace == std::string::npos) return false;
    request.method = head.substr(0, firstSpace);
    request.path = head.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    request.range = HeaderValue(head, "Range");
    Record(request);
    const std::string path = request.path.substr(0, request.path.find('?'));
    const bool keepAlive = strcasecmp(HeaderValue(head, "Connection").c_str(), "close") != 0;

    int failStatus = 0;
    if (TakeInjectedFailure(failStatus)) return SendAll(fd, Response(failStatus, "", 0)) && keepAlive;
    if (request.method != "GET" && request.method != "HEAD") return SendAll(fd, Response(405, "", 0)) && keepAlive;
    if (std::find(options_.routes.begin(), options_.routes.end(), path) != options_.routes.end())
        return SendRedirect(fd) && keepAlive;
    if (EndsWith(path, "/" + options_.packageName)) return SendPackage(fd, request.method, request.range) && keepAlive;
    return SendAll(fd, Response(404, "", 0)) && keepAlive;
}

bool PackageServer::SendRedirect(int fd) {
    return SendAll(fd, Response(302, "Location: " + FinalUrl() + "\r\n", 0));
}

bool PackageServer::SendPackage(int fd, const std::string& method, const std::string& rangeHeader) {
    Faults faults;
    {
        std::lock_guard lock(mutex_);
        faults = faults_;
    }
    Range range{0, packageSize_ - 1, false};
    const std::string prefix = "bytes=";
    if (!rangeHeader.empty() && !faults.ignoreRange && rangeHeader.rfind(prefix, 0) == 0) {
        const std::string bounds = rangeHeader.substr(prefix.size());
        const std::size_t dash = bounds.find('-');
        int64_t first = 0, last = packageSize_ - 1;
        const bool valid = dash != std::string::npos && ParseInt64(bounds.substr(0, dash), first) &&
                           (dash + 1 == bounds.size() || ParseInt64(bounds.substr(dash + 1), last)) && first <= last;
        if (valid && first >= packageSize_)
            return SendAll(fd, Response(416, "Content-Range: bytes */" + std::to_string(packageSize_) + "\r\n", 0));
        if (valid) range = {first, std::min(last, packageSize_ - 1), true};
    }
    const int64_t length = range.last - range.first + 1;
    const std::string contentRange = range.partial ? "Content-Range: bytes " + std::to_string(range.first) + "-" +
                                                         std::to_string(range.last) + "/" +
                                                         std::to_string(packageSize_) + "\r\n"
                                                   : "";
    const std::string headers = contentRange + "Accept-Ranges: bytes\r\nContent-Type: application/octet-stream\r\n";
    if (method == "HEAD") {
        const int64_t announced = faults.announcedLength >= 0 ? faults.announcedLength : length;
        return SendAll(fd, Response(range.partial ? 206 : 200, headers, announced));
    }
    if (!SendAll(fd, Response(range.partial ? 206 : 200, headers, length))) return false;
    return SendBody(fd, range.first, length, faults);
}

bool PackageServer::SendBody(int fd, int64_t offset, int64_t length, const Faults& faults) {
    const int64_t slice = faults.bytesPerSecond > 0
                              ? std::max<int64_t>(1, faults.bytesPerSecond / kPacingSlicesPerSecond)
                              : kSendChunk;
    const auto started = std::chrono::steady_clock::now();
    int64_t sent = 0;
    bool stalled = false;
    while (sent < length && !stopping_) {
        if (faults.dropAfterBytes > 0 && sent == faults.dropAfterBytes) {
            std::lock_guard lock(mutex_);
            if (TakeFault(faults_.dropCount)) return false;
        }
        if (!stalled && faults.stallAfterBytes >= 0 && sent == faults.stallAfterBytes) {
            stalled = true;
            bool stall;
            {
                std::lock_guard lock(mutex_);
                stall = TakeFault(faults_.stallCount);
            }
            if (stall) PauseFor(faults.stallMilliseconds);
        }
        int64_t chunk = std::min(length - sent, slice);
        for (int64_t mark : {faults.dropAfterBytes, faults.stallAfterBytes})
            if (mark > sent) chunk = std::min(chunk, mark - sent);
        off_t position = offset + sent;
        const ssize_t n = ::sendfile(fd, packageFd_, &position, static_cast<std::size_t>(chunk));
        if (n <= 0) return false;
        sent += n;
        if (faults.bytesPerSecond > 0) {
            const auto due = started + std::chrono::microseconds(sent * 1000000 / faults.bytesPerSecond);
            std::unique_lock lock(mutex_);
            stopSignal_.wait_until(lock, due, [&] { return stopping_.load(); });
        }
    }
    return sent == length;
}

bool PackageServer::TakeInjectedFailure(int& status) {
    std::lock_guard lock(mutex_);
    if (faults_.failStatus == 0 || !TakeFault(faults_.failCount)) return false;
    status = faults_.failStatus;
    return true;
}

// A counter of -1 means "always"; otherwise it counts down to 0 and stops.
bool PackageServer::TakeFault(int& counter) {
    if (counter == 0) return false;
    if (counter > 0) --counter;
    return true;
}

void PackageServer::PauseFor(int milliseconds) {
    std::unique_lock lock(mutex_);
    stopSignal_.wait_for(lock, std::chrono::milliseconds(milliseconds), [&] { return stopping_.load(); });
}

void PackageServer::Record(const Request& request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
}

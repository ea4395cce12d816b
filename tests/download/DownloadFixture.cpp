#include "DownloadFixture.h"

#include "tools/packageserver/PatternFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace DownloadTest {

void WritePackage(const std::string& path, int64_t size, uint32_t seed) {
    ASSERT_TRUE(WritePatternFile(path, size, seed)) << path;
}

bool FilesEqual(const std::string& a, const std::string& b) {
    std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
    if (!left || !right) return false;
    std::vector<char> x(1 << 20), y(1 << 20);
    while (true) {
        left.read(x.data(), static_cast<std::streamsize>(x.size()));
        right.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (left.gcount() != right.gcount()) return false;
        if (left.gcount() == 0) return true;
        if (!std::equal(x.begin(), x.begin() + left.gcount(), y.begin())) return false;
    }
}

int64_t FileSizeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_size : -1;
}

PackageServer::Options DropOnceAfter(int64_t bytes) {
    PackageServer::Options options;
    options.faults.dropAfterBytes = bytes;
    options.faults.dropCount = 1;
    return options;
}

ServedPackage::ServedPackage(int64_t size, PackageServer::Options options) {
    packagePath_ = folder_ / "served.bin";
    WritePackage(packagePath_, size);
    options.packagePath = packagePath_;
    server_ = std::make_unique<PackageServer>(options);
    std::string error;
    EXPECT_TRUE(server_->Start(&error)) << error;
}

std::vector<PackageServer::Request> ServedPackage::RequestsOf(const std::string& method) const {
    std::vector<PackageServer::Request> matching;
    for (const auto& request : server_->Requests())
        if (request.method == method) matching.push_back(request);
    return matching;
}

EventCallback EventRecorder::Callback() {
    return [this](int32_t code, double value, const std::string& text) { Receive(code, value, text); };
}

void EventRecorder::RestartOnRetry(CDownloader* downloader) {
    std::lock_guard lock(mutex_);
    restartTarget_ = downloader;
}

void EventRecorder::Receive(int32_t code, double value, const std::string& text) {
    CDownloader* restart = nullptr;
    {
        std::lock_guard lock(mutex_);
        events_.push_back({code, value, text, static_cast<int64_t>(std::time(nullptr))});
        if (code == DL_CODE_RETRY) restart = restartTarget_;
    }
    arrived_.notify_all();
    if (restart) restart->Start();
}

bool EventRecorder::WaitForEnd(std::chrono::seconds limit) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] {
        for (const auto& event : events_)
            if (event.code == DL_CODE_SUCCESS || event.code == DL_CODE_FAIL) return true;
        return false;
    });
}

bool EventRecorder::WaitForCode(int32_t code, std::chrono::seconds limit) {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, limit, [&] {
        for (const auto& event : events_)
            if (event.code == code) return true;
        return false;
    });
}

std::vector<EventRecorder::Event> EventRecorder::Events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

std::vector<int32_t> EventRecorder::Codes() const {
    std::vector<int32_t> codes;
    for (const auto& event : Events())
        if (event.code != DL_CODE_PROGRESS) codes.push_back(event.code);
    return codes;
}

std::vector<double> EventRecorder::ProgressValues() const {
    std::vector<double> values;
    for (const auto& event : Events())
        if (event.code == DL_CODE_PROGRESS) values.push_back(event.value);
    return values;
}

}  // namespace DownloadTest

namespace DownloadTest {

bool EventRecorder::ProgressAtMostOncePerSecond() const {
    int64_t previous = -1;
    for (const auto& event : Events()) {
        if (event.code != DL_CODE_PROGRESS) continue;
        if (event.second == previous) return false;
        previous = event.second;
    }
    return true;
}

std::vector<Md5Case> Md5Cases(const std::string& prefix, const std::string& md5, const std::string& packageName) {
    std::string upper = md5;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::string wrong(32, 'f');
    return {
        {"lower-case md5", "/" + md5 + "/" + packageName, {DL_CODE_START, DL_CODE_SUCCESS}, {}},
        {"upper-case md5", "/" + upper + "/" + packageName, {DL_CODE_START, DL_CODE_SUCCESS}, {}},
        {"no md5 segment", "/files/" + packageName, {DL_CODE_START, DL_CODE_NOTICE, DL_CODE_SUCCESS},
         {prefix + "获取url-md5失败"}},
        {"wrong md5", "/" + wrong + "/" + packageName,
         {DL_CODE_START, DL_CODE_NOTICE, DL_CODE_RETRY, DL_CODE_START, DL_CODE_NOTICE, DL_CODE_FAIL},
         {prefix + "文件md5校验失败", prefix + "文件md5校验失败"}},
    };
}

std::vector<std::string> NoticeTexts(const EventRecorder& events) {
    std::vector<std::string> texts;
    for (const auto& event : events.Events())
        if (event.code == DL_CODE_NOTICE) texts.push_back(event.text);
    return texts;
}

void DestroyMidTransferRepeatedly(const MakeDownloader& make, int rounds, std::chrono::milliseconds maxDelay,
                                  std::chrono::seconds limit) {
    std::mt19937 random(42);
    for (int round = 0; round < rounds; ++round) {
        EventRecorder events;
        const auto begun = std::chrono::steady_clock::now();
        {
            std::unique_ptr<CDownloader> downloader = make(events);
            events.RestartOnRetry(downloader.get());
            downloader->Start();
            std::this_thread::sleep_for(std::chrono::milliseconds(random() % (maxDelay.count() + 1)));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - begun, limit) << "round " << round;
        for (const auto& event : events.Events()) EXPECT_NE(event.code, DL_CODE_SUCCESS) << "round " << round;
    }
}

}  // namespace DownloadTest

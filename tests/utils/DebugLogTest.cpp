#include "utils/DebugLog.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>
#include <unistd.h>

namespace {

struct NameCase {
    const char* pretty;
    const char* expected;
};

TEST(QualifiedFunctionName, TakesTheQualifiedNameOutOfTheSignature) {
    const NameCase cases[] = {
        {"static void* Utils::Thread::CallBack(void*)", "Utils::Thread::CallBack"},
        {"int main()", "main"},
        {"void CMTCurlDownloader::Start_Down(const std::string&)", "CMTCurlDownloader::Start_Down"},
        {"std::map<int, std::basic_string<char> > A::B<T>::f(int) [with T = int]", "A::B<T>::f"},
        {"Foo::Bar::f()::<lambda(int)>", "Foo::Bar::f()::<lambda(int)>"},
        {"static T A::g(T) [with T = int]", "A::g"},
        {"bool X::operator()(int) const", "X::operator()"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utils::QualifiedFunctionName(c.pretty), c.expected) << c.pretty;
}

std::string CaptureRecord(void (*emit)()) {
    testing::internal::CaptureStderr();
    emit();
    return testing::internal::GetCapturedStderr();
}

TEST(DebugLog, RecordHasPrefixMessageAndCrLf) {
    const std::string record = CaptureRecord([] { Utils::DebugLog("Ns::Fn", 12345, "100%% of %d", 7); });
    const std::regex format(R"(<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\(Ns::Fn\)<12345>: 100% of 7\r\n)");
    EXPECT_TRUE(std::regex_match(record, format)) << record;
}

TEST(DebugLog, ShortLineIsZeroPadded) {
    const std::string record = CaptureRecord([] { Utils::DebugLog("f", 7, "x"); });
    EXPECT_NE(record.find("(f)<0007>: x\r\n"), std::string::npos) << record;
}

Utils::DebugRecordStamp FixedStamp(long processId, long threadId) {
    Utils::DebugRecordStamp stamp;
    stamp.processId = processId;
    stamp.threadId = threadId;
    stamp.localTime.tm_year = 2024 - 1900;
    stamp.localTime.tm_mon = 4;
    stamp.localTime.tm_mday = 9;
    stamp.localTime.tm_hour = 14;
    stamp.localTime.tm_min = 3;
    stamp.localTime.tm_sec = 27;
    stamp.milliseconds = 81;
    return stamp;
}

TEST(DebugRecord, WidthsAreMinimumsNeverCuts) {
    EXPECT_EQ(Utils::FormatDebugRecord(FixedStamp(4712, 5120), "Utils::Thread::CallBack", 101, "THREAD BEGIN"),
              "<P04712><T05120><2024-05-09 14:03:27.081>(Utils::Thread::CallBack)<0101>: THREAD BEGIN\r\n");
    EXPECT_EQ(Utils::FormatDebugRecord(FixedStamp(4194304, 1234567), "f", 10000, "%d%%", 50),
              "<P4194304><T1234567><2024-05-09 14:03:27.081>(f)<10000>: 50%\r\n");
}

TEST(DebugRecord, LongFunctionNameAndMessageAreKeptWhole) {
    const std::string function(2000, 'F');
    const std::string message(100000, 'm');
    const std::string record = Utils::FormatDebugRecord(FixedStamp(1, 1), function.c_str(), 1, "%s", message.c_str());
    EXPECT_NE(record.find("(" + function + ")<0001>: " + message + "\r\n"), std::string::npos);
}

TEST(DebugRecord, WorkerRecordCarriesTheWorkersThreadId) {
    const long mainThread = Utils::CurrentDebugRecordStamp().threadId;
    long workerThread = 0;
    std::thread worker([&] { workerThread = Utils::CurrentDebugRecordStamp().threadId; });
    worker.join();
    EXPECT_EQ(mainThread, static_cast<long>(::gettid()));
    EXPECT_NE(workerThread, mainThread);
    EXPECT_EQ(Utils::CurrentDebugRecordStamp().processId, static_cast<long>(::getpid()));
}

}  // namespace

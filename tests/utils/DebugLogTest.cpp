#include "utils/DebugLog.h"

#include <gtest/gtest.h>

#include <regex>

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

}  // namespace

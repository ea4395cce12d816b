#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> expected;
};

TEST(SplitCommandLine, FollowsTheWindowsRules) {
    const SplitCase cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"prog", {"prog"}},
        {"  prog  a   b  ", {"prog", "a", "b"}},
        {"\"/opt/my dir/pkg.exe\" /S -console=show", {"/opt/my dir/pkg.exe", "/S", "-console=show"}},
        {"prog \"a b\" c", {"prog", "a b", "c"}},
        {"prog -inslang=\"zh CN\"", {"prog", "-inslang=zh CN"}},
        {"prog \"\"", {"prog", ""}},
        {"prog a\\b\\\\c", {"prog", "a\\b\\\\c"}},
        {"prog a\\\\\"b c\"", {"prog", "a\\b c"}},
        {"prog a\\\"b", {"prog", "a\"b"}},
        {"prog a\\\\\\\"b", {"prog", "a\\\"b"}},
        {"prog \"a\"\"b\"", {"prog", "a\"b"}},
        {"prog \"unterminated arg", {"prog", "unterminated arg"}},
        {"\"C:\\dir\\\" rest", {"C:\\dir\\", "rest"}},
        {"prog /D=/tmp/a b 中文", {"prog", "/D=/tmp/a", "b", "中文"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Platform::SplitCommandLine(c.line), c.expected) << c.line;
}

TEST(SplitCommandLine, ArgumentsAfterProgramKeepTheirBlanks) {
    EXPECT_EQ(Platform::ArgumentsAfterProgram("\"a b\"   x  y"), "x  y");
    EXPECT_EQ(Platform::ArgumentsAfterProgram("prog"), "");
}

}  // namespace

#include "utils/OsVersion.h"

#include <gtest/gtest.h>

#include <sys/utsname.h>

namespace {

struct VersionCase {
    unsigned major, minor, build;
    bool serverR2;
    const char* name;
};

TEST(WindowsVersionName, WholeTable) {
    const VersionCase cases[] = {
        {0, 0, 0, false, "XP-"},      {4, 10, 1998, false, "XP-"}, {5, 0, 2195, false, "2K"},
        {5, 1, 2600, false, "XP"},    {5, 2, 3790, false, "Server 2003"}, {5, 2, 3790, true, "Server 2003 R2"},
        {5, 3, 0, false, "XP+"},      {5, 9, 0, true, "XP+"},      {6, 0, 6000, false, "Vista"},
        {6, 1, 7601, false, "7"},     {6, 2, 9200, false, "8"},    {6, 3, 9600, false, "8.1"},
        {6, 4, 0, false, "8.1+"},     {6, 9, 0, false, "8.1+"},    {10, 0, 22631, false, "10"},
        {10, 1, 0, false, "10+"},     {7, 0, 1, false, "7.0.1"},   {9, 5, 3, false, "9.5.3"},
        {11, 2, 300, false, "11.2.300"}, {12, 0, 100, false, "12.0.100"},
        {12, 0, 0x12345, false, "12.0.9029"},  // only the low 16 bits of the build
    };
    for (const auto& c : cases)
        EXPECT_EQ(Utils::WindowsVersionName(c.major, c.minor, c.build, c.serverR2), c.name)
            << c.major << "." << c.minor << "." << c.build;
}

TEST(GetOsVersion, LinuxAndTheKernelRelease) {
    utsname names{};
    ASSERT_EQ(::uname(&names), 0);
    const Utils::OsVersion version = Utils::GetOsVersion();
    EXPECT_EQ(version.systemName, "Linux");
    EXPECT_EQ(version.versionName, names.release);
    EXPECT_EQ(Utils::IsWow64(), Utils::IsMachine64Bit(names.machine));
}

TEST(IsMachine64Bit, KnownMachines) {
    for (const char* machine : {"x86_64", "aarch64", "ppc64le", "s390x", "riscv64"})
        EXPECT_TRUE(Utils::IsMachine64Bit(machine)) << machine;
    for (const char* machine : {"i686", "armv7l", "", "X86_64"}) EXPECT_FALSE(Utils::IsMachine64Bit(machine)) << machine;
}

}  // namespace

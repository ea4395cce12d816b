#include "utils/Accounts.h"

#include "tests/utils/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

struct SeatCase {
    const char* contents;
    bool found;
    const char* name;
};

TEST(ConsoleUserName, ReadsTheActiveUserOfTheSeat) {
    const SeatCase cases[] = {
        {"# managed by logind\nIS_SEAT0=1\nACTIVE=c2\nACTIVE_UID=0\nUIDS=0\n", true, "root"},
        {"IS_SEAT0=1\nACTIVE_UID=\n", false, ""},
        {"IS_SEAT0=1\nACTIVE_UID=12x\n", false, ""},
        {"IS_SEAT0=1\nXACTIVE_UID=0\n", false, ""},
        {"ACTIVE_UID=4000000000\n", false, ""},  // no such account
        {"", false, ""},
    };
    TempFolder folder;
    for (const auto& c : cases) {
        std::string name = "stale";
        EXPECT_EQ(Utils::GetConsoleUserNameFromSeatFile(folder.Write("seat0", c.contents), name), c.found) << c.contents;
        EXPECT_EQ(name, c.name) << c.contents;
    }
    std::string name = "stale";
    EXPECT_FALSE(Utils::GetConsoleUserNameFromSeatFile(folder / "missing", name));
    EXPECT_EQ(name, "");
}

TEST(Accounts, AdministratorsAreRootAndTheAdminGroups) {
    EXPECT_TRUE(Utils::IsUserAdmin("root"));
    EXPECT_FALSE(Utils::IsUserAdmin(""));
    EXPECT_FALSE(Utils::IsUserAdmin("no-such-user-nuvalo"));
    EXPECT_FALSE(Utils::IsUserAdmin(std::string("root\0x", 6)));
    EXPECT_EQ(Utils::IsTokenAdmin(), ::geteuid() == 0);
    std::string name;
    if (Utils::GetConsoleUserName(name)) EXPECT_FALSE(name.empty());
    else EXPECT_EQ(name, "");
}

}  // namespace

#include "platform/HeadlessWindowSystem.h"
#include "platform/WindowMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace Platform;
using ::testing::ElementsAre;

namespace {

struct Logged {
    uint32_t message;
    uintptr_t wParam;
    bool operator==(const Logged&) const = default;
};

class HeadlessWindowSystemTest : public ::testing::Test {
protected:
    WindowId Open(std::vector<Logged>& log, Rect rect = {10, 10, 110, 60})
    {
        WindowParams params;
        params.rect = rect;
        return system.CreateWindow(params, [&log](uint32_t message, uintptr_t wParam, intptr_t) {
            log.push_back({message, wParam});
            return message == WM_NCCREATE ? 1 : 0;
        });
    }

    HeadlessWindowSystem system;
};

TEST_F(HeadlessWindowSystemTest, CreationShowMoveAndDestructionAreAnnounced)
{
    std::vector<Logged> log;
    const WindowId window = Open(log);
    system.ShowWindow(window, ShowMode::NoActivate);
    system.ShowWindow(window, ShowMode::NoActivate);  // already visible: nothing new
    system.MoveWindow(window, Rect{20, 10, 120, 60});
    system.MoveWindow(window, Rect{20, 10, 140, 60});
    system.ShowWindow(window, ShowMode::Hide);
    system.DestroyWindow(window);
    EXPECT_THAT(log, ElementsAre(Logged{WM_NCCREATE, 0}, Logged{WM_CREATE, 0}, Logged{WM_SIZE, SIZE_RESTORED},
                                 Logged{WM_SHOWWINDOW, 1}, Logged{WM_MOVE, 0}, Logged{WM_SIZE, SIZE_RESTORED},
                                 Logged{WM_SHOWWINDOW, 0}, Logged{WM_DESTROY, 0}, Logged{WM_NCDESTROY, 0}));
    EXPECT_FALSE(system.IsWindow(window));
}

TEST_F(HeadlessWindowSystemTest, ActivationMovesBetweenWindows)
{
    std::vector<Logged> first, second;
    const WindowId a = Open(first);
    const WindowId b = Open(second);
    first.clear();
    second.clear();
    system.ShowWindow(a, ShowMode::Normal);
    system.ShowWindow(b, ShowMode::Normal);
    EXPECT_THAT(first, ElementsAre(Logged{WM_SHOWWINDOW, 1}, Logged{WM_ACTIVATE, 1}, Logged{WM_SETFOCUS, 0},
                                   Logged{WM_ACTIVATE, 0}, Logged{WM_KILLFOCUS, b}));
    EXPECT_EQ(system.GetActiveWindow(), b);
}

TEST_F(HeadlessWindowSystemTest, RefusedCreationLeavesNoWindow)
{
    WindowParams params;
    EXPECT_EQ(system.CreateWindow(params, [](uint32_t, uintptr_t, intptr_t) { return 0; }), 0u);
    EXPECT_EQ(system.CreateWindow(params, nullptr), 0u);
    EXPECT_FALSE(system.SetTimer(12345, 1, 10));
    system.PostMessage(Message{12345, WM_USER, 0, 0});
    Message message;
    ASSERT_EQ(system.WaitMessage(message, 0), WindowSystem::Wait::Message);
    EXPECT_EQ(system.DispatchMessage(message), 0);  // a message for a gone window is dropped
}

TEST_F(HeadlessWindowSystemTest, KeyMessagesCarryTheirModifiers)
{
    std::vector<Logged> log;
    const WindowId window = Open(log);
    system.ShowWindow(window, ShowMode::Normal);
    system.InjectKey(WM_KEYDOWN, VK_TAB, MK_SHIFT);
    system.InjectKey(WM_KEYUP, VK_TAB, 0);
    Message message;
    ASSERT_EQ(system.WaitMessage(message, 0), WindowSystem::Wait::Message);
    EXPECT_EQ(message.lParam, static_cast<intptr_t>(MK_SHIFT));
    ASSERT_EQ(system.WaitMessage(message, 0), WindowSystem::Wait::Message);
    EXPECT_EQ(message.lParam, 0);
}

}  // namespace

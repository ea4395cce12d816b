#include "HostTestSupport.h"

#include "platform/ResourceTable.h"

#include <cairo.h>
#include <gmock/gmock.h>

#include <thread>

using namespace HostTest;
using namespace Platform;
using SkinUI::CControlUI;
using ::testing::ElementsAre;

namespace {

class WindowHostTest : public HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        window = frame.Open();
        ASSERT_NE(window, 0u);
        frame.ShowWindow();
        PumpIdle();
    }

    CControlUI& Control(const char* name)
    {
        CControlUI* control = frame.GetManager().FindControl(name);
        EXPECT_NE(control, nullptr) << name;
        return *control;
    }

    // Records every notification of the window from now on.
    void Listen() { frame.GetManager().AddNotifier(&recorder); }

    TestFrame frame;
    WindowId window = 0;
    std::vector<Seen> log;
    Recorder recorder{log, 1};
};

TEST_F(WindowHostTest, SkinGivesTheWindowItsSizeRegionAndCustomAttributes)
{
    const Rect rect = headless_->GetWindowRect(window);
    EXPECT_EQ(rect.Width(), 300);
    EXPECT_EQ(rect.Height(), 200);
    EXPECT_EQ(headless_->RoundRegion(window), (Size{6, 6}));
    const std::string* shadow = frame.GetManager().GetWindowCustomAttribute("showshadow");
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(*shadow, "true");  // the first value stays
    EXPECT_EQ(frame.GetStyle() & (SkinUI::UI_WS_CAPTION | SkinUI::UI_WS_MAXIMIZEBOX), 0u);
}

TEST_F(WindowHostTest, FirstPaintLaysOutSendsWindowInitOnceAndPresentsTheSkin)
{
    EXPECT_EQ(std::count(frame.notified.begin(), frame.notified.end(), "windowinit"), 1);
    EXPECT_EQ(Control("clickBtn").GetPos(), (Rect{0, 40, 300, 90}));
    // The root's background reached the window.
    EXPECT_EQ(headless_->PresentedPixel(window, 150, 150), 0xFF203040u);
    EXPECT_EQ(headless_->PresentedPixel(window, 5, 60), 0xFFC0C0C0u);

    headless_->MoveWindow(window, Rect{10, 20, 400, 220});
    PumpIdle();
    EXPECT_EQ(std::count(frame.notified.begin(), frame.notified.end(), "windowinit"), 1);
    EXPECT_EQ(Control("clickBtn").GetPos(), (Rect{0, 40, 390, 90}));
}

TEST_F(WindowHostTest, ResizeKeepsTheRoundedRegionButMinimiseDoesNotTouchIt)
{
    headless_->SetRoundRegion(window, Size{});
    headless_->ShowWindow(window, ShowMode::Minimize);
    EXPECT_EQ(headless_->RoundRegion(window), (Size{}));
    headless_->ShowWindow(window, ShowMode::Restore);
    headless_->MoveWindow(window, Rect{0, 0, 310, 210});
    EXPECT_EQ(headless_->RoundRegion(window), (Size{6, 6}));
}

TEST_F(WindowHostTest, ClickNotifiesInOrderToEveryNotifierBeforeButtonUpReturns)
{
    Recorder second(log, 2);
    Listen();
    frame.GetManager().AddNotifier(&second);
    const Point at = CentreOf(Control("clickBtn"));
    headless_->InjectMouse(window, WM_MOUSEMOVE, at.x, at.y);
    headless_->InjectMouse(window, WM_LBUTTONDOWN, at.x, at.y, MK_LBUTTON);
    PumpIdle();
    headless_->SendMessage(window, WM_LBUTTONUP, 0, MakePointParam(at.x, at.y));
    EXPECT_THAT(log, ElementsAre(Seen{1, "mouseenter", "clickBtn"}, Seen{2, "mouseenter", "clickBtn"},
                                 Seen{1, "killfocus", "captionCb"}, Seen{2, "killfocus", "captionCb"},
                                 Seen{1, "setfocus", "clickBtn"}, Seen{2, "setfocus", "clickBtn"},
                                 Seen{1, "click", "clickBtn"}, Seen{2, "click", "clickBtn"}));
}

TEST_F(WindowHostTest, PressInsideReleaseOutsideDoesNotClick)
{
    Listen();
    const Point at = CentreOf(Control("clickBtn"));
    headless_->InjectMouse(window, WM_LBUTTONDOWN, at.x, at.y, MK_LBUTTON);
    headless_->InjectMouse(window, WM_MOUSEMOVE, at.x, 150, MK_LBUTTON);
    headless_->InjectMouse(window, WM_LBUTTONUP, at.x, 150);
    PumpIdle();
    for (const Seen& seen : log) EXPECT_NE(seen.type, "click");
}

TEST_F(WindowHostTest, AsynchronousNotificationsWithoutRepeatsCoalesce)
{
    Listen();
    SkinUI::CManagerUI& manager = frame.GetManager();
    CControlUI* sender = &Control("clickBtn");
    auto post = [&](const char* type, uintptr_t wParam, bool allowRepeat) {
        SkinUI::TNotifyEvent msg;
        msg.type = type;
        msg.sender = sender;
        msg.wParam = wParam;
        manager.SendNotify(msg, true, allowRepeat);
    };
    post("checknet", 1, false);
    post("other", 7, false);
    post("checknet", 2, false);
    post("again", 1, true);
    post("again", 2, true);
    EXPECT_TRUE(log.empty());  // nothing before the cleanup message
    PumpIdle();
    EXPECT_THAT(log, ElementsAre(Seen{1, "checknet", "clickBtn", 2}, Seen{1, "other", "clickBtn", 7},
                                 Seen{1, "again", "clickBtn", 1}, Seen{1, "again", "clickBtn", 2}));
}

TEST_F(WindowHostTest, TimersGetNativeIdsFrom17AndRearmAfterKill)
{
    SkinUI::CManagerUI& manager = frame.GetManager();
    CControlUI* a = &Control("clickBtn");
    CControlUI* b = &Control("okBtn");
    EXPECT_TRUE(manager.SetTimer(a, 1, 1000));
    EXPECT_TRUE(manager.SetTimer(a, 2, 1000));
    EXPECT_TRUE(manager.SetTimer(b, 1, 1000));
    for (uint32_t id : {17u, 18u, 19u}) EXPECT_TRUE(headless_->HasTimer(window, id)) << id;
    EXPECT_FALSE(manager.SetTimer(a, 1, 5));  // already running
    EXPECT_TRUE(manager.KillTimer(a, 1));
    EXPECT_FALSE(headless_->HasTimer(window, 17));
    EXPECT_TRUE(manager.SetTimer(a, 1, 1000));  // re-armed with its old native id
    EXPECT_TRUE(headless_->HasTimer(window, 17));
    EXPECT_FALSE(headless_->HasTimer(window, 20));
    manager.KillTimer(a);
    EXPECT_FALSE(headless_->HasTimer(window, 17));
    EXPECT_FALSE(headless_->HasTimer(window, 18));
    EXPECT_TRUE(headless_->HasTimer(window, 19));
}

TEST_F(WindowHostTest, TimersFireAtTheirIntervalAndStopWhenKilled)
{
    Listen();
    SkinUI::CManagerUI& manager = frame.GetManager();
    CControlUI* label = &Control("titleLbl");
    ASSERT_TRUE(manager.SetTimer(label, 2100, 20));
    // A loaded machine may stretch the intervals, never shorten them.
    const uint32_t start = headless_->TickCount();
    while (log.size() < 5 && headless_->TickCount() - start < 10000) PumpFor(20);
    const uint32_t elapsed = headless_->TickCount() - start;
    const auto fired = log.size();
    EXPECT_GE(fired, 5u);
    EXPECT_LE(fired, elapsed / 20 + 1) << "fired faster than every 20 ms";
    for (const Seen& seen : log) EXPECT_EQ(seen, (Seen{1, "timer", "titleLbl", 2100}));
    manager.KillTimer(label, 2100);
    PumpFor(60);
    EXPECT_EQ(log.size(), fired);
}

TEST_F(WindowHostTest, DestroyedControlIsForgottenByTheManager)
{
    SkinUI::CManagerUI& manager = frame.GetManager();
    CControlUI* button = &Control("clickBtn");
    manager.SetFocus(button);
    ASSERT_TRUE(manager.SetTimer(button, 1, 10));
    SkinUI::TNotifyEvent msg;
    msg.type = "late";
    msg.sender = button;
    manager.SendNotify(msg, true, false);
    static_cast<SkinUI::CContainerUI*>(button->GetParent())->Remove(button);
    PumpFor(40);  // neither the timer nor the queued notification may reach it
    EXPECT_EQ(manager.FindControl("clickBtn"), nullptr);
    EXPECT_EQ(manager.GetFocus(), nullptr);
    EXPECT_FALSE(headless_->HasTimer(window, 17));
}

TEST_F(WindowHostTest, TabMovesFocusInTreeOrderAndWraps)
{
    SkinUI::CManagerUI& manager = frame.GetManager();
    ASSERT_EQ(manager.GetFocus(), &Control("captionCb"));  // the first focusable control at the first paint
    std::vector<std::string> order;
    for (uint32_t keys : {0u, 0u, 0u, MK_SHIFT, MK_SHIFT}) {
        headless_->InjectKey(WM_KEYDOWN, VK_TAB, keys);
        PumpIdle();
        order.push_back(manager.GetFocus()->GetName());
    }
    EXPECT_THAT(order, ElementsAre("okBtn", "clickBtn", "closebtn", "clickBtn", "okBtn"));
    Control("clickBtn").SetVisible(false);
    headless_->InjectKey(WM_KEYDOWN, VK_TAB, 0);
    PumpIdle();
    EXPECT_EQ(manager.GetFocus()->GetName(), "closebtn");
}

TEST_F(WindowHostTest, ReturnClicksTheFocusedButtonAndEscapeNeverClosesTheFrame)
{
    Control("clickBtn").SetFocus();
    headless_->InjectKey(WM_KEYDOWN, VK_ESCAPE);
    headless_->InjectKey(WM_KEYDOWN, VK_RETURN);
    PumpIdle();
    EXPECT_TRUE(headless_->IsWindow(window));
    EXPECT_EQ(std::count(frame.notified.begin(), frame.notified.end(), "click"), 1);
}

TEST_F(WindowHostTest, CaptionBandHitTestPicksCaptionOrClientByTheControl)
{
    const Rect rect = headless_->GetWindowRect(window);
    auto hit = [&](const char* name) {
        const Point at = CentreOf(Control(name));
        return headless_->SendMessage(window, WM_NCHITTEST, 0, MakePointParam(rect.left + at.x, rect.top + at.y));
    };
    EXPECT_EQ(hit("titleLbl"), HTCAPTION);
    EXPECT_EQ(hit("captionCb"), HTCAPTION);  // a check box drags the window
    EXPECT_EQ(hit("okBtn"), HTCLIENT);
    EXPECT_EQ(hit("clickBtn"), HTCLIENT);  // below the band
}

TEST_F(WindowHostTest, CloseButtonClosesWithCode1)
{
    Click(window, CentreOf(Control("closebtn")));
    EXPECT_FALSE(headless_->IsWindow(window));
    EXPECT_EQ(frame.GetHWND(), 0u);
}

TEST_F(WindowHostTest, HoverShowsTheTooltipAndLeavingTheWindowLeavesTheButton)
{
    Listen();
    CControlUI& button = Control("clickBtn");
    button.SetToolTip("Start now");
    const Point at = CentreOf(button);
    headless_->InjectMouse(window, WM_MOUSEMOVE, at.x, at.y);
    PumpIdle();
    EXPECT_EQ(headless_->TrackedHoverTime(), 1000u);
    headless_->InjectMouse(window, WM_MOUSEHOVER, at.x, at.y);
    PumpIdle();
    EXPECT_EQ(headless_->TooltipText(), "Start now");
    headless_->InjectMouse(window, WM_MOUSEMOVE, 1000, 1000);  // the pointer is now outside
    headless_->PostMessage(Message{window, WM_MOUSELEAVE, 0, 0});
    PumpIdle();
    EXPECT_EQ(headless_->TooltipText(), "");
    EXPECT_THAT(log, ElementsAre(Seen{1, "mouseenter", "clickBtn"}, Seen{1, "mouseleave", "clickBtn"}));
}

TEST_F(WindowHostTest, MaximiseAndRestoreSwapTheirButtons)
{
    TestFrame framed(R"(<Window size="200,100"><HorizontalLayout>
        <Button name="maxbtn" /><Button name="restorebtn" visible="false" /></HorizontalLayout></Window>)");
    const WindowId id = framed.Open();
    ASSERT_NE(id, 0u);
    framed.ShowWindow();
    PumpIdle();
    CControlUI* maxBtn = framed.GetManager().FindControl("maxbtn");
    CControlUI* restoreBtn = framed.GetManager().FindControl("restorebtn");
    Click(id, CentreOf(*maxBtn));
    EXPECT_TRUE(headless_->IsMaximized(id));
    EXPECT_FALSE(maxBtn->IsVisible());
    EXPECT_TRUE(restoreBtn->IsVisible());
    EXPECT_EQ(headless_->GetWindowRect(id), headless_->GetWorkArea(id));
    Click(id, CentreOf(*restoreBtn));
    EXPECT_FALSE(headless_->IsMaximized(id));
    EXPECT_TRUE(maxBtn->IsVisible());
    EXPECT_EQ(headless_->GetWindowRect(id).Width(), 200);
}

class ModalLoopTest : public WindowHostTest {};

TEST_F(ModalLoopTest, ReturnsTheCloseCodeAndDisablesThenReenablesTheOwner)
{
    TestFrame dialog;
    const WindowId dialogId = dialog.Open(window);
    ASSERT_NE(dialogId, 0u);
    std::vector<bool> ownerEnabled;
    const Point closeAt = CentreOf(Control("closebtn"));
    dialog.onAppMessage = [&](uint32_t) {
        ownerEnabled.push_back(headless_->IsWindowEnabled(window));
        // The disabled owner takes no clicks while the dialog runs.
        headless_->InjectMouse(window, WM_LBUTTONDOWN, closeAt.x, closeAt.y, MK_LBUTTON);
        headless_->InjectMouse(window, WM_LBUTTONUP, closeAt.x, closeAt.y);
    };
    dialog.PostMessage(WM_USER + 1);
    dialog.Close(7);
    EXPECT_EQ(dialog.ShowModal(), 7u);
    EXPECT_THAT(ownerEnabled, ElementsAre(false));
    EXPECT_TRUE(headless_->IsWindowEnabled(window));
    EXPECT_EQ(headless_->GetFocus(), window);
    EXPECT_FALSE(headless_->IsWindow(dialogId));
    EXPECT_TRUE(headless_->IsWindow(window));
}

TEST_F(ModalLoopTest, QuitMessageEndsTheLoopAndIsPostedAgain)
{
    TestFrame dialog;
    ASSERT_NE(dialog.Open(window), 0u);
    headless_->PostQuitMessage(5);
    headless_->PostMessage(Message{dialog.GetHWND(), WM_USER + 2, 0, 0});
    EXPECT_EQ(dialog.ShowModal(), 0u);
    EXPECT_TRUE(headless_->IsWindowEnabled(window));
    // The message posted after the quit is still first in line, then the quit again.
    Message message;
    ASSERT_EQ(headless_->WaitMessage(message, 0), WindowSystem::Wait::Message);
    EXPECT_EQ(message.message, WM_USER + 2);
    ASSERT_EQ(headless_->WaitMessage(message, 0), WindowSystem::Wait::Quit);
    EXPECT_EQ(static_cast<int>(message.wParam), 5);
}

TEST_F(ModalLoopTest, PumpMessagesForKeepsTheWindowAliveAbout100Milliseconds)
{
    const uint32_t start = headless_->TickCount();
    EXPECT_TRUE(SkinUI::CWindowWnd::PumpMessagesFor(window));
    EXPECT_GE(headless_->TickCount() - start, 100u);
}

TEST_F(ModalLoopTest, PumpMessagesForRepostsAQuitAndStopsForAGoneWindow)
{
    headless_->PostQuitMessage(3);
    EXPECT_FALSE(SkinUI::CWindowWnd::PumpMessagesFor(window));
    Message message;
    ASSERT_EQ(headless_->WaitMessage(message, 0), WindowSystem::Wait::Quit);
    EXPECT_EQ(static_cast<int>(message.wParam), 3);

    // A gone window stops it before anything is taken from the queue.
    headless_->DestroyWindow(window);
    headless_->PostMessage(Message{0, WM_USER + 3, 0, 0});
    EXPECT_FALSE(SkinUI::CWindowWnd::PumpMessagesFor(window));
    ASSERT_EQ(headless_->WaitMessage(message, 0), WindowSystem::Wait::Message);
    EXPECT_EQ(message.message, WM_USER + 3);
}

TEST_F(ModalLoopTest, CentreWindowStaysInsideTheWorkArea)
{
    headless_->SetWorkArea(Rect{0, 0, 1000, 800});
    frame.CenterWindow();
    EXPECT_EQ(headless_->GetWindowRect(window), (Rect{350, 300, 650, 500}));
    TestFrame dialog;
    ASSERT_NE(dialog.Open(window), 0u);
    headless_->MoveWindow(window, Rect{900, 700, 1200, 900});
    dialog.CenterWindow();
    EXPECT_EQ(headless_->GetWindowRect(dialog.GetHWND()), (Rect{700, 600, 1000, 800}));
}

TEST_F(HeadlessTest, MessagesPostedFrom4ThreadsAllArriveInEachThreadsOrder)
{
    constexpr int kThreads = 4;
    constexpr uintptr_t kEach = 1000;
    {
        std::vector<std::jthread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([this, t] {
                for (uintptr_t i = 0; i < kEach; ++i) headless_->PostMessage(Message{0, WM_USER + t, i, 0});
            });
        }
    }
    uintptr_t next[kThreads] = {};
    Message message;
    for (uintptr_t n = 0; n < kThreads * kEach; ++n) {
        ASSERT_EQ(headless_->WaitMessage(message, 1000), WindowSystem::Wait::Message);
        const int thread = static_cast<int>(message.message - WM_USER);
        ASSERT_TRUE(thread >= 0 && thread < kThreads);
        EXPECT_EQ(message.wParam, next[thread]++);
    }
    for (uintptr_t count : next) EXPECT_EQ(count, kEach);
    EXPECT_EQ(headless_->WaitMessage(message, 0), WindowSystem::Wait::TimedOut);
}

TEST_F(HeadlessTest, MessagesPostedWhileTheLoopWaitsWakeIt)
{
    std::jthread poster([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        headless_->PostMessage(Message{0, WM_USER, 42, 0});
    });
    Message message;
    ASSERT_EQ(headless_->WaitMessage(message, 5000), WindowSystem::Wait::Message);
    EXPECT_EQ(message.wParam, 42u);
}

TEST_F(HeadlessTest, PlainSkinnedWindowClosesOnEscape)
{
    // WindowImplBase's own default key handling closes on Escape; only frames swallow it.
    class PlainWindow : public SkinUI::WindowImplBase {
    public:
        std::string GetWindowClassName() const override { return "Plain"; }
        std::string GetSkinDir() override { return ""; }
        std::string GetSkinXml() override { return "<Window size=\"50,50\"><Control name=\"c\" /></Window>"; }
    } plain;
    const WindowId id = plain.Create(0, "", 0, 0, 0, 0, 10, 10);
    ASSERT_NE(id, 0u);
    plain.ShowWindow();
    headless_->InjectKey(WM_KEYDOWN, VK_ESCAPE);
    PumpIdle();
    EXPECT_FALSE(headless_->IsWindow(id));
}

TEST_F(HeadlessTest, UnreadableSkinEndsTheProcessWithCode1)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            TestFrame broken("<Window><Unclosed></Window>");
            broken.Open();
        },
        ::testing::ExitedWithCode(1), "加载资源文件失败");
}

}  // namespace

namespace {

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

TEST_F(WindowHostTest, IconComesFromTheIconResource)
{
    frame.SetIcon(9145);  // no such resource: nothing happens
    EXPECT_EQ(headless_->IconSize(window), (Size{}));

    static std::string png;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 16, 12);
    cairo_surface_write_to_png_stream(surface, AppendPng, &png);
    cairo_surface_destroy(surface);
    ResourceTable::Register("ICON", 9146, png.data(), png.size());
    frame.SetIcon(9146);
    EXPECT_EQ(headless_->IconSize(window), (Size{16, 12}));
}

}  // namespace

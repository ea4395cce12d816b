#include "ui/CMessageBoxWnd.h"

#include "skinui/CLabelUI.h"
#include "skinui/CMultiLanguage.h"
#include "skinui/CSkinResources.h"
#include "tests/host/HostTestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace {

using namespace Platform;
using HostTest::TestFrame;

constexpr uint32_t kDeadlineTimer = 1;
constexpr uint32_t kDeadlineMs = 60000;  // only there to end a hang, so generous for a slowed-down build
constexpr uint32_t kStepTimer = 2;
constexpr uint32_t kStepMs = 10;
constexpr uint32_t kReport = WM_USER + 1;

// The main window stand-in: handles posted reports and, when a dialog is
// still open at the deadline, closes it so that no modal loop can hang.
class OwnerFrame : public TestFrame {
public:
    intptr_t HandleAppMessage(uint32_t message, uintptr_t wParam, intptr_t lParam, bool& handled) override
    {
        if (message == WM_TIMER && wParam == kDeadlineTimer) {
            timedOut = true;
            if (onDeadline) onDeadline();
            return 0;
        }
        if (message == WM_TIMER && wParam == kStepTimer) {
            Platform::WindowSystem::Current()->KillTimer(GetHWND(), kStepTimer);
            std::function<void()> step = std::move(nextStep);
            nextStep = nullptr;
            if (step) step();
            return 0;
        }
        return TestFrame::HandleAppMessage(message, wParam, lParam, handled);
    }

    // Runs step once the queue has been idle for a moment, so that open dialogs are laid out.
    void AfterPaint(std::function<void()> step)
    {
        nextStep = std::move(step);
        Platform::WindowSystem::Current()->SetTimer(GetHWND(), kStepTimer, kStepMs);
    }

    bool timedOut = false;
    std::function<void()> onDeadline;
    std::function<void()> nextStep;
};

// What a report handled while the dialog was open saw.
struct SeenDuringModal {
    WindowId dialog = 0;
    bool ownerEnabled = true;
    WindowId dialogOwner = 0;
    std::string title;
    Rect dialogRect;
};

class DialogTest : public HostTest::HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        SkinUI::CSkinResources::ClearShared();
        SkinUI::CMultiLanguage::RemoveAll();
        headless_->SetWorkArea(Rect{0, 0, 1600, 1000});
        ASSERT_NE(owner_.Open(), 0u);
        headless_->MoveWindow(owner_.GetHWND(), Rect{100, 100, 700, 500});
        owner_.onDeadline = [this] { CloseActiveDialog(); };
        headless_->SetTimer(owner_.GetHWND(), kDeadlineTimer, kDeadlineMs);
    }
    void TearDown() override
    {
        headless_->KillTimer(owner_.GetHWND(), kDeadlineTimer);
        owner_.Close();
        PumpIdle();
        SkinUI::CSkinResources::ClearShared();
        HeadlessTest::TearDown();
    }

    WindowId ActiveDialog() const
    {
        const WindowId active = headless_->GetActiveWindow();
        return active != owner_.GetHWND() ? active : 0;
    }

    void CloseActiveDialog()
    {
        if (const WindowId dialog = ActiveDialog()) headless_->PostMessage(Message{dialog, WM_SYSCOMMAND, SC_CLOSE, 0});
    }

    // Where a control of a dialog lies once laid out (every instance of a skin lays out alike).
    Point ControlCentre(const std::string& skin, const std::string& name)
    {
        CMessageBoxWnd probe(skin);
        EXPECT_NE(probe.Open(owner_.GetHWND()), 0u);
        PumpIdle();
        const SkinUI::CControlUI* control = probe.GetManager().FindControl(name);
        EXPECT_NE(control, nullptr) << skin << " has no " << name;
        const Point centre = control ? CentreOf(*control) : Point{};
        probe.Close();
        PumpIdle();
        return centre;
    }

    static void ClickAt(HeadlessWindowSystem& system, WindowId window, Point at)
    {
        system.InjectMouse(window, WM_MOUSEMOVE, at.x, at.y);
        system.InjectMouse(window, WM_LBUTTONDOWN, at.x, at.y, MK_LBUTTON);
        system.InjectMouse(window, WM_LBUTTONUP, at.x, at.y);
    }

    // Shows the dialog; a report posted before it runs `whileOpen` inside the modal loop.
    int ShowWithReport(const std::string& skin, const std::function<void(WindowId dialog)>& whileOpen,
                       std::optional<std::string_view> text = std::nullopt,
                       std::optional<std::string_view> caption = std::nullopt)
    {
        owner_.onAppMessage = [this, whileOpen](uint32_t message) {
            if (message != kReport) return;
            const WindowId dialog = ActiveDialog();
            seen_ = SeenDuringModal{dialog, headless_->IsWindowEnabled(owner_.GetHWND()), headless_->GetOwner(dialog),
                                    headless_->Title(dialog), headless_->GetWindowRect(dialog)};
            owner_.AfterPaint([whileOpen, dialog] { whileOpen(dialog); });
        };
        owner_.PostMessage(kReport);
        return ShowMessageBox(owner_.GetHWND(), skin, text, caption);
    }

    OwnerFrame owner_;
    SeenDuringModal seen_;
};

struct ButtonCase {
    const char* skin;
    const char* button;
    int answer;
    Size windowSize;
};

std::ostream& operator<<(std::ostream& out, const ButtonCase& c) { return out << c.skin << "/" << c.button; }

class DialogButtonTest : public DialogTest, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(DialogButtonTest, ClickAnswersOverTheDisabledOwnerThatKeepsHandlingReports)
{
    const ButtonCase& c = GetParam();
    const Point button = ControlCentre(c.skin, c.button);
    const int answer =
        ShowWithReport(c.skin, [&](WindowId dialog) { ClickAt(*headless_, dialog, button); }, "text", "caption");

    EXPECT_EQ(answer, c.answer);
    EXPECT_FALSE(owner_.timedOut);
    ASSERT_NE(seen_.dialog, 0u) << "the report was not handled while the dialog was open";
    EXPECT_FALSE(seen_.ownerEnabled);
    EXPECT_EQ(seen_.dialogOwner, owner_.GetHWND());
    EXPECT_EQ(seen_.title, "消息框");
    EXPECT_EQ(seen_.dialogRect.Width(), c.windowSize.cx);
    EXPECT_EQ(seen_.dialogRect.Height(), c.windowSize.cy);
    const Rect ownerRect = headless_->GetWindowRect(owner_.GetHWND());
    EXPECT_EQ(seen_.dialogRect.left - ownerRect.left, ownerRect.right - seen_.dialogRect.right);
    EXPECT_EQ(seen_.dialogRect.top - ownerRect.top, ownerRect.bottom - seen_.dialogRect.bottom);
    EXPECT_FALSE(headless_->IsWindow(seen_.dialog));
    EXPECT_TRUE(headless_->IsWindowEnabled(owner_.GetHWND()));
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, DialogButtonTest,
    ::testing::Values(ButtonCase{"MessageBox1Wnd.xml", "closebtn", 2, {360, 180}},
                      ButtonCase{"MessageBox2Wnd.xml", "closebtn", 2, {360, 150}},
                      ButtonCase{"InstalledPathTipWnd.xml", "okBtn", 0, {400, 180}},
                      ButtonCase{"InstalledPathTipWnd.xml", "cancelBtn", 1, {400, 180}},
                      ButtonCase{"InstalledPathTipWnd.xml", "closebtn", 2, {400, 180}},
                      ButtonCase{"NetworkTipWnd.xml", "okBtn", 0, {360, 180}},
                      ButtonCase{"NetworkTipWnd.xml", "cancelBtn", 1, {360, 180}},
                      ButtonCase{"NetworkTipWnd.xml", "closebtn", 2, {360, 180}},
                      // The archive stores "exitTipWnd.xml"; names match ignoring case.
                      ButtonCase{"ExitTipWnd.xml", "okBtn", 0, {360, 180}},
                      ButtonCase{"ExitTipWnd.xml", "cancelBtn", 1, {360, 180}},
                      ButtonCase{"ExitTipWnd.xml", "closebtn", 2, {360, 180}}));

class DialogCloseTest : public DialogTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(DialogCloseTest, ClosingWithoutAClickAnswersOne)
{
    const int answer = ShowWithReport(GetParam(), [&](WindowId) { CloseActiveDialog(); });
    EXPECT_EQ(answer, 1);
    EXPECT_FALSE(owner_.timedOut);
    EXPECT_NE(seen_.dialog, 0u);
}

INSTANTIATE_TEST_SUITE_P(Catalogue, DialogCloseTest,
                         ::testing::Values("MessageBox1Wnd.xml", "MessageBox2Wnd.xml", "InstalledPathTipWnd.xml",
                                           "NetworkTipWnd.xml", "ExitTipWnd.xml"));

TEST_F(DialogTest, EscapeAndReturnLeaveTheDialogOpen)
{
    const Point ok = ControlCentre("ExitTipWnd.xml", "okBtn");
    bool openAfterKeys = false;
    owner_.onAppMessage = [&](uint32_t message) {
        if (message != kReport) return;
        const WindowId dialog = ActiveDialog();
        headless_->InjectKey(WM_KEYDOWN, VK_ESCAPE);
        headless_->InjectKey(WM_KEYDOWN, VK_RETURN);
        owner_.AfterPaint([&, dialog] {
            openAfterKeys = headless_->IsWindow(dialog);
            ClickAt(*headless_, dialog, ok);
        });
    };
    owner_.PostMessage(kReport);
    EXPECT_EQ(ShowMessageBox(owner_.GetHWND(), "ExitTipWnd.xml"), 0);
    EXPECT_TRUE(openAfterKeys);
    EXPECT_FALSE(owner_.timedOut);
}

TEST_F(DialogTest, AReportHandledMeanwhileMayOpenASecondDialogOnTop)
{
    const Point retry = ControlCentre("NetworkTipWnd.xml", "okBtn");
    const Point close = ControlCentre("MessageBox2Wnd.xml", "closebtn");
    int innerAnswer = -1;
    WindowId outer = 0;
    owner_.onAppMessage = [&](uint32_t message) {
        if (message != kReport) return;
        outer = ActiveDialog();
        owner_.AfterPaint([&] { ClickAt(*headless_, ActiveDialog(), close); });
        innerAnswer = ShowMessageBox(owner_.GetHWND(), "MessageBox2Wnd.xml", "inner", "caption");
        owner_.AfterPaint([&] { ClickAt(*headless_, outer, retry); });
    };
    owner_.PostMessage(kReport);
    EXPECT_EQ(ShowMessageBox(owner_.GetHWND(), "NetworkTipWnd.xml"), 0);
    EXPECT_EQ(innerAnswer, 2);
    EXPECT_NE(outer, 0u);
    EXPECT_FALSE(owner_.timedOut);
}

TEST_F(DialogTest, AQuitMessageEndsTheDialogWithOneAndIsKeptForTheOuterLoop)
{
    WindowId dialog = 0;
    owner_.onAppMessage = [&](uint32_t message) {
        if (message != kReport) return;
        dialog = ActiveDialog();
        headless_->PostQuitMessage(3);
    };
    owner_.PostMessage(kReport);
    EXPECT_EQ(ShowMessageBox(owner_.GetHWND(), "NetworkTipWnd.xml"), 1);
    EXPECT_NE(dialog, 0u);
    EXPECT_FALSE(headless_->IsWindow(dialog));
    EXPECT_TRUE(headless_->IsWindowEnabled(owner_.GetHWND()));
    Message message;
    Platform::WindowSystem::Wait wait = Platform::WindowSystem::Wait::Message;
    for (int i = 0; i < 1000 && wait == Platform::WindowSystem::Wait::Message; ++i) wait = headless_->WaitMessage(message, 0);
    EXPECT_EQ(wait, Platform::WindowSystem::Wait::Quit);
}

TEST_F(DialogTest, WithoutAWindowSystemTheAnswerIsOne)
{
    const WindowId owner = owner_.GetHWND();
    headless_->KillTimer(owner, kDeadlineTimer);
    owner_.Close();
    PumpIdle();
    Platform::WindowSystem::Select(nullptr);
    EXPECT_EQ(ShowMessageBox(owner, "ExitTipWnd.xml"), 1);
    // TearDown expects a window system.
    auto system = std::make_unique<HeadlessWindowSystem>();
    headless_ = system.get();
    Platform::WindowSystem::Select(std::move(system));
}

// Labels of an open dialog, the way ShowMessageBox prepares them.
class DialogTextTest : public DialogTest {
protected:
    std::string LabelText(const char* name)
    {
        const SkinUI::CControlUI* label = dialog_->GetManager().FindControl(name);
        return label ? label->GetText() : "<none>";
    }
    void Open(const std::string& skin, std::optional<std::string_view> text, std::optional<std::string_view> caption)
    {
        dialog_.emplace(skin);
        ASSERT_NE(dialog_->Open(owner_.GetHWND()), 0u);
        dialog_->SetTexts(text, caption);
    }
    void TearDown() override
    {
        if (dialog_) dialog_->Close();
        PumpIdle();
        dialog_.reset();
        DialogTest::TearDown();
    }

    std::optional<CMessageBoxWnd> dialog_;
};

TEST_F(DialogTextTest, CallerTextsReplaceThePlaceholdersOfBothMessageBoxes)
{
    for (const char* skin : {"MessageBox1Wnd.xml", "MessageBox2Wnd.xml"}) {
        Open(skin, "安装失败，请重试", "温馨提示");
        EXPECT_EQ(LabelText("textLbl"), "安装失败，请重试") << skin;
        EXPECT_EQ(LabelText("captionLbl"), "温馨提示") << skin;
        dialog_->Close();
        PumpIdle();
    }
}

TEST_F(DialogTextTest, EmptyTextEmptiesTheAreaAndAMissingOneKeepsThePlaceholder)
{
    Open("MessageBox1Wnd.xml", "", std::nullopt);
    EXPECT_EQ(LabelText("textLbl"), "");
    EXPECT_EQ(LabelText("captionLbl"), "CAPTION");
}

TEST_F(DialogTextTest, TipDialogsHaveNoPlaceholdersAndKeepTheirTexts)
{
    struct Case {
        const char* skin;
        const char* ok;
        const char* cancel;
    };
    const Case cases[] = {{"InstalledPathTipWnd.xml", "安装最新版本", "打开软件"},
                          {"NetworkTipWnd.xml", "重新安装", "稍后再试"},
                          {"ExitTipWnd.xml", "是", "否"}};
    for (const Case& c : cases) {
        Open(c.skin, "ignored", "ignored");
        EXPECT_EQ(LabelText("textLbl"), "<none>") << c.skin;
        EXPECT_EQ(LabelText("captionLbl"), "<none>") << c.skin;
        EXPECT_EQ(LabelText("okBtn"), c.ok) << c.skin;
        EXPECT_EQ(LabelText("cancelBtn"), c.cancel) << c.skin;
        dialog_->Close();
        PumpIdle();
    }
}

TEST_F(DialogTextTest, InitWindowDropsTheCaptionAndMaximiseStyles)
{
    Open("MessageBox2Wnd.xml", std::nullopt, std::nullopt);
    const uint32_t style = dialog_->GetStyle();
    EXPECT_EQ(style & (SkinUI::UI_WS_CAPTION | SkinUI::UI_WS_MAXIMIZEBOX), 0u);
    const uint32_t kept = SkinUI::UI_WS_VISIBLE | SkinUI::UI_WS_CLIPSIBLINGS | SkinUI::UI_WS_CLIPCHILDREN |
                          SkinUI::UI_WS_SYSMENU | SkinUI::UI_WS_THICKFRAME | SkinUI::UI_WS_MINIMIZEBOX;
    EXPECT_EQ(style & kept, kept);
}

}  // namespace

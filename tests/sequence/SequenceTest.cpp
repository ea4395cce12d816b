#include "platform/WindowMessages.h"
#include "skinui/CManagerUI.h"
#include "skinui/CSequenceButtonUI.h"
#include "skinui/CSequenceLabelUI.h"
#include "skinui/INotifyUI.h"
#include "skinui/TNotifyEvent.h"
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using SkinUI::CFrameSequence;
using SkinUI::CSequenceButtonUI;
using SkinUI::CSequenceLabelUI;

constexpr const char* kStopped = "stopped";

// Every "timer" notification's wParam.
class TimerRecorder : public SkinUI::INotifyUI {
public:
    void Notify(SkinUI::TNotifyEvent& msg) override
    {
        if (msg.type == "timer") ids.push_back(msg.wParam);
    }
    std::vector<uintptr_t> ids;
};

// A headless window whose manager holds one sequence control as its root;
// ticks are the window's own timer messages.
class SequenceTest : public HostTest::HeadlessTest {
protected:
    void SetUp() override
    {
        HeadlessTest::SetUp();
        Platform::WindowParams params;
        params.rect = {0, 0, 100, 100};
        window_ = headless_->CreateWindow(params, [this](uint32_t message, uintptr_t wParam, intptr_t lParam) {
            if (message == Platform::WM_NCCREATE) return intptr_t{1};
            intptr_t result = 0;
            manager_.MessageHandler(message, wParam, lParam, result);
            return result;
        });
        ASSERT_NE(window_, 0u);
        manager_.Init(window_);
        manager_.AddNotifier(&timers_);
    }
    void TearDown() override
    {
        manager_.ReleaseTree();
        headless_->DestroyWindow(window_);
        HeadlessTest::TearDown();
    }

    template <typename T>
    T* Attach(T* control, const std::vector<std::pair<const char*, const char*>>& attributes)
    {
        for (const auto& [name, value] : attributes) control->SetAttribute(name, value);
        manager_.AttachDialog(control);
        return control;
    }

    // The native id of the one running timer, 0 when none runs.
    uint32_t RunningTimer() const
    {
        for (uint32_t id = 1; id < 256; ++id) {
            if (headless_->HasTimer(window_, id)) return id;
        }
        return 0;
    }

    // Delivers `count` timer messages; each entry is the background after the
    // tick, or kStopped once the tick left no timer running.
    std::vector<std::string> Ticks(SkinUI::CControlUI& control, int count)
    {
        std::vector<std::string> shown;
        for (int i = 0; i < count; ++i) {
            const uint32_t timer = RunningTimer();
            if (timer == 0) break;
            headless_->SendMessage(window_, Platform::WM_TIMER, timer, 0);
            shown.push_back(RunningTimer() == 0 ? kStopped : control.GetBkImage());
        }
        return shown;
    }

    Platform::WindowId window_ = 0;
    SkinUI::CManagerUI manager_;
    TimerRecorder timers_;
};

TEST_F(SequenceTest, FrameOrderFollowsCountLoopAndRound)
{
    struct Case {
        const char* count;
        const char* loop;
        const char* round;
        int ticks;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"0", "true", "false", 3, {"f0", "f0", "f0"}},
        {"0", "false", "false", 3, {kStopped}},
        {"3", "true", "false", 7, {"f0", "f1", "f2", "f0", "f1", "f2", "f0"}},
        {"3", "false", "false", 5, {"f0", "f1", "f2", kStopped}},
        {"3", "true", "true", 9, {"f0", "f1", "f2", "f1", "f0", "f1", "f2", "f1", "f0"}},
        {"3", "false", "true", 6, {"f0", "f1", "f2", "f1", kStopped}},
        {"2", "true", "true", 5, {"f0", "f1", "f0", "f1", "f0"}},
        // One frame back and forth stays on frame 0 instead of counting below it.
        {"1", "true", "true", 4, {"f0", "f0", "f0", "f0"}},
        {"1", "false", "true", 3, {"f0", kStopped}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("count ") + c.count + " loop " + c.loop + " round " + c.round);
        auto* label = Attach(new CSequenceLabelUI, {{"sequencebkimage", "f%d"},
                                                    {"sequencecount", c.count},
                                                    {"sequenceloop", c.loop},
                                                    {"sequenceround", c.round},
                                                    {"autostart", "true"}});
        EXPECT_EQ(Ticks(*label, c.ticks), c.shown);
        manager_.ReleaseTree();
        manager_.Init(window_);
    }
}

TEST_F(SequenceTest, StoppedSequenceKeepsItsLastFrame)
{
    auto* label = Attach(new CSequenceLabelUI,
                         {{"sequencebkimage", "f%d"}, {"sequencecount", "3"}, {"sequenceloop", "false"},
                          {"sequenceround", "true"}, {"autostart", "true"}});
    Ticks(*label, 10);
    EXPECT_EQ(label->GetBkImage(), "f1");
}

TEST_F(SequenceTest, FinishAnimationShowsEveryFrameOnceAndStopsOnTheThirtyFifthTick)
{
    auto* label = Attach(new CSequenceLabelUI, {{"sequencebkimage", "res\\mainWnd\\finishedAnimate\\%.3d.png"},
                                                {"sequencecount", "34"},
                                                {"sequenceloop", "false"}});
    EXPECT_EQ(RunningTimer(), 0u);
    label->Start();
    const std::vector<std::string> shown = Ticks(*label, 40);
    ASSERT_EQ(shown.size(), 35u);
    EXPECT_EQ(shown.front(), "res\\mainWnd\\finishedAnimate\\000.png");
    EXPECT_EQ(shown[33], "res\\mainWnd\\finishedAnimate\\033.png");
    EXPECT_EQ(shown[34], kStopped);
    EXPECT_EQ(label->GetBkImage(), "res\\mainWnd\\finishedAnimate\\033.png");
    // The window hears every tick as a "timer" notification of id 2100.
    EXPECT_EQ(timers_.ids, std::vector<uintptr_t>(35, CFrameSequence::kTimerId));
}

TEST_F(SequenceTest, StartRewindsAndReArmsAStoppedSequence)
{
    auto* label = Attach(new CSequenceLabelUI,
                         {{"sequencebkimage", "f%d"}, {"sequencecount", "2"}, {"sequenceloop", "false"}});
    label->Start();
    EXPECT_EQ(Ticks(*label, 5), (std::vector<std::string>{"f0", "f1", kStopped}));
    label->Start();
    EXPECT_EQ(Ticks(*label, 5), (std::vector<std::string>{"f0", "f1", kStopped}));
}

TEST_F(SequenceTest, StartWhileRunningKeepsTheTimerAndRewinds)
{
    auto* label = Attach(new CSequenceLabelUI, {{"sequencebkimage", "f%d"}, {"sequencecount", "5"}});
    label->Start();
    const uint32_t timer = RunningTimer();
    Ticks(*label, 3);
    label->Start();
    EXPECT_EQ(RunningTimer(), timer);
    EXPECT_EQ(Ticks(*label, 1), std::vector<std::string>{"f0"});
}

TEST_F(SequenceTest, AutostartArmsTheTimerWhenAttached)
{
    Attach(new CSequenceLabelUI, {{"sequencebkimage", "f%d"}, {"autostart", "no"}});
    EXPECT_NE(RunningTimer(), 0u);  // only "false" is false
    manager_.ReleaseTree();
    manager_.Init(window_);
    Attach(new CSequenceLabelUI, {{"sequencebkimage", "f%d"}, {"autostart", "false"}});
    EXPECT_EQ(RunningTimer(), 0u);
}

TEST_F(SequenceTest, WithoutPatternTicksDrawNothing)
{
    auto* label = Attach(new CSequenceLabelUI, {{"sequencecount", "3"}, {"autostart", "true"}, {"bkimage", "keep.png"}});
    EXPECT_EQ(Ticks(*label, 3), (std::vector<std::string>{"keep.png", "keep.png", "keep.png"}));
}

TEST_F(SequenceTest, DestroyingTheLabelKillsItsTimer)
{
    auto* label = new CSequenceLabelUI;
    label->SetManager(&manager_, nullptr, true);
    label->SetAttribute("sequencebkimage", "f%d");
    label->Start();
    ASSERT_NE(RunningTimer(), 0u);
    delete label;
    EXPECT_EQ(RunningTimer(), 0u);
}

TEST_F(SequenceTest, AttributeNamesAndFlagValues)
{
    CSequenceLabelUI label;
    label.SetAttribute("SequenceCount", "7");
    label.SetAttribute("SEQUENCESPAN", "45");
    label.SetAttribute("SequenceBkImage", "upper%d");
    EXPECT_EQ(label.GetSequence().GetCount(), 7);
    EXPECT_EQ(label.GetSequence().GetSpan(), 45);
    EXPECT_EQ(label.GetSequence().GetPattern(), "");
    label.SetAttribute("sequencebkimage", "lower%d");
    EXPECT_EQ(label.GetSequence().GetPattern(), "lower%d");
    // Everything else is the label's.
    label.SetAttribute("text", "hello");
    EXPECT_EQ(label.GetText(), "hello");
}

TEST_F(SequenceTest, LoopFalseInCapitalsStillLoops)
{
    auto* label = Attach(new CSequenceLabelUI, {{"sequencebkimage", "f%d"},
                                                {"sequencecount", "2"},
                                                {"sequenceloop", "FALSE"},
                                                {"autostart", "true"}});
    EXPECT_EQ(Ticks(*label, 4), (std::vector<std::string>{"f0", "f1", "f0", "f1"}));
}

TEST_F(SequenceTest, ClassNamesAndDefaults)
{
    CSequenceLabelUI label;
    CSequenceButtonUI button;
    EXPECT_EQ(label.GetClass(), "SequenceLabel");
    EXPECT_EQ(button.GetClass(), "SequenceButton");
    EXPECT_EQ(label.GetInterface("SequenceLabel"), &label);
    EXPECT_EQ(label.GetInterface("Label"), static_cast<SkinUI::CLabelUI*>(&label));
    EXPECT_EQ(button.GetInterface("SequenceButton"), &button);
    EXPECT_EQ(button.GetInterface("Button"), static_cast<SkinUI::CButtonUI*>(&button));
    EXPECT_EQ(label.GetInterface("SequenceButton"), nullptr);
    EXPECT_EQ(label.GetSequence().GetSpan(), 30);
    EXPECT_EQ(button.GetSequence().GetSpan(), 60);
}

TEST_F(SequenceTest, ButtonPlaysBackAndForthByDefault)
{
    auto* button = Attach(new CSequenceButtonUI,
                          {{"sequencebkimage", "b%d"}, {"sequencecount", "3"}, {"autostart", "true"}});
    EXPECT_EQ(Ticks(*button, 6), (std::vector<std::string>{"b0", "b1", "b2", "b1", "b0", "b1"}));
    EXPECT_EQ(timers_.ids, std::vector<uintptr_t>(6, CFrameSequence::kTimerId));
}

TEST(FrameSequenceTest, FrameNamesComeOnlyFromOneIntegerConversion)
{
    struct Case {
        std::string pattern;
        std::string name;
    };
    const std::vector<Case> cases = {
        {"f%d.png", "f7.png"},
        {"res\\a\\%.3d.png", "res\\a\\007.png"},
        {"%03d", "007"},
        {"%x", "7"},
        {"100%%_%d", "100%_7"},
        {"%s.png", ""},
        {"%d_%d", ""},
        {"%n", ""},
        {"%*d", ""},
        {"%ld", ""},
        {"%5000d", ""},
        {"no conversion", ""},
        {"trailing %", ""},
        {std::string(300, 'a') + "%d", std::string(259, 'a')},
    };
    for (const Case& c : cases) {
        SkinUI::CFrameSequence sequence(30, false);
        sequence.SetPattern(c.pattern);
        EXPECT_EQ(sequence.FrameName(7), c.name) << c.pattern;
    }
}

TEST(FrameSequenceTest, LongNamesAreCutAtWholeCharacters)
{
    std::string pattern;
    for (int i = 0; i < 300; ++i) pattern += "完";
    SkinUI::CFrameSequence sequence(30, false);
    sequence.SetPattern(pattern + "%d");
    std::string expected;
    for (int i = 0; i < 259; ++i) expected += "完";
    EXPECT_EQ(sequence.FrameName(1), expected);
}

}  // namespace

#include "ControlsTestSupport.h"

#include "platform/WindowMessages.h"
#include "skinui/CButtonUI.h"
#include "skinui/CCheckBoxUI.h"
#include "skinui/CContainerUI.h"
#include "skinui/CEditUI.h"
#include "skinui/CHorizontalLayoutUI.h"
#include "skinui/CLabelUI.h"
#include "skinui/COptionUI.h"
#include "skinui/CProgressUI.h"
#include "skinui/CTabLayoutUI.h"
#include "skinui/CTextUI.h"
#include "skinui/CVerticalLayoutUI.h"

#include <algorithm>

using namespace SkinUI;
using ControlsTest::Blue;
using ControlsTest::Green;
using ControlsTest::ManagerTest;
using ControlsTest::Red;

namespace {

template <typename T>
T* Named(T* control, std::string_view name)
{
    control->SetName(name);
    return control;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(ControlClassTest, ClassNamesAndInterfacesFallBackToTheBase)
{
    CCheckBoxUI checkBox;
    EXPECT_EQ(checkBox.GetClass(), "CheckBox");
    EXPECT_EQ(checkBox.GetInterface("CheckBox"), &checkBox);
    EXPECT_EQ(checkBox.GetInterface("Option"), static_cast<COptionUI*>(&checkBox));
    EXPECT_EQ(checkBox.GetInterface("Button"), static_cast<CButtonUI*>(&checkBox));
    EXPECT_EQ(checkBox.GetInterface("Label"), static_cast<CLabelUI*>(&checkBox));
    EXPECT_EQ(checkBox.GetInterface("Control"), static_cast<CControlUI*>(&checkBox));
    EXPECT_EQ(checkBox.GetInterface("Edit"), nullptr);

    CTabLayoutUI tabs;
    EXPECT_EQ(tabs.GetClass(), "TabLayout");
    EXPECT_EQ(tabs.GetInterface("Container"), static_cast<CContainerUI*>(&tabs));
    EXPECT_EQ(tabs.GetInterface("IContainer"), static_cast<IContainerUI*>(&tabs));
    EXPECT_EQ(tabs.GetInterface("VerticalLayout"), nullptr);

    const struct {
        std::unique_ptr<CControlUI> control;
        std::string_view name;
    } classes[] = {
        {std::make_unique<CControlUI>(), "Control"},
        {std::make_unique<CContainerUI>(), "Container"},
        {std::make_unique<CLabelUI>(), "Label"},
        {std::make_unique<CTextUI>(), "Text"},
        {std::make_unique<CButtonUI>(), "Button"},
        {std::make_unique<COptionUI>(), "Option"},
        {std::make_unique<CProgressUI>(), "Progress"},
        {std::make_unique<CEditUI>(), "Edit"},
        {std::make_unique<CVerticalLayoutUI>(), "VerticalLayout"},
        {std::make_unique<CHorizontalLayoutUI>(), "HorizontalLayout"},
    };
    for (const auto& c : classes) {
        EXPECT_EQ(c.control->GetClass(), c.name);
        EXPECT_NE(c.control->GetInterface(c.name), nullptr) << c.name;
    }
}

TEST(ControlClassTest, AttributesSetStateAndUnknownNamesBecomeCustom)
{
    CButtonUI button;
    button.ApplyAttributeList(R"(name="okBtn" pos="10,20,110,60" padding="1,2,3,4" tooltip="tip" tag="7" )"
                              R"(bordersize="1,2,3,4" borderround="4,6" hotborercolor="#FF5A9DFD" menu="true")");
    EXPECT_EQ(button.GetName(), "okBtn");
    EXPECT_EQ(button.GetFixedXY(), (UISize{10, 20}));
    EXPECT_EQ(button.GetFixedWidth(), 100);
    EXPECT_EQ(button.GetFixedHeight(), 40);
    EXPECT_EQ(button.GetPadding(), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(button.GetToolTip(), "tip");
    EXPECT_EQ(button.GetTag(), 7);
    EXPECT_EQ(button.GetBorderSize(), (UIRect{1, 2, 3, 4}));
    EXPECT_EQ(button.GetBorderRound(), (UISize{4, 6}));
    EXPECT_TRUE(button.IsContextMenuUsed());
    EXPECT_EQ(button.GetCustomAttribute("hotborercolor"), "#FF5A9DFD");

    button.SetAttribute("bordersize", "2");
    EXPECT_EQ(button.GetBorderSize(), (UIRect{2, 2, 2, 2}));
    // Names compare exactly.
    button.SetAttribute("Visible", "false");
    EXPECT_TRUE(button.IsVisible());
    button.SetAttribute("visible", "False");
    EXPECT_FALSE(button.IsVisible());
    // A list stops at the first malformed pair.
    button.ApplyAttributeList(R"(text="a" width=12 height="3")");
    EXPECT_EQ(button.GetText(), "a");
    EXPECT_EQ(button.GetFixedHeight(), 40);
}

TEST(ControlClassTest, LabelAlignmentAttributesSearchForWords)
{
    CLabelUI label;
    const uint32_t initial = label.GetTextStyle();
    EXPECT_EQ(initial, DT_SINGLELINE | DT_VCENTER);
    label.SetAttribute("valign", "center");
    EXPECT_EQ(label.GetTextStyle(), initial);
    label.SetAttribute("valign", "bottom");
    EXPECT_EQ(label.GetTextStyle(), DT_SINGLELINE | DT_BOTTOM);
    label.SetAttribute("valign", "top");
    EXPECT_EQ(label.GetTextStyle(), DT_SINGLELINE);
    label.SetAttribute("align", "center");
    EXPECT_EQ(label.GetTextStyle(), DT_SINGLELINE | DT_CENTER);
    label.SetAttribute("align", "right");
    EXPECT_EQ(label.GetTextStyle(), DT_SINGLELINE | DT_RIGHT);
    label.SetAttribute("align", "left");
    EXPECT_EQ(label.GetTextStyle(), DT_SINGLELINE);
    label.SetAttribute("multiline", "true");
    EXPECT_EQ(label.GetTextStyle(), DT_WORDBREAK);
    label.SetAttribute("endellipsis", "true");
    EXPECT_EQ(label.GetTextStyle(), DT_WORDBREAK | DT_END_ELLIPSIS);
    // Text effects are accepted and change nothing.
    label.SetAttribute("enabledstroke", "true");
    EXPECT_EQ(label.GetCustomAttribute("enabledstroke"), "");
}

TEST(ControlClassTest, ProgressClampsAndFillsItsShare)
{
    CProgressUI progress;
    EXPECT_EQ(progress.GetFixedHeight(), 12);
    progress.SetPos({0, 0, 560, 12});
    progress.SetValue(37);
    EXPECT_EQ(progress.FilledRect(), (UIRect{0, 0, 207, 12}));
    progress.SetValue(150);
    EXPECT_EQ(progress.GetValue(), 100);
    progress.SetValue(-5);
    EXPECT_EQ(progress.GetValue(), 0);

    progress.SetAttribute("value", "50");
    progress.SetAttribute("hor", "false");
    progress.SetPos({0, 0, 12, 200});
    EXPECT_EQ(progress.FilledRect(), (UIRect{0, 100, 12, 200}));
    // An empty range counts as one step instead of dividing by zero.
    progress.SetMaxValue(0);
    progress.SetMinValue(0);
    progress.SetHorizontal(true);
    EXPECT_EQ(progress.FilledRect().right, 12);
}

TEST_F(ManagerTest, AnUngroupedCheckBoxClickSendsClickThenSelectChanged)
{
    auto* root = Attach(new CHorizontalLayoutUI, {0, 0, 200, 40});
    auto* checkBox = Named(new CCheckBoxUI, "treatyCb");
    root->Add(checkBox);
    root->SetPos({0, 0, 200, 40});
    Press(checkBox, Center(checkBox), Center(checkBox));
    EXPECT_EQ(recorder_.seen, (Strings{"click@treatyCb", "selectchanged@treatyCb"}));
    EXPECT_TRUE(checkBox->IsSelected());
    Press(checkBox, Center(checkBox), Center(checkBox));
    EXPECT_FALSE(checkBox->IsSelected());
}

TEST_F(ManagerTest, GroupedOptionsAreExclusiveAndAReclickOnlyClicks)
{
    auto* root = Attach(new CHorizontalLayoutUI, {0, 0, 200, 40});
    auto* first = Named(new COptionUI, "first");
    auto* second = Named(new COptionUI, "second");
    auto* other = Named(new COptionUI, "other");
    first->SetGroup("pages");
    second->SetGroup("pages");
    other->SetGroup("elsewhere");
    root->Add(first);
    root->Add(second);
    root->Add(other);
    root->SetPos({0, 0, 300, 40});
    other->Selected(true, false);

    Press(first, Center(first), Center(first));
    EXPECT_EQ(recorder_.seen, (Strings{"click@first", "selectchanged@first"}));
    recorder_.seen.clear();

    Press(first, Center(first), Center(first));
    EXPECT_EQ(recorder_.seen, (Strings{"click@first"}));
    recorder_.seen.clear();

    Press(second, Center(second), Center(second));
    EXPECT_EQ(recorder_.seen, (Strings{"click@second", "selectchanged@second"}));
    EXPECT_FALSE(first->IsSelected());
    EXPECT_TRUE(second->IsSelected());
    EXPECT_TRUE(other->IsSelected());
}

TEST_F(ManagerTest, ButtonClicksOnlyWhenReleasedInside)
{
    auto* root = Attach(new CHorizontalLayoutUI, {0, 0, 200, 40});
    auto* button = Named(new CButtonUI, "okBtn");
    root->Add(button);
    root->Add(new CControlUI);
    root->SetPos({0, 0, 200, 40});

    Press(button, Center(button), {150, 20});
    EXPECT_TRUE(recorder_.seen.empty());
    EXPECT_EQ(button->GetButtonState() & (UISTATE_PUSHED | UISTATE_CAPTURED), 0u);

    // Out and back in again before the release still clicks.
    Send(button, UIEvent::ButtonDown, Center(button));
    Send(button, UIEvent::MouseMove, {150, 20});
    EXPECT_EQ(button->GetButtonState() & UISTATE_PUSHED, 0u);
    Send(button, UIEvent::MouseMove, Center(button));
    EXPECT_NE(button->GetButtonState() & UISTATE_PUSHED, 0u);
    Send(button, UIEvent::ButtonUp, Center(button));
    EXPECT_EQ(recorder_.seen, (Strings{"click@okBtn"}));
}

TEST_F(ManagerTest, ButtonKeysHoverAndDisabledState)
{
    auto* root = Attach(new CHorizontalLayoutUI, {0, 0, 200, 40});
    auto* button = Named(new CButtonUI, "okBtn");
    root->Add(button);
    root->SetPos({0, 0, 200, 40});

    Send(button, UIEvent::KeyDown, {}, Platform::VK_SPACE);
    Send(button, UIEvent::KeyDown, {}, Platform::VK_RETURN);
    Send(button, UIEvent::KeyDown, {}, 'A');
    EXPECT_EQ(recorder_.seen, (Strings{"click@okBtn", "click@okBtn"}));
    recorder_.seen.clear();

    Send(button, UIEvent::MouseEnter, Center(button));
    Send(button, UIEvent::MouseEnter, Center(button));
    // A leave while the pointer is still inside is only remembered.
    Send(button, UIEvent::MouseLeave, Center(button));
    Send(button, UIEvent::MouseLeave, {500, 500});
    EXPECT_EQ(recorder_.seen, (Strings{"mouseenter@okBtn", "mouseleave@okBtn"}));
    recorder_.seen.clear();

    Send(button, UIEvent::MouseEnter, Center(button));
    button->SetEnabled(false);
    EXPECT_EQ(button->GetButtonState(), 0u);
    Send(button, UIEvent::KeyDown, {}, Platform::VK_SPACE);
    Press(button, Center(button), Center(button));
    EXPECT_FALSE(button->Activate());
    EXPECT_EQ(recorder_.seen, (Strings{"mouseenter@okBtn"}));
}

TEST_F(ManagerTest, ButtonWithoutMouseInputHandsMouseEventsToItsParent)
{
    auto* root = Attach(new CHorizontalLayoutUI, {0, 0, 200, 40});
    auto* button = Named(new CButtonUI, "okBtn");
    button->SetMouseEnabled(false);
    root->Add(button);
    root->SetPos({0, 0, 200, 40});
    Press(button, Center(button), Center(button));
    EXPECT_TRUE(recorder_.seen.empty());
}

TEST_F(ManagerTest, TabSelectionNotifiesOnlyForADifferentChild)
{
    auto* tabs = Attach(Named(new CTabLayoutUI, "mainTabLt"), {0, 0, 100, 100});
    auto* first = new CButtonUI;
    auto* second = new CButtonUI;
    tabs->Add(first);
    tabs->Add(second);
    auto tabSelects = [this] { return std::count(recorder_.seen.begin(), recorder_.seen.end(), "tabselect@mainTabLt"); };
    EXPECT_TRUE(tabs->SelectItem(0));
    EXPECT_EQ(tabSelects(), 0);
    EXPECT_TRUE(tabs->SelectItem(1));
    EXPECT_EQ(tabSelects(), 1);
    EXPECT_EQ(recorder_.last.wParam, 1u);
    EXPECT_EQ(recorder_.last.lParam, 0);
    // The new page gets the focus.
    EXPECT_EQ(manager_.GetFocus(), second);
    recorder_.seen.clear();
    EXPECT_TRUE(tabs->SelectItem(1, true));
    EXPECT_TRUE(recorder_.seen.empty());
    EXPECT_TRUE(tabs->SelectItem(0, false));
    EXPECT_EQ(tabSelects(), 0);
    tabs->SetAttribute("selectedid", "1");
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_EQ(tabSelects(), 1);
}

TEST_F(ManagerTest, InvisibleControlsAreSkippedByHitTestingAndCannotTakeTheFocus)
{
    auto* root = Attach(Named(new CContainerUI, "root"), {0, 0, 100, 100});
    auto* below = Named(new CButtonUI, "below");
    auto* above = Named(new CButtonUI, "above");
    root->Add(below);
    root->Add(above);
    root->SetPos({0, 0, 100, 100});
    EXPECT_EQ(manager_.FindControl(UIPoint{50, 50}), above);
    above->SetAttribute("visible", "false");
    EXPECT_EQ(manager_.FindControl(UIPoint{50, 50}), below);
    above->SetFocus();
    EXPECT_EQ(manager_.GetFocus(), nullptr);

    // Hiding the focused control clears the focus.
    below->SetFocus();
    EXPECT_EQ(manager_.GetFocus(), below);
    root->SetVisible(false);
    EXPECT_EQ(manager_.GetFocus(), nullptr);
    EXPECT_FALSE(below->IsFocused());
}

TEST_F(ManagerTest, MouseDisabledChildrenAndPointsOutsideTheContentAreNotHit)
{
    auto* root = Attach(Named(new CVerticalLayoutUI, "root"), {0, 0, 100, 100});
    root->SetInset({0, 10, 0, 0});
    auto* button = Named(new CButtonUI, "btn");
    root->Add(button);
    root->SetPos({0, 0, 100, 100});
    EXPECT_EQ(manager_.FindControl(UIPoint{50, 20}), button);
    EXPECT_EQ(manager_.FindControl(UIPoint{50, 5}), root);
    root->SetMouseChildEnabled(false);
    EXPECT_EQ(manager_.FindControl(UIPoint{50, 20}), root);
    root->SetMouseChildEnabled(true);
    button->SetMouseEnabled(false);
    EXPECT_EQ(manager_.FindControl(UIPoint{50, 20}), root);
}

TEST_F(ManagerTest, ControlsAddedLaterJoinTheNameMapAndLeaveItWhenDestroyed)
{
    auto* root = Attach(Named(new CVerticalLayoutUI, "root"), {0, 0, 100, 100});
    auto* button = Named(new CButtonUI, "late");
    root->Add(button);
    EXPECT_EQ(manager_.FindControl("late"), button);
    button->SetFocus();
    // Without a running window a removed child goes at once, and the manager forgets it.
    root->Remove(button);
    EXPECT_EQ(manager_.FindControl("late"), nullptr);
    EXPECT_EQ(manager_.GetFocus(), nullptr);
}

TEST_F(ManagerTest, LabelsMeasureTheirTextUnlessSized)
{
    auto* column = Attach(new CVerticalLayoutUI, {0, 0, 300, 400});
    auto* label = new CLabelUI;
    label->SetText("安装完成");
    label->SetTextPadding({2, 3, 4, 5});
    column->Add(label);
    column->Add(new CControlUI);
    column->SetPos({0, 0, 300, 400});
    const int lineHeight = manager_.GetFontLineHeight(-1);
    ASSERT_GT(lineHeight, 0);
    EXPECT_EQ(label->GetHeight(), lineHeight + 8 + 3 + 5);
    EXPECT_EQ(label->GetWidth(), 300);

    const UISize single = label->EstimateSize({300, 400});
    EXPECT_GT(single.cx, 6);
    label->SetText("安装完成安装完成");
    EXPECT_GT(label->EstimateSize({300, 400}).cx, single.cx);
    // The cached estimate follows a change of font.
    const UISize before = label->EstimateSize({300, 400});
    ASSERT_NE(manager_.GetResources().AddFont(5, "微软雅黑", 40, false, false, false), nullptr);
    label->SetAttribute("font", "5");
    EXPECT_GT(label->EstimateSize({300, 400}).cy, before.cy);
    EXPECT_GT(label->EstimateSize({300, 400}).cx, before.cx);

    // A multi-line label wraps within the available width and follows it.
    label->SetAttribute("multiline", "true");
    const UISize wide = label->EstimateSize({1000, 400});
    const UISize narrow = label->EstimateSize({40, 400});
    EXPECT_EQ(wide.cx, 1000);
    EXPECT_GT(narrow.cy, wide.cy);

    // In a row, a label without "width" shares the free space whatever its text.
    auto* row = new CHorizontalLayoutUI;
    auto* rowLabel = new CLabelUI;
    rowLabel->SetText("x");
    row->Add(rowLabel);
    row->Add(new CControlUI);
    manager_.AttachDialog(row);
    row->SetPos({0, 0, 300, 30});
    EXPECT_EQ(rowLabel->GetWidth(), 150);
}

TEST_F(ManagerTest, BackgroundColoursAndTextColours)
{
    auto* root = Attach(new CVerticalLayoutUI, {0, 0, 100, 60});
    auto* clear = new CControlUI;
    clear->SetAttribute("height", "20");
    clear->SetAttribute("bkcolor", "#00000000");
    auto* filled = new CControlUI;
    filled->SetAttribute("height", "20");
    filled->SetAttribute("bkcolor", "#FF102030");
    auto* label = new CLabelUI;
    label->SetAttribute("height", "20");
    label->SetAttribute("bkcolor", "#FF000000");
    label->SetAttribute("textcolor", "#FFFFFF");
    label->SetText("WWWW");
    root->Add(clear);
    root->Add(filled);
    root->Add(label);
    root->SetPos({0, 0, 100, 60});
    const CRenderEngine& render = Paint(100, 60);
    EXPECT_EQ(render.PixelAt(50, 10), 0u);
    EXPECT_EQ(render.PixelAt(50, 30), 0xFF102030u);
    // "#FFFFFF" has alpha 0, which text ignores: white strokes on black.
    const int white = CountPixels(render, {0, 40, 100, 60}, [](uint32_t p) {
        return Red(p) > 200 && Green(p) > 200 && Blue(p) > 200;
    });
    EXPECT_GT(white, 5);
}

TEST_F(ManagerTest, ProgressPaintsItsForeImageOverTheFilledPart)
{
    auto* root = Attach(new CVerticalLayoutUI, {0, 0, 560, 12});
    auto* progress = new CProgressUI;
    progress->SetAttribute("foreimage", "color='#FFFF0000'");
    progress->SetAttribute("isstretchfore", "false");
    progress->SetAttribute("value", "37");
    root->Add(progress);
    root->SetPos({0, 0, 560, 12});
    const CRenderEngine& render = Paint(560, 12);
    EXPECT_EQ(render.PixelAt(0, 6), 0xFFFF0000u);
    EXPECT_EQ(render.PixelAt(206, 6), 0xFFFF0000u);
    EXPECT_EQ(render.PixelAt(207, 6), 0u);
    EXPECT_EQ(progress->GetCustomAttribute("isstretchfore"), "false");
}

TEST_F(ManagerTest, ImageDescriptorsDrawTheirFileAndIgnoreATrailingName)
{
    auto* root = Attach(new CVerticalLayoutUI, {0, 0, 40, 40});
    auto* box = new CCheckBoxUI;
    box->SetAttribute("normalimage", "color='#FF00FF00' dest='0,0,18,18'res\\mainWnd\\treatyCb4.png");
    box->SetAttribute("selectedimage", "color='#FF0000FF' dest='0,0,18,18'");
    auto* missing = new CControlUI;
    missing->SetAttribute("bkimage", "res\\nothing-here.png");
    missing->SetAttribute("height", "10");
    root->Add(box);
    root->Add(missing);
    root->SetPos({0, 0, 40, 40});
    const CRenderEngine& before = Paint(40, 40);
    EXPECT_EQ(before.PixelAt(9, 9), 0xFF00FF00u);
    EXPECT_EQ(before.PixelAt(20, 9), 0u);
    EXPECT_EQ(before.PixelAt(9, 35), 0u);
    box->Selected(true, false);
    EXPECT_EQ(Paint(40, 40).PixelAt(9, 9), 0xFF0000FFu);
}

TEST_F(ManagerTest, ContainersPaintThemselvesThenChildrenClippedToTheirContent)
{
    auto* root = Attach(new CContainerUI, {0, 0, 60, 60});
    root->SetAttribute("bkcolor", "#FF0000FF");
    root->SetAttribute("inset", "10,10,10,10");
    auto* inner = new CControlUI;
    inner->SetAttribute("bkcolor", "#FFFF0000");
    auto* floating = new CControlUI;
    floating->SetAttribute("float", "true");
    floating->SetAttribute("pos", "50,50,80,80");
    floating->SetAttribute("bkcolor", "#FF00FF00");
    root->Add(inner);
    root->Add(floating);
    root->SetPos({0, 0, 60, 60});
    const CRenderEngine& render = Paint(80, 80);
    EXPECT_EQ(render.PixelAt(5, 5), 0xFF0000FFu);
    EXPECT_EQ(render.PixelAt(30, 30), 0xFFFF0000u);
    // The floating child is clipped to the container's rectangle, not its content.
    EXPECT_EQ(render.PixelAt(55, 55), 0xFF00FF00u);
    EXPECT_EQ(render.PixelAt(65, 65), 0u);

    // Painting stops at the stop control: it and what follows stay unpainted.
    CRenderEngine& again = manager_.GetRenderEngine();
    again.Clear({0, 0, 80, 80});
    EXPECT_FALSE(root->Paint(again, {0, 0, 80, 80}, floating));
    EXPECT_EQ(again.PixelAt(30, 30), 0xFFFF0000u);
    EXPECT_EQ(again.PixelAt(55, 55), 0xFF0000FFu);
}

TEST_F(ManagerTest, EmptyEditShowsItsTipInTheTipColour)
{
    auto* root = Attach(new CVerticalLayoutUI, {0, 0, 200, 30});
    auto* edit = new CEditUI;
    edit->SetAttribute("tipvalue", "请输入");
    edit->SetAttribute("tipvaluecolor", "#FFFF0000");
    root->Add(edit);
    root->SetPos({0, 0, 200, 30});
    auto reddish = [](uint32_t p) { return Red(p) > 200 && Green(p) < 120 && Blue(p) < 120; };
    EXPECT_GT(CountPixels(Paint(200, 30), {0, 0, 200, 30}, reddish), 5);
    edit->SetText("abc");
    EXPECT_EQ(CountPixels(Paint(200, 30), {0, 0, 200, 30}, reddish), 0);
}

#include "skinui/CContainerUI.h"
#include "skinui/CHorizontalLayoutUI.h"
#include "skinui/CTabLayoutUI.h"
#include "skinui/CVerticalLayoutUI.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace SkinUI;

namespace {

// A plain control with the given fixed width and height (0 = stretch).
CControlUI* Spacer(int width, int height)
{
    auto* control = new CControlUI;
    control->SetFixedWidth(width);
    control->SetFixedHeight(height);
    return control;
}

CControlUI* Stretch()
{
    return Spacer(0, 0);
}

std::vector<int> Widths(const CContainerUI& container)
{
    std::vector<int> widths;
    for (int index = 0; index < container.GetCount(); ++index) {
        widths.push_back(container.GetItemAt(index)->GetWidth());
    }
    return widths;
}

std::vector<int> Heights(const CContainerUI& container)
{
    std::vector<int> heights;
    for (int index = 0; index < container.GetCount(); ++index) {
        heights.push_back(container.GetItemAt(index)->GetHeight());
    }
    return heights;
}

} // namespace

TEST(LayoutTest, TitleBarStretchingControlGetsTheRest)
{
    CHorizontalLayoutUI bar;
    bar.Add(Spacer(10, 0));
    auto* tabs = new CTabLayoutUI;
    tabs->SetFixedWidth(200);
    bar.Add(tabs);
    CControlUI* stretch = Stretch();
    bar.Add(stretch);
    bar.Add(Spacer(10, 0));
    auto* buttons = new CVerticalLayoutUI;
    buttons->SetFixedWidth(40);
    bar.Add(buttons);
    bar.Add(Spacer(10, 0));
    bar.Add(Spacer(2, 0));
    bar.SetPos({0, 0, 600, 35});
    EXPECT_EQ(stretch->GetWidth(), 328);
    EXPECT_EQ(stretch->GetPos(), (UIRect{210, 0, 538, 35}));
    EXPECT_EQ(bar.GetItemAt(6)->GetPos(), (UIRect{598, 0, 600, 35}));
}

TEST(LayoutTest, StretchingChildrenShareAndTheLastTakesTheRemainder)
{
    CHorizontalLayoutUI row;
    CVerticalLayoutUI column;
    for (int i = 0; i < 3; ++i) {
        row.Add(Stretch());
        column.Add(Stretch());
    }
    row.SetPos({0, 0, 100, 10});
    column.SetPos({0, 0, 10, 100});
    EXPECT_EQ(Widths(row), (std::vector<int>{33, 33, 34}));
    EXPECT_EQ(Heights(column), (std::vector<int>{33, 33, 34}));
    EXPECT_EQ(column.GetItemAt(2)->GetPos(), (UIRect{0, 66, 10, 100}));
}

TEST(LayoutTest, PaddingInsetAndChildPaddingTakeSpace)
{
    CVerticalLayoutUI column;
    column.SetInset({5, 10, 5, 10});
    column.SetChildPadding(4);
    CControlUI* top = Spacer(0, 20);
    top->SetPadding({2, 3, 4, 5});
    column.Add(top);
    column.Add(Stretch());
    column.SetPos({0, 0, 100, 200});
    // Content 10..190 (180 high); fixed 20 + 3 + 5 + gap 4 = 32, the stretch gets 148.
    EXPECT_EQ(top->GetPos(), (UIRect{7, 13, 91, 33}));
    EXPECT_EQ(column.GetItemAt(1)->GetPos(), (UIRect{5, 42, 95, 190}));
}

TEST(LayoutTest, MinimumAndMaximumSizesClampShares)
{
    CHorizontalLayoutUI row;
    CControlUI* narrow = Stretch();
    narrow->SetMaxWidth(20);
    CControlUI* wide = Stretch();
    wide->SetMinWidth(90);
    row.Add(narrow);
    row.Add(wide);
    row.SetPos({0, 0, 100, 30});
    EXPECT_EQ(narrow->GetWidth(), 20);
    EXPECT_EQ(wide->GetWidth(), 90);
    // Heights follow the row unless limited.
    narrow->SetMaxHeight(12);
    row.SetPos({0, 0, 100, 30});
    EXPECT_EQ(narrow->GetHeight(), 12);
    EXPECT_EQ(wide->GetHeight(), 30);
}

TEST(LayoutTest, InvisibleChildrenTakeNoSpaceAndNoGap)
{
    CHorizontalLayoutUI row;
    row.SetChildPadding(10);
    row.Add(Stretch());
    CControlUI* hidden = Spacer(30, 0);
    hidden->SetVisible(false);
    row.Add(hidden);
    row.Add(Stretch());
    row.SetPos({0, 0, 110, 10});
    EXPECT_EQ(Widths(row)[0], 50);
    EXPECT_EQ(row.GetItemAt(2)->GetPos(), (UIRect{60, 0, 110, 10}));
    EXPECT_TRUE(hidden->GetPos().IsEmpty());
}

TEST(LayoutTest, ChildAlignmentAcrossTheLayoutDirection)
{
    const struct {
        int align;
        UIRect expected;
    } vertical[] = {
        {UIALIGN_LEFT, {15, 0, 55, 10}},
        // Centred: the child's left and right padding do not count.
        {UIALIGN_CENTER, {30, 0, 70, 10}},
        {UIALIGN_RIGHT, {55, 0, 95, 10}},
    };
    for (const auto& c : vertical) {
        CVerticalLayoutUI column;
        column.SetChildAlign(c.align);
        CControlUI* child = Spacer(40, 10);
        child->SetPadding({15, 0, 5, 0});
        column.Add(child);
        column.SetPos({0, 0, 100, 100});
        EXPECT_EQ(child->GetPos(), c.expected) << c.align;
    }
    const struct {
        int align;
        UIRect expected;
    } horizontal[] = {
        {UIALIGN_TOP, {0, 4, 10, 24}},
        {UIALIGN_VCENTER, {0, 50, 10, 70}},
        {UIALIGN_BOTTOM, {0, 94, 10, 114}},
    };
    for (const auto& c : horizontal) {
        CHorizontalLayoutUI row;
        row.SetChildVAlign(c.align);
        CControlUI* child = Spacer(10, 20);
        child->SetPadding({0, 4, 0, 6});
        row.Add(child);
        row.SetPos({0, 0, 100, 120});
        EXPECT_EQ(child->GetPos(), c.expected) << c.align;
    }
}

TEST(LayoutTest, ChildAlignAttributeKnowsThreeWords)
{
    CVerticalLayoutUI column;
    column.SetAttribute("childalign", "center");
    EXPECT_EQ(column.GetChildAlign(), UIALIGN_CENTER);
    column.SetAttribute("childalign", "middle");
    EXPECT_EQ(column.GetChildAlign(), UIALIGN_CENTER);
    column.SetAttribute("childalign", "right");
    EXPECT_EQ(column.GetChildAlign(), UIALIGN_RIGHT);
    column.SetAttribute("childvalign", "vcenter");
    EXPECT_EQ(column.GetChildVAlign(), UIALIGN_VCENTER);
}

TEST(LayoutTest, NegativeSpaceClampsToZero)
{
    CVerticalLayoutUI column;
    column.Add(Spacer(0, 80));
    column.Add(Stretch());
    column.Add(Spacer(0, 80));
    column.SetPos({0, 0, 50, 100});
    EXPECT_EQ(Heights(column), (std::vector<int>{80, 0, 80}));
    EXPECT_EQ(column.GetItemAt(2)->GetPos().top, 80);
}

TEST(LayoutTest, PlainContainerGivesEveryChildTheContentArea)
{
    CContainerUI box;
    box.SetInset({1, 2, 3, 4});
    CControlUI* limited = Stretch();
    limited->SetMaxWidth(10);
    box.Add(Stretch());
    box.Add(limited);
    box.SetPos({0, 0, 50, 40});
    EXPECT_EQ(box.GetItemAt(0)->GetPos(), (UIRect{1, 2, 47, 36}));
    EXPECT_EQ(limited->GetPos(), (UIRect{1, 2, 11, 36}));
}

TEST(LayoutTest, FloatingChildrenArePlacedFromTheirPositionAndPercents)
{
    CVerticalLayoutUI column;
    column.Add(Stretch());
    auto* floating = new CControlUI;
    floating->SetAttribute("pos", "10,20,40,30");
    floating->SetAttribute("float", "true");
    column.Add(floating);
    auto* anchored = new CControlUI;
    anchored->SetAttribute("pos", "0,0,20,10");
    anchored->SetAttribute("float", "0.5,0.5,0.5,0.5");
    column.Add(anchored);
    column.SetPos({100, 100, 301, 201});
    // Floating children take no space from the others.
    EXPECT_EQ(column.GetItemAt(0)->GetPos(), (UIRect{100, 100, 301, 201}));
    EXPECT_EQ(floating->GetPos(), (UIRect{110, 120, 140, 130}));
    // floor(201 * 0.5) = 100, floor(101 * 0.5) = 50.
    EXPECT_EQ(anchored->GetPos(), (UIRect{200, 150, 220, 160}));
    // Laying out again keeps them in place.
    column.SetPos({100, 100, 301, 201});
    EXPECT_EQ(anchored->GetPos(), (UIRect{200, 150, 220, 160}));
    EXPECT_EQ(anchored->GetFixedXY(), (UISize{0, 0}));
    EXPECT_EQ(anchored->GetFixedWidth(), 20);
}

TEST(LayoutTest, TabLayoutShowsOnlyTheSelectedChild)
{
    CTabLayoutUI tabs;
    CControlUI* first = Stretch();
    CControlUI* second = Spacer(30, 0);
    second->SetPadding({5, 5, 0, 0});
    tabs.Add(first);
    tabs.Add(second);
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_TRUE(first->IsVisible());
    EXPECT_FALSE(second->IsVisible());
    tabs.SetPos({0, 0, 100, 50});
    EXPECT_EQ(first->GetPos(), (UIRect{0, 0, 100, 50}));

    EXPECT_TRUE(tabs.SelectItem(1));
    EXPECT_FALSE(first->IsVisible());
    EXPECT_TRUE(second->IsVisible());
    tabs.SetPos({0, 0, 100, 50});
    EXPECT_EQ(second->GetPos(), (UIRect{5, 5, 35, 50}));

    EXPECT_FALSE(tabs.SelectItem(2));
    EXPECT_FALSE(tabs.SelectItem(-1));
    EXPECT_TRUE(tabs.SelectItem(1));
    EXPECT_EQ(tabs.GetCurSel(), 1);
}

TEST(LayoutTest, TabLayoutStartsOnTheFirstVisibleChild)
{
    CTabLayoutUI tabs;
    CControlUI* hidden = Stretch();
    hidden->SetVisible(false);
    CControlUI* page = Stretch();
    tabs.Add(hidden);
    tabs.Add(page);
    tabs.Add(Stretch());
    EXPECT_EQ(tabs.GetCurSel(), 1);
    EXPECT_TRUE(page->IsVisible());
    EXPECT_FALSE(tabs.GetItemAt(2)->IsVisible());
}

TEST(LayoutTest, TabLayoutStartsOnTheFirstVisibleChildWhenTheFirstIsHiddenAfterAdding)
{
    // The builder applies a page's attributes after adding it.
    CTabLayoutUI tabs;
    CControlUI* first = Stretch();
    tabs.Add(first);
    tabs.Add(Stretch());
    first->SetVisible(false);
    tabs.GetItemAt(1)->SetVisible(true);
    tabs.Init();
    EXPECT_EQ(tabs.GetCurSel(), 1);
}

TEST(LayoutTest, TabLayoutKeepsItsSelectionWhenChildrenComeAndGo)
{
    CTabLayoutUI tabs;
    for (int i = 0; i < 3; ++i) {
        tabs.Add(Stretch());
    }
    tabs.SelectItem(1);
    CControlUI* selected = tabs.GetItemAt(1);
    tabs.AddAt(Stretch(), 0);
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_EQ(tabs.GetItemAt(tabs.GetCurSel()), selected);
    tabs.RemoveAt(0);
    EXPECT_EQ(tabs.GetCurSel(), 1);
    tabs.Remove(selected);
    EXPECT_EQ(tabs.GetCurSel(), 0);
    EXPECT_TRUE(tabs.GetItemAt(0)->IsVisible());
    tabs.RemoveAll();
    EXPECT_EQ(tabs.GetCurSel(), -1);
}

TEST(LayoutTest, ContainerRefusesBadChildren)
{
    CVerticalLayoutUI column;
    CControlUI child;
    EXPECT_FALSE(column.Add(nullptr));
    EXPECT_FALSE(column.Add(&column));
    EXPECT_FALSE(column.AddAt(&child, 1));
    EXPECT_FALSE(column.AddAt(&child, -1));
    EXPECT_FALSE(column.Remove(&child));
    EXPECT_FALSE(column.RemoveAt(0));
    EXPECT_EQ(column.GetItemAt(0), nullptr);
    EXPECT_EQ(column.GetItemIndex(&child), -1);
}

TEST(LayoutTest, HidingAContainerHidesItsChildrenInternally)
{
    CVerticalLayoutUI column;
    CControlUI* child = Stretch();
    column.Add(child);
    column.SetVisible(false);
    EXPECT_FALSE(child->IsVisible());
    column.SetVisible(true);
    EXPECT_TRUE(child->IsVisible());
    // Adding to a hidden container hides the new child too.
    column.SetVisible(false);
    CControlUI* late = Stretch();
    column.Add(late);
    EXPECT_FALSE(late->IsVisible());
}

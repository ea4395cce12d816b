#include "ControlsTestSupport.h"

#include "platform/WindowMessages.h"
#include "skinui/CEditUI.h"
#include "skinui/CTextEditState.h"
#include "skinui/CVerticalLayoutUI.h"

#include <algorithm>

using namespace SkinUI;
using ControlsTest::ManagerTest;

TEST(TextEditStateTest, EditsKeepWholeCharacters)
{
    CTextEditState state;
    state.SetText("安装a");
    EXPECT_EQ(state.Caret(), 7u);
    state.MoveLeft(false);
    EXPECT_EQ(state.Caret(), 6u);
    state.MoveLeft(false);
    EXPECT_EQ(state.Caret(), 3u);
    EXPECT_TRUE(state.DeleteBackward());
    EXPECT_EQ(state.Text(), "装a");
    EXPECT_FALSE(state.DeleteBackward());
    EXPECT_TRUE(state.DeleteForward());
    EXPECT_EQ(state.Text(), "a");
    // A position inside a character moves back to its start.
    state.SetText("完成");
    state.MoveTo(4, false);
    EXPECT_EQ(state.Caret(), 3u);
    EXPECT_EQ(state.Boundaries(), (std::vector<size_t>{0, 3, 6}));
}

TEST(TextEditStateTest, SelectionIsReplacedOrCollapsed)
{
    CTextEditState state;
    state.SetText("abcdef");
    state.MoveHome(false);
    state.MoveRight(true);
    state.MoveRight(true);
    EXPECT_EQ(state.SelectionStart(), 0u);
    EXPECT_EQ(state.SelectionEnd(), 2u);
    EXPECT_TRUE(state.Insert("中"));
    EXPECT_EQ(state.Text(), "中cdef");
    state.SelectAll();
    state.MoveLeft(false);
    EXPECT_FALSE(state.HasSelection());
    EXPECT_EQ(state.Caret(), 0u);
    state.MoveEnd(true);
    EXPECT_TRUE(state.DeleteForward());
    EXPECT_EQ(state.Text(), "");
}

TEST(TextEditStateTest, InsertFiltersAndRespectsTheLimits)
{
    const struct {
        const char* initial;
        const char* inserted;
        size_t maxChars;
        bool numberOnly;
        const char* expected;
    } cases[] = {
        {"", "line one\nline two", 255, false, "line one"},
        {"", "tab\there", 255, false, "tabhere"},
        {"", "ab\xFF", 255, false, "ab\xEF\xBF\xBD"},
        {"abc", "defg", 5, false, "abcde"},
        {"abcde", "f", 5, false, "abcde"},
        {"", "中文字符", 3, false, "中文字"},
        {"12", "3", 255, true, "123"},
        {"12", "3a", 255, true, "12"},
    };
    for (const auto& c : cases) {
        CTextEditState state;
        state.SetMaxChars(c.maxChars);
        state.SetNumberOnly(c.numberOnly);
        state.SetText(c.initial);
        state.Insert(c.inserted);
        EXPECT_EQ(state.Text(), c.expected) << c.inserted;
    }
    CTextEditState readOnly;
    readOnly.SetText("keep");
    readOnly.SetReadOnly(true);
    EXPECT_FALSE(readOnly.Insert("x"));
    EXPECT_FALSE(readOnly.DeleteBackward());
    EXPECT_EQ(readOnly.Text(), "keep");
}

TEST(TextEditStateTest, CodePointsEncodeAsUtf8)
{
    EXPECT_EQ(CTextEditState::EncodeCodePoint('a'), "a");
    EXPECT_EQ(CTextEditState::EncodeCodePoint(0xE9), "\xC3\xA9");
    EXPECT_EQ(CTextEditState::EncodeCodePoint(0x5B89), "安");
    EXPECT_EQ(CTextEditState::EncodeCodePoint(0x1F600), "\xF0\x9F\x98\x80");
    EXPECT_EQ(CTextEditState::EncodeCodePoint(0xD800), "");
    EXPECT_EQ(CTextEditState::EncodeCodePoint(0x110000), "");
}

namespace {

class EditTest : public ManagerTest {
protected:
    void SetUp() override
    {
        ManagerTest::SetUp();
        auto* root = Attach(new CVerticalLayoutUI, {0, 0, 300, 40});
        edit_ = new CEditUI;
        edit_->SetName("installDirEdit");
        edit_->SetFixedHeight(30);
        root->Add(edit_);
        root->SetPos({0, 0, 300, 40});
    }

    void Type(std::u32string_view text)
    {
        for (char32_t ch : text) {
            Send(edit_, UIEvent::Char, {}, static_cast<uint32_t>(ch));
        }
    }

    void Key(uintptr_t key, uint16_t keyState = 0) { Send(edit_, UIEvent::KeyDown, {}, static_cast<uint32_t>(key), keyState); }

    long Count(const std::string& type) const
    {
        return std::count(recorder_.seen.begin(), recorder_.seen.end(), type + "@installDirEdit");
    }

    CEditUI* edit_ = nullptr;
};

} // namespace

TEST_F(EditTest, TypingDeletingMovingSelectingAndPastingChineseText)
{
    edit_->SetFocus();
    ASSERT_TRUE(edit_->IsEditing());
    Type(U"安装目录");
    EXPECT_EQ(edit_->GetText(), "安装目录");
    EXPECT_EQ(Count("textchanged"), 4);

    Key(Platform::VK_LEFT);
    Key(Platform::VK_BACK);
    EXPECT_EQ(edit_->GetText(), "安装录");
    Key(Platform::VK_HOME);
    Key(Platform::VK_DELETE);
    EXPECT_EQ(edit_->GetText(), "装录");
    Key(Platform::VK_END);
    Key(Platform::VK_LEFT, kKeyStateShift);
    Key(Platform::VK_LEFT, kKeyStateShift);
    EXPECT_EQ(edit_->GetSelectionStart(), 0u);
    EXPECT_EQ(edit_->GetSelectionEnd(), 6u);

    headless_->SetClipboardText("转换器\n第二行");
    Key('V', kKeyStateControl);
    // The character a toolkit may send for Control+V inserts nothing.
    Send(edit_, UIEvent::Char, {}, 'v', kKeyStateControl);
    EXPECT_EQ(edit_->GetText(), "转换器");
    EXPECT_EQ(edit_->GetCaret(), 9u);

    Key('A', kKeyStateControl);
    Type(U"D");
    EXPECT_EQ(edit_->GetText(), "D");
    EXPECT_EQ(Count("textchanged"), 8);

    // Moving the caret or a refused edit sends nothing.
    recorder_.seen.clear();
    Key(Platform::VK_HOME);
    Key(Platform::VK_BACK);
    Type(U"\x01");
    EXPECT_TRUE(recorder_.seen.empty());

    Key(Platform::VK_RETURN);
    EXPECT_EQ(recorder_.seen, (std::vector<std::string>{"return@installDirEdit"}));
}

TEST_F(EditTest, CopyAndCutTakeTheSelectionButNeverAPassword)
{
    const struct {
        const char* what;
        bool password;
        bool readOnly;
        bool selectAll;
        uintptr_t key;
        const char* clipboard;  // after the key
        const char* text;       // after the key
    } cases[] = {
        {"copy", false, false, true, 'C', "安装目录", "安装目录"},
        {"cut", false, false, true, 'X', "安装目录", ""},
        {"copy of a read-only text", false, true, true, 'C', "安装目录", "安装目录"},
        {"cut of a read-only text", false, true, true, 'X', "earlier", "安装目录"},
        {"nothing selected", false, false, false, 'C', "earlier", "安装目录"},
        {"password copy", true, false, true, 'C', "earlier", "安装目录"},
        {"password cut", true, false, true, 'X', "earlier", "安装目录"},
    };
    edit_->SetFocus();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        edit_->SetPasswordMode(c.password);
        edit_->SetReadOnly(false);
        edit_->SetText("安装目录");
        edit_->SetReadOnly(c.readOnly);
        Key(Platform::VK_END);
        if (c.selectAll) Key('A', kKeyStateControl);
        headless_->SetClipboardText("earlier");
        recorder_.seen.clear();
        Key(c.key, kKeyStateControl);
        EXPECT_EQ(headless_->GetClipboardText(), c.clipboard);
        EXPECT_EQ(edit_->GetText(), c.text);
        EXPECT_EQ(Count("textchanged"), std::string(c.text).empty() ? 1 : 0);
    }
}

TEST_F(EditTest, EditingStartsWithTheFocusAndEndsWithIt)
{
    edit_->SetText("C:/Program Files");
    EXPECT_FALSE(edit_->IsEditing());
    edit_->SetFocus();
    EXPECT_TRUE(edit_->IsEditing());
    EXPECT_EQ(edit_->GetCaret(), edit_->GetText().size());
    EXPECT_EQ(edit_->GetSelectionStart(), edit_->GetSelectionEnd());
    manager_.SetFocus(nullptr);
    EXPECT_FALSE(edit_->IsEditing());

    edit_->SetAttribute("autoselall", "true");
    edit_->SetFocus();
    EXPECT_EQ(edit_->GetSelectionStart(), 0u);
    EXPECT_EQ(edit_->GetSelectionEnd(), edit_->GetText().size());
    edit_->SetVisible(false);
    EXPECT_FALSE(edit_->IsEditing());

    edit_->SetVisible(true);
    edit_->SetEnabled(false);
    edit_->SetFocus();
    EXPECT_FALSE(edit_->IsEditing());
}

TEST_F(EditTest, ClicksPlaceTheCaretAndDragsSelect)
{
    edit_->SetText("abcdefghij");
    const UIRect& rect = edit_->GetPos();
    const int y = (rect.top + rect.bottom) / 2;
    edit_->SetFocus();
    Send(edit_, UIEvent::ButtonDown, {rect.left + 1, y}, 0, kKeyStateLButton);
    EXPECT_EQ(edit_->GetCaret(), 0u);
    Send(edit_, UIEvent::MouseMove, {rect.right - 1, y}, 0, kKeyStateLButton);
    Send(edit_, UIEvent::ButtonUp, {rect.right - 1, y});
    EXPECT_EQ(edit_->GetSelectionStart(), 0u);
    EXPECT_EQ(edit_->GetSelectionEnd(), 10u);
    // Moving after the release selects nothing more.
    Send(edit_, UIEvent::MouseMove, {rect.left + 1, y});
    EXPECT_EQ(edit_->GetSelectionEnd(), 10u);
}

TEST_F(EditTest, ReadOnlyNumberOnlyAndMaximumCharacters)
{
    edit_->SetAttribute("numberonly", "true");
    edit_->SetAttribute("maxchar", "3");
    edit_->SetFocus();
    Type(U"1a2345");
    EXPECT_EQ(edit_->GetText(), "123");
    edit_->SetReadOnly(true);
    Key(Platform::VK_BACK);
    Type(U"9");
    EXPECT_EQ(edit_->GetText(), "123");
    // The program's own text is not limited.
    edit_->SetText("123456");
    EXPECT_EQ(edit_->GetText(), "123456");
    EXPECT_EQ(edit_->GetCaret(), 6u);
}

TEST_F(EditTest, PasswordsAndLongTextsPaint)
{
    edit_->SetAttribute("password", "true");
    edit_->SetText(std::string(200, 'x'));
    edit_->SetFocus();
    Type(U"安");
    Key(Platform::VK_HOME);
    Key(Platform::VK_END, kKeyStateShift);
    Paint(300, 40);
    EXPECT_EQ(edit_->GetText().size(), 203u);
    manager_.SetFocus(nullptr);
    Paint(300, 40);
}

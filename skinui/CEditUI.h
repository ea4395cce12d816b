#pragma once

#include "skinui/CLabelUI.h"
#include "skinui/CTextEditState.h"

namespace SkinUI {

// A single-line text input drawn by the framework. While it has the focus it edits: caret,
// selection, keyboard editing and clipboard paste, with "textchanged" for every change and
// "return" for the Return key.
class CEditUI : public CLabelUI {
public:
    // Local id of the caret blink timer.
    static constexpr uint32_t kCaretTimerId = 20;
    static constexpr uint32_t kCaretBlinkMs = 500;

    CEditUI();

    std::string_view GetClass() const override;
    void* GetInterface(std::string_view name) override;
    uint32_t GetControlFlags() const override;

    void SetText(std::string_view text) override;
    void SetEnabled(bool enabled = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintStatusImage(CRenderEngine& render) override;
    void PaintText(CRenderEngine& render) override;

    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    bool IsNumberOnly() const;
    void SetNumberOnly(bool numberOnly);
    bool IsPasswordMode() const;
    void SetPasswordMode(bool password);
    char GetPasswordChar() const;
    void SetPasswordChar(char ch);
    bool IsAutoSelAll() const;
    void SetAutoSelAll(bool autoSelAll);
    int GetMaxChar() const;
    void SetMaxChar(int maxChars);
    const std::string& GetTipValue() const;
    void SetTipValue(std::string_view tip);
    uint32_t GetTipValueColor() const;
    void SetTipValueColor(uint32_t argb);
    uint32_t GetNativeEditBkColor() const;
    void SetNativeEditBkColor(uint32_t argb);
    uint32_t GetNativeEditTextColor() const;
    void SetNativeEditTextColor(uint32_t argb);
    void SetNormalImage(std::string_view descriptor);
    void SetHotImage(std::string_view descriptor);
    void SetFocusedImage(std::string_view descriptor);
    void SetDisabledImage(std::string_view descriptor);

    // The editing session (what stands in for the native edit window).
    bool IsEditing() const;
    // Caret and selection as byte offsets into the text.
    size_t GetCaret() const;
    size_t GetSelectionStart() const;
    size_t GetSelectionEnd() const;
    void SetSel(size_t start, size_t end);
    void SetSelAll();

protected:
    void StartEditing();
    void StopEditing();

private:
    void HandleKeyDown(const TEventUI& event);
    void HandleChar(const TEventUI& event);
    void HandleButtonDown(const TEventUI& event);
    void Paste();
    bool Copy();
    void Cut();
    // Copies an edit into the control and sends "textchanged".
    void CommitEdit(bool changed);
    void CaretMoved();
    // The text as shown: the password character for every character.
    std::string ShownText(std::string_view text) const;
    // One line high, centred in the text rectangle when that is taller.
    UIRect LineRect() const;
    // Distance from the text's start to each character boundary of the shown text.
    const std::vector<int>& BoundaryOffsets();
    size_t OffsetAt(int x);
    void KeepCaretVisible();
    void PaintEditingText(CRenderEngine& render);

    CTextEditState state_;
    bool editing_ = false;
    bool selecting_ = false;
    bool caretVisible_ = true;
    int scrollX_ = 0;
    std::vector<int> boundaryOffsets_;
    std::vector<size_t> boundaryBytes_;
    bool offsetsValid_ = false;

    uint32_t buttonState_ = 0;
    bool numberOnly_ = false;
    bool password_ = false;
    char passwordChar_ = '*';
    bool autoSelAll_ = false;
    int maxChar_ = 255;
    std::string tipValue_;
    uint32_t tipValueColor_ = 0xFFBAC0C5;
    uint32_t nativeBkColor_ = 0;
    uint32_t nativeTextColor_ = 0;
    CImageDescriptor normalImage_;
    CImageDescriptor hotImage_;
    CImageDescriptor focusedImage_;
    CImageDescriptor disabledImage_;
};

} // namespace SkinUI

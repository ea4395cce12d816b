#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace SkinUI {

// The text, caret and selection of a single-line input, in UTF-8. Positions are byte
// offsets that always lie on character boundaries. Edits answer false when they changed
// nothing (read-only, refused by the number-only rule, or no room left).
class CTextEditState {
public:
    const std::string& Text() const { return text_; }
    // Replaces the text; the caret goes to the end without a selection.
    void SetText(std::string_view text);

    size_t Caret() const { return caret_; }
    bool HasSelection() const { return caret_ != anchor_; }
    size_t SelectionStart() const;
    size_t SelectionEnd() const;
    std::string SelectedText() const { return text_.substr(SelectionStart(), SelectionEnd() - SelectionStart()); }
    void SelectAll();

    // Moves the caret; with `extend` the selection grows from its anchor, else it collapses.
    void MoveLeft(bool extend);
    void MoveRight(bool extend);
    void MoveHome(bool extend);
    void MoveEnd(bool extend);
    // Moves to the character boundary at or before `offset`.
    void MoveTo(size_t offset, bool extend);

    // Replaces the selection with `text`: invalid UTF-8 is repaired, the text is cut at its
    // first line break, other control characters are dropped, and what does not fit into the
    // maximum number of characters is cut off.
    bool Insert(std::string_view text);
    bool InsertCodePoint(uint32_t codePoint);
    // Removes the selection, else the character before / after the caret.
    bool DeleteBackward();
    bool DeleteForward();

    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool IsReadOnly() const { return readOnly_; }
    void SetNumberOnly(bool numberOnly) { numberOnly_ = numberOnly; }
    void SetMaxChars(size_t maxChars) { maxChars_ = maxChars; }

    // Offsets of every character boundary from 0 to the text's size.
    std::vector<size_t> Boundaries() const;
    // UTF-8 of one code point; "" for surrogates and values beyond U+10FFFF.
    static std::string EncodeCodePoint(uint32_t codePoint);

private:
    size_t PreviousBoundary(size_t offset) const;
    size_t NextBoundary(size_t offset) const;
    void EraseSelection();
    std::string Filter(std::string_view text) const;

    std::string text_;
    size_t caret_ = 0;
    size_t anchor_ = 0;
    bool readOnly_ = false;
    bool numberOnly_ = false;
    size_t maxChars_ = 255;
};

} // namespace SkinUI

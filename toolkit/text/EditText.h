// The text of an edit box with its caret and selection, and the editing
// operations that typing performs. Positions count characters.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <string>

namespace tk {

class EditText {
public:
    const std::u32string& text() const { return text_; }
    // Replaces the whole text; the caret goes to the start.
    void setText(std::u32string t);

    int selStart() const { return std::min(anchor_, caret_); }
    int selLength() const { return std::abs(caret_ - anchor_); }
    int caret() const { return caret_; }
    // Puts the caret at `pos` with no selection.
    void setSelStart(int pos);
    // Selects `len` characters from the selection start.
    void setSelLength(int len);
    void selectAll();
    std::u32string selectedText() const;

    // Replaces the selection with `s` (typing, pasting); caret after it.
    void insert(const std::u32string& s);
    // Backspace and Delete: the selection, or one character.
    bool backspace();
    bool deleteForward();
    // Moves the caret; with `extend` the selection grows from its anchor.
    void moveCaret(int pos, bool extend);

private:
    int clamp(int pos) const;
    std::u32string text_;
    int anchor_ = 0;
    int caret_ = 0;
};

}  // namespace tk

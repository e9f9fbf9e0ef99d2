// TCustomEdit and TEdit: single-line edit boxes with caret, selection,
// typing, Backspace/Delete, arrows, Home/End, Shift selection, clipboard.
#pragma once

#include "toolkit/text/EditText.h"
#include "toolkit/widgets/WinControl.h"

namespace tk {

class TCustomEdit : public TWinControl {
    TK_CLASS(TCustomEdit)
public:
    explicit TCustomEdit(TComponent* owner);

    // Setting the text from code puts the caret at the start.
    void setText(const std::string& v) override;

    int selStart() const { return buffer_.selStart(); }
    void setSelStart(int pos);
    int selLength() const { return buffer_.selLength(); }
    void setSelLength(int len);
    std::string selText() const;
    void selectAll();
    int caretPos() const { return buffer_.caret(); }

    int maxLength() const { return maxLength_; }
    void setMaxLength(int v) { maxLength_ = v < 0 ? 0 : v; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool v) { readOnly_ = v; }
    char32_t passwordChar() const { return passwordChar_; }
    void setPasswordChar(char32_t c)
    {
        passwordChar_ = c;
        invalidate();
    }
    bool autoSelect() const { return autoSelect_; }
    void setAutoSelect(bool v) { autoSelect_ = v; }
    TEditCharCase charCase() const { return charCase_; }
    void setCharCase(TEditCharCase v) { charCase_ = v; }
    bool hideSelection() const { return hideSelection_; }
    void setHideSelection(bool v) { hideSelection_ = v; }
    TBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle v)
    {
        borderStyle_ = v;
        applyAutoSize();
    }
    // The text as drawn (password characters instead of the text).
    std::string displayText() const;
    // Character position under a client x coordinate.
    int positionAt(int x) const;
    // Pixel x of a character position, for drawing the caret.
    int xOfPosition(int pos) const;
    static constexpr int textInset = 2;

    bool handle(InputEvent& e) override;
    bool focusOnClick() const override { return true; }

    Handler OnChange;

protected:
    void textChanged() override;
    void autoSizeBounds(int& width, int& height) const override;
    // Typing: replaces the selection; refused characters return false.
    virtual bool acceptsChar(char32_t) const { return true; }
    void typeInsert(const std::u32string& s);
    void commitTyping();

    EditText buffer_;

private:
    int maxLength_ = 0;
    bool readOnly_ = false;
    char32_t passwordChar_ = 0;
    bool autoSelect_ = true;
    TEditCharCase charCase_ = TEditCharCase::ecNormal;
    bool hideSelection_ = true;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool selecting_ = false;
};

class TEdit : public TCustomEdit {
    TK_CLASS(TEdit)
public:
    explicit TEdit(TComponent* owner);
};

}  // namespace tk

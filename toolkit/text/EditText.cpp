// Caret, selection and editing operations of edit boxes.
#include "toolkit/text/EditText.h"

#include <algorithm>

namespace tk {

int EditText::clamp(int pos) const
{
    return std::clamp(pos, 0, static_cast<int>(text_.size()));
}

void EditText::setText(std::u32string t)
{
    text_ = std::move(t);
    anchor_ = caret_ = 0;
}

void EditText::setSelStart(int pos)
{
    anchor_ = caret_ = clamp(pos);
}

void EditText::setSelLength(int len)
{
    int start = selStart();
    anchor_ = start;
    caret_ = clamp(start + std::max(0, len));
}

void EditText::selectAll()
{
    anchor_ = 0;
    caret_ = static_cast<int>(text_.size());
}

std::u32string EditText::selectedText() const
{
    return text_.substr(selStart(), selLength());
}

void EditText::insert(const std::u32string& s)
{
    int start = selStart();
    text_.replace(start, selLength(), s);
    anchor_ = caret_ = start + static_cast<int>(s.size());
}

bool EditText::backspace()
{
    if (selLength() > 0) {
        insert({});
        return true;
    }
    if (caret_ == 0) return false;
    text_.erase(caret_ - 1, 1);
    anchor_ = --caret_;
    return true;
}

bool EditText::deleteForward()
{
    if (selLength() > 0) {
        insert({});
        return true;
    }
    if (caret_ >= static_cast<int>(text_.size())) return false;
    text_.erase(caret_, 1);
    return true;
}

void EditText::moveCaret(int pos, bool extend)
{
    caret_ = clamp(pos);
    if (!extend) anchor_ = caret_;
}

}  // namespace tk

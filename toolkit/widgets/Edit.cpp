// Edit boxes.
#include "toolkit/widgets/Edit.h"

#include "toolkit/text/Text.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

namespace tk {

TK_DEFINE_CLASS(TCustomEdit, TWinControl) {}

TK_DEFINE_CLASS(TEdit, TCustomEdit)
{
    using namespace published;
    tabStop(t);
    anchors(t);
    t.boolean("AutoSelect", &TEdit::autoSelect, &TEdit::setAutoSelect, true);
    t.boolean("AutoSize", &TEdit::autoSize, &TEdit::setAutoSize, true);
    bevels(t);
    bidi(t);
    t.enumeration("BorderStyle", types::borderStyle(), &TEdit::borderStyle, &TEdit::setBorderStyle,
                  TBorderStyle::bsSingle);
    t.enumeration("CharCase", types::editCharCase(), &TEdit::charCase, &TEdit::setCharCase, TEditCharCase::ecNormal);
    color(t, clWindow);
    constraints(t);
    ctl3D(t);
    drag(t);
    enabled(t);
    font(t);
    t.boolean("HideSelection", &TEdit::hideSelection, &TEdit::setHideSelection, true);
    ime(t);
    t.integer("MaxLength", &TEdit::maxLength, &TEdit::setMaxLength, 0);
    t.kept("OEMConvert", PropKind::Bool, 0);
    parentBidi(t);
    parentColor(t, false);
    parentCtl3D(t);
    parentFont(t);
    parentShowHint(t);
    t.character("PasswordChar", &TEdit::passwordChar, &TEdit::setPasswordChar, 0);
    popupMenu(t);
    t.boolean("ReadOnly", &TEdit::readOnly, &TEdit::setReadOnly, false);
    showHint(t);
    tabOrder(t);
    text(t);
    visible(t);
    t.event("OnChange", EventKind::Notify, &TEdit::OnChange);
    click(t);
    contextPopup(t);
    dblClick(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag"});
    focusEvents(t);
    keyEvents(t);
    mouseEvents(t);
    keptEvents(t, {"OnStartDock", "OnStartDrag"});
}

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner)
{
    setTabStop(true);
    setColor(clWindow);
    setBoundsRaw(0, 0, 121, 21);
}

TEdit::TEdit(TComponent* owner) : TCustomEdit(owner)
{
    setAutoSize(true);
}

void TCustomEdit::setText(const std::string& v)
{
    if (v == text()) return;
    buffer_.setText(toU32(v));
    TWinControl::setText(v);
}

void TCustomEdit::textChanged()
{
    fire(OnChange);
}

void TCustomEdit::setSelStart(int pos)
{
    buffer_.setSelStart(pos);
    invalidate();
}

void TCustomEdit::setSelLength(int len)
{
    buffer_.setSelLength(len);
    invalidate();
}

std::string TCustomEdit::selText() const
{
    return toUtf8(buffer_.selectedText());
}

void TCustomEdit::selectAll()
{
    buffer_.selectAll();
    invalidate();
}

std::string TCustomEdit::displayText() const
{
    if (!passwordChar_) return text();
    return toUtf8(std::u32string(buffer_.text().size(), passwordChar_));
}

int TCustomEdit::xOfPosition(int pos) const
{
    std::u32string shown = toU32(displayText());
    return textInset + textWidth(toUtf8(shown.substr(0, std::min<size_t>(pos, shown.size()))));
}

int TCustomEdit::positionAt(int x) const
{
    std::u32string shown = toU32(displayText());
    for (size_t i = 0; i < shown.size(); ++i) {
        int mid = (xOfPosition(static_cast<int>(i)) + xOfPosition(static_cast<int>(i + 1))) / 2;
        if (x < mid) return static_cast<int>(i);
    }
    return static_cast<int>(shown.size());
}

void TCustomEdit::autoSizeBounds(int&, int& height) const
{
    // A bordered edit fits its height to its font.
    height = textHeight() + (borderStyle_ == TBorderStyle::bsSingle ? 8 : 2);
}

void TCustomEdit::commitTyping()
{
    // Bypasses setText so that the caret stays where typing left it.
    TWinControl::setText(toUtf8(buffer_.text()));
    invalidate();
}

void TCustomEdit::typeInsert(const std::u32string& s)
{
    std::u32string add = s;
    for (char32_t& c : add) {
        if (charCase_ == TEditCharCase::ecUpperCase && c >= U'a' && c <= U'z') c -= 32;
        if (charCase_ == TEditCharCase::ecLowerCase) c = foldCase(c);
    }
    if (maxLength_ > 0) {
        int room = maxLength_ - static_cast<int>(buffer_.text().size()) + buffer_.selLength();
        if (room <= 0) return;
        if (static_cast<int>(add.size()) > room) add.resize(room);
    }
    buffer_.insert(add);
    commitTyping();
}

bool TCustomEdit::handle(InputEvent& e)
{
    switch (e.type) {
    case InputType::Enter:
        if (e.byKeyboard && autoSelect_) selectAll();
        return true;
    case InputType::MouseDown:
        if (e.button != TMouseButton::mbLeft) break;
        if (e.doubleClick) selectAll();
        else buffer_.moveCaret(positionAt(e.x), (e.shift & ssShift) != 0);
        selecting_ = !e.doubleClick;
        invalidate();
        return true;
    case InputType::MouseMove:
        if (selecting_) {
            buffer_.moveCaret(positionAt(e.x), true);
            invalidate();
        }
        return true;
    case InputType::MouseUp: selecting_ = false; return TWinControl::handle(e);
    case InputType::KeyDown: {
        bool shift = (e.shift & ssShift) != 0;
        int len = static_cast<int>(buffer_.text().size());
        switch (e.key) {
        case vk::Left:
            if (!shift && buffer_.selLength() > 0) buffer_.moveCaret(buffer_.selStart(), false);
            else buffer_.moveCaret(buffer_.caret() - 1, shift);
            break;
        case vk::Right:
            if (!shift && buffer_.selLength() > 0) buffer_.moveCaret(buffer_.selStart() + buffer_.selLength(), false);
            else buffer_.moveCaret(buffer_.caret() + 1, shift);
            break;
        case vk::Home: buffer_.moveCaret(0, shift); break;
        case vk::End: buffer_.moveCaret(len, shift); break;
        case vk::Delete:
            if (readOnly_) return true;
            if (shift) {  // Shift+Delete cuts
                if (Application && buffer_.selLength()) Application->platform().setClipboardText(selText());
            }
            if (buffer_.deleteForward()) commitTyping();
            return true;
        default:
            if (e.shift & ssCtrl) {
                if (e.key == 'C' || e.key == vk::Insert) {
                    if (Application && buffer_.selLength() && !passwordChar_)
                        Application->platform().setClipboardText(selText());
                } else if (e.key == 'X' && !readOnly_ && !passwordChar_) {
                    if (Application && buffer_.selLength()) Application->platform().setClipboardText(selText());
                    if (buffer_.deleteForward()) commitTyping();
                } else if (e.key == 'V' && !readOnly_ && Application) {
                    std::u32string paste = toU32(Application->platform().clipboardText());
                    std::u32string line;
                    for (char32_t c : paste)
                        if (c == U'\r' || c == U'\n') break;
                        else if (c >= 32 && acceptsChar(c)) line += c;
                    typeInsert(line);
                } else if (e.key == 'A') {
                    selectAll();
                }
                return true;
            }
            return false;
        }
        invalidate();
        return true;
    }
    case InputType::KeyPress:
        if (readOnly_) return true;
        if (e.ch == 8) {
            if (buffer_.backspace()) commitTyping();
            return true;
        }
        if (e.ch < 32 || e.ch == 127 || !acceptsChar(e.ch)) return false;
        typeInsert(std::u32string(1, e.ch));
        return true;
    default: break;
    }
    return TWinControl::handle(e);
}

}  // namespace tk

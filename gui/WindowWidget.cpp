// Window widgets: drawing from the model, input into the model.
#include "gui/WindowWidget.h"

#include "gui/Keys.h"
#include "gui/Painter.h"
#include "gui/QtPlatform.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/SpinEdit.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/HintWindow.h"
#include "toolkit/windows/Overlay.h"
#include "toolkit/windows/Popup.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QUrl>

namespace gui {

WindowWidget::WindowWidget(QtPlatform& platform, tk::TCustomForm& form) : platform_(platform), form_(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    Qt::WindowFlags flags = Qt::Window;
    switch (form.borderStyle()) {
    case tk::TFormBorderStyle::bsNone: flags = Qt::ToolTip | Qt::FramelessWindowHint; break;
    case tk::TFormBorderStyle::bsToolWindow:
    case tk::TFormBorderStyle::bsSizeToolWin: flags = Qt::Tool; break;
    case tk::TFormBorderStyle::bsDialog: flags = Qt::Dialog; break;
    default: break;
    }
    if (!(form.borderIcons() & tk::biSystemMenu) && form.borderStyle() != tk::TFormBorderStyle::bsNone)
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint;
    setWindowFlags(flags);
    if (!form.takesActivation()) setAttribute(Qt::WA_ShowWithoutActivating);
    setAcceptDrops(true);
    setAttribute(Qt::WA_InputMethodEnabled);
}

namespace {

// The local files a drag carries; none when it carries anything else.
std::vector<std::string> droppedFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) return {};
        files.push_back(url.toLocalFile().toStdString());
    }
    return files;
}

}  // namespace

void WindowWidget::dragEnterEvent(QDragEnterEvent* e)
{
    if (form_.onDropFiles && tk::Application->isWindowEnabled(&form_) && !droppedFiles(e->mimeData()).empty())
        e->acceptProposedAction();
}

void WindowWidget::dropEvent(QDropEvent* e)
{
    if (tk::Application->dropFiles(&form_, droppedFiles(e->mimeData()))) e->acceptProposedAction();
}

void WindowWidget::syncFromModel()
{
    setWindowTitle(QString::fromStdString(form_.caption()));
    if (form_.isModal()) setWindowModality(Qt::ApplicationModal);
    tk::TPoint o = form_.clientOrigin();
    if (pos() != QPoint(o.x, o.y)) move(o.x, o.y);
    QSize size(form_.clientWidth(), form_.clientHeight());
    if (this->size() != size) resize(size);
    bool sizeable = form_.borderStyle() == tk::TFormBorderStyle::bsSizeable ||
                    form_.borderStyle() == tk::TFormBorderStyle::bsSizeToolWin;
    if (!sizeable) setFixedSize(size);
    update();
}

QPoint WindowWidget::widgetPoint(tk::TPoint screen) const
{
    tk::TPoint o = form_.clientOrigin();
    return QPoint(screen.x - o.x, screen.y - o.y);
}

QPoint WindowWidget::modelScreen(QPointF local) const
{
    tk::TPoint o = form_.clientOrigin();
    return QPoint(o.x, o.y) + local.toPoint();
}

bool WindowWidget::event(QEvent* e)
{
    // Tab and Shift+Tab belong to the model, not to Qt's focus chain.
    if (e->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(e));
        return true;
    }
    // The whole of a text shown cut short under the mouse.
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        QPoint screen = modelScreen(help->pos());
        std::string tip;
        if (tk::TControl* c = form_.controlAt({help->pos().x(), help->pos().y()}))
            tip = c->toolTipAt(c->screenToClient({screen.x(), screen.y()}));
        if (tip.empty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), QString::fromStdString(tip), this);
        return true;
    }
    return QWidget::event(e);
}

void WindowWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintWindow(p, form_);
    if (tk::TCustomEdit* edit = focusedEdit(); edit && !preedit_.isEmpty()) paintPreedit(p, *edit);
}

tk::TCustomEdit* WindowWidget::focusedEdit() const
{
    tk::TWinControl* focused = tk::Application ? tk::Application->focusedControl() : nullptr;
    auto* edit = dynamic_cast<tk::TCustomEdit*>(focused);
    return edit && edit->parentForm() == &form_ ? edit : nullptr;
}

void WindowWidget::paintPreedit(QPainter& p, const tk::TCustomEdit& edit)
{
    // Over the box from the caret on, underlined as input methods show it.
    QRect box(widgetPoint(edit.clientToScreen({edit.xOfPosition(edit.caretPos()), 0})),
              QSize(edit.width() - edit.xOfPosition(edit.caretPos()), edit.height()));
    QFont font = qtFont(edit.drawingFont());
    font.setUnderline(true);
    QFontMetrics fm(font);
    p.save();
    p.setClipRect(box.adjusted(0, 1, -2, -1));
    p.fillRect(box, qtColor(edit.color()));
    p.setFont(font);
    p.setPen(qtColor(edit.drawingFont().color()));
    p.drawText(QPoint(box.left(), box.top() + (box.height() - fm.height()) / 2 + fm.ascent()), preedit_);
    p.restore();
}

void WindowWidget::inputMethodEvent(QInputMethodEvent* e)
{
    tk::TCustomEdit* edit = focusedEdit();
    if (edit && tk::Application->isWindowEnabled(&form_)) {
        // Text around the caret that the commit replaces (an input method
        // that corrects what was typed before).
        if (e->replacementLength() > 0) {
            edit->setSelStart(std::max(0, edit->caretPos() + e->replacementStart()));
            edit->setSelLength(e->replacementLength());
            if (e->commitString().isEmpty()) {
                tk::Application->keyDown(tk::vk::Delete, 0);
                tk::Application->keyUp(tk::vk::Delete, 0);
            }
        }
        if (!e->commitString().isEmpty()) tk::Application->typeText(e->commitString().toStdString());
    }
    preedit_ = edit ? e->preeditString() : QString();
    e->accept();
    platform_.sync();
    update();
}

QVariant WindowWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    tk::TCustomEdit* edit = focusedEdit();
    if (!edit) return query == Qt::ImEnabled ? QVariant(false) : QWidget::inputMethodQuery(query);
    bool password = edit->passwordChar() != 0;
    switch (query) {
    case Qt::ImEnabled: return !edit->readOnly() && edit->isEnabledTree();
    case Qt::ImCursorRectangle: {
        int h = edit->textHeight();
        return QRect(widgetPoint(edit->clientToScreen({edit->xOfPosition(edit->caretPos()), (edit->height() - h) / 2})),
                     QSize(1, h));
    }
    case Qt::ImFont: return qtFont(edit->drawingFont());
    case Qt::ImCursorPosition: return edit->caretPos();
    case Qt::ImAnchorPosition:
        return edit->caretPos() == edit->selStart() ? edit->selStart() + edit->selLength() : edit->selStart();
    case Qt::ImSurroundingText: return password ? QString() : QString::fromStdString(edit->text());
    case Qt::ImCurrentSelection: return password ? QString() : QString::fromStdString(edit->selText());
    case Qt::ImMaximumTextLength: return edit->maxLength() > 0 ? QVariant(edit->maxLength()) : QVariant();
    case Qt::ImHints: {
        Qt::InputMethodHints hints = Qt::ImhNone;
        if (password) hints |= Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText;
        // A number field: a spin box, or a field bound to an integer column.
        if (dynamic_cast<tk::TSpinEdit*>(edit) || tk::getPropTextOr(*edit, "FieldType") == "0")
            hints |= Qt::ImhDigitsOnly;
        return static_cast<int>(hints);
    }
    default: return QWidget::inputMethodQuery(query);
    }
}

void WindowWidget::updateInputMethod()
{
    tk::TCustomEdit* edit = focusedEdit();
    int caret = edit ? edit->caretPos() : -1;
    if (edit == imControl_ && caret == imCaret_) return;
    // A composition does not follow the focus to another box.
    if (edit != imControl_ && !preedit_.isEmpty()) {
        preedit_.clear();
        if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->reset();
    }
    imControl_ = edit;
    imCaret_ = caret;
    if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->update(Qt::ImQueryAll);
}

void WindowWidget::mousePressEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseDown(mouseButton(e->button()), shiftState(e->modifiers()), {s.x(), s.y()});
    platform_.sync();
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseDown(mouseButton(e->button()), shiftState(e->modifiers()), {s.x(), s.y()}, true);
    platform_.sync();
}

void WindowWidget::mouseMoveEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseMove(shiftState(e->modifiers(), e->buttons()), {s.x(), s.y()});
    showCursorAt(s);
    platform_.sync();
}

void WindowWidget::showCursorAt(QPoint screen)
{
    // Over a sizing handle, the direction it sizes in.
    const tk::Overlay* overlay = tk::Application ? tk::Application->overlay() : nullptr;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (overlay ? overlay->cursorAt({screen.x(), screen.y()}) : tk::Overlay::Cursor::Arrow) {
    case tk::Overlay::Cursor::SizeWE: shape = Qt::SizeHorCursor; break;
    case tk::Overlay::Cursor::SizeNS: shape = Qt::SizeVerCursor; break;
    case tk::Overlay::Cursor::SizeNWSE: shape = Qt::SizeFDiagCursor; break;
    case tk::Overlay::Cursor::SizeNESW: shape = Qt::SizeBDiagCursor; break;
    case tk::Overlay::Cursor::Arrow: break;
    }
    if (cursor().shape() != shape) setCursor(shape);
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseUp(mouseButton(e->button()), shiftState(e->modifiers()), {s.x(), s.y()});
    platform_.sync();
}

void WindowWidget::keyPressEvent(QKeyEvent* e)
{
    tk::TShiftState shift = shiftState(e->modifiers());
    if (e->key() == Qt::Key_Backtab) shift |= tk::ssShift;
    uint16_t key = virtualKey(*e);
    bool consumed = key && tk::Application->keyDown(key, shift);
    // The characters typed, as the keyboard layout gives them (ő, Ű...).
    QString text = e->text();
    if (!consumed && !(shift & (tk::ssCtrl | tk::ssAlt)))
        for (char32_t ch : text.toStdU32String())
            if (ch >= 32 || ch == 8 || ch == 9 || ch == 13 || ch == 27) tk::Application->keyPress(ch);
    if (!consumed && text.isEmpty()) {
        char32_t ch = tk::TApplication::charOfKey(key, shift);
        if (ch && ch < 32) tk::Application->keyPress(ch);
    }
    platform_.sync();
}

void WindowWidget::keyReleaseEvent(QKeyEvent* e)
{
    if (e->isAutoRepeat()) return;
    tk::TShiftState shift = shiftState(e->modifiers());
    if (uint16_t key = virtualKey(*e)) tk::Application->keyUp(key, shift);
    platform_.sync();
}

void WindowWidget::closeEvent(QCloseEvent* e)
{
    // The model decides; the widget follows it.
    e->ignore();
    tk::Application->closeByFrame(&form_);
    platform_.sync();
}

PopupWidget::PopupWidget(QtPlatform& platform) : platform_(platform)
{
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setMouseTracking(true);
}

void PopupWidget::syncFromModel()
{
    tk::TPopup* popup = tk::Application ? tk::Application->popup() : nullptr;
    if (!popup) {
        hide();
        return;
    }
    tk::TRect r = popup->screenRect();
    setGeometry(r.left, r.top, r.width(), r.height());
    show();
    update();
}

QPoint PopupWidget::modelScreen(QPointF local) const
{
    tk::TRect r = tk::Application->popup() ? tk::Application->popup()->screenRect() : tk::TRect{};
    return QPoint(r.left, r.top) + local.toPoint();
}

void PopupWidget::paintEvent(QPaintEvent*)
{
    if (tk::TPopup* popup = tk::Application->popup()) {
        QPainter p(this);
        paintPopup(p, *popup);
    }
}

void PopupWidget::mousePressEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseDown(mouseButton(e->button()), shiftState(e->modifiers()), {s.x(), s.y()});
    platform_.sync();
}

void PopupWidget::mouseMoveEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseMove(shiftState(e->modifiers(), e->buttons()), {s.x(), s.y()});
    platform_.sync();
}

void PopupWidget::mouseReleaseEvent(QMouseEvent* e)
{
    QPoint s = modelScreen(e->position());
    tk::Application->mouseUp(mouseButton(e->button()), shiftState(e->modifiers()), {s.x(), s.y()});
    platform_.sync();
}

}  // namespace gui

// One Qt top-level widget per shown model window: it draws the window's
// client area from the model and hands every mouse and key event of the
// person to the toolkit's input API. The frame is the window manager's.
#pragma once

#include <QWidget>

class QPainter;

#include "toolkit/core/Types.h"

namespace tk {
class TCustomEdit;
class TCustomForm;
}  // namespace tk

namespace gui {

class QtPlatform;

class WindowWidget : public QWidget {
public:
    WindowWidget(QtPlatform& platform, tk::TCustomForm& form);
    tk::TCustomForm& form() const { return form_; }
    // A point of the model's screen in this widget's coordinates.
    QPoint widgetPoint(tk::TPoint screen) const;
    // Tells the input method where the caret now is, when it moved.
    void updateInputMethod();
    // Title, flags, place and size from the model.
    void syncFromModel();
    // The text an input method is composing, shown at the caret.
    const QString& preedit() const { return preedit_; }
    // What the input method asks: whether the focus takes text, where the
    // caret is, the text around it and what kind of text the box takes.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    // Text composed by an input method (dead keys, Compose, IBus, Fcitx):
    // the committed text is typed into the focused edit box, the text
    // still being composed is shown at its caret.
    void inputMethodEvent(QInputMethodEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool focusNextPrevChild(bool) override { return false; }
    // Files from the file manager, for a window that takes them.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // A point of this widget in the model's screen coordinates.
    QPoint modelScreen(QPointF local) const;
    void showCursorAt(QPoint screen);
    // The window's focused edit box, where composed text goes; none when
    // the focus is elsewhere.
    tk::TCustomEdit* focusedEdit() const;
    void paintPreedit(QPainter& p, const tk::TCustomEdit& edit);
    QtPlatform& platform_;
    tk::TCustomForm& form_;
    // The input method's composition lives here, not in the model: it is
    // not text of the box until it is committed.
    QString preedit_;
    // Where the input method was last told the caret is.
    const void* imControl_ = nullptr;
    int imCaret_ = -1;
};

// The open popup (context menu, drop-down list, calendar).
class PopupWidget : public QWidget {
public:
    explicit PopupWidget(QtPlatform& platform);
    void syncFromModel();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPoint modelScreen(QPointF local) const;
    QtPlatform& platform_;
};

}  // namespace gui

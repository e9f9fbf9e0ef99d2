// One Qt top-level widget per shown model window: it draws the window's
// client area from the model and hands every mouse and key event of the
// person to the toolkit's input API. The frame is the window manager's.
#pragma once

#include <QWidget>

namespace tk {
class TCustomForm;
}

namespace gui {

class QtPlatform;

class WindowWidget : public QWidget {
public:
    WindowWidget(QtPlatform& platform, tk::TCustomForm& form);
    tk::TCustomForm& form() const { return form_; }
    // Title, flags, place and size from the model.
    void syncFromModel();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool focusNextPrevChild(bool) override { return false; }
    // Files from the file manager, for a window that takes them.
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    // A point of this widget in the model's screen coordinates.
    QPoint modelScreen(QPointF local) const;
    void showCursorAt(QPoint screen);
    QtPlatform& platform_;
    tk::TCustomForm& form_;
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

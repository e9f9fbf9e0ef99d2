// The platform on Qt 6: the event loop, timers, font metrics, clipboard and
// screen of the real desktop (or of Qt's offscreen platform), and one
// window widget per shown model window.
#pragma once

#include "gui/WindowStacking.h"
#include "toolkit/windows/Platform.h"

#include <QElapsedTimer>
#include <QFont>
#include <QFontMetrics>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace tk {
class TCustomForm;
}

namespace gui {

class WindowWidget;
class PopupWidget;
class Accessibility;

// The Qt font that stands for a model font: an installed sans-serif face at
// the model's pixel height. Fonts and their metrics are made once per size
// and style.
const QFont& qtFont(const tk::TFont& font);
const QFontMetrics& qtMetrics(const tk::TFont& font);

class QtPlatform : public tk::Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

    void runUntil(const std::function<bool()>& done) override;
    int64_t now() override { return clock_.elapsed(); }
    double today() override;
    int startTimer(int intervalMs, std::function<void()> tick) override;
    void stopTimer(int id) override;
    int textWidth(const tk::TFont& font, std::string_view text) override;
    int textHeight(const tk::TFont& font) override;
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;
    tk::TRect screenRect() override;
    void invalidate(tk::TWinControl* window) override;
    void showError(const std::string& text) override;
    std::optional<std::string> chooseSaveFile(const std::string& title, const std::string& suggestedName = "",
                                              const std::vector<std::string>& types = {}) override;
    bool hasFileDialog() const override { return true; }
    std::vector<std::string> chooseOpenFiles(const std::string& title) override;
    bool openWithDesktop(const std::string& path) override;
    void printToPdf(const tk::Printout& printout, const std::string& path) override;
    std::vector<std::string> printers() override;
    bool printOn(const tk::Printout& printout, const std::string& printer) override;

    // The widget that shows a model window (none while it is hidden).
    WindowWidget* widgetOf(tk::TCustomForm* form) const;
    // Brings every widget in line with the model: shown, placed, drawn.
    void sync();

private:
    void returnToModelWindow();

    QElapsedTimer clock_;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    int nextTimer_ = 1;
    std::map<tk::TCustomForm*, std::unique_ptr<WindowWidget>> widgets_;
    std::unique_ptr<PopupWidget> popup_;
    // What a screen reader sees of the windows; goes before the widgets.
    std::unique_ptr<Accessibility> accessibility_;
    bool syncQueued_ = false;
    WindowStacking stacking_;
    // The receiver of queued syncs: going first when the platform goes, it
    // takes a sync still queued with it.
    QObject syncContext_;
};

}  // namespace gui

// THintWindow: a small borderless window that shows a text at a screen
// position, sized to the text with a maximum line width. It never takes
// the activation or the focus.
#pragma once

#include "toolkit/windows/Form.h"

#include <string>
#include <vector>

namespace tk {

class THintWindow : public TCustomForm {
    TK_CLASS(THintWindow)
public:
    explicit THintWindow(TComponent* owner);

    // The rectangle (at 0, 0) that shows `text` with lines at most
    // `maxWidth` pixels wide, words wrapped.
    TRect calcHintRect(int maxWidth, const std::string& text) const;
    // Shows `text` in `rect` (screen coordinates).
    void activateHint(TRect rect, const std::string& text);
    // Hides the window.
    void releaseHandle();
    // The text's lines as wrapped for the current width.
    std::vector<std::string> lines() const;
    bool takesActivation() const override { return false; }

private:
    std::vector<std::string> wrap(const std::string& text, int maxWidth) const;
    static constexpr int padding = 3;
};

}  // namespace tk

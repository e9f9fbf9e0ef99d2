// Hint windows.
#include "toolkit/windows/HintWindow.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/windows/Application.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(THintWindow, TCustomForm) {}

THintWindow::THintWindow(TComponent* owner) : TCustomForm(owner)
{
    setBorderStyle(TFormBorderStyle::bsNone);
    setColor(clInfoBk);
    font()->setColor(clInfoText);
}

std::vector<std::string> THintWindow::wrap(const std::string& text, int maxWidth) const
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t nl = text.find('\n', start);
        std::string para = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!para.empty() && para.back() == '\r') para.pop_back();
        std::string line;
        size_t pos = 0;
        while (pos <= para.size()) {
            size_t sp = para.find(' ', pos);
            std::string word = para.substr(pos, sp == std::string::npos ? std::string::npos : sp - pos);
            std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && textWidth(candidate) > maxWidth) {
                out.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            if (sp == std::string::npos) break;
            pos = sp + 1;
        }
        out.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return out;
}

TRect THintWindow::calcHintRect(int maxWidth, const std::string& text) const
{
    auto ls = wrap(text, maxWidth);
    int w = 0;
    for (const auto& l : ls) w = std::max(w, textWidth(l));
    return {0, 0, w + 2 * padding + 2, static_cast<int>(ls.size()) * textHeight() + 2 * padding};
}

void THintWindow::activateHint(TRect rect, const std::string& text)
{
    setCaption(text);
    setBounds(rect.left, rect.top, rect.width(), rect.height());
    show();
    bringWindowToFront();
}

void THintWindow::releaseHandle()
{
    hide();
}

std::vector<std::string> THintWindow::lines() const
{
    return wrap(caption(), width() - 2 * padding - 2);
}

}  // namespace tk

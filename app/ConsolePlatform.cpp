// Gestures from standard input.
#include "ConsolePlatform.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <istream>
#include <map>
#include <ostream>
#include <sstream>

void ConsolePlatform::printWindows()
{
    for (tk::TCustomForm* f : tk::Application->windows()) {
        if (!f->visible()) continue;
        out_ << f->name() << " \"" << f->caption() << "\" left " << f->left() << " top " << f->top() << " width "
             << f->width() << " height " << f->height() << (tk::Application->activeForm() == f ? " active" : "")
             << "\n";
    }
    out_.flush();
}

void ConsolePlatform::perform(const std::string& line)
{
    static const std::map<std::string, uint16_t> keys = {
        {"enter", tk::vk::Return}, {"esc", tk::vk::Escape}, {"tab", tk::vk::Tab},     {"back", tk::vk::Back},
        {"delete", tk::vk::Delete}, {"left", tk::vk::Left}, {"up", tk::vk::Up},       {"right", tk::vk::Right},
        {"down", tk::vk::Down},    {"home", tk::vk::Home},  {"end", tk::vk::End},     {"space", tk::vk::Space},
        {"f4", tk::vk::F4},
    };
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    tk::TApplication& app = *tk::Application;
    if (verb == "type") {
        std::string text = line.size() > 5 ? line.substr(5) : std::string();
        app.typeText(text);
    } else if (verb == "key") {
        std::string name, mod;
        words >> name;
        tk::TShiftState shift = 0;
        while (words >> mod) {
            if (mod == "shift") shift |= tk::ssShift;
            if (mod == "ctrl") shift |= tk::ssCtrl;
            if (mod == "alt") shift |= tk::ssAlt;
        }
        std::string lower;
        for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        uint16_t key = 0;
        if (auto it = keys.find(lower); it != keys.end()) key = it->second;
        else if (name.size() == 1) key = static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(name[0])));
        if (key) app.pressKey(key, shift);
        else out_ << "unknown key " << name << "\n";
    } else if (verb == "click") {
        int x = 0, y = 0;
        std::string button;
        words >> x >> y >> button;
        tk::TMouseButton b = button == "right" ? tk::TMouseButton::mbRight : tk::TMouseButton::mbLeft;
        app.mouseMove(0, {x, y});
        app.mouseDown(b, 0, {x, y});
        app.mouseUp(b, 0, {x, y});
    } else if (verb == "windows") {
        printWindows();
    } else if (verb == "close") {
        if (tk::TCustomForm* f = app.activeForm()) app.closeByFrame(f);
    } else if (!verb.empty()) {
        out_ << "unknown command " << verb << "\n";
    }
}

void ConsolePlatform::runUntil(const std::function<bool()>& done)
{
    std::string line;
    while (!done()) {
        if (ended_ || !std::getline(in_, line)) {
            // No more input: show where things stand and end the program.
            if (!ended_ && !printedLast_) printWindows();
            ended_ = true;
            for (tk::TCustomForm* f : tk::Application->windows())
                if (f->isModal()) f->setModalResult(tk::mrCancel);
            tk::Application->terminate();
            if (!done()) return;
            continue;
        }
        perform(line);
        printedLast_ = line.rfind("windows", 0) == 0;
    }
}

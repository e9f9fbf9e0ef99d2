// Gestures and questions from standard input.
#include "ConsolePlatform.h"

#include "app/EntryConsoleCommands.h"

#include "gui/Printing.h"
#include "toolkit/data/DBGrid.h"

#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "designs/PropertyText.h"
#include "model/DesignModel.h"
#include "model/SelectionGestures.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <algorithm>
#include <istream>
#include <map>
#include <ostream>
#include <sstream>

namespace {

tk::TShiftState modifiers(std::istream& words, std::string* button = nullptr)
{
    tk::TShiftState shift = 0;
    std::string word;
    while (words >> word) {
        std::string w = tk::lowerAscii(word);
        if (w == "shift") shift |= tk::ssShift;
        else if (w == "ctrl") shift |= tk::ssCtrl;
        else if (w == "alt") shift |= tk::ssAlt;
        else if (button && (w == "right" || w == "left")) *button = w;
    }
    return shift;
}

// A shown window or a data module, by name. The main window also answers
// to "frmClientMain", the name the program reaches it by, after a stored
// design renamed it (frmClientMain_1).
tk::TComponent* findTopLevel(std::string_view name)
{
    for (tk::TCustomForm* f : tk::Application->windows())
        if (tk::sameName(f->name(), name)) return f;
    if (tk::TComponent* c = tk::Application->findComponent(name)) return c;
    if (tk::sameName(name, "frmClientMain")) return velmora::frmClientMain.get();
    return nullptr;
}

// WINDOW or WINDOW.COMPONENT; `rest` gets what follows.
tk::TComponent* findComponentPath(const std::string& path, std::string* rest = nullptr)
{
    size_t dot = path.find('.');
    tk::TComponent* top = findTopLevel(std::string_view(path).substr(0, dot));
    if (!top || dot == std::string::npos) {
        if (rest) rest->clear();
        return top;
    }
    std::string after = path.substr(dot + 1);
    size_t next = after.find('.');
    if (tk::TComponent* c = top->findComponent(std::string_view(after).substr(0, next))) {
        if (rest) *rest = next == std::string::npos ? std::string() : after.substr(next + 1);
        return c;
    }
    if (rest) *rest = after;  // a property of the window itself
    return top;
}

}  // namespace

void ConsolePlatform::printWindows()
{
    for (tk::TCustomForm* f : tk::Application->windows()) {
        if (!f->visible()) continue;
        out_ << f->name() << " \"" << f->caption() << "\" left " << f->left() << " top " << f->top() << " width "
             << f->width() << " height " << f->height() << (tk::Application->activeForm() == f ? " active" : "")
             << (f->isModal() ? " modal" : "") << "\n";
    }
    if (messageBox_) out_ << "message \"" << *messageBox_ << "\" modal\n";
    out_.flush();
}

void ConsolePlatform::showError(const std::string& text)
{
    HeadlessPlatform::showError(text);
    out_ << "error: " << text << "\n";
    out_.flush();
    messageBox_ = text;
}

void ConsolePlatform::printToPdf(const tk::Printout& printout, const std::string& path)
{
    gui::ensureGuiApplication();
    gui::writePdf(printout, path);
}

std::vector<std::string> ConsolePlatform::printers()
{
    gui::ensureGuiApplication();
    return gui::printerNames();
}

bool ConsolePlatform::printOn(const tk::Printout& printout, const std::string& printer)
{
    gui::ensureGuiApplication();
    return gui::printOnPrinter(printout, printer, false);
}

void ConsolePlatform::key(std::istream& words)
{
    static const std::map<std::string, uint16_t> keys = {
        {"enter", tk::vk::Return},  {"esc", tk::vk::Escape},    {"tab", tk::vk::Tab},     {"back", tk::vk::Back},
        {"delete", tk::vk::Delete}, {"insert", tk::vk::Insert}, {"left", tk::vk::Left},   {"up", tk::vk::Up},
        {"right", tk::vk::Right},   {"down", tk::vk::Down},     {"home", tk::vk::Home},   {"end", tk::vk::End},
        {"pgup", tk::vk::Prior},    {"pgdn", tk::vk::Next},     {"space", tk::vk::Space},
    };
    std::string name;
    words >> name;
    tk::TShiftState shift = modifiers(words);
    std::string lower = tk::lowerAscii(name);
    uint16_t code = 0;
    if (auto it = keys.find(lower); it != keys.end()) code = it->second;
    else if (lower.size() >= 2 && lower.size() <= 3 && lower[0] == 'f' &&
             std::isdigit(static_cast<unsigned char>(lower[1]))) {
        int n = std::stoi(lower.substr(1));
        if (n >= 1 && n <= 12) code = static_cast<uint16_t>(112 + n - 1);  // F1 is 112
    } else if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
        code = static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(name[0])));
    if (!code) {
        out_ << "unknown key " << name << "\n";
        return;
    }
    if (messageBox_) {
        // The message box has the keyboard until it is dismissed.
        if (code == tk::vk::Return || code == tk::vk::Escape || code == tk::vk::Space) messageBox_.reset();
        else out_ << "message box waits\n";
        return;
    }
    tk::Application->pressKey(code, shift);
}

void ConsolePlatform::mouse(const std::string& verb, std::istream& words)
{
    int x = 0, y = 0;
    if (!(words >> x >> y)) {
        out_ << verb << " needs X Y\n";
        return;
    }
    std::string buttonWord = "left";
    tk::TShiftState shift = modifiers(words, &buttonWord);
    if (messageBox_) {
        out_ << "message box waits\n";
        return;
    }
    tk::TMouseButton button = buttonWord == "right" ? tk::TMouseButton::mbRight : tk::TMouseButton::mbLeft;
    tk::TShiftState buttonState = button == tk::TMouseButton::mbRight ? tk::ssRight : tk::ssLeft;
    tk::TApplication& app = *tk::Application;
    if (verb == "click" || verb == "dblclick") {
        app.mouseMove(shift | heldButtons_, {x, y});
        app.mouseDown(button, shift | heldButtons_ | buttonState, {x, y});
        app.mouseUp(button, shift | heldButtons_, {x, y});
        if (verb == "dblclick") {
            // The second press of a double click.
            app.mouseDown(button, shift | heldButtons_ | buttonState, {x, y}, true);
            app.mouseUp(button, shift | heldButtons_, {x, y});
        }
    } else if (verb == "press") {
        heldButtons_ |= buttonState;
        app.mouseDown(button, shift | heldButtons_, {x, y});
    } else if (verb == "move") {
        app.mouseMove(shift | heldButtons_, {x, y});
    } else {
        heldButtons_ &= static_cast<tk::TShiftState>(~buttonState);
        app.mouseUp(button, shift | heldButtons_, {x, y});
    }
}

void ConsolePlatform::where(const std::string& path)
{
    std::string rest;
    tk::TComponent* c = findComponentPath(path, &rest);
    if (auto* grid = tk::as<tk::TDBGrid>(c); grid && !rest.empty()) {
        whereTitle(*grid, rest);
        return;
    }
    auto* control = rest.empty() ? tk::as<tk::TControl>(c) : nullptr;
    if (!control) {
        out_ << "none\n";
        return;
    }
    tk::TPoint origin{control->left(), control->top()};
    if (tk::TWinControl* parent = control->parent()) origin = parent->clientToScreen(origin);
    out_ << origin.x << " " << origin.y << " " << control->width() << " " << control->height() << "\n";
}

void ConsolePlatform::whereTitle(tk::TDBGrid& grid, const std::string& fieldName)
{
    tk::TDataSet* data = grid.dataSet();
    for (const tk::TDBGrid::Column& column : grid.columns()) {
        // Scrolled out of view, a title cannot be clicked.
        if (!data || !column.shown || column.left >= grid.clientWidth() ||
            !tk::sameName(data->fieldName(column.field), fieldName))
            continue;
        tk::TPoint origin = grid.clientToScreen({column.left, 0});
        int width = std::min(column.width, grid.clientWidth() - column.left);
        out_ << origin.x << " " << origin.y << " " << width << " " << grid.titleHeight() << "\n";
        return;
    }
    out_ << "none\n";
}

void ConsolePlatform::text(const std::string& windowName)
{
    tk::TComponent* window = findTopLevel(windowName);
    if (!window) {
        out_ << "none\n";
        return;
    }
    try {
        std::string design = velmora::designText(*window);
        // Lines as the console prints everything: without the carriage returns.
        for (char ch : design)
            if (ch != '\r') out_ << ch;
        out_ << "end\n";
    } catch (const std::exception&) {
        out_ << "none\n";
    }
}

void ConsolePlatform::get(const std::string& path)
{
    std::string property;
    tk::TComponent* c = findComponentPath(path, &property);
    if (!c) {
        out_ << "none\n";
        return;
    }
    if (property.empty() || !tk::hasProperty(*c, property)) {
        out_ << "unknown property " << (property.empty() ? path : property) << "\n";
        return;
    }
    try {
        std::optional<std::string> value = velmora::propertyFormText(*c, property);
        out_ << (value ? *value : "none") << "\n";
    } catch (const std::exception&) {
        out_ << "none\n";
    }
}

void ConsolePlatform::selection()
{
    if (velmora::DesignModel* model = velmora::existingDesignModel())
        for (tk::TControl* c : model->selection()) out_ << c->name() << "\n";
    out_ << "end\n";
}

void ConsolePlatform::handles(const std::string& path)
{
    std::string rest;
    auto* control = tk::as<tk::TControl>(findComponentPath(path, &rest));
    velmora::DesignModel* model = velmora::existingDesignModel();
    std::vector<tk::Overlay::Mark> marks;
    if (control && rest.empty() && model && control->parentForm() && model->isSelected(control) &&
        velmora::DesignModel::selectionMember(control) == control)
        model->selectionOverlay().marks(*control->parentForm(), marks);
    std::array<tk::TRect, 8> mine{};
    if (control) mine = velmora::SelectionGestures::screenHandles(*control);
    int shown = 0;
    for (const tk::Overlay::Mark& m : marks)
        if (std::find(mine.begin(), mine.end(), m.rect) != mine.end()) {
            out_ << m.rect.left << " " << m.rect.top << " " << m.rect.width() << " " << m.rect.height()
                 << (m.filled ? " filled" : " hollow") << "\n";
            ++shown;
        }
    if (!shown) out_ << "none\n";
}

void ConsolePlatform::setClipboard(std::istream& words)
{
    std::string mark;
    if (!(words >> mark)) {
        out_ << "setclipboard needs an end mark\n";
        return;
    }
    // The lines up to the mark, with the line ends form text has.
    std::string text, line;
    while (std::getline(in_, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == mark) break;
        text += line + "\r\n";
    }
    setClipboardText(text);
}

void ConsolePlatform::focus()
{
    tk::TWinControl* focused = tk::Application->focusedControl();
    if (!focused) {
        out_ << "none\n";
        return;
    }
    tk::TComponent* top = focused->root();
    out_ << (top == focused ? focused->name() : top->name() + "." + focused->name()) << "\n";
}

void ConsolePlatform::perform(const std::string& line)
{
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    tk::TApplication& app = *tk::Application;
    if (verb == "type") {
        if (messageBox_) {
            out_ << "message box waits\n";
            return;
        }
        app.typeText(line.size() > 5 ? line.substr(5) : std::string());
    } else if (verb == "key") {
        key(words);
    } else if (verb == "click" || verb == "dblclick" || verb == "press" || verb == "move" || verb == "release") {
        mouse(verb, words);
    } else if (verb == "menu") {
        // menu CAPTION|CAPTION: the program's menu item, as a click would.
        std::string path;
        std::getline(words >> std::ws, path);
        std::vector<std::string> captions;
        for (size_t from = 0;;) {
            size_t bar = path.find('|', from);
            captions.push_back(path.substr(from, bar - from));
            if (bar == std::string::npos) break;
            from = bar + 1;
        }
        if (!tk::Application->chooseProgramMenuItem(captions)) out_ << "no menu item " << path << "\n";
    } else if (verb == "windows") {
        printWindows();
    } else if (verb == "activate") {
        // activate WINDOW: the window manager's switch to another window
        // (Alt+Tab), which no key of the program's own makes.
        std::string name;
        words >> name;
        auto* form = tk::as<tk::TCustomForm>(findComponentPath(name, nullptr));
        if (form && form->visible()) form->activate();
        else out_ << "none\n";
    } else if (verb == "where" || verb == "text" || verb == "get") {
        std::string argument;
        words >> argument;
        if (verb == "where") where(argument);
        else if (verb == "text") text(argument);
        else get(argument);
    } else if (verb == "rows") {
        std::string argument;
        words >> argument;
        rows(argument);
    } else if (verb == "focus") {
        focus();
    } else if (verb == "clipboard") {
        // Lines as the console prints everything: without carriage returns.
        for (char ch : clipboardText())
            if (ch != '\r') out_ << ch;
        if (!clipboardText().empty() && clipboardText().back() != '\n') out_ << "\n";
        out_ << "end\n";
    } else if (verb == "setclipboard") {
        setClipboard(words);
    } else if (verb == "selection") {
        selection();
    } else if (verb == "handles") {
        std::string argument;
        words >> argument;
        handles(argument);
    } else if (verb == "drop") {
        // drop PATH: a file dragged from the desktop onto the active window.
        std::string path;
        std::getline(words >> std::ws, path);
        if (!app.dropFiles(app.activeForm(), {path})) out_ << "not taken\n";
    } else if (verb == "close") {
        if (messageBox_) messageBox_.reset();
        else if (tk::TCustomForm* f = app.activeForm()) app.closeByFrame(f);
    } else if (!verb.empty() && !velmora::runEntryConsoleCommand(verb, words, out_)) {
        out_ << "unknown command " << verb << "\n";
    }
    out_.flush();
}

bool ConsolePlatform::openWithDesktop(const std::string& path)
{
    out_ << "opened " << path << "\n";
    return true;
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
        if (!line.empty() && line.back() == '\r') line.pop_back();
        perform(line);
        printedLast_ = line.rfind("windows", 0) == 0;
    }
}

namespace {

// A grid cell as one line of text: tabs, newlines and backslashes escaped.
std::string cellLine(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\t') out += "\\t";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out;
}

}  // namespace

void ConsolePlatform::rows(const std::string& path)
{
    std::string rest;
    tk::TComponent* c = findComponentPath(path, &rest);
    auto* grid = rest.empty() ? tk::as<tk::TDBGrid>(c) : nullptr;
    tk::TDataSet* data = grid ? grid->dataSet() : nullptr;
    if (!data || !data->active()) {
        out_ << "none\n";
        return;
    }
    std::vector<tk::TDBGrid::Column> columns = grid->columns();
    // A title that orders the rows says which way.
    for (size_t i = 0; i < columns.size(); ++i) {
        const tk::TDBGrid::Column& c = columns[i];
        const char* arrow = c.sort == tk::TDBGrid::SortMark::Ascending    ? " ▲"
                            : c.sort == tk::TDBGrid::SortMark::Descending ? " ▼"
                                                                          : "";
        out_ << (i ? "\t" : "") << cellLine(c.title) << arrow;
    }
    out_ << "\n";
    for (int row = 0; row < data->recordCount(); ++row) {
        std::string line;
        for (size_t i = 0; i < columns.size(); ++i)
            line += (i ? "\t" : "") + cellLine(data->displayText(row, columns[i].field));
        // A result counted only so far ends where its reading ends.
        if (row >= data->recordCount()) break;
        out_ << line << "\n";
    }
    out_ << "end\n";
}

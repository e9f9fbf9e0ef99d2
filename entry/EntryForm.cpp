// Entering and changing documents.
#include "entry/EntryForm.h"

#include "controls/ZEDBtn.h"
#include "controls/ZEDit.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "entry/Dictionaries.h"
#include "entry/EntryFields.h"
#include "entry/FieldValues.h"
#include "entry/FittingDates.h"
#include "entry/Question.h"
#include "entry/Refusal.h"
#include "registry/Numbering.h"
#include "registry/RegistryTables.h"
#include "registry/SearchText.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <utility>

namespace velmora {

namespace {

// How often the clerk's program looks after the file it reads.
constexpr int readingStepMs = 500;

}  // namespace

EntryForm::EntryForm(tk::TForm& window, db::TADOConnection& connection, int32_t userID)
    : window_(&window), connection_(&connection), documents_(connection, userID), dictionaries_(connection)
{
}

void EntryForm::start(bool hasStoredDesign)
{
    tk::TForm& window = *window_;
    ensureHistoryTable(*connection_);
    ensureDictionaryItemTable(*connection_);
    ensureAttachmentTables(*connection_);
    // Rows written around the folded text's triggers (by hand, by an
    // older program) or a changed fold: the folded text is made again
    // before anything is searched, where this program may. Elsewhere a
    // search reads Document itself, slower but right.
    std::string said;
    if (connection_->loginRolePrefix().empty()) {
        try {
            if (searchTextIsStale(*connection_) && makeSearchText(*connection_, true).made)
                said = "A keresési szöveg elavult volt, újra elkészült.";
        } catch (const db::EDatabaseError&) {
        }
    }
    found_.forgetSearchText();
    dictionaries_.forget();
    {
        db::TADOQuery catalogue(nullptr);
        catalogue.setConnection(connection_.get());
        columns_ = DocumentColumns::read(catalogue);
    }
    numberedColumns_ = numberedColumns(*connection_);
    dictionaryFields_ = makeDictionaryFields(fields(), *connection_, dictionaries_);
    wireWindow();
    widenDateFieldsToFit(window);
    if (auto* pages = tk::as<tk::TPageControl>(window.findComponent("pcData")))
        if (auto* sheet = tk::as<tk::TTabSheet>(entryPage())) pages->setActivePage(sheet);
    applyState(EntryState::None);
    // The search page starts without conditions (a stored picker is
    // checked).
    if (auto* page = tk::as<tk::TWinControl>(window.findComponent("tsSearch")))
        for (tk::TControl* c : page->controls())
            if (isFieldControl(c)) tk::setProp(*c, "Empty", tk::Value(true));
    setStatus(hasStoredDesign ? said : "Ehhez a csoporthoz még nem készült űrlap.");
    // What waits from earlier runs is read from the start.
    reading_ = std::make_unique<BackgroundReading>(
        *connection_, Attachments(*connection_, documents_.userID(), documents_.login()), documents_.login());
    if (!readingTimer_) {
        auto* timer = new tk::TTimer(&window);
        timer->setInterval(readingStepMs);
        timer->OnTimer = tk::Handler::notify([this](tk::TObject*) { stepReading(); });
        readingTimer_ = timer;
    }
}

void EntryForm::attachFiles(const std::vector<std::string>& paths)
{
    actions_.attachFiles(paths);
    if (reading_) reading_->wake();
}

void EntryForm::stepReading()
{
    if (!reading_) return;
    try {
        reading_->step();
    } catch (const std::exception&) {
        // The database is away for now: the file waits for a later step.
    }
    if (std::optional<std::string> note = reading_->takeMissingNote()) setStatus(*note);
}

void EntryForm::finishReading()
{
    if (!reading_) return;
    auto until = std::chrono::steady_clock::now() + std::chrono::minutes(10);
    // Done once nothing is read and nothing more waits.
    for (int idle = 0; idle < 2 && std::chrono::steady_clock::now() < until;) {
        reading_->wake();
        stepReading();
        if (reading_->reading()) {
            idle = 0;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } else {
            ++idle;
        }
    }
}

tk::TWinControl* EntryForm::entryPage() const
{
    return window_ ? tk::as<tk::TWinControl>(window_->findComponent("tsEdit")) : nullptr;
}

std::vector<tk::TControl*> EntryForm::fields() const
{
    return entryFields(entryPage());
}

std::vector<BoundField> EntryForm::boundFields() const
{
    return bindFields(fields(), columns_, numberedColumns_);
}

DictionaryField* EntryForm::dictionaryFieldOf(const tk::TControl* field) const
{
    for (const auto& d : dictionaryFields_)
        if (d->edit() == field) return d.get();
    return nullptr;
}

void EntryForm::applyState(EntryState state)
{
    state_ = state;
    // A cleared form keeps no chosen entry: a stale key would pass the
    // required check and be stored.
    if (state == EntryState::None || state == EntryState::New)
        for (const auto& d : dictionaryFields_) d->clear();
    tk::TWinControl* page = entryPage();
    if (!page) return;
    // Only the entry page takes part: the search page's button would be
    // disabled by any state.
    // The controls keep the state as its integer.
    int code = static_cast<int>(state);
    for (tk::TControl* c : page->controls()) {
        if (auto* button = tk::as<TZEDBtn>(c)) button->setState(code);
        else if (isFieldControl(c)) tk::setProp(*c, "State", tk::Value(code));
    }
    showNumberedFields(state);
}

bool EntryForm::isNumbered(const std::string& column) const
{
    return isNumberedColumn(numberedColumns_, column);
}

void EntryForm::showNumberedFields(EntryState state)
{
    for (tk::TControl* field : fields()) {
        if (!isNumbered(tk::getPropTextOr(*field, "KeyField"))) continue;
        field->setEnabled(false);
        if (auto* edit = tk::as<TZEDit>(field); edit && state == EntryState::New) edit->setText(automaticNumber);
    }
}

void EntryForm::setStatus(const std::string& text)
{
    if (!window_) return;
    for (tk::TComponent* c : window_->components())
        if (auto* bar = tk::as<tk::TStatusBar>(c)) {
            bar->setSimplePanel(true);
            bar->setSimpleText(text);
            return;
        }
}

std::vector<std::string> EntryForm::snapshot() const
{
    std::vector<std::string> values;
    for (tk::TControl* field : fields()) values.push_back(fieldSnapshot(*field));
    return values;
}

bool EntryForm::hasUnsavedChanges() const
{
    return editing() && snapshot() != snapshot_;
}

void EntryForm::focusFirstField()
{
    for (tk::TControl* field : fields())
        if (auto* w = tk::as<tk::TWinControl>(field); w && w->canFocus()) {
            w->setFocus();
            return;
        }
}

void EntryForm::focusOnEntryPage(const char* button)
{
    auto* focused = tk::Application ? tk::Application->focusedControl() : nullptr;
    tk::TWinControl* page = entryPage();
    if (!page) return;
    auto* named = button ? tk::as<tk::TWinControl>(window_->findComponent(button)) : nullptr;
    if (named && named->canFocus()) return named->setFocus();
    // Focus left where it can no longer be (a field closed by the save):
    // the entry page's first control that takes it.
    if (focused && focused->canFocus() && focused->isShowing()) return;
    if (tk::TWinControl* first = page->findNextControl(nullptr, true, true)) first->setFocus();
}

void EntryForm::newDocument()
{
    if (editing()) return;
    beforeNew_ = shown_;
    applyState(EntryState::New);
    snapshot_ = snapshot();
    setStatus("Új dokumentum");
    focusFirstField();
}

void EntryForm::modifyDocument()
{
    if (state_ != EntryState::Shown || !shown_) return;
    if (voided_) throw ERefused("Érvénytelenített dokumentum nem módosítható: " + *voided_);
    applyState(EntryState::Modifying);
    snapshot_ = snapshot();
    textsBefore_.clear();
    for (tk::TControl* field : fields()) textsBefore_.push_back(shownText(*field));
    setStatus("Dokumentum: " + std::to_string(shown_) + " (módosítás)");
    focusFirstField();
}

void EntryForm::followNumberingInForce()
{
    std::vector<std::string> inForce = numberedColumns(*connection_);
    std::string changed;
    for (const std::string& column : inForce)
        if (!isNumbered(column)) changed += (changed.empty() ? "" : "; ") + column + ": ezentúl az adatbázis számozza";
    for (const std::string& column : numberedColumns_)
        if (!isNumberedColumn(inForce, column)) changed += (changed.empty() ? "" : "; ") + column + ": már nem számozott";
    if (changed.empty()) return;
    std::vector<std::string> before = std::exchange(numberedColumns_, inForce);
    // A field no longer numbered takes input as its state allows; a new
    // document's is empty until the clerk types its value.
    for (tk::TControl* field : fields()) {
        std::string column = tk::getPropTextOr(*field, "KeyField");
        if (!isNumberedColumn(before, column) || isNumbered(column)) continue;
        tk::setProp(*field, "State", tk::Value(static_cast<int>(state_)));
        if (auto* edit = tk::as<TZEDit>(field); edit && state_ == EntryState::New) edit->setText("");
    }
    showNumberedFields(state_);
    throw ERefused("A számozás időközben megváltozott (" + changed +
                   "), ezért a mentés nem történt meg. A mezők most ennek megfelelően állnak: ellenőrizze őket, és "
                   "mentse újra.");
}

void EntryForm::saveDocument()
{
    if (!editing()) return;
    // Numbering set or taken off since the form was opened: the save
    // follows the rules in force now.
    followNumberingInForce();
    std::vector<BoundField> bound = boundFields();
    if (bound.empty()) {
        // Nothing of the form would reach the row: no empty document, no
        // history row.
        cancelEditing();
        setStatus("Nincs mit menteni: az űrlap egyetlen mezője sincs a Document tábla oszlopához kötve.");
        return;
    }
    // The database numbers a new document; a number is never changed.
    if (state_ == EntryState::New) std::erase_if(bound, [](const BoundField& b) { return b.numbered; });
    // A new document takes every field. A modification checks only the
    // fields open for change and writes only those the clerk changed, so
    // the rest of the row (a time of day a date field does not show, a
    // column this form cannot change) stays as stored.
    std::vector<db::Cell> values;  // one a bound field: what the row holds after the save
    std::vector<bool> written;
    for (const BoundField& b : bound) {
        bool isNew = state_ == EntryState::New;
        bool open = isNew || (!b.numbered && tk::getPropTextOr(*b.field, "CanModify", "False") == "True");
        if (!open) {
            values.push_back(shownValue(b.column->name));
            written.push_back(false);
            continue;
        }
        StoredValue v = valueToSave(b, dictionaryFieldOf(b.field));
        if (!v.refusal.empty()) {
            if (auto* w = tk::as<tk::TWinControl>(b.field); w && w->canFocus()) w->setFocus();
            throw ERefused(v.refusal);
        }
        bool changed = isNew || b.position >= snapshot_.size() || fieldSnapshot(*b.field) != snapshot_[b.position];
        values.push_back(changed ? std::move(v.cell) : shownValue(b.column->name));
        written.push_back(changed);
    }
    if (state_ == EntryState::New) insertDocument(bound, values);
    else updateDocument(bound, values, written);
    // The saved fields close; the next thing to do is a new document.
    focusOnEntryPage("btnNew");
}

db::Cell EntryForm::shownValue(const std::string& column) const
{
    for (const auto& [name, cell] : shownValues_)
        if (name == column) return cell;
    return {};
}

void EntryForm::insertDocument(const std::vector<BoundField>& bound, const std::vector<db::Cell>& values)
{
    std::vector<ColumnValue> row;
    for (size_t i = 0; i < bound.size(); ++i)
        row.push_back({bound[i].column->name, values[i], shownText(*bound[i].field)});
    showSaved(documents_.insert(row), bound, values);
}

void EntryForm::showSaved(int64_t id, const std::vector<BoundField>& bound, const std::vector<db::Cell>& values)
{
    db::pausePoint("document-saved");
    try {
        showDocument(id);
    } catch (const std::exception& e) {
        // The document is stored; only reading it back failed (a busy or
        // lost database). The form shows it as saved, with the values just
        // written, so that a retry does not save it again.
        markShown(id, bound, values);
        throw ESavedNotReadBack(std::string(savedButNotReadBack) + e.what());
    }
}

void EntryForm::updateDocument(const std::vector<BoundField>& bound, const std::vector<db::Cell>& values,
                               const std::vector<bool>& written)
{
    std::vector<ColumnValue> changes, shown;
    for (size_t i = 0; i < bound.size(); ++i) {
        const std::string& name = bound[i].column->name;
        if (written[i]) changes.push_back({name, values[i], shownText(*bound[i].field)});
        size_t at = bound[i].position;
        shown.push_back({name, shownValue(name), at < textsBefore_.size() ? textsBefore_[at] : std::string()});
    }
    if (changes.empty()) {
        // Nothing changed: the stored row stays as it is, and so does its
        // history.
        showDocument(shown_);
        setStatus("Dokumentum: " + std::to_string(shown_) + " (nem változott)");
        return;
    }
    if (!documents_.update(shown_, changes, shown))
        throw ERefused("A dokumentumot időközben valaki más módosította, ezért a mentés nem történt meg.");
    showSaved(shown_, bound, values);
}

void EntryForm::openDictionaryUpkeep()
{
    for (const auto& d : dictionaryFields_)
        if (window_ && d->edit() && window_->activeControl() == d->edit()) {
            d->openUpkeep();
            return;
        }
    throw ERefused("A szótárelemek egy szótáras mezőből érhetők el: álljon a mezőre, és válassza újra.");
}

std::vector<ColumnCaption> EntryForm::columnCaptions() const
{
    std::vector<ColumnCaption> captions;
    for (tk::TControl* field : fields())
        if (std::string keyField = tk::getPropTextOr(*field, "KeyField"); !keyField.empty())
            if (const DocumentColumn* column = columns_.find(keyField))
                captions.emplace_back(column->name, fieldLabel(*field));
    return captions;
}

void EntryForm::showDocument(int64_t documentID)
{
    std::vector<BoundField> bound = boundFields();
    std::vector<std::string> columns;
    for (const BoundField& b : bound) columns.push_back(b.column->name);
    std::optional<std::vector<db::Cell>> cells = documents_.read(documentID, columns);
    if (!cells) {
        shown_ = 0;
        shownValues_.clear();
        applyState(EntryState::None);
        throw ERefused("A dokumentum már nem létezik: " + std::to_string(documentID));
    }
    markShown(documentID, bound, *cells);
    voided_ = documents_.voidReason(documentID);
    if (voided_) setStatus("ÉRVÉNYTELENÍTVE: " + *voided_);
    for (size_t i = 0; i < bound.size(); ++i) {
        const BoundField& b = bound[i];
        const db::Cell& cell = (*cells)[i];
        showStoredValue(*b.field, *b.column, cell);
        if (DictionaryField* d = dictionaryFieldOf(b.field)) {
            if (cell.type == db::Cell::Type::Null) d->clear();
            else d->showKey(cell.type == db::Cell::Type::Integer ? cell.i : std::atoll(db::cellText(cell).c_str()));
        }
    }
}

void EntryForm::markShown(int64_t id, const std::vector<BoundField>& bound, const std::vector<db::Cell>& stored)
{
    applyState(EntryState::Shown);
    voided_.reset();
    shown_ = id;
    shownValues_.clear();
    for (size_t i = 0; i < bound.size(); ++i) shownValues_.emplace_back(bound[i].column->name, stored[i]);
    setStatus("Dokumentum: " + std::to_string(id));
}

void EntryForm::cancelEditing()
{
    if (state_ == EntryState::Modifying) {
        showDocument(shown_);
    } else if (state_ == EntryState::New) {
        if (beforeNew_) {
            showDocument(beforeNew_);
        } else {
            applyState(EntryState::None);
            setStatus(std::string());
        }
    }
}

bool EntryForm::mayClose()
{
    if (!hasUnsavedChanges()) return true;
    switch (askToSaveChanges()) {
    case tk::mrYes: saveDocument(); return true;
    case tk::mrNo: return true;
    default: return false;
    }
}

bool EntryForm::leaveEditing()
{
    if (!editing()) return true;
    if (!mayClose()) return false;
    // Nothing to save, or the clerk chose not to: back to what is stored.
    if (editing()) cancelEditing();
    return true;
}

bool EntryForm::onEntryPage() const
{
    auto* pages = window_ ? tk::as<tk::TPageControl>(window_->findComponent("pcData")) : nullptr;
    return !pages || pages->activePage() == entryPage();
}

std::optional<BoundField> EntryForm::registryField() const
{
    std::vector<BoundField> bound = boundFields();
    for (const BoundField& b : bound)
        if (b.numbered) return b;
    if (bound.empty()) return std::nullopt;
    return *std::min_element(bound.begin(), bound.end(),
                             [](const BoundField& a, const BoundField& b) { return a.position < b.position; });
}

}  // namespace velmora

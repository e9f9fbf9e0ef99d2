// Entering and changing documents.
#include "entry/EntryForm.h"

#include "controls/ZEDBtn.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "entry/AttachmentWindow.h"
#include "entry/ClerkMenu.h"
#include "entry/DatabaseMessage.h"
#include "entry/Dictionaries.h"
#include "entry/EntryFields.h"
#include "entry/FieldValues.h"
#include "entry/FittingDates.h"
#include "entry/History.h"
#include "entry/HistoryWindow.h"
#include "entry/Printouts.h"
#include "entry/Question.h"
#include "entry/Refusal.h"
#include "entry/Search.h"
#include "entry/TextQuestion.h"
#include "registry/Numbering.h"
#include "registry/RegistryTables.h"
#include "registry/SearchText.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>
#include <utility>
#include <cstdlib>

namespace velmora {

namespace {

// The result grid reads this many rows at a time: a screenful many times
// over, and few statements for a printed list of thousands.
constexpr int resultPageRows = 200;
// A search counts its result exactly up to this many rows, and says "more
// than" beyond: a broad search is not kept waiting for a count of them all.
constexpr int resultCountLimit = 1000;

// What a count that stopped at the limit says: "több mint 1000".
std::string moreThanLimit()
{
    return "több mint " + std::to_string(resultCountLimit);
}

std::string foundWords(const db::TADOQuery& q)
{
    // Capitalised: the status bar begins with it.
    if (q.countIsLowerBound()) return "T" + moreThanLimit().substr(1) + " találat";
    return q.recordCount() ? std::to_string(q.recordCount()) + " találat" : std::string("Nincs találat");
}

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
    searchText_.reset();
    dictionaries_.forget();
    {
        db::TADOQuery catalogue(nullptr);
        catalogue.setConnection(connection_.get());
        columns_ = DocumentColumns::read(catalogue);
    }
    numberedColumns_ = numberedColumns(*connection_);
    dictionaryFields_ = makeDictionaryFields(fields(), *connection_, dictionaries_);
    struct Action {
        const char* button;
        void (EntryForm::*work)();
    };
    const Action actions[] = {{"btnNew", &EntryForm::newDocument},
                              {"btnModify", &EntryForm::modifyDocument},
                              {"btnSave", &EntryForm::saveDocument},
                              {"btnCancel", &EntryForm::cancelEditing}};
    // Each action says a database's failure in the clerk's words.
    auto act = [this](void (EntryForm::*work)()) {
        return tk::Handler::notify([this, work](tk::TObject*) { sayingDatabaseFailures([&] { (this->*work)(); }); });
    };
    for (const Action& a : actions)
        if (auto* button = tk::as<tk::TBitBtn>(window.findComponent(a.button))) button->OnClick = act(a.work);
    if (auto* button = tk::as<tk::TBitBtn>(window.findComponent("btnSearch")))
        button->OnClick = act(&EntryForm::search);
    if (auto* button = tk::as<tk::TBitBtn>(window.findComponent("btnPrint")))
        button->OnClick = act(&EntryForm::printResult);
    if (auto* grid = tk::as<tk::TDBGrid>(window.findComponent("dbgSearch"))) {
        grid->OnDblClick = act(&EntryForm::openFoundDocument);
        grid->OnTitleClick = tk::Handler::notify([this, grid](tk::TObject*) {
            std::vector<tk::TDBGrid::Column> columns = grid->columns();
            size_t at = static_cast<size_t>(grid->selectedColumn());
            if (at >= columns.size() || !results_ || !results_->active()) return;
            std::string column = results_->fieldName(columns[at].field);
            sayingDatabaseFailures([&] { sortResultsBy(column); });
        });
        // Enter in the grid opens the row instead of pressing btnSearch.
        grid->OnKeyDown = tk::Handler::key([this](tk::TObject*, uint16_t& key, tk::TShiftState) {
            if (key != tk::vk::Return) return;
            key = 0;
            sayingDatabaseFailures([&] { openFoundDocument(); });
        });
    }
    // The actions that no button of a design holds are the clerk's menu's
    // items, each with a key of the window; F10 opens the menu itself.
    window.setKeyPreview(true);
    window.OnKeyDown = tk::Handler::key([this](tk::TObject*, uint16_t& key, tk::TShiftState shift) {
        if ((shift & (tk::ssShift | tk::ssAlt | tk::ssCtrl)) || !menu_) return;
        if (key == tk::vk::F10) {
            key = 0;
            menu_->popup(window_->left() + 8, window_->top() + 30);
            // Opened by a key, the menu has its first item highlighted.
            if (tk::Application->popup() == menu_.get()) menu_->popupKeyDown(tk::vk::Down, 0);
        } else if (chooseByKey(*this, *menu_, key)) {
            key = 0;
        }
    });
    menu_ = makeClerkMenu(*this);
    // Files dropped from the file manager are attached to the shown document.
    window.onDropFiles = [this](const std::vector<std::string>& paths) {
        sayingDatabaseFailures([&] { attachFiles(paths); });
    };
    window.OnCloseQuery = tk::Handler::closeQuery(
        [this](tk::TObject*, bool& canClose) { sayingDatabaseFailures([&] { canClose = mayClose(); }); });

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

void EntryForm::voidShownDocument()
{
    if (state_ != EntryState::Shown || !shown_) return;
    if (voided_) throw ERefused("A dokumentum már érvénytelenítve van: " + *voided_);
    std::optional<std::string> reason = askForText("frmVoidReason", "Az érvénytelenítés oka:");
    if (!reason) return;
    std::string why = tk::trimmed(*reason);
    if (why.empty()) throw ERefused("Az érvénytelenítés okát meg kell adni; a dokumentum nem lett érvénytelenítve.");
    bool voided = documents_.voidDocument(shown_, why);
    showDocument(shown_);
    if (!voided) throw ERefused("A dokumentumot időközben valaki más érvénytelenítette.");
}

std::vector<Attachment> EntryForm::shownAttachments()
{
    if (!shown_ || state_ == EntryState::None || state_ == EntryState::New) return {};
    return Attachments(*connection_, documents_.userID(), documents_.login()).list(shown_);
}

namespace {

// The shown document's attachment `id`; raises when it is not one of them.
Attachment attachmentOf(Attachments& files, int64_t document, int64_t id)
{
    std::optional<Attachment> found = files.find(id);
    if (!found || found->documentID != document) throw ERefused("Nincs ilyen melléklet a megjelenített dokumentumnál.");
    return *found;
}

}  // namespace

Attachments EntryForm::attachments()
{
    return Attachments(*connection_, documents_.userID(), documents_.login());
}

void EntryForm::requireShownDocument(std::optional<EntryState> only) const
{
    bool shown = shown_ && (only ? state_ == *only : state_ != EntryState::None && state_ != EntryState::New);
    if (!shown) throw ERefused("Nincs megjelenített dokumentum: előbb keressen meg vagy vigyen fel egyet.");
}

void EntryForm::attachFiles(const std::vector<std::string>& paths)
{
    requireShownDocument();
    if (voided_) throw ERefused("Érvénytelenített dokumentumhoz nem lehet fájlt csatolni.");
    Attachments files = attachments();
    int attached = 0;
    std::string last;
    for (const std::string& path : paths) {
        std::string sum = fileSha256(path);
        if (std::optional<Attachment> same = files.sameFile(shown_, sum))
            if (askQuestion("frmAttachAgain",
                            "Ez a fájl már csatolva van a dokumentumhoz: " + same->name + ". Csatolja még egyszer?",
                            false) != tk::mrYes)
                continue;
        last = files.add(shown_, path).name;
        ++attached;
    }
    if (attached == 1) setStatus("Csatolva: " + last);
    else if (attached > 1) setStatus(std::to_string(attached) + " fájl csatolva");
}

void EntryForm::saveAttachmentAs(int64_t attachmentID, const std::string& path)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, shown_, attachmentID);
    files.saveTo(a, path);
    setStatus("Mentve: " + path);
}

void EntryForm::removeAttachment(int64_t attachmentID)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, shown_, attachmentID);
    files.remove(a);
    setStatus("Melléklet törölve: " + a.name);
}

void EntryForm::openAttachment(int64_t attachmentID)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, shown_, attachmentID);
    if (a.removed()) throw ERefused("A mellékletet törölték: " + a.name);
    if (!isViewableDocument(a.type, a.name))
        throw ERefused("Ez a melléklet nem ismert dokumentum vagy kép (" + a.type +
                       "), vagy a neve nem illik a tartalmához: megnyitni nem lehet, mert program is lehet; csak "
                       "menthető (Mentés másként): " + a.name);
    std::string copy = viewingCopies_.pathFor(a.id, a.name);
    files.saveTo(a, copy, 0400);
    if (!tk::Application->platform().openWithDesktop(copy))
        throw ERefused("A mellékletet nem lehet megnyitni: nincs hozzá megjelenítő. Mentse el (Mentés másként): " +
                       a.name);
    setStatus("Megnyitva: " + a.name);
}

void EntryForm::showAttachments()
{
    requireShownDocument();
    showAttachmentWindow(*this, *connection_, shown_);
}

void EntryForm::chooseFilesToAttach()
{
    tk::Platform& platform = tk::Application->platform();
    std::vector<std::string> chosen;
    if (platform.hasFileDialog()) {
        chosen = platform.chooseOpenFiles("Csatolás");
    } else if (std::optional<std::string> typed = askForText("frmAttachFile", "Csatolandó fájl:")) {
        if (!tk::trimmed(*typed).empty()) chosen.push_back(tk::trimmed(*typed));
    }
    if (!chosen.empty()) attachFiles(chosen);
}

void EntryForm::chooseWhereToSaveAttachment(int64_t attachmentID)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, shown_, attachmentID);
    tk::Platform& platform = tk::Application->platform();
    std::optional<std::string> target = platform.hasFileDialog()
                                            ? platform.chooseSaveFile("Mentés másként", safeFileName(a.name))
                                            : askForText("frmSaveAttachment", "Mentés ide:");
    if (!target || tk::trimmed(*target).empty()) return;
    saveAttachmentAs(attachmentID, tk::trimmed(*target));
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

void EntryForm::showHistory()
{
    if (!shown_ || state_ == EntryState::None || state_ == EntryState::New) return;
    showHistoryWindow(*connection_, shown_, columnCaptions());
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

void EntryForm::search()
{
    if (!leaveEditing()) return;
    std::vector<SearchField> conditions;
    if (auto* page = tk::as<tk::TWinControl>(window_->findComponent("tsSearch")))
        for (tk::TControl* c : page->controls()) {
            if (!isFieldControl(c)) continue;
            std::string keyField = tk::getPropTextOr(*c, "KeyField");
            if (keyField.empty()) continue;
            const DocumentColumn* column = columns_.find(keyField);
            if (!column || !db::fitsBrackets(column->name))
                throw ERefused("Nincs ilyen oszlop a Document táblában: " + keyField);
            std::optional<int64_t> dictionary;
            // Only a typed text is looked up in a dictionary.
            if (auto* edit = tk::as<TZEDit>(c); edit && !tk::trimmed(edit->text()).empty())
                if (std::optional<DictionaryRef> d = dictionaries_.of(keyField, edit->Dictionary())) dictionary = d->id;
            conditions.push_back({c, column, dictionary});
        }
    std::vector<ResultColumn> shown = resultColumns();
    // Read once, as the catalogue is; a statement that fails on it has it
    // read again by the next search.
    if (!searchText_) searchText_ = SearchText::read(*connection_);
    try {
        db::TADOQuery* q =
            runSearch(buildSearch(conditions, shown, voidedInSearch_, &*searchText_), shown, voidedInSearch_);
        setStatus(foundWords(*q));
    } catch (const db::EDatabaseError&) {
        searchText_.reset();
        throw;
    }
}

void EntryForm::switchVoidedInSearch()
{
    voidedInSearch_ = leavesOutVoided() ? VoidedDocuments::Included : VoidedDocuments::LeftOut;
    setStatus(leavesOutVoided() ? "A keresés az érvénytelenített dokumentumokat kihagyja."
                                : "A keresés az érvénytelenített dokumentumokat is megtalálja, megjelölve.");
    // A result on show follows at once; its count then takes the status bar.
    if (results_ && results_->active() && !editing()) search();
}

bool EntryForm::onEntryPage() const
{
    auto* pages = window_ ? tk::as<tk::TPageControl>(window_->findComponent("pcData")) : nullptr;
    return !pages || pages->activePage() == entryPage();
}

void EntryForm::showNextFound()
{
    stepThroughFound(1);
}

void EntryForm::showPreviousFound()
{
    stepThroughFound(-1);
}

void EntryForm::stepThroughFound(int by)
{
    db::TADOQuery* q = results_.get();
    if (!q || !q->active() || q->recordCount() == 0)
        throw ERefused("Nincs találat, amelyen lépni lehetne: előbb keressen a Keresés lapon.");
    int at = q->recNo();
    int to = std::clamp(at + by, 0, q->recordCount() - 1);
    if (to == at && shown_ == q->fieldByName("DocumentID")->asInteger()) return;
    if (!leaveEditing()) return;
    q->moveBy(to - at);
    showDocument(q->fieldByName("DocumentID")->asInteger());
    std::string where = std::to_string(q->recNo() + 1) + " / " +
                        (q->countIsLowerBound() ? moreThanLimit() : std::to_string(q->recordCount()));
    setStatus(voided_ ? where + ", ÉRVÉNYTELENÍTVE: " + *voided_ : where);
}

namespace {

// What a result column's texts are: a dictionary entry and "Igen"/"Nem"
// are texts whatever the column keeps.
tk::Printout::Kind printedKind(const ResultColumn& r)
{
    if (r.dictionary || isYesNoColumn(*r.column)) return tk::Printout::Kind::Text;
    if (isDateColumn(*r.column)) return tk::Printout::Kind::Date;
    if (isIntegerColumn(*r.column) || isFloatColumn(*r.column)) return tk::Printout::Kind::Number;
    return tk::Printout::Kind::Text;
}

}  // namespace

std::vector<ResultColumn> EntryForm::resultColumns() const
{
    std::vector<ResultColumn> shown;
    for (const BoundField& b : boundFields()) {
        std::optional<int64_t> dictionary;
        if (DictionaryField* d = dictionaryFieldOf(b.field)) dictionary = d->dictionaryID();
        shown.push_back({b.column, fieldLabel(*b.field), dictionary});
    }
    return shown;
}

db::TADOQuery* EntryForm::runSearch(const SearchStatement& statement, const std::vector<ResultColumn>& shown,
                                    VoidedDocuments voided)
{
    db::TADOQuery* q = results_.get();
    if (!q) {
        // A design without a result grid still searches, into a query of its own.
        if (!ownResults_) ownResults_ = std::make_unique<db::TADOQuery>(nullptr);
        q = ownResults_.get();
    }
    q->close();
    q->setConnection(connection_.get());
    q->setSqlText(statement.sql);
    resultKinds_ = {tk::Printout::Kind::Number, tk::Printout::Kind::Text};
    for (const ResultColumn& r : shown) resultKinds_.push_back(printedKind(r));
    // Texts (a dictionary entry's too) in the order a reader expects.
    resultOrder_.asText = tk::sameName(resultOrder_.column, "VoidedFor");
    for (size_t i = 0; i < shown.size(); ++i)
        if (tk::sameName(resultOrder_.column, shown[i].column->name))
            resultOrder_.asText = resultKinds_[i + 2] == tk::Printout::Kind::Text;
    q->setPaging("DocumentID", resultPageRows, resultOrder_);
    q->setCountLimit(resultCountLimit);
    for (size_t i = 0; i < statement.values.size(); ++i)
        db::bindCell(q->parameters().paramByName("p" + std::to_string(i)), statement.values[i]);
    q->open();
    q->field(0)->setDisplayLabel(documentIDTitle);
    q->field(1)->setDisplayLabel(voidedColumnTitle);
    for (size_t i = 0; i < shown.size(); ++i) {
        db::TField* f = q->field(static_cast<int>(i) + 2);
        f->setDisplayLabel(shown[i].title);
        // A date as the form shows it; the stored text stays for exports.
        if (resultKinds_[i + 2] == tk::Printout::Kind::Date) f->setShownAs(tk::shownDateTime);
    }
    searchedFor_ = statement.words;
    searchedVoided_ = voided;
    searched_ = statement;
    searchedColumns_ = shown;
    if (auto* grid = window_ ? tk::as<tk::TDBGrid>(window_->findComponent("dbgSearch")) : nullptr) {
        db::TField* ordered = resultOrder_.column.empty() ? nullptr : q->findField(resultOrder_.column);
        grid->setSortMark(ordered ? ordered->index() : -1, !ordered ? tk::TDBGrid::SortMark::None
                                                           : resultOrder_.descending
                                                               ? tk::TDBGrid::SortMark::Descending
                                                               : tk::TDBGrid::SortMark::Ascending);
    }
    return q;
}

void EntryForm::sortResultsBy(const std::string& column)
{
    bool reversed = tk::sameName(resultOrder_.column, column) && !resultOrder_.descending;
    resultOrder_ = {column, reversed};
    if (!results_ || !results_->active()) return;
    setStatus(foundWords(*runSearch(searched_, searchedColumns_, searchedVoided_)));
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

void EntryForm::goToNumber()
{
    if (!leaveEditing()) return;
    std::optional<BoundField> naming = registryField();
    if (!naming) throw ERefused("Az űrlapnak nincs mezője, amelynek értékére ugrani lehetne.");
    std::string label = fieldLabel(*naming->field);
    std::optional<std::string> typed = askForText("frmGoTo", "Ugrás: " + label + ":");
    if (!typed || tk::trimmed(*typed).empty()) return;
    std::string value = tk::trimmed(*typed);
    StoredValue v = searchValue(value, *naming->column, *naming->field);
    if (!v.refusal.empty()) throw ERefused(v.refusal);
    std::vector<ResultColumn> shown = resultColumns();
    SearchStatement statement = buildSearch({}, shown, VoidedDocuments::Included);
    statement.sql += " where Document.[" + naming->column->name + "] = :p" + std::to_string(statement.values.size());
    statement.values.push_back(v.cell);
    statement.words = {label + " = " + value};
    db::TADOQuery* q = runSearch(statement, shown, VoidedDocuments::Included);
    int found = q->recordCount();
    if (found == 0) {
        setStatus("Nincs találat");
        throw ERefused("Nincs ilyen dokumentum: " + label + " " + value);
    }
    auto* pages = tk::as<tk::TPageControl>(window_->findComponent("pcData"));
    if (found > 1) {
        // Several share the value: the clerk chooses among them.
        if (pages)
            if (auto* sheet = tk::as<tk::TTabSheet>(window_->findComponent("tsSearch"))) pages->setActivePage(sheet);
        setStatus(std::to_string(found) + " találat: " + label + " " + value);
        return;
    }
    if (pages)
        if (auto* sheet = tk::as<tk::TTabSheet>(entryPage())) pages->setActivePage(sheet);
    showDocument(q->fieldByName("DocumentID")->asInteger());
}

void EntryForm::openFoundDocument()
{
    db::TADOQuery* q = results_.get();
    if (!q || !q->active() || q->recordCount() == 0 || q->eof()) return;
    if (!leaveEditing()) return;
    int64_t id = q->fieldByName("DocumentID")->asInteger();
    showDocument(id);
    if (auto* pages = tk::as<tk::TPageControl>(window_->findComponent("pcData")))
        if (auto* sheet = tk::as<tk::TTabSheet>(entryPage())) pages->setActivePage(sheet);
    focusFirstField();
    focusOnEntryPage(nullptr);
}

void EntryForm::printResult()
{
    if (!results_ || !results_->active()) search();
    if (auto done = deliverPrintout(resultList(), PrintoutKind::List)) setStatus(*done);
}

void EntryForm::printShownDocument()
{
    if (!leaveEditing()) return;
    requireShownDocument(EntryState::Shown);
    if (auto done = deliverPrintout(documentPrintout(), PrintoutKind::Document)) setStatus(*done);
}

tk::Printout EntryForm::documentPrintout() const
{
    tk::Printout out;
    std::vector<tk::TControl*> shownFields = fields();
    // The registry number names the document: its numbered field, else the
    // form's first field.
    tk::TControl* naming = shownFields.empty() ? nullptr : shownFields.front();
    if (std::optional<BoundField> numbered = registryField(); numbered && numbered->numbered) naming = numbered->field;
    std::string group = groupName_.empty() ? std::string("Dokumentum") : groupName_;
    out.title = naming ? group + ", " + fieldLabel(*naming) + ": " + shownText(*naming)
                       : group + ", Azonosító: " + std::to_string(shown_);
    int y = 0, m = 0, d = 0;
    tk::decodeDate(tk::Application->platform().today(), y, m, d);
    out.lines.push_back("Azonosító: " + std::to_string(shown_) + ", nyomtatva " +
                        tk::currentLocale().formatDate(y, m, d));
    if (voided_) out.lines.push_back("ÉRVÉNYTELENÍTVE: " + *voided_);
    for (tk::TControl* field : shownFields) out.captions.push_back({fieldLabel(*field), shownText(*field)});
    // Each attached file, so that the paper names what belongs to the
    // document and how to tell the file is the same.
    for (const Attachment& a : Attachments(*connection_, 0, {}).list(shown_)) {
        std::string said = a.name + " (" + std::to_string(a.size) + " bájt), SHA-256: " + a.sha256 +
                           ", csatolta: " + a.addedBy + ", " + tk::shownDateTime(a.addedAt);
        if (a.removed()) said += ", törölte: " + a.removedBy + ", " + tk::shownDateTime(a.removedAt);
        out.captions.push_back({"Melléklet", said});
    }

    db::TADOQuery history(nullptr);
    openHistory(history, *connection_, shown_, columnCaptions());
    out.tableHeading = "Előzmények";
    for (int f = 0; f < history.fieldCount(); ++f) out.columns.push_back(history.displayLabel(f));
    for (int row = 0; row < history.recordCount(); ++row) {
        std::vector<std::string> cells;
        for (int f = 0; f < history.fieldCount(); ++f) cells.push_back(history.displayText(row, f));
        out.rows.push_back(std::move(cells));
    }
    return out;
}

tk::Printout EntryForm::resultList() const
{
    tk::Printout list;
    if (!results_ || !results_->active()) return list;
    db::TADOQuery& q = *results_;
    int y = 0, m = 0, d = 0;
    tk::decodeDate(tk::Application->platform().today(), y, m, d);
    list.title = (groupName_.empty() ? std::string("Dokumentumok") : groupName_) + ", " +
                 tk::currentLocale().formatDate(y, m, d);
    if (searchedFor_.empty()) list.lines.push_back("Keresési feltétel nélkül: minden dokumentum.");
    else
        for (const std::string& words : searchedFor_) list.lines.push_back("Feltétel: " + words);
    list.lines.push_back(searchedVoided_ == VoidedDocuments::Included ? voidedIncludedWords : voidedLeftOutWords);
    q.readAll();
    list.lines.push_back(std::to_string(q.recordCount()) + " dokumentum");
    if (db::TField* ordered = resultOrder_.column.empty() ? nullptr : q.findField(resultOrder_.column))
        list.lines.push_back("Sorrend: " + q.displayLabel(ordered->index()) +
                             (resultOrder_.descending ? ", csökkenő" : ", növekvő"));
    std::vector<int> shown;
    for (int f = 0; f < q.fieldCount(); ++f)
        if (q.fieldVisible(f)) {
            shown.push_back(f);
            list.columns.push_back(q.displayLabel(f));
            list.kinds.push_back(f < static_cast<int>(resultKinds_.size()) ? resultKinds_[static_cast<size_t>(f)]
                                                                           : tk::Printout::Kind::Text);
        }
    for (int row = 0; row < q.recordCount(); ++row) {
        std::vector<std::string> cells;
        // Dates as stored: each writer shows them its own way.
        for (int f : shown)
            cells.push_back(f < static_cast<int>(resultKinds_.size()) &&
                                    resultKinds_[static_cast<size_t>(f)] == tk::Printout::Kind::Date
                                ? q.storedText(row, f)
                                : q.displayText(row, f));
        list.rows.push_back(std::move(cells));
    }
    return list;
}

}  // namespace velmora

// Dictionary fields.
#include "entry/DictionaryField.h"

#include "controls/ZEDit.h"
#include "db/Query.h"
#include "entry/DatabaseMessage.h"
#include "entry/DictionaryUpkeep.h"
#include "entry/Question.h"
#include "entry/Refusal.h"
#include "lookup/SearchList.h"
#include "startup/DataModule.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

namespace velmora {

DictionaryField::DictionaryField(TZEDit& edit, db::TADOConnection& connection, DictionaryRef dictionary)
    : edit_(&edit), connection_(&connection), dictionary_(std::move(dictionary))
{
    // The control's contract keeps a hidden value only when it names a
    // dictionary; a column registered in Fields makes it one.
    if (edit.Dictionary().empty()) edit.setDictionary(dictionary_.name);
    edit.OnChange = tk::Handler::notify([this](tk::TObject*) { textChanged(); });
    edit.OnKeyDown = tk::Handler::key([this](tk::TObject*, uint16_t& key, tk::TShiftState) { keyDown(key); });
    edit.OnDblClick = tk::Handler::notify([this](tk::TObject*) { openLookupList(); });
    edit.OnExit = tk::Handler::notify([this](tk::TObject*) { left(); });
    reload();
}

void DictionaryField::reload()
{
    entries_ = dictionaryEntries(*connection_, dictionary_.id);
}

void DictionaryField::setTextQuietly(const std::string& text)
{
    bool was = quiet_;
    quiet_ = true;
    edit_->setText(text);
    quiet_ = was;
}

void DictionaryField::clear()
{
    if (!edit_) return;
    setTextQuietly("");
    edit_->setFieldValue(tk::Value());
    takenText_.clear();
}

void DictionaryField::showKey(int64_t key)
{
    if (!edit_) return;
    reload();
    edit_->setFieldValue(tk::Value(key));
    std::string text = std::to_string(key) + " (?)";
    for (const DictionaryEntry& e : entries_)
        if (e.id == key) text = e.text;
    setTextQuietly(text);
    takenText_ = text;
}

void DictionaryField::take(const DictionaryEntry& entry)
{
    setTextQuietly(entry.text);
    edit_->setFieldValue(tk::Value(entry.id));
    takenText_ = entry.text;
}

const DictionaryEntry* DictionaryField::offeredWithText(const std::string& text)
{
    for (const DictionaryEntry& e : entries_)
        if (!e.retired && tk::sameText(e.text, text)) return &e;
    return nullptr;
}

void DictionaryField::textChanged()
{
    if (quiet_ || !edit_ || !edit_->focused()) return;
    std::string typed = edit_->text();
    int caret = edit_->selStart();
    if (typed.empty() || caret < tk::charCount(typed)) return;
    for (const DictionaryEntry& e : entries_)
        if (!e.retired && tk::startsWithText(e.text, typed)) {
            // The typed characters stay before the caret, the rest is selected.
            setTextQuietly(e.text);
            edit_->setSelStart(caret);
            edit_->setSelLength(tk::charCount(e.text) - caret);
            return;
        }
}

void DictionaryField::keyDown(uint16_t& key)
{
    if (key == tk::vk::Back && edit_->selStart() > 0 && edit_->selLength() > 0) {
        // Backspace over a completion takes the last typed character too.
        int start = edit_->selStart() - 1;
        edit_->setSelStart(start);
        edit_->setSelLength(tk::charCount(edit_->text()) - start);
    } else if (key == tk::vk::F4) {
        key = 0;
        openLookupList();
    } else if (key == tk::vk::F2) {
        key = 0;
        openUpkeep();
    }
}

std::optional<std::string> DictionaryField::unmatchedText()
{
    std::string text = tk::trimmed(edit_->text());
    if (text.empty()) {
        clear();
        return std::nullopt;
    }
    if (text == takenText_) return std::nullopt;
    // The entries read last, else the dictionary as it is now: another
    // clerk may have added the text meanwhile.
    const DictionaryEntry* e = offeredWithText(text);
    if (!e) {
        reload();
        e = offeredWithText(text);
    }
    if (e) {
        take(*e);
        return std::nullopt;
    }
    return text;
}

const DictionaryEntry* DictionaryField::retiredWithText(const std::string& text) const
{
    for (const DictionaryEntry& e : entries_)
        if (e.retired && tk::sameText(e.text, text)) return &e;
    return nullptr;
}

bool DictionaryField::cancelling() const
{
    // The focus has already moved when the field is left: to Mégsem, whose
    // click is about to throw the document away.
    tk::TCustomForm* form = edit_->parentForm();
    tk::TWinControl* next = form ? form->activeControl() : nullptr;
    return next && next->name() == "btnCancel";
}

void DictionaryField::left()
{
    if (asking_ || !edit_ || !edit_->enabled() || cancelling()) return;
    std::optional<std::string> unmatched = unmatchedText();
    if (!unmatched) return;
    const std::string& text = *unmatched;
    if (retiredWithText(text)) {
        if (edit_->canFocus()) edit_->setFocus();
        tk::Application->handleException(ERefused(retiredEntryText(text)));
        return;
    }
    asking_ = true;
    int answer = askQuestion("frmAddEntry", "Nincs ilyen szótárelem: „" + text + "”. Felveszi a szótárba?", false);
    asking_ = false;
    if (answer == tk::mrYes) {
        sayingDatabaseFailures([&] { addAndTake(text); });
    } else if (edit_->canFocus()) {
        edit_->setFocus();
    }
}

std::string DictionaryField::resolveForSave(bool addUnknown)
{
    std::optional<std::string> unmatched = unmatchedText();
    if (!unmatched) return {};
    if (retiredWithText(*unmatched)) return retiredEntryText(*unmatched);
    if (addUnknown) {
        addAndTake(*unmatched);
        return {};
    }
    return "Nincs ilyen szótárelem: „" + *unmatched + "”";
}

void DictionaryField::addAndTake(const std::string& text)
{
    int64_t id = addDictionaryEntry(*connection_, dictionary_.id, text);
    reload();
    for (const DictionaryEntry& e : entries_)
        if (e.id == id) take(e);
}

void DictionaryField::openLookupList()
{
    if (!edit_ || !edit_->enabled() || !frmSearchList || !dmClientMain) return;
    db::TADOQuery* q = dmClientMain->qrySearch;
    openEntriesToChoose(*q, dictionary_.id);
    q->field(0)->setVisible(false);
    q->fieldByName("DictionaryItemText")->setDisplayLabel("Szótárelem");
    frmSearchList->dbgSearch->setDataSource(dmClientMain->dstSearch);
    frmSearchList->setSearchColumn("DictionaryItemText");
    frmSearchList->startEmpty();
    if (frmSearchList->showModal() == tk::mrOk && !q->eof())
        take({q->field(0)->asInteger(), q->field(1)->asString(), false});
    q->close();
}

void DictionaryField::openUpkeep()
{
    if (!edit_) return;
    if (editDictionaryEntries(*connection_, dictionary_)) {
        reload();
        if (!edit_->FieldValue().isUnassigned()) showKey(edit_->FieldValue().toInt());
    }
}

}  // namespace velmora

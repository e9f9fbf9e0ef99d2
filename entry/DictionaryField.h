// A dictionary field at work: a TZEDit whose column keeps the chosen
// entry's key (its hidden value) while it shows the entry's text. Typing
// completes from the entries as the lookup list does; F4 or a double click
// opens the lookup list over them; leaving the field takes the entry whose
// text it holds, refuses a retired entry's text, or offers to add a new
// one (not when it is left for Mégsem); F2 opens the entries' upkeep
// (rename, retire), where a clerk who meets a misspelt or stale entry is.
#pragma once

#include "controls/ZEDit.h"
#include "entry/Dictionaries.h"
#include "toolkit/core/ComponentRef.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

class DictionaryField {
public:
    DictionaryField(TZEDit& edit, db::TADOConnection& connection, DictionaryRef dictionary);

    TZEDit* edit() const { return edit_.get(); }
    int64_t dictionaryID() const { return dictionary_.id; }
    // No entry chosen: the text and the hidden value emptied.
    void clear();
    // Shows the entry of a stored key: its text (a retired entry's too), or
    // the key with a mark when the entry is gone.
    void showKey(int64_t key);
    // Makes the hidden value agree with the text before a save: unchanged,
    // empty, or one entry's text; with `addUnknown`, a text that is no
    // entry's (nor a retired one's) is added to the dictionary, as the
    // clerk's "yes" to the question on leaving the field adds it. Returns
    // the refusal text, or empty.
    std::string resolveForSave(bool addUnknown = false);
    // F2: "Szótárelemek", renaming or retiring this dictionary's entries.
    void openUpkeep();

private:
    void textChanged();
    void keyDown(uint16_t& key);
    void left();
    // Adds `text` to the dictionary and takes its entry.
    void addAndTake(const std::string& text);
    // Makes the hidden value agree with the text where it can (empty: none;
    // the taken text: kept; an offered entry's text: that entry); gives the
    // text that matches no entry, or none.
    std::optional<std::string> unmatchedText();
    void openLookupList();
    void take(const DictionaryEntry& entry);
    void setTextQuietly(const std::string& text);
    const DictionaryEntry* offeredWithText(const std::string& text);
    const DictionaryEntry* retiredWithText(const std::string& text) const;
    // Whether the field is being left for Mégsem: nothing is asked then.
    bool cancelling() const;
    void reload();

    tk::ComponentRef<TZEDit> edit_;
    tk::ComponentRef<db::TADOConnection> connection_;
    DictionaryRef dictionary_;
    std::vector<DictionaryEntry> entries_;
    std::string takenText_;  // the text shown for the hidden value
    bool quiet_ = false;     // the text is being set by the program
    bool asking_ = false;    // the add question is showing
};

}  // namespace velmora

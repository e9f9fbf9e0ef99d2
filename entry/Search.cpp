// Building the search statement.
#include "entry/Search.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "db/Engine.h"
#include "registry/AttachmentText.h"
#include "entry/Dictionaries.h"
#include "entry/FieldValues.h"
#include "entry/Refusal.h"
#include "registry/SearchText.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/DateReading.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <cstdio>

namespace velmora {

namespace {

enum class Relation { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, NotLike, Empty, NotEmpty };

Relation relationOf(tk::TControl& field)
{
    std::string code = tk::getPropTextOr(field, "Relation");
    if (code.empty()) return Relation::Equal;
    for (size_t i = 0; i < std::size(relationCodes); ++i)
        if (tk::sameText(code, relationCodes[i])) return static_cast<Relation>(i);
    throw ERefused("Ismeretlen keresési feltétel: „" + code + "” (" + fieldLabel(field) + ")");
}

class Builder {
public:
    std::string bind(db::Cell value)
    {
        values.push_back(std::move(value));
        return ":p" + std::to_string(values.size() - 1);
    }

    void add(std::string condition) { conditions.push_back("(" + condition + ")"); }

    // A yes/no column reads "Igen" or "Nem" in the result.
    std::string yesNo(const std::string& c, const DocumentColumn& column)
    {
        return "case when " + c + " is null then '' when " + c + " = " + bind(yesNoCell(true, column)) +
               " then 'Igen' else 'Nem' end";
    }

    // Adds the field's condition, if it has one, and its words.
    void field(const SearchField& f)
    {
        size_t before = conditions.size();
        condition(f);
        if (conditions.size() == before) return;
        std::string code = tk::getPropTextOr(*f.field, "Relation");
        std::string value;
        if (auto* box = tk::as<TZEDChxBox>(f.field)) value = box->checked() ? "igen" : "";
        else if (auto* picker = tk::as<TZEDPicker>(f.field)) value = variantText(picker->FieldValue());
        else if (auto* edit = tk::as<TZEDit>(f.field)) value = tk::trimmed(edit->text());
        words.push_back(fieldLabel(*f.field) + " (" + (code.empty() ? std::string("Egyenlő") : code) + ")" +
                        (value.empty() ? std::string() : ": " + value));
    }

    void condition(const SearchField& f)
    {
        tk::TControl& field = *f.field;
        const DocumentColumn& column = *f.column;
        // Qualified: a search read through the trigram index joins a table
        // whose columns have Document's names.
        std::string c = "Document.[" + column.name + "]";
        Relation relation = relationOf(field);
        if (relation == Relation::Empty || relation == Relation::NotEmpty) {
            // A check box adds its condition only when ticked.
            if (auto* box = tk::as<TZEDChxBox>(&field); box && !box->checked()) return;
            std::string empty = c + " is null";
            if (isTextColumn(column)) empty += " or " + c + " = ''";
            else if (isYesNoColumn(column)) empty += " or " + c + " = " + bind(yesNoCell(false, column));
            add(relation == Relation::Empty ? empty : "not (" + empty + ")");
            return;
        }
        if (auto* box = tk::as<TZEDChxBox>(&field)) {
            if (!box->checked()) return;
            // A ticked box looks for "yes".
            std::string yes = bind(yesNoCell(true, column));
            add(relation == Relation::NotEqual ? c + " is null or " + c + " <> " + yes : c + " = " + yes);
            return;
        }
        if (auto* picker = tk::as<TZEDPicker>(&field)) {
            if (!picker->checked()) return;
            day(c, relation, static_cast<double>(static_cast<int64_t>(picker->date())), field);
            return;
        }
        auto* edit = tk::as<TZEDit>(&field);
        if (!edit) return;
        std::string typed = tk::trimmed(edit->text());
        if (typed.empty()) return;
        if (f.dictionary) {
            dictionaryField(c, relation, *f.dictionary, typed, field);
            return;
        }
        if (relation == Relation::Like || relation == Relation::NotLike) {
            // A number is alike by its digits, the same on every engine; a
            // date or a yes/no value has no text of its own to compare.
            std::string text = c;
            if (isIntegerColumn(column) || isFloatColumn(column)) text = "cast(" + c + " as varchar(40))";
            else if (!isTextColumn(column))
                throw ERefused("Ez a feltétel nem használható ennél a mezőnél: " + fieldLabel(field));
            std::string like;
            std::string pattern = db::plainedText(likePattern(typed));
            auto binding = [this](db::Cell value) { return bind(std::move(value)); };
            if (searchText && isTextColumn(column) && searchText->covers(column.name)) {
                // The text folded when it was written, indexed by trigrams;
                // the first pattern the index can serve drives the search
                // (not when attachments are searched too: their matches
                // are no rows of the index).
                if (relation == Relation::Like && !attachments && !drivenByIndex &&
                    searchText->canDrive(column.name, pattern)) {
                    drivenByIndex = true;
                    add(searchText->drivingCondition(column.name, pattern, binding));
                    return;
                }
                like = searchText->likeCondition(column.name, pattern, binding);
            } else {
                like = "vplain(" + text + ") like vplain(" + bind(db::Cell::text(likePattern(typed))) + ") escape '!'";
            }
            if (relation == Relation::Like && attachments && isTextColumn(column)) {
                // Found in the field, or in the text of an attached file;
                // a document found only in a file says which. Where an
                // index serves the field's pattern, the two sets of
                // documents are read from their indexes and joined; else
                // each document is tried.
                // (A pattern one in twenty of the newest documents holds
                // is walked: the page fills soon, where the sets read
                // whole would be large.)
                bool indexed = searchText && searchText->covers(column.name) &&
                               !searchText->heldByNewest(column.name, pattern, 0.05);
                std::string inField =
                    indexed ? searchText->matchingDocuments(column.name, pattern, binding) : std::string();
                if (!inField.empty())
                    add("Document.DocumentID in (" + inField + " union " +
                        attachmentLikeDocuments(*attachments, pattern, binding) + ")");
                else add(like + " or " + attachmentLikeCondition(*attachments, pattern, binding));
                foundInFiles.push_back("case when " + like + " then null else " +
                                       attachmentLikeName(*attachments, pattern, binding) + " end");
                return;
            }
            add(relation == Relation::Like ? like : c + " is null or not (" + like + ")");
            return;
        }
        if (isDateColumn(column)) {
            auto ymd = tk::readTypedDate(typed);
            if (!ymd) throw ERefused("Érvénytelen dátum: " + fieldLabel(field));
            day(c, relation, tk::encodeDate(ymd->year, ymd->month, ymd->day), field);
            return;
        }
        StoredValue v = searchValue(typed, column, field);
        if (!v.refusal.empty()) throw ERefused(v.refusal);
        // Text compares without regard to letter case.
        std::string left = isTextColumn(column) ? "vfold(" + c + ")" : c;
        std::string right = isTextColumn(column) ? "vfold(" + bind(v.cell) + ")" : bind(v.cell);
        compare(c, left, right, relation, field);
    }

    const SearchText* searchText = nullptr;
    db::TADOConnection* attachments = nullptr;  // whose attachments' text "Hasonló" reads too
    std::vector<std::string> foundInFiles;      // per pattern: the file it was found in alone
    bool drivenByIndex = false;  // read from the trigram index, joined to Document
    std::vector<db::Cell> values;
    std::vector<std::string> conditions;
    std::vector<std::string> words;

private:
    void compare(const std::string& c, const std::string& left, const std::string& right, Relation relation,
                 tk::TControl& field)
    {
        switch (relation) {
        case Relation::Equal: add(left + " = " + right); break;
        case Relation::NotEqual: add(c + " is null or " + left + " <> " + right); break;
        case Relation::Less: add(left + " < " + right); break;
        case Relation::Greater: add(left + " > " + right); break;
        case Relation::LessEqual: add(left + " <= " + right); break;
        case Relation::GreaterEqual: add(left + " >= " + right); break;
        default: throw ERefused("Ez a feltétel nem használható ennél a mezőnél: " + fieldLabel(field));
        }
    }

    // A date compares by the day, whatever time of day a value holds.
    void day(const std::string& c, Relation relation, double date, tk::TControl& field)
    {
        auto from = [&] { return bind(db::Cell::text(storedDay(date))); };
        auto to = [&] { return bind(db::Cell::text(storedDay(date + 1))); };
        switch (relation) {
        case Relation::Equal: {
            std::string f = from();
            add(c + " >= " + f + " and " + c + " < " + to());
            break;
        }
        case Relation::NotEqual: {
            std::string f = from();
            add(c + " is null or " + c + " < " + f + " or " + c + " >= " + to());
            break;
        }
        case Relation::Less: add(c + " < " + from()); break;
        case Relation::LessEqual: add(c + " < " + to()); break;
        case Relation::Greater: add(c + " >= " + to()); break;
        case Relation::GreaterEqual: add(c + " >= " + from()); break;
        default: throw ERefused("Ez a feltétel nem használható ennél a mezőnél: " + fieldLabel(field));
        }
    }

    // A dictionary field compares by its entry: equal to the entry of that
    // text, or like the entries' texts.
    void dictionaryField(const std::string& c, Relation relation, int64_t dictionary, const std::string& typed,
                         tk::TControl& field)
    {
        std::string group = bind(db::Cell::integer(dictionary));
        if (relation == Relation::Like || relation == Relation::NotLike) {
            std::string in = c + " in (Select DictionaryItemID from DictionaryItem where DictionaryGroupID = " + group +
                             " and vplain(DictionaryItemText) like vplain(" + bind(db::Cell::text(likePattern(typed))) +
                             ") escape '!')";
            add(relation == Relation::Like ? in : c + " is null or not (" + in + ")");
            return;
        }
        std::string in = c + " in (Select DictionaryItemID from DictionaryItem where DictionaryGroupID = " + group +
                         " and vfold(DictionaryItemText) = vfold(" + bind(db::Cell::text(typed)) + "))";
        if (relation == Relation::Equal) add(in);
        else if (relation == Relation::NotEqual) add(c + " is null or not (" + in + ")");
        else throw ERefused("Ez a feltétel nem használható ennél a mezőnél: " + fieldLabel(field));
    }
};

}  // namespace

SearchStatement buildValueSearch(const std::vector<ResultColumn>& result, const DocumentColumn& column,
                                 const db::Cell& value, const std::string& words)
{
    SearchStatement statement = buildSearch({}, result, VoidedDocuments::Included);
    statement.sql += " where Document.[" + column.name + "] = :p" + std::to_string(statement.values.size());
    statement.values.push_back(value);
    statement.words = {words};
    return statement;
}

std::string likePattern(const std::string& typed)
{
    std::string out;
    bool wildcard = false;
    for (char c : typed) {
        if (c == '*') {
            out += '%';
            wildcard = true;
        } else if (c == '?') {
            out += '_';
            wildcard = true;
        } else {
            if (c == '%' || c == '_' || c == '!') out += '!';
            out += c;
        }
    }
    return wildcard ? out : "%" + out + "%";
}

SearchStatement buildSearch(const std::vector<SearchField>& fields, const std::vector<ResultColumn>& result,
                            VoidedDocuments voided, const SearchText* searchText, db::TADOConnection* attachments)
{
    Builder b;
    b.searchText = searchText;
    b.attachments = attachments;
    for (const SearchField& f : fields) b.field(f);
    // A reason is required, but a mark must not vanish with an empty one.
    std::string voidMark = "(Select coalesce(nullif(Reason, ''), '-') from DocumentVoid where "
                           "DocumentVoid.DocumentID = Document.DocumentID)";
    if (!b.foundInFiles.empty()) {
        std::string files = b.foundInFiles.size() == 1 ? b.foundInFiles.front() : "coalesce(" + [&] {
            std::string all;
            for (const std::string& f : b.foundInFiles) all += (all.empty() ? "" : ", ") + f;
            return all;
        }() + ")";
        voidMark = "coalesce(" + voidMark + ", '" + foundInFileWords + "' || " + files + ")";
        b.words.push_back(attachmentsSearchedWords);
    }
    std::string select = std::string("Select ") +
                         (b.drivenByIndex ? "DocumentSearchIndex.rowid as DocumentID" : "Document.DocumentID") +
                         ", " + voidMark + " as VoidedFor";
    if (voided == VoidedDocuments::LeftOut)
        b.conditions.push_back(
            "not exists (Select 1 from DocumentVoid where DocumentVoid.DocumentID = Document.DocumentID)");
    for (const ResultColumn& r : result) {
        std::string name = "[" + r.column->name + "]", c = "Document." + name;
        if (r.dictionary)
            select += ", (Select DictionaryItemText from DictionaryItem where DictionaryItemID = " + c + ") as " + name;
        else if (isYesNoColumn(*r.column)) select += ", " + b.yesNo(c, *r.column) + " as " + name;
        else select += ", " + c + " as " + name;
    }
    // The index gives its rows newest first and stops at a page, where a
    // list of every match would be read whole first.
    std::string sql = select + (b.drivenByIndex ? " from DocumentSearchIndex join Document on Document.DocumentID = "
                                                  "DocumentSearchIndex.rowid"
                                                : " from Document");
    for (size_t i = 0; i < b.conditions.size(); ++i) sql += (i ? " and " : " where ") + b.conditions[i];
    return {sql, std::move(b.values), std::move(b.words)};
}

}  // namespace velmora

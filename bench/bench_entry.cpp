// The clerk's program on a large store: 100,000 documents and a form of 50
// fields (20 numbers, 20 texts, 5 dates, 5 yes/no boxes). Saving a new
// document (the checks, one INSERT and its history row in one transaction,
// then the new document read back into the form) has a goal of 5 ms on
// SQLite (numbering a column in the database costs little more; both are
// measured); showing a document (its row read, every value into the form) of
// 2 ms. SQLite runs on the file system of the temporary folder with its
// default synchronous setting (FULL, rollback journal), so a save measures
// the disk's flush. VELMORA_TEST_ENGINE=postgres VELMORA_POSTGRES="..."
// runs the same on a server. Searching, counted and shown as far as the
// grid's first screenful (the result is read in pages): a "Hasonló"
// pattern on a text column (a scan of every row; goal 200 ms), an
// "Egyenlő" number on an
// indexed integer column (goal 5 ms; velmora-entry makes the index at
// start for each column its search page searches), every document ordered
// by a column as a click on its title orders it (goal 100 ms on an indexed
// one), and a PDF of 1,000 rows (goal 1 s).
#include "../tests/TestDatabase.h"
#include "BenchFolder.h"
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "entry/EntryForm.h"
#include "entry/XlsxList.h"
#include "gui/Printing.h"
#include "registry/Numbering.h"
#include "registry/SchemaUpkeep.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

constexpr int documentCount = 100000;

// The demonstration database with 50 more columns and 100,000 documents
// (some 15 MB, gone with the program).
const BenchStore& store()
{
    static BenchStore s = [] {
        BenchStore made;
        std::string columns;
        for (int i = 1; i <= 50; ++i) {
            const char* type = i <= 20 ? "int" : i <= 40 ? "varchar(50)" : i <= 45 ? "datetime" : "binary(1)";
            columns += "ALTER TABLE Document ADD F" + std::to_string(i) + " " + type + ";\n";
        }
        db::TADOConnection c(nullptr);
        openDataLink(c, made.udl());
        db::TADOCommand cmd(nullptr);
        cmd.setConnection(&c);
        cmd.setCommandText(columns);
        cmd.executeScript();
        nativeScript(made.udl(),
                     "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000) "
                     "INSERT INTO Document (F1, F21, F41, F46) SELECT i, 'Tárgy ' || i, '2026-01-01 00:00:00', "
                     "x'01' FROM n",
                     "INSERT INTO \"Document\" (\"F1\", \"F21\", \"F41\", \"F46\") SELECT i, 'Tárgy ' || i, "
                     "'2026-01-01', '\\x01'::bytea FROM generate_series(1, 100000) i");
        // F1 is searched on the search page: the designer's save indexes it.
        velmora::makeSearchIndexes(c, {"F1"});
        return made;
    }();
    return s;
}

// A headless session with the 50-field form in state 0.
struct Session {
    tk::HeadlessPlatform platform;
    tk::TApplication app{platform};
    db::TADOConnection connection{nullptr};
    std::unique_ptr<velmora::EntryForm> form;
    std::vector<tk::TControl*> fields;
    std::vector<velmora::TZEDit*> searchFields;  // F1 Egyenlő, F21 Hasonló
    db::TADOQuery results{nullptr};

    Session()
    {
        openDataLink(connection, store().udl());
        tk::ComponentRef<velmora::TfrmClientMain> window;
        app.createForm(window);
        auto* sheet = tk::as<tk::TWinControl>(window->findComponent("tsEdit"));
        for (int i = 1; i <= 50; ++i) {
            tk::TControl* c = i <= 40   ? static_cast<tk::TControl*>(new velmora::TZEDit(window))
                              : i <= 45 ? static_cast<tk::TControl*>(new velmora::TZEDPicker(window))
                                        : static_cast<tk::TControl*>(new velmora::TZEDChxBox(window));
            c->setName(window->uniqueName(c->className()));
            c->setParent(sheet);
            c->setBounds(8 + (i % 5) * 80, 8 + (i / 5) * 24, 76, 21);
            tk::setPropText(*c, "KeyField", "F" + std::to_string(i));
            if (i <= 20) tk::setPropText(*c, "FieldType", "0");
            if (i <= 40) tk::setPropText(*c, "FieldType", i <= 20 ? "0" : "1");
            fields.push_back(c);
        }
        auto* search = tk::as<tk::TWinControl>(window->findComponent("tsSearch"));
        for (auto [keyField, relation] : {std::pair{"F1", "Egyenlő"}, std::pair{"F21", "Hasonló"}}) {
            auto* e = new velmora::TZEDit(window);
            e->setName(window->uniqueName("TZEDit"));
            e->setParent(search);
            tk::setPropText(*e, "KeyField", keyField);
            tk::setPropText(*e, "Relation", relation);
            searchFields.push_back(e);
        }
        results.setConnection(&connection);
        window->show();
        form = std::make_unique<velmora::EntryForm>(*window, connection, 1);
        form->setResultQuery(&results);
        form->start(true);
    }
};

void saveNewDocuments(benchmark::State& state, Session& s)
{
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.form->newDocument();
        ++n;
        for (size_t i = 0; i < s.fields.size(); ++i) {
            if (auto* e = tk::as<velmora::TZEDit>(s.fields[i]))
                e->setText(i < 20 ? std::to_string(n + i) : "Szöveg " + std::to_string(n));
            else if (auto* p = tk::as<velmora::TZEDPicker>(s.fields[i])) p->setChecked(true);
            else if (auto* b = tk::as<velmora::TZEDChxBox>(s.fields[i])) b->setChecked(n % 2);
        }
        state.ResumeTiming();
        s.form->saveDocument();
    }
}

void BM_SaveNewDocument(benchmark::State& state)
{
    Session s;
    saveNewDocuments(state, s);
}
BENCHMARK(BM_SaveNewDocument)->Unit(benchmark::kMillisecond)->Iterations(200);

// The same with one of the form's text fields numbered by the database
// ("{n}/{yyyy}", yearly): the trigger and its counter row in every save.
void BM_SaveNewNumberedDocument(benchmark::State& state)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, store().udl());
    velmora::setNumbering(c, {"F22", true, 1, "{n}/{yyyy}", ""});
    {
        Session s;
        saveNewDocuments(state, s);
    }
    velmora::stopNumbering(c, "F22");
}
BENCHMARK(BM_SaveNewNumberedDocument)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_ShowDocument(benchmark::State& state)
{
    Session s;
    std::mt19937 random(7);
    std::uniform_int_distribution<int64_t> pick(1, documentCount);
    for (auto _ : state) s.form->showDocument(pick(random));
}
BENCHMARK(BM_ShowDocument)->Unit(benchmark::kMillisecond);

// A search as the clerk sees it, with `typed` in the search field `field`
// (none: no condition): the count in the status bar and the texts of the
// grid's first screenful of rows.
void searchAndShowFirstRows(benchmark::State& state, int field = -1, const char* typed = "")
{
    Session s;
    if (field >= 0) s.searchFields[static_cast<size_t>(field)]->setText(typed);
    for (auto _ : state) {
        s.form->search();
        for (int row = 0; row < 25; ++row)
            for (int f = 0; f < s.results.fieldCount(); ++f) benchmark::DoNotOptimize(s.results.displayText(row, f));
    }
    state.counters["found"] = s.results.recordCount();
}

// Few rows match, so both the count and the first page scan every row.
void BM_SearchLikeOnText(benchmark::State& state)
{
    searchAndShowFirstRows(state, 1, "Tárgy 9999");
}
BENCHMARK(BM_SearchLikeOnText)->Unit(benchmark::kMillisecond);

// Every row matches: the count scans them, the first page stops early.
void BM_SearchLikeMatchingEverything(benchmark::State& state)
{
    searchAndShowFirstRows(state, 1, "Tárgy*");
}
BENCHMARK(BM_SearchLikeMatchingEverything)->Unit(benchmark::kMillisecond);

// No condition: every document is found, and only the first page is read.
void BM_SearchEverything(benchmark::State& state)
{
    searchAndShowFirstRows(state);
}
BENCHMARK(BM_SearchEverything)->Unit(benchmark::kMillisecond);

// Every document found, ordered by a column as a click on its title orders
// it (Arg 1: clicked twice, descending), as far as the grid's first
// screenful. F1 is indexed (goal 100 ms), F21 is not.
void sortedFirstRows(benchmark::State& state, const char* column)
{
    Session s;
    s.form->search();
    for (int click = 0; click <= state.range(0); ++click) s.form->sortResultsBy(column);
    for (auto _ : state) {
        s.form->search();
        for (int row = 0; row < 25; ++row)
            for (int f = 0; f < s.results.fieldCount(); ++f) benchmark::DoNotOptimize(s.results.displayText(row, f));
    }
    state.counters["found"] = s.results.recordCount();
}

void BM_SortedFirstPageOnIndexedInteger(benchmark::State& state)
{
    sortedFirstRows(state, "F1");
}
BENCHMARK(BM_SortedFirstPageOnIndexedInteger)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SortedFirstPageOnText(benchmark::State& state)
{
    sortedFirstRows(state, "F21");
}
BENCHMARK(BM_SortedFirstPageOnText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every document read, page by page, as printing all of them does.
void BM_ReadEveryFoundRow(benchmark::State& state)
{
    Session s;
    for (auto _ : state) {
        s.form->search();
        s.results.last();
    }
    state.counters["found"] = s.results.recordCount();
}
BENCHMARK(BM_ReadEveryFoundRow)->Unit(benchmark::kMillisecond);

void BM_SearchEqualOnIndexedInteger(benchmark::State& state)
{
    searchAndShowFirstRows(state, 0, "50000");
}
BENCHMARK(BM_SearchEqualOnIndexedInteger)->Unit(benchmark::kMillisecond);

void BM_PrintThousandRows(benchmark::State& state)
{
    Session s;
    tk::setPropText(*s.searchFields[0], "Relation", "KisebbEgyenlő");
    s.searchFields[0]->setText("1000");
    s.form->search();
    gui::ensureGuiApplication();
    std::string pdf = store().folder + "/lista.pdf";
    for (auto _ : state) {
        tk::Printout list = s.form->resultList();
        gui::writePdf(list, pdf);
    }
    state.counters["rows"] = s.results.recordCount();
}
BENCHMARK(BM_PrintThousandRows)->Unit(benchmark::kMillisecond);

void BM_ExportThousandRowsAsXlsx(benchmark::State& state)
{
    Session s;
    tk::setPropText(*s.searchFields[0], "Relation", "KisebbEgyenlő");
    s.searchFields[0]->setText("1000");
    s.form->search();
    std::string xlsx = store().folder + "/lista.xlsx";
    for (auto _ : state) {
        tk::Printout list = s.form->resultList();
        velmora::writeXlsx(list, xlsx);
    }
    state.counters["rows"] = s.results.recordCount();
}
BENCHMARK(BM_ExportThousandRowsAsXlsx)->Unit(benchmark::kMillisecond);

// PgDn on the entry page over every document found: the next one read
// through the result's pages and shown, with "N / M".
void BM_StepToNextFound(benchmark::State& state)
{
    Session s;
    s.form->search();
    s.form->openFoundDocument();
    for (auto _ : state) s.form->showNextFound();
    state.counters["found"] = s.results.recordCount();
}
BENCHMARK(BM_StepToNextFound)->Unit(benchmark::kMillisecond);

// One document as printed: read, its fields, its history, into a PDF.
void BM_PrintOneDocument(benchmark::State& state)
{
    Session s;
    gui::ensureGuiApplication();
    std::string pdf = store().folder + "/egy.pdf";
    int64_t id = 50000;
    for (auto _ : state) {
        s.form->showDocument(id++);
        gui::writePdf(s.form->documentPrintout(), pdf);
    }
}
BENCHMARK(BM_PrintOneDocument)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

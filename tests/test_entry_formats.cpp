// The clerk's program's own formats: search patterns, the CSV list and the
// case folding that both engines' vfold give.
#include "db/Engine.h"
#include "entry/CsvList.h"
#include "entry/Search.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/StoredDate.h"
#include "toolkit/text/Text.h"

#include <gtest/gtest.h>

TEST(EntryFormats, APatternTakesTheUsersWildcardsAndEveryOtherCharacterLiterally)
{
    EXPECT_EQ(velmora::likePattern("rekl"), "%rekl%");  // anywhere, without wildcards
    EXPECT_EQ(velmora::likePattern("*kérése"), "%kérése");
    EXPECT_EQ(velmora::likePattern("Sz?rz*"), "Sz_rz%");
    EXPECT_EQ(velmora::likePattern("100%"), "%100!%%");
    EXPECT_EQ(velmora::likePattern("a_b*"), "a!_b%");
    EXPECT_EQ(velmora::likePattern("Hi!"), "%Hi!!%");
    EXPECT_EQ(velmora::likePattern("O'Brien]"), "%O'Brien]%");
}

TEST(EntryFormats, ACsvQuotesWhatASpreadsheetWouldMisreadAndNothingElse)
{
    tk::Printout list;
    list.columns = {"Azonosító", "Tárgy"};
    list.rows = {{"1", "plain"}, {"2", "a;b"}, {"3", "say \"hi\""}, {"4", "two\nlines"}, {"5", " padded "}};
    EXPECT_EQ(
        velmora::csvText(list),
        "\xEF\xBB\xBF"
        "Azonosító;Tárgy\r\n1;plain\r\n2;\"a;b\"\r\n3;\"say \"\"hi\"\"\"\r\n4;\"two\nlines\"\r\n5;\" padded \"\r\n");
}

TEST(EntryFormats, APlainTextDropsAccentsWhereALetterHasAPlainForm)
{
    EXPECT_EQ(db::plainedText("ÁRVÍZTŰRŐ tükörfúrógép"), "arvizturo tukorfurogep");
    EXPECT_EQ(db::plainedText("Straße Øre Łódź"), "straße øre łodz");
    // Latin-1's õ and û, written where ő and ű were meant, and text in
    // decomposed form read as their letters do.
    EXPECT_EQ(db::plainedText("Kõvári Fûzfa"), db::plainedText("Kővári Fűzfa"));
    EXPECT_EQ(db::plainedText("KO\u030BVA\u0301RI fu\u0308zfa"), "kovari fuzfa");
    // translate()'s lists: each letter with its plain letter, then the
    // accents, which have none.
    auto [changed, plain] = db::plainingPairs();
    std::u32string a = tk::toU32(changed), p = tk::toU32(plain);
    ASSERT_EQ(a.size(), p.size() + (0x36F - 0x300 + 1));
    for (size_t i = 0; i < p.size(); ++i) EXPECT_EQ(tk::plainLetter(a[i]), p[i]);
    for (size_t i = p.size(); i < a.size(); ++i) EXPECT_TRUE(tk::isCombiningAccent(a[i]));
}

// A subject such as =HYPERLINK(...) stays a text in a spreadsheet; a
// negative number stays a number, a date reads as one.
TEST(EntryFormats, ACsvKeepsFormulasFromRunningAndWritesDatesAsIso)
{
    tk::Printout list;
    list.columns = {"Azonosító", "Tárgy", "Összeg", "Érkezett"};
    using K = tk::Printout::Kind;
    list.kinds = {K::Number, K::Text, K::Number, K::Date};
    list.rows = {{"1", "=HYPERLINK(\"http://x\")", "-5", "2026-11-16 00:00:00"},
                 {"2", "+36 1 234", "", "2026-11-16 08:30:00"},
                 {"3", "-", "", ""},
                 {"4", "@SUM(A1)", "", ""},
                 {"5", "\tbehúzva", "", ""},
                 {"6", "a=b", "", ""}};
    EXPECT_EQ(velmora::csvText(list),
              "\xEF\xBB\xBF"
              "Azonosító;Tárgy;Összeg;Érkezett\r\n"
              "1;\"'=HYPERLINK(\"\"http://x\"\")\";-5;2026-11-16\r\n"
              "2;'+36 1 234;;2026-11-16 08:30:00\r\n"
              "3;'-;;\r\n4;'@SUM(A1);;\r\n5;'\tbehúzva;;\r\n6;a=b;;\r\n");
}

// A stored date in a list reads as the form shows a date: the day alone
// at midnight, the time where there is one; anything else as it stands.
TEST(EntryFormats, AStoredDateShowsAsTheLocaleShowsADay)
{
    tk::Locale before = tk::currentLocale();
    tk::setCurrentLocale(tk::Locale::hungarian());
    EXPECT_EQ(tk::shownDateTime("2026-11-16 00:00:00"), "2026.11.16.");
    EXPECT_EQ(tk::shownDateTime("2026-11-16"), "2026.11.16.");
    EXPECT_EQ(tk::shownDateTime("2026-11-16 08:30:00"), "2026.11.16. 08:30");
    EXPECT_EQ(tk::shownDateTime("2026-11-16 08:30:15"), "2026.11.16. 08:30:15");
    for (const char* kept : {"", "2026-13-01", "2026-02-30 00:00:00", "2026-11-16x", "tegnap", "2026-11-16 24:00:00",
                             "2026-11-16 08:60:00", "2026-11-16T08:30:00", "+026-11-16", "2026-1-16 00:00:00"})
        EXPECT_EQ(tk::shownDateTime(kept), kept);
    tk::setCurrentLocale(before);
    // The one reader behind it, the lists' dates and the form's days.
    std::optional<tk::StoredDateTime> leap = tk::parseStoredDateTime("2028-02-29 23:59:59");
    ASSERT_TRUE(leap);
    EXPECT_EQ(leap->day, 29);
    EXPECT_EQ(leap->second, 59);
    EXPECT_FALSE(leap->atMidnight());
    EXPECT_FALSE(tk::parseStoredDateTime("2027-02-29"));
}

TEST(EntryFormats, TheSqlFoldingAgreesWithTheProgramsOwn)
{
    EXPECT_EQ(db::foldedText("ÁRVÍZTŰRŐ tükörfúrógép ABC"), "árvíztűrő tükörfúrógép abc");
    auto [upper, lower] = db::foldingPairs();
    std::u32string u = tk::toU32(upper), l = tk::toU32(lower);
    ASSERT_EQ(u.size(), l.size());
    for (size_t i = 0; i < u.size(); ++i) EXPECT_EQ(tk::foldCase(u[i]), l[i]);
    EXPECT_NE(upper.find("Ő"), std::string::npos);
    EXPECT_NE(upper.find("Ű"), std::string::npos);
}

// The history as evidence: a chain of hashes over every history row, which
// velmora-admin verify walks, naming the first row that a later change by
// the database's owner (a superuser's statement, the sqlite3 shell)
// broke; fingerprints kept outside prove an earlier head unchanged.
#include "EntryTest.h"
#include "load/Clerk.h"
#include "registry/HistoryChain.h"

#include <atomic>
#include <regex>
#include <thread>

using testing::HasSubstr;
using testing::MatchesRegex;
using testing::StartsWith;

namespace {

class HistoryChain : public EntryTest {
protected:
    std::string admin(const std::string& arguments)
    {
        if (!std::filesystem::exists(folder.file("velmora-admin"))) {
            std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
            std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
        }
        return commandOutput("cd '" + folder.path() + "' && ./velmora-admin " + arguments + " 2>&1 </dev/null");
    }
    int64_t count(const std::string& sql) { return std::stoll(rows(sql).at(0)); }
    // What the owner of the database may do behind the programs' backs.
    void tamper(const std::string& sql) { rows(sql); }
    std::string bytesLiteral(const char* hex) const
    {
        return onPostgres() ? "decode('" + std::string(hex) + "', 'hex')" : "X'" + std::string(hex) + "'";
    }
    std::string brokenAt(int64_t row) { return "The history is broken at row " + std::to_string(row) + ": "; }
};

}  // namespace

TEST_F(HistoryChain, AHistoryMadeByTheProgramsVerifiesWholeAndVerifyNamesTheRowEachLaterChangeBroke)
{
    // Entries, changes, voids and attachments, through the clerk's program.
    std::ofstream(folder.file("level.txt")) << "Tisztelt Hivatal!\n";
    std::ofstream(folder.file("scan.txt")) << "beszkennelt oldal\n";
    std::string script;
    for (int i = 0; i < 70; ++i) {
        script += click("btnNew") + "type " + std::to_string(3000 + i) + "\nkey tab\ntype Lev\xc3\xa9l " +
                  std::to_string(i) + "\n" + click("btnSave") + click("btnModify") + "key end\ntype  v\xc3\xa1lasz\n" +
                  click("btnSave");
        if (i % 20 == 5) script += "key f8\ntype T\xc3\xa9ves " + std::to_string(i) + "\nkey enter\n";
        if (i % 25 == 3) script += "attach " + folder.file("level.txt") + "\nattach " + folder.file("scan.txt") + "\n";
        if (i == 28) script += "detach 2\n";
    }
    std::string out = play(script);
    ASSERT_THAT(out, testing::Not(HasSubstr("error:"))) << out;
    int64_t made = count("Select count(*) from DocumentHistory");
    ASSERT_GE(made, 150);
    EXPECT_EQ(count("Select count(*) from DocumentHistory where ChainNo is null"), 0);
    EXPECT_EQ(count("Select count(*) from DocumentHistory where Action = 'érvénytelenítés'"), 4);
    EXPECT_EQ(count("Select count(*) from DocumentAttachment"), 6);

    std::string head = std::to_string(made);
    EXPECT_THAT(admin("verify"),
                MatchesRegex("The history is whole: " + head + " rows, head " + head + " [0-9a-f]{64}\n"));
    std::string taken = admin("verify --fingerprint");
    std::smatch m;
    ASSERT_TRUE(std::regex_search(taken, m, std::regex("\n(" + head + ":[0-9a-f]{16}:[0-9]{4}-[0-9]{2}-[0-9]{2})\n")))
        << taken;
    std::string fingerprint = m[1];
    EXPECT_THAT(admin("verify --since " + fingerprint), HasSubstr("Nothing up to row " + head + " has changed"));
    EXPECT_THAT(admin("verify --since 12:abc"), HasSubstr("is no fingerprint"));

    // Each change below breaks the chain before the one made earlier, so
    // verify names each in turn.
    // The tail cut away: first as it stands, then with the head mended.
    int64_t cut = made - 3;
    tamper("Delete from DocumentChange where HistoryID in (Select HistoryID from DocumentHistory where ChainNo > " +
           std::to_string(cut) + ")");
    tamper("Delete from DocumentHistory where ChainNo > " + std::to_string(cut));
    EXPECT_EQ(admin("verify"), brokenAt(cut) + "the chain's head is row " + head + ", so the rows after row " +
                                   std::to_string(cut) + " were taken away\n");
    tamper("Update HistoryChain set HeadNo = " + std::to_string(cut) +
           ", HeadHash = (Select ChainHash from DocumentHistory where ChainNo = " + std::to_string(cut) + ")");
    EXPECT_THAT(admin("verify"), StartsWith("The history is whole: " + std::to_string(cut) + " rows"));
    EXPECT_EQ(admin("verify --since " + fingerprint),
              brokenAt(cut) + "the fingerprint's row " + head + " is no longer there: the history ends at row " +
                  std::to_string(cut) + "\n");

    // An attachment's stored bytes changed.
    tamper("Update DocumentAttachmentChunk set Bytes = " + bytesLiteral("41") +
           " where AttachmentID = (Select min(AttachmentID) from DocumentAttachment)");
    EXPECT_THAT(admin("verify"), MatchesRegex("The history is broken: attachment \"level.txt\" of document [0-9]+ no "
                                              "longer matches its SHA-256 and size\n"));
    // A void taken away, which would let the document be changed again.
    int64_t voidRow = count("Select h.ChainNo from DocumentHistory h join DocumentVoid v on v.HistoryID = h.HistoryID "
                            "order by h.ChainNo limit 1");
    tamper("Delete from DocumentVoid where HistoryID = (Select HistoryID from DocumentHistory where ChainNo = " +
           std::to_string(voidRow) + ")");
    EXPECT_EQ(admin("verify"), brokenAt(voidRow) + "the void this row records was taken away\n");

    // Two rows swapped, a row deleted, a value changed: each named by its row.
    tamper("Update DocumentHistory set ChainNo = -1 where ChainNo = 100");
    tamper("Update DocumentHistory set ChainNo = 100 where ChainNo = 101");
    tamper("Update DocumentHistory set ChainNo = 101 where ChainNo = -1");
    EXPECT_THAT(admin("verify"), StartsWith(brokenAt(100) + "the row (document "));
    tamper("Delete from DocumentHistory where ChainNo = 60");
    EXPECT_EQ(admin("verify"), brokenAt(60) + "the row is missing (the chain goes on at row 61)\n");
    tamper("Update DocumentChange set NewValue = 'hamis' where ColumnName = 'Targy' and HistoryID = (Select HistoryID "
           "from DocumentHistory where ChainNo = 20)");
    EXPECT_THAT(admin("verify"), MatchesRegex(brokenAt(20) + "the row \\(document [0-9]+, (felvitel|módosítás) at "
                                                             "[-0-9: ]+ by ugyfel\\) no longer matches its hash\n"));
    // A row added around the chain.
    tamper("Update DocumentHistory set ChainNo = null where ChainNo = 2");
    EXPECT_EQ(admin("verify"), brokenAt(2) + "the row is missing (the chain goes on at row 3)\n");
    // And the chain begun anew from another origin.
    tamper("Update HistoryChain set Origin = Origin || ' '");
    EXPECT_EQ(admin("verify"), "The history is broken: the chain's origin no longer matches its hash\n");
}

TEST(HistoryChainBytes, ARowIsHashedInItsDocumentedByteForm)
{
    velmora::ChainedRow row;
    row.chainNo = 1;
    row.historyID = 7;
    row.documentID = 4;
    row.action = "felvitel";
    row.changedAt = "2026-12-10 08:01:02";
    row.login = "ugyfel";
    row.changes = {{"Targy", std::nullopt, "Lev\xc3\xa9l", std::nullopt, std::nullopt}};
    EXPECT_EQ(velmora::chainInput(row), "1:11:71:4-8:felvitel19:2026-12-10 08:01:026:ugyfel1:15:Targy-6:Lev\xc3\xa9l--");
    // The change rows in the byte order of their forms, whatever order they come in.
    velmora::ChainedRow swapped = row;
    swapped.changes.insert(swapped.changes.begin(), {"Iktato", "1", "2", std::nullopt, std::nullopt});
    velmora::ChainedRow again = row;
    again.changes.push_back({"Iktato", "1", "2", std::nullopt, std::nullopt});
    EXPECT_EQ(velmora::chainInput(swapped), velmora::chainInput(again));
    EXPECT_EQ(velmora::chainHash(std::string(64, '0'), row).size(), 64u);
    EXPECT_NE(velmora::chainHash(std::string(64, '0'), row), velmora::chainHash(std::string(63, '0') + "1", row));
}

TEST_F(HistoryChain, EightClerksSavingAtOnceLeaveOneWholeChainThatVerifyReadsWholeMeanwhile)
{
    std::vector<std::unique_ptr<ChildProgram>> programs;
    std::vector<std::thread> clerks;
    std::vector<std::string> failures(8);
    for (int c = 0; c < 8; ++c) programs.push_back(std::make_unique<ChildProgram>(folder.file("velmora-entry")));
    for (int c = 0; c < 8; ++c)
        clerks.emplace_back([&, c] {
            try {
                Clerk clerk(*programs[c], velmora::entryDemoLogin);
                for (int i = 0; i < 8; ++i) {
                    clerk.fillNew(5000 + 100 * c + i, "Egyszerre " + std::to_string(c));
                    clerk.saveNew();
                }
            } catch (const std::exception& e) {
                failures[c] = e.what();
            }
        });
    // Verify reads while they save, and finds whatever it reads whole.
    std::vector<std::string> verdicts;
    std::atomic<bool> saving = true;
    std::thread verifying([&] {
        while (saving) verdicts.push_back(admin("verify"));
    });
    for (std::thread& t : clerks) t.join();
    saving = false;
    verifying.join();
    EXPECT_FALSE(verdicts.empty());
    for (const std::string& v : verdicts) EXPECT_THAT(v, StartsWith("The history is whole: "));
    for (auto& p : programs) EXPECT_EQ(p->finish(), 0);
    for (const std::string& f : failures) EXPECT_EQ(f, "");
    int64_t made = count("Select count(*) from DocumentHistory");
    EXPECT_GE(made, 64);
    EXPECT_THAT(admin("verify"), StartsWith("The history is whole: " + std::to_string(made) + " rows"));
}

TEST_F(HistoryChain, AnOlderHistoryIsChainedOnceByTheUpgradeAndARestoreBehindAFingerprintWarns)
{
    play(click("btnNew") + "type 4001\nkey tab\ntype R\xc3\xa9gi\n" + click("btnSave"));
    // A database of an earlier version: its history without the chain,
    // and under roles a server that does not chain.
    if (rolesRun())
        nativeScript(udl(), "", "DROP TRIGGER \"VelmoraChain\" ON \"DocumentHistory\"; DROP FUNCTION velmora_chain_written()");
    tamper("Drop table HistoryChain");
    tamper("Drop index DocumentHistoryChain");
    tamper("Alter table DocumentHistory drop column ChainNo");
    tamper("Alter table DocumentHistory drop column ChainHash");
    int64_t earlier = count("Select count(*) from DocumentHistory");
    // A clerk's program of this version begins the chain when it opens
    // such a database; under roles it may not, and saves as before.
    EXPECT_THAT(play(click("btnNew") + "type 4002\nkey tab\ntype El\xc5\x91tte\n" + click("btnSave")),
                testing::Not(HasSubstr("error:")));
    std::string upgraded = admin("upgrade");
    if (rolesRun()) {
        ++earlier;  // the upgrade begins it, the clerk's row taken in
        EXPECT_THAT(upgraded, HasSubstr("The history is chained from now on (velmora-admin verify checks it): "
                                        "Velmora history chain, begun "));
    }
    EXPECT_EQ(upgraded.find("roles enable once more") != std::string::npos, rolesRun()) << upgraded;
    EXPECT_THAT(rows("Select Origin from HistoryChain")[0],
                HasSubstr(", taking in the " + std::to_string(earlier) +
                          " rows made before it in the order of their HistoryID"));
    play(click("btnNew") + "type 4003\nkey tab\ntype \xc3\x9aj\n" + click("btnSave"));
    if (rolesRun()) {
        // Until roles enable runs again, the server's rows stay outside.
        EXPECT_THAT(admin("verify"), HasSubstr("is outside the chain"));
        return;
    }
    int64_t made = count("Select count(*) from DocumentHistory");
    EXPECT_THAT(admin("verify"), StartsWith("The history is whole: " + std::to_string(made) + " rows"));

    if (onPostgres()) return;  // the server's database is restored with pg_restore
    EXPECT_THAT(admin("backup copy.db"), HasSubstr("bytes, checked whole"));
    play(click("btnNew") + "type 4004\nkey tab\ntype K\xc3\xa9s\xc5\x91" "bbi\n" + click("btnSave"));
    std::string taken = admin("verify --fingerprint");
    EXPECT_THAT(admin("restore copy.db"),
                HasSubstr("Warning: the restored history ends at row " + std::to_string(made) +
                          ", before the fingerprint of row " + std::to_string(made + 1) + " taken "));
    EXPECT_THAT(admin("verify"), StartsWith("The history is whole: " + std::to_string(made) + " rows"));
}

// velmora-admin: groups and users without SQL, on the database the
// programs use (the data-link file beside this program, else in the
// user's configuration folder). A password is read from the terminal
// twice, or from the first line of standard input when that is not a
// terminal; it is stored as an Argon2id hash.
#include "admin/AttachmentCommand.h"
#include "admin/BackupCommand.h"
#include "admin/ImportCommand.h"
#include "admin/NumberingCommand.h"
#include "admin/RolesCommand.h"
#include "admin/UpgradeCommands.h"
#include "admin/VerifyCommand.h"
#include "admin/UsersAndGroups.h"
#include "app/CommandLine.h"
#include "db/Connection.h"
#include "registry/ServerRoles.h"
#include "startup/DateSetting.h"
#include "startup/Program.h"
#include "startup/UserFolders.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

const velmora::Usage usage{
    "velmora-admin",
    "COMMAND [ARGUMENTS]",
    {{"add-group NAME [--kind clerk|designer|admin]",
      "adds a user group; where users are roles of the server, its users' kind of work (clerk by default)"},
     {"group-kind NAME clerk|designer|admin", "changes the kind of work of a group's users (roles of the server)"},
     {"add-user LOGIN GROUP", "adds a user to a group; asks for the password"},
     {"set-password LOGIN", "sets a user's password (stored as a hash); asks for it"},
     {"move-user LOGIN GROUP", "moves a user to another group"},
     {"remove-user LOGIN", "removes a user"},
     {"list",
      "the groups with their users, whether each group has a design, and whether users are roles of the server"},
     {"roles enable",
      "makes every user a role of the PostgreSQL server, with privileges by the group's kind of work, and rewrites "
      "the data-link file to log in as the user; says which users need a new password. Run as a role that may "
      "create roles"},
     {velmora::numberingUsage,
      "the database gives COLUMN of each new document its number: {n}, or a text column's pattern of {n}, "
      "{n:W} (W digits), {yyyy}, {yy} and other text; --yearly starts again at 1 each year"},
     {"numbering list", "the numbered columns and the next number of each"},
     {"numbering off COLUMN", "COLUMN is numbered no more"},
     {velmora::attachmentsLimitUsage,
      "the largest file that may be attached (bytes, or with K, M or G: 100M; 100 MiB until set); without SIZE, "
      "says it"},
     {"attachments removed", "the attached files that clerks removed, not yet purged"},
     {velmora::attachmentsReadUsage,
      "reads the text of every attached scan, picture and PDF that waits, or was read by an older reader, for "
      "searches; with --all every one again. Shows its progress and the time left on a terminal"},
     {"attachments purge --before DAY",
      "deletes for good the files removed before DAY (2026.11.16. or 2026-11-16), each with a history row"},
     {"backup FILE",
      "a copy of the database (SQLite) in the new FILE, made while programs may be using it, checked whole; "
      "shows its progress on a terminal and says its size. A PostgreSQL database is copied with pg_dump"},
     {"restore FILE", "puts a copy made by backup back in place of the database, after checking it; refused while "
                      "any program has the database open"},
     {"upgrade", "makes the indexes and unique keys that a database made by an earlier version lacks, and turns an "
                "embedded one to the write-ahead log (copies made while clerks save then hold no save up)"},
     {"search-index",
      "folds and indexes the text of every text column of every document again, for searches by pattern; says "
      "each step on a terminal"},
     {velmora::verifyUsage,
      "walks the history's chain and recomputes every row's hash, re-reads every attachment against its SHA-256, "
      "and says \"The history is whole\" with its head, or the first row where it breaks (exit status 1); runs "
      "while clerks work. --fingerprint also prints the head as ROW:HASH:DATE, to be kept outside the database; "
      "--since FINGERPRINT proves that nothing up to its row has changed"},
     {velmora::importUsage,
      "imports the documents of FILE (CSV) through GROUP's entry page, checked by the form's rules, all or none: "
      "the header's titles name the fields by caption or Document column; --map gives a title's field itself (an "
      "empty COLUMN leaves the title's column out); --add-entries adds dictionary texts that are no entry yet; "
      "--dry-run only checks; each document's history names LOGIN. Dates read as 2026.11.16., 2026.11.16, "
      "2026-11-16 (with a time or without) and 16/11/2026; a check box as Igen/Nem, 1/0 or True/False"},
     {velmora::importVoidUsage, "voids every document of an import batch, for one reason"},
     {"--help", "this text"},
     {"--version", "the version"}},
};

// One line of the terminal, typed without echo.
std::string askHidden(const char* prompt)
{
    std::fprintf(stderr, "%s", prompt);
    termios old{};
    tcgetattr(STDIN_FILENO, &old);
    termios quiet = old;
    quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    std::string line;
    std::getline(std::cin, line);
    tcsetattr(STDIN_FILENO, TCSANOW, &old);
    std::fprintf(stderr, "\n");
    return line;
}

std::string readPassword()
{
    if (!isatty(STDIN_FILENO)) {
        std::string line;
        std::getline(std::cin, line);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }
    std::string first = askHidden("Password: ");
    if (askHidden("Password again: ") != first) throw velmora::ERefusedAdmin("The two passwords differ");
    return first;
}

}  // namespace

int main(int argc, char** argv)
{
    if (std::optional<int> answered = velmora::answerHelpOrVersion(usage, argc, argv)) return *answered;
    if (argc < 2) return velmora::usageError(usage);
    std::string command = argv[1];
    auto wants = [&](const char* name, int arguments) { return command == name && argc == arguments + 2; };
    const std::vector<std::string> words(argv + 2, argv + argc);  // the words after the command
    if (command == "numbering" && !velmora::isNumberingCommand(words)) return velmora::usageError(usage);
    if (command == "attachments" && !velmora::isAttachmentsCommand(words)) return velmora::usageError(usage);
    if (command == "import" && !velmora::isImportCommand(words)) return velmora::usageError(usage);
    if (command == "import-void" && !velmora::isImportVoidCommand(words)) return velmora::usageError(usage);
    if (command == "verify" && !velmora::isVerifyCommand(words)) return velmora::usageError(usage);
    bool groupWithKind = command == "add-group" && argc == 5 && std::string(argv[3]) == "--kind";
    if (command != "numbering" && command != "attachments" && command != "import" && command != "import-void" &&
        command != "verify" &&
        !wants("add-group", 1) && !groupWithKind && !wants("group-kind", 2) &&
        !(command == "roles" && words == std::vector<std::string>{"enable"}) && !wants("add-user", 2) &&
        !wants("set-password", 1) && !wants("move-user", 2) && !wants("remove-user", 1) && !wants("list", 0) && !wants("backup", 1) && !wants("restore", 1) &&
        !wants("upgrade", 0) && !wants("search-index", 0))
        return velmora::usageError(usage);
    velmora::useDateSetting();
    try {
        db::TADOConnection c(nullptr);
        std::string exe = velmora::runningExecutablePath();
        std::string dataLink = velmora::dataLinkFilePath(exe.substr(0, exe.find_last_of('/') + 1));
        c.setConnectionString("FILE NAME=" + dataLink);
        c.open();
        // Where users are roles of the server, the administrator's own
        // connection works as the database's owner.
        std::optional<velmora::ActingAsOwner> owner;
        if (command != "roles" && velmora::usesServerRoles(c)) owner.emplace(c);
        if (command == "add-group") velmora::addGroup(c, argv[2], groupWithKind ? argv[4] : velmora::clerkKind);
        else if (command == "backup") std::fputs(velmora::backupDatabase(c, argv[2], isatty(STDERR_FILENO)).c_str(), stdout);
        else if (command == "restore") std::fputs(velmora::restoreDatabase(c, argv[2]).c_str(), stdout);
        else if (command == "group-kind") velmora::setGroupKind(c, argv[2], argv[3]);
        else if (command == "roles") std::fputs(velmora::enableRolesCommand(c, dataLink).c_str(), stdout);
        else if (command == "add-user") velmora::addUser(c, argv[2], argv[3], readPassword());
        else if (command == "set-password") velmora::setPassword(c, argv[2], readPassword());
        else if (command == "move-user") velmora::moveUser(c, argv[2], argv[3]);
        else if (command == "remove-user") velmora::removeUser(c, argv[2]);
        else if (command == "numbering") std::fputs(velmora::runNumberingCommand(c, words).c_str(), stdout);
        else if (command == "attachments")
            std::fputs(velmora::runAttachmentsCommand(c, words, isatty(STDERR_FILENO)).c_str(), stdout);
        else if (command == "import" || command == "import-void" || command == "verify") {
            velmora::CommandResult r = command == "import"   ? velmora::runImportCommand(c, words)
                                       : command == "verify" ? velmora::runVerifyCommand(c, words, isatty(STDERR_FILENO))
                                                             : velmora::runImportVoidCommand(c, words);
            std::fputs(r.text.c_str(), r.refused ? stderr : stdout);
            if (r.refused) return 1;
        } else if (command == "upgrade") std::fputs(velmora::upgradeDatabase(c).c_str(), stdout);
        else if (command == "search-index")
            std::fputs(velmora::remakeSearchText(c, isatty(STDERR_FILENO)).c_str(), stdout);
        else std::fputs(velmora::listUsers(c).c_str(), stdout);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-admin: %s\n", e.what());
        return 1;
    }
    return 0;
}

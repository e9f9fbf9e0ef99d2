// velmora-initdb [FOLDER] [--postgres "CONNINFO" [--roles]]: a new database with the
// designer's tables and demonstration rows, and the data-link file that
// points at it; both add the clerk's demonstration group with its design,
// user and documents.
//   FOLDER                 FOLDER/velmora.db and FOLDER/VelmoraDSC.udl
//   (no FOLDER)            the database in the user's data folder, the
//                          data-link file (absolute path) in the user's
//                          configuration folder
//   --postgres "CONNINFO"  the tables on a PostgreSQL server instead; only
//                          the data-link file is written (in FOLDER, or in
//                          the configuration folder)
//   --roles                every user a role of the server (ServerRoles.h);
//                          the demonstration's users get roles with their
//                          passwords, the designer's group the designer's kind
// Nothing existing is overwritten.
#include "admin/UsersAndGroups.h"
#include "app/CommandLine.h"
#include "app/DemoEntryForm.h"
#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "registry/ServerRoles.h"
#include "startup/DemoDatabase.h"
#include "startup/Schema.h"
#include "startup/UserFolders.h"

#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace {

const velmora::Usage usage{
    "velmora-initdb",
    "[FOLDER] [--postgres \"CONNINFO\" [--roles]]",
    {{"FOLDER", "the folder of the new database and its data-link file VelmoraDSC.udl"},
     {"(no FOLDER)",
      "the database in ~/.local/share/velmora, the data-link file in ~/.config/velmora "
      "($XDG_DATA_HOME, $XDG_CONFIG_HOME)"},
     {"--postgres \"CONNINFO\"",
      "the tables on a PostgreSQL server (libpq keywords); only the data-link file "
      "is written"},
     {"--roles",
      "with --postgres: every user logs in as a role of the server, which enforces what each group's kind of work "
      "may do; run as a role that may create roles"},
     {"--help", "this text"},
     {"--version", "the version"}},
};

}  // namespace

int main(int argc, char** argv)
{
    if (std::optional<int> answered = velmora::answerHelpOrVersion(usage, argc, argv)) return *answered;
    std::optional<std::string> folder, conninfo;
    bool roles = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--roles" && !roles) {
            roles = true;
        } else if (arg == "--postgres") {
            if (conninfo || i + 1 >= argc) return velmora::usageError(usage);
            conninfo = argv[++i];
        } else if (arg.starts_with("-") || folder) {
            return velmora::usageError(usage);
        } else {
            folder = arg;
        }
    }
    if (roles && !conninfo) return velmora::usageError(usage);
    std::string dataFolder = folder ? *folder : velmora::userDataFolder();
    std::string linkFolder = folder ? *folder : velmora::userConfigFolder();
    if (linkFolder.empty()) {
        std::fprintf(stderr, "velmora-initdb: neither HOME nor XDG_CONFIG_HOME is set; name a FOLDER\n");
        return 1;
    }
    std::string link = linkFolder + "/" + velmora::sql::dataLinkFileName;
    bool droppedPassword = false;
    try {
        if (conninfo) velmora::createDemoDatabaseOnServer(linkFolder, *conninfo, &droppedPassword);
        else velmora::createDemoDatabase(dataFolder, linkFolder);
        // The clerk's demonstration, after the designer's rows.
        velmora::addEntryDemo(link);
        if (roles) {
            db::TADOConnection c(nullptr);
            c.setConnectionString(db::postgresDataLinkLine(*conninfo, true));
            c.open();
            std::vector<std::string> notes = velmora::enableServerRoles(c);
            {
                velmora::ActingAsOwner owner(c);
                velmora::setGroupKind(c, velmora::demoDesignerGroup, velmora::designerKind);
            }
            std::string prefix = velmora::rolePrefixOf(c);
            c.close();
            velmora::rewriteDataLinkForRoles(link, prefix);
            for (const std::string& note : notes) std::fprintf(stderr, "velmora-initdb: %s\n", note.c_str());
            std::printf("Every user is a role of the server, named %s.LOGIN.\n", prefix.c_str());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-initdb: %s\n", e.what());
        return 1;
    }
    if (conninfo)
        std::printf("Created the tables on the server and %s; log in as \"%s\" with the password \"%s\".\n",
                    link.c_str(), velmora::demoLogin, velmora::demoPassword);
    else
        std::printf("Created %s/velmora.db and %s; log in as \"%s\" with the password \"%s\".\n", dataFolder.c_str(),
                    link.c_str(), velmora::demoLogin, velmora::demoPassword);
    if (droppedPassword)
        std::fprintf(stderr,
                     "velmora-initdb: the password was not written into the data-link file; "
                     "put it in the PostgreSQL password file (~/.pgpass) instead.\n");
    return 0;
}

// velmora-initdb FOLDER: creates FOLDER/velmora.db with the designer's
// tables and demonstration rows, and FOLDER/VelmoraDSC.udl pointing at it.
// velmora-initdb FOLDER --postgres "CONNINFO": creates them on a PostgreSQL
// server instead, and the data-link file that connects to it. Both add the
// clerk's demonstration group with its design, user and documents.
#include "app/DemoEntryForm.h"
#include "startup/DemoDatabase.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    bool server = argc == 4 && std::strcmp(argv[2], "--postgres") == 0;
    if (argc != 2 && !server) {
        std::fprintf(stderr, "usage: velmora-initdb FOLDER [--postgres \"CONNINFO\"]\n");
        return 2;
    }
    const char* folder = argv[1];
    bool droppedPassword = false;
    try {
        if (server) velmora::createDemoDatabaseOnServer(folder, argv[3], &droppedPassword);
        else velmora::createDemoDatabase(folder);
        // The clerk's demonstration, after the designer's rows.
        velmora::addEntryDemo(std::string(folder) + "/VelmoraDSC.udl");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-initdb: %s\n", e.what());
        return 1;
    }
    if (server)
        std::printf(
            "Created the tables on the server and %s/VelmoraDSC.udl; log in as \"%s\" with the password \"%s\".\n",
            folder, velmora::demoLogin, velmora::demoPassword);
    else
        std::printf("Created %s/velmora.db and %s/VelmoraDSC.udl; log in as \"%s\" with the password \"%s\".\n", folder,
                    folder, velmora::demoLogin, velmora::demoPassword);
    if (droppedPassword)
        std::fprintf(stderr,
                     "velmora-initdb: the password was not written into the data-link file; "
                     "put it in the PostgreSQL password file (~/.pgpass) instead.\n");
    return 0;
}

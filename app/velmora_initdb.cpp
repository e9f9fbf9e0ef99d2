// velmora-initdb FOLDER: creates FOLDER/velmora.db with the designer's
// tables and demonstration rows, and FOLDER/VelmoraDSC.udl pointing at it.
#include "startup/DemoDatabase.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-initdb FOLDER\n");
        return 2;
    }
    try {
        velmora::createDemoDatabase(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-initdb: %s\n", e.what());
        return 1;
    }
    std::printf("Created %s/velmora.db and %s/VelmoraDSC.udl; log in as \"%s\" with the password \"%s\".\n", argv[1],
                argv[1], velmora::demoLogin, velmora::demoPassword);
    return 0;
}

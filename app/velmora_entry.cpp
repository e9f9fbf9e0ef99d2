// The clerk's program entry.
#include "app/EntryComposition.h"
#include "app/ProgramMain.h"

int main(int argc, char** argv)
{
    return programMain(argc, argv, velmora::runVelmoraEntry);
}

// The designer's program entry.
#include "app/DesignerComposition.h"
#include "app/ProgramMain.h"

int main(int argc, char** argv)
{
    return programMain(argc, argv, velmora::runVelmora);
}

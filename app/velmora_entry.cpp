// The clerk's program entry: velmora-entry takes no arguments but --help
// and --version.
#include "app/CommandLine.h"
#include "app/EntryComposition.h"
#include "app/ProgramMain.h"

int main(int argc, char** argv)
{
    const velmora::Usage usage{
        "velmora-entry",
        "",
        {{"(no arguments)",
          "logs in and runs the user group's form; headless without a display, reading "
          "gestures from standard input"},
         {"--help", "this text"},
         {"--version", "the version"}},
    };
    if (std::optional<int> answered = velmora::answerHelpOrVersion(usage, argc, argv)) return *answered;
    if (argc > 1) return velmora::usageError(usage);
    return programMain(argc, argv, velmora::runVelmoraEntry);
}

// velmora-form: inspects and repairs stored form designs.
//   velmora-form text2bin IN OUT   form text to component image
//   velmora-form bin2text IN OUT   component image to form text
//   velmora-form load IN           reads the text into a fresh main window and
//                                  writes the window back as a save stores it
//   velmora-form builtin           the built-in main window as a save stores it
//   velmora-form --help | --version
// A file name "-" means standard input or output. On an error the message
// the program would show goes to standard error and the status is 1.
#include "app/CommandLine.h"
#include "designer/ClientMain.h"
#include "designs/ClassRegistry.h"
#include "designs/ComponentImage.h"
#include "designs/Design.h"
#include "designs/FormText.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <clocale>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>

namespace {

std::string readInput(const std::string& name)
{
    if (name == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        return s.str();
    }
    std::ifstream f(name, std::ios::binary);
    if (!f) throw std::runtime_error("Cannot open file " + name);
    return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void writeOutput(const std::string& name, const std::string& bytes)
{
    if (name == "-") {
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
        return;
    }
    std::ofstream f(name, std::ios::binary);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("Cannot write file " + name);
}

const velmora::Usage usage{
    "velmora-form",
    "COMMAND [FILES]",
    {{"text2bin IN OUT", "form text to component image"},
     {"bin2text IN OUT", "component image to form text"},
     {"load IN", "reads the text into a fresh main window and writes the window as a save stores it"},
     {"builtin", "the built-in main window as a save stores it"},
     {"-", "as a file name: standard input or output"},
     {"--help", "this text"},
     {"--version", "the version"}},
};

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_NUMERIC, "C");
    if (std::optional<int> answered = velmora::answerHelpOrVersion(usage, argc, argv)) return *answered;
    if (argc < 2) return velmora::usageError(usage);
    std::string command = argv[1];
    try {
        if (command == "text2bin" && argc == 4) {
            writeOutput(argv[3], velmora::formTextToImage(readInput(argv[2])));
        } else if (command == "bin2text" && argc == 4) {
            writeOutput(argv[3], velmora::imageToFormText(readInput(argv[2])));
        } else if ((command == "load" && argc == 3) || (command == "builtin" && argc == 2)) {
            tk::HeadlessPlatform platform;
            tk::TApplication app(platform);
            velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
            // The data module's components, which designs refer to; no login.
            new velmora::TdmClientMain(&app);
            app.createForm(velmora::frmClientMain);
            velmora::TfrmClientMain& window = *velmora::frmClientMain;
            if (command == "load") {
                std::string text = readInput(argv[2]);
                // Read into the window as the running program has it: shown.
                window.show();
                velmora::loadDesign(window, text);
            } else {
                window.OnShow = window.findMethod("FormShow");
                // Shown, where the layout puts it.
                window.show();
                window.setBounds(200, 107, 544, 375);
            }
            writeOutput("-", velmora::designText(window));
        } else {
            return velmora::usageError(usage);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}

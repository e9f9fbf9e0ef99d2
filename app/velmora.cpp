// The designer's program entry: initialises the application object, creates
// the start-up data module and runs the message loop.
#include "toolkit/Application.h"
#include "toolkit/HeadlessPlatform.h"
#include "toolkit/Locale.h"

#include <clocale>
#include <cstdio>

int main()
{
    std::setlocale(LC_ALL, "");
    tk::setCurrentLocale(tk::Locale::fromSystem());
    tk::HeadlessPlatform platform;
    tk::TApplication app(platform);
    // The start-up data module (login, database connection, the four
    // windows) and the Qt front end are not part of this build yet; with no
    // window created the message loop returns at once.
    std::fprintf(stderr, "velmora: the toolkit is built; start-up and the windows arrive with the next parts\n");
    app.run();
    return 0;
}

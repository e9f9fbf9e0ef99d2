// The clerk's windows on desks of any locale and pixel density: the
// picture program runs under three locales at scale 1 and 2 and checks
// each of the clerk's windows from the toolkit's model (dates in the
// Hungarian form, nothing cut off without its tool tip, no child outside
// its parent), saying each fault on standard error.
#include "../ConsoleOutput.h"
#include "../TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

namespace {

bool localeInstalled(const char* name)
{
    std::string was = std::setlocale(LC_ALL, nullptr);
    bool there = std::setlocale(LC_ALL, name) != nullptr;
    std::setlocale(LC_ALL, was.c_str());
    return there;
}

}  // namespace

TEST(ClerkScreens, EveryLocaleAndScaleShowsHungarianDatesAndNothingCutOff)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.file("config"));
    for (const char* locale : {"C.UTF-8", "hu_HU.UTF-8", "en_US.UTF-8"}) {
        // tools/setup makes these; a missing one would be tried as C.
        ASSERT_TRUE(localeInstalled(locale)) << locale << " is not installed";
        for (int scale : {1, 2}) {
            std::string pictures = folder.file(std::string(locale) + "-" + std::to_string(scale));
            std::string command = std::string("env LANG=") + locale + " LC_ALL=" + locale +
                                  " XDG_CONFIG_HOME='" + folder.file("config") +
                                  "' QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=" + std::to_string(scale) + " '" +
                                  VELMORA_SCREENS_EXECUTABLE + "' '" + pictures + "' 2>&1; echo status $?";
            std::string out = commandOutput(command);
            SCOPED_TRACE(std::string(locale) + " at scale " + std::to_string(scale));
            EXPECT_THAT(out, testing::Not(testing::HasSubstr("velmora-screens:"))) << out;
            EXPECT_THAT(out, testing::EndsWith("status 0\n")) << out;
            for (const char* window : {"entry.png", "search.png", "history.png", "attachments.png",
                                       "print-document-dialog.png", "print-list-dialog.png"})
                EXPECT_TRUE(std::filesystem::exists(pictures + "/" + window)) << window;
        }
    }
}

// The clerk's program under test: the real velmora-entry copied beside a
// new demonstration database with the clerk's demonstration group, run
// through standard input after a login, the database read afterwards.
#pragma once

#include "ConsoleOutput.h"
#include "RolesMode.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include "app/DemoEntryForm.h"
#include "load/Gestures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

class EntryTest : public ::testing::Test {
protected:
    EntryTest()
    {
        std::filesystem::copy_file(VELMORA_ENTRY_EXECUTABLE, folder.file("velmora-entry"));
        std::filesystem::permissions(folder.file("velmora-entry"), std::filesystem::perms::owner_all);
        makeDemoDatabase(folder.path());
        velmora::addEntryDemo(udl());
        putUnderServerRolesInRolesRun(udl());
    }
    std::string udl() const { return folder.file("VelmoraDSC.udl"); }
    // More of the program's environment ("NAME=value ...").
    std::string environment;
    std::string command() const
    {
        // The printers are the test's own: none, unless it runs a CUPS queue.
        std::string cups = cupsServer.empty() ? folder.file("no-printers.sock") : cupsServer;
        return "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM LC_ALL=C CUPS_SERVER='" + cups + "' " +
               environment + " '" + folder.file("velmora-entry") + "'";
    }
    static std::string login(const char* user) { return Gestures::login(user, user); }

    // Runs the program on `script` after the clerk's login; returns what it printed.
    std::string play(const std::string& script, const char* user = velmora::entryDemoLogin)
    {
        std::ofstream(folder.file("script.txt")) << login(user) << script;
        return commandOutput(command() + " < '" + folder.file("script.txt") + "' 2>&1");
    }
    // Where a component of the main window is on the screen.
    Rect where(const std::string& component)
    {
        auto l = lines(play("where frmClientMain." + component + "\n"));
        EXPECT_FALSE(l.empty());
        return l.empty() ? Rect() : rect(l[0]);
    }
    std::string click(const char* button)
    {
        if (!spots.count(button)) spots[button] = where(button);
        return "click " + std::to_string(spots[button].cx()) + " " + std::to_string(spots[button].cy()) + "\n";
    }
    // The gesture that turns to the search page: a click on its tab.
    std::string searchTab()
    {
        if (!spots.count("searchTab")) {
            Rect pages = where("pcData");
            spots["searchTab"] = Rect{pages.left + 60, pages.top, 20, 20};
        }
        return click("searchTab");
    }
    // Types each text into its search field (a gesture after a click on
    // it), searches, and gives the found DocumentIDs (newest first), or the
    // error printed; `more` is played after, all printed kept in `last`.
    std::vector<std::string> found(const std::vector<std::pair<std::string, std::string>>& typing,
                                   const std::string& more = "")
    {
        std::string script = searchTab();
        for (const auto& [field, gesture] : typing) script += click(field.c_str()) + gesture;
        script += click("btnSearch") + "rows frmClientMain.dbgSearch\n" + more;
        last = play(script);
        return foundIds(last);
    }
    std::string last;
    std::vector<std::string> rows(const std::string& sql) { return readRows(udl(), sql); }
    std::vector<std::string> documents()
    {
        return rows(
            "Select DocumentID, Iktatoszam, Targy, Erkezett, CASE WHEN Lezart IS NULL THEN 'null' WHEN Lezart = "
            "(Select Lezart from Document where DocumentID = 1) THEN 'igen' ELSE 'nem' END from Document order by "
            "DocumentID");
    }
    std::vector<std::string> history()
    {
        return rows("Select DocumentID, UserID, Action from DocumentHistory order by HistoryID");
    }

    // The DocumentIDs that the answer to "rows frmClientMain.dbgSearch"
    // lists (newest first), or the first error printed instead.
    static std::vector<std::string> foundIds(const std::string& out)
    {
        std::vector<std::string> ids;
        bool inRows = false;
        for (const std::string& line : lines(out)) {
            if (line.rfind("error: ", 0) == 0) return {line};
            if (line.rfind("Azonos", 0) == 0) {
                inRows = true;
                continue;
            }
            if (line == "end") break;
            if (inRows) ids.push_back(line.substr(0, line.find('\t')));
        }
        return ids;
    }

    TempFolder folder;
    std::map<std::string, Rect> spots;
    std::string cupsServer;  // the CUPS server the program prints through

    // The real program fed line by line while the test acts beside it.
    class Live {
    public:
        explicit Live(EntryTest& test, const std::string& output = "live.txt") : out_(test.folder.file(output))
        {
            pipe_ = popen((test.command() + " > '" + out_ + "' 2>&1").c_str(), "w");
        }
        ~Live() { finish(); }
        void send(const std::string& lines)
        {
            if (!pipe_) return;
            fputs(lines.c_str(), pipe_);
            fflush(pipe_);
        }
        std::string printed() const
        {
            std::ifstream in(out_);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }
        // Waits (up to 20 s) until the program has printed `text`.
        bool waitFor(const std::string& text) const
        {
            for (int i = 0; i < 400; ++i) {
                if (printed().find(text) != std::string::npos) return true;
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            return false;
        }
        // Ends the input, waits for the program and gives all it printed.
        std::string finish()
        {
            if (pipe_) pclose(pipe_);
            pipe_ = nullptr;
            return printed();
        }

    private:
        std::string out_;
        FILE* pipe_ = nullptr;
    };
};

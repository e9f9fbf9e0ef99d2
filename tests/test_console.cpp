// The headless designer driven line by line from standard input, as a script
// or a person at a terminal drives it: gestures, and the questions that read
// the program's state without changing it.
#include "../app/ConsolePlatform.h"
#include "TempFolder.h"
#include "app/DesignerComposition.h"
#include "startup/DemoDatabase.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using testing::HasSubstr;
using testing::Not;

namespace {

// The lines a session printed, and the program's exit status.
struct Session {
    int status = 0;
    std::vector<std::string> lines;
    std::string text;
    // Whether the session printed exactly this line.
    bool has(const std::string& line) const { return std::find(lines.begin(), lines.end(), line) != lines.end(); }
};

Session split(int status, const std::string& out)
{
    Session s;
    s.status = status;
    s.text = out;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) s.lines.push_back(line);
    return s;
}

class Console : public ::testing::Test {
protected:
    Console() { velmora::createDemoDatabase(folder.path()); }

    // Logs in as demo/demo and runs `script` after it.
    Session run(const std::string& script)
    {
        std::istringstream in("type demo\nkey tab\ntype demo\nkey enter\n" + script);
        std::ostringstream out;
        ConsolePlatform platform(in, out);
        int status = velmora::runVelmora(platform, folder.file("velmora"));
        return split(status, out.str());
    }

    TempFolder folder;
};

// "text" prints a shown window as the writer writes it and then "end";
// "get" reads one property in the same notation, through dotted paths.
TEST_F(Console, TextAndGetReadWindowsAndPropertiesAsTheWriterWritesThem)
{
    Session s = run("text frmClientMain\ntext frmComonentPalette\ntext frmNothing\n"
                    "get frmClientMain.Caption\n"
                    "get frmClientMain.btnNew.Caption\n"
                    "get frmClientMain.btnNew.Font.Name\n"
                    "get frmClientMain.pcData.Style\n"
                    "get frmClientMain.btnNew.Width\n"
                    "get frmClientMain.btnNew.OnMouseDown\n"
                    "get frmClientMain.pcData.TabStop\n"
                    "get frmClientMain.btnNew.Font\n"
                    "get frmClientMain.btnNew.Nope\n"
                    "get frmNothing.Caption\n"
                    "get frmClientMain.dbgSearch.DataSource\n");
    ASSERT_EQ(s.status, 0);
    ASSERT_FALSE(s.lines.empty());
    EXPECT_EQ(s.lines[0], "object frmClientMain: TfrmClientMain");
    EXPECT_TRUE(s.has("  Caption = 'Velmora Document Store'"));
    EXPECT_TRUE(s.has("  object pcData: TPageControl"));
    auto end = std::find(s.lines.begin(), s.lines.end(), "end");
    ASSERT_NE(end, s.lines.end());
    // The window's own closing "end", then the console's.
    ASSERT_NE(std::next(end), s.lines.end());
    EXPECT_EQ(*std::next(end), "end");
    EXPECT_THAT(s.text, Not(HasSubstr("\r")));
    EXPECT_THAT(s.text, HasSubstr("object frmComonentPalette: TfrmComonentPalette\n"));
    auto none = std::find(s.lines.begin(), s.lines.end(), "none");
    ASSERT_GE(s.lines.end() - none, 12);
    const char* got[] = {"none",    "'Velmora Document Store'", "#218'j felvitel'", "'MS Sans Serif'",
                         "tsFlatButtons", "75", "ComponentMouseDown", "False",
                         "none",  // an owned object has no text
                         "unknown property Nope", "none", "dmClientMain.dtsGetMainData"};
    for (size_t i = 0; i < std::size(got); ++i) EXPECT_EQ(none[static_cast<long>(i)], got[i]) << i;
}

TEST_F(Console, WhereGivesTheScreenRectangleAndPressMoveReleaseClickLikeAMouse)
{
    // The login dialog's OK button, pressed and released with the mouse.
    std::istringstream in("type demo\nkey tab\ntype demo\nwhere frmPasswordDlg.OKBtn\nwhere frmPasswordDlg.Nothing\n");
    std::ostringstream out;
    {
        ConsolePlatform platform(in, out);
        velmora::runVelmora(platform, folder.file("velmora"));
    }
    Session first = split(0, out.str());
    ASSERT_GE(first.lines.size(), 2u);
    int left = 0, top = 0, width = 0, height = 0;
    ASSERT_EQ(std::sscanf(first.lines[0].c_str(), "%d %d %d %d", &left, &top, &width, &height), 4) << first.lines[0];
    EXPECT_GT(width, 0);
    EXPECT_EQ(first.lines[1], "none");

    int x = left + width / 2, y = top + height / 2;
    Session s = [&] {
        std::istringstream again("type demo\nkey tab\ntype demo\npress " + std::to_string(x) + " " + std::to_string(y) +
                                 "\nmove " + std::to_string(x + 1) + " " + std::to_string(y) + "\nrelease " +
                                 std::to_string(x + 1) + " " + std::to_string(y) +
                                 "\nwindows\nfocus\nwhere frmClientMain.btnNew\n");
        std::ostringstream o;
        ConsolePlatform platform(again, o);
        int status = velmora::runVelmora(platform, folder.file("velmora"));
        return split(status, o.str());
    }();
    EXPECT_EQ(s.status, 0);
    EXPECT_THAT(s.text, HasSubstr("frmClientMain \"Velmora Document Store\""));
    EXPECT_THAT(s.text, Not(HasSubstr("frmPasswordDlg")));
    // A tab sheet's button, on the screen inside the main window.
    int bl = 0, bt = 0, bw = 0, bh = 0;
    bool found = false;
    for (const std::string& line : s.lines)
        found = found || std::sscanf(line.c_str(), "%d %d %d %d", &bl, &bt, &bw, &bh) == 4;
    ASSERT_TRUE(found) << s.text;
    EXPECT_EQ(bw, 75);
    EXPECT_EQ(bh, 25);
    EXPECT_GT(bt, 50);
}

TEST_F(Console, FocusNamesTheWindowAndControl)
{
    std::istringstream in("focus\ntype demo\n");
    std::ostringstream out;
    ConsolePlatform platform(in, out);
    velmora::runVelmora(platform, folder.file("velmora"));
    EXPECT_THAT(out.str(), HasSubstr("frmPasswordDlg.edtLoginName\n"));
}

TEST_F(Console, ABadGestureOrQuestionSaysSoAndTheSessionGoesOn)
{
    Session s = run("frobnicate\nkey nosuchkey\nclick 10\nget frmClientMain\nwindows\n");
    EXPECT_TRUE(s.has("unknown command frobnicate"));
    EXPECT_TRUE(s.has("unknown key nosuchkey"));
    EXPECT_TRUE(s.has("click needs X Y"));
    EXPECT_TRUE(s.has("unknown property frmClientMain"));
    EXPECT_THAT(s.text, HasSubstr("frmClientMain \"Velmora Document Store\""));
}

// A window whose button fails, as a handler that lets an error escape.
class ErrorsOnScreen : public ::testing::Test {
protected:
    std::string run(const std::string& script)
    {
        std::istringstream in(script);
        std::ostringstream out;
        ConsolePlatform platform(in, out);
        tk::TApplication app(platform);
        tk::TForm* form = nullptr;
        app.createForm(form);
        form->setName("frmMain");
        form->setBounds(100, 100, 300, 200);
        auto* button = new tk::TButton(form);
        button->setName("btnFail");
        button->setParent(form);
        button->setBounds(10, 10, 80, 25);
        button->OnClick =
            tk::Handler::notify([](tk::TObject*) { throw std::runtime_error("Class TZEDFoo not found"); });
        auto* edit = new tk::TEdit(form);
        edit->setName("edtText");
        edit->setParent(form);
        edit->setBounds(10, 50, 80, 21);
        form->show();
        app.run();
        typed = edit->text();
        return out.str();
    }
    std::string typed;
};

TEST_F(ErrorsOnScreen, AnEscapedErrorPrintsOneLineAndItsBoxWaitsForEnter)
{
    std::string out = run("where frmMain.btnFail\n");
    std::istringstream lines(out);
    std::string where;
    std::getline(lines, where);
    int l = 0, t = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(where.c_str(), "%d %d %d %d", &l, &t, &w, &h), 4);
    std::string out2 = run("click " + std::to_string(l + 5) + " " + std::to_string(t + 5) + "\nwindows\ntype x\n" +
                           "click " + std::to_string(l + 5) + " " + std::to_string(t + 5) + "\nkey enter\nwindows\n");
    EXPECT_THAT(out2, HasSubstr("error: Class TZEDFoo not found\n"));
    EXPECT_THAT(out2, HasSubstr("message \"Class TZEDFoo not found\" modal\n"));
    EXPECT_THAT(out2, HasSubstr("message box waits\n"));
    // One error only: the second click met the box, not the button.
    EXPECT_EQ(out2.find("error:"), out2.rfind("error:"));
    // Enter dismissed the box: the last listing has no message.
    std::string last = out2.substr(out2.rfind("frmMain"));
    EXPECT_THAT(last, Not(HasSubstr("message")));
    EXPECT_EQ(typed, "");
}

// The real program, as a script runs it: a copy of the executable in a
// folder with its database, standard input from a pipe. Returns what it
// printed (both streams) and sets `status`.
std::string runProgram(const std::string& input, int& status)
{
    TempFolder folder;
    std::filesystem::copy_file(VELMORA_EXECUTABLE, folder.file("velmora"));
    std::filesystem::permissions(folder.file("velmora"), std::filesystem::perms::owner_all);
    velmora::createDemoDatabase(folder.path());
    std::ofstream(folder.file("script.txt")) << input;
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" + folder.file("velmora") + "' < '" +
                          folder.file("script.txt") + "' 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {};
    std::string out;
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    status = pclose(pipe);
    return out;
}

TEST(ConsoleProgram, TheRealVelmoraLogsInAndAnswersThroughAPipe)
{
    int status = -1;
    std::string out = runProgram(
        "type demo\nkey tab\ntype demo\nkey enter\n"
        "get frmComonentPalette.Caption\ntext frmClientMain\nfocus\n",
        status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_THAT(out, HasSubstr("'Szerkeszt'#337'panel'\n"));
    EXPECT_THAT(out, HasSubstr("object frmClientMain: TfrmClientMain\n"));
    EXPECT_THAT(out, HasSubstr("\nend\nend\n"));
    EXPECT_THAT(out, HasSubstr("frmClientMain \"Velmora Document Store\""));
}

TEST(ConsoleProgram, AFailedLoginEndsWithAFailureStatus)
{
    int status = 0;
    std::string out = runProgram("type demo\nkey tab\ntype nope\nkey enter\n", status);
    EXPECT_NE(status, 0) << out;
    EXPECT_THAT(out, HasSubstr("0 users match the login name and password"));
}

}  // namespace

TEST_F(Console, SelectionAndHandlesAnswerWhatIsSelectedAndWhereItsHandlesAre)
{
    Session first = run("where frmClientMain.btnNew\nwhere frmClientMain.btnModify\nwhere frmClientMain.pcData\n");
    int nl = 0, nt = 0, ml = 0, mt = 0, pl = 0, pt = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(first.lines[2].c_str(), "%d %d %d %d", &pl, &pt, &w, &h), 4) << first.text;
    ASSERT_EQ(std::sscanf(first.lines[0].c_str(), "%d %d %d %d", &nl, &nt, &w, &h), 4) << first.text;
    ASSERT_EQ(std::sscanf(first.lines[1].c_str(), "%d %d %d %d", &ml, &mt, &w, &h), 4) << first.text;
    auto at = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    // btnNew, then btnModify with Shift; then the primary's bottom-right
    // handle dragged by (+9, +9): its edges land on the grid, the right
    // one inside the sheet.
    Session s = run("click " + at(pl + 20, pt + 10) + "\nclick " + at(nl + 3, nt + 3) + "\nclick " + at(ml + 3, mt + 3) +
                    " shift\nselection\nhandles frmClientMain.btnModify\nhandles frmClientMain.btnNew\n"
                    "handles frmClientMain.btnSave\npress " +
                    at(ml + w + 2, mt + h + 2) + "\nmove " + at(ml + w + 11, mt + h + 11) + "\nrelease " +
                    at(ml + w + 11, mt + h + 11) + "\nwhere frmClientMain.btnModify\n");
    ASSERT_EQ(s.status, 0) << s.text;
    auto from = std::find(s.lines.begin(), s.lines.end(), "btnModify");
    ASSERT_NE(from, s.lines.end()) << s.text;
    std::vector<std::string> answer(from, s.lines.end());
    ASSERT_GE(answer.size(), 21u) << s.text;
    EXPECT_EQ(answer[1], "btnNew");
    EXPECT_EQ(answer[2], "end");
    EXPECT_EQ(answer[3], at(ml - 5, mt - 5) + " 5 5 filled");
    EXPECT_EQ(answer[7], at(ml + w, mt + h) + " 5 5 filled");
    EXPECT_EQ(answer[11], at(nl - 5, nt - 5) + " 5 5 hollow");
    EXPECT_EQ(answer[19], "none");
    EXPECT_EQ(answer[20], at(ml, mt) + " 84 32");
}

TEST_F(Console, CopiedFieldsCarriedAsClipboardTextPasteIntoAnotherProgram)
{
    Session first = run("where frmComonentPalette.SpeedButton2\nwhere frmClientMain.pcData\n");
    int tl = 0, tt = 0, pl = 0, pt = 0, w = 0, h = 0;
    ASSERT_EQ(std::sscanf(first.lines[0].c_str(), "%d %d %d %d", &tl, &tt, &w, &h), 4) << first.text;
    ASSERT_EQ(std::sscanf(first.lines[1].c_str(), "%d %d %d %d", &pl, &pt, &w, &h), 4) << first.text;
    auto at = [](int x, int y) { return std::to_string(x) + " " + std::to_string(y); };
    std::string entryPage = "click " + at(pl + 20, pt + 10) + "\n";
    // An edit placed on the entry page and copied.
    Session copying = run(entryPage + "click " + at(tl + 10, tt + 10) + "\nclick " + at(pl + 150, pt + 60) +
                          "\nkey c ctrl\nclipboard\n");
    auto from = std::find(copying.lines.begin(), copying.lines.end(), "object tsEdit: TTabSheet");
    ASSERT_NE(from, copying.lines.end()) << copying.text;
    auto to = std::find(from, copying.lines.end(), "end");
    ASSERT_NE(to, copying.lines.end());
    std::string carried;
    for (auto line = from; line <= to; ++line) carried += *line + "\n";
    EXPECT_THAT(carried, HasSubstr("  object TZEDit1: TZEDit\n"));
    EXPECT_THAT(carried, HasSubstr("    FocusControl = TZEDit1\n"));

    // The other program (the real one) pastes it twice: new names, 8
    // pixels further each time; undo takes the second paste back.
    int status = -1;
    std::string out = runProgram("type demo\nkey tab\ntype demo\nkey enter\n" + entryPage +
                                     "setclipboard EOF\n" + carried + "EOF\nkey v ctrl\nkey v ctrl\nselection\n"
                                     "key z ctrl\nselection\nclipboard\ntext frmClientMain\n",
                                 status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_THAT(out, HasSubstr("TZEDit2\nend\nTZEDit1\nend\n"));
    EXPECT_THAT(out, HasSubstr(carried + "end\n"));
    EXPECT_THAT(out, HasSubstr("    FocusControl = TZEDit1\n"));
    EXPECT_THAT(out, Not(HasSubstr("object TZEDit2")));
    EXPECT_THAT(out, Not(HasSubstr("error")));
}

// The form text: the exact text the writer produces, the grammar the reader
// accepts, and every error it reports, through text -> image -> text.
#include "designs/FormText.h"
#include "designs/ImageStream.h"
#include "toolkit/text/Locale.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

using namespace velmora;

namespace {

// Converts a text to an image and back.
std::string roundTrip(const std::string& text)
{
    return imageToFormText(formTextToImage(text));
}

std::string errorOf(const std::string& text)
{
    try {
        formTextToImage(text);
    } catch (const EReadError& e) {
        return e.what();
    }
    return "no error";
}

// An object with one property line.
std::string withLine(const std::string& line)
{
    return "object Form1: TForm\r\n  " + line + "\r\nend\r\n";
}

}  // namespace

TEST(FormText, TheWritersOutputSurvivesARoundTripByteForByte)
{
    const std::string text =
        "object frmClientMain: TfrmClientMain\r\n"
        "  Left = 200\r\n"
        "  Top = -107\r\n"
        "  Caption = 'Velmora Document Store'\r\n"
        "  Font.Charset = DEFAULT_CHARSET\r\n"
        "  Font.Style = []\r\n"
        "  Anchors = [akLeft, akTop, akRight]\r\n"
        "  OnShow = FormShow\r\n"
        "  Visible = True\r\n"
        "  Big = 4294967296\r\n"
        "  Small = -129\r\n"
        "  Ratio = 0.750000000000000000\r\n"
        "  Lines.Strings = (\r\n"
        "    'first'\r\n"
        "    'second')\r\n"
        "  Empty = ()\r\n"
        "  Nothing = nil\r\n"
        "  Missing = Null\r\n"
        "  Data = {0102FF}\r\n"
        "  object pcData: TPageControl\r\n"
        "    object tsEdit: TTabSheet\r\n"
        "      Caption = 'Felvitel'\r\n"
        "      object btnNew: TZEDBtn\r\n"
        "        Caption = #218'j felvitel'\r\n"
        "      end\r\n"
        "    end\r\n"
        "  end\r\n"
        "  object StatusBar1: TStatusBar\r\n"
        "    Panels = <\r\n"
        "      item\r\n"
        "        Width = 50\r\n"
        "      end\r\n"
        "      item\r\n"
        "      end>\r\n"
        "    Columns = <>\r\n"
        "  end\r\n"
        "end\r\n";
    EXPECT_EQ(roundTrip(text), text);
}

TEST(FormText, StringsAreQuotedRunsAndCodesSplitAt64Characters)
{
    EXPECT_EQ(roundTrip(withLine("Caption = 'Rendben'")), withLine("Caption = 'Rendben'"));
    EXPECT_EQ(roundTrip(withLine("Caption = 'M'#243'dos'#237't'")), withLine("Caption = 'M'#243'dos'#237't'"));
    EXPECT_EQ(roundTrip(withLine("Caption = #337#369")), withLine("Caption = #337#369"));
    // An apostrophe is written as #39; two apostrophes in a quoted run read as one.
    EXPECT_EQ(roundTrip(withLine("Caption = 'it''s'")), withLine("Caption = 'it'#39's'"));
    EXPECT_EQ(roundTrip(withLine("Caption = ''")), withLine("Caption = ''"));
    EXPECT_EQ(roundTrip(withLine("Caption = 'a'#13#10'b'")), withLine("Caption = 'a'#13#10'b'"));

    std::string x64(64, 'x'), x65(65, 'x'), x70(70, 'x');
    EXPECT_EQ(roundTrip(withLine("Hint = '" + x64 + "'")), withLine("Hint = '" + x64 + "'"));
    EXPECT_EQ(roundTrip(withLine("Hint = '" + x65 + "'")), withLine("Hint = \r\n    '" + x64 + "' +\r\n    'x'"));
    EXPECT_EQ(roundTrip(withLine("Hint = '" + x70 + "'")), withLine("Hint = \r\n    '" + x64 + "' +\r\n    'xxxxxx'"));
    // A split line joins again, and "#" pieces count as one character.
    std::string codes;
    for (int i = 0; i < 65; ++i) codes += "#337";
    std::string expected = "Hint = \r\n    ";
    for (int i = 0; i < 64; ++i) expected += "#337";
    expected += " +\r\n    #337";
    EXPECT_EQ(roundTrip(withLine("Hint = " + codes)), withLine(expected));
    // A byte above 127 inside quotes is a character of the ANSI code page.
    EXPECT_EQ(roundTrip(withLine("Caption = 'Mez\xf5n\xe9v:'")), withLine("Caption = 'Mez'#337'n'#233'v:'"));
}

TEST(FormText, ByteBlocksHold32BytesALine)
{
    std::string b31, b32;
    for (int i = 0; i < 31; ++i) b31 += "AB";
    b32 = b31 + "CD";
    EXPECT_EQ(roundTrip(withLine("Data = {" + b31 + "}")), withLine("Data = {" + b31 + "}"));
    EXPECT_EQ(roundTrip(withLine("Data = {" + b32 + "}")), withLine("Data = {\r\n    " + b32 + "}"));
    EXPECT_EQ(roundTrip(withLine("Data = {" + b32 + "\r\n  0a 0b}")),
              withLine("Data = {\r\n    " + b32 + "\r\n    0A0B}"));
    EXPECT_EQ(roundTrip(withLine("Data = {}")), withLine("Data = {}"));
}

TEST(FormText, FloatsUseAFullStopAndEighteenDecimalsWhateverTheLocale)
{
    tk::setCurrentLocale(tk::Locale::hungarian());  // decimal comma
    EXPECT_EQ(extendedText(0.75L), "0.750000000000000000");
    EXPECT_EQ(extendedText(-1234.5L), "-1234.500000000000000000");
    EXPECT_EQ(extendedText(1.0L / 3), "0.333333333333333300");
    EXPECT_EQ(extendedText(0), "0.000000000000000000");
    EXPECT_EQ(roundTrip(withLine("Time = 0.75")), withLine("Time = 0.750000000000000000"));
    EXPECT_EQ(roundTrip(withLine("Size = 1.5s")), withLine("Size = 1.5s"));
    EXPECT_EQ(roundTrip(withLine("When = 38046d")), withLine("When = 38046d"));
    EXPECT_EQ(roundTrip(withLine("Price = 12345c")), withLine("Price = 12345c"));
}

TEST(FormText, TheReaderTakesWhatTheWriterNeverProduces)
{
    EXPECT_EQ(roundTrip("OBJECT Form1: TForm\r\n  Tag = $FF\r\n  Caption = 'a' +\r\n 'b'\r\nEnd"),
              "object Form1: TForm\r\n  Tag = 255\r\n  Caption = 'ab'\r\nend\r\n");
    EXPECT_EQ(roundTrip("object Form1:TForm Font . Name='x' DataSource=dmClientMain.dtsGetMainData end"),
              "object Form1: TForm\r\n  Font.Name = 'x'\r\n  DataSource = dmClientMain.dtsGetMainData\r\nend\r\n");
    EXPECT_EQ(roundTrip("object TForm\r\nend"), "object TForm\r\nend\r\n");
    EXPECT_EQ(roundTrip("inherited Form1: TForm [2]\r\n  Panels = <ITEM [3] end>\r\nend"),
              "inherited Form1: TForm [2]\r\n  Panels = <\r\n    item [3]\r\n    end>\r\nend\r\n");
    EXPECT_EQ(roundTrip(withLine("Sets = [1, akTop]")), withLine("Sets = [1, akTop]"));
}

TEST(FormText, EachBrokenRuleHasItsMessageAndLine)
{
    EXPECT_EQ(errorOf("  thing Form1: TForm\r\nend"), "OBJECT expected on line 1");
    EXPECT_EQ(errorOf("object 1: TForm\r\nend"), "Identifier expected on line 1");
    EXPECT_EQ(errorOf("object Form1: TForm\r\n  Left 10\r\nend"), "''='' expected on line 2");
    EXPECT_EQ(errorOf("object Form1: TForm [x]\r\nend"), "Number expected on line 1");
    EXPECT_EQ(errorOf("object Form1: TForm [1\r\nend"), "'']'' expected on line 2");
    EXPECT_EQ(errorOf(withLine("Caption = 'a' + 12")), "String expected on line 2");
    EXPECT_EQ(errorOf(withLine("Caption = 'abc")), "Invalid string constant on line 2");
    EXPECT_EQ(errorOf(withLine("Data = {0G}")), "Invalid binary value on line 2");
    EXPECT_EQ(errorOf(withLine("Data = {012}")), "Invalid binary value on line 2");
    EXPECT_EQ(errorOf(withLine("Left = )")), "Invalid property value on line 2");
    // A Null item would end the list early in the image, and the next bytes would read as a property.
    EXPECT_EQ(errorOf(withLine("Strings = (a 2 Null b)")), "Invalid property value on line 2");
    EXPECT_EQ(errorOf(withLine("Anchors = [akLeft akTop]")), "'','' expected on line 2");
    EXPECT_EQ(errorOf(withLine("DataSource = dm.")), "Identifier expected on line 2");
    EXPECT_EQ(errorOf(withLine("Panels = <thing end>")), "item expected on line 2");
    EXPECT_EQ(errorOf("object Form1: TForm\r\n  Caption = '" + std::string(4100, 'x') + "'\r\nend"),
              "Line too long on line 2");
    EXPECT_EQ(errorOf("object Form1: TForm\r\n"), "Identifier expected on line 2");
    EXPECT_EQ(errorOf(""), "OBJECT expected on line 1");
}

TEST(FormText, ABrokenImageIsAnInvalidStreamFormat)
{
    std::string image = formTextToImage(withLine("Caption = 'x'"));
    for (size_t cut = 0; cut < image.size(); ++cut) {
        try {
            imageToFormText(image.substr(0, cut));
            FAIL() << "a cut image at " << cut << " was read";
        } catch (const EReadError& e) {
            EXPECT_STREQ(e.what(), "Invalid stream format");
        }
    }
    EXPECT_THROW(imageToFormText("TPF1"), EReadError);
    // A length beyond the image is refused before anything is allocated.
    std::string huge =
        "TPF0\x05TForm\x00\x04"
        "Data\x0A\xFF\xFF\xFF\x7F";
    EXPECT_THROW(imageToFormText(huge), EReadError);
}

TEST(FormText, TheImageEncodesValuesInTheirSmallestTypes)
{
    std::string image = formTextToImage(
        "object A: TForm\r\n  X = 5\r\n  Y = 300\r\n  Z = True\r\n  N = nil\r\n  "
        "S = 'ab'\r\n  U = #337\r\nend");
    std::string expected = std::string(
                               "TPF0\x05TForm\x01"
                               "A",
                               12) +
                           std::string("\x01X\x02\x05", 4) + std::string("\x01Y\x03\x2C\x01", 5) +
                           std::string("\x01Z\x09", 3) + std::string("\x01N\x0D", 3) +
                           std::string(
                               "\x01S\x06\x02"
                               "ab",
                               6) +
                           // "ő": UTF-8 takes 2 bytes for 1 character, so UTF-16.
                           std::string("\x01U\x12\x01\x00\x00\x00\x51\x01", 9) + std::string("\x00\x00", 2);
    EXPECT_EQ(image, expected);
}

TEST(FormText, AProcessLocaleWithADecimalCommaChangesNothing)
{
    const char* comma[] = {"hu_HU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "hu_HU", "de_DE"};
    std::string old = std::setlocale(LC_NUMERIC, nullptr);
    bool set = false;
    for (const char* name : comma)
        if (std::setlocale(LC_NUMERIC, name)) {
            set = true;
            break;
        }
    if (!set) {
        // Compile the Hungarian locale into a private folder.
        std::string dir = (std::filesystem::temp_directory_path() / "velmora-locales").string();
        std::filesystem::create_directories(dir);
        std::string cmd = "localedef -i hu_HU -f UTF-8 '" + dir + "/hu_HU.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) {
            setenv("LOCPATH", dir.c_str(), 1);
            set = std::setlocale(LC_NUMERIC, "hu_HU.UTF-8") != nullptr;
        }
    }
    if (!set) GTEST_SKIP() << "no locale with a decimal comma can be had";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5");
    std::string text = roundTrip(withLine("Time = 0.75"));
    std::string size = roundTrip(withLine("Size = 1.5s"));
    std::setlocale(LC_NUMERIC, old.c_str());
    EXPECT_EQ(text, withLine("Time = 0.750000000000000000"));
    EXPECT_EQ(size, withLine("Size = 1.5s"));
}

TEST(FormText, AClassNameTheImageCannotHoldIsRefusedNamingItsLine)
{
    // 240 characters and more would read back as the object's flags.
    auto design = [](size_t rootLength, size_t childLength) {
        return "object A: T" + std::string(rootLength - 1, 'x') + "\r\n  object C: T" +
               std::string(childLength - 1, 'y') + "\r\n  end\r\nend\r\n";
    };
    EXPECT_EQ(errorOf(design(2, 240)), "Class name too long on line 2");
    EXPECT_EQ(errorOf(design(240, 2)), "Class name too long on line 1");
    EXPECT_EQ(errorOf(design(2, 255)), "Class name too long on line 2");
    EXPECT_EQ(errorOf(design(2, 256)), "Class name too long on line 2");
    // 239 characters still fit, and survive the way back.
    std::string longest = design(239, 239);
    EXPECT_EQ(roundTrip(longest), longest);
}

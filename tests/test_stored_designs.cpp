// Stored designs: the main window written into a component image and form
// text, read back into the window, through the class registry.
#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "designer/ClientMain.h"
#include "designs/ClassRegistry.h"
#include "designs/ComponentImage.h"
#include "designs/Design.h"
#include "designs/FormText.h"
#include "designs/ImageStream.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

class StoredDesigns : public ::testing::Test {
protected:
    StoredDesigns() : app(platform)
    {
        registerDesignClasses(TfrmClientMain::staticClassInfo());
        new TdmClientMain(&app);
        app.createForm(frmClientMain);
        window = frmClientMain.get();
    }

    // The window as a save stores it: shown, OnShow FormShow.
    std::string saved()
    {
        if (!window->visible()) {
            window->OnShow = window->findMethod("FormShow");
            window->show();
            window->setBounds(200, 107, 544, 375);
        }
        return designText(*window);
    }
    void load(const std::string& text) { loadDesign(*window, text); }
    std::string loadError(const std::string& text)
    {
        try {
            load(text);
        } catch (const tk::Error& e) {
            return e.what();
        }
        return "no error";
    }
    // The built-in design with `extra` added as the last objects on tsEdit.
    std::string builtinWith(const std::string& extra)
    {
        std::string text = saved();
        size_t at = text.find("    object tsSearch: TTabSheet");
        // tsEdit ends with "    end\r\n" right before tsSearch.
        return text.substr(0, at - 9) + extra + text.substr(at - 9);
    }

    tk::HeadlessPlatform platform;
    tk::TApplication app;
    TfrmClientMain* window = nullptr;
};

const char* const placedControls =
    "      object TZEDit1: TZEDit\r\n"
    "        Left = 120\r\n"
    "        Top = 16\r\n"
    "        Width = 121\r\n"
    "        Height = 21\r\n"
    "        TabOrder = 4\r\n"
    "        KeyField = 'Targy'\r\n"
    "        Required = True\r\n"
    "        CanModify = False\r\n"
    "        FieldType = 1\r\n"
    "      end\r\n"
    "      object TZEDText1: TZEDText\r\n"
    "        Left = 64\r\n"
    "        Top = 20\r\n"
    "        Width = 48\r\n"
    "        Height = 17\r\n"
    "        Caption = 'Mez'#337'n'#233'v:'\r\n"
    "        FocusControl = TZEDit1\r\n"
    "        TabOrder = 5\r\n"
    "      end\r\n";

std::string withoutObject(std::string text, const std::string& name)
{
    size_t start = text.find("      object " + name + ":");
    size_t end = text.find("      end\r\n", start);
    return text.erase(start, end + 11 - start);
}

}  // namespace

TEST_F(StoredDesigns, ThePlacedFieldAndItsLabelAreStoredExactly)
{
    std::string text = builtinWith(placedControls);
    load(text);
    auto* edit = tk::as<TZEDit>(window->findComponent("TZEDit1"));
    auto* label = tk::as<TZEDText>(window->findComponent("TZEDText1"));
    ASSERT_TRUE(edit && label);
    EXPECT_EQ(label->focusControl(), edit);
    EXPECT_EQ(edit->parent()->name(), "tsEdit");
    EXPECT_EQ(label->caption(), "Mezőnév:");
    EXPECT_TRUE(edit->Required());

    std::string again = saved();
    EXPECT_EQ(again.substr(again.find("\r\n")), text.substr(text.find("\r\n")));
    // The entry page as the stored design holds it, buttons but btnSave left out.
    size_t start = again.find("    object tsEdit: TTabSheet");
    std::string page = again.substr(start, again.find("    object tsSearch") - start);
    for (const char* b : {"btnNew", "btnModify", "btnCancel"}) page = withoutObject(page, b);
    EXPECT_EQ(page, std::string("    object tsEdit: TTabSheet\r\n"
                                "      Caption = 'Felvitel'\r\n"
                                "      object btnSave: TZEDBtn\r\n"
                                "        Left = 440\r\n"
                                "        Top = 72\r\n"
                                "        Width = 75\r\n"
                                "        Height = 25\r\n"
                                "        Caption = 'Rendben'\r\n"
                                "        TabOrder = 2\r\n"
                                "        OnClick = btnSaveClick\r\n"
                                "        Kind = bkOK\r\n"
                                "      end\r\n") +
                        placedControls + "    end\r\n");
}

TEST_F(StoredDesigns, ReadingRenamesTheRootAndTheNextSaveKeepsTheName)
{
    std::string builtin = saved();
    ASSERT_EQ(builtin.rfind("object frmClientMain: TfrmClientMain\r\n", 0), 0u);
    load(builtin);
    EXPECT_EQ(window->name(), "frmClientMain_1");
    std::string next = saved();
    EXPECT_EQ(next.rfind("object frmClientMain_1: TfrmClientMain\r\n", 0), 0u);
    load(next);
    EXPECT_EQ(window->name(), "frmClientMain_1_1");
    // The root's class is compared with nothing; class names ignore case.
    load("object frmOther: TForm\r\n  object pcData: TPAGECONTROL\r\n    object X: tzedit\r\n    end\r\n  end\r\nend");
    EXPECT_EQ(window->name(), "frmOther");
    EXPECT_TRUE(tk::as<TZEDit>(window->findComponent("X")));
    EXPECT_EQ(window->findComponent("X")->className(), "TZEDit");
}

TEST_F(StoredDesigns, BrokenDesignsNameWhatIsWrong)
{
    EXPECT_EQ(loadError("object A: TfrmClientMain\r\n  object L: TLabel\r\n  end\r\nend"), "Class TLabel not found");
    EXPECT_EQ(
        loadError("object A: TfrmClientMain\r\n  object X: TZEDit\r\n  end\r\n  object x: TZEDit\r\n  end\r\nend"),
        "A component named x already exists");
    EXPECT_EQ(loadError("object A: TfrmClientMain\r\n  object C: TZEDChxBox\r\n    Dictionary = 'd'\r\n  end\r\nend"),
              "Error reading C.Dictionary: Property Dictionary does not exist");
    EXPECT_EQ(
        loadError("object A: TfrmClientMain\r\n  object B: TZEDBtn\r\n    OnClick = NoSuchHandler\r\n  end\r\nend"),
        "Error reading B.OnClick: Invalid property value");
    EXPECT_EQ(loadError("object A: TfrmClientMain\r\n  object B: TZEDBtn\r\n    Left = 'x'\r\n  end\r\nend"),
              "Error reading B.Left: Invalid property value");
    EXPECT_EQ(loadError("object Z: TfrmClientMain\r\n  Font.Nothing = 1\r\nend"),
              "Error reading Z.Font.Nothing: Property Nothing does not exist");
    EXPECT_EQ(loadError("object A: TfrmClientMain\r\n  Left = )\r\nend"), "Invalid property value on line 2");
    // The published field TBitBtn is found although nothing registers it.
    EXPECT_EQ(loadError("object A: TfrmClientMain\r\n  object btnPrint: TBitBtn\r\n  end\r\nend"), "no error");
    EXPECT_EQ(window->btnPrint.get(), window->findComponent("btnPrint"));
}

TEST_F(StoredDesigns, FieldControlsKeepWhatTheirClassesSay)
{
    std::string text = builtinWith(
        "      object TZEDChxBox1: TZEDChxBox\r\n"
        "        Left = 8\r\n"
        "        Top = 8\r\n"
        "        Width = 97\r\n"
        "        Height = 17\r\n"
        "        Checked = True\r\n"
        "        State = cbChecked\r\n"
        "        TabOrder = 4\r\n"
        "        Required = False\r\n"
        "        CanModify = True\r\n"
        "        FieldType = 3\r\n"
        "      end\r\n");
    // The check box's own State is gone: the old line is refused.
    EXPECT_EQ(loadError(text), "Error reading TZEDChxBox1.State: Invalid property value");

    text.erase(text.find("        State = cbChecked\r\n"), 27);
    load(text);
    auto* chx = tk::as<TZEDChxBox>(window->findComponent("TZEDChxBox1"));
    ASSERT_TRUE(chx);
    EXPECT_TRUE(chx->checked());
    EXPECT_EQ(chx->State(), 0);
    std::string again = saved();
    EXPECT_NE(again.find("        Checked = True\r\n        TabOrder = 4"), std::string::npos);

    // A new date picker with its defaults: no ShowCheckbox and no Date lines.
    auto* sheet = tk::as<tk::TTabSheet>(window->findComponent("tsEdit"));
    auto* picker = new TZEDPicker(window);
    picker->setName("TZEDPicker1");
    picker->setParent(sheet);
    picker->setBounds(8, 40, 96, 21);
    std::string withPicker = saved();
    size_t at = withPicker.find("object TZEDPicker1: TZEDPicker");
    std::string block = withPicker.substr(at, withPicker.find("end\r\n", at) - at);
    EXPECT_EQ(block.find("ShowCheckbox"), std::string::npos);
    EXPECT_EQ(block.find("Date ="), std::string::npos);
    EXPECT_NE(block.find("Required = False\r\n        CanModify = False\r\n        FieldType = 2\r\n"),
              std::string::npos);
    EXPECT_EQ(block.find("Font."), std::string::npos);
    EXPECT_EQ(block.find("Color"), std::string::npos);
}

TEST_F(StoredDesigns, ColoursAnchorsAndGlyphsFollowTheStoringRules)
{
    std::string text = saved();
    // btnSave (bkOK) carries no glyph; btnNew carries its glyph and NumGlyphs 2.
    size_t save = text.find("object btnSave");
    EXPECT_EQ(text.substr(save, text.find("end", save) - save).find("Glyph"), std::string::npos);
    size_t nw = text.find("object btnNew");
    std::string newBlock = text.substr(nw, text.find("      end", nw) - nw);
    EXPECT_NE(newBlock.find("Glyph.Data = {"), std::string::npos);
    EXPECT_NE(newBlock.find("NumGlyphs = 2"), std::string::npos);
    EXPECT_NE(text.find("  Visible = True\r\n"), std::string::npos);

    auto* edit = new TZEDit(window);
    edit->setName("TZEDit1");
    edit->setParent(tk::as<tk::TTabSheet>(window->findComponent("tsEdit")));
    edit->setColor(-16777191);  // a system colour without a name
    edit->setAlign(tk::TAlign::alTop);
    edit->setAnchors(tk::akLeft | tk::akTop | tk::akRight);
    std::string out = saved();
    size_t at = out.find("object TZEDit1");
    std::string block = out.substr(at, out.find("end\r\n", at) - at);
    EXPECT_NE(block.find("Color = -16777191"), std::string::npos);
    EXPECT_EQ(block.find("Anchors"), std::string::npos);
    load(out);
    EXPECT_EQ(tk::as<TZEDit>(window->findComponent("TZEDit1"))->color(), -16777191);
}

TEST_F(StoredDesigns, AGlyphsBitmapDecodesToItsPixels)
{
    auto* btn = tk::as<tk::TBitBtn>(window->findComponent("btnNew"));
    ASSERT_TRUE(btn);
    EXPECT_EQ(btn->glyph()->width(), 32);
    EXPECT_EQ(btn->glyph()->height(), 16);
    EXPECT_EQ(btn->glyph()->bitCount(), 4);
    auto px = btn->glyph()->pixels();
    ASSERT_EQ(px.size(), 32u * 16);
    EXPECT_EQ(px[15 * 32], 0xFF808000u);  // the lower left pixel: olive, the transparent colour
}

TEST(Bitmaps, TwentyFourBitPicturesDecodeBottomUp)
{
    // A 2 x 2 picture, 24 bits: rows are stored bottom-up, padded to 4 bytes.
    std::vector<uint8_t> b(54, 0);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(10, 54);
    put(14, 40);
    put(18, 2);
    put(22, 2);
    b[26] = 1;
    b[28] = 24;
    // Bottom row: red, green; top row: blue, white (blue, green, red order).
    for (uint8_t v : {0, 0, 255, 0, 255, 0, 0, 0}) b.push_back(v);
    for (uint8_t v : {255, 0, 0, 255, 255, 255, 0, 0}) b.push_back(v);
    tk::TBitmap bmp;
    bmp.setBmpData(b);
    EXPECT_EQ(bmp.width(), 2);
    EXPECT_EQ(bmp.bitCount(), 24);
    EXPECT_EQ(bmp.pixels(), (std::vector<uint32_t>{0xFF0000FF, 0xFFFFFFFF, 0xFFFF0000, 0xFF00FF00}));
    // Something that is no BMP is an empty picture.
    bmp.setBmpData({'B', 'M', 1, 2});
    EXPECT_TRUE(bmp.empty());
    EXPECT_TRUE(bmp.pixels().empty());
}

// A tab order that the stored order of the controls does not follow comes
// back as it was saved, not as placing each in turn would leave it.
TEST_F(StoredDesigns, TheTabOrderReadsBackAsSavedWhateverTheOrderOfTheControls)
{
    const char* names[] = {"btnNew", "btnModify", "btnSave", "btnCancel"};
    auto control = [&](const char* name) { return tk::as<tk::TWinControl>(window->findComponent(name)); };
    // Stored as 2, 3, 1, 0: placing them in the order read would give 1, 3, 2, 0.
    for (const char* name : names) ASSERT_TRUE(control(name)) << name;
    control("btnCancel")->setTabOrder(0);
    control("btnSave")->setTabOrder(1);
    control("btnNew")->setTabOrder(2);
    control("btnModify")->setTabOrder(3);
    std::string text = saved();
    load(text);
    std::vector<int> orders;
    for (const char* name : names) orders.push_back(control(name)->tabOrder());
    EXPECT_EQ(orders, (std::vector<int>{2, 3, 1, 0}));
    std::string again = saved();
    EXPECT_EQ(again.substr(again.find('\n')), text.substr(text.find('\n')));
}

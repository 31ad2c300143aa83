// Panel resources in the form every driver reads, made from the Designer
// files by the build's converter: where the Windows program finds them
// (inside the executable, beside it) and that the conversion keeps every
// id, kind and text the code relies on.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "ui/core/coreres.h"
#include "ui/cp1252.h"
#include "ui/userint.h"
#include "ui/win32/winres.h"

namespace {

using uicore::UirFile;
using uicore::UirPanel;
using uicore::UirRecord;

UirFile Load(const char *name) {
    std::string bytes;
    UirFile file;
    EXPECT_EQ(uicore::UirReadFile(name, &bytes), 0) << name;
    EXPECT_EQ(uicore::UirParse(bytes, &file), 0) << name;
    return file;
}

const UirRecord *Ctrl(const UirPanel &panel, int id) {
    for (const UirRecord &c : panel.ctrls)
        if (c.Int("ctrlId", 0) == id) return &c;
    return nullptr;
}

// The control's text as the panel file stores it: a text box's plainText,
// a picture button's label drawn apart (labelOf), else its own text.
std::string TextOf(const UirPanel &panel, int id) {
    const UirRecord *c = Ctrl(panel, id);
    if (!c) return "<no control>";
    if (c->Find("plainText")) return c->Text("plainText");
    for (const UirRecord &label : panel.ctrls)
        if (label.Int("labelOf", 0) == id) return label.Text("text");
    return c->Text("text");
}

TEST(Uir, FVLicEnrTravelsInsideTheExecutable) {
    std::wstring folder;
    ASSERT_EQ(uiwin::ProgramFolder(&folder), 0);
    ASSERT_EQ(GetFileAttributesW((folder + L"\\FVLicEnr.uir").c_str()), INVALID_FILE_ATTRIBUTES)
        << "no file of that name may stand in for the resource";
    const UirFile file = Load("FVLicEnr.uir");
    const UirPanel *main = nullptr;
    const UirPanel *downloads = nullptr;
    ASSERT_EQ(uicore::UirFindPanel(file, 4, &main), 0);
    ASSERT_EQ(uicore::UirFindPanel(file, 6, &downloads), 0);

    const struct { int id, style; } mainCtrls[] = {
        {5, CTRL_RING}, {7, CTRL_COMMAND_BUTTON}, {8, CTRL_COMMAND_BUTTON}, {15, CTRL_TEXT_MSG},
        {26, CTRL_RING}, {36, CTRL_TEXT_MSG}, {37, CTRL_TEXT_MSG}, {43, CTRL_DECORATION}};
    for (const auto &c : mainCtrls) {
        ASSERT_NE(Ctrl(*main, c.id), nullptr) << c.id;
        EXPECT_EQ(Ctrl(*main, c.id)->Int("ctrlStyle", 0), c.style) << c.id;
    }
    EXPECT_EQ(main->root.Int("closeCtrl", 0), 7);
    EXPECT_EQ(*main->root.Find("palette.Window"), "F0F0F0");
    for (int id = 2; id <= 26; ++id) EXPECT_NE(Ctrl(*downloads, id), nullptr) << id;
}

// Texts come through in Windows-1252 with their quotes, line breaks and
// trailing blanks.
TEST(Uir, TextsKeepEveryCharacter) {
    const UirFile file = Load("FVLicEnr.uir");
    const UirPanel *main = nullptr;
    const UirPanel *downloads = nullptr;
    ASSERT_EQ(uicore::UirFindPanel(file, 4, &main), 0);
    ASSERT_EQ(uicore::UirFindPanel(file, 6, &downloads), 0);
    EXPECT_EQ(TextOf(*main, 7), "__QUITTER");
    EXPECT_EQ(TextOf(*main, 37), " Sélectionner le PRODUIT VELTRANE : "_cp1252);
    EXPECT_EQ(TextOf(*downloads, 2), "__RETOUR");
    EXPECT_EQ(TextOf(*downloads, 12), "Codec \" Lecteur Windows Media \" pour Vidéos EMP"_cp1252);
    EXPECT_EQ(TextOf(*downloads, 15), "(Dossier Technique, Manuels Logiciels, TP,\nDessins, Modèles, etc.)"_cp1252);
    EXPECT_EQ(TextOf(*downloads, 18), "V0.0 ");
    EXPECT_EQ(TextOf(*downloads, 26), "Texte");
    int geometry[4] = {};
    ASSERT_TRUE(Ctrl(*downloads, 16)->Numbers("iconSize", geometry, 2));
    EXPECT_EQ(geometry[0], 24);
}

// FenGen.uir is read by name from the program's folder, whatever the
// current folder; the pictures its panels name come along.
TEST(Uir, FenGenLiesBesideTheProgram) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    ASSERT_TRUE(SetCurrentDirectoryW(temp));
    const UirFile file = Load("FenGen.uir");
    const UirPanel *error = nullptr;
    const UirPanel *wait = nullptr;
    ASSERT_EQ(uicore::UirFindPanel(file, 3, &error), 0);
    ASSERT_EQ(uicore::UirFindPanel(file, 4, &wait), 0);
    EXPECT_EQ(TextOf(*error, 2), "__OK");
    bool detailsLabel = false;
    for (const UirRecord &c : error->ctrls)
        if (c.Int("labelOf", 0) == 5 && c.Text("text") == "Détails :"_cp1252) detailsLabel = true;
    EXPECT_TRUE(detailsLabel);

    const UirRecord *picture = Ctrl(*wait, 2);
    ASSERT_NE(picture, nullptr);
    const auto image = file.images.find(picture->Text("pixmap"));
    ASSERT_NE(image, file.images.end());
    // Decoded at build time: 64 x 64 premultiplied pixels, none of whose
    // colours exceeds its alpha.
    ASSERT_EQ(image->second->width, 64);
    ASSERT_EQ(image->second->bgra.size(), 64u * 64u * 4u);
    bool premultiplied = true, opaqueSomewhere = false;
    for (size_t i = 0; i < image->second->bgra.size(); i += 4) {
        const auto *px = reinterpret_cast<const unsigned char *>(image->second->bgra.data() + i);
        premultiplied = premultiplied && px[0] <= px[3] && px[1] <= px[3] && px[2] <= px[3];
        opaqueSomewhere = opaqueSomewhere || px[3] == 255;
    }
    EXPECT_TRUE(premultiplied);
    EXPECT_TRUE(opaqueSomewhere);
}

TEST(Uir, FailuresAreCodes) {
    std::string bytes;
    EXPECT_EQ(uicore::UirReadFile("NoSuchFile.uir", &bytes), UIE_FILE_NOT_FOUND);
    EXPECT_EQ(uicore::UirReadFile("", &bytes), UIE_FILE_NOT_FOUND);
    EXPECT_EQ(uicore::UirReadFile(nullptr, &bytes), UIE_BAD_POINTER);

    const UirFile tests = Load("UiTestBin.uir");
    const UirPanel *panel = nullptr;
    EXPECT_EQ(uicore::UirFindPanel(tests, 9, &panel), UIE_FILE_NOT_FOUND);   // a cut Designer file
    EXPECT_EQ(uicore::UirFindPanel(tests, 42, &panel), UIE_PANEL_NOT_FOUND);
    EXPECT_EQ(uicore::UirFindPanel(tests, 1, &panel), 0);

    ASSERT_EQ(uicore::UirReadFile("FenGen.uir", &bytes), 0);
    UirFile file;
    EXPECT_EQ(uicore::UirParse(bytes.substr(0, bytes.size() / 2), &file), UIE_FILE_NOT_FOUND);
    EXPECT_EQ(uicore::UirParse("<ui version=\"4.0\"/>", &file), UIE_FILE_NOT_FOUND);
}

}  // namespace

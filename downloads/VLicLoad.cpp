// VLicLoad.cpp: the downloads panel of one product.
//
// What it does: LoadGerer loads panel FVLIC_LOAD at the main panel's place,
// LoadInit composes it for the product (ring, version texts, visible
// buttons, utility buttons, one web address per download button), then the
// panel's loop runs the hover help (LoadSurvol) before every event poll and
// hands the address of a pressed button to the desktop's default viewer
// (the copy in the school's mirror when one is set, which the title then
// names), saying so when it cannot be opened; a right click on a download
// button offers to copy its address, or all of the product's. The keyboard
// works the panel too: the help follows the focus as it follows the mouse,
// and Escape is RETOUR. Nothing is downloaded here: the browser does that.
//
// Exports: everything declared in downloads/VLicLoad.h except the versions
// (downloads/VLicVers.cpp, the built-in table made at build time) and the
// school's mirror (downloads/VLicMiroir.cpp).
//
// Data model: fixed-size Windows-1252 texts that live for the whole run (see
// the state block below). Every write into them is bounded: a long catalogue
// name or version text is cut, never written past its array. A product
// number outside 0 to 999 never indexes anything: names come through
// VLicProdNom, which gives "" for it, and versions through LoadVersionsProduit.
#include "downloads/VLicLoad.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>

#include "app/VLic.h"
#include "toolbox/toolbox.h"
#include "ui/FVLicEnr.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

// ------------------------------------------------------------------ state
// sAdresses: one web address per download button, in the order of
//   kBoutons; "" or a complete address (LOAD_BASE + path). Written only by
//   the composition, never cleared between openings: a slot of a button
//   that stays hidden may keep an address of an earlier product, which is
//   harmless since only visible buttons can be pressed. BP_4 (9) has a slot
//   that nothing writes.
// sVersionEmp, sVersionIhm: the product's current EMP and interface
//   versions ("2.1"), as LoadVersions gave them and then with dots turned to
//   dashes by LoadAdresses when available; "" when the product has none.
// sDossier: the folder name derived from the catalogue name, at most 31
//   characters; "" for a product without a name.
// sInfo: the hover help text being formatted; its contents matter only
//   during one pass of LoadSurvol.
// sVersionsHook: test seam replacing the versions in force; null in the program.
// sClavierPanel, sClavierFocus: the panel of the last hover pass and the
//   control that had the keyboard focus then (-1 before the first pass);
//   sClavier: the help follows the focus, which moved after the mouse did,
//   until the pointer leaves (sClavierX, sClavierY), where it was then.
static char sAdresses[LOAD_NB_ADRESSES][LOAD_ADRESSE_LEN];
static char sVersionEmp[LOAD_VERSION_LEN];
static char sVersionIhm[LOAD_VERSION_LEN];
static char sDossier[LOAD_DOSSIER_LEN];
static char sInfo[LOAD_INFO_LEN];
static LoadVersionsHookPtr sVersionsHook;
static int sClavierPanel = -1, sClavierFocus = -1;
static bool sClavier = false;
static int sClavierX, sClavierY;

// The download buttons, in the order of their slots.
static const int kBoutons[LOAD_NB_ADRESSES] = {
    FVLIC_LOAD_PDF_IHM, FVLIC_LOAD_PDF_DT, FVLIC_LOAD_PDF_EMP, FVLIC_LOAD_BP_4,
    FVLIC_LOAD_BP_2,    FVLIC_LOAD_BP_3,   FVLIC_LOAD_BP_1,    FVLIC_LOAD_BP_PROF,
    FVLIC_LOAD_BP_IHM,  FVLIC_LOAD_BP_EMP,
};

// The folder name of product 270 (the 3D-printing kit), which the two last
// utilities are named after; tests hold it against the bundled catalogue.
#define LOAD_DOSSIER_270 "Imprimante-3D-Modula"

// The utilities table: drivers and tools of other makers, paths below the
// download base.
struct Utilitaire {
    const char *label;
    const char *path;
};
static const Utilitaire kUtilitaires[LOAD_NB_UTILITAIRES] = {
    {"Codec ''Lecteur Windows Media'' pour Vidéos EMP"_cp1252, "Pilote/K-Lite_Codec_Pack_Basic.zip"},
    {"Pilote USB carte de commande MAXON EPOS"_cp1252, "Pilote/EPOS2_USB_Driver.zip"},
    {"Pilote FTDI USB pour liaison sériel"_cp1252, "Pilote/FTDI_ft232rUSB_Driver.zip"},
    {"Pilote Adaptateur RS232/USB ''Moxa UPort-1110''"_cp1252, "Pilote/Moxa/Moxa-UPort-1100-1130.zip"},
    {"Pilote Adaptateur RS485/USB ''Moxa UPort-1130''"_cp1252, "Pilote/Moxa/Moxa-UPort-1100-1130.zip"},
    {"''MGate Manager'' pour passerelle Ethernet ''Moxa MGate''"_cp1252, "Pilote/Moxa/MGate_Manager.zip"},
    {"Logiciel d'Impression 3D ''Repetier Host''"_cp1252, LOAD_DOSSIER_270 "_RepetierHost.zip"},
    {"Pilotes USB pour cartes " LOAD_DOSSIER_270
     " :\n''Arduino'', ''Teensy'' et ''Smoothie (eMotionTech)''"_cp1252,
     LOAD_DOSSIER_270 "_Pilotes_USB.zip"},
};

// --------------------------------------------------------------- helpers

// Slot index of a download button, -1 for any other control.
static int IndexAdresse(int control) {
    for (int i = 0; i < LOAD_NB_ADRESSES; ++i)
        if (kBoutons[i] == control) return i;
    return -1;
}

// The slot of a download button; the assert names a programming error, the
// fall-back keeps a release build harmless.
static char *Slot(int control) {
    const int i = IndexAdresse(control);
    assert(i >= 0 && "only the ten download buttons have an address slot");
    static char sPoubelle[LOAD_ADRESSE_LEN];
    return i >= 0 ? sAdresses[i] : sPoubelle;
}

// True for a byte that a browser would drop from an address (the C0
// controls and DEL, and the five bytes Windows-1252 leaves undefined, which
// are C1 controls once converted) or read as its syntax (blank, "%", "?",
// "#", and "\\", which browsers read as "/" in an https address, so that a
// name holding one would name a file in another folder): such a byte is
// percent-encoded (LoadEncoder).
static bool AEncoder(unsigned char c) {
    return c <= ' ' || c == 0x7F || c == '%' || c == '?' || c == '#' || c == '\\' || c == 0x81 || c == 0x8D ||
           c == 0x8F || c == 0x90 || c == 0x9D;
}

size_t LoadEncoder(const char *text, char *out, size_t room, bool *entier) {
    static const char kHex[] = "0123456789ABCDEF";
    assert(text != nullptr && out != nullptr && room > 0 && "a text and room for it");
    size_t o = 0;
    bool tout = true;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p; ++p) {
        char code[7] = {static_cast<char>(*p)};
        size_t n = 1;
        if (AEncoder(*p)) {
            n = 0;
            if (*p >= 0x80) {   // a C1 control is U+0080 to U+009F: C2 then the byte
                code[n++] = '%';
                code[n++] = 'C';
                code[n++] = '2';
            }
            code[n++] = '%';
            code[n++] = kHex[*p >> 4];
            code[n++] = kHex[*p & 0x0F];
        }
        if (o + n > room - 1) {
            tout = false;
            break;
        }
        for (size_t k = 0; k < n; ++k) out[o++] = code[k];
    }
    out[o] = 0;
    if (entier) *entier = tout;
    return o;
}

// Writes LOAD_BASE followed by up to four parts into slot, each part
// encoded by LoadEncoder. Only text from a catalogue name can hold bytes
// to encode: the fixed paths and the version texts hold none. A too long
// address is cut before the first character that does not fit whole, at
// most LOAD_ADRESSE_LEN - 1 bytes (it then names no archive, but
// overwrites nothing and stays well-formed).
static void Ecrire(char *slot, const char *a, const char *b = "", const char *c = "",
                   const char *d = "") {
    size_t o = static_cast<size_t>(std::snprintf(slot, LOAD_ADRESSE_LEN, "%s", LOAD_BASE));
    for (const char *part : {a, b, c, d}) {
        assert(part != nullptr && "an address part is a text, possibly empty");
        bool entier = true;
        o += LoadEncoder(part ? part : "", slot + o, LOAD_ADRESSE_LEN - o, &entier);
        if (!entier) return;
    }
}

// Copies product's catalogue name into out (LOAD_DOSSIER_LEN bytes): "" for
// a product outside 0 to 999 or without a name.
static void Nom(int product, char *out) {
    const char *n = VLicProdNom(product);
    std::snprintf(out, LOAD_DOSSIER_LEN, "%s", n ? n : "");
}

// A version counts as available when it has more than two characters.
static bool Disponible(const char *version) {
    return strnlen(version, LOAD_VERSION_LEN) > 2;
}

// The codec pack goes with the EMP of these products.
static bool AvecCodec(int product) {
    return product >= 190 || product == 20 || product == 40 || product == 170;
}

// Shows a fixed utility button: visible, labelled, with its own address.
static void BoutonFixe(int panel, int control, const char *label, const char *a,
                       const char *b = "", const char *c = "") {
    SetCtrlAttributeAnsi(panel, control, ATTR_VISIBLE, 1);
    SetCtrlAttributeAnsi(panel, control, ATTR_LABEL_TEXT, label);
    Ecrire(Slot(control), a, b, c);
}

// --------------------------------------------------------- module's texts

// Constant names of the downloads panel's controls, by id (2 to 26). The
// layer gives no access to a control's name, so the table is kept here;
// a test holds it against the panel resource.
static const char *const kNoms[] = {
    "", "", "BP_QUIT", "PROD", "DECORATION_2", "PDF_IHM", "PDF_DT", "PDF_EMP", "BP_PEMP",
    "BP_4", "BP_2", "BP_3", "BP_1", "BP_PROF", "BP_IHM", "TXT_PROF", "BP_EMP", "TXT_IHM",
    "V_IHM", "V_EMP", "LAB_3", "LAB_4", "LAB_5", "TXT_EMP", "LAB_1", "LAB_2", "INFO",
};

const char *LoadNomControle(int control) {
    const int n = static_cast<int>(sizeof kNoms / sizeof kNoms[0]);
    return control >= 0 && control < n ? kNoms[control] : "";
}

const char *LoadAdresse(int control) {
    const int i = IndexAdresse(control);
    return i >= 0 ? sAdresses[i] : nullptr;
}
const char *LoadVersionEmp(void) { return sVersionEmp; }
const char *LoadVersionIhm(void) { return sVersionIhm; }
const char *LoadDossier(void) { return sDossier; }
const char *LoadUtilitaireLabel(int entry) {
    return entry >= 0 && entry < LOAD_NB_UTILITAIRES ? kUtilitaires[entry].label : nullptr;
}

void LoadSetVersionsHook(LoadVersionsHookPtr hook) { sVersionsHook = hook; }

// ---------------------------------------------------------- composition

void LoadVersions(int product) {
    sVersionEmp[0] = 0;
    sVersionIhm[0] = 0;
    if (sVersionsHook) {
        sVersionsHook(product, sVersionEmp, sVersionIhm, LOAD_VERSION_LEN);
        sVersionEmp[LOAD_VERSION_LEN - 1] = 0;
        sVersionIhm[LOAD_VERSION_LEN - 1] = 0;
        return;
    }
    const char *emp, *ihm;
    LoadVersionsProduit(product, &emp, &ihm);
    std::snprintf(sVersionEmp, LOAD_VERSION_LEN, "%s", emp);
    std::snprintf(sVersionIhm, LOAD_VERSION_LEN, "%s", ihm);
}

void LoadNomDossier(int product) {
    Nom(product, sDossier);
    for (int i = 0; sDossier[i]; ++i) {
        const unsigned char c = static_cast<unsigned char>(sDossier[i]);
        if (c == ' ') {
            sDossier[i] = '-';
        } else if (c == 0xE9 || c == 0xE8 || c == 0xEA) {   // é è ê; â and the rest stay
            sDossier[i] = 'e';
        } else if (c == '(') {
            // Cut before the character ahead of the bracket (the blank,
            // already a "-"), or at the bracket when it comes first.
            sDossier[i > 0 ? i - 1 : 0] = 0;
            break;
        }
    }
}

void LoadPointTiret(char *text) {
    if (!text) return;
    for (char *p = text; *p; ++p)
        if (*p == '.') *p = '-';
}

void LoadAdresses(int product) {
    if (Disponible(sVersionEmp)) {
        LoadPointTiret(sVersionEmp);
        Ecrire(Slot(FVLIC_LOAD_BP_EMP), sDossier, "_EMP_V", sVersionEmp, ".zip");
        Ecrire(Slot(FVLIC_LOAD_PDF_EMP), sDossier, "_MEMP", ".zip");
    } else {
        Slot(FVLIC_LOAD_BP_EMP)[0] = 0;
        Slot(FVLIC_LOAD_PDF_EMP)[0] = 0;
    }
    if (Disponible(sVersionIhm)) {
        LoadPointTiret(sVersionIhm);
        const char *installer = (product == 70 || product == 130) ? "Installer_Supervision_"
                                                                  : "Installer_Interface_";
        char nom[LOAD_ADRESSE_LEN];
        std::snprintf(nom, sizeof nom, "%s%s", installer, sDossier);
        Ecrire(Slot(FVLIC_LOAD_BP_IHM), nom, "_V", sVersionIhm, ".zip");
        Ecrire(Slot(FVLIC_LOAD_PDF_IHM), sDossier, "_MIHM", ".zip");
    } else {
        Slot(FVLIC_LOAD_BP_IHM)[0] = 0;
        Slot(FVLIC_LOAD_PDF_IHM)[0] = 0;
    }
    Ecrire(Slot(FVLIC_LOAD_BP_PROF), sDossier, "_Professeur", ".zip");
    Ecrire(Slot(FVLIC_LOAD_PDF_DT), sDossier, "_DT", ".zip");
}

void LoadVisibleEmp(int panel, int shown) {
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_BP_EMP, ATTR_VISIBLE, shown);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_V_EMP, ATTR_VISIBLE, shown);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_PDF_EMP, ATTR_VISIBLE, shown);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_TXT_EMP, ATTR_VISIBLE, shown);
}

void LoadVisibleIhm(int panel, int shown) {
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_BP_IHM, ATTR_VISIBLE, shown);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_V_IHM, ATTR_VISIBLE, shown);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_PDF_IHM, ATTR_VISIBLE, shown);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_TXT_IHM, ATTR_VISIBLE, shown);
}

void LoadUtilitaire(int panel, int entry, int control, char *slot) {
    if (entry < 0 || entry >= LOAD_NB_UTILITAIRES || !slot) return;
    SetCtrlAttributeAnsi(panel, control, ATTR_VISIBLE, 1);
    SetCtrlAttributeAnsi(panel, control, ATTR_LABEL_TEXT, kUtilitaires[entry].label);
    Ecrire(slot, kUtilitaires[entry].path);
}

// Places entry on one of the three utility buttons, with that button's slot.
static void Utilitaire(int panel, int entry, int control) {
    LoadUtilitaire(panel, entry, control, Slot(control));
}

// The word in brackets of a catalogue name ("Bras (Robot)" gives "Robot"),
// into out (LOAD_DOSSIER_LEN bytes); "" when the name has no bracket.
static void MotEntreParentheses(const char *nom, char *out) {
    out[0] = 0;
    const char *debut = std::strchr(nom, '(');
    if (!debut) return;
    ++debut;
    const char *fin = std::strchr(debut, ')');
    const size_t n = fin ? static_cast<size_t>(fin - debut) : std::strlen(debut);
    std::snprintf(out, LOAD_DOSSIER_LEN, "%.*s", static_cast<int>(n), debut);
}

// Rules of particular products once the standard addresses are written.
static void AjustementsProduit(int panel, int product) {
    switch (product) {
    case 20:
    case 21:
        if (sVersionIhm[0] == '2') {
            Ecrire(Slot(FVLIC_LOAD_PDF_IHM), sDossier, "-V2", "_MIHM", ".zip");
            Ecrire(Slot(FVLIC_LOAD_PDF_DT), sDossier, "-V2", "_DT", ".zip");
        } else if (sVersionIhm[0] == '3') {
            Ecrire(Slot(FVLIC_LOAD_PDF_IHM), sDossier, "-E", "_MIHM", ".zip");
            Ecrire(Slot(FVLIC_LOAD_PDF_DT), sDossier, "-E", "_DT", ".zip");
            Ecrire(Slot(FVLIC_LOAD_BP_PROF), sDossier, "-E", "_Professeur", ".zip");
        }
        break;
    case 22:
    case 150:
    case 231:
    case 280:
        SetCtrlAttributeAnsi(panel, FVLIC_LOAD_PDF_DT, ATTR_VISIBLE, 0);
        break;
    case 23:
        Ecrire(Slot(FVLIC_LOAD_PDF_DT), sDossier, "_MEMP", ".zip");
        break;
    case 60: {
        char nom[LOAD_DOSSIER_LEN], mot[LOAD_DOSSIER_LEN];
        Nom(60, nom);
        MotEntreParentheses(nom, mot);
        Ecrire(Slot(FVLIC_LOAD_BP_PROF), mot, "_Professeur", ".zip");
        Ecrire(Slot(FVLIC_LOAD_PDF_DT), mot, "_DT", ".zip");
        break;
    }
    case 70:
    case 130:
        SetCtrlAttributeAnsi(panel, FVLIC_LOAD_BP_IHM, ATTR_LABEL_TEXT, "Supervision ");
        Ecrire(Slot(FVLIC_LOAD_PDF_IHM), sDossier, "_MSPV", ".zip");
        break;
    case 100: {
        // The dashes of the version are wanted here even when the EMP is
        // not available (the standard addresses then left the text alone).
        char version[LOAD_VERSION_LEN];
        std::snprintf(version, sizeof version, "%s", sVersionEmp);
        LoadPointTiret(version);
        char dossierFc[LOAD_ADRESSE_LEN];
        std::snprintf(dossierFc, sizeof dossierFc, "%s-FC", sDossier);
        Ecrire(Slot(FVLIC_LOAD_BP_EMP), dossierFc, "_EMP_V", version, ".zip");
        Ecrire(Slot(FVLIC_LOAD_PDF_DT), dossierFc, "_DT", ".zip");
        break;
    }
    case 180: {
        char nom[LOAD_DOSSIER_LEN], texte[128];
        Nom(180, nom);
        LoadVisibleIhm(panel, 1);
        SetCtrlValAnsi(panel, FVLIC_LOAD_V_IHM, "HL7");
        std::snprintf(texte, sizeof texte, "(Acquisition Tops Chronos avec Boitier %s)", nom);
        SetCtrlValAnsi(panel, FVLIC_LOAD_TXT_IHM, texte);
        Ecrire(Slot(FVLIC_LOAD_BP_IHM), "Installer_Interface_HL7", ".zip");
        Ecrire(Slot(FVLIC_LOAD_PDF_IHM), sDossier, "_MIHM", ".zip");
        break;
    }
    case 191:
        SetCtrlAttributeAnsi(panel, FVLIC_LOAD_BP_PROF, ATTR_VISIBLE, 0);
        SetCtrlAttributeAnsi(panel, FVLIC_LOAD_TXT_PROF, ATTR_VISIBLE, 0);
        break;
    case 232: {
        char nom[LOAD_DOSSIER_LEN];
        Nom(230, nom);   // as stored, not in folder form
        Ecrire(Slot(FVLIC_LOAD_BP_PROF), nom, "_Professeur", ".zip");
        break;
    }
    case 233:
        SetCtrlAttributeAnsi(panel, FVLIC_LOAD_PDF_EMP, ATTR_VISIBLE, 0);
        break;
    default:
        break;
    }
}

// The utility buttons of each product.
static void Utilitaires(int panel, int product) {
    static const char *const kENodLabel = "''eNodView'' pour conditionneur ''eNod3'' (Pesée)"_cp1252;
    static const char *const kENodPath = "Pilote/eNodview_fr_Setup.zip";
    switch (product) {
    case 20:
    case 21:
        if (sVersionIhm[0] == '3') Utilitaire(panel, 1, FVLIC_LOAD_BP_2);
        break;
    case 30:
    case 60:
    case 90:
    case 200:
    case 300:
        Utilitaire(panel, 4, FVLIC_LOAD_BP_2);
        break;
    case 32:
        Utilitaire(panel, 5, FVLIC_LOAD_BP_2);
        BoutonFixe(panel, FVLIC_LOAD_BP_3,
                   "''MGate Conf.'' pour passerelle Ethernet ''Moxa NPort-6110''",
                   "Pilote/Moxa/Modbus_Gateway_Configurator.zip");
        break;
    case 70:
        BoutonFixe(panel, FVLIC_LOAD_BP_2, kENodLabel, kENodPath);
        Utilitaire(panel, 5, FVLIC_LOAD_BP_3);
        break;
    case 80: {
        char nom80[LOAD_DOSSIER_LEN], nom70[LOAD_DOSSIER_LEN], label[128];
        Nom(80, nom80);
        Nom(70, nom70);
        std::snprintf(label, sizeof label, "Supervision (Ethernet) %s et Doseur %s", nom80, nom70);
        BoutonFixe(panel, FVLIC_LOAD_BP_2, label, "Installer_Supervision_", nom80, "_V1-0.zip");
        break;
    }
    case 110:
        Utilitaire(panel, 3, FVLIC_LOAD_BP_2);
        break;
    case 130:
        BoutonFixe(panel, FVLIC_LOAD_BP_2, kENodLabel, kENodPath);
        Utilitaire(panel, 4, FVLIC_LOAD_BP_3);
        break;
    case 180:
        BoutonFixe(panel, FVLIC_LOAD_BP_1, "Interface PC ''MiniDisplay HL975 Manager'' TAG-Heuer",
                   "Installer_MiniDisplay_Manager_HL975_ZUM.zip");
        BoutonFixe(panel, FVLIC_LOAD_BP_2, "Interface PC ''Start Clock HL940 Manager'' TAG-Heuer",
                   "Installer_MiniDisplay_Manager_HL975_ZUM.zip");
        Utilitaire(panel, 3, FVLIC_LOAD_BP_3);
        break;
    case 190:
    case 290:
    case 310:
        Utilitaire(panel, 1, FVLIC_LOAD_BP_2);
        break;
    case 250:
    case 260:
        Utilitaire(panel, 1, FVLIC_LOAD_BP_2);
        Utilitaire(panel, 2, FVLIC_LOAD_BP_3);
        break;
    case 270:
        Utilitaire(panel, 6, FVLIC_LOAD_BP_2);
        Utilitaire(panel, 7, FVLIC_LOAD_BP_3);
        break;
    default:
        break;
    }
}

void LoadInit(int panel, int product) {
    // Product 101 is a variant sold under product 100's items.
    if (product == 101) product = 100;

    // The ring lists every product, newest number first, under "------".
    VLicProdList(panel, FVLIC_LOAD_PROD, 1, 0, 1);
    InsertListItemAnsi(panel, FVLIC_LOAD_PROD, 0, "------", 0);
    // A number that no item carries (no catalogued product) shows "------"
    // rather than whichever product the filling left selected.
    int index = -1;
    const bool liste = GetIndexFromValueAnsi(panel, FVLIC_LOAD_PROD, &index, product) >= 0;
    SetCtrlValAnsi(panel, FVLIC_LOAD_PROD, liste ? product : 0);

    LoadVersions(product);
    const bool emp = Disponible(sVersionEmp);
    const bool ihm = Disponible(sVersionIhm);

    LoadNomDossier(product);
    if (product == 20 || product == 21) {
        LoadNomDossier(20);
    } else if (product == 170) {
        const size_t n = std::strlen(sDossier);
        std::snprintf(sDossier + n, sizeof sDossier - n, "-V2");
        if (GetIndexFromValueAnsi(panel, FVLIC_LOAD_PROD, &index, 170) >= 0 && index >= 0)
            ReplaceListItemAnsi(panel, FVLIC_LOAD_PROD, index, sDossier, 170);
    }

    LoadAdresses(product);

    char texte[LOAD_VERSION_LEN + 8];
    LoadVisibleEmp(panel, emp);
    std::snprintf(texte, sizeof texte, "V%s ", sVersionEmp);
    SetCtrlValAnsi(panel, FVLIC_LOAD_V_EMP, texte);
    LoadVisibleIhm(panel, ihm);
    std::snprintf(texte, sizeof texte, "V%s ", sVersionIhm);
    SetCtrlValAnsi(panel, FVLIC_LOAD_V_IHM, texte);

    AjustementsProduit(panel, product);

    if (emp && AvecCodec(product)) Utilitaire(panel, 0, FVLIC_LOAD_BP_1);

    Utilitaires(panel, product);
}

// ------------------------------------------------------------- hover help

// Watched controls, in the order they are tried.
static const int kSurveilles[] = {
    FVLIC_LOAD_BP_EMP, FVLIC_LOAD_BP_PEMP, FVLIC_LOAD_PDF_EMP, FVLIC_LOAD_BP_IHM,
    FVLIC_LOAD_PDF_IHM, FVLIC_LOAD_BP_PROF, FVLIC_LOAD_PDF_DT, FVLIC_LOAD_BP_1,
    FVLIC_LOAD_BP_2, FVLIC_LOAD_BP_3, FVLIC_LOAD_BP_4,
};

// Help texts; %s is the product's catalogue name.
static const char *const kAideEmpCodec =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier\n''%s EMP'' "
    "(Environnement Multimédia Pédagogique).\nPour lancer cet Environnement, exécuter "
    "l'application\n''%s_EMP.exe'' du dossier\nou créer un raccourci sur votre bureau "
    "Windows.\n\nL'EMP (Environnement Multimédia Pédagogique) utilise le ''Lecteur Windows "
    "Media'', si vous ne visualisez pas les animations et vidéos, installer les ''Codecs'' "
    "nécessaires ci-dessous."_cp1252;
static const char *const kAideEmp =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier\n''%s EMP'' "
    "(Environnement Multimédia Pédagogique).\nPour lancer cet Environnement, exécuter "
    "l'application\n''%s_EMP.exe'' du dossier\nou créer un raccourci sur votre bureau "
    "Windows."_cp1252;
static const char *const kAidePdfEmp =
    "\nTélécharger, dézipper et consulter le Manuel d'utilisation de\nl'Environnement "
    "Multimédia Pédagogique ''%s''"_cp1252;
static const char *const kAideIhm =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier.\n\nPour installer "
    "l'Interface PC de Pilotage, Paramétrage et Acquisition\ndu système ''%s'',\nexécuter "
    "le ''setup.exe'' du dossier ''Volume''."_cp1252;
static const char *const kAidePdfIhm =
    "\nTélécharger, dézipper et consulter\nle Manuel d'utilisation de l'Interface PC "
    "''%s''"_cp1252;
static const char *const kAideProf =
    "\nTélécharger, dézipper et copier sur votre ordinateur le dossier.\n\nLe dossier "
    "Professeur contient les Activités Pédagogiques,\ntous les documents et ressources "
    "utiles à l'exploitation\ndu système ''%s''."_cp1252;
static const char *const kAideDt =
    "\nTélécharger, dézipper et consulter\nle Dossier Technique ''%s''"_cp1252;

// Shows one help text in the INFO box: top, visible lines, shown, text.
static void Aide(int panel, int top, int lignes, const char *format, const char *nom) {
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_INFO, ATTR_TOP, top);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_INFO, ATTR_VISIBLE_LINES, lignes);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_INFO, ATTR_VISIBLE, 1);
    std::snprintf(sInfo, sizeof sInfo, format, nom, nom);
    ResetTextBoxAnsi(panel, FVLIC_LOAD_INFO, sInfo);
}

// True when control is shown and not dimmed: only such a button is
// hovered, or has its help shown for the focus.
static bool Actif(int panel, int control) {
    int visible = 0, dimmed = 0;
    GetCtrlAttributeAnsi(panel, control, ATTR_VISIBLE, &visible);
    GetCtrlAttributeAnsi(panel, control, ATTR_DIMMED, &dimmed);
    return visible && !dimmed;
}

// The watched control under the pointer, first in list order; 0 none.
static int Survole(int panel) {
    for (int control : kSurveilles) {
        int width = 0, height = 0;
        if (!Actif(panel, control)) continue;
        GetCtrlAttributeAnsi(panel, control, ATTR_WIDTH, &width);
        GetCtrlAttributeAnsi(panel, control, ATTR_HEIGHT, &height);
        int x = -1, y = -1;
        if (GetRelativeMouseState(panel, control, &x, &y, nullptr, nullptr, nullptr) < 0) continue;
        if (x >= 0 && x <= width && y >= 0 && y <= height) return control;   // both edges count
    }
    return 0;
}

// The watched control that has the keyboard focus, when active; 0 none.
static int FocusSurveille(int panel, int focus) {
    for (int control : kSurveilles)
        if (control == focus) return Actif(panel, control) ? control : 0;
    return 0;
}

void LoadSurvol(int panel, int product) {
    if (GetActivePanel() != panel) return;

    // The help follows whichever moved last, the mouse or the focus: a
    // keyboard user reads the help of the button Tab reached.
    int sourisX = 0, sourisY = 0;
    GetRelativeMouseState(panel, 0, &sourisX, &sourisY, nullptr, nullptr, nullptr);
    const int focus = GetActiveCtrl(panel);
    if (panel != sClavierPanel) {   // a panel just opened: its first focus is nobody's move
        sClavierPanel = panel;
        sClavierFocus = focus;
        sClavier = false;
    } else if (focus != sClavierFocus) {
        sClavierFocus = focus;
        sClavier = true;
        sClavierX = sourisX;
        sClavierY = sourisY;
    }
    if (sClavier && (sourisX != sClavierX || sourisY != sClavierY)) sClavier = false;

    const int survole = sClavier ? FocusSurveille(panel, focus) : Survole(panel);
    if (!survole) {
        if (!sClavier) SetMouseCursor(VAL_DEFAULT_CURSOR);   // the pointer's own, not the focus's
        SetCtrlAttributeAnsi(panel, FVLIC_LOAD_INFO, ATTR_VISIBLE, 0);
        return;
    }
    if (!sClavier) SetMouseCursor(VAL_POINTING_FINGER_CURSOR);

    char nom[LOAD_DOSSIER_LEN];
    Nom(product, nom);   // the number as given: 101 names product 101
    switch (survole) {
    case FVLIC_LOAD_BP_EMP:
        if (AvecCodec(product)) Aide(panel, 125, 15, kAideEmpCodec, nom);
        else Aide(panel, 125, 13, kAideEmp, nom);
        break;
    case FVLIC_LOAD_PDF_EMP: Aide(panel, 145, 5, kAidePdfEmp, nom); break;
    case FVLIC_LOAD_BP_IHM: Aide(panel, 130, 11, kAideIhm, nom); break;
    case FVLIC_LOAD_PDF_IHM: Aide(panel, 85, 4, kAidePdfIhm, nom); break;
    case FVLIC_LOAD_BP_PROF: Aide(panel, 235, 7, kAideProf, nom); break;
    case FVLIC_LOAD_PDF_DT: Aide(panel, 85, 4, kAideDt, nom); break;
    default: break;   // utilities and BP_PEMP keep the help shown before
    }
}

// ----------------------------------------------------------------- loop

// The item behind download button control as the user knows it, into out
// (room bytes): a manual as "Manuel" and the name of its software's button,
// the dossier as "Dossier Technique" (their buttons show only dots), any
// other button by the name its label gives it (ATTR_ACCESSIBLE_NAME).
static void NomElement(int panel, int control, char *out, size_t room) {
    if (control == FVLIC_LOAD_PDF_EMP || control == FVLIC_LOAD_PDF_IHM) {
        char logiciel[1024] = "";
        GetCtrlAttributeAnsi(panel, control == FVLIC_LOAD_PDF_EMP ? FVLIC_LOAD_BP_EMP : FVLIC_LOAD_BP_IHM,
                             ATTR_ACCESSIBLE_NAME, logiciel);
        std::snprintf(out, room, "Manuel %s", logiciel);
        return;
    }
    if (control == FVLIC_LOAD_PDF_DT) {
        std::snprintf(out, room, "%s", "Dossier Technique");
        return;
    }
    char nom[1024] = "";
    GetCtrlAttributeAnsi(panel, control, ATTR_ACCESSIBLE_NAME, nom);
    std::snprintf(out, room, "%s", nom);
}

// Screen readers name the manual buttons by their item, not by the dots
// drawn beside them; the other buttons are named by their labels already.
static void NommerManuels(int panel) {
    for (int control : {FVLIC_LOAD_PDF_EMP, FVLIC_LOAD_PDF_IHM, FVLIC_LOAD_PDF_DT}) {
        char nom[256];
        NomElement(panel, control, nom, sizeof nom);
        SetCtrlAttributeAnsi(panel, control, ATTR_ACCESSIBLE_NAME, nom);
    }
}

// The popups' texts about the addresses.
static const char *const kTitreEchec = "VLicEnr Veltrane : téléchargement impossible"_cp1252;
static const char *const kCopier = "Copier l'adresse";
static const char *const kCopierTout = "Copier toutes les adresses";
static const char *const kCopiee = "L'adresse est dans le presse-papiers."_cp1252;
static const char *const kCopieRatee =
    "L'adresse n'a pas pu être copiée : le presse-papiers est occupé par un autre programme. "
    "Réessayez, ou sélectionnez l'adresse et copiez-la (Ctrl+C)."_cp1252;
static const char *const kToutRate =
    "Les adresses n'ont pas pu être copiées : le presse-papiers est occupé par un autre programme. "
    "Réessayez."_cp1252;

// Tells the user that the address of download button control could not be
// opened (statut: document opening's), naming the item and the product.
// From a folder mirror, the popup names the archive's path in the mirror,
// where it is most often missing, and gives the maker's address, from
// which a connected PC fetches it; else it says that no browser could be
// started and gives the address opened. Either address is whole in a field
// that can be selected, with a button that copies it. No result: the panel
// stays open and the button can be pressed again.
static void EchecOuverture(int panel, int product, int control, int statut) {
    char element[256], nom[LOAD_DOSSIER_LEN], produit[LOAD_DOSSIER_LEN + 4] = "";
    NomElement(panel, control, element, sizeof element);
    Nom(product, nom);
    if (nom[0]) std::snprintf(produit, sizeof produit, " (%s)", nom);
    const char *fabricant = LoadAdresse(control);
    char chemin[LOAD_ADRESSE_MIROIR_LEN];
    static char message[2048];
    if (LoadMiroirFichier(fabricant, chemin, sizeof chemin)) {
        // Six lines of the popup's box: the path on a line of its own.
        std::snprintf(message, sizeof message,
                      statut == UIEFileNotFound
                          ? "L'archive « %s »%s n'est pas dans le miroir de l'école :\n%s\nCopiez-la à cet "
                            "endroit depuis un PC relié à internet, à cette adresse du site Veltrane :"_cp1252
                          : "L'archive « %s »%s, dans le miroir de l'école :\n%s\nn'a pu être ouverte par "
                            "aucun programme de ce PC. Son adresse sur le site Veltrane :"_cp1252,
                      element, produit, chemin);
        MessagePopupCopyAnsi(kTitreEchec, message, fabricant, kCopier, kCopiee, kCopieRatee);
        return;
    }
    char adresse[LOAD_ADRESSE_MIROIR_LEN];
    LoadMiroirAdresse(fabricant, adresse, sizeof adresse);
    std::snprintf(message, sizeof message,
                  "Le téléchargement de « %s »%s ne peut pas démarrer : aucun navigateur web "
                  "n'a pu être lancé.\n\nPour le télécharger, copiez cette adresse dans un "
                  "navigateur web, sur ce PC ou sur un autre :"_cp1252,
                  element, produit);
    MessagePopupCopyAnsi(kTitreEchec, message, adresse, kCopier, kCopiee, kCopieRatee);
}

// Every address that the panel's shown download buttons open (the
// mirror's when one is set), each once, one a line in the panel's reading
// order (top to bottom, then left to right), into out (room bytes; cut at
// a line that does not fit whole).
static void ToutesLesAdresses(int panel, char *out, size_t room) {
    struct Bouton {
        int top, left, control;
    };
    Bouton boutons[LOAD_NB_ADRESSES];
    int n = 0;
    for (int control : kBoutons) {
        int visible = 0;
        GetCtrlAttributeAnsi(panel, control, ATTR_VISIBLE, &visible);
        if (!visible || !LoadAdresse(control)[0]) continue;
        Bouton &b = boutons[n++];
        b.control = control;
        GetCtrlAttributeAnsi(panel, control, ATTR_TOP, &b.top);
        GetCtrlAttributeAnsi(panel, control, ATTR_LEFT, &b.left);
    }
    for (int i = 1; i < n; ++i)   // ten at most: an insertion
        for (int j = i; j > 0 && (boutons[j].top < boutons[j - 1].top ||
                                  (boutons[j].top == boutons[j - 1].top && boutons[j].left < boutons[j - 1].left));
             --j)
            std::swap(boutons[j], boutons[j - 1]);
    size_t o = 0;
    out[0] = 0;
    for (int i = 0; i < n; ++i) {
        const char *fabricant = LoadAdresse(boutons[i].control);
        bool deja = false;   // two buttons of one archive (product 180's tools)
        for (int j = 0; j < i && !deja; ++j) deja = std::strcmp(LoadAdresse(boutons[j].control), fabricant) == 0;
        if (deja) continue;
        char adresse[LOAD_ADRESSE_MIROIR_LEN];
        LoadMiroirAdresse(fabricant, adresse, sizeof adresse);
        const int ecrits = std::snprintf(out + o, room - o, "%s\n", adresse);
        if (ecrits < 0 || static_cast<size_t>(ecrits) >= room - o) {
            out[o] = 0;
            return;
        }
        o += static_cast<size_t>(ecrits);
    }
}

// Callback of the download buttons: a right click (or the menu's key)
// offers "Copier l'adresse", which puts the button's address on the
// clipboard, and "Copier toutes les adresses", the whole product's (a
// school fetches the archives on one connected PC and installs them
// elsewhere), each as it opens, and says so when the clipboard refused.
// Returns 1 for a right click on a button with an address (the press is
// taken), else 0.
static int ClicDroit(int panel, int control, int event, void *, int, int) {
    if (event != EVENT_RIGHT_CLICK) return 0;
    const char *adresse = LoadAdresse(control);
    if (!adresse || !adresse[0]) return 0;
    static const char *const kMenu[] = {kCopier, kCopierTout};
    static char texte[static_cast<int>(LOAD_NB_ADRESSES) * LOAD_ADRESSE_MIROIR_LEN];
    const int choix = RunPopupMenuAnsi(kMenu, 2);
    if (choix == 1) LoadMiroirAdresse(adresse, texte, sizeof texte);
    else if (choix == 2) ToutesLesAdresses(panel, texte, sizeof texte);
    else return 1;
    if (ClipboardPutTextAnsi(texte) < 0)
        MessagePopupAnsi("VLicEnr Veltrane : copie impossible", choix == 1 ? kCopieRatee : kToutRate);
    return 1;
}

// With a mirror set, the panel's title says where its buttons fetch from;
// no control of the panel changes.
static void TitreMiroir(int panel) {
    if (LoadMiroirGenre() == LOAD_MIROIR_AUCUN) return;
    char titre[512] = "";
    GetPanelAttributeAnsi(panel, ATTR_TITLE, titre);
    const size_t n = strnlen(titre, sizeof titre - 1);
    std::snprintf(titre + n, sizeof titre - n, " — miroir de l'école : %s"_cp1252, LoadMiroir());
    SetPanelAttributeAnsi(panel, ATTR_TITLE, titre);
}

void LoadGerer(int product, int *top, int *left) {
    assert(top && left && "LoadGerer hands the panel's position back through top and left");
    if (!top || !left) return;

    const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
    if (panel <= 0) return;   // no panel: the caller shows its own again where it was
    SetPanelPos(panel, *top, *left);
    LoadInit(panel, product);
    TitreMiroir(panel);
    NommerManuels(panel);
    SetCtrlAttributeAnsi(panel, FVLIC_LOAD_INFO, ATTR_VISIBLE, 0);
    // Escape is RETOUR here (on the main panel it would quit: it does nothing there).
    SetPanelAttributeAnsi(panel, ATTR_ESCAPE_CTRL, FVLIC_LOAD_BP_QUIT);
    for (int bouton : kBoutons) InstallCtrlCallback(panel, bouton, ClicDroit, nullptr);
    DisplayPanel(panel);

    bool quitter = false;
    while (!quitter) {
        LoadSurvol(panel, product);
        int eventPanel = 0, control = 0;
        const int event = GetUserEvent(0, &eventPanel, &control);
        // A run-time that can no longer deliver events would make the loop
        // spin for ever: leave as through the return button.
        if (event < 0) break;
        if (event != EVENT_COMMIT || eventPanel != panel) continue;
        if (control == FVLIC_LOAD_BP_QUIT) {
            quitter = true;
        } else if (const char *adresse = LoadAdresse(control)) {
            // A button that seems to do nothing cannot be told from a slow
            // one: a refused opening is said, with the address to copy.
            char ouverte[LOAD_ADRESSE_MIROIR_LEN];
            LoadMiroirAdresse(adresse, ouverte, sizeof ouverte);
            const int statut = OpenDocumentInDefaultViewerAnsi(ouverte, 0);
            if (statut < 0) EchecOuverture(panel, product, control, statut);
        }
    }

    GetPanelAttributeAnsi(panel, ATTR_TOP, top);
    GetPanelAttributeAnsi(panel, ATTR_LEFT, left);
    DiscardPanel(panel);
}

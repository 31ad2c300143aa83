// VLicListe.cpp: the scriptable listing of the command line.
//
// What it does: "VLicEnr --adresses N" composes the downloads panel of
// product N exactly as the program does (LoadInit on a freshly loaded panel
// that is never displayed, on a run-time that needs no display) and prints
// what the user would see on it, with the address behind each download
// button; "VLicEnr --produits" prints the catalogue. Both read the catalogue
// and the versions file from the program's folder as start-up does.
// "VLicEnr --versions" prints the versions in force, each with its source,
// and reports on stderr the lines of the versions file that it ignored: a
// maker checks the file that way before shipping it. Output is UTF-8, one line per
// item, fields separated by TAB; inside a text, line break, TAB, CR and
// backslash are written \n \t \r \\ and any other control byte \xNN.
//
// Exports (app/VLicListe.h): EnrListing.
//
// Data model: no state; a line is built in fixed buffers on the stack.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/VLic.h"
#include "app/VLicEnr.h"
#include "app/VLicListe.h"
#include "downloads/VLicLoad.h"
#include "ui/FVLicEnr.h"
#include "ui/userint.h"

enum { TEXTE_LEN = 1024, UTF8_LEN = 3 * TEXTE_LEN + 1 };

// True for a byte that must not reach the terminal raw: the C0 controls,
// DEL, and the five bytes Windows-1252 leaves undefined (they read as C1
// controls once converted).
static bool Controle(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Writes text to stdout in UTF-8, escaped so that a line always holds
// exactly its fields: line break, TAB, CR and backslash as \n \t \r \\,
// every other control byte as \xNN (two capital hex digits); with
// noShortcut, the "__" marks of a shortcut letter are left out.
static void Imprimer(const char *text, bool noShortcut) {
    char propre[4 * TEXTE_LEN + 1];
    size_t o = 0;
    for (const char *p = text; *p && o + 4 < sizeof propre; ++p) {
        if (noShortcut && p[0] == '_' && p[1] == '_') {
            ++p;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(*p);
        const char simple = c == '\n' ? 'n' : c == '\t' ? 't' : c == '\r' ? 'r' : c == '\\' ? '\\' : 0;
        if (simple) {
            propre[o++] = '\\';
            propre[o++] = simple;
        } else if (Controle(c)) {
            o += static_cast<size_t>(std::snprintf(propre + o, sizeof propre - o, "\\x%02X", c));
        } else {
            propre[o++] = *p;
        }
    }
    propre[o] = 0;
    static char utf8[3 * sizeof propre + 1];
    UiAnsiToUtf8(propre, utf8, sizeof utf8);
    std::fputs(utf8, stdout);
}

// Reads a product number: decimal digits only, 0 to 999. Returns 1 and sets
// *product, or 0 for anything else.
static int LireProduit(const char *text, int *product) {
    if (!text || !*text || std::strlen(text) > 3) return 0;
    int n = 0;
    for (const char *p = text; *p; ++p) {
        if (*p < '0' || *p > '9') return 0;
        n = n * 10 + (*p - '0');
    }
    *product = n;
    return 1;
}

// Loads the catalogue and the school's files, as start-up does. Returns 0
// when done, else the exit code to give.
static int Charger(void) {
    const bool dossier = EnrDossierProgramme();
    EnrFichiersEcole(dossier, nullptr, nullptr);
    if (!dossier || !VLicProdCharger(VLIC_PROD_FILE)) {
        static char utf8[4 * TEXTE_LEN];
        UiAnsiToUtf8(EnrMessageCatalogueAbsent(), utf8, sizeof utf8);
        std::fprintf(stderr, "%s\n", utf8);
        return 1;
    }
    return 0;
}

// "--produits": every product the chooser can list (10 to 999, nonzero
// code), ascending, hidden ones included.
static int ListerProduits(void) {
    for (int n = 10; n < VLIC_PROD_MAX; ++n) {
        if (VLicProdG[n].code == 0) continue;
        std::printf("%d\t", n);
        Imprimer(VLicProdNom(n), false);
        std::printf("\t%d\n", VLicProdG[n].hidden ? 1 : 0);
    }
    return 0;
}

// "--adresses N": the composed downloads panel of product N.
static int ListerAdresses(int product) {
    const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
    if (panel <= 0) {
        std::fprintf(stderr, "VLicEnr : le panneau de téléchargement ne peut pas être chargé\n");
        return 3;
    }
    LoadInit(panel, product);
    for (int id = FVLIC_LOAD_PROD; id <= FVLIC_LOAD_LAB_2; ++id) {
        int visible = 0, style = 0;
        if (GetCtrlAttributeAnsi(panel, id, ATTR_VISIBLE, &visible) < 0 || !visible) continue;
        GetCtrlAttributeAnsi(panel, id, ATTR_CTRL_STYLE, &style);
        char texte[TEXTE_LEN] = "";
        bool bouton = false;
        switch (style) {
        case CTRL_RING: {
            int index = -1;
            if (GetCtrlIndex(panel, id, &index) >= 0 && index >= 0)
                GetLabelFromIndexAnsi(panel, id, index, texte);
            break;
        }
        case CTRL_COMMAND_BUTTON:
        case CTRL_PICTURE_COMMAND_BUTTON:
            GetCtrlAttributeAnsi(panel, id, ATTR_LABEL_TEXT, texte);
            bouton = true;
            break;
        case CTRL_TEXT_MSG:
            GetCtrlValAnsi(panel, id, texte);
            break;
        default:
            break;
        }
        texte[TEXTE_LEN - 1] = 0;
        std::printf("%d\t%s\t", id, LoadNomControle(id));
        Imprimer(texte, bouton);
        std::printf("\t");
        if (const char *adresse = LoadAdresse(id)) Imprimer(adresse, false);
        std::printf("\n");
    }
    DiscardPanel(panel);
    return 0;
}

// "--aide": what the program takes on its command line and the exit codes
// of the listings, in French, with the paths of the files a school may
// edit. Returns 0.
static int Aide(void) {
    char versions[MAX_PATHNAME_LEN];
    const char *ici = VLicCheminAdmin(LOAD_VERSIONS_FILE, versions, sizeof versions) == VLIC_ADMIN_PROGRAMME
                          ? " (dans le dossier du programme)"
                          : "";
    std::printf(
        "VLicEnr %s : les logiciels, manuels et pilotes des produits Veltrane.\n"
        "\n"
        "  VLicEnr                 le panneau principal : choisir le produit\n"
        "  VLicEnr N               le panneau principal du produit N seul\n"
        "  VLicEnr --produits      les produits du catalogue : numéro, nom, 1 si caché\n"
        "  VLicEnr --adresses N    le panneau de téléchargement du produit N : numéro et\n"
        "                          nom de chaque contrôle, texte, adresse de l'archive\n"
        "  VLicEnr --versions      les versions en vigueur : numéro, EMP, Interface,\n"
        "                          fichier|interne ; sur la sortie d'erreur, les lignes\n"
        "                          du fichier des versions ignorées ou plus anciennes\n"
        "                          que celles du programme\n"
        "  VLicEnr --aide, --help  cette aide\n"
        "  VLicEnr --version       la version du programme\n"
        "\n"
        "Les listes sont en UTF-8, une ligne par élément, champs séparés par des\n"
        "tabulations. Fichier des versions : %s%s\n"
        "\n"
        "Codes de sortie des listes :\n"
        "  0  fait\n"
        "  1  catalogue %s absent du dossier du programme\n"
        "  2  commande mal formée\n"
        "  3  l'interface ou le panneau de téléchargement ne peut pas être chargé\n"
        "  4  --versions : lignes du fichier des versions ignorées ou plus anciennes\n"
        "     que celles du programme\n",
        VLIC_VERSION_TEXTE, versions, ici, VLIC_PROD_FILE);
    return 0;
}

// The run-time first, for the listings that compose panels and also
// because on Windows it is what makes the output reach the console or the
// redirection (a windowed program has none of its own), the usage line
// included. The help and the version need nothing else: elsewhere they are
// printed without it, which would look for a display. Returns false when
// the run-time is needed and cannot start.
static bool Demarrer(char **argv, bool texteSeul) {
#ifdef _WIN32
    (void)texteSeul;
#else
    if (texteSeul) return true;
#endif
    return InitUIRunTimeHeadless(argv) != 0;
}

int EnrListing(int argc, char **argv) {
    if (argc < 2 || !argv || !argv[1]) return -1;
    const bool adresses = std::strcmp(argv[1], "--adresses") == 0;
    const bool produits = std::strcmp(argv[1], "--produits") == 0;
    const bool versions = std::strcmp(argv[1], "--versions") == 0;
    const bool aide = std::strcmp(argv[1], "--aide") == 0 || std::strcmp(argv[1], "--help") == 0;
    const bool version = std::strcmp(argv[1], "--version") == 0;
    if (!adresses && !produits && !versions && !aide && !version) return -1;

    if (!Demarrer(argv, aide || version)) {
        std::fprintf(stderr, "VLicEnr : l'interface ne peut pas démarrer\n");
        return 3;
    }
    if (aide || version) {
        const int code = aide ? Aide() : std::printf("VLicEnr %s\n", VLIC_VERSION_TEXTE) < 0;
        std::fflush(stdout);
        return code;
    }
    int product = 0;
    if (adresses && (argc < 3 || !LireProduit(argv[2], &product))) {
        std::fprintf(stderr, "usage: VLicEnr --adresses N   (N: product number, 0 to 999)\n"
                             "       VLicEnr --produits\n"
                             "       VLicEnr --versions\n");
        return 2;
    }
    if (versions) {
        // The versions alone need no catalogue: a maker checks the file
        // wherever the program lies.
        int anciennes = 0;
        const int fausses = EnrFichiersEcole(EnrDossierProgramme(), stderr, &anciennes);
        LoadVersionsLister(stdout);
        std::fflush(stdout);
        return fausses > 0 || anciennes > 0 ? 4 : 0;
    }
    if (const int code = Charger()) return code;
    const int code = adresses ? ListerAdresses(product) : ListerProduits();
    std::fflush(stdout);
    return code;
}

// VLicListe.cpp: the scriptable listings of the command line.
//
// What it does: "VLicEnr --adresses N[,N...]" composes the downloads panel
// of each product named exactly as the program does (LoadInit on a freshly
// loaded panel that is never displayed, on a run-time that needs no
// display) and prints what the user would see on it, with the address
// each download button opens (the school's mirror's when one is set): a
// lab's products at once. "VLicEnr --miroir [N[,N...]]" prints, for the
// products named (all without one), each archive's maker address and its
// copy in the school's mirror, and for a folder mirror whether the copy is
// there: a technician fills and checks the mirror with it. "VLicEnr
// --produits" prints the catalogue. They read the catalogue and the
// school's files as start-up does. "VLicEnr --versions" prints the
// versions in force, each with its source, and reports on stderr the lines
// of the versions file that it ignored or that are older than the
// program's: a maker checks the file that way before shipping it, a school
// after an upgrade. "VLicEnr --aide" and "--version" say what the command
// line takes and which program this is. Output is UTF-8, one line per
// item, fields separated by TAB; inside a text, line break, TAB, CR and
// backslash are written \n \t \r \\ and any other control byte \xNN.
//
// Exports (app/VLicListe.h): EnrListing.
//
// Data model: the product numbers named on the command line, in a static
// table of VLIC_PROD_MAX (EnrListing's); a line is built in fixed buffers.
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

// How a field is written: a text; a button's label, whose "__" marks of a
// shortcut letter are left out; an address or a path, whose backslashes
// (a Windows path's) stay as they are, to be used as written.
enum Forme { TEXTE, LIBELLE, ADRESSE };

// Writes text to stdout in UTF-8, escaped so that a line always holds
// exactly its fields: line break, TAB, CR and backslash (but in an
// address) as \n \t \r \\, every other control byte as \xNN (two
// capital hex digits).
static void Imprimer(const char *text, Forme forme) {
    char propre[4 * TEXTE_LEN + 1];
    size_t o = 0;
    for (const char *p = text; *p && o + 4 < sizeof propre; ++p) {
        if (forme == LIBELLE && p[0] == '_' && p[1] == '_') {
            ++p;
            continue;
        }
        const unsigned char c = static_cast<unsigned char>(*p);
        char simple = c == '\n' ? 'n' : c == '\t' ? 't' : c == '\r' ? 'r' : 0;
        if (c == '\\' && forme != ADRESSE) simple = '\\';
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

// Reads a list of product numbers, "N[,N...]", each of 1 to 3 decimal
// digits (0 to 999), into numeros (room for VLIC_PROD_MAX). Returns how
// many, or 0 when text is none or no such list.
static int LireProduits(const char *text, int *numeros) {
    if (!text) return 0;
    int nb = 0;
    for (const char *p = text;; ++p) {
        int n = 0, chiffres = 0;
        for (; *p >= '0' && *p <= '9'; ++p, ++chiffres) n = n * 10 + (*p - '0');
        if (chiffres < 1 || chiffres > 3 || nb == VLIC_PROD_MAX) return 0;
        numeros[nb++] = n;
        if (!*p) return nb;
        if (*p != ',') return 0;
    }
}

// True for a product that the chooser can list: 10 to 999, nonzero code.
static bool Catalogue(int n) { return n >= 10 && n < VLIC_PROD_MAX && VLicProdG[n].code != 0; }

// Loads the catalogue and the school's files, as start-up does, saying on
// rapportMiroir (when not null) why no mirror is set. Returns 0 when done,
// else the exit code to give.
static int Charger(std::FILE *rapportMiroir) {
    const bool dossier = EnrDossierProgramme();
    EnrFichiersEcole(dossier, nullptr, nullptr, rapportMiroir);
    if (!dossier || !VLicProdCharger(VLIC_PROD_FILE)) {
        static char utf8[4 * TEXTE_LEN];
        UiAnsiToUtf8(EnrMessageCatalogueAbsent(), utf8, sizeof utf8);
        std::fprintf(stderr, "%s\n", utf8);
        return 1;
    }
    return 0;
}

// "--produits": every product the chooser can list, ascending, hidden ones
// included.
static int ListerProduits(void) {
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        if (!Catalogue(n)) continue;
        std::printf("%d\t", n);
        Imprimer(VLicProdNom(n), TEXTE);
        std::printf("\t%d\n", VLicProdG[n].hidden ? 1 : 0);
    }
    return 0;
}

// Prints one line of a listing for the visible control id of the panel
// composed for product; *etat is the listing's own count.
typedef void (*LigneFn)(int panel, int product, int id, int *etat);

// "--adresses": id, constant name, text, and for a download button the
// address it opens.
static void LigneAdresse(int panel, int, int id, int *) {
    int style = 0;
    GetCtrlAttributeAnsi(panel, id, ATTR_CTRL_STYLE, &style);
    char texte[TEXTE_LEN] = "";
    bool bouton = false;
    switch (style) {
    case CTRL_RING: {
        int index = -1;
        if (GetCtrlIndex(panel, id, &index) >= 0 && index >= 0) GetLabelFromIndexAnsi(panel, id, index, texte);
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
    Imprimer(texte, bouton ? LIBELLE : TEXTE);
    std::printf("\t");
    if (const char *adresse = LoadAdresse(id)) {
        char ouverte[LOAD_ADRESSE_MIROIR_LEN];
        LoadMiroirAdresse(adresse, ouverte, sizeof ouverte);
        Imprimer(ouverte, ADRESSE);
    }
    std::printf("\n");
}

// "--miroir": for a download button with an address, the product, the
// constant name, the maker's address and its copy in the mirror (a
// folder's path, an http mirror's address), then "présent" or "absent" in
// a folder mirror (each absent one counted in *absents), "non vérifié" in
// an http mirror, which the program never reaches itself.
static void LigneMiroir(int, int product, int id, int *absents) {
    const char *adresse = LoadAdresse(id);
    if (!adresse || !adresse[0]) return;
    char copie[LOAD_ADRESSE_MIROIR_LEN];
    const char *etat = "non vérifié";
    if (LoadMiroirFichier(adresse, copie, sizeof copie)) {
        const bool present = LoadMiroirPresent(copie);
        etat = present ? "présent" : "absent";
        if (!present) ++*absents;
    } else {
        LoadMiroirAdresse(adresse, copie, sizeof copie);
    }
    std::printf("%d\t%s\t", product, LoadNomControle(id));
    Imprimer(adresse, ADRESSE);
    std::printf("\t");
    Imprimer(copie, ADRESSE);
    std::printf("\t%s\n", etat);
}

// Composes, for each of the nb products numbered, a freshly loaded
// downloads panel as the program shows it (LoadInit on a panel never
// displayed), and prints ligne for each of its visible controls 3 to 25,
// in id order. A number that is no product of the catalogue is said on
// stderr and skipped. Returns 0, 3 when the panel cannot be loaded (a line
// on stderr), or 7 when a number was no product.
static int Lister(const int *numeros, int nb, LigneFn ligne, int *etat) {
    int code = 0;
    for (int i = 0; i < nb; ++i) {
        if (!Catalogue(numeros[i])) {
            std::fprintf(stderr, "VLicEnr : %d n'est pas un produit du catalogue (VLicEnr --produits les liste)\n",
                         numeros[i]);
            code = 7;
            continue;
        }
        const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
        if (panel <= 0) {
            std::fprintf(stderr, "VLicEnr : le panneau de téléchargement ne peut pas être chargé\n");
            return 3;
        }
        LoadInit(panel, numeros[i]);
        for (int id = FVLIC_LOAD_PROD; id <= FVLIC_LOAD_LAB_2; ++id) {
            int visible = 0;
            if (GetCtrlAttributeAnsi(panel, id, ATTR_VISIBLE, &visible) >= 0 && visible)
                ligne(panel, numeros[i], id, etat);
        }
        DiscardPanel(panel);
    }
    return code;
}

// "--aide": what the program takes on its command line and the exit codes
// of the listings, in French, with where the files a school may edit are
// read. Returns 0.
static int Aide(void) {
    char versions[MAX_PATHNAME_LEN], miroir[MAX_PATHNAME_LEN];
    const bool ici = VLicCheminAdmin(LOAD_VERSIONS_FILE, versions, sizeof versions) == VLIC_ADMIN_PROGRAMME;
    VLicCheminAdmin(LOAD_MIROIR_FILE, miroir, sizeof miroir);
    std::printf(
        "VLicEnr %s : les logiciels, manuels et pilotes des produits Veltrane.\n"
        "\n"
        "  VLicEnr                 le panneau principal : choisir le produit\n"
        "  VLicEnr N               le panneau principal du produit N seul\n"
        "  VLicEnr --produits      les produits du catalogue : numéro, nom, 1 si caché\n"
        "  VLicEnr --adresses N[,N...]\n"
        "                          le panneau de téléchargement de chaque produit nommé\n"
        "                          (--adresses 20,170,250) : numéro et nom de chaque\n"
        "                          contrôle, texte, adresse que le bouton ouvre\n"
        "  VLicEnr --miroir [N[,N...]]\n"
        "                          chaque archive des produits nommés (de tous sans N) :\n"
        "                          produit, bouton, adresse sur le site Veltrane, copie\n"
        "                          dans le miroir de l'école, présent|absent\n"
        "  VLicEnr --versions      les versions en vigueur : numéro, EMP, Interface,\n"
        "                          fichier|interne ; sur la sortie d'erreur, les lignes\n"
        "                          du fichier des versions ignorées ou plus anciennes\n"
        "                          que celles du programme\n"
        "  VLicEnr --aide, --help  cette aide\n"
        "  VLicEnr --version       la version du programme\n"
        "\n"
        "Les listes sont en UTF-8, une ligne par élément, champs séparés par des\n"
        "tabulations.\n"
        "\n"
        "Fichiers de l'école%s :\n"
        "  %s\n"
        "      les versions des logiciels\n"
        "  %s\n"
        "      le miroir de l'école : sa première ligne (ni vide ni #) est un dossier\n"
        "      (\\\\serveur\\partage\\, D:\\veltrane\\ ou /srv/veltrane/) ou une adresse\n"
        "      http(s) finissant par /\n"
        "\n"
        "Codes de sortie des listes :\n"
        "  0  fait\n"
        "  1  catalogue %s absent du dossier du programme\n"
        "  2  commande mal formée\n"
        "  3  l'interface ou le panneau de téléchargement ne peut pas être chargé\n"
        "  4  --versions : lignes du fichier des versions ignorées ou plus anciennes\n"
        "     que celles du programme\n"
        "  5  --miroir : une archive manque dans le miroir\n"
        "  6  --miroir : aucun miroir (fichier absent ou inutilisable : la raison\n"
        "     est écrite sur la sortie d'erreur)\n"
        "  7  un numéro n'est pas un produit du catalogue\n",
        VLIC_VERSION_TEXTE, ici ? ", dans le dossier du programme" : "", versions, miroir, VLIC_PROD_FILE);
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
    const bool miroir = std::strcmp(argv[1], "--miroir") == 0;
    const bool produits = std::strcmp(argv[1], "--produits") == 0;
    const bool versions = std::strcmp(argv[1], "--versions") == 0;
    const bool aide = std::strcmp(argv[1], "--aide") == 0 || std::strcmp(argv[1], "--help") == 0;
    const bool version = std::strcmp(argv[1], "--version") == 0;
    if (!adresses && !miroir && !produits && !versions && !aide && !version) return -1;

    if (!Demarrer(argv, aide || version)) {
        std::fprintf(stderr, "VLicEnr : l'interface ne peut pas démarrer\n");
        return 3;
    }
    if (aide || version) {
        const int code = aide ? Aide() : std::printf("VLicEnr %s\n", VLIC_VERSION_TEXTE) < 0;
        std::fflush(stdout);
        return code;
    }
    static int numeros[VLIC_PROD_MAX];
    int nb = 0;
    const bool liste = adresses || (miroir && argc == 3);
    if ((liste && !(nb = LireProduits(argc == 3 ? argv[2] : nullptr, numeros))) ||
        argc > (adresses || miroir ? 3 : 2)) {
        std::fprintf(stderr, "usage : VLicEnr --adresses N[,N...]   (N, N... : produits, 0 - 999)\n"
                             "        VLicEnr --miroir [N[,N...]]\n"
                             "        VLicEnr --aide                (toutes les options, codes de sortie)\n");
        return 2;
    }
    if (versions) {
        // The versions alone need no catalogue: a maker checks the file
        // wherever the program lies.
        int anciennes = 0;
        const int fausses = EnrFichiersEcole(EnrDossierProgramme(), stderr, &anciennes, nullptr);
        LoadVersionsLister(stdout);
        std::fflush(stdout);
        return fausses > 0 || anciennes > 0 ? 4 : 0;
    }
    if (const int code = Charger(miroir ? stderr : nullptr)) return code;
    int code = 0;
    if (produits) {
        code = ListerProduits();
    } else if (adresses) {
        code = Lister(numeros, nb, LigneAdresse, nullptr);
    } else if (LoadMiroirGenre() == LOAD_MIROIR_AUCUN) {
        std::fprintf(stderr, "VLicEnr : aucun miroir, les boutons ouvrent les adresses du site Veltrane\n");
        return 6;
    } else {
        if (!liste)
            for (int n = 0; n < VLIC_PROD_MAX; ++n)
                if (Catalogue(n)) numeros[nb++] = n;
        int absents = 0;
        code = Lister(numeros, nb, LigneMiroir, &absents);
        if (!code && absents) code = 5;
    }
    std::fflush(stdout);
    return code;
}

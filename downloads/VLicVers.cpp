// VLicVers.cpp: the current versions of each product's software, and where
// they come from.
//
// What it does: the program carries a built-in version table, made at build
// time from the versions file of the repository (tools/mkversions.py). At
// start the file "Veltrane.vlicvers" beside the program is read once, beside
// the catalogue; each good line of it replaces the built-in row of its
// product, so that the maker can announce a new archive by shipping that
// small text file, or a school's IT service can drop it in, without a new
// program. "VLicEnr --versions" lists the versions in force and reports the
// lines of the file that were ignored.
//
// The file: UTF-8 (a leading BOM is skipped), one line per product, number
// TAB EMP TAB interface; an empty field means none; a line starting with #
// is a comment, an empty or blank line is skipped; CR LF line ends are
// read as LF. A number is 1 to 3 digits (0 to 999); a version is digits and
// dots only, at most 15 characters. Any other line is ignored, and so is
// every line of a product that the file gives twice: such a product keeps
// its built-in row. A line never changes anything but the two version
// texts of its product, and those texts go into addresses: that is why a
// version may hold nothing but digits and dots.
//
// Exports (downloads/VLicLoad.h): LoadVersionsCharger, LoadVersionsProduit,
// LoadVersionsLister.
//
// Data model: see the state block. The file's rows are kept by product
// number beside the built-in table, which stays as the build made it.
#include <cassert>
#include <cstdio>
#include <cstring>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"

// ------------------------------------------------------------------ state
// sFichier: the versions the file gave to each product, valid where
//   sDuFichier is true; both all-false until a file was read, and rewritten
//   whole at each LoadVersionsCharger.
struct LoadVersionsLigne {
    char emp[LOAD_VERSION_LEN];
    char ihm[LOAD_VERSION_LEN];
};
static LoadVersionsLigne sFichier[VLIC_PROD_MAX];
static bool sDuFichier[VLIC_PROD_MAX];

// A line of the file holds at most this many bytes before its line end:
// three fields of at most 15 characters and two TABs leave ample room for
// blanks a hand may add in comments, which are skipped whatever they hold.
enum { LIGNE_LEN = 256 };

// True when text[0..n) is a version: digits and dots only, at most 15
// characters (0 characters: none).
static bool EstVersion(const char *text, size_t n) {
    if (n >= LOAD_VERSION_LEN) return false;
    for (size_t i = 0; i < n; ++i)
        if ((text[i] < '0' || text[i] > '9') && text[i] != '.') return false;
    return true;
}

// Reads one product line (no line end) into *product and *ligne. Returns
// null when it is good, else the reason, in the user's language (UTF-8).
static const char *LireLigne(const char *texte, int *product, LoadVersionsLigne *ligne) {
    const char *tab1 = std::strchr(texte, '\t');
    const char *tab2 = tab1 ? std::strchr(tab1 + 1, '\t') : nullptr;
    if (!tab2 || std::strchr(tab2 + 1, '\t'))
        return "il faut le numéro, la version EMP et la version Interface, séparés par deux tabulations";
    const size_t nNumero = static_cast<size_t>(tab1 - texte);
    if (nNumero < 1 || nNumero > 3) return "numéro de produit hors de 0 à 999";
    int n = 0;
    for (size_t i = 0; i < nNumero; ++i) {
        if (texte[i] < '0' || texte[i] > '9') return "numéro de produit hors de 0 à 999";
        n = n * 10 + (texte[i] - '0');
    }
    const char *emp = tab1 + 1;
    const size_t nEmp = static_cast<size_t>(tab2 - emp);
    const char *ihm = tab2 + 1;
    const size_t nIhm = std::strlen(ihm);
    if (!EstVersion(emp, nEmp))
        return "version EMP fausse (chiffres et points seulement, 15 caractères au plus)";
    if (!EstVersion(ihm, nIhm))
        return "version Interface fausse (chiffres et points seulement, 15 caractères au plus)";
    *product = n;
    std::memcpy(ligne->emp, emp, nEmp);
    ligne->emp[nEmp] = 0;
    std::memcpy(ligne->ihm, ihm, nIhm);
    ligne->ihm[nIhm] = 0;
    return nullptr;
}

// True for a line to skip without a word: empty, blank, or a comment.
static bool Ignoree(const char *texte) {
    if (texte[0] == '#') return true;
    for (const char *p = texte; *p; ++p)
        if (*p != ' ' && *p != '\t') return false;
    return true;
}

// The built-in row of product, or null when the table has none.
static const LoadVersionRec *Interne(int product) {
    for (int i = 0; i < LoadVersionsNb; ++i)
        if (LoadVersionsTable[i].product == product) return &LoadVersionsTable[i];
    return nullptr;
}

// Compares two versions (digits and dots) number by number: "2.10" comes
// after "2.9", "2" is "2.0". Returns <0, 0 or >0.
static int ComparerVersions(const char *a, const char *b) {
    while (*a || *b) {
        while (*a == '0') ++a;   // leading zeros weigh nothing
        while (*b == '0') ++b;
        const size_t na = std::strcspn(a, "."), nb = std::strcspn(b, ".");
        if (na != nb) return na < nb ? -1 : 1;
        if (const int c = std::strncmp(a, b, na)) return c;
        a += na;
        b += nb;
        if (*a == '.') ++a;
        if (*b == '.') ++b;
    }
    return 0;
}

int LoadVersionsCharger(const char *path, std::FILE *rapport, int *anciennes) {
    assert(path != nullptr && "the versions file's path must be given");
    std::memset(sDuFichier, 0, sizeof sDuFichier);
    if (anciennes) *anciennes = 0;
    std::FILE *f = VLicOuvrirDonnees(path);
    if (f == nullptr) return -1;

    // The first line of each product, to tell a repeated one; -1 marks a
    // product given twice, whose lines then all count for nothing.
    static int premiere[VLIC_PROD_MAX];
    static LoadVersionsLigne lues[VLIC_PROD_MAX];
    std::memset(premiere, 0, sizeof premiere);
    int fausses = 0;
    int numero = 0;
    char texte[LIGNE_LEN + 2];
    auto signaler = [&](int ligne, const char *raison) {
        ++fausses;
        if (rapport) std::fprintf(rapport, "%s:%d: %s\n", path, ligne, raison);
    };
    while (std::fgets(texte, sizeof texte, f)) {
        ++numero;
        size_t n = std::strlen(texte);
        const bool complete = n > 0 && texte[n - 1] == '\n';
        if (!complete && !std::feof(f)) {
            // Longer than any good line: skip the rest of it.
            int c;
            while ((c = std::fgetc(f)) != EOF && c != '\n') {
            }
            if (texte[0] != '#') signaler(numero, "ligne trop longue");
            continue;
        }
        if (complete) texte[--n] = 0;
        if (n > 0 && texte[n - 1] == '\r') texte[--n] = 0;
        char *ligne = texte;
        if (numero == 1 && std::strncmp(ligne, "\xEF\xBB\xBF", 3) == 0) ligne += 3;
        if (Ignoree(ligne)) continue;
        int product = 0;
        LoadVersionsLigne lue;
        if (const char *raison = LireLigne(ligne, &product, &lue)) {
            signaler(numero, raison);
            continue;
        }
        if (premiere[product] != 0) {
            char raison[160];
            std::snprintf(raison, sizeof raison,
                          "produit %d déjà donné ligne %d : ses lignes sont ignorées, il garde ses "
                          "versions internes",
                          product, premiere[product] > 0 ? premiere[product] : -premiere[product]);
            signaler(numero, raison);
            if (premiere[product] > 0) premiere[product] = -premiere[product];
            continue;
        }
        premiere[product] = numero;
        lues[product] = lue;
    }
    std::fclose(f);
    int vieilles = 0;
    for (int p = 0; p < VLIC_PROD_MAX; ++p) {
        if (premiere[p] <= 0) continue;
        sFichier[p] = lues[p];
        sDuFichier[p] = true;
        // A file kept across an upgrade of the program (an administrator's
        // copy) may name archives older than those the program knows.
        const LoadVersionRec *interne = Interne(p);
        if (!interne) continue;
        const char *const noms[2] = {"EMP", "Interface"};
        const char *const fichier[2] = {lues[p].emp, lues[p].ihm};
        const char *const programme[2] = {interne->emp ? interne->emp : "", interne->ihm ? interne->ihm : ""};
        for (int k = 0; k < 2; ++k) {
            if (!*fichier[k] || !*programme[k] || ComparerVersions(fichier[k], programme[k]) >= 0) continue;
            ++vieilles;
            if (rapport)
                std::fprintf(rapport, "%s:%d: produit %d : version %s %s plus ancienne que celle du programme (%s)\n",
                             path, premiere[p], p, noms[k], fichier[k], programme[k]);
        }
    }
    if (anciennes) *anciennes = vieilles;
    return fausses;
}

int LoadVersionsProduit(int product, const char **emp, const char **ihm) {
    *emp = "";
    *ihm = "";
    if (product < 0 || product >= VLIC_PROD_MAX) return LOAD_VERSIONS_AUCUNE;
    if (sDuFichier[product]) {
        *emp = sFichier[product].emp;
        *ihm = sFichier[product].ihm;
        return LOAD_VERSIONS_FICHIER;
    }
    const LoadVersionRec *r = Interne(product);
    if (!r) return LOAD_VERSIONS_AUCUNE;
    *emp = r->emp ? r->emp : "";
    *ihm = r->ihm ? r->ihm : "";
    return LOAD_VERSIONS_INTERNE;
}

void LoadVersionsLister(std::FILE *sortie) {
    for (int p = 0; p < VLIC_PROD_MAX; ++p) {
        const char *emp, *ihm;
        const int source = LoadVersionsProduit(p, &emp, &ihm);
        if (!*emp && !*ihm) continue;
        std::fprintf(sortie, "%d\t%s\t%s\t%s\n", p, emp, ihm,
                     source == LOAD_VERSIONS_FICHIER ? "fichier" : "interne");
    }
}

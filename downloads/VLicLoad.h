// VLicLoad.h: the downloads panel of one product (panel FVLIC_LOAD of
// "FVLicEnr.uir"), the composition of its items and web addresses, and the
// hover help that follows the mouse.
//
// Exports: LoadGerer (the panel's loop), LoadInit and the composition steps
// (LoadVersions, LoadNomDossier, LoadAdresses, LoadVisibleEmp,
// LoadVisibleIhm, LoadPointTiret, LoadUtilitaire), LoadSurvol (one pass of
// the hover help), read access to the module's texts (address slots, version
// texts, folder name), the versions in force (the built-in table and the
// versions file, downloads/VLicVers.cpp), the school's mirror
// (downloads/VLicMiroir.cpp), and the constant names of the panel's
// controls, which the command-line listing prints (app/VLicListe.cpp).
//
// Data model: the module owns, for the whole run, ten address slots of
// LOAD_ADRESSE_LEN bytes (one per download button), the EMP and interface
// version texts (LOAD_VERSION_LEN bytes each) and the folder name
// (LOAD_DOSSIER_LEN bytes). They are rewritten at each opening of the panel
// and never cleared in between. All texts are Windows-1252, zero-terminated.
#ifndef VLIC_DOWNLOADS_VLICLOAD_H
#define VLIC_DOWNLOADS_VLICLOAD_H

#include <cstddef>
#include <cstdio>

enum {
    LOAD_NB_ADRESSES = 10,     // download buttons 5, 6, 7, 9, 10, 11, 12, 13, 14, 16
    LOAD_ADRESSE_LEN = 272,    // a slot holds at most 271 characters
    LOAD_VERSION_LEN = 16,     // a version text holds at most 15 characters
    LOAD_DOSSIER_LEN = 32,     // the folder name holds at most 31 characters
    LOAD_INFO_LEN = 1024,      // the hover help text holds at most 1023 characters
    LOAD_NB_UTILITAIRES = 8,   // entries 0 to 7 of the utilities table
};

// Every address starts with the download base on the maker's web site.
#define LOAD_BASE "https://www.veltrane.fr/telecharger/"

// ---------------------------------------------------------------- the panel
// Runs the downloads panel for product at (*top, *left) until the user
// returns; leaves in *top and *left where the panel was then. When the panel
// cannot be loaded it returns at once and leaves *top and *left unchanged.
// A button opens its address as LoadMiroirAdresse gives it (the school's
// mirror, when one is set, which the panel's title then names). A press
// whose address the desktop cannot open shows a message popup naming the
// item and giving the address (from a folder mirror, the archive's path
// there and the maker's address); a right click on a download button
// offers "Copier l'adresse" and "Copier toutes les adresses" (to the
// clipboard).
void LoadGerer(int product, int *top, int *left);

// ---------------------------------------------------------- the composition
// Composes a freshly loaded downloads panel for product (101 is shown as
// 100): product ring, version texts, visible buttons, labels, address slots.
void LoadInit(int panel, int product);
// Sets the two version texts for product from the versions in force: the
// versions file's line, else the built-in row (empty texts when the product
// has neither, or is outside 0 to 999).
void LoadVersions(int product);
// Sets the folder name from product's catalogue name: blanks become "-",
// é è ê become "e", the text is cut before the blank ahead of the first "(".
// Empty for a product without a name or outside 0 to 999.
void LoadNomDossier(int product);
// Writes the standard address slots (EMP, interface, teacher, dossier) of
// product from the folder name and the version texts.
void LoadAdresses(int product);
// Shows (1) or hides (0) the EMP group: BP_EMP, V_EMP, PDF_EMP, TXT_EMP.
void LoadVisibleEmp(int panel, int shown);
// Shows (1) or hides (0) the interface group: BP_IHM, V_IHM, PDF_IHM, TXT_IHM.
void LoadVisibleIhm(int panel, int shown);
// Replaces every "." of text by "-", in place. A null text does nothing.
void LoadPointTiret(char *text);
// Places entry (0 to 7) of the utilities table on button control: shows it,
// labels it and writes the download base and the entry's path into slot
// (LOAD_ADRESSE_LEN bytes). Any other entry, or a null slot, does nothing.
void LoadUtilitaire(int panel, int entry, int control, char *slot);

// ------------------------------------------------------------ hover help
// One pass of the hover help on panel for product (the number given to
// LoadGerer, 101 included): shows the help of the button under the mouse in
// the INFO box and the link cursor, or hides the box and gives the normal
// cursor back over nothing. Does nothing while another panel is active.
// When the keyboard focus moved to another control after the mouse last
// moved, the box shows the help of the focused button instead (or hides
// for a control without one) and the cursor is left alone, until the
// mouse moves again.
void LoadSurvol(int panel, int product);

// ------------------------------------------------------- the module's texts
// The address slot of download button control (5, 6, 7, 9, 10, 11, 12, 13,
// 14 or 16); null for any other control.
const char *LoadAdresse(int control);
const char *LoadVersionEmp(void);    // as last composed (dots turned to dashes when available)
const char *LoadVersionIhm(void);
const char *LoadDossier(void);       // the folder name as last composed
// The label of entry (0 to 7) of the utilities table; null for any other.
const char *LoadUtilitaireLabel(int entry);

// ------------------------------------------------------------ version table
// A row of the built-in version table, which the build makes from the
// versions file of the repository (downloads/Veltrane.vlicvers, by
// tools/mkversions.py): the current EMP and interface versions of a
// product, "" when it has none.
struct LoadVersionRec {
    int product;
    const char *emp;
    const char *ihm;
};
// The built-in table and its number of rows.
extern const LoadVersionRec LoadVersionsTable[];
extern const int LoadVersionsNb;

// The versions file read at start from the program's folder, beside the
// catalogue (downloads/VLicVers.cpp describes its lines).
#define LOAD_VERSIONS_FILE "Veltrane.vlicvers"

// Where the versions of a product come from.
enum { LOAD_VERSIONS_AUCUNE = 0, LOAD_VERSIONS_INTERNE = 1, LOAD_VERSIONS_FICHIER = 2 };

// Reads the versions file at path: each good line replaces, from now on,
// the built-in row of its product; what an earlier call read is forgotten.
// Returns -1 when there is no such file or it is no regular file (a FIFO,
// a device, a folder: never waited on), which leaves every product on its
// built-in row, else the number of lines ignored; each of them is reported
// on rapport (when not null) as "path:line: reason", in French, UTF-8.
// *anciennes (when not null) gets the number of versions the file gives
// that are older than the built-in ones (they are in force all the same),
// each reported on rapport as "path:line: produit N : version ...".
int LoadVersionsCharger(const char *path, std::FILE *rapport, int *anciennes = nullptr);
// Gives product's two version texts in force ("" for none; never null) and
// where they come from; LOAD_VERSIONS_AUCUNE for a product of neither the
// file nor the table, or outside 0 to 999.
int LoadVersionsProduit(int product, const char **emp, const char **ihm);
// Writes, for every product with a version, one line "number TAB EMP TAB
// interface TAB fichier|interne", in ascending number order.
void LoadVersionsLister(std::FILE *sortie);

// Test seam: when set, LoadVersions asks the hook for the two texts instead
// of the file and the table. The hook writes at most size bytes into each (terminated).
typedef void (*LoadVersionsHookPtr)(int product, char *emp, char *ihm, int size);
void LoadSetVersionsHook(LoadVersionsHookPtr hook);

// ---------------------------------------------------------- school mirror
// A school may keep a copy of the maker's download folder on its own
// network, for PCs without internet (downloads/VLicMiroir.cpp). The file
// that names it, read at start from where VLicCheminAdmin puts a school's
// files.
#define LOAD_MIROIR_FILE "Veltrane.vlicmiroir"

enum {
    LOAD_MIROIR_AUCUN = 0,     // no mirror: every address is the maker's
    LOAD_MIROIR_DOSSIER = 1,   // a folder: UNC or drive path on Windows, absolute path elsewhere
    LOAD_MIROIR_HTTP = 2,      // an http or https address ending in "/"
    LOAD_MIROIR_LEN = 161,     // the mirror, as named and in its address form, holds at most 160 bytes
    LOAD_ADRESSE_MIROIR_LEN = LOAD_ADRESSE_LEN + LOAD_MIROIR_LEN,   // room for any address in force
};

// Reads the mirror file at path (UTF-8, a BOM skipped): the mirror is its
// first line that is neither blank nor a comment (#), blanks around it
// dropped; what an earlier call set is forgotten. Returns the kind of the
// mirror now in force: LOAD_MIROIR_AUCUN when the file is missing, is no
// regular file (never waited on) or names no usable mirror, the reason
// then written on rapport (when not null) in French, UTF-8, as
// "path: reason" or "path:line: reason".
int LoadMiroirCharger(const char *path, std::FILE *rapport);
// Sets the mirror from text (Windows-1252, blanks around it dropped) by
// this platform's rules; null or "" sets none. Returns the kind of the
// mirror now in force; LOAD_MIROIR_AUCUN also when text names no usable
// mirror (relative, unknown scheme, over-long, a control byte, a
// character a path or an address cannot hold), *raison (when not null)
// then saying why in French, UTF-8 (else null).
int LoadMiroirDefinir(const char *text, const char **raison);
int LoadMiroirGenre(void);
// The mirror in force as its file names it, with its closing separator;
// "" without one.
const char *LoadMiroir(void);
// The address that opens the archive of the maker's address `adresse`:
// with a mirror, its copy there (the mirror followed by the path below the
// download base, "Pilote/" included, with backslashes in a Windows folder,
// as the file:// URI of a folder elsewhere); else, or for an address not
// below the download base ("" included), `adresse` itself. Writes at most
// taille bytes (LOAD_ADRESSE_MIROIR_LEN always suffices).
void LoadMiroirAdresse(const char *adresse, char *out, std::size_t taille);
// For the maker's address `adresse`, the path of its copy in a folder
// mirror as the file system names it (Windows-1252, escapes of the address
// undone where it is a file:// URI). Returns 1, or 0 (out "") without a
// folder mirror or for an address not below the download base.
int LoadMiroirFichier(const char *adresse, char *out, std::size_t taille);
// 1 when path (Windows-1252) names a regular file (through links), else 0.
int LoadMiroirPresent(const char *path);

// Writes text into out (room bytes, terminated) with each byte that a
// browser would drop from an address or read as its syntax percent-encoded
// as its UTF-8 form ("%09", "%20", "%C2%81"), every other byte as it is.
// Stops before the first character that does not fit whole. Returns the
// number of bytes written; *entier (when not null) tells whether all of
// text fitted.
std::size_t LoadEncoder(const char *text, char *out, std::size_t room, bool *entier);

// ------------------------------------------------------- controls' names
// Constant name of control id of the downloads panel ("" when unknown).
const char *LoadNomControle(int control);

#endif

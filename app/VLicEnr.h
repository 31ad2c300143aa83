// VLicEnr.h: program entry, start-up and the main panel.
//
// The main panel has two modes, fixed at start-up: started without a product
// number (or with 0) the user chooses the product in the chooser PROD_CHOIX;
// started with a nonzero number the product is fixed, shown by the indicator
// PROD, and the download command is dimmed.
#ifndef VLIC_APP_VLICENR_H
#define VLIC_APP_VLICENR_H

#include <cstdio>

// The whole program: start-up, the main panel, exit code. main() only calls
// it. Returns -1 when the run-time cannot start, 1 when the main panel's
// resource cannot be loaded (after a popup saying so), else 0 (also after
// the popup of a missing catalogue).
int VLicEnrMain(int argc, char **argv);

// Makes the program's folder the current one (the run-time started).
// Returns 1 when it is current; 0 when the run-time cannot name it (a folder
// too long for it) or it cannot be made current: nothing is then to be read
// from the current folder, which may be anybody's, and start-up reports the
// catalogue missing.
int EnrDossierProgramme(void);

// Start-up once the run-time runs and the program's folder is current: reads
// the start product from argv[1], loads the catalogue from the current folder
// (popup and 0 when it cannot), runs the main panel. Returns the exit code:
// 0, or 1 when the main panel cannot be loaded.
int EnrDemarrer(int argc, char **argv);
// Reads the data files that a school's administrator may edit, from where
// VLicCheminAdmin puts them: the versions file (LoadVersionsCharger: its
// faults and, in *anciennes when not null, its versions older than the
// program's, reported on rapportVersions when not null) and the mirror
// file (LoadMiroirCharger, why it names no mirror reported on
// rapportMiroir when not null). dossierCourant: the program's folder is the
// current one; when it is not, a file meant to lie beside the program is
// not read (the current folder may be anybody's), and the built-in
// versions and the maker's addresses hold. Returns LoadVersionsCharger's
// result, -1 when the versions file was not read.
int EnrFichiersEcole(int dossierCourant, std::FILE *rapportVersions, int *anciennes, std::FILE *rapportMiroir);
// The message of start-up's popup when the catalogue cannot be loaded
// (Windows-1252); the command-line listings print it too.
const char *EnrMessageCatalogueAbsent(void);

// The start product in text as "%d" reads it: optional blanks (space, tab,
// line breaks, vertical tab, form feed), an optional sign, decimal digits;
// anything may follow. Returns the number, 0 when there are no digits or text
// is null; a number beyond the int range saturates to INT_MAX / INT_MIN.
int EnrLireProduit(const char *text);

// Loads the main panel, runs it for the start product until the user quits,
// discards it. Returns 1 after a normal run, 0 when the panel could not be
// loaded (a popup has then told the user).
int EnrGerer(int product);

// Fills and arranges the freshly loaded main panel for the start product.
void EnrInit(int panel, int product);
// Brings the panel up to date after the current product changed: the
// indicator's value, then EnrSet.
void EnrProdMaj(int panel, int product);
// Shows the download section exactly when product is nonzero.
void EnrSet(int panel, int product);

// One turn of the main panel's loop: acts on a commit of control of the main
// panel, with *product the current product (changed by a choice in the
// chooser). Returns 1 when the user asked to quit, else 0.
int EnrCommande(int panel, int control, int *product);

#endif

// VLicListe.h: the program's command-line listings, run instead of the
// panels when the first argument names one (app/VLicListe.cpp).
#ifndef VLIC_APP_VLICLISTE_H
#define VLIC_APP_VLICLISTE_H

// "--adresses N" prints the composed downloads panel of product N, one line
// per visible control 3 to 25: id, constant name, text, address (TAB
// separated, UTF-8, control bytes of a text escaped). "--produits" prints
// every product the chooser can list (10 to 999, nonzero code): number,
// name, hidden flag. "--versions" prints the versions in force
// (LoadVersionsLister) and, on stderr, each ignored line of the versions
// file. Returns -1 when argv[1] is none of them (the program then starts as
// usual), else the exit code: 0 done, 1 no catalogue (message on stderr),
// 2 bad usage (usage line on stderr), 3 the run-time or the panel cannot be
// had, 4 the versions file has lines that were ignored.
int EnrListing(int argc, char **argv);

#endif

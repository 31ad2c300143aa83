// VLicListe.h: the program's command-line listings, run instead of the
// panels when the first argument names one (app/VLicListe.cpp).
#ifndef VLIC_APP_VLICLISTE_H
#define VLIC_APP_VLICLISTE_H

// "--adresses N[,N...]" prints the composed downloads panel of each
// product named, one line per visible control 3 to 25: id, constant name,
// text, the address it opens (TAB separated, UTF-8, control bytes of a
// text escaped). "--miroir [N[,N...]]" prints, for each archive of the
// products named (all without one), the product, the button's constant
// name, the maker's address, its copy in the school's mirror, and
// présent|absent (a folder mirror) or "non vérifié" (an http one).
// "--produits" prints every product the chooser can list (10 to 999,
// nonzero code): number, name, hidden flag. "--versions" prints the
// versions in force (LoadVersionsLister) and, on stderr, each line of the
// versions file ignored or older than the program's. "--aide" (or
// "--help") and "--version" print the help, in French, and the version.
// Returns -1 when argv[1] is none of them (the program then starts as
// usual), else the exit code: 0 done, 1 no catalogue (message on stderr),
// 2 bad usage (usage lines on stderr), 3 the run-time or the panel cannot
// be had, 4 the versions file has lines ignored or older than the
// program's, 5 an archive is absent from the mirror, 6 no mirror is set,
// 7 a number named is no product of the catalogue (said on stderr, the
// others listed).
int EnrListing(int argc, char **argv);

#endif

// VLicAdmin.cpp: where the data files that a school's administrator may
// edit lie (the versions file, the school's mirror).
//
// Exports (app/VLic.h): VLicCheminAdmin.
//
// Data model: none but the folder the build names. A packaged build names
// the administrators' folder of its platform (VLIC_DOSSIER_ADMIN, from
// CMake's VLIC_ADMIN_DIR: the Linux package's /etc/vlicenr, where dpkg keeps
// an administrator's changes across upgrades); any other build reads the
// files beside the program. This file depends on nothing else of the
// program, so that a test can build it once more with a folder named.
#include "app/VLic.h"

#include <cassert>
#include <cstdio>

int VLicCheminAdmin(const char *nom, char *chemin, std::size_t taille) {
    assert(nom != nullptr && chemin != nullptr && taille > 0 && "a name and room for its path");
#ifdef VLIC_DOSSIER_ADMIN
    const int n = std::snprintf(chemin, taille, "%s/%s", VLIC_DOSSIER_ADMIN, nom);
    const int ou = VLIC_ADMIN_DOSSIER;
#else
    const int n = std::snprintf(chemin, taille, "%s", nom);
    const int ou = VLIC_ADMIN_PROGRAMME;
#endif
    if (n < 0 || static_cast<std::size_t>(n) >= taille) {
        chemin[0] = '\0';
        return 0;
    }
    return ou;
}

// Where the files that a school's administrator may edit are read: beside
// the program in an ordinary build, in the administrators' folder in a
// packaged one. The test app_admin_dossier is this same source built once
// more with app/VLicAdmin.cpp alone and a folder named, as the Linux
// package names /etc/vlicenr (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/VLic.h"

namespace {

TEST(CheminAdmin, NamesTheFileWhereTheBuildPutsItAndNothingThatDoesNotFit) {
#ifdef VLIC_DOSSIER_ADMIN
    const std::string attendu = std::string(VLIC_DOSSIER_ADMIN) + "/Veltrane.vlicvers";
    const int ou = VLIC_ADMIN_DOSSIER;
#else
    const std::string attendu = "Veltrane.vlicvers";
    const int ou = VLIC_ADMIN_PROGRAMME;
#endif
    struct Cas {
        size_t taille;
        int resultat;
    };
    for (const Cas &c : {Cas{256, ou}, Cas{attendu.size() + 1, ou}, Cas{attendu.size(), 0}, Cas{1, 0}}) {
        std::vector<char> chemin(c.taille, 'x');
        EXPECT_EQ(VLicCheminAdmin("Veltrane.vlicvers", chemin.data(), chemin.size()), c.resultat) << c.taille;
        EXPECT_EQ(std::string(chemin.data()), c.resultat ? attendu : "") << c.taille;
    }
}

}  // namespace

// mkcatalogue: writes the bundled catalogue file. Run by the build as
//     mkcatalogue <output path>
// It fills the all-zero table with the built-in rows and saves it, so the
// file is exactly the table that VLicProdInit makes on a fresh start.
// Exit code 0 when the file was written whole, 1 on a usage error or when
// the file cannot be written (the build then stops).
#include <cstdio>

#include "app/VLic.h"

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkcatalogue <output file>\n");
        return 1;
    }
    VLicProdInit();
    VLicProdSauver(argv[1]);
    // VLicProdSauver reports nothing; check the result here so that a
    // failing build step does not leave a missing or short catalogue.
    std::FILE *f = std::fopen(argv[1], "rb");
    if (f == nullptr) {
        std::fprintf(stderr, "mkcatalogue: cannot write %s\n", argv[1]);
        return 1;
    }
    std::fseek(f, 0, SEEK_END);
    const long taille = std::ftell(f);
    std::fclose(f);
    if (taille != static_cast<long>(sizeof VLicProdG)) {
        std::fprintf(stderr, "mkcatalogue: %s is %ld bytes, not %zu\n", argv[1], taille, sizeof VLicProdG);
        std::remove(argv[1]);
        return 1;
    }
    return 0;
}

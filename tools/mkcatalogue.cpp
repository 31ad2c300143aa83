// mkcatalogue: writes the bundled catalogue file. Run by the build as
//     mkcatalogue <output path>
// It fills the all-zero table with the built-in rows and writes it, so the
// file is exactly the table that VLicProdInit makes on a fresh start.
//
// The file is written whole or not at all: the records go to a new file
// beside the output (created by this run alone, never an existing one),
// every write and the close are checked, and only then is it renamed into
// place. A failure removes that new file and nothing else. An output path
// that exists but is no regular file (a device, a FIFO, a folder) is left
// as it is and refused.
// Exit code 0 when the file was written whole, 1 on a usage error or when
// it cannot be written (the build then stops; an older file stays as it was).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

#include "app/VLic.h"

namespace fs = std::filesystem;

namespace {

// Makes a new file beside target, named after it, that did not exist
// before ("x": the open fails rather than reuse a file). Returns it open
// for binary writing, with its name in *name, or null when the folder
// refuses (its errno then says why).
std::FILE *NouveauFichier(const std::string &target, std::string *name) {
    for (int n = 0; n < 100; ++n) {
        *name = target + ".new" + std::to_string(n);
        if (std::FILE *f = std::fopen(name->c_str(), "wbx")) return f;
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

int Echec(const char *what, const std::string &path, int error) {
    std::fprintf(stderr, "mkcatalogue: %s %s: %s\n", what, path.c_str(), std::strerror(error));
    return 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkcatalogue <output file>\n");
        return 1;
    }
    const std::string target = argv[1];
    std::error_code erreur;
    const fs::file_status etat = fs::status(target, erreur);
    if (fs::exists(etat) && !fs::is_regular_file(etat)) {
        std::fprintf(stderr, "mkcatalogue: %s exists and is no regular file; left as it is\n", target.c_str());
        return 1;
    }

    VLicProdInit();
    std::string nouveau;
    std::FILE *f = NouveauFichier(target, &nouveau);
    if (f == nullptr) return Echec("cannot create a file beside", target, errno);
    int panne = 0;
    for (const VLicProdRec &r : VLicProdG) {
        if (std::fwrite(&r, sizeof r, 1, f) != 1) {
            panne = errno;
            break;
        }
    }
    if (std::fflush(f) != 0 && !panne) panne = errno ? errno : EIO;
    if (std::fclose(f) != 0 && !panne) panne = errno ? errno : EIO;
    if (panne) {
        std::remove(nouveau.c_str());   // made by this run, a regular file
        return Echec("cannot write", nouveau, panne);
    }
    fs::rename(nouveau, target, erreur);
    if (erreur) {
        std::remove(nouveau.c_str());
        std::fprintf(stderr, "mkcatalogue: cannot put %s in place: %s\n", target.c_str(),
                     erreur.message().c_str());
        return 1;
    }
    return 0;
}

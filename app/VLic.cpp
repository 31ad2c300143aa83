// VLic.cpp: the product catalogue and its file "Veltrane.vlicprod".
//
// Exports (app/VLic.h): the table VLicProdG, its load (VLicProdCharger), save
// (VLicProdSauver) and clear (VLicProdEffacer), the fill of a product ring
// (VLicProdList), the safe reading of a name (VLicProdNom), and the safe
// opening every data file goes through (VLicOuvrirDonnees). The built-in
// rows (VLicProdInit) live in app/VLicRows.cpp, the path of a file an
// administrator may edit (VLicCheminAdmin) in app/VLicAdmin.cpp.
//
// Data model: VLicProdG is 1000 records of 580 bytes, index = product number.
// The file is the raw image of the table, record n at byte n * 580. Loading
// copies the file's bytes into the records untouched (reserved bytes and a
// name without its NUL included), so loading then saving reproduces the file
// byte for byte. Names are trusted nowhere to end inside their 32 bytes:
// every reader goes through VLicProdNom, which never reads past the field.
//
// A file shorter than 580,000 bytes: records wholly past its end stay as the
// clear left them; a record cut by the end of the file holds the file's bytes
// up to the cut and, after them, what the clear left there (name "?" padded
// as before, integers 0, empty texts, bytes 52 to 67 as they were). Since
// the table is all-zero before the one load at start-up, that rest is the
// cleared record of a fresh table. Bytes past 580,000 are ignored.
#include "app/VLic.h"

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ui/userint.h"

#ifdef _WIN32
#include <filesystem>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// ---------------------------------------------------------------- state
// VLicProdG: the catalogue. All-zero at program start, cleared and read once
//   at start-up, read-only afterwards. Only this module writes it.
// sNomCopie: one shadow entry per product, used only for a stored name that
//   has no NUL within its 32 bytes: VLicProdNom copies its first 31 bytes
//   there and adds the NUL. The record itself is never altered, so a save
//   still writes the bytes that were loaded.
VLicProdRec VLicProdG[VLIC_PROD_MAX];
static char sNomCopie[VLIC_PROD_MAX][VLIC_PROD_NAME_LEN];

// Returns the name of product n, NUL-terminated, at most 31 characters: the
// stored field itself when it holds a NUL, else a terminated copy of its first
// 31 bytes; "" for n outside 0 to 999. The text stays valid for the whole run
// (a copy is rewritten only by the next call for the same product).
const char *VLicProdNom(int n) {
    if (n < 0 || n >= VLIC_PROD_MAX) return "";
    const char *champ = VLicProdG[n].name;
    if (std::memchr(champ, '\0', VLIC_PROD_NAME_LEN) != nullptr) return champ;
    std::memcpy(sNomCopie[n], champ, VLIC_PROD_NAME_LEN - 1);
    sNomCopie[n][VLIC_PROD_NAME_LEN - 1] = '\0';
    return sNomCopie[n];
}

// Clears every record: name "?", code, the three reserved integers and hidden
// 0, each reserved text empty (first byte 0). Bytes 52 to 67 are left alone:
// this system never writes them. No result.
// Clears records from..VLIC_PROD_MAX - 1 as VLicProdEffacer does. No result.
static void VLicProdEffacerDe(int from) {
    for (int n = from; n < VLIC_PROD_MAX; ++n) {
        VLicProdRec &r = VLicProdG[n];
        r.name[0] = '?';
        r.name[1] = '\0';
        r.code = 0;
        r.reserved1 = 0;
        r.reserved2 = 0;
        r.reserved3 = 0;
        r.hidden = 0;
        for (char *texte : r.texts) texte[0] = '\0';
    }
}

void VLicProdEffacer(void) { VLicProdEffacerDe(0); }

std::FILE *VLicOuvrirDonnees(const char *path) {
#ifdef _WIN32
    std::error_code erreur;
    if (!std::filesystem::is_regular_file(std::filesystem::path(path), erreur)) return nullptr;
    return std::fopen(path, "rb");
#else
    // Opened without waiting, then looked at through the descriptor itself,
    // so that nothing can be put in its place between the look and the read.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    std::FILE *f = fdopen(fd, "rb");
    if (f == nullptr) close(fd);
    return f;
#endif
}

// Loads the table from path. Returns 1 when the file was opened and read
// (a short or empty file included), 0 when it cannot be opened, is no
// regular file (a FIFO, a device, a folder), or not one byte of it can be
// read because of a read error: the table is then left cleared.
int VLicProdCharger(const char *path) {
    assert(path != nullptr && "the catalogue's path must be given");
    std::FILE *f = VLicOuvrirDonnees(path);
    if (f == nullptr) {
        VLicProdEffacer();
        return 0;
    }
    // A whole record read replaces every byte the clear would have written,
    // so only the records past the end of the file are cleared; and a record
    // is written only where it differs from what the table holds. The
    // catalogue leaves most of its 1000 slots empty, all-zero in the file as
    // in the fresh table: their pages are then never touched, and the table
    // costs memory only for the slots in use.
    for (int n = 0; n < VLIC_PROD_MAX; ++n) {
        VLicProdRec lu;
        // One read of 580 one-byte items: the bytes of a record cut by the
        // end of the file are then exactly those read (a read of one 580-byte
        // item would leave a partial record undefined).
        const std::size_t lus = std::fread(&lu, 1, sizeof(VLicProdRec), f);
        if (lus < sizeof(VLicProdRec)) {
            // A folder opens on some systems but cannot be read: treat it as
            // a file that cannot be opened, as where opening already fails.
            const bool illisible = (n == 0 && lus == 0 && std::ferror(f));
            std::fclose(f);
            // Nothing was read when illisible: the whole table is cleared.
            // Otherwise this is the end of a short file; the rest is cleared,
            // the cut record then takes the bytes read.
            VLicProdEffacerDe(n);
            std::memcpy(&VLicProdG[n], &lu, lus);
            return illisible ? 0 : 1;
        }
        if (std::memcmp(&VLicProdG[n], &lu, sizeof(VLicProdRec)) != 0)
            std::memcpy(&VLicProdG[n], &lu, sizeof(VLicProdRec));
    }
    std::fclose(f);
    return 1;
}

// Writes the 1000 records to path (created or truncated), one write of 580
// bytes each. No result: a path that cannot be created, or a failing write,
// is silently ignored.
void VLicProdSauver(const char *path) {
    assert(path != nullptr && "the catalogue's path must be given");
    std::FILE *f = std::fopen(path, "wb");
    if (f == nullptr) return;
    for (const VLicProdRec &r : VLicProdG) {
        if (std::fwrite(&r, sizeof(VLicProdRec), 1, f) != 1) break;
    }
    std::fclose(f);
}

// Sort key of product q: the first two bytes of its name, each as a signed
// 8-bit value (accented letters, 128 to 255, are negative and come before
// ASCII; the NUL of a one-letter name comes between them), the first byte
// weighing more. Both bytes lie inside the field, whatever it holds. A
// number outside the table (an item that is no product) keys as "".
static int VLicProdCle(int q) {
    if (q < 0 || q >= VLIC_PROD_MAX) return 0;
    const signed char b0 = static_cast<signed char>(VLicProdG[q].name[0]);
    const signed char b1 = static_cast<signed char>(VLicProdG[q].name[1]);
    return b0 * 256 + b1;
}

// Fills the ring control of panel with catalogued products. No result; the
// run-time's results are not examined (a bad panel or control lists nothing).
//   all false: only multiples of 10; sorted false: every product goes to the
//   top (descending number order); showHidden false: hidden ones left out.
void VLicProdList(int panel, int control, int all, int sorted, int showHidden) {
    DeleteListItem(panel, control, 0, -1);
    int index = 0;  // set once here; only the sorted walk changes it
    for (int q = 10; q < VLIC_PROD_MAX; ++q) {
        const VLicProdRec &r = VLicProdG[q];
        if (r.code == 0) continue;
        if (!all && std::floor(q / 10.0) * 10 != q) continue;
        if (sorted) {
            const int cle = VLicProdCle(q);
            int nb = 0;
            if (GetNumListItems(panel, control, &nb) < 0) nb = 0;
            index = nb;
            for (int i = 0; i < nb; ++i) {
                int v = 0;
                if (GetValueFromIndexAnsi(panel, control, i, &v) < 0) continue;
                if (VLicProdCle(v) > cle) {
                    index = i;
                    break;
                }
            }
        }
        if (!showHidden && r.hidden != 0) continue;
        InsertListItemAnsi(panel, control, index, VLicProdNom(q), q);
    }
}

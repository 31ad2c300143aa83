// VLic.h: the product catalogue, the table of the maker's products indexed by
// product number, and the file "Veltrane.vlicprod" that stores it.
//
// Exports: VLicProdRec, VLicProdG, VLicProdCharger, VLicProdSauver,
// VLicProdEffacer, VLicProdInit, VLicProdList, VLicProdNom, and what every
// data file goes through: VLicOuvrirDonnees, VLicCheminAdmin.
//
// Data model: VLicProdG holds exactly VLIC_PROD_MAX records; the index is the
// product number (0 means no product; 1 to 9 are never listed; main products
// sit at multiples of 10 with their variants right after them). The record
// is both the in-memory and the file layout: the file is a raw image of the
// table, 1000 records of 580 bytes, little-endian, no header.
#ifndef VLIC_APP_VLIC_H
#define VLIC_APP_VLIC_H

#include <cstddef>
#include <cstdio>
#include <cstdint>

enum { VLIC_PROD_MAX = 1000, VLIC_PROD_NAME_LEN = 32, VLIC_PROD_TEXT_LEN = 128 };

#define VLIC_PROD_FILE "Veltrane.vlicprod"

struct VLicProdRec {
    char name[VLIC_PROD_NAME_LEN];  // Windows-1252, NUL-terminated (trusted, but never read past 32 bytes); "?" when cleared
    int32_t code;                   // nonzero: a catalogued product that may be listed; 0: an empty slot
    int32_t reserved1;              // not interpreted; cleared to 0
    int32_t reserved2;              // not interpreted; cleared to 0
    int32_t reserved3;              // not interpreted; cleared to 0
    int32_t hidden;                 // nonzero: left out of lists unless hidden products are asked for
    unsigned char reserved4[16];    // never written, not even by the clear: carried from file to memory and back
    char texts[4][VLIC_PROD_TEXT_LEN];  // not interpreted; cleared to empty strings
};
static_assert(sizeof(VLicProdRec) == 580, "a catalogue record is 580 bytes in the file");
static_assert(offsetof(VLicProdRec, name) == 0);
static_assert(offsetof(VLicProdRec, code) == 32);
static_assert(offsetof(VLicProdRec, reserved1) == 36);
static_assert(offsetof(VLicProdRec, reserved2) == 40);
static_assert(offsetof(VLicProdRec, reserved3) == 44);
static_assert(offsetof(VLicProdRec, hidden) == 48);
static_assert(offsetof(VLicProdRec, reserved4) == 52);
static_assert(offsetof(VLicProdRec, texts) == 68);

// The catalogue, all-zero at program start; filled once at start-up and
// read-only afterwards. Other modules read names through VLicProdNom.
extern VLicProdRec VLicProdG[VLIC_PROD_MAX];

// Loads the table from path (binary, 1000 reads of 580 bytes), after clearing
// it. Returns 1 when the file was opened (a short file leaves the records
// past its end cleared; a record cut by the end holds the bytes read, then
// what the clear left; bytes past 580,000 are ignored), 0 when it cannot be
// opened, is no regular file (a FIFO, a device, a folder: never waited on)
// or not a byte of it can be read: the table is left cleared.
int VLicProdCharger(const char *path);
// Writes the whole table to path. Reports nothing, also when path cannot be written.
void VLicProdSauver(const char *path);
// Clears every record: name "?", integers 0, texts empty; bytes 52 to 67 untouched.
void VLicProdEffacer(void);
// Writes the built-in rows (the maker's range) into the table; does not clear first.
void VLicProdInit(void);
// Fills the ring control of panel with catalogued products (label name, value
// product number), after deleting its items.
void VLicProdList(int panel, int control, int all, int sorted, int showHidden);
// The name of product n as a NUL-terminated text of at most 31 characters,
// even when the stored field has no NUL; "" for n outside 0 to 999.
const char *VLicProdNom(int n);

// Opens the data file at path (the catalogue, the versions, any file the
// program reads beside itself) for binary reading when it is a regular file
// (a link to one included). Returns the open file, or null when it cannot be
// opened or is anything else: a FIFO, a device, a socket or a folder. Never
// waits: a FIFO without a writer would hold an ordinary open, or its first
// read, for ever.
std::FILE *VLicOuvrirDonnees(const char *path);

// The path of the data file `nom` that a school's administrator may edit
// (the versions file, the mirror file): in the administrators' folder when
// the build names one (VLIC_DOSSIER_ADMIN, the Linux package's /etc/vlicenr),
// else `nom` itself, read beside the program (start-up makes its folder
// current). Writes at most taille bytes, NUL included. Returns where the
// path leads, VLIC_ADMIN_DOSSIER or VLIC_ADMIN_PROGRAMME, or 0 when it does
// not fit (chemin then holds "").
enum { VLIC_ADMIN_PROGRAMME = 1, VLIC_ADMIN_DOSSIER = 2 };
int VLicCheminAdmin(const char *nom, char *chemin, std::size_t taille);

#endif

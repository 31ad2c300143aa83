// VLicMiroir.cpp: the school's mirror, a copy of the maker's download folder
// that a school keeps on its own network for lab PCs without internet.
//
// What it does: the file "Veltrane.vlicmiroir" names the mirror in its first
// line that is neither blank nor a comment. With a mirror set, every
// download address becomes the mirror's copy of the archive: the mirror
// followed by the path that the maker's address has below its download
// base, "Pilote/" included:
//   - a folder on Windows (a UNC path \\serveur\veltrane\ or a drive path
//     D:\veltrane\): a path, with backslashes;
//   - a folder elsewhere (an absolute path /srv/veltrane/): its file:// URI,
//     percent-encoded as the maker's addresses are;
//   - an http or https address ending in "/": that address and the path,
//     encoded as the maker's addresses are.
// The composition of the panel (VLicLoad.cpp) is not touched: the address
// slots keep the maker's addresses, and whoever hands one to the desktop,
// copies or lists it asks LoadMiroirAdresse for the address in force.
// Without a usable mirror every address stays the maker's. Nothing is
// transferred here either: the desktop opens the mirror's copy (the file
// manager or archive tool for a file, the browser for an address) as it
// opens the maker's address.
//
// Exports (downloads/VLicLoad.h): LoadMiroirCharger, LoadMiroirDefinir,
// LoadMiroirGenre, LoadMiroir, LoadMiroirAdresse, LoadMiroirFichier,
// LoadMiroirPresent.
//
// Data model: see the state block. Texts are Windows-1252; the file is
// UTF-8 (Notepad's default), converted by the code page's own table.
#include <algorithm>
#include <cassert>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/VLic.h"
#include "downloads/VLicLoad.h"
#include "ui/cp1252.h"
#include "ui/userint.h"

// ------------------------------------------------------------------ state
// sGenre: the kind of the mirror in force; LOAD_MIROIR_AUCUN until a file
//   names a usable one.
// sMiroir: the mirror as its file names it, blanks around it dropped, with
//   its closing separator; "" without a mirror.
// sPrefixe: what stands before an archive's path below the download base
//   in its address in force: the http(s) address, the Windows folder, or
//   the file:// URI of the folder; "" without a mirror.
static int sGenre = LOAD_MIROIR_AUCUN;
static char sMiroir[LOAD_MIROIR_LEN];
static char sPrefixe[LOAD_MIROIR_LEN];

// A line of the file holds at most this many bytes before its line end.
enum { LIGNE_LEN = 512 };

// Why a text names no usable mirror (French, UTF-8).
static const char *const kTropLong = "miroir trop long (160 caractères au plus)";
static const char *const kControle = "caractère de contrôle dans le miroir";
static const char *const kSchema = "schéma inconnu : seules les adresses http:// et https:// sont lues";
static const char *const kHttp =
    "adresse http(s) mal formée : http://serveur/dossier/, sans espace, « ? », « # » ni « \\ »";
static const char *const kHttpFin = "une adresse http(s) de miroir finit par « / »";
static const char *const kAucuneLigne = "aucune ligne ne nomme de miroir";
static const char *const kEncodage = "texte qui n'est pas de l'UTF-8, ou caractère que Windows-1252 n'a pas";
#ifdef _WIN32
static const char kSeparateur[] = "\\";
static const char *const kRelatif =
    "chemin relatif : donner un chemin UNC (\\\\serveur\\partage\\) ou de lecteur (D:\\veltrane\\)";
static const char *const kAutreSysteme =
    "chemin Linux : sous Windows, donner un chemin UNC (\\\\serveur\\partage\\) ou de lecteur (D:\\veltrane\\)";
static const char *const kUnc = "chemin UNC incomplet : \\\\serveur\\partage\\";
static const char *const kInterdit = "caractère interdit dans un chemin Windows (< > \" | ? * :)";
#else
static const char kSeparateur[] = "/";
static const char *const kRelatif = "chemin relatif : donner un chemin absolu (/srv/veltrane/)";
static const char *const kAutreSysteme =
    "chemin Windows : sous Linux, donner le dossier où le partage est monté (/mnt/veltrane/)";
#endif

// True for a byte no mirror may hold: the C0 controls, DEL, and the five
// bytes Windows-1252 leaves undefined (C1 controls once converted).
static bool Controle(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
}

// Length of the scheme that text begins with (a letter, then letters,
// digits, "+", "-" or "." and a colon), or 0 for none. One letter before
// the colon is a drive, not a scheme.
static size_t Schema(const char *t) {
    if (!std::isalpha(static_cast<unsigned char>(t[0]))) return 0;
    size_t i = 1;
    while (std::isalnum(static_cast<unsigned char>(t[i])) || t[i] == '+' || t[i] == '-' || t[i] == '.') ++i;
    return t[i] == ':' && i >= 2 ? i : 0;
}

static bool EstUnc(const char *t) { return t[0] == '\\' && t[1] == '\\'; }
static bool EstLecteur(const char *t) {
    return std::isalpha(static_cast<unsigned char>(t[0])) && t[1] == ':' && (t[2] == '\\' || t[2] == '/');
}
static bool Separateur(char c) { return c == '/' || c == '\\'; }

// True when t begins with the scheme `nom` (lower case) of n letters, in
// any case.
static bool EstSchema(const char *t, size_t n, const char *nom) {
    if (std::strlen(nom) != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(t[i])) != nom[i]) return false;
    return true;
}

// Checks an http(s) mirror (t begins with its scheme, of n letters) and
// makes it the mirror and the prefix. Returns null, or the reason it is
// not usable.
static const char *Http(const char *t, size_t n) {
    if (std::strncmp(t + n, "://", 3) != 0 || !t[n + 3] || t[n + 3] == '/') return kHttp;
    for (const char *p = t; *p; ++p)
        if (*p == ' ' || *p == '?' || *p == '#' || *p == '\\') return kHttp;
    if (t[std::strlen(t) - 1] != '/') return kHttpFin;
    std::snprintf(sMiroir, sizeof sMiroir, "%s", t);
    std::snprintf(sPrefixe, sizeof sPrefixe, "%s", t);
    return nullptr;
}

// Checks a folder by this platform's rules and makes it the prefix (with
// its closing separator in sMiroir). Returns null, or the reason it is not
// usable.
static const char *Dossier(const char *t) {
    const size_t n = std::strlen(t);
    if (n + 1 >= sizeof sMiroir) return kTropLong;
    std::snprintf(sMiroir, sizeof sMiroir, "%s%s", t, Separateur(t[n - 1]) ? "" : kSeparateur);
#ifdef _WIN32
    if (t[0] == '/') return kAutreSysteme;
    if (EstUnc(t)) {
        // \\server\share: both named.
        const char *partage = t + 2 + std::strcspn(t + 2, "\\/");
        if (partage == t + 2 || !*partage || Separateur(partage[1]) || !partage[1]) return kUnc;
    } else if (!EstLecteur(t)) {
        return kRelatif;
    }
    if (std::strpbrk(t + 2, "<>\"|?*:")) return kInterdit;
    std::snprintf(sPrefixe, sizeof sPrefixe, "%s", sMiroir);
#else
    if (EstUnc(t) || EstLecteur(t)) return kAutreSysteme;
    if (t[0] != '/') return kRelatif;
    const size_t o = static_cast<size_t>(std::snprintf(sPrefixe, sizeof sPrefixe, "file://"));
    bool entier = true;
    LoadEncoder(sMiroir, sPrefixe + o, sizeof sPrefixe - o, &entier);
    if (!entier) return kTropLong;
#endif
    return nullptr;
}

int LoadMiroirDefinir(const char *text, const char **raison) {
    sGenre = LOAD_MIROIR_AUCUN;
    sMiroir[0] = 0;
    sPrefixe[0] = 0;
    if (raison) *raison = nullptr;
    if (!text) return sGenre;
    // The blanks around it, which a hand easily leaves, are no part of it.
    while (*text == ' ' || *text == '\t') ++text;
    size_t n = std::strlen(text);
    while (n > 0 && (text[n - 1] == ' ' || text[n - 1] == '\t')) --n;
    if (n == 0) return sGenre;
    const char *pourquoi = nullptr;
    char t[LOAD_MIROIR_LEN];
    if (n >= sizeof t) {
        pourquoi = kTropLong;
    } else {
        std::memcpy(t, text, n);
        t[n] = 0;
        for (size_t i = 0; i < n && !pourquoi; ++i)
            if (Controle(static_cast<unsigned char>(t[i]))) pourquoi = kControle;
    }
    int genre = LOAD_MIROIR_DOSSIER;
    if (!pourquoi) {
        const size_t schema = Schema(t);
        const bool http = EstSchema(t, schema, "http") || EstSchema(t, schema, "https");
        if (http) {
            genre = LOAD_MIROIR_HTTP;
            pourquoi = Http(t, schema);
        } else {
            pourquoi = schema ? kSchema : Dossier(t);
        }
    }
    if (pourquoi) {
        sMiroir[0] = 0;
        sPrefixe[0] = 0;
        if (raison) *raison = pourquoi;
        return sGenre;
    }
    sGenre = genre;
    return sGenre;
}

// Converts UTF-8 text to Windows-1252 in out (room bytes). Returns false
// when text is no well-formed UTF-8 or holds a character the code page has
// not; out is then "".
static bool VersAnsi(const char *text, char *out, size_t room) {
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
    size_t o = 0;
    while (*p) {
        unsigned cp = *p++;
        int suite = 0;
        if (cp >= 0xC2 && cp <= 0xDF) cp &= 0x1F, suite = 1;
        else if (cp >= 0xE0 && cp <= 0xEF) cp &= 0x0F, suite = 2;
        else if (cp >= 0xF0 && cp <= 0xF4) cp &= 0x07, suite = 3;
        else if (cp >= 0x80) suite = -1;
        for (int k = 0; k < suite; ++k, ++p) {
            if ((*p & 0xC0) != 0x80) suite = -1;
            else cp = (cp << 6) | (*p & 0x3F);
        }
        // A form longer than its character needs is no UTF-8 (surrogates
        // have no code-page character anyway).
        static const unsigned kPlusPetit[] = {0, 0x80, 0x800, 0x10000};
        const int b = suite < 0 || cp < kPlusPetit[suite] ? -1 : cp1252::FromCodePoint(cp);
        if (b < 0 || o + 1 >= room) {
            out[0] = 0;
            return false;
        }
        out[o++] = static_cast<char>(b);
    }
    out[o] = 0;
    return true;
}

int LoadMiroirCharger(const char *path, std::FILE *rapport) {
    assert(path != nullptr && "the mirror file's path must be given");
    LoadMiroirDefinir(nullptr, nullptr);
    std::FILE *f = VLicOuvrirDonnees(path);
    if (f == nullptr) {
        if (rapport) std::fprintf(rapport, "%s : pas de fichier ordinaire à ce nom\n", path);
        return sGenre;
    }
    char texte[LIGNE_LEN + 2];
    int numero = 0, fautive = 0;   // the line the reason is about; 0: the whole file
    const char *raison = kAucuneLigne;
    while (std::fgets(texte, sizeof texte, f)) {
        ++numero;
        size_t n = std::strlen(texte);
        const bool complete = n > 0 && texte[n - 1] == '\n';
        if (complete) texte[--n] = 0;
        if (n > 0 && texte[n - 1] == '\r') texte[--n] = 0;
        char *ligne = texte;
        if (numero == 1 && std::strncmp(ligne, "\xEF\xBB\xBF", 3) == 0) ligne += 3;
        ligne += std::strspn(ligne, " \t");
        if (!complete && !std::feof(f)) {
            // Longer than any mirror: a comment's rest is skipped.
            int c;
            while ((c = std::fgetc(f)) != EOF && c != '\n') {
            }
            if (*ligne == '#') continue;
            raison = "ligne trop longue";
            fautive = numero;
            break;
        }
        if (!*ligne || *ligne == '#') continue;
        fautive = numero;
        char ansi[LIGNE_LEN + 2];
        if (!VersAnsi(ligne, ansi, sizeof ansi)) raison = kEncodage;
        else LoadMiroirDefinir(ansi, &raison);
        break;
    }
    std::fclose(f);
    if (sGenre == LOAD_MIROIR_AUCUN && rapport) {
        if (fautive) std::fprintf(rapport, "%s:%d: %s\n", path, fautive, raison);
        else std::fprintf(rapport, "%s : %s\n", path, raison);
    }
    return sGenre;
}

int LoadMiroirGenre(void) { return sGenre; }
const char *LoadMiroir(void) { return sMiroir; }

// The path below the download base of the maker's address, or null for an
// address that has none.
static const char *SousLaBase(const char *adresse) {
    const size_t n = std::strlen(LOAD_BASE);
    if (!adresse || std::strncmp(adresse, LOAD_BASE, n) != 0 || !adresse[n]) return nullptr;
    return adresse + n;
}

void LoadMiroirAdresse(const char *adresse, char *out, std::size_t taille) {
    assert(out != nullptr && taille > 0 && "room for the address");
    const char *chemin = SousLaBase(adresse);
    if (sGenre == LOAD_MIROIR_AUCUN || !chemin) {
        std::snprintf(out, taille, "%s", adresse ? adresse : "");
        return;
    }
    std::snprintf(out, taille, "%s%s", sPrefixe, chemin);
#ifdef _WIN32
    // The path of a folder on Windows: backslashes (the encoded path below
    // the base holds no backslash of its own: "\\" is written %5C there).
    if (sGenre == LOAD_MIROIR_DOSSIER)
        for (char *p = out + std::min(std::strlen(sPrefixe), std::strlen(out)); *p; ++p)
            if (*p == '/') *p = '\\';
#endif
}

int LoadMiroirFichier(const char *adresse, char *out, std::size_t taille) {
    assert(out != nullptr && taille > 0 && "room for the path");
    out[0] = 0;
    if (sGenre != LOAD_MIROIR_DOSSIER || !SousLaBase(adresse)) return 0;
    char miroir[LOAD_ADRESSE_MIROIR_LEN];
    LoadMiroirAdresse(adresse, miroir, sizeof miroir);
#ifdef _WIN32
    std::snprintf(out, taille, "%s", miroir);
#else
    // The file:// URI back to its path: LoadEncoder undone, "%C2%XX" (a C1
    // control) to the byte XX and any other "%XX" to its byte.
    const char *p = miroir + std::strlen("file://");
    size_t o = 0;
    auto hex = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
    while (*p && o + 1 < taille) {
        if (p[0] == '%' && p[1] && p[2]) {
            const bool c1 = p[1] == 'C' && p[2] == '2' && p[3] == '%' && p[4] && p[5];
            if (c1) p += 3;
            out[o++] = static_cast<char>(hex(p[1]) * 16 + hex(p[2]));
            p += 3;
        } else {
            out[o++] = *p++;
        }
    }
    out[o] = 0;
#endif
    return 1;
}

int LoadMiroirPresent(const char *path) {
    if (!path || !*path) return 0;
    char utf8[4 * LOAD_ADRESSE_MIROIR_LEN];
    if (UiAnsiToUtf8(path, utf8, sizeof utf8) < 0) return 0;
    const std::u8string nom(reinterpret_cast<const char8_t *>(utf8));
    std::error_code erreur;
    return std::filesystem::is_regular_file(std::filesystem::path(nom), erreur) ? 1 : 0;
}

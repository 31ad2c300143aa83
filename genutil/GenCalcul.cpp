// GenCalcul.cpp: the computations of the general library that need no user
// interface: the calendar from 1 January 2000, the "hh:mm:ss" text of a
// duration, rounding with halves toward zero, random integers and booleans
// from the C library's rand(), and the seven-segment table.
//
// Exports (GenUtil.h): Gen7Segments, GenGregorienDerJourMois,
// GenGregorienDate, GenGregorienNbJours, GenSecondesHMS, GenArrondir,
// GenEntierAleatoire, GenBooleenAleatoire; for the tests (GenInterne.h):
// GenTirage, GenEntierDepuisTirage, GenBooleenDepuisTirage.
//
// Data model: a day number counts days from 1 January 2000 (day 0); a date
// is (day of month, month, year offset from 2000). The calendar span is the
// 64 years 2000 to 2063, day numbers 0 to 23375. The module has no state of
// its own; the random operations advance the C library's generator, one
// value per call, and never seed it.
#include "genutil/GenUtil.h"
#include "genutil/GenInterne.h"

#include <cassert>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Years walked by the day-number-to-date conversion: 2000 to 2063.
constexpr int kAnneesCalendrier = 64;
// Largest year offset and month that the date-to-day-number count takes
// (it was made for 8-bit counters); larger values count as this.
constexpr int kCompteMax = 255;

bool EstBissextile(int annee) {
    return (annee % 4 == 0 && annee % 100 != 0) || annee % 400 == 0;
}

// A real number as an int, saturated at the int limits; not-a-number is 0.
// Converting an out-of-range double straight to int is undefined.
int VersEntierSature(double x) {
    if (std::isnan(x)) return 0;
    if (x >= 2147483647.0) return INT_MAX;
    if (x <= -2147483648.0) return INT_MIN;
    return static_cast<int>(x);
}

}  // namespace

const unsigned char Gen7Segments[16] = {
    0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
    0x7F, 0x6F, 0x77, 0x00, 0x39, 0x63, 0x79, 0x71,
};

// Returns 30 for April, June, September and November, 28 or 29 for
// February, 31 for every other value. Never fails.
unsigned char GenGregorienDerJourMois(int mois, int annee) {
    switch (mois) {
        case 4: case 6: case 9: case 11: return 30;
        case 2: return EstBissextile(annee) ? 29 : 28;
        default: return 31;
    }
}

// Writes the date of day `numJour`, or nothing beyond the calendar span.
void GenGregorienDate(int numJour, int &jour, int &mois, int &annee) {
    GenGregorienDate(numJour, &jour, &mois, &annee);
}

void GenGregorienDate(int numJour, int *jour, int *mois, int *annee) {
    // The rank of the day, 1-based; taken wide so that INT_MAX + 1 is no overflow.
    long long rang = static_cast<long long>(numJour) + 1;
    for (int a = 0; a < kAnneesCalendrier; ++a) {
        for (int m = 1; m <= 12; ++m) {
            const int d = GenGregorienDerJourMois(m, 2000 + a);
            if (d >= rang) {
                if (jour) *jour = static_cast<int>(rang);
                if (mois) *mois = m;
                if (annee) *annee = a;
                return;
            }
            rang -= d;
        }
    }
}

// Returns the day number of the date, modulo 65536. Never fails.
unsigned short GenGregorienNbJours(int jour, int mois, int annee) {
    if (annee > kCompteMax) annee = kCompteMax;
    if (mois > kCompteMax) mois = kCompteMax;
    std::uint16_t somme = 0;
    for (int a = 0; a < annee; ++a)
        for (int m = 1; m <= 12; ++m)
            somme = static_cast<std::uint16_t>(somme + GenGregorienDerJourMois(m, 2000 + a));
    const int anneeComplete = 2000 + (annee > 0 ? annee : 0);
    for (int m = 1; m < mois; ++m)
        somme = static_cast<std::uint16_t>(somme + GenGregorienDerJourMois(m, anneeComplete));
    // Unsigned arithmetic: any day value wraps modulo 65536 without overflow.
    return static_cast<unsigned short>(somme + static_cast<unsigned>(jour) - 1u);
}

// Writes the text into `texte` (room given by the caller, see GenUtil.h).
void GenSecondesHMS(double secondes, char *texte, int precision) {
    assert(texte != nullptr && "GenSecondesHMS needs a text buffer");
    // Beyond this the hours would not fit an int; NaN has no sensible text.
    constexpr double kMax = 2147483647.0 * 3600.0;
    double x = secondes;
    if (std::isnan(x)) x = 0.0;
    if (x > kMax) x = kMax;
    if (x < -kMax) x = -kMax;

    const int h = VersEntierSature(std::trunc(x / 3600.0));
    const int m = VersEntierSature(std::trunc((x - h * 3600.0) / 60.0));
    // + 0.0 turns a negative zero into zero, so -0.0 s does not read "-0".
    const double s = x - h * 3600.0 - m * 60.0 + 0.0;

    const char *format;
    switch (precision) {
        case 0: format = "%02d:%02d:%02.0f"; break;
        case 1: format = "%02d:%02d:%04.1f"; break;
        case 2: format = "%02d:%02d:%05.2f"; break;
        default: format = "%02d:%02d:%06.3f"; break;
    }
    char local[64];
    const int n = std::snprintf(local, sizeof local, format, h, m, s);
    assert(n >= 0 && n < GEN_HMS_TAILLE_MAX && "GenSecondesHMS text longer than its documented room");
    std::memcpy(texte, local, static_cast<std::size_t>(n) + 1);
}

// Returns the rounded value, saturated; 0 for not-a-number.
int GenArrondir(double valeur) {
    if (std::isnan(valeur)) return 0;
    const double a = std::fabs(valeur);
    double n = std::floor(a);
    if (a - n > 0.5) n += 1.0;
    return VersEntierSature(valeur < 0 ? -n : n);
}

// Returns one generator value in 0..32767.
int GenTirage(void) {
    // glibc's rand() gives 31 bits; its top bits are the better ones.
    constexpr unsigned long long kDiviseur = (static_cast<unsigned long long>(RAND_MAX) + 1) / 32768u;
    static_assert(kDiviseur >= 1, "rand() must give at least 15 bits");
    return static_cast<int>(static_cast<unsigned long long>(std::rand()) / kDiviseur) & 0x7FFF;
}

// Returns the random integer for value r; bounds it cannot take are
// defined in GenUtil.h.
int GenEntierDepuisTirage(int r, int borneInf, int borneSup) {
    if (borneInf == borneSup) return borneInf;
    // Wide, so that bounds far apart do not overflow.
    const long long ecart = static_cast<long long>(borneSup) - borneInf;
    long long q = 32767 / ecart;
    if (q == 0) q = ecart > 0 ? 1 : -1;
    return VersEntierSature(std::trunc(static_cast<double>(r) / static_cast<double>(q) + borneInf));
}

int GenBooleenDepuisTirage(int r) { return r >= 16383 ? 1 : 0; }

int GenEntierAleatoire(int borneInf, int borneSup) {
    return GenEntierDepuisTirage(GenTirage(), borneInf, borneSup);
}

int GenBooleenAleatoire(void) { return GenBooleenDepuisTirage(GenTirage()); }

// Tests of the general library's computations: calendar, time text,
// rounding, random values and the seven-segment table.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <string>

#include "genutil/GenInterne.h"
#include "genutil/GenUtil.h"

namespace {

std::string Hms(double secondes, int precision) {
    char texte[64];
    std::memset(texte, 'X', sizeof texte);
    GenSecondesHMS(secondes, texte, precision);
    return texte;
}

// How many of the 32768 generator values give each result.
std::map<int, int> Repartition(int borneInf, int borneSup) {
    std::map<int, int> compte;
    for (int r = 0; r <= 32767; ++r) ++compte[GenEntierDepuisTirage(r, borneInf, borneSup)];
    return compte;
}

// The value GenTirage must derive from one raw rand() result.
int Tirage15(int brut) {
    return static_cast<int>(static_cast<unsigned long long>(brut) /
                            ((static_cast<unsigned long long>(RAND_MAX) + 1) / 32768u));
}

}  // namespace

TEST(GenCalendrier, DaysOfMonth) {
    EXPECT_EQ(GenGregorienDerJourMois(2, 2000), 29);
    EXPECT_EQ(GenGregorienDerJourMois(2, 1900), 28);
    EXPECT_EQ(GenGregorienDerJourMois(2, 2024), 29);
    EXPECT_EQ(GenGregorienDerJourMois(2, 2023), 28);
    EXPECT_EQ(GenGregorienDerJourMois(2, 2100), 28);
    EXPECT_EQ(GenGregorienDerJourMois(2, 2400), 29);
    EXPECT_EQ(GenGregorienDerJourMois(2, -4), 29);
    EXPECT_EQ(GenGregorienDerJourMois(2, -100), 28);
    EXPECT_EQ(GenGregorienDerJourMois(2, -400), 29);
    EXPECT_EQ(GenGregorienDerJourMois(2, INT_MIN), 29);   // divisible by 400
    EXPECT_EQ(GenGregorienDerJourMois(12, 2023), 31);
    EXPECT_EQ(GenGregorienDerJourMois(0, 2023), 31);
    EXPECT_EQ(GenGregorienDerJourMois(13, 2023), 31);
    EXPECT_EQ(GenGregorienDerJourMois(-2, 2023), 31);
    const int trente[] = {4, 6, 9, 11};
    for (int m : trente) EXPECT_EQ(GenGregorienDerJourMois(m, 2023), 30) << m;
    const int trenteEtUn[] = {1, 3, 5, 7, 8, 10, 12};
    for (int m : trenteEtUn) EXPECT_EQ(GenGregorienDerJourMois(m, 2023), 31) << m;
}

TEST(GenCalendrier, DateAtTheEdgesOfTheSpan) {
    int j = -7, m = -7, a = -7;
    GenGregorienDate(0, j, m, a);
    EXPECT_EQ(j, 1); EXPECT_EQ(m, 1); EXPECT_EQ(a, 0);
    GenGregorienDate(8825, j, m, a);
    EXPECT_EQ(j, 29); EXPECT_EQ(m, 2); EXPECT_EQ(a, 24);
    GenGregorienDate(23375, j, m, a);
    EXPECT_EQ(j, 31); EXPECT_EQ(m, 12); EXPECT_EQ(a, 63);

    // Beyond the span nothing is written.
    j = m = a = -7;
    GenGregorienDate(23376, j, m, a);
    EXPECT_EQ(j, -7); EXPECT_EQ(m, -7); EXPECT_EQ(a, -7);
    GenGregorienDate(INT_MAX, j, m, a);
    EXPECT_EQ(j, -7); EXPECT_EQ(m, -7); EXPECT_EQ(a, -7);

    // Negative: January 2000 with a day of 0 or below.
    GenGregorienDate(-5, j, m, a);
    EXPECT_EQ(j, -4); EXPECT_EQ(m, 1); EXPECT_EQ(a, 0);
    GenGregorienDate(-1, j, m, a);
    EXPECT_EQ(j, 0); EXPECT_EQ(m, 1); EXPECT_EQ(a, 0);
    GenGregorienDate(INT_MIN, j, m, a);
    EXPECT_EQ(j, INT_MIN + 1); EXPECT_EQ(m, 1); EXPECT_EQ(a, 0);
}

TEST(GenCalendrier, DateThroughAddressesSkipsNullOnes) {
    int j = 0, m = 0, a = 0;
    GenGregorienDate(8825, &j, &m, &a);
    EXPECT_EQ(j, 29); EXPECT_EQ(m, 2); EXPECT_EQ(a, 24);
    int seulMois = 0;
    GenGregorienDate(31, nullptr, &seulMois, nullptr);
    EXPECT_EQ(seulMois, 2);
}

TEST(GenCalendrier, DayNumberOfDates) {
    EXPECT_EQ(GenGregorienNbJours(1, 1, 0), 0);
    EXPECT_EQ(GenGregorienNbJours(29, 2, 24), 8825);
    EXPECT_EQ(GenGregorienNbJours(31, 12, 63), 23375);
    EXPECT_EQ(GenGregorienNbJours(1, 1, 64), 23376);
    // No validation: days and months count on.
    EXPECT_EQ(GenGregorienNbJours(32, 1, 0), 31);
    EXPECT_EQ(GenGregorienNbJours(1, 13, 0), 366);
    EXPECT_EQ(GenGregorienNbJours(1, 14, 0), 366 + 31);   // month 13 has 31 days
    EXPECT_EQ(GenGregorienNbJours(1, 0, 0), 0);
    EXPECT_EQ(GenGregorienNbJours(1, -3, 0), 0);
    EXPECT_EQ(GenGregorienNbJours(0, 1, 0), 65535);       // -1 modulo 65536
    // A negative year offset counts no year and takes the months of 2000.
    EXPECT_EQ(GenGregorienNbJours(1, 3, -5), 31 + 29);
    // Sums wrap modulo 65536: 2000..2179 hold 65744 days.
    EXPECT_EQ(GenGregorienNbJours(1, 1, 180), (65744) % 65536);
    EXPECT_EQ(GenGregorienNbJours(INT_MIN, 1, 0), static_cast<unsigned short>(0u - 1u));
}

TEST(GenCalendrier, YearOffsetsAndMonthsAbove255CountAs255AndEnd) {
    EXPECT_EQ(GenGregorienNbJours(1, 1, 256), GenGregorienNbJours(1, 1, 255));
    EXPECT_EQ(GenGregorienNbJours(5, 3, 300), GenGregorienNbJours(5, 3, 255));
    EXPECT_EQ(GenGregorienNbJours(5, 3, INT_MAX), GenGregorienNbJours(5, 3, 255));
    EXPECT_EQ(GenGregorienNbJours(1, 256, 0), GenGregorienNbJours(1, 255, 0));
    EXPECT_EQ(GenGregorienNbJours(1, INT_MAX, 7), GenGregorienNbJours(1, 255, 7));
    // 255 itself is still counted in full: year 2255 is not a leap year.
    EXPECT_EQ((GenGregorienNbJours(1, 1, 255) - GenGregorienNbJours(1, 1, 254)) & 0xFFFF, 365);
}

TEST(GenCalendrier, RoundTripOverTheWholeSpan) {
    int precedentMois = 12, precedentAnnee = -1;
    for (int n = 0; n <= 23375; ++n) {
        int j = 0, m = 0, a = 0;
        GenGregorienDate(n, j, m, a);
        ASSERT_GE(j, 1) << n;
        ASSERT_LE(j, GenGregorienDerJourMois(m, 2000 + a)) << n;
        ASSERT_GE(m, 1) << n;
        ASSERT_LE(m, 12) << n;
        ASSERT_EQ(GenGregorienNbJours(j, m, a), n) << j << "/" << m << "/" << a;
        // Dates follow one another: a new month starts on day 1.
        if (j == 1) {
            ASSERT_EQ(m, precedentMois % 12 + 1) << n;
            if (m == 1) {
                ASSERT_EQ(a, precedentAnnee + 1) << n;
            }
        }
        precedentMois = m;
        precedentAnnee = a;
    }
    EXPECT_EQ(precedentAnnee, 63);
}

TEST(GenTexteDuree, FormatsByPrecision) {
    EXPECT_EQ(Hms(3725.4567, 0), "01:02:05");
    EXPECT_EQ(Hms(3725.4567, 1), "01:02:05.5");
    EXPECT_EQ(Hms(3725.4567, 2), "01:02:05.46");
    EXPECT_EQ(Hms(3725.4567, 3), "01:02:05.457");
    EXPECT_EQ(Hms(3725.4567, -1), "01:02:05.457");
    EXPECT_EQ(Hms(3725.4567, 4), "01:02:05.457");
    EXPECT_EQ(Hms(0, 0), "00:00:00");
    EXPECT_EQ(Hms(7.25, 2), "00:00:07.25");
    EXPECT_EQ(Hms(7.25, 5), "00:00:07.250");
}

TEST(GenTexteDuree, HoursUnboundedAndSecondsCanRead60) {
    EXPECT_EQ(Hms(90000, 0), "25:00:00");
    EXPECT_EQ(Hms(360000, 0), "100:00:00");
    EXPECT_EQ(Hms(59.6, 0), "00:00:60");
    EXPECT_EQ(Hms(59.95, 1), "00:00:60.0");
    EXPECT_EQ(Hms(3599.9999, 0), "00:59:60");
}

TEST(GenTexteDuree, NegativeDurations) {
    EXPECT_EQ(Hms(-3661.4, 0), "-1:-1:-1");
    EXPECT_EQ(Hms(-0.0, 0), "00:00:00");
}

TEST(GenTexteDuree, ThirteenBytesHoldEveryDurationBelow100Hours) {
    const double cas[] = {0, 0.0004, 59.9995, 3599.9995, 359999.9994, 359999.9999, 99 * 3600 + 59 * 60 + 59.999};
    for (double x : cas)
        for (int p = 0; p <= 3; ++p) {
            char texte[20];
            std::memset(texte, 'X', sizeof texte);
            GenSecondesHMS(x, texte, p);
            EXPECT_LT(std::strlen(texte), 13u) << x << " p" << p << ": " << texte;
        }
}

TEST(GenTexteDuree, ExtremeValuesStayWithinTheDocumentedRoom) {
    const double cas[] = {std::numeric_limits<double>::infinity(),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN(),
                          1e300, -1e300, 2147483647.0 * 3600.0 - 0.001,
                          -2147483647.0 * 3600.0 + 0.001, -2147483646.0 * 3600.0 - 3599.999};
    for (double x : cas)
        for (int p = 0; p <= 3; ++p) {
            char texte[GEN_HMS_TAILLE_MAX + 8];
            std::memset(texte, 'X', sizeof texte);
            GenSecondesHMS(x, texte, p);
            EXPECT_LT(std::strlen(texte), static_cast<size_t>(GEN_HMS_TAILLE_MAX)) << x << " p" << p;
        }
    EXPECT_EQ(Hms(std::numeric_limits<double>::infinity(), 0), "2147483647:00:00");
    EXPECT_EQ(Hms(-std::numeric_limits<double>::infinity(), 0), "-2147483647:00:00");
    EXPECT_EQ(Hms(std::numeric_limits<double>::quiet_NaN(), 1), "00:00:00.0");
}

TEST(GenArrondi, HalvesGoTowardZero) {
    EXPECT_EQ(GenArrondir(2.5), 2);
    EXPECT_EQ(GenArrondir(-2.5), -2);
    EXPECT_EQ(GenArrondir(2.51), 3);
    EXPECT_EQ(GenArrondir(-2.51), -3);
    EXPECT_EQ(GenArrondir(0.5), 0);
    EXPECT_EQ(GenArrondir(-3.7), -4);
    EXPECT_EQ(GenArrondir(-0.4), 0);
    EXPECT_EQ(GenArrondir(-0.0), 0);
    EXPECT_EQ(GenArrondir(1.4999), 1);
    EXPECT_EQ(GenArrondir(3.0), 3);
    EXPECT_EQ(GenArrondir(0.5000001), 1);
}

TEST(GenArrondi, OutOfRangeSaturatesAndNaNGivesZero) {
    EXPECT_EQ(GenArrondir(2147483647.0), INT_MAX);
    EXPECT_EQ(GenArrondir(2147483647.5), INT_MAX);   // the half goes toward zero
    EXPECT_EQ(GenArrondir(2147483647.6), INT_MAX);   // would be 2^31
    EXPECT_EQ(GenArrondir(-2147483648.0), INT_MIN);
    EXPECT_EQ(GenArrondir(-2147483648.5), INT_MIN);
    EXPECT_EQ(GenArrondir(-2147483647.5), -2147483647);
    EXPECT_EQ(GenArrondir(1e300), INT_MAX);
    EXPECT_EQ(GenArrondir(-1e300), INT_MIN);
    EXPECT_EQ(GenArrondir(std::numeric_limits<double>::infinity()), INT_MAX);
    EXPECT_EQ(GenArrondir(-std::numeric_limits<double>::infinity()), INT_MIN);
    EXPECT_EQ(GenArrondir(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(GenArrondir(-std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(GenAleatoire, SmallRangesOverEveryGeneratorValue) {
    std::map<int, int> attendu;
    for (int v = 0; v <= 9; ++v) attendu[v] = 3276;
    attendu[10] = 8;
    EXPECT_EQ(Repartition(0, 10), attendu);
    for (int r = 32760; r <= 32767; ++r) EXPECT_EQ(GenEntierDepuisTirage(r, 0, 10), 10);

    attendu.clear();
    for (int v = 1; v <= 5; ++v) attendu[v] = 6553;
    attendu[6] = 3;
    EXPECT_EQ(Repartition(1, 6), attendu);

    attendu.clear();
    attendu[-10] = 1;
    for (int v = -9; v <= -1; ++v) attendu[v] = 3276;
    attendu[0] = 3283;
    EXPECT_EQ(Repartition(-10, 0), attendu);
    EXPECT_EQ(GenEntierDepuisTirage(0, -10, 0), -10);
}

TEST(GenAleatoire, RangesUpTo193EndAtTheUpperBound) {
    for (int ecart = 1; ecart <= 194; ++ecart) {
        const std::map<int, int> compte = Repartition(0, ecart);
        EXPECT_EQ(compte.begin()->first, 0) << ecart;
        if (ecart <= 193)
            EXPECT_EQ(compte.rbegin()->first, ecart) << ecart;
        else
            EXPECT_EQ(compte.rbegin()->first, 195);
        // Every value below the top comes from the same number of r.
        const int q = 32767 / ecart;
        for (const auto &[v, n] : compte)
            if (v < 32767 / q) {
                EXPECT_EQ(n, q) << ecart << " " << v;
            }
    }
    for (int r = 0; r < 32760; ++r) ASSERT_LE(GenEntierDepuisTirage(r, 0, 194), 194) << r;
    for (int r = 32760; r <= 32767; ++r) EXPECT_EQ(GenEntierDepuisTirage(r, 0, 194), 195);
}

TEST(GenAleatoire, WideAndReversedRanges) {
    // q is 1: any value up to 32767.
    EXPECT_EQ(GenEntierDepuisTirage(32767, 0, 20000), 32767);
    EXPECT_EQ(GenEntierDepuisTirage(12345, 0, 20000), 12345);
    // Reversed bounds: q negative, results 0..10.
    const std::map<int, int> inverse = Repartition(10, 0);
    EXPECT_EQ(inverse.begin()->first, 0);
    EXPECT_EQ(inverse.rbegin()->first, 10);
}

TEST(GenAleatoire, BoundsTheFormulaCannotTakeAreDefined) {
    // Equal bounds: the bound itself.
    for (int r : {0, 1, 16383, 32767}) {
        EXPECT_EQ(GenEntierDepuisTirage(r, 5, 5), 5);
        EXPECT_EQ(GenEntierDepuisTirage(r, INT_MIN, INT_MIN), INT_MIN);
    }
    // More than 32767 apart: quotient 1 (or -1), inside the bounds.
    EXPECT_EQ(GenEntierDepuisTirage(0, 0, 32768), 0);
    EXPECT_EQ(GenEntierDepuisTirage(32767, 0, 32768), 32767);
    EXPECT_EQ(GenEntierDepuisTirage(32767, 0, 40000), 32767);
    EXPECT_EQ(GenEntierDepuisTirage(100, 40000, 0), 39900);
    EXPECT_EQ(GenEntierDepuisTirage(32767, INT_MIN, INT_MAX), INT_MIN + 32767);
    EXPECT_EQ(GenEntierDepuisTirage(32767, INT_MAX, INT_MIN), INT_MAX - 32767);
    // Results beyond the int range saturate.
    EXPECT_EQ(GenEntierDepuisTirage(32767, INT_MAX - 194, INT_MAX), INT_MAX);
    EXPECT_EQ(GenEntierDepuisTirage(32767, INT_MIN + 194, INT_MIN), INT_MIN);
}

TEST(GenAleatoire, BooleanOverEveryGeneratorValue) {
    int uns = 0;
    for (int r = 0; r <= 32767; ++r) {
        ASSERT_EQ(GenBooleenDepuisTirage(r), r >= 16383 ? 1 : 0) << r;
        uns += GenBooleenDepuisTirage(r);
    }
    EXPECT_EQ(uns, 16385);
}

TEST(GenAleatoire, PublicOperationsDrawOneRandValueEachAndNeverSeed) {
    constexpr int kNb = 2000;
    std::srand(1234);
    int bruts[3 * kNb];
    for (int &b : bruts) b = std::rand();

    std::srand(1234);
    for (int i = 0; i < kNb; ++i) {
        ASSERT_EQ(GenEntierAleatoire(0, 10), GenEntierDepuisTirage(Tirage15(bruts[3 * i]), 0, 10)) << i;
        ASSERT_EQ(GenBooleenAleatoire(), GenBooleenDepuisTirage(Tirage15(bruts[3 * i + 1]))) << i;
        ASSERT_EQ(GenEntierAleatoire(7, 7), 7);   // equal bounds still draw
    }
    // Every draw lies in 0..32767 and the generator's values spread over it.
    std::srand(99);
    int minimum = 32767, maximum = 0;
    for (int i = 0; i < 20000; ++i) {
        const int r = GenTirage();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
        minimum = std::min(minimum, r);
        maximum = std::max(maximum, r);
    }
    EXPECT_LT(minimum, 100);
    EXPECT_GT(maximum, 32667);
    // The same seed gives the same results: nothing reseeds in between.
    std::srand(42);
    const int a = GenEntierAleatoire(1, 6), b = GenEntierAleatoire(1, 6), c = GenBooleenAleatoire();
    std::srand(42);
    EXPECT_EQ(GenEntierAleatoire(1, 6), a);
    EXPECT_EQ(GenEntierAleatoire(1, 6), b);
    EXPECT_EQ(GenBooleenAleatoire(), c);
}

TEST(GenSeptSegments, TableOfPatterns) {
    const unsigned char attendu[16] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07,
                                       0x7F, 0x6F, 0x77, 0x00, 0x39, 0x63, 0x79, 0x71};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(Gen7Segments[i], attendu[i]) << i;
        EXPECT_EQ(Gen7Segments[i] & 0x80, 0) << i;
    }
    EXPECT_EQ(sizeof Gen7Segments, 16u);
    // 8 lights every segment; the degree sign is a, b, f and g.
    EXPECT_EQ(Gen7Segments[8], 0x7F);
    EXPECT_EQ(Gen7Segments[13], (1 << 0) | (1 << 1) | (1 << 5) | (1 << 6));
}

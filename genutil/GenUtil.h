// GenUtil.h: the maker's general-purpose library, for application code.
//
// What it offers, by area:
//   1. Calendar, time text, rounding, random values and the seven-segment
//      table: plain computations with no state and no user interface
//      (GenCalcul.cpp). They need neither Qt nor the run-time layer.
//   2. Screen and panel chores: masking the desktop, dimming a list of
//      panels, comparing the screen with a panel, printing the active panel,
//      and the wait popup (GenEcran.cpp).
//   3. The error popup, a modal one- or two-button message (GenErreur.cpp).
//   4. Hover buttons: captions that appear under the mouse (GenSurvol.cpp).
// Areas 2 to 4 sit on the run-time layer (ui/userint.h) only, and run on the
// user-interface thread. Their popups come from the library's own resource
// file "FenGen.uir" (panel 3: error popup, panel 4: wait popup), a binary
// resource bundle in the program's folder.
//
// Conventions: dates count days from 1 January 2000 (day 0) and carry the year
// as an offset from 2000 (24 is 2024). Text is Windows-1252, zero-terminated.
// Nothing here reports errors: every operation computes or does what it can
// from what it is given; the few cases where a plain formula would divide by
// zero, overflow or never end are defined below, operation by operation.
#ifndef VLIC_GENUTIL_GENUTIL_H
#define VLIC_GENUTIL_GENUTIL_H

// ------------------------------------------------------------------------
// 1. Calendar, time text, rounding, random values, seven-segment table
// ------------------------------------------------------------------------

// Seven-segment patterns of the hexadecimal digits, one byte per index 0..15.
// Bit 0 is segment a (top), then b (upper right), c (lower right), d (bottom),
// e (lower left), f (upper left), g (middle); bit 7 is always 0. Index 11 is
// blank (no segment lit) and index 13 is the degree sign (a, b, f, g), not
// the digits b and d.
extern const unsigned char Gen7Segments[16];

// Days of month `mois` (1..12) of the full year `annee` (e.g. 2024): 28 to 31.
// Gregorian leap years (divisible by 4 and not by 100, or by 400; a negative
// year follows the rule of its magnitude). Any month value other than
// 2, 4, 6, 9, 11 has 31 days, including 0, negative values and values above 12.
unsigned char GenGregorienDerJourMois(int mois, int annee);

// Day number to date. Walks the 64 years 2000 to 2063 (day numbers 0 to
// 23375) and writes the day of month (1-based), the month (1..12) and the year
// offset (0..63). A day number of 23376 or more writes nothing: the outputs
// keep what they held, so a caller that wants to detect it presets them. A
// negative day number writes month 1, year offset 0 and the day number plus 1
// as the day (0 or below).
void GenGregorienDate(int numJour, int &jour, int &mois, int &annee);
// The same for callers that pass addresses; a null address is not written.
void GenGregorienDate(int numJour, int *jour, int *mois, int *annee);

// Date to day number, the inverse of GenGregorienDate over its span: the days
// of the whole years 2000 .. 2000 + annee - 1, plus the days of the months
// 1 .. mois - 1 of the year 2000 + annee (2000 when annee <= 0), plus jour - 1.
// All sums are taken modulo 65536. Nothing is validated: day 32 of January is
// 1 February, month 13 adds the whole year, a month of 1 or less adds no
// month. A year offset or a month above 255 lies outside what the count was
// made for (8-bit counters); it counts as 255, so the call always ends quickly.
unsigned short GenGregorienNbJours(int jour, int mois, int annee);

// Room that GenSecondesHMS needs for any duration, terminating zero included.
// 13 bytes are enough for every duration from 0 up to, but not including,
// 100 hours, at any precision.
enum { GEN_HMS_TAILLE_MAX = 24 };

// Writes the duration `secondes` as "hh:mm:ss" into `texte`, with the seconds
// at `precision` decimals: 0, 1, 2, and 3 for any other value. The hours and
// the minutes are truncated toward zero, then the seconds are rounded by the
// format, so the seconds can read 60 (59.6 s at precision 0 is "00:00:60").
// Hours are not taken modulo 24 and use as many digits as needed; a negative
// duration gives negative fields (-3661.4 s is "-1:-1:-1").
// The function takes no buffer size: the caller gives room for the whole text
// (13 bytes for 0 <= secondes < 360000, GEN_HMS_TAILLE_MAX for any value).
// Durations beyond about 2^31 hours are written as that many hours
// (2147483647 or -2147483647, 0 minutes, 0 seconds); not-a-number is written
// as 0 seconds.
void GenSecondesHMS(double secondes, char *texte, int precision);

// Rounds to the nearest integer; exact halves go toward zero (2.5 gives 2,
// -2.5 gives -2, 2.51 gives 3, -3.7 gives -4). A value whose rounded magnitude
// does not fit an int saturates at INT_MAX or INT_MIN (infinities too);
// not-a-number gives 0.
int GenArrondir(double valeur);

// A pseudo-random integer from the C library's rand(), brought to 0..32767
// (its 15 top bits where RAND_MAX is larger, so that every platform gives the
// same distribution): r / (32767 / (borneSup - borneInf)) + borneInf, the
// quotient in integer division, the sum taken as a real number and truncated
// toward zero. For borneInf < borneSup with a gap of 1 to 193 the result lies
// in borneInf..borneSup, the top value being rarer; wider gaps can exceed
// borneSup (0, 20000 can give up to 32767). Bounds in reverse order follow the
// same formula (10, 0 gives 0..10).
// Bounds the formula cannot take: equal bounds give borneInf; bounds more
// than 32767 apart (the quotient would be 0) use a quotient of 1 (or -1 for
// reversed bounds), giving borneInf + r (or borneInf - r); a result beyond the
// int range saturates. Each call draws exactly one rand() value.
// The library never seeds the generator; that is the application's business.
int GenEntierAleatoire(int borneInf, int borneSup);

// 1 or 0 from one rand() value (brought to 0..32767 as above): 1 for 16383 to
// 32767, 0 for 0 to 16382.
int GenBooleenAleatoire(void);

// ------------------------------------------------------------------------
// 2. Screen and panel utilities
// ------------------------------------------------------------------------

// Covers the desktop with a top-level panel without title bar, at 0, 0, as
// large as the screen but at least 800 wide and 600 high (both replaced when
// either is short), of background colour `couleur` (0xRRGGBB), and displays
// it. Returns the panel handle as the run-time gave it (negative on failure).
// The panel is the caller's: DiscardPanel it to see the desktop again.
int GenMasquerBureau(int couleur);

// Sets the dimmed attribute of each of the first `nbPanels` panels of
// `panels` to `dimmed` (1 dim, 0 undim), in order.
void GenDimmedPanel(int dimmed, int nbPanels, const int panels[]);

// 1 when the screen is smaller than a panel of that size in either
// dimension, 0 otherwise (equal sizes fit).
int GenTailleEcranInferieurTaillePanel(int hauteur, int largeur);

// Prints the active panel on the default printer, fitted to the page in
// portrait, under the wait cursor. `flag` is passed unchanged to the
// run-time's PrintPanelAnsi.
void GenPrintPanel(int flag);

// Position (top, left) at which the next wait popup will open; an open one
// does not move. VAL_AUTO_CENTER centres it, as at start.
void GenWaitSetPos(int top, int left);

// Shows the wait popup with `message`, or replaces the message of the open
// one. Opening: wait cursor on, `parent` dimmed when > 0, panel 4 of
// "FenGen.uir" loaded inside `parent` (top-level for 0), placed at the
// position of GenWaitSetPos and displayed. While it is open, `parent` is
// ignored: the panel dimmed at opening stays the one undimmed at closing.
// The library keeps a copy of the message of at most 255 bytes; a longer
// message is cut there. A null message counts as "".
void GenWait(int parent, const char *message);

// Closes the wait popup: discards it, undims the parent of its opening and
// turns the wait cursor off. Does nothing when none is open.
void GenFermerWait(void);

// ------------------------------------------------------------------------
// 3. Error popup
// ------------------------------------------------------------------------

// Shows a modal popup (panel 3 of "FenGen.uir") and waits until the user
// commits one of its controls. `titre` heads the message box, `message` fills
// it, `details` fills the box below ("" for none: the popup is then cut to
// 105 pixels high and shows no details; a null text counts as ""), `bouton1` is
// the first button's caption, `bouton2Visible` (1 or 0) shows the second
// button, captioned `bouton2`. The panel active at the call is dimmed meanwhile.
// Returns 1 for the first button, 2 for the second, 0 for a commit of any
// other control of the popup, and 0 at once when the popup cannot be loaded
// (or as soon as it is discarded by other code while it waits).
// The wait cursor is turned off and the normal mouse cursor set at the start;
// neither is restored on return.
int GenAfficheErreur(const char *titre, const char *message, const char *details,
                     const char *bouton1, int bouton2Visible, const char *bouton2);

// ------------------------------------------------------------------------
// 4. Hover buttons
// ------------------------------------------------------------------------
// Called again and again while a panel is up, each hover operation samples
// the mouse and, when the hovered control of its list differs from the one
// its previous call found, sets the link cursor (14) and shows that
// control's label while hiding the labels of the others among the first `m`
// (or, over none, sets the normal cursor and hides the first `m` labels).
// `ctrls` holds at least `n` control ids of panel `panel`; the mouse counts as
// over a control from its top-left corner to one pixel beyond its width and
// height. The first matching control of the list wins. Each operation keeps
// its own memory of the last result; they share one on/off switch.

// Turns every hover operation on (non-zero) or off (0). The switch keeps the
// low 8 bits of its argument. Turning it off leaves cursor, labels and
// memories as they are.
void GenActiverSurvol(char actif);

// Hides the labels of the first `nb` controls of `ctrls`, in order. The
// memories of the hover operations are not touched.
void GenEffaceLabel(int panel, int nb, const int ctrls[]);

// Hover over visible controls that are neither dimmed nor indicators, or over
// every visible control when `inclure` is not 0. Only while `panel` is the
// active panel.
void GenSurvolBpV1(int panel, int n, int m, const int ctrls[], int inclure);
// Same as GenSurvolBpV1, with a memory of its own.
void GenSurvolBpV2(int panel, int n, int m, const int ctrls[], int inclure);
// Hover over visible, undimmed controls, indicators included. Only while
// `panel` is the active panel.
void GenSurvolBp(int panel, int n, int m, const int ctrls[]);
// As GenSurvolBp, whichever panel is active.
void GenSurvolBpMultiFen(int panel, int n, int m, const int ctrls[]);

#endif

// VLicRows.cpp: the built-in rows of the catalogue, Veltrane's product range,
// and VLicProdInit, which writes them into VLicProdG.
//
// Exports: VLicProdInit (declared in app/VLic.h). tools/mkcatalogue.cpp calls
// it on a fresh table and saves the result as the bundled "Veltrane.vlicprod".
//
// Data model: one row per catalogue slot that the maker uses, between 10 and
// 310: every multiple of 10 is a main product, the numbers right after one
// are its parts or variants. A code of 0 keeps a slot named but unlisted
// (products no longer sold); hidden rows appear only in the long product
// list. Names are Windows-1252, at most 31 characters, and become folder and
// archive names on the download site (blanks turn to "-", é è ê to "e", the
// part from " (" on is cut), so they avoid apostrophes and other punctuation.
// Several downloads rules hang on particular rows: the parts 21 to 23 of the
// robot 20, the "-FC" variant 101 of 100, the word in brackets of 60 (the
// site's name for that bench), the weighing doser 70 and its Ethernet
// supervision 80 (whose name is part of an installer's file name, hence one
// word), the "-V2" arm 170, the timing box 180, the vehicle 190 and 191, the
// quadrotor 230 to 233 (230's name is used as stored in an address: one word
// without accents), the motor-drive benches 250 and 260, the 3D printer 270
// and the Ethernet gateway 32.
#include <cassert>
#include <cstring>

#include "app/VLic.h"
#include "ui/cp1252.h"

namespace {

struct VLicLigne {
    int numero;        // product number, the record's index
    const char *nom;   // Windows-1252, at most 31 characters
    int code;          // 0: named but not listed
    int cache;         // nonzero: in the long list only
};

// ---------------------------------------------------------------- state
// sLignes: the rows, in product-number order; read-only.
const VLicLigne sLignes[] = {
    {10, "Mallette Capteurs et Mesures", 1, 0},
    {20, "Robot Manipulateur RM5", 20510, 0},
    {21, "Robot RM5 Pince Électrique"_cp1252, 20511, 1},
    {22, "Robot RM5 Convoyeur", 20512, 1},
    {23, "Robot RM5 Vision", 20513, 1},
    {30, "Banc Pompe Centrifuge", 30120, 0},
    {31, "Banc Pompe Centrifuge V1", 0, 0},
    {32, "Passerelle Modbus Pompe", 30125, 1},
    {40, "Maison Domotique", 40200, 0},
    {50, "Éolienne Pédagogique"_cp1252, 50310, 1},
    {60, "Banc Hydraulique (Hydrolab)", 60415, 0},
    {70, "Dosipèse"_cp1252, 70520, 0},
    {80, "DosiNet", 80530, 0},
    {90, "Serre Automatisée"_cp1252, 90640, 1},
    {100, "Convoyeur Tri Colis", 100700, 0},
    {101, "Convoyeur Tri Colis FC", 100701, 1},
    {110, "Station Météo Connectée"_cp1252, 110805, 0},
    {120, "Fenêtre Domotique"_cp1252, 120910, 1},
    {121, "Fenêtre Domotique Volet"_cp1252, 0, 0},
    {130, "Ensacheuse Pondérale"_cp1252, 130215, 0},
    {140, "Ascenseur (3 Niveaux)", 140320, 1},
    {150, "Portail Automatique", 150425, 1},
    {160, "Barrière Levante (Parking)"_cp1252, 160530, 0},
    {170, "Bras Robotisé Delta"_cp1252, 170635, 0},
    {180, "Chronobox", 180740, 0},
    {190, "Véhicule Autonome"_cp1252, 190845, 0},
    {191, "Véhicule Autonome Lidar"_cp1252, 190846, 1},
    {200, "Tapis Roulant Modulaire", 200950, 1},
    {210, "Bâtiment Basse Énergie"_cp1252, 210155, 0},
    {220, "Cellule Palettisation", 220260, 1},
    {230, "Quadrirotor", 230365, 0},
    {231, "Quadrirotor Caméra"_cp1252, 230366, 1},
    {232, "Quadrirotor Station Sol", 230367, 1},
    {233, "Quadrirotor Simulateur", 230368, 1},
    {240, "Monte-Charge Didactique", 240470, 1},
    {250, "Banc Moteur Brushless", 250575, 0},
    {260, "Variateur Asynchrone (Banc)", 260680, 0},
    {261, "Variateur Frein Poudre", 260681, 1},
    {270, "Imprimante 3D Modula", 270785, 0},
    {280, "Maquette Ferroviaire", 280890, 1},
    {290, "Robot Mobile Suiveur", 290305, 0},
    {300, "Banc Énergie Solaire"_cp1252, 1950, 1},
    {301, "Suiveur Solaire", 0, 0},
    {310, "Axe Linéaire Asservi"_cp1252, 606, 0},
};

}  // namespace

// Writes each row's name (padded with NULs), code, hidden flag and reserved
// fields (the three integers 0, the four texts empty and NUL-filled) into its
// record. Nothing else is touched: other slots, and bytes 52 to 67 of every
// record, keep their values; the table is not cleared first. No result.
void VLicProdInit(void) {
    for (const VLicLigne &l : sLignes) {
        assert(l.numero > 0 && l.numero < VLIC_PROD_MAX && "a row's number must be a product number");
        assert(std::strlen(l.nom) < VLIC_PROD_NAME_LEN && "a row's name must fit its field with its NUL");
        VLicProdRec &r = VLicProdG[l.numero];
        std::memset(r.name, 0, sizeof r.name);
        std::memcpy(r.name, l.nom, std::strlen(l.nom));
        r.code = l.code;
        r.reserved1 = 0;
        r.reserved2 = 0;
        r.reserved3 = 0;
        r.hidden = l.cache;
        std::memset(r.texts, 0, sizeof r.texts);
    }
}

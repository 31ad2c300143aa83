// The command-line listings, run as the program itself: "VLicEnr --adresses N"
// for every product of the bundled catalogue, held against lines written by
// hand from the product rules, and "VLicEnr --produits", plus the failures
// (usage, missing catalogue).
//
// The expected lines use '|' for the TAB and these stand-ins for the lines
// that every product shares; {B} is the download base and {P5} {P6} {P7} the
// rows of dots of the manual buttons' labels, read from the panel resource.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/VLic.h"
#include "app/VLicEnr.h"
#include "downloads/VLicLoad.h"
#include "ui/FVLicEnr.h"
#include "ui/userint.h"

namespace {

const char *const kBase = "https://www.veltrane.fr/telecharger/";

struct Remplacement {
    const char *cle;
    const char *ligne;
};
const Remplacement kCommunes[] = {
    {"{D4}", "4|DECORATION_2||"},
    {"{T15}", "15|TXT_PROF|(Dossier Technique, Manuels Logiciels, TP,\\nDessins, Modèles, etc.)|"},
    {"{T17}", "17|TXT_IHM|(Pilotage, Paramétrage et Acquisition)|"},
    {"{H3}", "20|LAB_3|Manuels :|\n21|LAB_4|Utilitaires :|\n22|LAB_5|Dossier Technique :|"},
    {"{T23}", "23|TXT_EMP|(Environnement Multimédia Pédagogique)|"},
    {"{H1}", "24|LAB_1|Logiciels :|\n25|LAB_2|Ressources :|"},
    {"{CODEC}", "12|BP_1|Codec ''Lecteur Windows Media'' pour Vidéos EMP|{B}Pilote/K-Lite_Codec_Pack_Basic.zip"},
    {"{EPOS2}", "10|BP_2|Pilote USB carte de commande MAXON EPOS|{B}Pilote/EPOS2_USB_Driver.zip"},
    {"{MOXA4_2}", "10|BP_2|Pilote Adaptateur RS485/USB ''Moxa UPort-1130''|{B}Pilote/Moxa/Moxa-UPort-1100-1130.zip"},
};

struct Attendu {
    int product;
    const char *lignes;
};

// One entry per catalogued product: what its downloads panel shows.
const Attendu kAttendus[] = {
{10, R"(3|PROD|Mallette Capteurs et Mesures|
{D4}
6|PDF_DT|{P6}|{B}Mallette-Capteurs-et-Mesures_DT.zip
13|BP_PROF|Dossier Professeur|{B}Mallette-Capteurs-et-Mesures_Professeur.zip
{T15}
{H3}
{H1})"},
{20, R"(3|PROD|Robot Manipulateur RM5|
{D4}
5|PDF_IHM|{P5}|{B}Robot-Manipulateur-RM5-E_MIHM.zip
6|PDF_DT|{P6}|{B}Robot-Manipulateur-RM5-E_DT.zip
7|PDF_EMP|{P7}|{B}Robot-Manipulateur-RM5_MEMP.zip
{EPOS2}
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Robot-Manipulateur-RM5-E_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Robot-Manipulateur-RM5_V3-1.zip
{T15}
16|BP_EMP|EMP|{B}Robot-Manipulateur-RM5_EMP_V2-1.zip
{T17}
18|V_IHM|V3-1 |
19|V_EMP|V2-1 |
{H3}
{T23}
{H1})"},
{21, R"(3|PROD|Robot RM5 Pince Électrique|
{D4}
5|PDF_IHM|{P5}|{B}Robot-Manipulateur-RM5-V2_MIHM.zip
6|PDF_DT|{P6}|{B}Robot-Manipulateur-RM5-V2_DT.zip
7|PDF_EMP|{P7}|{B}Robot-Manipulateur-RM5_MEMP.zip
13|BP_PROF|Dossier Professeur|{B}Robot-Manipulateur-RM5_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Robot-Manipulateur-RM5_V2-4.zip
{T15}
16|BP_EMP|EMP|{B}Robot-Manipulateur-RM5_EMP_V2-1.zip
{T17}
18|V_IHM|V2-4 |
19|V_EMP|V2-1 |
{H3}
{T23}
{H1})"},
{22, R"(3|PROD|Robot RM5 Convoyeur|
{D4}
7|PDF_EMP|{P7}|{B}Robot-RM5-Convoyeur_MEMP.zip
13|BP_PROF|Dossier Professeur|{B}Robot-RM5-Convoyeur_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Robot-RM5-Convoyeur_EMP_V1-4.zip
19|V_EMP|V1-4 |
{H3}
{T23}
{H1})"},
{23, R"(3|PROD|Robot RM5 Vision|
{D4}
5|PDF_IHM|{P5}|{B}Robot-RM5-Vision_MIHM.zip
6|PDF_DT|{P6}|{B}Robot-RM5-Vision_MEMP.zip
13|BP_PROF|Dossier Professeur|{B}Robot-RM5-Vision_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Robot-RM5-Vision_V1-0.zip
{T15}
{T17}
18|V_IHM|V1-0 |
{H3}
{H1})"},
{30, R"(3|PROD|Banc Pompe Centrifuge|
{D4}
5|PDF_IHM|{P5}|{B}Banc-Pompe-Centrifuge_MIHM.zip
6|PDF_DT|{P6}|{B}Banc-Pompe-Centrifuge_DT.zip
7|PDF_EMP|{P7}|{B}Banc-Pompe-Centrifuge_MEMP.zip
{MOXA4_2}
13|BP_PROF|Dossier Professeur|{B}Banc-Pompe-Centrifuge_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Banc-Pompe-Centrifuge_V2-0.zip
{T15}
16|BP_EMP|EMP|{B}Banc-Pompe-Centrifuge_EMP_V1-3.zip
{T17}
18|V_IHM|V2-0 |
19|V_EMP|V1-3 |
{H3}
{T23}
{H1})"},
{32, R"(3|PROD|Passerelle Modbus Pompe|
{D4}
5|PDF_IHM|{P5}|{B}Passerelle-Modbus-Pompe_MIHM.zip
6|PDF_DT|{P6}|{B}Passerelle-Modbus-Pompe_DT.zip
10|BP_2|''MGate Manager'' pour passerelle Ethernet ''Moxa MGate''|{B}Pilote/Moxa/MGate_Manager.zip
11|BP_3|''MGate Conf.'' pour passerelle Ethernet ''Moxa NPort-6110''|{B}Pilote/Moxa/Modbus_Gateway_Configurator.zip
13|BP_PROF|Dossier Professeur|{B}Passerelle-Modbus-Pompe_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Passerelle-Modbus-Pompe_V1-1.zip
{T15}
{T17}
18|V_IHM|V1-1 |
{H3}
{H1})"},
{40, R"(3|PROD|Maison Domotique|
{D4}
6|PDF_DT|{P6}|{B}Maison-Domotique_DT.zip
7|PDF_EMP|{P7}|{B}Maison-Domotique_MEMP.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Maison-Domotique_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Maison-Domotique_EMP_V1-2.zip
19|V_EMP|V1-2 |
{H3}
{T23}
{H1})"},
{50, R"(3|PROD|Éolienne Pédagogique|
{D4}
6|PDF_DT|{P6}|{B}Éolienne-Pedagogique_DT.zip
13|BP_PROF|Dossier Professeur|{B}Éolienne-Pedagogique_Professeur.zip
{T15}
{H3}
{H1})"},
{60, R"(3|PROD|Banc Hydraulique (Hydrolab)|
{D4}
5|PDF_IHM|{P5}|{B}Banc-Hydraulique_MIHM.zip
6|PDF_DT|{P6}|{B}Hydrolab_DT.zip
7|PDF_EMP|{P7}|{B}Banc-Hydraulique_MEMP.zip
{MOXA4_2}
13|BP_PROF|Dossier Professeur|{B}Hydrolab_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Banc-Hydraulique_V1-6.zip
{T15}
16|BP_EMP|EMP|{B}Banc-Hydraulique_EMP_V2-0.zip
{T17}
18|V_IHM|V1-6 |
19|V_EMP|V2-0 |
{H3}
{T23}
{H1})"},
{70, R"(3|PROD|Dosipèse|
{D4}
5|PDF_IHM|{P5}|{B}Dosipese_MSPV.zip
6|PDF_DT|{P6}|{B}Dosipese_DT.zip
7|PDF_EMP|{P7}|{B}Dosipese_MEMP.zip
10|BP_2|''eNodView'' pour conditionneur ''eNod3'' (Pesée)|{B}Pilote/eNodview_fr_Setup.zip
11|BP_3|''MGate Manager'' pour passerelle Ethernet ''Moxa MGate''|{B}Pilote/Moxa/MGate_Manager.zip
13|BP_PROF|Dossier Professeur|{B}Dosipese_Professeur.zip
14|BP_IHM|Supervision |{B}Installer_Supervision_Dosipese_V2-3.zip
{T15}
16|BP_EMP|EMP|{B}Dosipese_EMP_V1-1.zip
{T17}
18|V_IHM|V2-3 |
19|V_EMP|V1-1 |
{H3}
{T23}
{H1})"},
{80, R"(3|PROD|DosiNet|
{D4}
5|PDF_IHM|{P5}|{B}DosiNet_MIHM.zip
6|PDF_DT|{P6}|{B}DosiNet_DT.zip
10|BP_2|Supervision (Ethernet) DosiNet et Doseur Dosipèse|{B}Installer_Supervision_DosiNet_V1-0.zip
13|BP_PROF|Dossier Professeur|{B}DosiNet_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_DosiNet_V1-0.zip
{T15}
{T17}
18|V_IHM|V1-0 |
{H3}
{H1})"},
{90, R"(3|PROD|Serre Automatisée|
{D4}
6|PDF_DT|{P6}|{B}Serre-Automatisee_DT.zip
7|PDF_EMP|{P7}|{B}Serre-Automatisee_MEMP.zip
{MOXA4_2}
13|BP_PROF|Dossier Professeur|{B}Serre-Automatisee_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Serre-Automatisee_EMP_V1-0.zip
19|V_EMP|V1-0 |
{H3}
{T23}
{H1})"},
{100, R"(3|PROD|Convoyeur Tri Colis|
{D4}
5|PDF_IHM|{P5}|{B}Convoyeur-Tri-Colis_MIHM.zip
6|PDF_DT|{P6}|{B}Convoyeur-Tri-Colis-FC_DT.zip
7|PDF_EMP|{P7}|{B}Convoyeur-Tri-Colis_MEMP.zip
13|BP_PROF|Dossier Professeur|{B}Convoyeur-Tri-Colis_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Convoyeur-Tri-Colis_V1-5.zip
{T15}
16|BP_EMP|EMP|{B}Convoyeur-Tri-Colis-FC_EMP_V2-1.zip
{T17}
18|V_IHM|V1-5 |
19|V_EMP|V2-1 |
{H3}
{T23}
{H1})"},
// 101 is sold under 100's items: same ring entry, same addresses.
{101, R"(3|PROD|Convoyeur Tri Colis|
{D4}
5|PDF_IHM|{P5}|{B}Convoyeur-Tri-Colis_MIHM.zip
6|PDF_DT|{P6}|{B}Convoyeur-Tri-Colis-FC_DT.zip
7|PDF_EMP|{P7}|{B}Convoyeur-Tri-Colis_MEMP.zip
13|BP_PROF|Dossier Professeur|{B}Convoyeur-Tri-Colis_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Convoyeur-Tri-Colis_V1-5.zip
{T15}
16|BP_EMP|EMP|{B}Convoyeur-Tri-Colis-FC_EMP_V2-1.zip
{T17}
18|V_IHM|V1-5 |
19|V_EMP|V2-1 |
{H3}
{T23}
{H1})"},
{110, R"(3|PROD|Station Météo Connectée|
{D4}
5|PDF_IHM|{P5}|{B}Station-Meteo-Connectee_MIHM.zip
6|PDF_DT|{P6}|{B}Station-Meteo-Connectee_DT.zip
10|BP_2|Pilote Adaptateur RS232/USB ''Moxa UPort-1110''|{B}Pilote/Moxa/Moxa-UPort-1100-1130.zip
13|BP_PROF|Dossier Professeur|{B}Station-Meteo-Connectee_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Station-Meteo-Connectee_V4-2.zip
{T15}
{T17}
18|V_IHM|V4-2 |
{H3}
{H1})"},
{120, R"(3|PROD|Fenêtre Domotique|
{D4}
6|PDF_DT|{P6}|{B}Fenetre-Domotique_DT.zip
13|BP_PROF|Dossier Professeur|{B}Fenetre-Domotique_Professeur.zip
{T15}
{H3}
{H1})"},
{130, R"(3|PROD|Ensacheuse Pondérale|
{D4}
5|PDF_IHM|{P5}|{B}Ensacheuse-Ponderale_MSPV.zip
6|PDF_DT|{P6}|{B}Ensacheuse-Ponderale_DT.zip
7|PDF_EMP|{P7}|{B}Ensacheuse-Ponderale_MEMP.zip
10|BP_2|''eNodView'' pour conditionneur ''eNod3'' (Pesée)|{B}Pilote/eNodview_fr_Setup.zip
11|BP_3|Pilote Adaptateur RS485/USB ''Moxa UPort-1130''|{B}Pilote/Moxa/Moxa-UPort-1100-1130.zip
13|BP_PROF|Dossier Professeur|{B}Ensacheuse-Ponderale_Professeur.zip
14|BP_IHM|Supervision |{B}Installer_Supervision_Ensacheuse-Ponderale_V1-8.zip
{T15}
16|BP_EMP|EMP|{B}Ensacheuse-Ponderale_EMP_V1-2.zip
{T17}
18|V_IHM|V1-8 |
19|V_EMP|V1-2 |
{H3}
{T23}
{H1})"},
{140, R"(3|PROD|Ascenseur (3 Niveaux)|
{D4}
6|PDF_DT|{P6}|{B}Ascenseur_DT.zip
7|PDF_EMP|{P7}|{B}Ascenseur_MEMP.zip
13|BP_PROF|Dossier Professeur|{B}Ascenseur_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Ascenseur_EMP_V10-3.zip
19|V_EMP|V10-3 |
{H3}
{T23}
{H1})"},
{150, R"(3|PROD|Portail Automatique|
{D4}
5|PDF_IHM|{P5}|{B}Portail-Automatique_MIHM.zip
13|BP_PROF|Dossier Professeur|{B}Portail-Automatique_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Portail-Automatique_V1-0.zip
{T15}
{T17}
18|V_IHM|V1-0 |
{H3}
{H1})"},
{160, R"(3|PROD|Barrière Levante (Parking)|
{D4}
6|PDF_DT|{P6}|{B}Barriere-Levante_DT.zip
13|BP_PROF|Dossier Professeur|{B}Barriere-Levante_Professeur.zip
{T15}
{H3}
{H1})"},
{170, R"(3|PROD|Bras-Robotise-Delta-V2|
{D4}
5|PDF_IHM|{P5}|{B}Bras-Robotise-Delta-V2_MIHM.zip
6|PDF_DT|{P6}|{B}Bras-Robotise-Delta-V2_DT.zip
7|PDF_EMP|{P7}|{B}Bras-Robotise-Delta-V2_MEMP.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Bras-Robotise-Delta-V2_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Bras-Robotise-Delta-V2_V2-2.zip
{T15}
16|BP_EMP|EMP|{B}Bras-Robotise-Delta-V2_EMP_V2-0.zip
{T17}
18|V_IHM|V2-2 |
19|V_EMP|V2-0 |
{H3}
{T23}
{H1})"},
{180, R"(3|PROD|Chronobox|
{D4}
5|PDF_IHM|{P5}|{B}Chronobox_MIHM.zip
6|PDF_DT|{P6}|{B}Chronobox_DT.zip
7|PDF_EMP|{P7}|{B}Chronobox_MEMP.zip
10|BP_2|Interface PC ''Start Clock HL940 Manager'' TAG-Heuer|{B}Installer_MiniDisplay_Manager_HL975_ZUM.zip
11|BP_3|Pilote Adaptateur RS232/USB ''Moxa UPort-1110''|{B}Pilote/Moxa/Moxa-UPort-1100-1130.zip
12|BP_1|Interface PC ''MiniDisplay HL975 Manager'' TAG-Heuer|{B}Installer_MiniDisplay_Manager_HL975_ZUM.zip
13|BP_PROF|Dossier Professeur|{B}Chronobox_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_HL7.zip
{T15}
16|BP_EMP|EMP|{B}Chronobox_EMP_V1-1.zip
17|TXT_IHM|(Acquisition Tops Chronos avec Boitier Chronobox)|
18|V_IHM|HL7|
19|V_EMP|V1-1 |
{H3}
{T23}
{H1})"},
{190, R"(3|PROD|Véhicule Autonome|
{D4}
5|PDF_IHM|{P5}|{B}Vehicule-Autonome_MIHM.zip
6|PDF_DT|{P6}|{B}Vehicule-Autonome_DT.zip
7|PDF_EMP|{P7}|{B}Vehicule-Autonome_MEMP.zip
{EPOS2}
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Vehicule-Autonome_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Vehicule-Autonome_V1-4.zip
{T15}
16|BP_EMP|EMP|{B}Vehicule-Autonome_EMP_V3-0.zip
{T17}
18|V_IHM|V1-4 |
19|V_EMP|V3-0 |
{H3}
{T23}
{H1})"},
{191, R"(3|PROD|Véhicule Autonome Lidar|
{D4}
6|PDF_DT|{P6}|{B}Vehicule-Autonome-Lidar_DT.zip
7|PDF_EMP|{P7}|{B}Vehicule-Autonome-Lidar_MEMP.zip
{CODEC}
16|BP_EMP|EMP|{B}Vehicule-Autonome-Lidar_EMP_V3-0.zip
19|V_EMP|V3-0 |
{H3}
{T23}
{H1})"},
{200, R"(3|PROD|Tapis Roulant Modulaire|
{D4}
6|PDF_DT|{P6}|{B}Tapis-Roulant-Modulaire_DT.zip
7|PDF_EMP|{P7}|{B}Tapis-Roulant-Modulaire_MEMP.zip
{MOXA4_2}
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Tapis-Roulant-Modulaire_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Tapis-Roulant-Modulaire_EMP_V1-0.zip
19|V_EMP|V1-0 |
{H3}
{T23}
{H1})"},
{210, R"(3|PROD|Bâtiment Basse Énergie|
{D4}
5|PDF_IHM|{P5}|{B}Bâtiment-Basse-Énergie_MIHM.zip
6|PDF_DT|{P6}|{B}Bâtiment-Basse-Énergie_DT.zip
7|PDF_EMP|{P7}|{B}Bâtiment-Basse-Énergie_MEMP.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Bâtiment-Basse-Énergie_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Bâtiment-Basse-Énergie_V1-0.zip
{T15}
16|BP_EMP|EMP|{B}Bâtiment-Basse-Énergie_EMP_V1-0.zip
{T17}
18|V_IHM|V1-0 |
19|V_EMP|V1-0 |
{H3}
{T23}
{H1})"},
{220, R"(3|PROD|Cellule Palettisation|
{D4}
6|PDF_DT|{P6}|{B}Cellule-Palettisation_DT.zip
13|BP_PROF|Dossier Professeur|{B}Cellule-Palettisation_Professeur.zip
{T15}
{H3}
{H1})"},
{230, R"(3|PROD|Quadrirotor|
{D4}
5|PDF_IHM|{P5}|{B}Quadrirotor_MIHM.zip
6|PDF_DT|{P6}|{B}Quadrirotor_DT.zip
7|PDF_EMP|{P7}|{B}Quadrirotor_MEMP.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Quadrirotor_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Quadrirotor_V2-1.zip
{T15}
16|BP_EMP|EMP|{B}Quadrirotor_EMP_V1-5.zip
{T17}
18|V_IHM|V2-1 |
19|V_EMP|V1-5 |
{H3}
{T23}
{H1})"},
{231, R"(3|PROD|Quadrirotor Caméra|
{D4}
7|PDF_EMP|{P7}|{B}Quadrirotor-Camera_MEMP.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Quadrirotor-Camera_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Quadrirotor-Camera_EMP_V1-5.zip
19|V_EMP|V1-5 |
{H3}
{T23}
{H1})"},
{232, R"(3|PROD|Quadrirotor Station Sol|
{D4}
5|PDF_IHM|{P5}|{B}Quadrirotor-Station-Sol_MIHM.zip
6|PDF_DT|{P6}|{B}Quadrirotor-Station-Sol_DT.zip
13|BP_PROF|Dossier Professeur|{B}Quadrirotor_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Quadrirotor-Station-Sol_V2-1.zip
{T15}
{T17}
18|V_IHM|V2-1 |
{H3}
{H1})"},
{233, R"(3|PROD|Quadrirotor Simulateur|
{D4}
5|PDF_IHM|{P5}|{B}Quadrirotor-Simulateur_MIHM.zip
6|PDF_DT|{P6}|{B}Quadrirotor-Simulateur_DT.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Quadrirotor-Simulateur_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Quadrirotor-Simulateur_V2-1.zip
{T15}
16|BP_EMP|EMP|{B}Quadrirotor-Simulateur_EMP_V1-5.zip
{T17}
18|V_IHM|V2-1 |
19|V_EMP|V1-5 |
{H3}
{T23}
{H1})"},
{240, R"(3|PROD|Monte-Charge Didactique|
{D4}
6|PDF_DT|{P6}|{B}Monte-Charge-Didactique_DT.zip
13|BP_PROF|Dossier Professeur|{B}Monte-Charge-Didactique_Professeur.zip
{T15}
{H3}
{H1})"},
{250, R"(3|PROD|Banc Moteur Brushless|
{D4}
5|PDF_IHM|{P5}|{B}Banc-Moteur-Brushless_MIHM.zip
6|PDF_DT|{P6}|{B}Banc-Moteur-Brushless_DT.zip
7|PDF_EMP|{P7}|{B}Banc-Moteur-Brushless_MEMP.zip
{EPOS2}
11|BP_3|Pilote FTDI USB pour liaison sériel|{B}Pilote/FTDI_ft232rUSB_Driver.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Banc-Moteur-Brushless_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Banc-Moteur-Brushless_V1-1.zip
{T15}
16|BP_EMP|EMP|{B}Banc-Moteur-Brushless_EMP_V1-3.zip
{T17}
18|V_IHM|V1-1 |
19|V_EMP|V1-3 |
{H3}
{T23}
{H1})"},
{260, R"(3|PROD|Variateur Asynchrone (Banc)|
{D4}
5|PDF_IHM|{P5}|{B}Variateur-Asynchrone_MIHM.zip
6|PDF_DT|{P6}|{B}Variateur-Asynchrone_DT.zip
{EPOS2}
11|BP_3|Pilote FTDI USB pour liaison sériel|{B}Pilote/FTDI_ft232rUSB_Driver.zip
13|BP_PROF|Dossier Professeur|{B}Variateur-Asynchrone_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Variateur-Asynchrone_V3-4.zip
{T15}
{T17}
18|V_IHM|V3-4 |
{H3}
{H1})"},
{261, R"(3|PROD|Variateur Frein Poudre|
{D4}
6|PDF_DT|{P6}|{B}Variateur-Frein-Poudre_DT.zip
13|BP_PROF|Dossier Professeur|{B}Variateur-Frein-Poudre_Professeur.zip
{T15}
{H3}
{H1})"},
{270, R"(3|PROD|Imprimante 3D Modula|
{D4}
6|PDF_DT|{P6}|{B}Imprimante-3D-Modula_DT.zip
7|PDF_EMP|{P7}|{B}Imprimante-3D-Modula_MEMP.zip
10|BP_2|Logiciel d'Impression 3D ''Repetier Host''|{B}Imprimante-3D-Modula_RepetierHost.zip
11|BP_3|Pilotes USB pour cartes Imprimante-3D-Modula :\n''Arduino'', ''Teensy'' et ''Smoothie (eMotionTech)''|{B}Imprimante-3D-Modula_Pilotes_USB.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Imprimante-3D-Modula_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Imprimante-3D-Modula_EMP_V1-0.zip
19|V_EMP|V1-0 |
{H3}
{T23}
{H1})"},
{280, R"(3|PROD|Maquette Ferroviaire|
{D4}
7|PDF_EMP|{P7}|{B}Maquette-Ferroviaire_MEMP.zip
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Maquette-Ferroviaire_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Maquette-Ferroviaire_EMP_V1-1.zip
19|V_EMP|V1-1 |
{H3}
{T23}
{H1})"},
{290, R"(3|PROD|Robot Mobile Suiveur|
{D4}
5|PDF_IHM|{P5}|{B}Robot-Mobile-Suiveur_MIHM.zip
6|PDF_DT|{P6}|{B}Robot-Mobile-Suiveur_DT.zip
7|PDF_EMP|{P7}|{B}Robot-Mobile-Suiveur_MEMP.zip
{EPOS2}
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Robot-Mobile-Suiveur_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Robot-Mobile-Suiveur_V1-3.zip
{T15}
16|BP_EMP|EMP|{B}Robot-Mobile-Suiveur_EMP_V2-2.zip
{T17}
18|V_IHM|V1-3 |
19|V_EMP|V2-2 |
{H3}
{T23}
{H1})"},
{300, R"(3|PROD|Banc Énergie Solaire|
{D4}
6|PDF_DT|{P6}|{B}Banc-Énergie-Solaire_DT.zip
7|PDF_EMP|{P7}|{B}Banc-Énergie-Solaire_MEMP.zip
{MOXA4_2}
{CODEC}
13|BP_PROF|Dossier Professeur|{B}Banc-Énergie-Solaire_Professeur.zip
{T15}
16|BP_EMP|EMP|{B}Banc-Énergie-Solaire_EMP_V1-0.zip
19|V_EMP|V1-0 |
{H3}
{T23}
{H1})"},
{310, R"(3|PROD|Axe Linéaire Asservi|
{D4}
5|PDF_IHM|{P5}|{B}Axe-Lineaire-Asservi_MIHM.zip
6|PDF_DT|{P6}|{B}Axe-Lineaire-Asservi_DT.zip
{EPOS2}
13|BP_PROF|Dossier Professeur|{B}Axe-Lineaire-Asservi_Professeur.zip
14|BP_IHM|Interface PC|{B}Installer_Interface_Axe-Lineaire-Asservi_V2-12.zip
{T15}
{T17}
18|V_IHM|V2-12 |
{H3}
{H1})"},
};

// The bundled catalogue, as "--produits" must print it (number, name, hidden).
const char *const kProduits = R"(10|Mallette Capteurs et Mesures|0
20|Robot Manipulateur RM5|0
21|Robot RM5 Pince Électrique|1
22|Robot RM5 Convoyeur|1
23|Robot RM5 Vision|1
30|Banc Pompe Centrifuge|0
32|Passerelle Modbus Pompe|1
40|Maison Domotique|0
50|Éolienne Pédagogique|1
60|Banc Hydraulique (Hydrolab)|0
70|Dosipèse|0
80|DosiNet|0
90|Serre Automatisée|1
100|Convoyeur Tri Colis|0
101|Convoyeur Tri Colis FC|1
110|Station Météo Connectée|0
120|Fenêtre Domotique|1
130|Ensacheuse Pondérale|0
140|Ascenseur (3 Niveaux)|1
150|Portail Automatique|1
160|Barrière Levante (Parking)|0
170|Bras Robotisé Delta|0
180|Chronobox|0
190|Véhicule Autonome|0
191|Véhicule Autonome Lidar|1
200|Tapis Roulant Modulaire|1
210|Bâtiment Basse Énergie|0
220|Cellule Palettisation|1
230|Quadrirotor|0
231|Quadrirotor Caméra|1
232|Quadrirotor Station Sol|1
233|Quadrirotor Simulateur|1
240|Monte-Charge Didactique|1
250|Banc Moteur Brushless|0
260|Variateur Asynchrone (Banc)|0
261|Variateur Frein Poudre|1
270|Imprimante 3D Modula|0
280|Maquette Ferroviaire|1
290|Robot Mobile Suiveur|0
300|Banc Énergie Solaire|1
310|Axe Linéaire Asservi|0
)";

void Remplacer(std::string &s, const std::string &cle, const std::string &par) {
    for (size_t p = s.find(cle); p != std::string::npos; p = s.find(cle, p + par.size()))
        s.replace(p, cle.size(), par);
}

// A button's label in the resource, as the listing prints it (UTF-8).
std::string LabelRessource(int control) {
    const int panel = LoadPanelAnsi(0, FVLIC_UIR_FILE, FVLIC_LOAD);
    EXPECT_GT(panel, 0);
    char label[1024] = "", utf8[4096] = "";
    GetCtrlAttributeAnsi(panel, control, ATTR_LABEL_TEXT, label);
    DiscardPanel(panel);
    UiAnsiToUtf8(label, utf8, sizeof utf8);
    return utf8;
}

std::string Developper(const char *lignes) {
    std::string s = lignes;
    for (const Remplacement &r : kCommunes) Remplacer(s, r.cle, r.ligne);
    Remplacer(s, "{B}", kBase);
    Remplacer(s, "{P5}", LabelRessource(FVLIC_LOAD_PDF_IHM));
    Remplacer(s, "{P6}", LabelRessource(FVLIC_LOAD_PDF_DT));
    Remplacer(s, "{P7}", LabelRessource(FVLIC_LOAD_PDF_EMP));
    Remplacer(s, "|", "\t");
    return s + "\n";
}

struct Sortie {
    std::string out, err;
    int code = -1;
};

// Runs the program of the program's folder (the tests' working folder)
// with args, from folder; collects stdout, stderr and the exit code.
Sortie Lancer(const std::string &args, const std::string &programme = "./VLicEnr") {
    const std::string err = "/tmp/vlic_listing_err_" + std::to_string(getpid());
    // A desktop session has a runtime folder; without one Qt says so on
    // stderr, which would hide what the program itself writes there.
    static const std::string runtime = [] {
        char modele[] = "/tmp/vlic_listing_rt_XXXXXX";
        const char *d = mkdtemp(modele);
        return std::string(d ? d : "/tmp");
    }();
    const std::string cmd = "XDG_RUNTIME_DIR=" + runtime + " " + programme + " " + args + " 2>" + err;
    Sortie s;
    FILE *f = popen(cmd.c_str(), "r");
    if (!f) return s;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.out.append(buf, n);
    const int st = pclose(f);
    s.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    if (FILE *e = std::fopen(err.c_str(), "r")) {
        while ((n = fread(buf, 1, sizeof buf, e)) > 0) s.err.append(buf, n);
        std::fclose(e);
    }
    std::remove(err.c_str());
    return s;
}

TEST(Listing, EveryCataloguedProductHasItsExpectedLines) {
    ASSERT_EQ(std::string(kAttendus[0].lignes).substr(0, 2), "3|");
    for (const Attendu &a : kAttendus) {
        const Sortie s = Lancer("--adresses " + std::to_string(a.product));
        EXPECT_EQ(s.code, 0) << "product " << a.product << ": " << s.err;
        EXPECT_EQ(s.out, Developper(a.lignes)) << "product " << a.product;
    }
}

TEST(Listing, TheExpectedTableCoversTheWholeCatalogue) {
    // Every product of "--produits" has an entry above, and only those.
    const Sortie s = Lancer("--produits");
    std::vector<int> numeros;
    for (size_t p = 0; p < s.out.size();) {
        numeros.push_back(std::atoi(s.out.c_str() + p));
        p = s.out.find('\n', p);
        if (p == std::string::npos) break;
        ++p;
    }
    std::vector<int> attendus;
    for (const Attendu &a : kAttendus) attendus.push_back(a.product);
    EXPECT_EQ(numeros, attendus);
}

TEST(Listing, ProduitsListsTheBundledCatalogue) {
    const Sortie s = Lancer("--produits");
    EXPECT_EQ(s.code, 0) << s.err;
    std::string attendu = kProduits;
    Remplacer(attendu, "|", "\t");
    EXPECT_EQ(s.out, attendu);
    EXPECT_EQ(s.err, "");
}

TEST(Listing, ALabListIsEachProductsListingInTurnAndANumberThatIsNoProductIsSaid) {
    const std::string lab = Lancer("--adresses 20").out + Lancer("--adresses 170").out + Lancer("--adresses 250").out;
    const Sortie s = Lancer("--adresses 20,170,250");
    EXPECT_EQ(s.code, 0) << s.err;
    EXPECT_EQ(s.out, lab);
    // 0 is no product, 999 an empty slot, 5 below the listed range: each is
    // said, the others listed, and the code tells a script.
    const Sortie faux = Lancer("--adresses 20,0,170,999,5,250");
    EXPECT_EQ(faux.code, 7);
    EXPECT_EQ(faux.out, lab);
    for (const char *n : {"0", "999", "5"})
        EXPECT_NE(faux.err.find(std::string("VLicEnr : ") + n + " n'est pas un produit du catalogue"),
                  std::string::npos) << faux.err;
}

TEST(Listing, BadUsageGivesTwoAndAUsageLine) {
    for (const char *args : {"--adresses", "--adresses 1000", "--adresses -1", "--adresses abc", "--adresses 20x",
                             "--adresses ''", "--adresses 20,", "--adresses ,20", "--adresses 20,,30",
                             "--adresses '20;30'", "--adresses 20 30", "--adresses 0020", "--miroir 20,x",
                             "--miroir 20 30", "--produits 20"}) {
        const Sortie s = Lancer(args);
        EXPECT_EQ(s.code, 2) << args;
        EXPECT_EQ(s.out, "") << args;
        EXPECT_NE(s.err.find("usage"), std::string::npos) << args;
    }
}

// Start-up's popup when the catalogue is missing, as EnrDemarrer shows it.
std::string gMessage;
void Capturer(const char *, const char *message) {
    char utf8[4096];
    UiAnsiToUtf8(message, utf8, sizeof utf8);
    gMessage = utf8;
}

TEST(Listing, AMissingCatalogueGivesOneAndStartUpsMessage) {
    // The program alone in a folder of its own: no catalogue beside it.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlic_listing_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file("VLicEnr", dir / "VLicEnr", fs::copy_options::overwrite_existing);

    char ici[MAX_PATHNAME_LEN];
    ASSERT_NE(getcwd(ici, sizeof ici), nullptr);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    UiSetMessagePopupHook(Capturer);
    char nom[] = "VLicEnr";
    char *argv[] = {nom, nullptr};
    EnrDemarrer(1, argv);
    UiSetMessagePopupHook(nullptr);
    ASSERT_EQ(chdir(ici), 0);
    ASSERT_FALSE(gMessage.empty());

    for (const char *args : {"--produits", "--adresses 20"}) {
        const Sortie s = Lancer(args, (dir / "VLicEnr").string());
        EXPECT_EQ(s.code, 1) << args;
        EXPECT_EQ(s.out, "") << args;
        EXPECT_EQ(s.err, gMessage + "\n") << args;
    }
    // A FIFO in the catalogue's place: the same, and no hang.
    ASSERT_EQ(mkfifo((dir / VLIC_PROD_FILE).c_str(), 0600), 0);
    const Sortie s = Lancer("--produits", (dir / "VLicEnr").string());
    EXPECT_EQ(s.code, 1);
    EXPECT_EQ(s.err, gMessage + "\n");
    // A folder whose name is too long for the run-time to give, started from
    // a folder that holds a catalogue (this one's): never read from there.
    fs::path profond = dir;
    while (profond.string().size() < MAX_PATHNAME_LEN + 40) profond /= std::string(60, 'd');
    fs::create_directories(profond);
    fs::copy_file("VLicEnr", profond / "VLicEnr");
    const Sortie loin = Lancer("--produits", (profond / "VLicEnr").string());
    EXPECT_EQ(loin.code, 1) << loin.out;
    EXPECT_EQ(loin.err, gMessage + "\n");
    fs::remove_all(dir);
}

TEST(Listing, VersionsFromTheShippedFileAreTheBuiltInOnesAndBadLinesGiveFour) {
    // The file shipped beside the program is the one the built-in table was
    // made from: read or absent, the same versions; only the source differs.
    const Sortie fichier = Lancer("--versions");
    EXPECT_EQ(fichier.code, 0) << fichier.err;
    EXPECT_EQ(fichier.err, "");
    ASSERT_NE(fichier.out, "");
    std::string interne = fichier.out;
    Remplacer(interne, "\tfichier\n", "\tinterne\n");
    EXPECT_EQ(interne.find("fichier"), std::string::npos) << fichier.out;

    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlic_versions_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file("VLicEnr", dir / "VLicEnr", fs::copy_options::overwrite_existing);
    const Sortie seul = Lancer("--versions", (dir / "VLicEnr").string());
    EXPECT_EQ(seul.code, 0);
    EXPECT_EQ(seul.out, interne);

    std::FILE *f = std::fopen((dir / "Veltrane.vlicvers").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("170\t2.3\t\n# commentaire\n170 2.4\n", f);
    std::fclose(f);
    const Sortie faux = Lancer("--versions", (dir / "VLicEnr").string());
    EXPECT_EQ(faux.code, 4);
    EXPECT_EQ(faux.err.rfind("Veltrane.vlicvers:3: ", 0), 0u) << faux.err;
    EXPECT_NE(faux.out.find("\n170\t2.3\t\tfichier\n"), std::string::npos) << faux.out;

    // A school's file kept across an upgrade, older than the program: in
    // force all the same, and said.
    f = std::fopen((dir / "Veltrane.vlicvers").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("# commentaire\n170\t1.9\t2.2\n", f);
    std::fclose(f);
    const Sortie vieux = Lancer("--versions", (dir / "VLicEnr").string());
    EXPECT_EQ(vieux.code, 4);
    EXPECT_EQ(vieux.err, "Veltrane.vlicvers:2: produit 170 : version EMP 1.9 plus ancienne que celle du "
                         "programme (2.0)\n");
    EXPECT_NE(vieux.out.find("\n170\t1.9\t2.2\tfichier\n"), std::string::npos) << vieux.out;
    fs::remove_all(dir);
}

TEST(Listing, HelpAndVersionAreTextAloneInFrench) {
    // No display, no catalogue, no run-time folder: nothing else is needed.
    const std::string seul = "env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=xcb ./VLicEnr";
    const Sortie aide = Lancer("--aide", seul);
    EXPECT_EQ(aide.code, 0);
    EXPECT_EQ(aide.err, "");
    EXPECT_EQ(Lancer("--help", seul).out, aide.out);
    // Every command-line mode, and every exit code of the listings, is told.
    for (const char *mot : {"--produits", "--adresses", "--miroir", "--versions", "--aide", "--help", "--version",
                            "Codes de sortie", LOAD_VERSIONS_FILE, LOAD_MIROIR_FILE})
        EXPECT_NE(aide.out.find(mot), std::string::npos) << mot;
    for (int code = 0; code <= 7; ++code)
        EXPECT_NE(aide.out.find("\n  " + std::to_string(code) + "  "), std::string::npos) << code;

    std::string version;
    std::FILE *f = std::fopen(VLIC_FICHIER_VERSION, "r");
    ASSERT_NE(f, nullptr);
    char ligne[64] = "";
    ASSERT_NE(std::fgets(ligne, sizeof ligne, f), nullptr);
    std::fclose(f);
    const Sortie v = Lancer("--version", seul);
    EXPECT_EQ(v.code, 0);
    EXPECT_EQ(v.out, std::string("VLicEnr ") + ligne);
}

// The lines of a listing, each split at its TABs.
std::vector<std::vector<std::string>> Lignes(const std::string &out) {
    std::vector<std::vector<std::string>> lignes;
    size_t debut = 0;
    for (size_t fin; (fin = out.find('\n', debut)) != std::string::npos; debut = fin + 1) {
        std::vector<std::string> champs;
        const std::string ligne = out.substr(debut, fin - debut);
        size_t d = 0;
        for (size_t f; (f = ligne.find('\t', d)) != std::string::npos; d = f + 1) champs.push_back(ligne.substr(d, f - d));
        champs.push_back(ligne.substr(d));
        lignes.push_back(champs);
    }
    return lignes;
}

TEST(Listing, MiroirSaysWhatTheSchoolsMirrorLacks) {
    // The program with its catalogue in a folder of its own, its mirror in
    // a folder beside.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlic_listing_miroir_" + std::to_string(getpid()));
    const fs::path miroir = dir / "miroir école";
    fs::create_directories(miroir);
    for (const char *f : {"VLicEnr", VLIC_PROD_FILE}) fs::copy_file(f, dir / f, fs::copy_options::overwrite_existing);
    const std::string programme = (dir / "VLicEnr").string();
    const auto nommer = [&](const std::string &contenu) {
        std::FILE *f = std::fopen((dir / LOAD_MIROIR_FILE).c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(contenu.c_str(), f);
        std::fclose(f);
    };

    // No mirror, said why: exit code 6.
    Sortie s = Lancer("--miroir", programme);
    EXPECT_EQ(s.code, 6);
    EXPECT_EQ(s.out, "");
    EXPECT_EQ(s.err, "Veltrane.vlicmiroir : pas de fichier ordinaire à ce nom\n"
                     "VLicEnr : aucun miroir, les boutons ouvrent les adresses du site Veltrane\n");
    nommer("# le miroir du lycée\nmiroir/\n");
    s = Lancer("--miroir 250", programme);
    EXPECT_EQ(s.code, 6);
    EXPECT_EQ(s.err.rfind("Veltrane.vlicmiroir:2: chemin relatif", 0), 0u) << s.err;

    // An empty folder: every archive of the product absent, its maker's
    // address and its path in the mirror given.
    nommer(miroir.string() + "\n");
    const std::vector<std::vector<std::string>> adresses = Lignes(Lancer("--adresses 250").out);
    s = Lancer("--miroir 250", programme);
    EXPECT_EQ(s.code, 5) << s.err;
    EXPECT_EQ(s.err, "");
    const auto lignes = Lignes(s.out);
    size_t archives = 0;
    for (const auto &a : adresses) archives += a[3].empty() ? 0 : 1;
    ASSERT_EQ(lignes.size(), archives);
    for (const auto &l : lignes) {
        ASSERT_EQ(l.size(), 5u) << s.out;
        EXPECT_EQ(l[0], "250");
        const auto a = std::find_if(adresses.begin(), adresses.end(), [&](const auto &x) { return x[1] == l[1]; });
        ASSERT_NE(a, adresses.end()) << l[1];
        EXPECT_EQ(l[2], (*a)[3]) << "the maker's address";
        EXPECT_EQ(l[3], miroir.string() + "/" + l[2].substr(std::strlen(kBase)));
        EXPECT_EQ(l[4], "absent");
    }
    // Filled but for one archive: that one said, still 5; whole: 0.
    for (size_t i = 0; i + 1 < lignes.size(); ++i) {
        fs::create_directories(fs::path(lignes[i][3]).parent_path());
        std::ofstream(lignes[i][3]) << "PK";
    }
    s = Lancer("--miroir 250", programme);
    EXPECT_EQ(s.code, 5);
    EXPECT_EQ(std::count(s.out.begin(), s.out.end(), '\n'), static_cast<long>(lignes.size()));
    EXPECT_EQ(Lignes(s.out).back()[4], "absent");
    EXPECT_EQ(s.out.find("\tabsent\n"), s.out.rfind("\tabsent\n")) << "one absent only";
    std::ofstream(lignes.back()[3]) << "PK";
    s = Lancer("--miroir 250", programme);
    EXPECT_EQ(s.code, 0) << s.out;

    // The buttons open the mirror's copies, which the listing of the
    // panel shows.
    std::string emp;
    for (const auto &l : Lignes(Lancer("--adresses 250", programme).out))
        if (l[1] == "BP_EMP") emp = l[3];
    EXPECT_EQ(emp, "file://" + miroir.parent_path().string() + "/miroir%20école/Banc-Moteur-Brushless_EMP_V1-3.zip");

    // Every product without a number; a number that is no product: 7.
    s = Lancer("--miroir", programme);
    EXPECT_EQ(s.code, 5);
    std::vector<std::string> produits;
    for (const auto &l : Lignes(s.out))
        if (produits.empty() || produits.back() != l[0]) produits.push_back(l[0]);
    std::vector<std::string> catalogue;
    for (const auto &l : Lignes(Lancer("--produits").out)) catalogue.push_back(l[0]);
    EXPECT_EQ(produits, catalogue);
    EXPECT_EQ(Lancer("--miroir 250,999", programme).code, 7);

    // An http mirror: the copies' addresses, which the program never
    // checks itself.
    nommer("https://miroir.lycee.fr/veltrane/\n");
    s = Lancer("--miroir 250", programme);
    EXPECT_EQ(s.code, 0);
    for (const auto &l : Lignes(s.out)) {
        EXPECT_EQ(l[3], "https://miroir.lycee.fr/veltrane/" + l[2].substr(std::strlen(kBase)));
        EXPECT_EQ(l[4], "non vérifié");
    }
    fs::remove_all(dir);
}

TEST(Listing, NothingOnStderrWhateverTheRuntimeFolder) {
    // Unset, missing, or another's (mode 0755: not private), with and
    // without a platform named: Qt's complaints never reach stderr.
    for (const char *env : {"env -u XDG_RUNTIME_DIR", "env XDG_RUNTIME_DIR=/nonexistent/vlic",
                            "env XDG_RUNTIME_DIR=/", "env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM -u DISPLAY"}) {
        const Sortie s = Lancer("--adresses 250", std::string(env) + " ./VLicEnr");
        EXPECT_EQ(s.code, 0) << env;
        EXPECT_EQ(s.err, "") << env;
    }
}

TEST(Listing, NamesAreEscapedAndTheirAddressesEncoded) {
    // A catalogue of odd names beside a copy of the program: every field
    // stays on its line, and the address is what the browser receives.
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vlic_listing_noms_" + std::to_string(getpid()));
    fs::create_directories(dir);
    fs::copy_file("VLicEnr", dir / "VLicEnr", fs::copy_options::overwrite_existing);
    VLicProdEffacer();
    const auto poser = [](int n, const char *nom) {
        std::snprintf(VLicProdG[n].name, VLIC_PROD_NAME_LEN, "%s", nom);
        VLicProdG[n].code = 1;
    };
    poser(5, "Cinq");   // below 10: no chooser lists it
    poser(10, "A\tB\rC\\D\x01" "E\nF\x7F");
    poser(990, "Robot\t#1 ?%\x81");
    VLicProdSauver((dir / VLIC_PROD_FILE).c_str());
    VLicProdEffacer();

    const Sortie p = Lancer("--produits", (dir / "VLicEnr").string());
    EXPECT_EQ(p.code, 0);
    EXPECT_EQ(p.out, "10\tA\\tB\\rC\\\\D\\x01E\\nF\\x7F\t0\n"
                     "990\tRobot\\t#1 ?%\\x81\t0\n");
    const Sortie a = Lancer("--adresses 990", (dir / "VLicEnr").string());
    EXPECT_EQ(a.code, 0);
    EXPECT_NE(a.out.find("3\tPROD\tRobot\\t#1 ?%\\x81\t\n"), std::string::npos) << a.out;
    EXPECT_NE(a.out.find("\t" + std::string(kBase) + "Robot%09%231-%3F%25%C2%81_Professeur.zip\n"),
              std::string::npos) << a.out;
    fs::remove_all(dir);
}

}  // namespace

// GenInterne.h: pieces of the general library that are not part of its public
// interface but that its own tests drive directly: the random mappings from
// one generator value, the size of the desktop mask for a screen size, the
// printing of the active panel to a named file, the handle of the wait popup
// and the name of the resource file that holds the popups.
#ifndef VLIC_GENUTIL_GENINTERNE_H
#define VLIC_GENUTIL_GENINTERNE_H

// One value of the C library's rand() brought to 0..32767.
int GenTirage(void);

// GenEntierAleatoire's result for the generator value r (0..32767).
int GenEntierDepuisTirage(int r, int borneInf, int borneSup);

// GenBooleenAleatoire's result for the generator value r (0..32767).
int GenBooleenDepuisTirage(int r);

// Size of the desktop mask for a screen of ecranHauteur x ecranLargeur: the
// screen's, or 600 x 800 when either dimension is short.
void GenTailleMasque(int ecranHauteur, int ecranLargeur, int *hauteur, int *largeur);

// GenPrintPanel with the run-time's file name: "" prints to the default
// printer, a name ending in ".pdf" writes that PDF file. Returns the result of
// PrintPanelAnsi (negative on failure).
int GenImprimerPanelActif(const char *fichier, int flag);

// Handle of the open wait popup, -1 when none is open.
int GenWaitPanel(void);

// Resource file of the wait and error popups, "FenGen.uir" unless changed.
// GenChoisirFichierRessource names another one (null: back to "FenGen.uir"),
// so that tests can see what the popups do when their panel is missing.
const char *GenFichierRessource(void);
void GenChoisirFichierRessource(const char *fichier);

#endif

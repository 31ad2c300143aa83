// FVLicEnr.h: panel and control constants of the resource "FVLicEnr.uir".
//
// Panels are loaded by resource id; a control is addressed by its id, which
// the panel resource carries for each widget (property ctrlId) beside its
// constant name (objectName). tests/ui/test_resources.cpp holds every constant
// here against the resource: id, name, kind and text.
#ifndef VLIC_UI_FVLICENR_H
#define VLIC_UI_FVLICENR_H

// Resource file name, as the code loads it.
#define FVLIC_UIR_FILE "FVLicEnr.uir"

// ---- main panel
enum {
    FVLIC_ENR = 4,
    FVLIC_ENR_PROD_CHOIX = 5,      // ring: product chooser (chooser mode only)
    FVLIC_ENR_BP_QUIT = 7,         // command button "__QUITTER"; the window's close box too
    FVLIC_ENR_BP_LOAD = 8,         // command button "__TELECHARGER"
    FVLIC_ENR_WEB = 15,            // text message: the maker's web address (hyperlink)
    FVLIC_ENR_LOGO_2 = 23,         // picture
    FVLIC_ENR_LOGO = 24,           // picture
    FVLIC_ENR_PROD = 26,           // ring: product indicator (fixed-product mode only)
    FVLIC_ENR_LAB_LOAD = 36,       // text message heading the download section
    FVLIC_ENR_LAB_P = 37,          // text message heading the product chooser
    FVLIC_ENR_DECORATION_6 = 38,   // decoration
    FVLIC_ENR_CADRE_PROD = 40,     // decoration framing the chooser
    FVLIC_ENR_CADRE_LOAD = 43,     // decoration framing the download section
};

// ---- downloads panel: 25 controls, ids 2 to 26
enum {
    FVLIC_LOAD = 6,
    FVLIC_LOAD_BP_QUIT = 2,        // command button "__RETOUR"; the window's close box too
    FVLIC_LOAD_PROD = 3,           // ring showing the product
    FVLIC_LOAD_DECORATION_2 = 4,
    FVLIC_LOAD_PDF_IHM = 5,        // picture buttons 24 x 24 ...
    FVLIC_LOAD_PDF_DT = 6,
    FVLIC_LOAD_PDF_EMP = 7,
    FVLIC_LOAD_BP_PEMP = 8,
    FVLIC_LOAD_BP_4 = 9,
    FVLIC_LOAD_BP_2 = 10,
    FVLIC_LOAD_BP_3 = 11,
    FVLIC_LOAD_BP_1 = 12,
    FVLIC_LOAD_BP_PROF = 13,       // picture buttons 32 x 32 ...
    FVLIC_LOAD_BP_IHM = 14,
    FVLIC_LOAD_TXT_PROF = 15,      // text messages ...
    FVLIC_LOAD_BP_EMP = 16,        // picture button 32 x 32
    FVLIC_LOAD_TXT_IHM = 17,
    FVLIC_LOAD_V_IHM = 18,
    FVLIC_LOAD_V_EMP = 19,
    FVLIC_LOAD_LAB_3 = 20,
    FVLIC_LOAD_LAB_4 = 21,
    FVLIC_LOAD_LAB_5 = 22,
    FVLIC_LOAD_TXT_EMP = 23,
    FVLIC_LOAD_LAB_1 = 24,
    FVLIC_LOAD_LAB_2 = 25,
    FVLIC_LOAD_INFO = 26,          // text box: hover help
};

#endif

// VLicVersions.cpp: the current versions of each product's software.
//
// What it holds: for each product of the catalogue, the version of its EMP
// (multimedia teaching environment) and of its PC interface software that
// the download site offers, "major.minor" with a dot, at most 15
// characters; "" when the product has none. A version of two characters or
// fewer (an old "12" entry) counts as not available: the panel then shows
// neither the group's buttons nor its version. Update a row when the maker
// publishes a new archive: the archive names on the downloads panel are made
// from these texts (version 2.1 gives "..._EMP_V2-1.zip").
//
// Rules that hang on a version: the interface version of products 20 and 21
// picks their dossier and manual editions ("3..." the "-E" edition with the
// MAXON driver, "2..." the "-V2" edition); product 180's interface is a
// fixed installer whatever its row says; product 101 uses product 100's row.
//
// Exports: LoadVersionsTable, LoadVersionsNb (declared in VLicLoad.h).
// Products without a row have neither.
#include "downloads/VLicLoad.h"

const LoadVersionRec LoadVersionsTable[] = {
    // product, EMP, interface
    {10, "", ""},            // measuring case: documents only
    {20, "2.1", "3.1"},      // robot arm, "-E" edition
    {21, "2.1", "2.4"},      // its electric gripper, still on the "-V2" interface
    {22, "1.4", ""},
    {23, "", "1.0"},
    {30, "1.3", "2.0"},
    {32, "", "1.1"},
    {40, "1.2", ""},
    {50, "12", ""},          // an old two-character entry: not available
    {60, "2.0", "1.6"},
    {70, "1.1", "2.3"},      // supervision software
    {80, "", "1.0"},
    {90, "1.0", ""},
    {100, "2.1", "1.5"},     // 101 takes this row
    {110, "", "4.2"},
    {120, "", ""},
    {130, "1.2", "1.8"},     // supervision software
    {140, "10.3", ""},
    {150, "", "1.0"},
    {160, "", "12"},         // an old two-character entry: not available
    {170, "2.0", "2.2"},
    {180, "1.1", ""},        // the HL7 interface is fixed
    {190, "3.0", "1.4"},
    {191, "3.0", ""},
    {200, "1.0", ""},
    {210, "1.0", "1.0"},
    {220, "", ""},
    {230, "1.5", "2.1"},
    {231, "1.5", ""},
    {232, "", "2.1"},
    {233, "1.5", "2.1"},
    {240, "", ""},
    {250, "1.3", "1.1"},
    {260, "", "3.4"},
    {261, "", ""},
    {270, "1.0", ""},
    {280, "1.1", ""},
    {290, "2.2", "1.3"},
    {300, "1.0", ""},
    {310, "", "2.12"},
};

const int LoadVersionsNb = static_cast<int>(sizeof LoadVersionsTable / sizeof LoadVersionsTable[0]);

// VLicVersions.cpp: the current versions of each product's software.
//
// What it holds: for each product of the catalogue that has software to
// offer, the version of its EMP (multimedia teaching environment) and of its
// PC interface, "major.minor" with a dot, at most 15 characters; "" when the
// product has none. A version of two characters or fewer counts as not
// available. Update a row when the maker publishes a new archive: the
// addresses of the downloads panel are made from these texts.
//
// Exports: LoadVersionsTable, LoadVersionsNb (declared in VLicLoad.h).
#include "downloads/VLicLoad.h"

const LoadVersionRec LoadVersionsTable[] = {
    // product, EMP, interface
    {20, "2.1", "3.0"},
};

const int LoadVersionsNb = static_cast<int>(sizeof LoadVersionsTable / sizeof LoadVersionsTable[0]);

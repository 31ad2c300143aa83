// VLicLoad.h: the downloads panel of one product, its items and addresses,
// and the hover help that follows the mouse.
#ifndef VLIC_DOWNLOADS_VLICLOAD_H
#define VLIC_DOWNLOADS_VLICLOAD_H

// Runs the downloads panel for product at (*top, *left) until the user
// returns; leaves in *top and *left where the panel was then.
void LoadGerer(int product, int *top, int *left);

#endif

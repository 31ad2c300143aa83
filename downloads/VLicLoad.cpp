// VLicLoad.cpp: the downloads panel (placeholder until the panel is built).
#include "downloads/VLicLoad.h"

void LoadGerer(int product, int *top, int *left) {
    (void)product;
    (void)top;
    (void)left;
}

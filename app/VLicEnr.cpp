// VLicEnr.cpp: program entry and the main panel.
#include "app/VLicEnr.h"

int VLicEnrMain(int argc, char **argv) {
    (void)argc;
    (void)argv;
    return 0;
}

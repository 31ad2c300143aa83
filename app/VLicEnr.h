// VLicEnr.h: program entry and the main panel.
#ifndef VLIC_APP_VLICENR_H
#define VLIC_APP_VLICENR_H

// The whole program: start-up, the main panel, exit code. main() only calls it.
int VLicEnrMain(int argc, char **argv);

#endif

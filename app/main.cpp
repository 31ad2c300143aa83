// The executable only starts the program; everything lives in the library.
#include "app/VLicEnr.h"

int main(int argc, char **argv) { return VLicEnrMain(argc, argv); }

// Orvan: the GUI program.
#include "app/program.h"

int main(int argc, char** argv) { return orvan::RunOrvan(argc, argv); }

#include "app/Comandi.h"

int main(int argc, char* argv[]) { return EseguiComando(argc, argv); }

#include "app/Comandi.h"
#include "app/forms/Brov5Desk.h"

// Without arguments the program opens its main window; with arguments it runs a command.
int main(int argc, char* argv[]) { return argc > 1 ? EseguiComando(argc, argv) : AvviaBrov5Desk(argc, argv); }

#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class Stampante;
struct OpzioniAvvio;

// The command line: "tableau" builds the report file of a week, "demo" creates
// a folder of demo data, "stampa" prints the report, "esporta" exports it,
// "leggi" writes a table of a database as the program reads it.
// Makes the printer object the "stampa" command prints through (the program
// of the windows gives the Qt printer; the core links no printing system).
using FabbricaStampante = std::function<std::unique_ptr<Stampante>()>;

// Runs the command `argomenti` (the arguments after the program name and the
// leading options `opzioni`, which say where it works and as which
// workstation), writing on the two output streams; "stampa" prints on the
// printer object `stampante` makes (none: "stampa" is Errore 482).
// Exit status 0 on success, 1 when the work failed (an Errore), 2 for a usage
// error or input the main window would refuse.
int EseguiComando(const std::vector<std::string>& argomenti, const OpzioniAvvio& opzioni, std::ostream& out,
                  std::ostream& err, const FabbricaStampante& stampante = {});

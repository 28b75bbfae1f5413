#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class Stampante;
struct OpzioniAvvio;
struct Settimana;

// The command line: "tableau" builds the report file of a week, "quadro"
// writes the week as data (JSON) or as the room rack's PDF, "demo" creates a
// folder of demo data, "stampa" prints the report, "esporta" exports it,
// "leggi" writes a table of a database as the program reads it.
// Makes the printer object the "stampa" command prints through (the program
// of the windows gives the Qt printer; the core links no printing system).
using FabbricaStampante = std::function<std::unique_ptr<Stampante>()>;
// Draws the week as the room rack's printed pages, a PDF in memory on
// landscape A4 (A3 when `a3`): the "quadro --pdf" command writes it (the
// program of the windows gives it; the core draws no pictures).
using DisegnoPdfQuadro = std::function<std::string(const Settimana& settimana, bool a3)>;

// Runs the command `argomenti` (the arguments after the program name and the
// leading options `opzioni`, which say where it works and as which
// workstation), writing on the two output streams; "stampa" prints on the
// printer object `stampante` makes (none: "stampa" is Errore 482); "quadro
// --pdf" draws with `pdfQuadro` (none: Errore 482 as well).
// Exit status 0 on success, 1 when the work failed (an Errore), 2 for a usage
// error or input the main window would refuse.
int EseguiComando(const std::vector<std::string>& argomenti, const OpzioniAvvio& opzioni, std::ostream& out,
                  std::ostream& err, const FabbricaStampante& stampante = {},
                  const DisegnoPdfQuadro& pdfQuadro = {});

#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "common/Contesto.h"
#include "common/Routine.h"
#include "print/IntestazioneStampa.h"

class Stampante;

// The choices of the print menu that a print run reads. Texts in Windows-1252.
struct SceltaStampa {
    bool compressa = false;       // "Stampa Compressa"
    bool orizzontale = false;     // "Stampa orizzontale"
    bool fronteRetro = false;     // "Stampa fronte / retro"
    std::string destinazione;     // the destination record of the Stampanti table
    std::string stampante;        // an installed printer chosen over the destination's own ("" for none)
    std::string codiceAssistenza; // the hotel's assistance code ("K", "U")
    std::string filePdf;          // when not empty, the driver path prints into this PDF file
    // A print asked for as a PDF: when the destination's printer is not
    // installed on this workstation (a name from another system), the driver
    // path prints into the dated PDF file under "doc" instead of on paper.
    bool comePdf = false;
    // What the heading of the pages printed through the driver names: the
    // tableau and its week, and the time of the print.
    TableauStampato tableau;
    std::tm ora = TempoLocale();
};

// What a print run did.
struct EsitoStampa {
    // What kind of place the report went to.
    enum class Uscita { Stampante, Porta, File, Pdf };

    // The PDF file the driver path printed into ("" when it printed on a printer
    // or the direct path ran).
    std::string filePdf;
    Uscita uscita = Uscita::Stampante;
    // Where it went, as the user names it (UTF-8): the printer or print queue,
    // the port ("LPT1"), the file as the destination names it, the PDF file.
    std::string dove;
};

// Prints the workstation's report file on the chosen destination with the
// suite's print settings, for hotel `hotel` (page length), reading everything
// from the data folder of `contesto`. Throws Errore on a destination the
// Stampanti table has no record for (3021, naming those it has), a missing
// settings database or table, a missing report (53, before any destination
// is opened), a destination that cannot be opened or that a print may not
// write into (75: the report itself or an archive copy of it, a database or
// settings file of the suite, a link, a file outside the data folder named
// by the shared settings), a chosen printer that is not installed and is no
// port or file (482), or a printer error.
EsitoStampa StampaReport(const Contesto& contesto, const SceltaStampa& scelta, std::int16_t hotel,
                         Stampante& stampante);

// Time of printing the week of a large data set: through the printer driver
// into a PDF file and through the direct path into a file.
// Usage: bench_stampa DATA_FOLDER (the large test set); the folder is copied
// into a temporary folder first, the report and the prints are written there.
#include <QGuiApplication>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CartellaBench.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "common/piattaforma/qt/StampanteQt.h"
#include "print/MotoreStampa.h"
#include "tableau/CreaTableau.h"
#include "tableau/FileReport.h"

namespace fs = std::filesystem;

namespace {

// Prints the report on `destinazione` (into `pdf` on the driver path) and
// reports the time and the size of `risultato`.
void Stampa(const Contesto& contesto, const char* etichetta, const std::string& destinazione,
            const std::string& pdf, const std::string& risultato) {
    SceltaStampa scelta;
    scelta.destinazione = destinazione;
    scelta.compressa = true;
    scelta.orizzontale = true;
    scelta.filePdf = pdf;
    StampanteQt stampante;
    const auto inizio = std::chrono::steady_clock::now();
    StampaReport(contesto, scelta, 1, stampante);
    const double tempo = Secondi(inizio);
    std::printf("%-22s %8.3f s  (%ju byte)\n", etichetta, tempo, static_cast<std::uintmax_t>(fs::file_size(risultato)));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Uso: %s CARTELLA_DATI\n", argv[0]);
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    try {
        const CartellaBench cartella(argv[1], "bench-stampa");
        RiempiTabelleComuni();
        const Contesto contesto = cartella.Dati();
        UltimaCostruzione costruzione;
        CreaTableau(costruzione, contesto, 1, 1, "0", "99999", "07/12/2026");
        std::printf("report: %ju byte\n", static_cast<std::uintmax_t>(fs::file_size(NomeFileReport("1"))));
        Stampa(contesto, "driver in PDF:", "Reception PDF", "tableau.pdf", "tableau.pdf");
        Stampa(contesto, "diretta su file:", "Ufficio", "", "stampa_ufficio.prn");
    } catch (const Errore& e) {
        std::fprintf(stderr, "%s\n", e.Testo().c_str());
        return 1;
    }
    return 0;
}

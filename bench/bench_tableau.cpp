// Time of one tableau build against the time of reading the tables it reads.
// Usage: bench_tableau DATA_FOLDER (the large test set); the folder is copied
// into a temporary folder first, the report is written there.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "CartellaBench.h"
#include "common/Database.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/CreaTableau.h"

namespace fs = std::filesystem;

namespace {

// Opens every database of the build and reads each of its tables once.
double Lettura() {
    const std::pair<const char*, const char*> tabelle[] = {
        {"NumeriCamere.mdb", "NumeriCamere"},       {"TipiCamere.mdb", "TipiCamere"},
        {"Scheda_Cliente.mdb", "Scheda_Cliente"},   {"AgenzieAbituali.mdb", "AgenzieAbituali"},
        {"Arrangiamento.mdb", "Arrangiamento"},     {"Camere_Prenotazione.mdb", "Camere_Prenotazione"},
        {"Scheda_Prenotazione.mdb", "Scheda_Prenotazione"}};
    const auto inizio = std::chrono::steady_clock::now();
    std::size_t record = 0;
    for (const auto& [file, tabella] : tabelle) {
        auto db = Database::Apri(file);
        record += db->OpenRecordset(tabella)->RecordCount();
        db->Close();
    }
    const double tempo = Secondi(inizio);
    std::printf("lettura:     %8.3f s  (%zu record)\n", tempo, record);
    return tempo;
}

double Costruzione() {
    std::int16_t hotel = 1;
    std::int16_t tableau = 1;
    const auto inizio = std::chrono::steady_clock::now();
    CreaTableau(hotel, tableau, "0", "99999", "07/12/2026");
    const double tempo = Secondi(inizio);
    std::printf("costruzione: %8.3f s  (%ju byte di report)\n", tempo,
                static_cast<std::uintmax_t>(fs::file_size(NomeFileReport())));
    return tempo;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "Uso: %s CARTELLA_DATI\n", argv[0]);
        return 2;
    }
    try {
        const CartellaBench cartella(argv[1], "bench-tableau");
        RiempiTabelleComuni();
        const double lettura = Lettura();
        const double costruzione = Costruzione();
        std::printf("rapporto costruzione/lettura: %.2f (obiettivo <= 1.5)\n", costruzione / lettura);
    } catch (const Errore& e) {
        std::fprintf(stderr, "%s\n", e.Testo().c_str());
        return 1;
    }
    return 0;
}

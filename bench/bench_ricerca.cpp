// Times the builder's kind of search on a record set of 100,000 booked rooms:
// walks of FindFirst/FindNext with NumeroHotel = H and NumeroCamera = a room
// and (TipoPrenotazione = ...) answered from the index, against the same
// walks testing every record in turn.
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "archivio/Archivio.h"
#include "archivio/ArchivioSqlite.h"
#include "archivio/Database.h"
#include "archivio/Ricerca.h"

namespace fs = std::filesystem;

namespace {

constexpr int NumeroRecord = 100000;
constexpr int Camere = 400;
constexpr int Giorni = 7;

using Orologio = std::chrono::steady_clock;

double Millisecondi(Orologio::time_point da) {
    return std::chrono::duration<double, std::milli>(Orologio::now() - da).count();
}

std::string Data(int giorno) {
    char testo[16];
    std::snprintf(testo, sizeof testo, "2026%02d%02d", 1 + giorno / 28 % 12, 1 + giorno % 28);
    return testo;
}

Tabella CamerePrenotate() {
    Tabella t;
    t.nome = "Camere_Prenotazione";
    t.colonne = {{"NumeroHotel", TipoCampo::Intero},       {"NumeroCamera", TipoCampo::Testo},
                 {"NumeroPrenotazione", TipoCampo::Intero}, {"TipoPrenotazione", TipoCampo::Testo},
                 {"NumeroPersone", TipoCampo::Intero},      {"DataArrivo", TipoCampo::Testo},
                 {"DataPartenza", TipoCampo::Testo}};
    const char* tipi[] = {"C", "o", "D", "X"};
    std::uint32_t seme = 7;
    const auto caso = [&seme](std::uint32_t n) {
        seme = seme * 1103515245u + 12345u;
        return static_cast<int>((seme >> 16) % n);
    };
    for (int i = 0; i < NumeroRecord; ++i) {
        const int arrivo = caso(300);
        t.righe.push_back({Valore::Intero(1 + caso(3)), Valore::Testo(std::to_string(100 + caso(Camere))),
                           Valore::Intero(i + 1), Valore::Testo(tipi[caso(4)]), Valore::Intero(caso(4)),
                           Valore::Testo(Data(arrivo)), Valore::Testo(Data(arrivo + 1 + caso(10)))});
    }
    return t;
}

// The builder's kind of criterion: for each room and day of a week, the
// bookings of the room, one form given the room and the day.
std::vector<Criterio> Criteri() {
    const Campo tipo("TipoPrenotazione");
    const Forma forma = Campo("NumeroHotel") == 1 && Campo("NumeroCamera") == Parametro{0} &&
                        (tipo == "C" || tipo == "O" || tipo == "D") && Campo("DataArrivo") <= Parametro{1};
    std::vector<Criterio> criteri;
    for (int camera = 0; camera < Camere; ++camera)
        for (int giorno = 0; giorno < Giorni; ++giorno)
            criteri.emplace_back(forma, std::vector{Valore::Testo(std::to_string(100 + camera)),
                                                    Valore::Testo(Data(150 + giorno))});
    return criteri;
}

}  // namespace

int main() {
    std::string modello = (fs::temp_directory_path() / "bench-ricerca-XXXXXX").string();
    if (!mkdtemp(modello.data())) return 1;
    const fs::path cartella = modello;
    const std::string file = (cartella / "Camere_Prenotazione.mdb").string();
    ScriviTabellaSqlite(file, CamerePrenotate());
    const auto criteri = Criteri();

    auto inizio = Orologio::now();
    auto db = Database::Apri("Camere_Prenotazione.mdb", cartella.string());
    auto rs = db->OpenRecordset("Camere_Prenotazione");
    std::printf("record set of %zu records opened in %.1f ms\n", rs->RecordCount(), Millisecondi(inizio));

    inizio = Orologio::now();
    long trovatiIndice = 0;
    for (const auto& criterio : criteri)
        for (rs->FindFirst(criterio); !rs->NoMatch(); rs->FindNext(criterio)) ++trovatiIndice;
    const double msIndice = Millisecondi(inizio);

    // The same walks testing every record: a tenth of them is enough to time.
    const Tabella tabella = ApriArchivio(file)->LeggiTabella("Camere_Prenotazione");
    std::vector<std::uint32_t> righe(tabella.righe.size());
    for (std::uint32_t i = 0; i < righe.size(); ++i) righe[i] = i;
    Ricerca scansione(tabella, righe, [](const Selezione&) { return std::vector<Valore>{}; },
                      Ricerca::Modo::Scansione);
    const std::size_t campione = criteri.size() / 10;
    long trovatiIndiceCampione = 0;
    for (std::size_t i = 0; i < campione; ++i)
        for (rs->FindFirst(criteri[i]); !rs->NoMatch(); rs->FindNext(criteri[i])) ++trovatiIndiceCampione;
    inizio = Orologio::now();
    long trovatiScansione = 0;
    for (std::size_t i = 0; i < campione; ++i)
        for (auto p = scansione.Trova(criteri[i], 0); p; p = scansione.Trova(criteri[i], *p + 1)) ++trovatiScansione;
    const double msScansione = Millisecondi(inizio);

    std::printf("indexed: %zu walks, %ld records found, %.1f ms (%.3f ms a walk, index built on first use)\n",
                criteri.size(), trovatiIndice, msIndice, msIndice / static_cast<double>(criteri.size()));
    std::printf("scan:    %zu walks, %ld records found (indexed: %ld), %.1f ms (%.3f ms a walk)\n", campione,
                trovatiScansione, trovatiIndiceCampione, msScansione, msScansione / static_cast<double>(campione));
    fs::remove_all(cartella);
    return trovatiScansione == trovatiIndiceCampione ? 0 : 1;
}

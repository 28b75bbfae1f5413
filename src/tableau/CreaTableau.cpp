#include "tableau/CreaTableau.h"

#include <array>
#include <chrono>
#include <cstdio>

#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/DatiSettimana.h"
#include "tableau/FileReport.h"
#include "tableau/RigaReport.h"

namespace {

using Griglia::Giorni;

struct Giorno {
    std::string data;         // yyyymmdd, as the tables store dates
    std::string giornoMese;   // dd/mm, for the header
    int nome = 0;             // index in NomiGiorni
};

// The seven days from the start date dd/mm/yyyy, by calendar arithmetic.
std::array<Giorno, Giorni> GiorniDellaSettimana(const std::string& dataInizio) {
    std::string controllata = dataInizio;
    if (!ControllaData(controllata))
        throw Errore(NumeroErrore::ArgomentoNonValido, "Data di inizio non valida: '" + dataInizio + "'.");
    using namespace std::chrono;
    const auto numero = [&](std::size_t da, std::size_t n) {
        return static_cast<int>(ValoreNumerico(controllata.substr(da, n)));
    };
    const sys_days inizio = year{numero(6, 4)} / month{static_cast<unsigned>(numero(3, 2))} / day{1};
    const int settimana = GiornoSettimana(controllata);
    std::array<Giorno, Giorni> giorni;
    for (int k = 0; k < Giorni; ++k) {
        const year_month_day ymd{inizio + days{numero(0, 2) - 1 + k}};
        char data[16];
        char giornoMese[8];
        std::snprintf(data, sizeof data, "%04d%02u%02u", static_cast<int>(ymd.year()),
                      static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
        std::snprintf(giornoMese, sizeof giornoMese, "%02u/%02u", static_cast<unsigned>(ymd.day()),
                      static_cast<unsigned>(ymd.month()));
        giorni[k] = {data, giornoMese, (settimana + k) % 7};
    }
    return giorni;
}

// The first n characters of a text with its blanks removed at both ends.
std::string Inizio(const Valore& campo, std::size_t n) { return Taglia(campo.Testo()).substr(0, n); }

// Payment code: the first character, upper case, apostrophe dropped; " " when none.
char CodicePagamento(const Valore& campo) { return PulisciTesto(Inizio(campo, 1), 0)[0]; }

// Day of month of a date text yyyymmdd (its characters 7 and 8).
std::string GiornoDelMese(const Valore& data) {
    const std::string testo = data.Testo();
    return testo.size() > 6 ? testo.substr(6, 2) : std::string();
}

// A running sum of amounts, whole after each addition (halves to the even neighbour).
std::int64_t SommaArrotondata(std::int64_t importo, const Valore& addebito) {
    return Valore::Valuta(importo * 10000 + addebito.Decimillesimi()).Intero();
}

bool OccupaIlGiorno(const Valore& arrivo, const Valore& partenza, const std::string& giorno) {
    return arrivo.Testo() <= giorno && partenza.Testo() > giorno;
}

bool TipoOccupaCamera(const std::string& tipo) { return tipo == "C" || tipo == "O" || tipo == "D"; }

// What one room shows on one day, gathered by the passes over guests and bookings.
struct Casella {
    std::int64_t ospiti = 0;
    std::string nomeCapo;
    std::int64_t conto = 0;
    char pagamentoOspite = ' ';
    std::int64_t importo = 0;
    std::int64_t personePrenotazione = 0;
    std::string nomePrenotazione;
    char pagamentoPrenotazione = ' ';
    std::string agenziaOspite;
    std::string agenziaPrenotazione;
};

class Costruttore {
public:
    Costruttore(std::int64_t hotel, std::int64_t tableau, std::string prima, std::string ultima,
                const std::array<Giorno, Giorni>& giorni, const DatiSettimana& dati)
        : hotel_(hotel), tableau_(tableau), prima_(std::move(prima)), ultima_(std::move(ultima)),
          giorni_(giorni), dati_(dati) {}

    void Scrivi(FileReport& report) const {
        std::string intestazione = RigaVuota();
        for (int k = 0; k < Giorni; ++k)
            ScriviCella(intestazione, k, CellaIntestazione(NomiGiorni[giorni_[k].nome], giorni_[k].giornoMese));
        report.ScriviRiga(intestazione);
        report.ScriviRiga(RigaSeparatore());
        for (const auto& camera : dati_.Camere())
            if (Compresa(camera)) ScriviCamera(report, camera);
    }

private:
    bool Compresa(const Camera& camera) const {
        const std::string numero = camera.numeroCamera.Testo();
        return NumeroUguale(camera.numeroHotel, hotel_) && camera.numeroTableau.Intero() == tableau_ &&
               numero >= prima_ && numero <= ultima_;
    }

    void ScriviCamera(FileReport& report, const Camera& camera) const {
        const std::string stanza = Taglia(camera.numeroCamera.Testo());
        std::array<Casella, Giorni> caselle;

        std::string rigaA = RigaVuota();
        ScriviColonnaCamera(rigaA, stanza);
        for (int k = 0; k < Giorni; ++k) {
            Ospiti(rigaA, k, stanza, caselle[k]);
            Prenotazioni(rigaA, k, stanza, caselle[k]);
        }
        report.ScriviRiga(rigaA);

        std::string rigaB = RigaVuota();
        ScriviColonnaCamera(rigaB, Taglia(camera.tipoCamera.Testo()));
        for (int k = 0; k < Giorni; ++k) {
            AgenzieOspiti(rigaB, k, stanza, caselle[k]);
            DettagliPrenotazione(rigaB, k, camera.numeroCamera.Testo(), caselle[k]);
        }
        report.ScriviRiga(rigaB);
        report.ScriviRiga(RigaSeparatore());
    }

    // Guests still in the hotel in the room that day: the search, then this hotel only.
    std::vector<const Ospite*> OspitiDelGiorno(const std::string& stanza, const std::string& giorno) const {
        std::vector<const Ospite*> presenti;
        for (const Ospite* o : dati_.Ospiti(stanza, giorno))
            if (o->numeroHotel.Intero() == hotel_) presenti.push_back(o);
        return presenti;
    }

    // Line A from the registered guests: head of the party, count, charges.
    void Ospiti(std::string& riga, int k, const std::string& stanza, Casella& c) const {
        const std::string& giorno = giorni_[k].data;
        const auto presenti = OspitiDelGiorno(stanza, giorno);
        for (const Ospite* o : presenti) {
            ++c.ospiti;
            if (o->numeroComponente.Intero() != 1) continue;
            c.nomeCapo = Inizio(o->nomeCliente, 14);
            c.conto = o->numeroProgressivo.Intero();
            c.pagamentoOspite = CodicePagamento(o->tipoPagamento);
            for (const Addebito* a : dati_.Addebiti(hotel_, c.conto, giorno))
                c.importo = SommaArrotondata(c.importo, a->importoTotale);
        }
        if (c.nomeCapo.empty()) {
            ScriviCella(riga, k, "");
            return;
        }
        const Ospite& ultimo = *presenti.back();
        ScriviCella(riga, k, CellaOccupante(c.nomeCapo, !Estremo(ultimo.dataArrivo, ultimo.dataPartenza, giorno),
                                            GiornoDelMese(ultimo.dataArrivo), GiornoDelMese(ultimo.dataPartenza)));
    }

    // Line A from the bookings of the room: a booking covering the day stands
    // over the guests, the last one found over the others.
    void Prenotazioni(std::string& riga, int k, const std::string& stanza, Casella& c) const {
        const std::string& giorno = giorni_[k].data;
        for (const CameraPrenotata* p : dati_.Prenotazioni(hotel_, stanza)) {
            if (p->numeroPersone.Intero() <= 0 || !OccupaIlGiorno(p->dataArrivo, p->dataPartenza, giorno)) continue;
            c.personePrenotazione = p->numeroPersone.Intero();
            c.conto = p->numeroPrenotazione.Intero();
            if (const Testata* t = dati_.TrovaTestata(hotel_, c.conto)) {
                c.nomePrenotazione = Inizio(t->nomeCliente, 14);
                c.pagamentoPrenotazione = t->pagamento.IsNull() ? ' ' : CodicePagamento(t->pagamento);
            } else {
                c.nomePrenotazione.assign(1, ' ');
                c.pagamentoPrenotazione = ' ';
            }
            c.importo = p->prezzo.Intero();
            if (Taglia(c.nomePrenotazione).empty()) {
                ScriviCella(riga, k, "");
            } else {
                ScriviCella(riga, k, CellaOccupante(c.nomePrenotazione, !Estremo(p->dataArrivo, p->dataPartenza, giorno),
                                                    GiornoDelMese(p->dataArrivo), GiornoDelMese(p->dataPartenza)));
            }
        }
    }

    // Line B from the registered guests: agency of the head of the party.
    void AgenzieOspiti(std::string& riga, int k, const std::string& stanza, Casella& c) const {
        for (const Ospite* o : OspitiDelGiorno(stanza, giorni_[k].data)) {
            if (o->numeroComponente.Intero() != 1) continue;
            if (const Agenzia* a = dati_.TrovaAgenzia(hotel_, o->codiceAgenzia.Intero()))
                c.agenziaOspite = Inizio(a->ragioneSociale, 11);
        }
        ScriviCella(riga, k,
                    c.ospiti == 0 ? std::string()
                                  : CellaDettaglio(c.agenziaOspite, c.pagamentoOspite, c.ospiti, c.importo));
    }

    // Line B from the booking of the day, when its header and its room in
    // this room cover the day.
    void DettagliPrenotazione(std::string& riga, int k, const std::string& numeroCamera, Casella& c) const {
        const std::string& giorno = giorni_[k].data;
        const Testata* t = dati_.TrovaTestata(hotel_, c.conto);
        if (!t || !TipoOccupaCamera(t->tipoPrenotazione.Testo())) return;
        const CameraPrenotata* p = dati_.TrovaCameraPrenotata(hotel_, c.conto, numeroCamera);
        if (!p || !OccupaIlGiorno(p->dataArrivo, p->dataPartenza, giorno)) return;
        c.agenziaPrenotazione = Inizio(t->agenzia, 12);
        ScriviCella(riga, k,
                    c.personePrenotazione == 0
                        ? std::string()
                        : CellaDettaglio(c.agenziaPrenotazione, c.pagamentoPrenotazione, c.personePrenotazione,
                                         c.importo));
    }

    // The first or last date of a stay: the cell shows no marker then.
    static bool Estremo(const Valore& arrivo, const Valore& partenza, const std::string& giorno) {
        return arrivo.Testo() == giorno || partenza.Testo() == giorno;
    }

    std::int64_t hotel_;
    std::int64_t tableau_;
    std::string prima_;
    std::string ultima_;
    const std::array<Giorno, Giorni>& giorni_;
    const DatiSettimana& dati_;
};

}  // namespace

void CreaTableau(std::int16_t& hotel, std::int16_t& tableau, const std::string& primaCamera,
                 const std::string& ultimaCamera, std::string dataInizio) {
    const auto giorni = GiorniDellaSettimana(dataInizio);
    FileReport report;
    const auto dati = DatiSettimana::Leggi(giorni.front().data, giorni.back().data);
    Costruttore(hotel, tableau, primaCamera, ultimaCamera, giorni, dati).Scrivi(report);
    report.Completa();
}

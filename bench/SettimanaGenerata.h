#pragma once

// A large hotel made up for the benchmarks and the screenshots of the room
// rack: rooms on floors of a hundred, each with a year of stays drawn from a
// fixed seed, so that any week of it is the same every time.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "common/Routine.h"
#include "tableau/RigaReport.h"
#include "tableau/Settimana.h"

class AlbergoGenerato {
public:
    explicit AlbergoGenerato(int camere) {
        using namespace std::chrono;
        RiempiTabelleComuni();
        const char* const cognomi[] = {"ROSSI", "BIANCHI", "VERDI", "ESPOSITO", "ROMANO", "COLOMBO", "RICCI",
                                      "MARINO", "GRECO", "BRUNO", "GALLO", "CONTI", "DE LUCA", "MANCINI",
                                      "COSTA", "GIORDANO", "RIZZO", "LOMBARDI", "MORETTI", "BARBIERI"};
        const char* const nomi[] = {"MARIO", "ANNA", "LUCA", "GIULIA", "MARCO", "SARA", "PAOLO", "ELENA"};
        const char* const agenzie[] = {"", "", "Booking", "Expedia", "Viaggi Sole", "CTS Tour", "Alpitour"};
        const char* const tipi[] = {"SGL", "DBL", "DBL", "TRP", "SUITE", "DUS"};
        std::mt19937 caso(20261207);
        const sys_days inizio = sys_days{2026y / January / 1};
        const sys_days fine = sys_days{2028y / January / 1};
        std::int64_t numero = 1000;
        for (int i = 0; i < camere; ++i) {
            Stanza stanza;
            stanza.numero = std::to_string((i / 100 + 1) * 100 + i % 100);
            stanza.tipo = tipi[i % 6];
            stanza.piano = i / 100 + 1;
            stanza.fuoriServizio = i % 37 == 5;
            for (sys_days giorno = inizio + days{static_cast<int>(caso() % 4)}; giorno < fine;) {
                Partita p;
                const unsigned genere = caso() % 20;
                p.genere = genere < 11 ? GenerePartita::Ospite : GenerePartita::Prenotazione;
                p.tipoPrenotazione = genere < 11 ? "" : genere < 16 ? "C" : genere < 18 ? "D" : "O";
                p.nome = std::string(cognomi[caso() % 20]) + " " + nomi[caso() % 8];
                const sys_days partenza = giorno + days{1 + static_cast<int>(caso() % 7)};
                p.arrivo = DataTabella(giorno);
                p.partenza = DataTabella(partenza);
                p.persone = 1 + caso() % 4;
                p.agenzia = agenzie[caso() % 7];
                p.pagamento = "CBAD "[caso() % 5];
                p.importo = 60 + caso() % 300;
                p.numero = ++numero;
                stanza.soggiorni.push_back(p);
                // Now and then the guests registered on a booking stay listed beside it.
                if (p.genere == GenerePartita::Prenotazione && caso() % 10 == 0) {
                    Partita ospiti = p;
                    ospiti.genere = GenerePartita::Ospite;
                    ospiti.tipoPrenotazione.clear();
                    ospiti.numero += 500000;
                    stanza.soggiorni.push_back(ospiti);
                }
                giorno = partenza + days{static_cast<int>(caso() % 3)};
            }
            stanze_.push_back(std::move(stanza));
        }
    }

    // The week from `dataInizio` (dd/mm/yyyy), as the builder would give it.
    Settimana Settimana_(const std::string& dataInizio) const {
        using namespace std::chrono;
        Settimana s;
        s.hotel = 1;
        s.tableau = 1;
        s.nomeHotel = "Grand Hotel Generato";
        s.descrizioneTableau = "Tutte le camere";
        s.primaCamera = stanze_.empty() ? "" : stanze_.front().numero;
        s.ultimaCamera = stanze_.empty() ? "" : stanze_.back().numero;
        s.aggiornato = DataTabella(GiornoDiCalendario(dataInizio)) + "0745";
        const sys_days primo = GiornoDiCalendario(dataInizio);
        for (int k = 0; k < Griglia::Giorni; ++k) {
            const sys_days giorno = primo + days{k};
            s.giorni[k].data = DataTabella(giorno);
            s.giorni[k].giornoMese = s.giorni[k].data.substr(6, 2) + "/" + s.giorni[k].data.substr(4, 2);
            s.giorni[k].nome = static_cast<int>(weekday{giorno}.iso_encoding()) - 1;
        }
        s.camere.reserve(stanze_.size());
        for (const Stanza& stanza : stanze_) {
            CameraSettimana camera;
            camera.numero = stanza.numero;
            camera.tipo = stanza.tipo;
            camera.piano = stanza.piano;
            camera.fuoriServizio = stanza.fuoriServizio;
            for (int k = 0; k < Griglia::Giorni; ++k) {
                GiornoCamera& g = camera.giorni[k];
                const std::string& data = s.giorni[k].data;
                g.cellaA = g.cellaB = std::string(Griglia::LarghezzaCella, ' ');
                const auto primoUtile = std::lower_bound(stanza.soggiorni.begin(), stanza.soggiorni.end(), data,
                                                         [](const Partita& p, const std::string& d) { return p.partenza < d; });
                for (auto it = primoUtile; it != stanza.soggiorni.end() && it->arrivo <= data; ++it) {
                    Partita p = *it;
                    p.momento = data == p.partenza ? MomentoSoggiorno::Partenza
                                : data == p.arrivo ? MomentoSoggiorno::Arrivo
                                                   : MomentoSoggiorno::Soggiorno;
                    // The booking is the one the report shows, over the guests registered on it.
                    p.mostrata = p.momento != MomentoSoggiorno::Partenza && p.numero < 500000;
                    if (p.mostrata) {
                        g.cellaA = CellaOccupante(p.nome, p.momento == MomentoSoggiorno::Soggiorno, p.arrivo.substr(6, 2),
                                                  p.partenza.substr(6, 2));
                        g.cellaB = CellaDettaglio(p.agenzia, p.pagamento, p.persone, p.importo);
                    }
                    g.partite.push_back(std::move(p));
                }
            }
            s.camere.push_back(std::move(camera));
        }
        return s;
    }

private:
    struct Stanza {
        std::string numero, tipo;
        std::int64_t piano = 0;
        bool fuoriServizio = false;
        std::vector<Partita> soggiorni;  // in order of arrival, none overlapping but a booking's guests
    };
    std::vector<Stanza> stanze_;
};

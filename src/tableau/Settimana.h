#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tableau/RigaReport.h"

// The week of a tableau as data: for every room listed (the rooms of the
// report, in its order) and every day, the two cells the report shows and
// the facts behind them. The builder fills it; the report file, the room
// rack on screen and on paper, and the data written for scripts are made
// from it. Texts are Windows-1252, as everywhere in the core; dates of stays
// are date texts yyyymmdd.

// Who a party is in the suite's data.
enum class GenerePartita {
    Ospite,        // registered guests (Scheda_Cliente), by party (head of party's account)
    Prenotazione,  // a booked room (Camere_Prenotazione) with its booking's header
};

// What a day is to a stay: its arrival (the first night), a night between,
// or its departure (no night: the room is left that morning).
enum class MomentoSoggiorno { Arrivo, Soggiorno, Partenza };

// A party that touches a room on a day: there for the night, or leaving
// that morning.
struct Partita {
    GenerePartita genere = GenerePartita::Ospite;
    std::string nome;      // name of the head of the party or of the booking, as stored (blanks trimmed)
    std::string arrivo;    // yyyymmdd
    std::string partenza;  // yyyymmdd
    MomentoSoggiorno momento = MomentoSoggiorno::Soggiorno;
    std::int64_t persone = 0;
    std::string agenzia;        // agency name; "" for none
    char pagamento = ' ';       // payment code; ' ' for none
    std::int64_t importo = 0;   // the day's amount (charges of the day, or the booking's price)
    std::int64_t numero = 0;    // the guest's account (NumeroProgressivo) or the booking number
    std::string tipoPrenotazione;  // TipoPrenotazione of a booking ("C", "O", "D"...); "" for guests
    bool mostrata = false;      // the party the report's cells show on this day
    friend bool operator==(const Partita&, const Partita&) = default;
};

// One room on one day.
struct GiornoCamera {
    std::string cellaA;  // the 17 characters of line A (occupant), as the report writes them
    std::string cellaB;  // the 17 characters of line B (agency, payment, persons, amount)
    std::vector<Partita> partite;  // in the order the builder finds them: guests, then bookings
    friend bool operator==(const GiornoCamera&, const GiornoCamera&) = default;
};

// One room of the week.
struct CameraSettimana {
    std::string numero;  // NumeroCamera, as stored
    std::string tipo;    // TipoCamera, as stored
    std::optional<std::int64_t> piano;  // Piano, when the rooms' table has it
    bool fuoriServizio = false;         // FuoriServizio, when the rooms' table has it
    std::array<GiornoCamera, Griglia::Giorni> giorni;
    friend bool operator==(const CameraSettimana&, const CameraSettimana&) = default;
};

// One of the seven days.
struct DataSettimana {
    std::string data;        // yyyymmdd
    std::string giornoMese;  // dd/mm, as the header shows it
    int nome = 0;            // index in NomiGiorni (0 = Monday)
    friend bool operator==(const DataSettimana&, const DataSettimana&) = default;
};

// The week built for one hotel, tableau, range of rooms and start date.
struct Settimana {
    std::int16_t hotel = 0;
    std::int16_t tableau = 0;
    std::string nomeHotel;           // RagioneSociale; "" when not found
    std::string descrizioneTableau;  // Descrizione; "" when not found
    std::string primaCamera;         // the range as asked
    std::string ultimaCamera;
    std::string aggiornato;          // yyyymmddhhnn: when the builder read the data; "" when not known
    std::array<DataSettimana, Griglia::Giorni> giorni;
    std::vector<CameraSettimana> camere;
    friend bool operator==(const Settimana&, const Settimana&) = default;
};

// The counts of a day, or of the whole week (then summed over its days:
// room-nights, person-nights).
// Arrivals, departures and stay-overs count stays: in one room on one day,
// the parties with the same arrival and departure (a booking and the guests
// registered on it) are one stay.
struct TotaliGiorno {
    int arrivi = 0;         // stays arriving (their first night)
    int partenze = 0;       // stays leaving that morning
    int fermate = 0;        // stays on a night between (neither arriving nor leaving)
    int occupate = 0;       // rooms whose line A cell is not blank
    int libere = 0;         // rooms neither occupied nor out of service
    int fuoriServizio = 0;  // rooms out of service
    int persone = 0;        // persons of the parties shown, arrivals and stays
    // Occupied rooms in service in per cent of the rooms in service; 0 without any.
    double occupazione = 0;
    friend bool operator==(const TotaliGiorno&, const TotaliGiorno&) = default;
};

std::array<TotaliGiorno, Griglia::Giorni> TotaliDeiGiorni(const Settimana& settimana);
TotaliGiorno TotaliDellaSettimana(const Settimana& settimana);

// True when the line A cell shows an occupant (it is not all blanks).
bool CellaOccupata(const GiornoCamera& giorno);

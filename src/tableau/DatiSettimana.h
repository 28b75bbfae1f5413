#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/Valore.h"

// The records one tableau build reads, loaded once from the suite's databases
// and kept with the fields it uses. Fields keep their Null so that the
// searches below answer as the database engine's criteria do: a Null field
// equals nothing, texts compare without regard to case.

struct Camera {
    Valore numeroHotel, numeroTableau, numeroCamera, tipoCamera;
};

struct Ospite {
    Valore numeroHotel, numeroCamera, partito, dataArrivo, dataPartenza, numeroComponente, nomeCliente,
        numeroProgressivo, tipoPagamento, codiceAgenzia;
};

struct Addebito {
    Valore numeroHotel, codiceCliente, numeroConto, dataInizio, dataFine, importoTotale;
};

struct Agenzia {
    Valore numeroHotel, codice, ragioneSociale;
};

struct CameraPrenotata {
    Valore numeroHotel, numeroCamera, numeroPrenotazione, tipoPrenotazione, numeroPersone, dataArrivo,
        dataPartenza, prezzo;
};

struct Testata {
    Valore numeroHotel, numeroPrenotazione, nomeCliente, pagamento, tipoPrenotazione, agenzia;
};

class DatiSettimana {
public:
    // Reads, from the databases of the current folder: the rooms whose type
    // counts as a room, in room-number order; the guests and booked rooms whose
    // stay touches the week from `primo` to `ultimo` (date texts yyyymmdd);
    // the headers of those bookings; all agencies and all charges.
    static DatiSettimana Leggi(const std::string& primo, const std::string& ultimo);

    const std::vector<Camera>& Camere() const { return camere_; }

    // Guests in room `camera` on `giorno` still in the hotel, in stored order:
    // NumeroCamera = camera and Partito = 'N' and DataArrivo <= giorno and DataPartenza > giorno.
    std::vector<const Ospite*> Ospiti(std::string_view camera, std::string_view giorno) const;

    // Charges on account 1 of a guest covering `giorno`: NumeroHotel = hotel and
    // CodiceCliente = cliente and NumeroConto = 1 and DataInizio <= giorno and DataFine > giorno.
    std::vector<const Addebito*> Addebiti(std::int64_t hotel, std::int64_t cliente, std::string_view giorno) const;

    // First agency with NumeroHotel = hotel and Codice = codice, or null.
    const Agenzia* TrovaAgenzia(std::int64_t hotel, std::int64_t codice) const;

    // Booked rooms of the week with NumeroHotel = hotel and NumeroCamera = camera
    // and TipoPrenotazione 'C', 'O' or 'D', in stored order.
    std::vector<const CameraPrenotata*> Prenotazioni(std::int64_t hotel, std::string_view camera) const;

    // First booking header with NumeroHotel = hotel and NumeroPrenotazione = numero, or null.
    const Testata* TrovaTestata(std::int64_t hotel, std::int64_t numero) const;

    // First booked room of the week with NumeroHotel = hotel and
    // NumeroPrenotazione = numero and NumeroCamera = camera, or null.
    const CameraPrenotata* TrovaCameraPrenotata(std::int64_t hotel, std::int64_t numero,
                                                std::string_view camera) const;

private:
    std::vector<Camera> camere_;
    std::unordered_map<std::string, std::vector<Ospite>> ospitiPerCamera_;
    std::unordered_map<std::int64_t, std::vector<Addebito>> addebitiPerCliente_;
    std::unordered_map<std::int64_t, std::vector<Agenzia>> agenziePerCodice_;
    std::unordered_map<std::string, std::vector<CameraPrenotata>> prenotatePerCamera_;
    std::unordered_map<std::int64_t, std::vector<CameraPrenotata>> prenotatePerNumero_;
    std::unordered_map<std::int64_t, std::vector<Testata>> testatePerNumero_;
};

// A text as an SQL or criterion literal: in apostrophes, its apostrophes doubled.
std::string Letterale(std::string_view testo);

// The criterion tests on one field: texts without regard to case, a Null
// field never satisfies them.
bool TestoUguale(const Valore& campo, std::string_view testo);
bool TestoNonDopo(const Valore& campo, std::string_view testo);   // campo <= testo
bool TestoDopo(const Valore& campo, std::string_view testo);      // campo > testo
bool NumeroUguale(const Valore& campo, std::int64_t n);

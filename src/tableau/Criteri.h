#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archivio/Criterio.h"

// The tables of the suite's databases as the program reads them: the record
// sets the tableau build opens and the criteria it searches them with, the
// main window's lists and proposed range of rooms, and the hotel and tableau
// the print menu looks up. A Selezione names the fields read of its records
// and the criteria they are searched with, so that every field the program
// uses is checked against its table when the record set is opened. Each
// criterion's form is built once; the values are given at each search.
// Dates are date texts yyyymmdd.

// The fields read, by table.
namespace campo {
// AnagraficaHotels
inline const Campo Numero{"Numero"}, RagioneSociale{"RagioneSociale"}, CodiceAssistenza{"CodiceAssistenza"};
// Tableau
inline const Campo NumeroHotel{"NumeroHotel"}, Codice{"Codice"}, Descrizione{"Descrizione"};
// NumeriCamere
inline const Campo NumeroTableau{"NumeroTableau"}, NumeroCamera{"NumeroCamera"}, TipoCamera{"TipoCamera"},
    Piano{"Piano"}, FuoriServizio{"FuoriServizio"};
// TipiCamere
inline const Campo Sigla{"Sigla"}, Tipologia{"Tipologia"};
// Scheda_Cliente
inline const Campo Partito{"Partito"}, DataArrivo{"DataArrivo"}, DataPartenza{"DataPartenza"},
    NumeroComponente{"NumeroComponente"}, NomeCliente{"NomeCliente"}, NumeroProgressivo{"NumeroProgressivo"},
    TipoPagamento{"TipoPagamento"}, CodiceAgenzia{"CodiceAgenzia"};
// Arrangiamento
inline const Campo CodiceCliente{"CodiceCliente"}, NumeroConto{"NumeroConto"}, DataInizio{"DataInizio"},
    DataFine{"DataFine"}, ImportoTotale{"ImportoTotale"};
// Camere_Prenotazione
inline const Campo NumeroPrenotazione{"NumeroPrenotazione"}, TipoPrenotazione{"TipoPrenotazione"},
    NumeroPersone{"NumeroPersone"}, Prezzo{"Prezzo"};
// Scheda_Prenotazione
inline const Campo Pagamento{"Pagamento"}, Agenzia{"Agenzia"};
}  // namespace campo

// The build's record sets. Rooms whose type counts as a room, in
// room-number order, with their floor and whether they are out of service
// when the table has those fields; guests, booked rooms, and headers of the bookings with
// a room, whose stay touches the week from `primo` to `ultimo` (a night in
// it, or a departure on its first morning); the whole
// tables of agencies, charges and room types.
Selezione QueryCamere();
Selezione QueryOspiti(const std::string& primo, const std::string& ultimo);
Selezione QueryCamerePrenotate(const std::string& primo, const std::string& ultimo);
Selezione QueryTestate(const std::string& primo, const std::string& ultimo);
Selezione TabellaAgenzie();
Selezione TabellaAddebiti();
Selezione TabellaTipiCamere();

// The build's searches. The rooms of a hotel.
Criterio CriterioCamere(std::int64_t hotel);
// Guests still in the hotel in room `stanza` on `giorno`.
Criterio CriterioOspiti(std::string_view stanza, std::string_view giorno);
// Charges on account 1 of guest account `cliente` covering `giorno`.
Criterio CriterioAddebiti(std::int64_t hotel, std::int64_t cliente, std::string_view giorno);
// The agency of code `codice`.
Criterio CriterioAgenzia(std::int64_t hotel, std::int64_t codice);
// Bookings of room `stanza` whose type takes a place in the tableau.
Criterio CriterioPrenotazioni(std::int64_t hotel, std::string_view stanza);
// The header of booking `numero`.
Criterio CriterioTestata(std::int64_t hotel, std::int64_t numero);
// The booked room `camera` of booking `numero` with a night in the week from `primo`.
Criterio CriterioCameraPrenotata(std::int64_t hotel, std::int64_t numero, std::string_view camera,
                                 std::string_view primo);

// The main window's record sets (whole tables, kept while it is shown) and
// searches: the hotels to list; the tableau definitions of a hotel to list;
// the rooms of a tableau; a room type by its code.
Selezione TabellaHotel();
Selezione TabellaTableau();
Selezione TabellaNumeriCamere();
Criterio CriterioElencoHotel();
Criterio CriterioElencoTableau(std::int64_t hotel);
Criterio CriterioCamereDelTableau(std::int64_t hotel, std::int64_t tableau);
Criterio CriterioTipoCamera(std::string_view sigla);

// What the print menu looks up in the same tables, each search on a table of
// its own: a hotel's service code and its name, by the hotel's number; the
// description of a hotel's tableau.
Selezione TabellaAssistenza();
Selezione TabellaNomiHotel();
Selezione TabellaDescrizioniTableau();
Criterio CriterioHotel(std::int64_t numero);
Criterio CriterioDescrizioneTableau(std::int64_t hotel, std::int64_t codice);

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The texts the tableau build hands to the store: the queries of its record
// sets and its search criteria. Numbers are written without a leading blank,
// texts as literals in apostrophes; dates are date texts yyyymmdd.

// Rooms whose type counts as a room, in room-number order.
std::string QueryCamere();
// Guests, booked rooms, and headers of the bookings with a room, whose stay
// touches the week from `primo` to `ultimo`.
std::string QueryOspiti(const std::string& primo, const std::string& ultimo);
std::string QueryCamerePrenotate(const std::string& primo, const std::string& ultimo);
std::string QueryTestate(const std::string& primo, const std::string& ultimo);

// The fields the build reads of each record set, from its records and in its
// search criteria; the store reads no other field of the file (those its
// query names besides).
const std::vector<std::string>& CampiCamere();
const std::vector<std::string>& CampiOspiti();
const std::vector<std::string>& CampiCamerePrenotate();
const std::vector<std::string>& CampiTestate();
const std::vector<std::string>& CampiAgenzie();
const std::vector<std::string>& CampiAddebiti();
// The fields of the room types the rooms' query reads.
const std::vector<std::string>& CampiTipi();

// The rooms of a hotel.
std::string CriterioCamere(std::int64_t hotel);
// Guests still in the hotel in room `stanza` on `giorno`.
std::string CriterioOspiti(std::string_view stanza, std::string_view giorno);
// Charges on account 1 of guest account `cliente` covering `giorno`.
std::string CriterioAddebiti(std::int64_t hotel, std::int64_t cliente, std::string_view giorno);
// The agency of code `codice`.
std::string CriterioAgenzia(std::int64_t hotel, std::int64_t codice);
// Bookings of room `stanza` whose type takes a place in the tableau.
std::string CriterioPrenotazioni(std::int64_t hotel, std::string_view stanza);
// The header of booking `numero`.
std::string CriterioTestata(std::int64_t hotel, std::int64_t numero);
// The booked room `camera` of booking `numero`.
std::string CriterioCameraPrenotata(std::int64_t hotel, std::int64_t numero, std::string_view camera);

#pragma once

#include <cstdint>

// The choice made in the main window, read by the builder and the print menu.
// Number of the chosen hotel (Numero of AnagraficaHotels).
extern std::int16_t NumeroHotelCorrente;
// Code of the chosen tableau definition (Codice of Tableau).
extern std::int16_t NumeroTableauCorrente;

#include "app/Globali.h"

std::int16_t NumeroHotelCorrente = 0;
std::int16_t NumeroTableauCorrente = 0;

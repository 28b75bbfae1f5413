#include "print/TabelleStampa.h"

using namespace campo;

namespace {

constexpr Parametro Primo{0};

// Values: hotel.
const Forma& FormaHotel() {
    static const Forma forma = NumeroHotel == Primo;
    return forma;
}

// Values: destination.
const Forma& FormaDestinazione() {
    static const Forma forma = Destinazione == Primo;
    return forma;
}

// Values: print type.
const Forma& FormaSetStampa() {
    static const Forma forma = TipoStampa == Primo;
    return forma;
}

}  // namespace

Selezione TabellaContatori(bool compressa) {
    return {.tabella = "Contatori", .campi = {compressa ? LungPagComp : LungPagNoComp}, .ricerche = {FormaHotel()}};
}

Criterio CriterioContatori(std::int64_t hotel) { return {FormaHotel(), {Valore::Intero(hotel)}}; }

Selezione TabellaNomiDestinazioni() {
    return {.tabella = "Stampanti", .campi = {Destinazione}, .ricerche = {FormaHotel()}};
}

Criterio CriterioDestinazioniHotel(std::int64_t hotel) { return {FormaHotel(), {Valore::Intero(hotel)}}; }

Selezione TabellaDestinazioni() {
    return {.tabella = "Stampanti", .campi = {Destinazione, TipoStampa, Linea}, .ricerche = {FormaDestinazione()}};
}

Criterio CriterioDestinazione(std::string_view destinazione) {
    return {FormaDestinazione(), {Valore::Testo(destinazione)}};
}

Selezione TabellaSetStampa() {
    return {.tabella = "SetStampa", .campi = {Compresso, Grassetto}, .ricerche = {FormaSetStampa()}};
}

Criterio CriterioSetStampa(std::int64_t tipoStampa) { return {FormaSetStampa(), {Valore::Intero(tipoStampa)}}; }

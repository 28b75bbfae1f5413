#pragma once

#include <optional>
#include <string>

#include "tableau/Settimana.h"

// A week made by hand for the tests, as the builder would fill it: seven
// days from `primoGiorno` (yyyymmdd), rooms added one by one, and stays
// placed on the days they touch, with the cells the report would show for
// the nights they are shown.
class SettimanaFatta {
public:
    explicit SettimanaFatta(const std::string& primoGiorno = "20261207");

    SettimanaFatta& Camera(const std::string& numero, const std::string& tipo = "DBL",
                           std::optional<std::int64_t> piano = std::nullopt, bool fuoriServizio = false);
    // Places `partita` (its arrival and departure set) in room `camera` on
    // every day it touches, with that day's moment; shown on its nights when `mostrata`.
    SettimanaFatta& Soggiorno(const std::string& camera, Partita partita, bool mostrata = true);

    Settimana settimana;
};

// A party for SettimanaFatta::Soggiorno: registered guests, or a booking of `tipo`.
Partita Ospiti(const std::string& nome, std::int64_t conto, const std::string& arrivo, const std::string& partenza,
               std::int64_t persone = 2);
Partita Prenotati(const std::string& nome, std::int64_t numero, const std::string& tipo, const std::string& arrivo,
                  const std::string& partenza, std::int64_t persone = 2);

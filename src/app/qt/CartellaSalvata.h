#pragma once

#include <optional>
#include <string>

// The data folder and workstation number the window program works with when
// it is started outside a data folder (from the desktop menu).
struct CartellaPostazione {
    std::string cartella;    // absolute path
    std::string postazione;  // the value PCLocal takes
    friend bool operator==(const CartellaPostazione&, const CartellaPostazione&) = default;
};

// The values saved in the user's settings (QSettings, in the user's
// configuration folder); nothing when none are saved yet.
std::optional<CartellaPostazione> LeggiCartellaSalvata();

// Saves `scelta` in the user's settings for the next starts.
void SalvaCartella(const CartellaPostazione& scelta);

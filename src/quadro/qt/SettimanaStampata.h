#pragma once

#include <optional>
#include <string>

#include "common/Contesto.h"
#include "tableau/Settimana.h"

// A week's model as it was kept at its last print, read back.
struct SettimanaStampata {
    Settimana settimana;
    std::string stampato;  // yyyymmddhhnn
};

// The week of JSON `json` (as JsonSettimana writes it, with the time it was
// printed); `nome` names the file in the message. Throws Errore 3343 when
// the text is not such a week.
SettimanaStampata SettimanaDaJson(const std::string& json, const std::string& nome);

// The model kept at the last print of the week of `settimana` (its hotel,
// tableau and first day) by the workstation of `contesto`; none when that
// week was never printed there. Throws Errore 3343 when the kept file is
// damaged, 75 when it cannot be read or is larger than kMassimoSettimanaStampata.
std::optional<SettimanaStampata> LeggiSettimanaStampata(const Contesto& contesto, const Settimana& settimana);

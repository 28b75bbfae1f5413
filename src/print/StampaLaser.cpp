#include "print/StampaLaser.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "common/Routine.h"
#include "common/piattaforma/Stampante.h"

namespace {

constexpr char Cediglia = '\xE7';  // "ç", the bold switch

}  // namespace

std::string Converti2(std::string& Frase) {
    // The upper-case form of each sign is the frame code it replaces; tried in
    // this order before the frame codes themselves.
    const std::array<std::pair<char, char>, 7> accenti = {{
        {Maiuscola('\xB4'), '\''},    // ´ -> '
        {Maiuscola('\xE0'), '\xE0'},  // À -> à
        {Maiuscola('\xE8'), '\xE8'},  // È -> è
        {Maiuscola('\xE9'), '\xE9'},  // É -> é
        {Maiuscola('\xEC'), '\xEC'},  // Ì -> ì
        {Maiuscola('\xF9'), '\xF9'},  // Ù -> ù
        {Maiuscola('\xF2'), '\xF2'},  // Ò -> ò
    }};
    // The frame's places are those of the line as it came: a separator line
    // stays one though its right tee turns into "'".
    const PostiCornice cornice(Frase);
    for (std::size_t i = 0; i < Frase.size(); ++i) {
        char& c = Frase[i];
        const auto accento = std::find_if(accenti.begin(), accenti.end(), [c](const auto& a) { return a.first == c; });
        if (accento != accenti.end())
            c = accento->second;
        else if (cornice(i))
            c = CorniceSemplice(c);
    }
    return Frase;
}

std::vector<PezzoRiga> PezziRiga(const std::string& Testo) {
    const PostiCornice griglia(Testo);
    // Positions of the "ç" that switch: paired within each cell.
    std::vector<bool> interruttore(Testo.size(), false);
    std::optional<std::size_t> aperto;
    for (std::size_t i = 0; i < Testo.size(); ++i) {
        if (griglia.PostoDiGriglia(i)) {
            aperto.reset();
        } else if (Testo[i] == Cediglia) {
            if (aperto) interruttore[*aperto] = interruttore[i] = true;
            aperto = aperto ? std::nullopt : std::optional(i);
        }
    }
    std::vector<PezzoRiga> pezzi(1);
    for (std::size_t i = 0; i < Testo.size(); ++i) {
        if (interruttore[i])
            pezzi.push_back({"", !pezzi.back().grassetto});
        else
            pezzi.back().testo += Testo[i];
    }
    return pezzi;
}

void StampaLaser(Stampante& stampante, const std::string& Testo, const DimensioniRiga& dimensioni) {
    const std::vector<PezzoRiga> pezzi = PezziRiga(Testo);
    for (std::size_t i = 0; i + 1 < pezzi.size(); ++i) {
        stampante.Stampa(pezzi[i].testo, false);
        const bool grassetto = pezzi[i + 1].grassetto;
        stampante.ImpostaFontSize(grassetto ? dimensioni.grassetto : dimensioni.normale);
        stampante.ImpostaFontBold(grassetto);
    }
    stampante.Stampa(pezzi.back().testo, true);
}

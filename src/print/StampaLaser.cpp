#include "print/StampaLaser.h"

#include <array>
#include <utility>

#include "common/Routine.h"
#include "common/piattaforma/Stampante.h"

namespace {

constexpr char Cediglia = '\xE7';  // "ç", the bold switch
constexpr double PassoGrassetto = 0.4;

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
    for (char& c : Frase) {
        for (const auto& [codice, sostituto] : accenti) {
            if (c == codice) {
                c = sostituto;
                break;
            }
        }
    }
    // No replacement above is a frame code, so the rest is the frame rule.
    return ConvertiCornici(Frase);
}

void StampaLaser(Stampante& stampante, const std::string& Testo) {
    std::string buffer;
    bool grassetto = false;
    for (const char c : Testo) {
        if (c != Cediglia) {
            buffer += c;
            continue;
        }
        grassetto = !grassetto;
        stampante.Stampa(buffer, false);
        buffer.clear();
        stampante.ImpostaFontSize(stampante.FontSize() + (grassetto ? -PassoGrassetto : PassoGrassetto));
        stampante.ImpostaFontBold(grassetto);
    }
    stampante.Stampa(buffer, true);
}

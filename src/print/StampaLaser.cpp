#include "print/StampaLaser.h"

#include <algorithm>
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

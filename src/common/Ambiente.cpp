#include "common/Ambiente.h"

#include "common/Routine.h"

extern char** environ;

std::optional<std::string> LeggiAmbiente(std::string_view nome) {
    const std::string cercato = Maiuscolo(nome);
    std::optional<std::string> valore;
    for (char** voce = environ; voce && *voce; ++voce) {
        const std::string_view testo(*voce);
        const auto uguale = testo.find('=');
        if (uguale == std::string_view::npos || Maiuscolo(testo.substr(0, uguale)) != cercato) continue;
        valore = std::string(testo.substr(uguale + 1));
        if (testo.substr(0, uguale) == nome) break;
    }
    return valore;
}

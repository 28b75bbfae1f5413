#include "tableau/RigaReport.h"

#include "common/Routine.h"

using namespace Griglia;

std::string RigaVuota() {
    std::string riga(LunghezzaRiga, ' ');
    for (const auto colonna : ColonneSeparatore) riga[colonna - 1] = Verticale;
    return riga;
}

std::string RigaSeparatore() {
    std::string riga(LunghezzaRiga, Orizzontale);
    for (const auto colonna : ColonneSeparatore) riga[colonna - 1] = Croce;
    riga[LunghezzaRiga - 1] = TDestra;
    return riga;
}

std::string Adatta(std::string_view testo, std::size_t n) {
    std::string out(testo.substr(0, n));
    out.resize(n, ' ');
    return out;
}

void ScriviCella(std::string& riga, int giorno, std::string_view testo) {
    riga.replace(ColonnaCella(giorno) - 1, LarghezzaCella, Adatta(testo, LarghezzaCella));
}

void ScriviColonnaCamera(std::string& riga, std::string_view testo) {
    riga.replace(0, LarghezzaCamera, Adatta(testo, LarghezzaCamera));
}

std::string NumeroADestra(std::int64_t n, std::size_t larghezza) {
    const std::string cifre = TestoIntero(n);
    if (cifre.size() > larghezza) return std::string(larghezza, '*');
    return std::string(larghezza - cifre.size(), ' ') + cifre;
}

std::string CellaIntestazione(std::string_view nomeGiorno, std::string_view giornoMese) {
    return Adatta(" " + std::string(nomeGiorno) + " " + std::string(giornoMese), LarghezzaCella);
}

std::string CellaOccupante(std::string_view nome, bool inSoggiorno, std::string_view giornoArrivo,
                           std::string_view giornoPartenza) {
    return Adatta(nome, 8) + (inSoggiorno ? " F " : "   ") + Adatta(giornoArrivo, 2) + "- " +
           Adatta(giornoPartenza, 2);
}

std::string CellaDettaglio(std::string_view agenzia, char pagamento, std::int64_t persone,
                           std::int64_t importo) {
    return Adatta(agenzia, 8) + " " + pagamento + " " + NumeroADestra(persone, 2) + Verticale +
           NumeroADestra(importo, 3);
}

#include "tableau/Settimana.h"

#include <set>
#include <utility>

namespace {

// What the totals of one day add up before the percentage is taken.
struct Conteggio {
    TotaliGiorno totali;
    int inServizio = 0;
    int occupateInServizio = 0;

    void Aggiungi(const Conteggio& altro) {
        totali.arrivi += altro.totali.arrivi;
        totali.partenze += altro.totali.partenze;
        totali.fermate += altro.totali.fermate;
        totali.occupate += altro.totali.occupate;
        totali.libere += altro.totali.libere;
        totali.fuoriServizio += altro.totali.fuoriServizio;
        totali.persone += altro.totali.persone;
        inServizio += altro.inServizio;
        occupateInServizio += altro.occupateInServizio;
    }

    TotaliGiorno Concluso() const {
        TotaliGiorno concluso = totali;
        concluso.occupazione = inServizio == 0 ? 0 : 100.0 * occupateInServizio / inServizio;
        return concluso;
    }
};

// The stays of a room on a day by what the day is to them; parties with the
// same arrival and departure count once.
void ContaSoggiorni(const GiornoCamera& giorno, TotaliGiorno& totali) {
    std::set<std::pair<std::string, std::string>> visti;
    for (const Partita& partita : giorno.partite) {
        if (!visti.emplace(partita.arrivo, partita.partenza).second) continue;
        switch (partita.momento) {
        case MomentoSoggiorno::Arrivo:
            ++totali.arrivi;
            break;
        case MomentoSoggiorno::Soggiorno:
            ++totali.fermate;
            break;
        case MomentoSoggiorno::Partenza:
            ++totali.partenze;
            break;
        }
    }
}

Conteggio ContaGiorno(const Settimana& settimana, int k) {
    Conteggio conteggio;
    TotaliGiorno& totali = conteggio.totali;
    for (const CameraSettimana& camera : settimana.camere) {
        const GiornoCamera& giorno = camera.giorni[k];
        const bool occupata = CellaOccupata(giorno);
        ContaSoggiorni(giorno, totali);
        for (const Partita& partita : giorno.partite)
            if (partita.mostrata && partita.momento != MomentoSoggiorno::Partenza)
                totali.persone += static_cast<int>(partita.persone);
        totali.occupate += occupata;
        if (camera.fuoriServizio) {
            ++totali.fuoriServizio;
            continue;
        }
        ++conteggio.inServizio;
        conteggio.occupateInServizio += occupata;
        totali.libere += !occupata;
    }
    return conteggio;
}

}  // namespace

bool CellaOccupata(const GiornoCamera& giorno) { return giorno.cellaA.find_first_not_of(' ') != std::string::npos; }

std::array<TotaliGiorno, Griglia::Giorni> TotaliDeiGiorni(const Settimana& settimana) {
    std::array<TotaliGiorno, Griglia::Giorni> giorni;
    for (int k = 0; k < Griglia::Giorni; ++k) giorni[k] = ContaGiorno(settimana, k).Concluso();
    return giorni;
}

TotaliGiorno TotaliDellaSettimana(const Settimana& settimana) {
    Conteggio settimanale;
    for (int k = 0; k < Griglia::Giorni; ++k) settimanale.Aggiungi(ContaGiorno(settimana, k));
    return settimanale.Concluso();
}

#include "tableau/IntervalloCamere.h"

#include "archivio/Database.h"
#include "tableau/Criteri.h"

IntervalloCamere IntervalloDelTableau(Recordset& camere, Recordset& tipi, std::int64_t hotel, std::int64_t tableau) {
    IntervalloCamere intervallo{"\xFF", ""};
    const Criterio criterio = CriterioCamereDelTableau(hotel, tableau);
    for (camere.FindFirst(criterio); !camere.NoMatch(); camere.FindNext(criterio)) {
        tipi.FindFirst(CriterioTipoCamera(camere[campo::TipoCamera].Testo()));
        if (tipi.NoMatch() || tipi[campo::Tipologia].Testo() != "C") continue;
        const std::string camera = camere[campo::NumeroCamera].Testo();
        if (intervallo.prima > camera) intervallo.prima = camera;
        if (intervallo.ultima < camera) intervallo.ultima = camera;
    }
    return intervallo;
}

#include <QApplication>

#include "app/forms/Brov5Desk.h"
#include "app/forms/SceltaCartellaDati.h"
#include "common/forms/AvvisoAvvio.h"
#include "common/forms/MostraMessaggio.h"
#include "common/forms/TraduzioneQt.h"

int AvviaBrov5Desk(int argc, char** argv, const OpzioniAvvio& opzioni) {
    QApplication applicazione(argc, argv);
    const TraduzioneQt traduzione;
    const AvvisoAvvio avviso;
    std::optional<Contesto> contesto;
    try {
        contesto = PreparaCartellaDati(opzioni);
        if (!contesto) return 0;
    } catch (const std::exception& errore) {
        MostraErrore(errore);
        return 1;
    }
    Brov5Desk desk(std::move(*contesto));
    if (desk.Avvia()) QApplication::exec();
    return desk.CodiceUscita();
}

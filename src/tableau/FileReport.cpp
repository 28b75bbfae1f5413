#include "tableau/FileReport.h"

#include "common/Routine.h"
#include "tableau/RigaReport.h"

std::string NomeFileReport(const std::string& postazione) { return "FD" + postazione; }

std::optional<std::string> LeggiFileReport(const Contesto& contesto) {
    return contesto.cartella.Leggi(NomeFileReport(contesto.postazione), kMassimoReport, "il report");
}

FileReport::FileReport(const Contesto& contesto)
    : FileSostitutivo(contesto.cartella, NomeFileReport(contesto.postazione), "il file del report") {}

void ScriviRighe(FileReport& report, const Settimana& settimana) {
    std::string intestazione = RigaVuota();
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const DataSettimana& giorno = settimana.giorni[k];
        ScriviCella(intestazione, k, CellaIntestazione(NomiGiorni[giorno.nome], giorno.giornoMese));
    }
    report.ScriviRiga(intestazione);
    const std::string separatore = RigaSeparatore();
    report.ScriviRiga(separatore);
    for (const CameraSettimana& camera : settimana.camere) {
        std::string rigaA = RigaVuota();
        std::string rigaB = RigaVuota();
        ScriviColonnaCamera(rigaA, Taglia(camera.numero));
        ScriviColonnaCamera(rigaB, Taglia(camera.tipo));
        for (int k = 0; k < Griglia::Giorni; ++k) {
            ScriviCella(rigaA, k, camera.giorni[k].cellaA);
            ScriviCella(rigaB, k, camera.giorni[k].cellaB);
        }
        report.ScriviRiga(rigaA);
        report.ScriviRiga(rigaB);
        report.ScriviRiga(separatore);
    }
}

void ScriviReport(const Contesto& contesto, const Settimana& settimana) {
    FileReport report(contesto);
    ScriviRighe(report, settimana);
    report.Completa();
}

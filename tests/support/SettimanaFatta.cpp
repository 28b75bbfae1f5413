#include "support/SettimanaFatta.h"

#include <chrono>
#include <stdexcept>

#include "common/Routine.h"
#include "tableau/RigaReport.h"

namespace {

std::chrono::sys_days Giorno(const std::string& data) {
    using namespace std::chrono;
    return sys_days{year{std::stoi(data.substr(0, 4))} / month{static_cast<unsigned>(std::stoi(data.substr(4, 2)))} /
                    day{static_cast<unsigned>(std::stoi(data.substr(6, 2)))}};
}

}  // namespace

SettimanaFatta::SettimanaFatta(const std::string& primoGiorno) {
    RiempiTabelleComuni();
    settimana.hotel = 1;
    settimana.tableau = 1;
    settimana.nomeHotel = "Hotel Prova";
    settimana.descrizioneTableau = "Camere";
    settimana.aggiornato = primoGiorno + "0830";
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const auto giorno = Giorno(primoGiorno) + std::chrono::days{k};
        DataSettimana& d = settimana.giorni[k];
        d.data = DataTabella(giorno);
        d.giornoMese = d.data.substr(6, 2) + "/" + d.data.substr(4, 2);
        d.nome = static_cast<int>(std::chrono::weekday{giorno}.iso_encoding()) - 1;
    }
}

SettimanaFatta& SettimanaFatta::Camera(const std::string& numero, const std::string& tipo,
                                       std::optional<std::int64_t> piano, bool fuoriServizio) {
    CameraSettimana camera;
    camera.numero = numero;
    camera.tipo = tipo;
    camera.piano = piano;
    camera.fuoriServizio = fuoriServizio;
    for (GiornoCamera& giorno : camera.giorni) giorno.cellaA = giorno.cellaB = std::string(Griglia::LarghezzaCella, ' ');
    settimana.camere.push_back(camera);
    return *this;
}

SettimanaFatta& SettimanaFatta::Soggiorno(const std::string& numero, Partita partita, bool mostrata) {
    CameraSettimana* camera = nullptr;
    for (CameraSettimana& c : settimana.camere)
        if (c.numero == numero) camera = &c;
    if (!camera) throw std::invalid_argument("camera " + numero + " non aggiunta");
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const std::string& data = settimana.giorni[k].data;
        if (data < partita.arrivo || data > partita.partenza) continue;
        Partita giorno = partita;
        giorno.momento = data == partita.partenza ? MomentoSoggiorno::Partenza
                         : data == partita.arrivo ? MomentoSoggiorno::Arrivo
                                                  : MomentoSoggiorno::Soggiorno;
        giorno.mostrata = mostrata && giorno.momento != MomentoSoggiorno::Partenza;
        GiornoCamera& cella = camera->giorni[k];
        if (giorno.mostrata) {
            cella.cellaA = CellaOccupante(giorno.nome, giorno.momento == MomentoSoggiorno::Soggiorno,
                                          giorno.arrivo.substr(6, 2), giorno.partenza.substr(6, 2));
            cella.cellaB = CellaDettaglio(giorno.agenzia, giorno.pagamento, giorno.persone, giorno.importo);
        }
        cella.partite.push_back(giorno);
    }
    return *this;
}

Partita Ospiti(const std::string& nome, std::int64_t conto, const std::string& arrivo, const std::string& partenza,
               std::int64_t persone) {
    Partita p;
    p.genere = GenerePartita::Ospite;
    p.nome = nome;
    p.numero = conto;
    p.arrivo = arrivo;
    p.partenza = partenza;
    p.persone = persone;
    p.pagamento = 'C';
    p.importo = 85;
    return p;
}

Partita Prenotati(const std::string& nome, std::int64_t numero, const std::string& tipo, const std::string& arrivo,
                  const std::string& partenza, std::int64_t persone) {
    Partita p = Ospiti(nome, numero, arrivo, partenza, persone);
    p.genere = GenerePartita::Prenotazione;
    p.tipoPrenotazione = tipo;
    p.agenzia = "Agenzia Sole";
    p.pagamento = 'B';
    p.importo = 120;
    return p;
}

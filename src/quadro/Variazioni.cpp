#include "quadro/Variazioni.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "print/DatiMenuStampa.h"
#include "quadro/JsonSettimana.h"
#include "quadro/Quadro.h"

namespace {

// A party's identity across the two weeks.
using Identita = std::tuple<GenerePartita, std::int64_t, std::string>;

Identita IdentitaDi(const Partita& p) { return {p.genere, p.numero, p.numero == 0 ? p.nome : std::string()}; }

// A stay of a party in one room, with the days of the week it is listed on.
struct Soggiorno {
    std::string camera;
    std::string nome, arrivo, partenza;
    std::array<bool, Griglia::Giorni> giorni{};
    bool abbinato = false;
};

// The stays of each party in the rooms of `comuni`.
std::map<Identita, std::vector<Soggiorno>> Soggiorni(const Settimana& settimana, const std::set<std::string>& comuni) {
    std::map<Identita, std::vector<Soggiorno>> soggiorni;
    for (const CameraSettimana& camera : settimana.camere) {
        if (!comuni.contains(camera.numero)) continue;
        for (int k = 0; k < Griglia::Giorni; ++k)
            for (const Partita& partita : camera.giorni[k].partite) {
                auto& elenco = soggiorni[IdentitaDi(partita)];
                auto trovato = std::find_if(elenco.begin(), elenco.end(), [&](const Soggiorno& s) {
                    return s.camera == camera.numero && s.arrivo == partita.arrivo && s.partenza == partita.partenza;
                });
                if (trovato == elenco.end())
                    trovato = elenco.insert(elenco.end(), {camera.numero, partita.nome, partita.arrivo, partita.partenza});
                trovato->giorni[k] = true;
            }
    }
    return soggiorni;
}

class Confronto {
public:
    Confronto(const Settimana& attuale, VariazioniSettimana& esito) : esito_(esito) {
        for (std::size_t i = 0; i < attuale.camere.size(); ++i) posto_.emplace(attuale.camere[i].numero, i);
        esito_.celle.assign(attuale.camere.size(), {});
    }

    void Abbina(std::vector<Soggiorno>& prima, std::vector<Soggiorno>& dopo) {
        // The same room and dates first (unchanged), then the same room, then any room.
        Coppie(prima, dopo, [](const Soggiorno& a, const Soggiorno& b) {
            return a.camera == b.camera && a.arrivo == b.arrivo && a.partenza == b.partenza;
        });
        Coppie(prima, dopo, [](const Soggiorno& a, const Soggiorno& b) { return a.camera == b.camera; });
        Coppie(prima, dopo, [](const Soggiorno&, const Soggiorno&) { return true; });
        for (Soggiorno& nuovo : dopo)
            if (!nuovo.abbinato) Aggiungi(GenereVariazione::Aggiunta, nullptr, &nuovo);
        for (Soggiorno& vecchio : prima)
            if (!vecchio.abbinato) Aggiungi(GenereVariazione::Cancellata, &vecchio, nullptr);
    }

private:
    template <class Criterio>
    void Coppie(std::vector<Soggiorno>& prima, std::vector<Soggiorno>& dopo, Criterio&& criterio) {
        for (Soggiorno& vecchio : prima) {
            if (vecchio.abbinato) continue;
            for (Soggiorno& nuovo : dopo) {
                if (nuovo.abbinato || !criterio(vecchio, nuovo)) continue;
                vecchio.abbinato = nuovo.abbinato = true;
                if (const auto genere = Genere(vecchio, nuovo)) Aggiungi(*genere, &vecchio, &nuovo);
                break;
            }
        }
    }

    static std::optional<GenereVariazione> Genere(const Soggiorno& a, const Soggiorno& b) {
        if (a.camera != b.camera) return GenereVariazione::Spostata;
        if (a.arrivo == b.arrivo && a.partenza == b.partenza) return std::nullopt;
        if (b.arrivo >= a.arrivo && b.partenza <= a.partenza) return GenereVariazione::Accorciata;
        if (b.arrivo <= a.arrivo && b.partenza >= a.partenza) return GenereVariazione::Prolungata;
        return GenereVariazione::Spostata;
    }

    void Segna(const Soggiorno& s) {
        const auto posto = posto_.find(s.camera);
        if (posto == posto_.end()) return;
        for (int k = 0; k < Griglia::Giorni; ++k) esito_.celle[posto->second][k] |= s.giorni[k];
    }

    void Aggiungi(GenereVariazione genere, const Soggiorno* prima, const Soggiorno* dopo) {
        const Soggiorno& ora = dopo ? *dopo : *prima;
        Variazione v;
        v.genere = genere;
        v.camera = ora.camera;
        v.nome = ora.nome;
        v.arrivo = ora.arrivo;
        v.partenza = ora.partenza;
        if (prima && dopo) {
            if (prima->camera != dopo->camera) v.cameraPrima = prima->camera;
            v.arrivoPrima = prima->arrivo;
            v.partenzaPrima = prima->partenza;
        }
        if (prima) Segna(*prima);
        if (dopo) Segna(*dopo);
        esito_.variazioni.push_back(std::move(v));
    }

    VariazioniSettimana& esito_;
    std::map<std::string, std::size_t> posto_;
};

// dd/mm of a date text yyyymmdd; the text as it is when it is no date.
std::string GiornoMese(const std::string& data) {
    return GiornoDellaData(data) ? DataLeggibile(data).substr(0, 5) : data;
}

std::string Periodo(const std::string& arrivo, const std::string& partenza) {
    return GiornoMese(arrivo) + " - " + GiornoMese(partenza);
}

}  // namespace

VariazioniSettimana ConfrontaConStampa(const Settimana& stampata, const std::string& stampato,
                                       const Settimana& attuale) {
    std::set<std::string> primaCamere, comuni;
    for (const CameraSettimana& camera : stampata.camere) primaCamere.insert(camera.numero);
    for (const CameraSettimana& camera : attuale.camere)
        if (primaCamere.contains(camera.numero)) comuni.insert(camera.numero);
    VariazioniSettimana esito;
    esito.stampato = stampato;
    auto prima = Soggiorni(stampata, comuni);
    auto dopo = Soggiorni(attuale, comuni);
    std::set<Identita> identita;
    for (const auto& [chi, _] : prima) identita.insert(chi);
    for (const auto& [chi, _] : dopo) identita.insert(chi);
    Confronto confronto(attuale, esito);
    for (const Identita& chi : identita) confronto.Abbina(prima[chi], dopo[chi]);
    std::map<std::string, std::size_t> ordine;
    for (std::size_t i = 0; i < attuale.camere.size(); ++i) ordine.emplace(attuale.camere[i].numero, i);
    std::stable_sort(esito.variazioni.begin(), esito.variazioni.end(), [&](const Variazione& a, const Variazione& b) {
        return std::tie(ordine[a.camera], a.arrivo) < std::tie(ordine[b.camera], b.arrivo);
    });
    return esito;
}

std::string DescriviVariazione(const Variazione& v) {
    const std::string camera = v.cameraPrima.empty() ? v.camera : v.cameraPrima + " -> " + v.camera;
    std::string testo = camera + ": " + (v.nome.empty() ? "(senza nome)" : v.nome) + ", " + Periodo(v.arrivo, v.partenza);
    const std::string prima = " (era " + Periodo(v.arrivoPrima, v.partenzaPrima) + ")";
    const bool datePrima = !v.arrivoPrima.empty() && (v.arrivoPrima != v.arrivo || v.partenzaPrima != v.partenza);
    switch (v.genere) {
    case GenereVariazione::Aggiunta:
        return testo + ", aggiunta";
    case GenereVariazione::Spostata:
        return testo + ", spostata" + (datePrima ? prima : "");
    case GenereVariazione::Accorciata:
        return testo + ", accorciata" + prima;
    case GenereVariazione::Prolungata:
        return testo + ", prolungata" + prima;
    case GenereVariazione::Cancellata:
        break;
    }
    return testo + ", cancellata";
}

std::string TitoloVariazioni(const std::string& stampato) {
    return "Variazioni dall'ultima stampa (" + OraLeggibile(stampato) + ")";
}

std::string NomeSettimanaStampata(const std::string& postazione, const Settimana& settimana) {
    return "stampato" + postazione + "_" + TestoIntero(settimana.hotel) + "_" + TestoIntero(settimana.tableau) + "_" +
           settimana.giorni[0].data + ".json";
}

void ConservaStampa(const Contesto& contesto, const Settimana& settimana, const std::tm& ora) {
    ScriviFileIntero(CartellaArchivio(contesto.cartella), NomeSettimanaStampata(contesto.postazione, settimana),
                     "il tableau stampato", JsonSettimana(settimana, FormattaOra(ora, "%Y%m%d%H%M")));
}

std::string ConservaDopoLaStampa(const Contesto& contesto, const Settimana* settimana, const std::tm& ora) {
    if (!settimana) return {};
    try {
        ConservaStampa(contesto, *settimana, ora);
        return {};
    } catch (const Errore& errore) {
        return " (le variazioni da questa stampa non potranno essere mostrate: " + errore.Testo() + ")";
    }
}

#include "quadro/Quadro.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "common/Routine.h"

namespace {

constexpr int kMezziGiorni = 2 * Griglia::Giorni;
const std::string kPunto = " \xB7 ";  // the middle dot between the parts of a line

// Which stay a party belongs to, wherever it is listed in the week.
using ChiaveSoggiorno = std::tuple<GenerePartita, std::int64_t, std::string, std::string, std::string>;

ChiaveSoggiorno Chiave(const Partita& p) { return {p.genere, p.numero, p.nome, p.arrivo, p.partenza}; }

// A night of a stay in the week: its day, where it is listed, whether shown.
struct Notte {
    int giorno;
    std::size_t indice;
    bool mostrata;
};

// The party drawn as shown on the night of `giorno`: the last one listed as shown; none when no party is.
std::optional<std::size_t> MostrataDellaNotte(const GiornoCamera& giorno) {
    std::optional<std::size_t> mostrata;
    for (std::size_t i = 0; i < giorno.partite.size(); ++i)
        if (giorno.partite[i].mostrata && giorno.partite[i].momento != MomentoSoggiorno::Partenza) mostrata = i;
    return mostrata;
}

// The stretches of one stay from its nights, split where being shown changes or a night is missing.
void AggiungiTratti(const CameraSettimana& camera, const std::vector<Notte>& notti, std::vector<Barra>& barre) {
    for (std::size_t i = 0; i < notti.size();) {
        std::size_t j = i;
        while (j + 1 < notti.size() && notti[j + 1].giorno == notti[j].giorno + 1 &&
               notti[j + 1].mostrata == notti[i].mostrata)
            ++j;
        const Partita& prima = camera.giorni[notti[i].giorno].partite[notti[i].indice];
        Barra barra;
        barra.giorno = notti[i].giorno;
        barra.indice = notti[i].indice;
        barra.continuaPrima = notti[i].giorno == 0 && prima.momento == MomentoSoggiorno::Soggiorno;
        barra.inizio = barra.continuaPrima ? 0 : 2 * notti[i].giorno + 1;
        barra.continuaDopo = notti[j].giorno == Griglia::Giorni - 1;
        barra.fine = std::min(2 * notti[j].giorno + 3, kMezziGiorni);
        barra.mostrata = notti[i].mostrata;
        barra.stato = StatoPartita(prima);
        barre.push_back(barra);
        i = j + 1;
    }
}

bool Cifre(const std::string& testo) {
    return std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Genere(const Partita& partita) {
    if (partita.genere == GenerePartita::Ospite) return "Ospite registrato";
    if (partita.tipoPrenotazione == "O") return "Opzione";
    return "Prenotazione " + (partita.tipoPrenotazione.empty() ? std::string("?") : partita.tipoPrenotazione);
}

std::string Momento(MomentoSoggiorno momento) {
    switch (momento) {
    case MomentoSoggiorno::Arrivo:
        return "arriva oggi";
    case MomentoSoggiorno::Soggiorno:
        return "in soggiorno";
    case MomentoSoggiorno::Partenza:
        break;
    }
    return "parte oggi";
}

std::string Permanenza(const Partita& partita) {
    std::string testo = "Arrivo " + DataLeggibile(partita.arrivo) + ", partenza " + DataLeggibile(partita.partenza);
    const auto arrivo = GiornoDellaData(partita.arrivo);
    const auto partenza = GiornoDellaData(partita.partenza);
    if (arrivo && partenza) {
        const auto notti = (*partenza - *arrivo).count();
        testo += notti == 1 ? " (1 notte)" : " (" + std::to_string(notti) + " notti)";
    }
    return testo;
}

std::vector<std::string> DescriviPartita(const Partita& partita) {
    std::vector<std::string> righe;
    righe.push_back(Genere(partita) + ": " + (partita.nome.empty() ? "(senza nome)" : partita.nome));
    righe.push_back(Permanenza(partita) + ", " + Momento(partita.momento));
    righe.push_back("Persone: " + TestoIntero(partita.persone));
    righe.push_back("Agenzia: " + (partita.agenzia.empty() ? std::string("nessuna") : partita.agenzia));
    righe.push_back("Pagamento: " +
                    (partita.pagamento == ' ' ? std::string("non indicato") : std::string(1, partita.pagamento)));
    righe.push_back("Importo del giorno: " + TestoIntero(partita.importo));
    righe.push_back((partita.genere == GenerePartita::Ospite ? "Conto n. " : "Prenotazione n. ") +
                    TestoIntero(partita.numero));
    righe.push_back(partita.mostrata ? "Mostrata nel report" : "Non mostrata nel report");
    return righe;
}

}  // namespace

std::string NomeStato(StatoQuadro stato) {
    switch (stato) {
    case StatoQuadro::Ospite:
        return "Ospite registrato";
    case StatoQuadro::PrenotazioneC:
        return "Prenotazione C";
    case StatoQuadro::PrenotazioneD:
        return "Prenotazione D";
    case StatoQuadro::Opzione:
        return "Opzione";
    case StatoQuadro::FuoriServizio:
        return "Fuori servizio";
    case StatoQuadro::Libera:
        break;
    }
    return "Libera";
}

char LetteraStato(StatoQuadro stato) {
    switch (stato) {
    case StatoQuadro::Ospite:
        return 'R';
    case StatoQuadro::PrenotazioneC:
        return 'C';
    case StatoQuadro::PrenotazioneD:
        return 'D';
    case StatoQuadro::Opzione:
        return 'O';
    case StatoQuadro::FuoriServizio:
        return 'X';
    case StatoQuadro::Libera:
        break;
    }
    return ' ';
}

StatoQuadro StatoPartita(const Partita& partita) {
    if (partita.genere == GenerePartita::Ospite) return StatoQuadro::Ospite;
    if (partita.tipoPrenotazione == "O") return StatoQuadro::Opzione;
    if (partita.tipoPrenotazione == "C") return StatoQuadro::PrenotazioneC;
    return StatoQuadro::PrenotazioneD;
}

std::vector<Barra> BarreCamera(const CameraSettimana& camera) {
    std::vector<ChiaveSoggiorno> ordine;
    std::map<ChiaveSoggiorno, std::vector<Notte>> notti;
    std::vector<std::size_t> partiteIlPrimoGiorno;
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const GiornoCamera& giorno = camera.giorni[k];
        const auto mostrata = MostrataDellaNotte(giorno);
        for (std::size_t i = 0; i < giorno.partite.size(); ++i) {
            const Partita& partita = giorno.partite[i];
            if (partita.momento == MomentoSoggiorno::Partenza) {
                if (k == 0) partiteIlPrimoGiorno.push_back(i);
                continue;
            }
            auto [voce, nuova] = notti.try_emplace(Chiave(partita));
            if (nuova) ordine.push_back(voce->first);
            voce->second.push_back({k, i, mostrata == i});
        }
    }
    std::vector<Barra> barre;
    for (const ChiaveSoggiorno& chiave : ordine) AggiungiTratti(camera, notti[chiave], barre);
    // Stays that leave on day 0 hold its left half; the first of them is
    // drawn as shown unless a shown stay already runs through it.
    bool occupata = std::any_of(barre.begin(), barre.end(), [](const Barra& b) { return b.mostrata && b.inizio == 0; });
    for (const std::size_t i : partiteIlPrimoGiorno) {
        if (notti.contains(Chiave(camera.giorni[0].partite[i]))) continue;
        Barra barra;
        barra.indice = i;
        barra.fine = 1;
        barra.continuaPrima = true;
        barra.mostrata = !occupata;
        barra.stato = StatoPartita(camera.giorni[0].partite[i]);
        occupata = true;
        barre.push_back(barra);
    }
    return barre;
}

std::array<StatoQuadro, Griglia::Giorni> StatiCamera(const CameraSettimana& camera) {
    std::array<StatoQuadro, Griglia::Giorni> stati{};
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const auto mostrata = MostrataDellaNotte(camera.giorni[k]);
        stati[k] = mostrata                ? StatoPartita(camera.giorni[k].partite[*mostrata])
                   : camera.fuoriServizio ? StatoQuadro::FuoriServizio
                                          : StatoQuadro::Libera;
    }
    return stati;
}

std::vector<std::size_t> CamereFiltrate(const Settimana& settimana, const FiltroQuadro& filtro) {
    std::vector<std::size_t> scelte;
    for (std::size_t i = 0; i < settimana.camere.size(); ++i) {
        const CameraSettimana& camera = settimana.camere[i];
        if (!filtro.tipo.empty() && camera.tipo != filtro.tipo) continue;
        if (filtro.piano && camera.piano != filtro.piano) continue;
        // A room out of service is one whatever stays it holds.
        if (filtro.stato == StatoQuadro::FuoriServizio && !camera.fuoriServizio) continue;
        if (filtro.stato && filtro.stato != StatoQuadro::FuoriServizio) {
            const auto stati = StatiCamera(camera);
            if (std::find(stati.begin(), stati.end(), *filtro.stato) == stati.end()) continue;
        }
        scelte.push_back(i);
    }
    return scelte;
}

std::vector<std::string> TipiDelleCamere(const Settimana& settimana) {
    std::set<std::string> tipi;
    for (const CameraSettimana& camera : settimana.camere) tipi.insert(camera.tipo);
    return {tipi.begin(), tipi.end()};
}

std::vector<std::int64_t> PianiDelleCamere(const Settimana& settimana) {
    std::set<std::int64_t> piani;
    for (const CameraSettimana& camera : settimana.camere)
        if (camera.piano) piani.insert(*camera.piano);
    return {piani.begin(), piani.end()};
}

Settimana SoloCamere(const Settimana& settimana, const std::vector<std::size_t>& camere) {
    Settimana parte = settimana;
    parte.camere.clear();
    parte.camere.reserve(camere.size());
    for (const std::size_t i : camere) parte.camere.push_back(settimana.camere.at(i));
    return parte;
}

bool NomeNelGiorno(const GiornoCamera& giorno, std::string_view cercato) {
    const std::string chiave = Maiuscolo(Taglia(cercato));
    if (chiave.empty()) return false;
    return std::any_of(giorno.partite.begin(), giorno.partite.end(), [&](const Partita& partita) {
        return Maiuscolo(partita.nome).find(chiave) != std::string::npos;
    });
}

std::string NomeAccorciato(const std::string& nome) {
    std::string accorciato;
    std::size_t inizio = nome.find_first_not_of(' ');
    for (bool prima = true; inizio != std::string::npos; prima = false) {
        const std::size_t fine = std::min(nome.find(' ', inizio), nome.size());
        accorciato += prima ? nome.substr(inizio, fine - inizio) : " " + nome.substr(inizio, 1) + ".";
        inizio = nome.find_first_not_of(' ', fine);
    }
    return accorciato;
}

std::string DettaglioBarra(const Partita& partita) {
    std::string testo = TestoIntero(partita.persone);
    if (!partita.agenzia.empty()) testo += kPunto + partita.agenzia;
    if (partita.pagamento != ' ') testo += kPunto + std::string(1, partita.pagamento);
    return testo;
}

std::array<std::string, 3> RigheTotali(const TotaliGiorno& totali) {
    char occupazione[16];
    std::snprintf(occupazione, sizeof occupazione, "%.0f%%", totali.occupazione);
    return {"Arr " + TestoIntero(totali.arrivi) + "  Par " + TestoIntero(totali.partenze) + "  Ferm " +
                TestoIntero(totali.fermate),
            "Occ " + TestoIntero(totali.occupate) + " (" + occupazione + ")  Lib " + TestoIntero(totali.libere) +
                (totali.fuoriServizio ? "  FS " + TestoIntero(totali.fuoriServizio) : std::string()),
            "Persone " + TestoIntero(totali.persone)};
}

std::string TestoTotaliSettimana(const TotaliGiorno& totali) {
    char occupazione[16];
    std::snprintf(occupazione, sizeof occupazione, "%.1f", totali.occupazione);
    std::string percentuale = occupazione;
    std::replace(percentuale.begin(), percentuale.end(), '.', ',');
    return "Settimana: arrivi " + TestoIntero(totali.arrivi) + ", partenze " + TestoIntero(totali.partenze) +
           ", fermate " + TestoIntero(totali.fermate) + ", camere-notte occupate " + TestoIntero(totali.occupate) +
           " (" + percentuale + "%), libere " + TestoIntero(totali.libere) + ", fuori servizio " +
           TestoIntero(totali.fuoriServizio) + ", presenze " + TestoIntero(totali.persone);
}

std::optional<std::chrono::sys_days> GiornoDellaData(const std::string& data) {
    using namespace std::chrono;
    if (data.size() != 8 || !Cifre(data)) return std::nullopt;
    const year_month_day ymd{year{std::stoi(data.substr(0, 4))}, month{static_cast<unsigned>(std::stoi(data.substr(4, 2)))},
                             day{static_cast<unsigned>(std::stoi(data.substr(6, 2)))}};
    if (!ymd.ok()) return std::nullopt;
    return sys_days{ymd};
}

std::string DataLeggibile(const std::string& data) {
    const auto giorno = GiornoDellaData(data);
    return giorno ? TestoData(*giorno) : data;
}

std::string OraLeggibile(const std::string& ora) {
    if (ora.size() != 12 || !Cifre(ora) || !GiornoDellaData(ora.substr(0, 8))) return ora;
    return DataLeggibile(ora.substr(0, 8)) + " " + ora.substr(8, 2) + ":" + ora.substr(10, 2);
}

int SettimanaIso(std::chrono::sys_days giorno) {
    using namespace std::chrono;
    // The week belongs to the year of its Thursday; week 1 holds that year's first Thursday.
    const sys_days giovedi = giorno - days{weekday{giorno}.iso_encoding() - 1} + days{3};
    const sys_days primoGennaio{year_month_day{giovedi}.year() / January / 1};
    return static_cast<int>((giovedi - primoGennaio).count() / 7 + 1);
}

TitoloQuadro ComponiTitolo(const Settimana& settimana) {
    TitoloQuadro titolo;
    const auto parte = [&](const std::string& testo) {
        if (!titolo.sinistra.empty()) titolo.sinistra += "   ";
        titolo.sinistra += testo;
    };
    if (!settimana.nomeHotel.empty()) parte("Hotel : " + settimana.nomeHotel);
    if (!settimana.descrizioneTableau.empty()) parte("Tableau : " + settimana.descrizioneTableau);
    if (const auto primo = GiornoDellaData(settimana.giorni[0].data))
        parte("Settimana " + std::to_string(SettimanaIso(*primo)) + " : " + TestoData(*primo) + " \x96 " +
              TestoData(*primo + std::chrono::days{Griglia::Giorni - 1}));
    if (!settimana.aggiornato.empty()) titolo.destra = "aggiornato al " + OraLeggibile(settimana.aggiornato);
    return titolo;
}

std::string IntestazioneGiorno(const DataSettimana& giorno) {
    const bool nome = giorno.nome >= 0 && giorno.nome < static_cast<int>(NomiGiorni.size());
    return (nome ? NomiGiorni[giorno.nome] + " " : std::string()) + giorno.giornoMese;
}

DettagliCella DescriviCella(const Settimana& settimana, std::size_t camera, int giorno) {
    const CameraSettimana& stanza = settimana.camere.at(camera);
    const DataSettimana& data = settimana.giorni.at(giorno);
    DettagliCella dettagli;
    dettagli.titolo = "Camera " + stanza.numero + (stanza.tipo.empty() ? "" : " (" + stanza.tipo + ")") + " \x96 " +
                      (data.nome >= 0 && data.nome < 7 ? NomiGiorni[data.nome] + " " : std::string()) +
                      DataLeggibile(data.data);
    if (stanza.fuoriServizio) dettagli.titolo += " \x96 fuori servizio";
    for (const Partita& partita : stanza.giorni[giorno].partite) dettagli.partite.push_back(DescriviPartita(partita));
    return dettagli;
}

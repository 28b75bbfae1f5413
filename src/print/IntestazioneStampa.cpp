#include "print/IntestazioneStampa.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "archivio/Database.h"
#include "common/Routine.h"
#include "tableau/Criteri.h"
#include "tableau/RigaReport.h"

namespace {

constexpr const char* Distanza = "   ";  // between the parts of the heading
constexpr const char* Trattino = " \x96 ";  // the en dash between the week's first and last day
constexpr std::size_t LunghezzaNomeHotel = 45;
constexpr int GiorniSettimana = 7;
// The years either side of today a week's first day is looked for in: a day
// and month fall on each weekday within 28 years.
constexpr int AnniCercati = 30;

std::chrono::sys_days Giorno(const std::tm& ora) {
    using namespace std::chrono;
    return sys_days{year{ora.tm_year + 1900} / month{static_cast<unsigned>(ora.tm_mon + 1)} /
                    day{static_cast<unsigned>(ora.tm_mday)}};
}

void Aggiungi(std::string& testo, const std::string& parte) {
    if (!testo.empty()) testo += Distanza;
    testo += parte;
}

// A whole number of two digits, or nothing.
std::optional<unsigned> DueCifre(const std::string& testo) {
    if (testo.size() != 2 || !std::all_of(testo.begin(), testo.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<unsigned>((testo[0] - '0') * 10 + (testo[1] - '0'));
}

// The day nearest `oggi` that is day `giorno` of month `mese` and weekday `nome` (0 = Monday).
std::optional<std::chrono::sys_days> GiornoPiuVicino(unsigned giorno, unsigned mese, std::size_t nome,
                                                     std::chrono::sys_days oggi) {
    using namespace std::chrono;
    const int anno = static_cast<int>(year_month_day{oggi}.year());
    std::optional<sys_days> scelto;
    for (int a = anno - AnniCercati; a <= anno + AnniCercati; ++a) {
        const year_month_day data{year{a}, month{mese}, day{giorno}};
        if (!data.ok() || weekday{sys_days{data}}.iso_encoding() - 1 != nome) continue;
        const auto distanza = [&](sys_days d) { return d > oggi ? d - oggi : oggi - d; };
        if (!scelto || distanza(sys_days{data}) < distanza(*scelto)) scelto = sys_days{data};
    }
    return scelto;
}

// The field `campo` of the first record of the Selezione `tabella` in `database` that `criterio` finds; "" for none.
std::string CampoTrovato(const CartellaDati& cartella, const char* database, const Selezione& tabella,
                         const Criterio& criterio, const Campo& campo) {
    auto db = Database::Apri(cartella, database);
    auto record = db->OpenRecordset(tabella);
    record->FindFirst(criterio);
    std::string valore = record->NoMatch() ? "" : (*record)[campo].Testo();
    db->Close();
    return valore;
}

}  // namespace

std::string IntestazioneStampa::Destra(std::size_t pagina, std::size_t pagine) const {
    return stampata + Distanza + "pagina " + std::to_string(pagina) + " di " + std::to_string(pagine);
}

IntestazioneStampa ComponiIntestazione(const std::string& hotel, const std::string& tableau,
                                       const std::string& primoGiorno, const std::tm& ora) {
    IntestazioneStampa intestazione;
    if (!hotel.empty()) Aggiungi(intestazione.sinistra, "Hotel : " + hotel);
    if (!tableau.empty()) Aggiungi(intestazione.sinistra, "Tableau : " + tableau);
    if (!primoGiorno.empty()) {
        const std::chrono::sys_days primo = GiornoDiCalendario(primoGiorno);
        Aggiungi(intestazione.sinistra, "Settimana : " + TestoData(primo) + Trattino +
                                            TestoData(primo + std::chrono::days{GiorniSettimana - 1}));
    }
    intestazione.stampata = "Stampata il " + FormattaOra(ora, "%d/%m/%Y") + " alle " + FormattaOra(ora, "%H:%M");
    return intestazione;
}

IntestazioneStampa LeggiIntestazione(const CartellaDati& cartella, std::int16_t hotel, const TableauStampato& tableau,
                                     const std::string& primaRiga, const std::tm& ora) {
    const std::string ragioneSociale = CampoTrovato(cartella, "AnagraficaHotels.mdb", TabellaNomiHotel(),
                                                    CriterioHotel(hotel), campo::RagioneSociale);
    const std::string descrizione =
        tableau.codice == 0 ? ""
                            : CampoTrovato(cartella, "Tableau.mdb", TabellaDescrizioniTableau(),
                                           CriterioDescrizioneTableau(hotel, tableau.codice), campo::Descrizione);
    const std::string primoGiorno =
        tableau.primoGiorno.empty() ? PrimoGiornoDelReport(primaRiga, Giorno(ora)) : tableau.primoGiorno;
    return ComponiIntestazione(Taglia(ragioneSociale.substr(0, LunghezzaNomeHotel)), Taglia(descrizione),
                               primoGiorno, ora);
}

std::string PrimoGiornoDelReport(const std::string& riga, std::chrono::sys_days oggi) {
    const std::size_t inizio = Griglia::ColonnaCella(0) - 1;
    if (riga.size() < inizio + Griglia::LarghezzaCella) return "";
    const std::string cella = Taglia(riga.substr(inizio, Griglia::LarghezzaCella));
    const std::size_t blank = cella.rfind(' ');
    if (blank == std::string::npos) return "";
    const auto nome = std::find(NomiGiorni.begin(), NomiGiorni.end(), cella.substr(0, blank));
    const std::string giornoMese = cella.substr(blank + 1);
    const auto giorno = DueCifre(giornoMese.substr(0, 2));
    const auto mese = giornoMese.size() == 5 && giornoMese[2] == '/' ? DueCifre(giornoMese.substr(3)) : std::nullopt;
    if (nome == NomiGiorni.end() || !giorno || !mese) return "";
    const auto primo =
        GiornoPiuVicino(*giorno, *mese, static_cast<std::size_t>(nome - NomiGiorni.begin()), oggi);
    return primo ? TestoData(*primo) : "";
}

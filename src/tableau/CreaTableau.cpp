#include "tableau/CreaTableau.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <future>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <vector>

#include "archivio/Database.h"
#include "archivio/Sessione.h"
#include "archivio/StatoFile.h"
#include "archivio/TabelleCondivise.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/Criteri.h"
#include "tableau/FileReport.h"
#include "tableau/RigaReport.h"

namespace {

using Griglia::Giorni;

// The week from the start date dd/mm/yyyy, by calendar arithmetic: its seven
// days, and the day before it (yyyymmdd), whose night gives the first
// morning's departures.
struct Calendario {
    std::array<DataSettimana, Giorni> giorni;
    std::string vigilia;
};

Calendario CalendarioDellaSettimana(const std::string& dataInizio) {
    std::string controllata = dataInizio;
    if (!ControllaData(controllata))
        throw Errore(NumeroErrore::ArgomentoNonValido, "Data di inizio non valida: '" + Cp1252ToUtf8(dataInizio) + "'.");
    const std::chrono::sys_days inizio = GiornoDiCalendario(controllata);
    const int settimana = GiornoSettimana(controllata);
    Calendario calendario;
    calendario.vigilia = DataTabella(inizio - std::chrono::days{1});
    for (int k = 0; k < Giorni; ++k) {
        const std::string data = DataTabella(inizio + std::chrono::days{k});
        calendario.giorni[k] = {data, data.substr(6, 2) + "/" + data.substr(4, 2), (settimana + k) % 7};
    }
    return calendario;
}

// The first n characters of a text with its blanks removed at both ends.
std::string Inizio(const Valore& campo, std::size_t n) { return Taglia(campo.Testo()).substr(0, n); }

// Payment code: the first character, upper case, apostrophe dropped; " " when none.
char CodicePagamento(const Valore& campo) { return PulisciTesto(Inizio(campo, 1), 0)[0]; }

// Day of month of a date text yyyymmdd (its characters 7 and 8).
std::string GiornoDelMese(const std::string& data) { return data.size() > 6 ? data.substr(6, 2) : std::string(); }

// A running sum of amounts, whole after each addition (halves to the even
// neighbour). A sum beyond the range of ten-thousandths (only a damaged
// amount gets there) stays at the end it passed.
std::int64_t SommaArrotondata(std::int64_t importo, const Valore& addebito) {
    std::int64_t somma = 0;
    if (__builtin_mul_overflow(importo, 10000, &somma) ||
        __builtin_add_overflow(somma, addebito.Decimillesimi(), &somma))
        return importo < 0 ? std::numeric_limits<std::int64_t>::min() / 10000
                           : std::numeric_limits<std::int64_t>::max() / 10000;
    return Valore::Valuta(somma).Intero();
}

// Whether the stay of the current record covers the day: arrival not after
// it, departure after it, compared as texts.
bool OccupaIlGiorno(const Recordset& rs, const std::string& giorno) {
    return rs[campo::DataArrivo].Testo() <= giorno && rs[campo::DataPartenza].Testo() > giorno;
}

// The first or last date of a stay: the cell shows no marker then.
bool Estremo(const std::string& arrivo, const std::string& partenza, const std::string& giorno) {
    return arrivo == giorno || partenza == giorno;
}

// A cell's text, cut or padded with blanks to the width of the report's cells.
void Metti(std::string& cella, std::string_view testo) { cella = Adatta(testo, Griglia::LarghezzaCella); }

bool TipoOccupaCamera(const std::string& tipo) { return tipo == "C" || tipo == "O" || tipo == "D"; }

// Line A's cell of someone in the room: name, marker, arrival and departure days.
std::string CellaDelSoggiorno(const std::string& nome, const std::string& arrivo, const std::string& partenza,
                              const std::string& giorno) {
    return CellaOccupante(nome, !Estremo(arrivo, partenza, giorno), GiornoDelMese(arrivo), GiornoDelMese(partenza));
}

// Calls `azione` on every record of `rs` that meets `criterio`, in the record
// set's order: FindFirst, then FindNext until nothing more is found.
template <typename Azione>
void PerOgniRecord(Recordset& rs, const Criterio& criterio, Azione azione) {
    for (rs.FindFirst(criterio); !rs.NoMatch(); rs.FindNext(criterio)) azione();
}

// The databases one build reads and the record sets it searches. The
// databases share the tables they read: the booking headers' query reaches
// the booked rooms, which the build reads too. The databases are opened,
// then the record sets, all at once, each in a thread of its own: their
// readers run side by side. Each step's result is taken in a fixed order, so
// that with several faults the error reported is the first in that order.
struct DatabaseAperti {
    std::shared_ptr<TabelleCondivise> tabelle;
    std::unique_ptr<Database> numeriCamere, schedaCliente, agenzieAbituali, arrangiamento, camerePrenotazione,
        schedaPrenotazione, tipiCamere;
    std::unique_ptr<Recordset> camere, ospiti, prenotate, testate, agenzie, addebiti;
    // The room types, read while the databases are opened: the rooms' query
    // reaches them, and finds them read then instead of reading them after
    // its own table.
    std::unique_ptr<Recordset> tipi;
    std::future<void> rilascio;  // the record sets of the week before, being let go
    CartellaDati cartella;

    // The record sets for the week from `primo` to `ultimo`.
    struct Sorgenti {
        Sorgenti(const std::string& primo, const std::string& ultimo)
            : camere(QueryCamere()),
              ospiti(QueryOspiti(primo, ultimo)),
              prenotate(QueryCamerePrenotate(primo, ultimo)),
              testate(QueryTestate(primo, ultimo)),
              agenzie(TabellaAgenzie()),
              addebiti(TabellaAddebiti()),
              tipi(TabellaTipiCamere()),
              nomiHotel(TabellaNomiHotel()),
              descrizioni(TabellaDescrizioniTableau()) {}
        Selezione camere, ospiti, prenotate, testate, agenzie, addebiti, tipi, nomiHotel, descrizioni;
    };

    // Opens the databases of `cartella`, each told the record set opened on
    // it first, for the week from `primo` to `ultimo`: its table is read with
    // the opening. Each reading is told to `a`.
    DatabaseAperti(std::shared_ptr<SessioneArchivio> sessione, const CartellaDati& cartella, const std::string& primo,
                   const std::string& ultimo, Avanzamento& a)
        : tabelle(std::make_shared<TabelleCondivise>(std::move(sessione))), cartella(cartella) {
        const Sorgenti s(primo, ultimo);
        // The tables of the week's heading (the hotel's name, the tableau's
        // description) are read side by side with the others, into the shared
        // tables: each build searches them there (CampoSePresente), read again
        // when their file has changed.
        std::unique_ptr<Database> anagraficaHotels, tableau;
        rilascio = InParallelo<Database>({{&numeriCamere, [&] { return Apri("NumeriCamere.mdb", s.camere, a); }},
                                          {&schedaCliente, [&] { return Apri("Scheda_Cliente.mdb", s.ospiti, a); }},
                                          {&agenzieAbituali,
                                           [&] { return Apri("AgenzieAbituali.mdb", s.agenzie, a); }},
                                          {&arrangiamento, [&] { return Apri("Arrangiamento.mdb", s.addebiti, a); }},
                                          {&camerePrenotazione,
                                           [&] { return Apri("Camere_Prenotazione.mdb", s.prenotate, a); }},
                                          {&schedaPrenotazione,
                                           [&] { return Apri("Scheda_Prenotazione.mdb", s.testate, a); }},
                                          {&tipiCamere, [&] { return ApriTipi(s.tipi, a); }},
                                          {&anagraficaHotels,
                                           [&] { return ApriELeggi("AnagraficaHotels.mdb", s.nomiHotel, a); }},
                                          {&tableau, [&] { return ApriELeggi("Tableau.mdb", s.descrizioni, a); }}});
    }

    // Opens the record sets of the week from `primo` to `ultimo` and those
    // that do not depend on the week, unless open already; the rooms in
    // room-number order. Each reading is told to `a`.
    void ApriRecordset(const std::string& primo, const std::string& ultimo, Avanzamento& a) {
        const Sorgenti s(primo, ultimo);
        rilascio = InParallelo<Recordset>(
            {{&camere,
              [&] {
                  auto daOrdinare = Leggi(*numeriCamere, "NumeriCamere.mdb", s.camere, a);
                  daOrdinare->Sort({campo::NumeroCamera});
                  return daOrdinare->OpenRecordset();
              },
              false},
             {&ospiti, [&] { return Leggi(*schedaCliente, "Scheda_Cliente.mdb", s.ospiti, a); }, true},
             {&prenotate, [&] { return Leggi(*camerePrenotazione, "Camere_Prenotazione.mdb", s.prenotate, a); },
              true},
             {&testate, [&] { return Leggi(*schedaPrenotazione, "Scheda_Prenotazione.mdb", s.testate, a); }, true},
             {&agenzie, [&] { return Leggi(*agenzieAbituali, "AgenzieAbituali.mdb", s.agenzie, a); }, false},
             {&addebiti, [&] { return Leggi(*arrangiamento, "Arrangiamento.mdb", s.addebiti, a); }, false}});
    }

    template <typename T>
    struct Passo {
        std::unique_ptr<T>* dove;
        std::function<std::unique_ptr<T>()> apri;
        bool sempre = true;  // false: only when nothing is open there yet
    };

    // Runs the steps to take, each in a thread of its own, and puts what
    // each gives in its place, in the order given; the first failure in that
    // order is thrown once all have ended. What the steps replace is let go
    // in a thread of its own too, while the build goes on: the one returned.
    template <typename T>
    [[nodiscard]] static std::future<void> InParallelo(std::vector<Passo<T>> passi) {
        std::erase_if(passi, [](const Passo<T>& passo) { return !passo.sempre && *passo.dove; });
        std::vector<std::unique_ptr<T>> sostituiti;
        for (const auto& passo : passi) sostituiti.push_back(std::move(*passo.dove));
        auto rilascio = std::async(std::launch::async, [vecchi = std::move(sostituiti)]() mutable { vecchi.clear(); });
        std::vector<std::future<std::unique_ptr<T>>> risultati;
        for (const auto& passo : passi) risultati.push_back(std::async(std::launch::async, passo.apri));
        std::size_t i = 0;
        for (const auto& passo : passi) *passo.dove = risultati[i++].get();
        return rilascio;
    }

    // A stop asked for is heeded before a reading begins, and ends one under way.
    std::unique_ptr<Database> Apri(const std::string& nomeFile, const Selezione& selezione, Avanzamento& a) {
        const Avanzamento::Lettura lettura(a, nomeFile);
        return Annullabile([&] { return Database::Apri(cartella, nomeFile, tabelle, selezione, &a.Arresto()); });
    }

    static std::unique_ptr<Recordset> Leggi(Database& database, const std::string& nomeFile,
                                            const Selezione& selezione, Avanzamento& a) {
        const Avanzamento::Lettura lettura(a, nomeFile);
        return Annullabile([&] { return database.OpenRecordset(selezione, &a.Arresto()); });
    }

    // What `leggi` gives; a reading it makes stopped by the build's stop is the build abandoned.
    template <typename Lettura>
    static std::invoke_result_t<Lettura> Annullabile(Lettura leggi) {
        try {
            return leggi();
        } catch (const LetturaArrestata&) {
            throw CostruzioneAnnullata();
        }
    }

    // A reading ahead of the query that makes it: a fault is left for that
    // query to report, in its place.
    std::unique_ptr<Database> ApriSePossibile(const std::string& nomeFile, const Selezione& selezione,
                                              Avanzamento& a) {
        try {
            return Apri(nomeFile, selezione, a);
        } catch (const Errore&) {
            return nullptr;
        }
    }

    // The room types' database, their record set opened on it at once, so
    // that the rooms' query finds them read; a fault is left to that query.
    std::unique_ptr<Database> ApriTipi(const Selezione& selezione, Avanzamento& a) {
        auto database = ApriSePossibile("TipiCamere.mdb", selezione, a);
        tipi = LeggiSePossibile(database, "TipiCamere.mdb", selezione, a);
        return database;
    }

    // A database whose record set is read at once into the shared tables; a
    // fault is left to the search that needs it.
    std::unique_ptr<Database> ApriELeggi(const std::string& nomeFile, const Selezione& selezione, Avanzamento& a) {
        auto database = ApriSePossibile(nomeFile, selezione, a);
        LeggiSePossibile(database, nomeFile, selezione, a);
        return database;
    }

    static std::unique_ptr<Recordset> LeggiSePossibile(const std::unique_ptr<Database>& database,
                                                       const std::string& nomeFile, const Selezione& selezione,
                                                       Avanzamento& a) {
        try {
            return database ? Leggi(*database, nomeFile, selezione, a) : nullptr;
        } catch (const Errore&) {
            return nullptr;
        }
    }
};

// The files a build reads, in the data folder.
constexpr const char* kFileLetti[] = {"NumeriCamere.mdb",        "TipiCamere.mdb",         "Scheda_Cliente.mdb",
                                      "AgenzieAbituali.mdb",     "Arrangiamento.mdb",      "Camere_Prenotazione.mdb",
                                      "Scheda_Prenotazione.mdb"};

// The state of the files a build reads in `cartella`, their fingerprints
// kept in `impronte`; nothing when one of them is missing or cannot be
// examined. After the readings begun at `dopo` their fingerprints, taken at
// their end, serve.
std::optional<std::vector<StatoFile>> StatoDeiFileLetti(
    const CartellaDati& cartella, UltimeImpronte& impronte,
    std::optional<std::chrono::steady_clock::time_point> dopo = std::nullopt) {
    std::vector<StatoFile> stati;
    for (const char* nome : kFileLetti) {
        const auto trovato = cartella.Trova(nome);
        if (!trovato) return std::nullopt;
        const FileArchivio file{cartella, *trovato};
        const auto stato = LeggiStatoFile(file, impronte, dopo);
        if (!stato) return std::nullopt;
        stati.push_back(*stato);
    }
    return stati;
}

// Which folder a folder is, as the system knows it: the same folder reached
// by another path is the same.
std::optional<IdentitaFile> IdentitaCartella(const CartellaDati& cartella) {
    struct stat info {};
    if (fstat(cartella.Fd(), &info) != 0) return std::nullopt;
    return IdentitaFile{info.st_dev, info.st_ino};
}

}  // namespace

// The databases and record sets of the last build, with the searches they
// have prepared, kept for the next build in the same folder while the files
// it read are unchanged: a clerk builds the ranges, tableaux and weeks of a
// hotel in turn. The record sets of the week are opened again for another
// week. One build at a time uses them.
struct UltimaCostruzione::Dati {
    explicit Dati(std::shared_ptr<SessioneArchivio> sessione_) : sessione(std::move(sessione_)) {}

    // Builds with the record sets of the week from `primo` to `ultimo` in `cartella`.
    template <typename Costruzione>
    void Con(const CartellaDati& cartella, const std::string& primo, const std::string& ultimo, Avanzamento& a,
             Costruzione costruzione) {
        const std::lock_guard blocco(mutex_);
        // Taken before reading: a file changed while it is read is read again next time.
        const auto inizio = std::chrono::steady_clock::now();
        const auto stati = StatoDeiFileLetti(cartella, sessione->impronte);
        const auto identita = IdentitaCartella(cartella);
        const std::pair settimana{primo, ultimo};
        if (!aperti_ || !stati || !identita || cartella_ != identita || stati_ != *stati) {
            aperti_.reset();
            aperti_ = std::make_unique<DatabaseAperti>(sessione, cartella, primo, ultimo, a);
            cartella_ = identita;
            settimana_ = {};
            // Without the files' state what is opened serves this build only.
            stati_ = stati.value_or(std::vector<StatoFile>());
        }
        if (settimana_ != settimana) {
            settimana_ = {};
            try {
                aperti_->ApriRecordset(primo, ultimo, a);
            } catch (...) {
                aperti_.reset();
                throw;
            }
            settimana_ = settimana;
            // A file changed while it was read may return to the state noted
            // before (times kept to the 2 seconds): what was read serves this
            // build only. The fingerprints taken since the state above serve:
            // those of the readings, or of that state for a file not read again.
            if (StatoDeiFileLetti(cartella, sessione->impronte, inizio) != stati) stati_.clear();
        }
        costruzione(*aperti_);
    }

    const std::shared_ptr<SessioneArchivio> sessione;

private:
    std::mutex mutex_;
    std::optional<IdentitaFile> cartella_;
    std::pair<std::string, std::string> settimana_;
    std::vector<StatoFile> stati_;
    std::unique_ptr<DatabaseAperti> aperti_;
};

UltimaCostruzione::UltimaCostruzione() : UltimaCostruzione(std::make_shared<SessioneArchivio>()) {}

UltimaCostruzione::UltimaCostruzione(std::shared_ptr<SessioneArchivio> sessione)
    : dati_(std::make_unique<Dati>(std::move(sessione))) {}

UltimaCostruzione::~UltimaCostruzione() = default;

namespace {

// A registered guest found on a day, as the parties take it.
struct OspiteTrovato {
    bool capo = false;  // head of the party (member 1)
    std::string nome, arrivo, partenza;
    std::int64_t conto = 0;    // the following for a head only
    std::int64_t agenzia = 0;  // CodiceAgenzia
    std::int64_t importo = 0;  // the day's charges
    char pagamento = ' ';
};

// What one room shows on one day, gathered by the passes over guests and bookings.
struct Casella {
    std::int64_t ospiti = 0;
    std::string nomeCapo;
    std::int64_t conto = 0;
    char pagamentoOspite = ' ';
    std::int64_t importo = 0;
    std::int64_t personePrenotazione = 0;
    std::string nomePrenotazione;
    char pagamentoPrenotazione = ' ';
    std::string agenziaOspite;
    std::string agenziaPrenotazione;
    // For the day's parties: the guests and the bookings of the night in the
    // order found, the last booking and whether it has a name.
    std::vector<OspiteTrovato> ospitiTrovati;
    std::vector<Partita> prenotazioni;
    std::optional<std::size_t> ultimaNotte;
    bool ultimaConNome = false;
};

class Costruttore {
public:
    // `vigilia` is the day before the week (yyyymmdd): the parties of its
    // night leaving on the first morning are among the first day's.
    Costruttore(std::int64_t hotel, std::int64_t tableau, std::string prima, std::string ultima,
                const std::array<DataSettimana, Giorni>& giorni, std::string vigilia, DatabaseAperti& aperti,
                const Avanzamento& avanzamento)
        : hotel_(hotel), tableau_(tableau), prima_(std::move(prima)), ultima_(std::move(ultima)),
          giorni_(giorni), vigilia_(std::move(vigilia)), aperti_(aperti), avanzamento_(avanzamento) {}

    // Every room of the hotel in room-number order that belongs to the
    // tableau and lies in the range; a stop asked for is heeded before each room.
    void Componi(Settimana& settimana) {
        Recordset& camere = *aperti_.camere;
        const bool conPiano = camere.HaCampo(campo::Piano);
        const bool conFuoriServizio = camere.HaCampo(campo::FuoriServizio);
        PerOgniRecord(camere, CriterioCamere(hotel_), [&] {
            if (!Compresa(camere)) return;
            avanzamento_.Controlla();
            CameraSettimana camera = Camera(camere[campo::NumeroCamera].Testo(), camere[campo::TipoCamera].Testo());
            if (conPiano && !camere[campo::Piano].IsNull()) camera.piano = camere[campo::Piano].Intero();
            camera.fuoriServizio = conFuoriServizio && camere[campo::FuoriServizio].Intero() != 0;
            settimana.camere.push_back(std::move(camera));
        });
    }

private:
    bool Compresa(const Recordset& camera) const {
        const std::string numero = camera[campo::NumeroCamera].Testo();
        return camera[campo::NumeroTableau].Intero() == tableau_ && numero >= prima_ && numero <= ultima_;
    }

    CameraSettimana Camera(const std::string& numeroCamera, const std::string& tipoCamera) {
        CameraSettimana camera;
        camera.numero = numeroCamera;
        camera.tipo = tipoCamera;
        const std::string stanza = Taglia(numeroCamera);
        std::array<Casella, Giorni> caselle;
        // Each criterion once: both lines search the same guests.
        const Criterio prenotazioni = CriterioPrenotazioni(hotel_, stanza);
        std::array<Criterio, Giorni> ospiti;
        for (int k = 0; k < Giorni; ++k) ospiti[k] = CriterioOspiti(stanza, giorni_[k].data);

        for (int k = 0; k < Giorni; ++k) {
            GiornoCamera& giorno = camera.giorni[k];
            giorno.cellaA = giorno.cellaB = std::string(Griglia::LarghezzaCella, ' ');
            OspitiDelGiorno(giorno, giorni_[k].data, ospiti[k], caselle[k]);
            PrenotazioniDelGiorno(giorno, giorni_[k].data, prenotazioni, caselle[k]);
        }
        for (int k = 0; k < Giorni; ++k) {
            AgenziaDegliOspiti(camera.giorni[k], giorni_[k].data, ospiti[k], caselle[k]);
            AgenziaDellaPrenotazione(camera.giorni[k], giorni_[k].data, numeroCamera, caselle[k]);
        }
        const GiornoCamera vigilia = Vigilia(stanza, prenotazioni);
        for (int k = 0; k < Giorni; ++k) Partite(camera, k, caselle[k], k > 0 ? camera.giorni[k - 1] : vigilia);
        return camera;
    }

    // The parties of the night before the week in room `stanza` (its cells
    // are not the report's): those of them leaving on the first morning are
    // the first day's departures.
    GiornoCamera Vigilia(const std::string& stanza, const Criterio& prenotazioni) {
        GiornoCamera vigilia;
        Casella c;
        OspitiDelGiorno(vigilia, vigilia_, CriterioOspiti(stanza, vigilia_), c);
        PrenotazioniDelGiorno(vigilia, vigilia_, prenotazioni, c);
        PartiteOspiti(vigilia, vigilia_, c.ospitiTrovati);
        std::move(c.prenotazioni.begin(), c.prenotazioni.end(), std::back_inserter(vigilia.partite));
        return vigilia;
    }

    // The parties of day `k`: the guests of the night, those leaving that
    // morning (the parties of the night before whose stay ends), then the
    // bookings of the night in the order found. The last booking of the night
    // names the cell (a blank name leaves it blank); without one, the last
    // head of a party of the night.
    void Partite(CameraSettimana& camera, int k, Casella& c, const GiornoCamera& ieri) {
        GiornoCamera& giorno = camera.giorni[k];
        const auto capo = PartiteOspiti(giorno, giorni_[k].data, c.ospitiTrovati);
        Partenze(ieri, giorni_[k].data, giorno);
        const std::size_t prima = giorno.partite.size();
        std::move(c.prenotazioni.begin(), c.prenotazioni.end(), std::back_inserter(giorno.partite));
        std::optional<std::size_t> mostrata = capo;
        if (c.ultimaNotte) mostrata = c.ultimaConNome ? std::optional(prima + *c.ultimaNotte) : std::nullopt;
        if (mostrata) giorno.partite[*mostrata].mostrata = true;
    }

    // Adds to `giorno` the parties of the night before (`ieri`) that leave on
    // `data`: guests with the charges of their head's account on that day,
    // bookings as they were.
    void Partenze(const GiornoCamera& ieri, const std::string& data, GiornoCamera& giorno) {
        for (const Partita& notte : ieri.partite) {
            if (notte.momento == MomentoSoggiorno::Partenza || notte.partenza != data) continue;
            Partita& partita = giorno.partite.emplace_back(notte);
            partita.momento = MomentoSoggiorno::Partenza;
            partita.mostrata = false;
            if (partita.genere == GenerePartita::Ospite)
                partita.importo = partita.numero == 0 ? 0 : SommaAddebiti(partita.numero, data);
        }
    }

    // Makes parties of the guests of the night of `data`. Each head of a
    // party (member 1) makes a party; the other members join the party of a
    // head with their arrival and departure, or one of their own (without an
    // account). Gives the index of the party of the last head found
    // when the head has a name: the cell shows it when no booking covers the
    // night; nothing for a blank name or no head.
    std::optional<std::size_t> PartiteOspiti(GiornoCamera& giorno, const std::string& data,
                                             const std::vector<OspiteTrovato>& trovati) {
        struct Gruppo {
            std::size_t partita;  // in the day's parties
            bool conCapo;
        };
        std::vector<Gruppo> gruppi;
        std::optional<std::size_t> capo;
        for (const OspiteTrovato& t : trovati) {
            if (!t.capo) continue;
            gruppi.push_back({giorno.partite.size(), true});
            Partita& partita = giorno.partite.emplace_back(
                NuovaPartita(GenerePartita::Ospite, t.nome, t.arrivo, t.partenza, data));
            partita.persone = 1;
            partita.numero = t.conto;
            partita.pagamento = t.pagamento;
            partita.agenzia = NomeAgenzia(t.agenzia);
            partita.importo = t.importo;
            capo = t.nome.empty() ? std::nullopt : std::optional(gruppi.back().partita);
        }
        const auto gruppoDi = [&](const OspiteTrovato& t, bool conCapo) {
            return std::find_if(gruppi.begin(), gruppi.end(), [&](const Gruppo& g) {
                const Partita& p = giorno.partite[g.partita];
                return g.conCapo == conCapo && p.arrivo == t.arrivo && p.partenza == t.partenza;
            });
        };
        for (const OspiteTrovato& t : trovati) {
            if (t.capo) continue;
            auto gruppo = gruppoDi(t, true);
            if (gruppo == gruppi.end()) gruppo = gruppoDi(t, false);
            if (gruppo == gruppi.end()) {
                gruppi.push_back({giorno.partite.size(), false});
                giorno.partite.push_back(NuovaPartita(GenerePartita::Ospite, t.nome, t.arrivo, t.partenza, data));
                gruppo = gruppi.end() - 1;
            }
            ++giorno.partite[gruppo->partita].persone;
        }
        return capo;
    }

    // A party of the night of `data`: its arrival, or a night between.
    static Partita NuovaPartita(GenerePartita genere, std::string nome, std::string arrivo, std::string partenza,
                                const std::string& data) {
        Partita partita;
        partita.genere = genere;
        partita.nome = std::move(nome);
        partita.momento = arrivo == data ? MomentoSoggiorno::Arrivo : MomentoSoggiorno::Soggiorno;
        partita.arrivo = std::move(arrivo);
        partita.partenza = std::move(partenza);
        return partita;
    }

    // The agency's name of code `codice`; "" when there is none.
    const std::string& NomeAgenzia(std::int64_t codice) {
        const auto [voce, nuova] = nomiAgenzie_.try_emplace(codice);
        if (nuova) {
            Recordset& agenzie = *aperti_.agenzie;
            agenzie.FindFirst(CriterioAgenzia(hotel_, codice));
            if (!agenzie.NoMatch()) voce->second = Taglia(agenzie[campo::RagioneSociale].Testo());
        }
        return voce->second;
    }

    // The booking of the night of `data` the report has just taken in `c`
    // (booked room `prenotate`, its header the current record of the headers
    // when found) as a party.
    Partita PartitaPrenotazione(const Recordset& prenotate, std::string arrivo, std::string partenza,
                                const Casella& c, const std::string& data) {
        const Recordset& testate = *aperti_.testate;
        const bool conTestata = !testate.NoMatch();
        Partita partita = NuovaPartita(GenerePartita::Prenotazione,
                                       conTestata ? Taglia(testate[campo::NomeCliente].Testo()) : "",
                                       std::move(arrivo), std::move(partenza), data);
        partita.persone = c.personePrenotazione;
        partita.numero = c.conto;
        partita.pagamento = c.pagamentoPrenotazione;
        partita.agenzia = conTestata ? Taglia(testate[campo::Agenzia].Testo()) : "";
        partita.importo = c.importo;
        partita.tipoPrenotazione = Taglia(prenotate[campo::TipoPrenotazione].Testo());
        return partita;
    }

    // Whether the guest found counts on the day: this hotel, not departed, in the room that day.
    bool OspiteConta(const Recordset& ospiti, const std::string& giorno) const {
        return ospiti[campo::NumeroHotel].Intero() == hotel_ && ospiti[campo::Partito].Testo() != "S" &&
               OccupaIlGiorno(ospiti, giorno);
    }

    // Line A from the registered guests: count of persons; name, account,
    // payment and charges of the head of the party (the last head found names
    // the cell, all heads' charges add up). Arrival and departure come from
    // the last guest counted. Each guest counted is kept for the day's parties.
    void OspitiDelGiorno(GiornoCamera& cella, const std::string& giorno, const Criterio& criterioOspiti, Casella& c) {
        Recordset& ospiti = *aperti_.ospiti;
        std::string arrivo;
        std::string partenza;
        PerOgniRecord(ospiti, criterioOspiti, [&] {
            if (!OspiteConta(ospiti, giorno)) return;
            ++c.ospiti;
            arrivo = ospiti[campo::DataArrivo].Testo();
            partenza = ospiti[campo::DataPartenza].Testo();
            OspiteTrovato& trovato = c.ospitiTrovati.emplace_back(OspiteTrovato{
                ospiti[campo::NumeroComponente].Intero() == 1, Taglia(ospiti[campo::NomeCliente].Testo()), arrivo,
                partenza});
            if (!trovato.capo) return;
            c.nomeCapo = trovato.nome.substr(0, 14);
            trovato.conto = c.conto = ospiti[campo::NumeroProgressivo].Intero();
            trovato.pagamento = c.pagamentoOspite = CodicePagamento(ospiti[campo::TipoPagamento]);
            trovato.agenzia = ospiti[campo::CodiceAgenzia].Intero();
            trovato.importo = SommaAddebiti(c.conto, giorno, &c.importo);
        });
        Metti(cella.cellaA,
              c.nomeCapo.empty() ? std::string() : CellaDelSoggiorno(c.nomeCapo, arrivo, partenza, giorno));
    }

    // The day's charges on account 1 of guest account `conto`, each added
    // to `*totale` too when given, the sums whole after each addition.
    std::int64_t SommaAddebiti(std::int64_t conto, const std::string& giorno, std::int64_t* totale = nullptr) {
        Recordset& addebiti = *aperti_.addebiti;
        std::int64_t importo = 0;
        PerOgniRecord(addebiti, CriterioAddebiti(hotel_, conto, giorno), [&] {
            const Valore& addebito = addebiti[campo::ImportoTotale];
            importo = SommaArrotondata(importo, addebito);
            if (totale) *totale = SommaArrotondata(*totale, addebito);
        });
        return importo;
    }

    // Line A from the bookings of the room: a booking covering the day stands
    // over the guests, the last one found over the others; its number takes
    // the place of the guest's account. The bookings of the night are kept
    // for the day's parties.
    void PrenotazioniDelGiorno(GiornoCamera& cella, const std::string& giorno, const Criterio& criterioPrenotazioni,
                               Casella& c) {
        Recordset& prenotate = *aperti_.prenotate;
        PerOgniRecord(prenotate, criterioPrenotazioni, [&] {
            const std::int64_t persone = prenotate[campo::NumeroPersone].Intero();
            if (persone <= 0 || !OccupaIlGiorno(prenotate, giorno)) return;
            c.personePrenotazione = persone;
            c.conto = prenotate[campo::NumeroPrenotazione].Intero();
            LeggiTestata(c);
            c.importo = prenotate[campo::Prezzo].Intero();
            std::string arrivo = prenotate[campo::DataArrivo].Testo();
            std::string partenza = prenotate[campo::DataPartenza].Testo();
            c.ultimaNotte = c.prenotazioni.size();
            c.ultimaConNome = !Taglia(c.nomePrenotazione).empty();
            Metti(cella.cellaA,
                  c.ultimaConNome ? CellaDelSoggiorno(c.nomePrenotazione, arrivo, partenza, giorno) : std::string());
            c.prenotazioni.push_back(
                PartitaPrenotazione(prenotate, std::move(arrivo), std::move(partenza), c, giorno));
        });
    }
    // Name and payment code of booking `c.conto` from its header; blank without one.
    void LeggiTestata(Casella& c) {
        Recordset& testate = *aperti_.testate;
        testate.FindFirst(CriterioTestata(hotel_, c.conto));
        if (testate.NoMatch()) {
            c.nomePrenotazione.assign(1, ' ');
            c.pagamentoPrenotazione = ' ';
            return;
        }
        c.nomePrenotazione = Inizio(testate[campo::NomeCliente], 14);
        const Valore& pagamento = testate[campo::Pagamento];
        c.pagamentoPrenotazione = pagamento.IsNull() ? ' ' : CodicePagamento(pagamento);
    }

    // Line B from the registered guests: agency of the head of the party,
    // payment, count of persons and amount.
    void AgenziaDegliOspiti(GiornoCamera& cella, const std::string& giorno, const Criterio& criterioOspiti,
                            Casella& c) {
        Recordset& ospiti = *aperti_.ospiti;
        Recordset& agenzie = *aperti_.agenzie;
        PerOgniRecord(ospiti, criterioOspiti, [&] {
            if (!OspiteConta(ospiti, giorno) || ospiti[campo::NumeroComponente].Intero() != 1) return;
            agenzie.FindFirst(CriterioAgenzia(hotel_, ospiti[campo::CodiceAgenzia].Intero()));
            if (!agenzie.NoMatch()) c.agenziaOspite = Inizio(agenzie[campo::RagioneSociale], 11);
        });
        Metti(cella.cellaB,
                    c.ospiti == 0 ? std::string()
                                  : CellaDettaglio(c.agenziaOspite, c.pagamentoOspite, c.ospiti, c.importo));
    }

    // Line B from the booking of the day, when its header has a type that
    // takes a place and its first record in this room (as stored) covers the day.
    void AgenziaDellaPrenotazione(GiornoCamera& cella, const std::string& giorno, const std::string& numeroCamera,
                                  Casella& c) {
        Recordset& testate = *aperti_.testate;
        testate.FindFirst(CriterioTestata(hotel_, c.conto));
        if (testate.NoMatch() || !TipoOccupaCamera(testate[campo::TipoPrenotazione].Testo())) return;
        Recordset& prenotate = *aperti_.prenotate;
        prenotate.FindFirst(CriterioCameraPrenotata(hotel_, c.conto, numeroCamera, giorni_.front().data));
        if (prenotate.NoMatch() || !OccupaIlGiorno(prenotate, giorno)) return;
        c.agenziaPrenotazione = Inizio(testate[campo::Agenzia], 12);
        Metti(cella.cellaB,
                    c.personePrenotazione == 0
                        ? std::string()
                        : CellaDettaglio(c.agenziaPrenotazione, c.pagamentoPrenotazione, c.personePrenotazione,
                                         c.importo));
    }

    std::int64_t hotel_;
    std::int64_t tableau_;
    std::string prima_;
    std::string ultima_;
    const std::array<DataSettimana, Giorni>& giorni_;
    const std::string vigilia_;
    DatabaseAperti& aperti_;
    const Avanzamento& avanzamento_;
    std::map<std::int64_t, std::string> nomiAgenzie_;
};

// The field `campo` of the first record of `tabella` in `database` that
// `criterio` finds, blanks trimmed; "" when there is none, or the file, table
// or field cannot be read: the week's heading does without it. The table
// read is kept with the build's tables while its file is unchanged.
std::string CampoSePresente(const CartellaDati& cartella, const std::shared_ptr<TabelleCondivise>& tabelle,
                            const std::string& database, const Selezione& tabella, const Criterio& criterio,
                            const Campo& campo, Avanzamento& avanzamento) {
    const Avanzamento::Lettura lettura(avanzamento, database);
    try {
        const auto letto = Database::Apri(cartella, database, tabelle)->OpenRecordset(tabella);
        letto->FindFirst(criterio);
        return letto->NoMatch() ? std::string() : Taglia((*letto)[campo].Testo());
    } catch (const Errore&) {
        return "";
    }
}

}  // namespace

Settimana CostruisciSettimana(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel,
                              std::int16_t tableau, const std::string& primaCamera, const std::string& ultimaCamera,
                              const std::string& dataInizio, Avanzamento& avanzamento,
                              const std::function<void()>& letti) {
    const Calendario calendario = CalendarioDellaSettimana(dataInizio);
    avanzamento.Controlla();
    Settimana settimana;
    settimana.aggiornato = OraLocale("%Y%m%d%H%M");
    settimana.hotel = hotel;
    settimana.tableau = tableau;
    settimana.primaCamera = primaCamera;
    settimana.ultimaCamera = ultimaCamera;
    settimana.giorni = calendario.giorni;
    ultima.dati_->Con(contesto.cartella, settimana.giorni.front().data, settimana.giorni.back().data, avanzamento,
                      [&](DatabaseAperti& aperti) {
                          settimana.nomeHotel = CampoSePresente(contesto.cartella, aperti.tabelle,
                                                                "AnagraficaHotels.mdb", TabellaNomiHotel(),
                                                                CriterioHotel(hotel), campo::RagioneSociale, avanzamento);
                          settimana.descrizioneTableau = CampoSePresente(
                              contesto.cartella, aperti.tabelle, "Tableau.mdb", TabellaDescrizioniTableau(),
                              CriterioDescrizioneTableau(hotel, tableau), campo::Descrizione, avanzamento);
                          if (letti) letti();
                          avanzamento.Controlla();
                          avanzamento.Passo("Composizione del tableau…");
                          Costruttore(hotel, tableau, primaCamera, ultimaCamera, settimana.giorni,
                                      calendario.vigilia, aperti, avanzamento)
                              .Componi(settimana);
                      });
    return settimana;
}

Settimana CreaTableau(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel, std::int16_t tableau,
                      const std::string& primaCamera, const std::string& ultimaCamera, const std::string& dataInizio) {
    Avanzamento nessuno;
    return CreaTableau(ultima, contesto, hotel, tableau, primaCamera, ultimaCamera, dataInizio, nessuno);
}

Settimana CreaTableau(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel, std::int16_t tableau,
                      const std::string& primaCamera, const std::string& ultimaCamera, const std::string& dataInizio,
                      Avanzamento& avanzamento) {
    // The report is opened once the databases are read, before the rooms are taken.
    std::optional<FileReport> report;
    Settimana settimana = CostruisciSettimana(ultima, contesto, hotel, tableau, primaCamera, ultimaCamera,
                                              dataInizio, avanzamento, [&] { report.emplace(contesto); });
    ScriviRighe(*report, settimana);
    // Abandoned now, the build leaves the previous report in its place.
    avanzamento.Controlla();
    report->Completa();
    return settimana;
}

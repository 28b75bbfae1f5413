#include "app/DatiDemo.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <vector>

#include "archivio/ArchivioSqlite.h"
#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"

namespace fs = std::filesystem;
using namespace std::chrono;

namespace {

// Field values. Texts are written here in UTF-8 and kept in Windows-1252.
Valore Num(std::int64_t n) { return Valore::Intero(n); }
Valore Txt(const std::string& utf8) { return Valore::Testo(Utf8ToCp1252(utf8)); }
Valore Euro(double importo) { return Valore::Valuta(std::llround(importo * 10000)); }
Valore Si(bool si) { return Valore::SiNo(si); }
Valore Istante(const std::string& testo) { return Valore::Data(testo); }
const Valore Nullo;

constexpr TipoCampo LONG = TipoCampo::Intero;
constexpr TipoCampo INT = TipoCampo::Intero;
constexpr TipoCampo TEXT = TipoCampo::Testo;
constexpr TipoCampo MONEY = TipoCampo::Valuta;
constexpr TipoCampo DOUBLE = TipoCampo::Reale;
constexpr TipoCampo DATETIME = TipoCampo::Data;
constexpr TipoCampo BOOLEAN = TipoCampo::SiNo;

// Days counted from the Monday of the demo week.
class Calendario {
public:
    explicit Calendario(const std::string& oggi) {
        const sys_days giorno = GiornoDiCalendario(oggi);
        const int settimana = GiornoSettimana(oggi);
        lunedi_ = giorno - days{settimana};
        oggi_ = settimana;
    }

    // Today, counted from Monday (0..6).
    int Oggi() const { return oggi_; }

    // yyyymmdd of day `n` from Monday.
    std::string Data(int n) const { return DataTabella(lunedi_ + days{n}); }

    // yyyy-mm-dd hh:mm:ss of day `n` from Monday.
    std::string Istante(int n, const char* ora = "10:00:00") const {
        return Formato(n, "%04d-%02u-%02u ") + ora;
    }

private:
    std::string Formato(int n, const char* formato) const {
        const year_month_day ymd{lunedi_ + days{n}};
        char testo[32];
        std::snprintf(testo, sizeof testo, formato, static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                      static_cast<unsigned>(ymd.day()));
        return testo;
    }

    sys_days lunedi_;
    int oggi_ = 0;
};

// Deterministic choices, so that the demo of a given day is always the same.
class Sorte {
public:
    int Tra(int minimo, int massimo) {
        return minimo + static_cast<int>(motore_() % static_cast<std::uint32_t>(massimo - minimo + 1));
    }
    bool Su(int volte) { return Tra(1, volte) == 1; }
    template <typename T>
    const T& Uno(const std::vector<T>& scelte) {
        return scelte[static_cast<std::size_t>(Tra(0, static_cast<int>(scelte.size()) - 1))];
    }

private:
    std::mt19937 motore_{20261207u};
};

const std::vector<std::string> Cognomi = {
    "Rossi",    "Russo",     "Ferrari",  "Esposito", "Bianchi",   "Romano",   "Colombo",  "Ricci",
    "Marino",   "Greco",     "Bruno",    "Gallo",    "Conti",     "De Luca",  "Mancini",  "Costa",
    "Giordano", "Rizzo",     "Lombardi", "Moretti",  "Barbieri",  "Fontana",  "Santoro",  "Mariani",
    "Rinaldi",  "Caruso",    "Ferrara",  "Galli",    "Martini",   "Leone",    "Longo",    "Gentile",
    "Martinelli", "Vitale",  "Lombardo", "Serra",    "Coppola",   "De Santis", "D'Angelo", "Marchetti",
    "Parisi",   "Villa",     "Conte",    "Ferraro",  "Ferri",     "Fabbri",   "Bianco",   "Marini",
    "Grasso",   "Valentini", "Messina",  "Sala",     "De Angelis", "Gatti",   "Pellegrini", "Palumbo",
    "Sanna",    "Farina",    "Rizzi",    "Monti",    "Cattaneo",  "Morelli",  "Amato",    "Silvestri",
    "Mazza",    "Testa",     "Dell'Acqua", "Pellegrino", "Carbone", "Giuliani", "Benedetti", "Barone",
    "Rossetti", "Caputo",    "Montanari", "Guerra",  "Palmieri",  "Bernardi", "Martino",  "Fiore",
    "Müller",   "Dubois",    "García",   "Schneider"};
const std::vector<std::string> NomiMaschili = {
    "Marco", "Luca", "Giuseppe", "Francesco", "Alessandro", "Andrea", "Matteo", "Lorenzo", "Davide", "Nicolò",
    "Giovanni", "Paolo", "Stefano", "Roberto", "Federico", "Tommaso", "Pietro", "Enzo", "Salvatore", "Fabio"};
const std::vector<std::string> NomiFemminili = {
    "Giulia", "Francesca", "Chiara", "Sara", "Martina", "Elena", "Alessia", "Federica", "Lucia", "Anna",
    "Beatrice", "Ilaria", "Giorgia", "Valentina", "Silvia", "Paola", "Raffaella", "Noemi", "Aurora", "Irene"};
const std::vector<std::string> Citta = {"Milano", "Roma",  "Torino",  "Napoli", "Bologna", "Firenze",
                                        "Genova", "Verona", "Padova", "Bari",   "Palermo", "Trieste"};
const std::vector<std::string> Pagamenti = {"contanti", "c", "CC", "B", "carta di credito", "bonifico"};

struct TipoCameraDemo {
    const char* sigla;
    const char* tipologia;
    const char* descrizione;
    int posti;
    double prezzo;  // per night
};

const std::vector<TipoCameraDemo> TipiDemo = {
    {"DBL", "C", "Doppia", 2, 95.00},        {"SGL", "C", "Singola", 1, 62.50},
    {"TRP", "C", "Tripla", 3, 124.50},       {"BOX", "G", "Box auto", 0, 0},
    {"QDR", "C", "Quadrupla", 4, 149.00},    {"SUI", "C", "Suite", 2, 210.00},
    {"JSU", "C", "Junior suite", 3, 175.50}, {"SAL", "S", "Sala riunioni", 0, 0}};

const TipoCameraDemo& TipoDi(const std::string& sigla) {
    for (const auto& t : TipiDemo)
        if (sigla == t.sigla) return t;
    return TipiDemo.front();
}

struct CameraDemo {
    int hotel;
    int tableau;
    std::string numero;
    std::string tipo;
    int piano;
};

std::vector<CameraDemo> CamereDemo() {
    std::vector<CameraDemo> camere;
    const std::vector<std::string> tipiPiano1 = {"DBL", "DBL", "SGL", "DBL", "TRP", "DBL",
                                                 "QDR", "DBL", "SGL", "DBL", "SUI", "DBL"};
    const std::vector<std::string> tipiPiano2 = {"DBL", "SGL", "DBL", "TRP", "DBL", "DBL",
                                                 "JSU", "DBL", "SGL", "DBL", "QDR", "DBL"};
    const std::vector<std::string> tipiPiano3 = {"SUI", "DBL", "DBL", "TRP", "SGL",
                                                 "DBL", "DBL", "QDR", "DBL", "JSU"};
    const auto piano = [&](int hotel, int tableau, int n, const std::vector<std::string>& tipi) {
        for (std::size_t i = 0; i < tipi.size(); ++i)
            camere.push_back({hotel, tableau, std::to_string(n * 100 + 1 + static_cast<int>(i)), tipi[i], n});
    };
    piano(1, 1, 1, tipiPiano1);
    piano(1, 1, 2, tipiPiano2);
    piano(1, 1, 3, tipiPiano3);
    camere.push_back({1, 1, "SALA", "SAL", 0});
    camere.push_back({1, 1, "G01", "BOX", -1});
    piano(1, 2, 5, {"DBL", "DBL", "TRP", "SGL", "DBL", "QDR"});
    piano(2, 1, 1, {"DBL", "SGL", "DBL", "TRP", "DBL", "SUI"});
    piano(2, 1, 2, {"DBL", "DBL", "QDR", "SGL"});
    camere.push_back({2, 1, "G1", "BOX", -1});
    return camere;
}

struct AgenziaDemo {
    int hotel;
    int codice;
    const char* nome;
    const char* indirizzo;
    const char* telefono;
    double commissione;
};

const std::vector<AgenziaDemo> AgenzieDemo = {
    {1, 1, "Viaggi Aurora", "Via Roma 12, Milano", "02 5550112", 10},
    {1, 2, "Turismo Lario S.r.l.", "Lungolago Mafalda 4, Como", "031 555870", 12},
    {1, 3, "Agenzia Viaggi Il Gabbiano", "Corso Italia 88, Genova", "010 5553321", 10},
    {1, 4, "Sole e Neve Tour", "Piazza Duomo 3, Trento", "0461 555402", 8},
    {1, 5, "Itinerari d'Italia", "Via dei Mille 21, Napoli", "081 5559090", 11.5},
    {1, 6, "Borgo Antico Incoming", "Via del Corso 140, Roma", "06 5556671", 9},
    {1, 7, "Gran Tour Operator Italiano", "Viale Europa 7, Bologna", "051 5551234", 15},
    {2, 1, "Dolomiti Vacanze", "Via Cavour 2, Bolzano", "0471 555300", 10},
    {2, 3, "Viaggi Nord-Est", "Riva del Vin 5, Venezia", "041 5557788", 12},
};

// The tables of the suite, filled as the demo's stays are laid out.
class Movimenti {
public:
    explicit Movimenti(const Calendario& calendario) : cal_(calendario) {
        clienti_ = Nuova("Scheda_Cliente",
                         {{"NumeroHotel", LONG}, {"NumeroProgressivo", LONG}, {"NumeroComponente", INT},
                          {"NomeCliente", TEXT}, {"DataNascita", DATETIME}, {"LuogoNascita", TEXT},
                          {"NumeroCamera", TEXT}, {"DataArrivo", TEXT}, {"DataPartenza", TEXT}, {"Partito", TEXT},
                          {"TipoPagamento", TEXT}, {"CodiceAgenzia", LONG}, {"Note", TEXT}});
        addebiti_ = Nuova("Arrangiamento", {{"NumeroHotel", LONG}, {"CodiceCliente", LONG}, {"NumeroConto", INT},
                                            {"Descrizione", TEXT}, {"DataInizio", TEXT}, {"DataFine", TEXT},
                                            {"ImportoTotale", MONEY}, {"DataRegistrazione", DATETIME}});
        prenotate_ = Nuova("Camere_Prenotazione",
                           {{"NumeroHotel", LONG}, {"NumeroPrenotazione", LONG}, {"NumeroCamera", TEXT},
                            {"TipoCamera", TEXT}, {"TipoPrenotazione", TEXT}, {"NumeroPersone", INT},
                            {"DataArrivo", TEXT}, {"DataPartenza", TEXT}, {"Prezzo", MONEY},
                            {"Trattamento", TEXT}, {"Note", TEXT}});
        testate_ = Nuova("Scheda_Prenotazione",
                         {{"NumeroHotel", LONG}, {"NumeroPrenotazione", LONG}, {"DataPrenotazione", DATETIME},
                          {"NomeCliente", TEXT}, {"Telefono", TEXT}, {"Pagamento", TEXT},
                          {"TipoPrenotazione", TEXT}, {"Agenzia", TEXT}, {"Confermata", BOOLEAN}});
    }

    static Tabella Nuova(const char* nome, std::vector<Colonna> colonne) {
        Tabella t;
        t.nome = nome;
        t.colonne = std::move(colonne);
        return t;
    }

    // Lays out the stays of one room from two weeks before the demo week to
    // two weeks after it.
    void Soggiorni(const CameraDemo& camera) {
        int giorno = -14 + sorte_.Tra(0, 3);
        while (giorno < 21) {
            const int notti = sorte_.Tra(1, 6);
            Soggiorno(camera, giorno, giorno + notti);
            const int pausa = sorte_.Tra(1, 20);
            giorno += notti + (pausa <= 15 ? 0 : pausa <= 19 ? 1 : 2);
        }
    }

    void Salva(const std::string& cartella) const {
        ScriviTabellaSqlite(cartella + "/Scheda_Cliente.mdb", clienti_);
        ScriviTabellaSqlite(cartella + "/Arrangiamento.mdb", addebiti_);
        ScriviTabellaSqlite(cartella + "/Camere_Prenotazione.mdb", prenotate_);
        ScriviTabellaSqlite(cartella + "/Scheda_Prenotazione.mdb", testate_);
    }

private:
    struct Gruppo {
        std::string cognome;
        std::vector<std::string> nomi;  // "Cognome Nome", the head first
    };

    Gruppo NuovoGruppo(int persone) {
        Gruppo g{sorte_.Uno(Cognomi), {}};
        for (int i = 0; i < persone; ++i) {
            const auto& nome = sorte_.Su(2) ? sorte_.Uno(NomiMaschili) : sorte_.Uno(NomiFemminili);
            g.nomi.push_back(g.cognome + " " + nome);
        }
        return g;
    }

    int Persone(const CameraDemo& camera) {
        const int posti = TipoDi(camera.tipo).posti;
        return posti <= 1 ? 1 : sorte_.Tra(posti - 1, posti);
    }

    double Prezzo(const CameraDemo& camera) const {
        return TipoDi(camera.tipo).prezzo + (camera.hotel == 2 ? -10.0 : 0.0) + (camera.piano == 3 ? 7.50 : 0.0);
    }

    int Agenzia(int hotel) {
        if (sorte_.Tra(1, 5) <= 2) return 0;
        std::vector<int> codici;
        for (const auto& a : AgenzieDemo)
            if (a.hotel == hotel) codici.push_back(a.codice);
        return sorte_.Uno(codici);
    }

    void Soggiorno(const CameraDemo& camera, int arrivo, int partenza) {
        if (arrivo <= cal_.Oggi())
            Ospiti(camera, arrivo, partenza);
        else
            Prenotazione(camera, arrivo, partenza);
    }

    // A party registered in the room: one record per person, the head first
    // (sometimes stored after the others), charges on the head's account.
    void Ospiti(const CameraDemo& camera, int arrivo, int partenza) {
        const Gruppo gruppo = NuovoGruppo(Persone(camera));
        const std::string partito = partenza < cal_.Oggi() ? "S" : "N";
        const std::int64_t conto = progressivo_;
        const bool capoInFondo = gruppo.nomi.size() > 1 && sorte_.Su(5);
        std::vector<Record> persone;
        for (std::size_t i = 0; i < gruppo.nomi.size(); ++i) {
            const bool capo = i == 0;
            const int anno = capo ? sorte_.Tra(1950, 1990) : sorte_.Tra(1960, 2015);
            char nascita[32];
            std::snprintf(nascita, sizeof nascita, "%04d-%02d-%02d 00:00:00", anno, sorte_.Tra(1, 12),
                          sorte_.Tra(1, 28));
            persone.push_back({Num(camera.hotel), Num(progressivo_++), Num(static_cast<std::int64_t>(i) + 1),
                               Txt(gruppo.nomi[i]), Istante(nascita), Txt(sorte_.Uno(Citta)), Txt(camera.numero),
                               Txt(cal_.Data(arrivo)), Txt(cal_.Data(partenza)), Txt(partito),
                               capo ? Txt(sorte_.Uno(Pagamenti)) : Nullo, Num(capo ? Agenzia(camera.hotel) : 0),
                               capo && sorte_.Su(6) ? Txt("Cliente abituale") : Nullo});
        }
        if (capoInFondo) std::rotate(persone.begin(), persone.begin() + 1, persone.end());
        for (auto& p : persone) clienti_.righe.push_back(std::move(p));
        Addebiti(camera, conto, arrivo, partenza);
    }

    void Addebito(int hotel, std::int64_t conto, int numeroConto, const char* descrizione, int dal, int al,
                  double importo) {
        addebiti_.righe.push_back({Num(hotel), Num(conto), Num(numeroConto), Txt(descrizione), Txt(cal_.Data(dal)),
                                   Txt(cal_.Data(al)), Euro(importo), Istante(cal_.Istante(dal, "18:30:00"))});
    }

    // The room by night for the whole stay, now and then an extra on one
    // night, now and then a second account the tableau does not show.
    void Addebiti(const CameraDemo& camera, std::int64_t conto, int arrivo, int partenza) {
        Addebito(camera.hotel, conto, 1, "Pernottamento", arrivo, partenza, Prezzo(camera));
        if (sorte_.Su(3)) {
            const int sera = sorte_.Tra(arrivo, partenza - 1);
            static const std::vector<std::pair<const char*, double>> extra = {
                {"Cena", 35.00}, {"Minibar", 8.50}, {"Parcheggio", 15.00}, {"Lavanderia", 12.50}, {"Spa", 40.00}};
            const auto& [descrizione, importo] = sorte_.Uno(extra);
            Addebito(camera.hotel, conto, 1, descrizione, sera, sera + 1, importo);
        }
        if (sorte_.Su(8)) Addebito(camera.hotel, conto, 2, "Telefono", arrivo, arrivo + 1, 4.20);
    }

    // A booking of the room: mostly confirmed or optional, now and then
    // cancelled (A), pending (P) or for no persons.
    void Prenotazione(const CameraDemo& camera, int arrivo, int partenza) {
        static const std::vector<const char*> tipi = {"C", "C", "C", "C", "C", "C", "O", "O", "D", "D", "A", "P"};
        const std::string tipo = sorte_.Uno(tipi);
        const int persone = sorte_.Su(20) ? 0 : Persone(camera);
        const Gruppo gruppo = NuovoGruppo(1);
        const int agenzia = Agenzia(camera.hotel);
        std::string nomeAgenzia;
        for (const auto& a : AgenzieDemo)
            if (a.hotel == camera.hotel && a.codice == agenzia) nomeAgenzia = a.nome;
        static const std::vector<const char*> trattamenti = {"BB", "HB", "FB"};
        const std::int64_t numero = prenotazione_++;
        prenotate_.righe.push_back({Num(camera.hotel), Num(numero), Txt(camera.numero), Txt(camera.tipo), Txt(tipo),
                                    Num(persone), Txt(cal_.Data(arrivo)), Txt(cal_.Data(partenza)),
                                    Euro(Prezzo(camera)), Txt(sorte_.Uno(trattamenti)),
                                    sorte_.Su(5) ? Txt("Arrivo in serata") : Nullo});
        char telefono[24];
        std::snprintf(telefono, sizeof telefono, "3%02d %07d", sorte_.Tra(20, 99), sorte_.Tra(1000000, 9999999));
        testate_.righe.push_back({Num(camera.hotel), Num(numero),
                                  Istante(cal_.Istante(arrivo - sorte_.Tra(3, 40), "11:15:00")),
                                  Txt(gruppo.nomi.front()), Txt(telefono),
                                  sorte_.Su(5) ? Nullo : Txt(sorte_.Uno(Pagamenti)), Txt(tipo), Txt(nomeAgenzia),
                                  Si(tipo == "C")});
    }

    const Calendario& cal_;
    Sorte sorte_;
    std::int64_t progressivo_ = 70001;
    std::int64_t prenotazione_ = 300001;
    Tabella clienti_, addebiti_, prenotate_, testate_;
};

void TabelleFisse(const std::string& cartella, const Calendario& cal) {
    Tabella hotel = Movimenti::Nuova("AnagraficaHotels",
                                    {{"Numero", LONG}, {"RagioneSociale", TEXT}, {"CodiceAssistenza", TEXT},
                                     {"Indirizzo", TEXT}, {"PartitaIVA", TEXT}, {"DataAttivazione", DATETIME},
                                     {"Note", TEXT}});
    hotel.righe = {
        {Num(0), Txt("Modello archivio (non usare)"), Nullo, Nullo, Nullo, Nullo, Nullo},
        {Num(1), Txt("Hotel Miramonti S.r.l."), Txt("AS-1001"), Txt("Via Panoramica 14, Bellagio"),
         Txt("02345678901"), Istante("2019-03-01 00:00:00"), Txt("Sede principale\nAperto tutto l'anno")},
        {Num(2), Txt("Albergo La Pergola di Santoro & C. S.a.s."), Txt("AS-1002"), Txt("Piazza Garibaldi 3, Cortina"),
         Txt("03456789012"), Istante("2021-06-15 00:00:00"), Nullo},
    };
    ScriviTabellaSqlite(cartella + "/AnagraficaHotels.mdb", hotel);

    Tabella tableau = Movimenti::Nuova("Tableau", {{"NumeroHotel", LONG}, {"Codice", INT}, {"Descrizione", TEXT},
                                                  {"Ordinamento", INT}, {"Attivo", BOOLEAN}});
    tableau.righe = {{Num(1), Num(0), Txt("Modello"), Num(0), Si(false)},
                     {Num(1), Num(1), Txt("Corpo principale"), Num(1), Si(true)},
                     {Num(1), Num(2), Txt("Dépendance"), Num(2), Si(true)},
                     {Num(2), Num(1), Txt("Corpo unico"), Num(1), Si(true)}};
    ScriviTabellaSqlite(cartella + "/Tableau.mdb", tableau);

    Tabella tipi = Movimenti::Nuova("TipiCamere",
                                   {{"Sigla", TEXT}, {"Tipologia", TEXT}, {"Descrizione", TEXT}, {"PostiLetto", INT}});
    for (const auto& t : TipiDemo) tipi.righe.push_back({Txt(t.sigla), Txt(t.tipologia), Txt(t.descrizione), Num(t.posti)});
    ScriviTabellaSqlite(cartella + "/TipiCamere.mdb", tipi);

    Tabella camere = Movimenti::Nuova("NumeriCamere", {{"NumeroHotel", LONG}, {"NumeroTableau", INT},
                                                      {"NumeroCamera", TEXT}, {"TipoCamera", TEXT}, {"Piano", INT},
                                                      {"Interno", TEXT}, {"FuoriServizio", BOOLEAN}});
    for (const auto& c : CamereDemo())
        camere.righe.push_back({Num(c.hotel), Num(c.tableau), Txt(c.numero), Txt(c.tipo), Num(c.piano),
                                Txt(c.piano > 0 ? "2" + c.numero : ""), Si(c.numero == "304")});
    ScriviTabellaSqlite(cartella + "/NumeriCamere.mdb", camere);

    Tabella agenzie = Movimenti::Nuova("AgenzieAbituali", {{"NumeroHotel", LONG}, {"Codice", LONG},
                                                          {"RagioneSociale", TEXT}, {"Indirizzo", TEXT},
                                                          {"Telefono", TEXT}, {"Commissione", DOUBLE}});
    for (const auto& a : AgenzieDemo)
        agenzie.righe.push_back({Num(a.hotel), Num(a.codice), Txt(a.nome), Txt(a.indirizzo), Txt(a.telefono),
                                 Valore::Reale(a.commissione)});
    ScriviTabellaSqlite(cartella + "/AgenzieAbituali.mdb", agenzie);

    Tabella stampanti = Movimenti::Nuova("Stampanti", {{"NumeroHotel", LONG}, {"Destinazione", TEXT},
                                                      {"Linea", TEXT}, {"TipoStampa", INT}, {"Predefinita", BOOLEAN},
                                                      {"Note", TEXT}});
    stampanti.righe = {
        {Num(1), Txt("Ufficio"), Txt("stampa_ufficio.prn"), Num(1), Si(true), Txt("Stampante ad aghi")},
        {Num(1), Txt("Reception PDF"), Txt("Stampante PDF"), Num(2), Si(false), Nullo},
        {Num(2), Txt("Cassa"), Txt("stampa_cassa.prn"), Num(1), Si(true), Nullo},
    };
    ScriviTabellaSqlite(cartella + "/Stampanti.mdb", stampanti);

    Tabella impostazioni = Movimenti::Nuova("SetStampa", {{"TipoStampa", INT}, {"Descrizione", TEXT},
                                                         {"Compresso", TEXT}, {"Grassetto", TEXT}});
    impostazioni.righe = {
        {Num(1), Txt("Stampa diretta"), Txt(" 27 15  0  0  0  0027018000000000  0"),
         Txt(" 27 69  0  0  0  2 88 66  0  0  0  0")},
        {Num(2), Txt("Stampa tramite driver"), Txt("  8  0  0  0  0  1 10  0  0  0  0  0"),
         Txt("  0  0  0  0  0  1 72 60  0  0  0  0")},
    };
    ScriviTabellaSqlite(cartella + "/Stampanti.mdb", impostazioni);

    Tabella contatori = Movimenti::Nuova("Contatori", {{"NumeroHotel", LONG}, {"LungPagComp", INT},
                                                      {"LungPagNoComp", INT}, {"UltimaFattura", LONG},
                                                      {"UltimaRicevuta", LONG}, {"UltimoAggiornamento", DATETIME}});
    contatori.righe = {{Num(1), Num(80), Num(60), Num(1245), Num(3310), Istante(cal.Istante(-1, "23:00:00"))},
                       {Num(2), Num(72), Num(54), Num(412), Num(987), Istante(cal.Istante(-1, "23:05:00"))}};
    ScriviTabellaSqlite(cartella + "/Contatori.mdb", contatori);
}

void Scrivi(const std::string& cartella, const Calendario& cal) {
    TabelleFisse(cartella, cal);
    Movimenti movimenti(cal);
    for (const auto& camera : CamereDemo())
        if (TipoDi(camera.tipo).tipologia == std::string("C")) movimenti.Soggiorni(camera);
    movimenti.Salva(cartella);
}

}  // namespace

void CreaDatiDemo(const std::string& cartella, const std::string& oggi) {
    std::string data = oggi;
    if (!ControllaData(data))
        throw Errore(NumeroErrore::ArgomentoNonValido, "Data non valida per i dati dimostrativi: '" + oggi + "'.");
    fs::path destinazione = fs::absolute(fs::path(cartella)).lexically_normal();
    // "demo/" and "demo" name the same folder: the one the files go into.
    if (!destinazione.has_filename()) destinazione = destinazione.parent_path();
    std::error_code ec;
    if (fs::exists(destinazione, ec) && !(fs::is_directory(destinazione, ec) && fs::is_empty(destinazione, ec)))
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "La cartella '" + cartella + "' esiste e non è vuota: i dati dimostrativi vanno creati in una "
                     "cartella nuova.");
    const fs::path genitore = destinazione.parent_path();
    fs::create_directories(genitore, ec);
    std::string modello = (genitore / (destinazione.filename().string() + ".XXXXXX")).string();
    if (!mkdtemp(modello.data()))
        throw Errore(NumeroErrore::FileNonScrivibile, "Impossibile creare la cartella '" + cartella + "'.");
    // Written aside and moved into place only when complete.
    try {
        Scrivi(modello, Calendario(data));
        fs::permissions(modello, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
        if (fs::exists(destinazione, ec)) fs::remove(destinazione);
        fs::rename(modello, destinazione);
    } catch (const fs::filesystem_error& e) {
        fs::remove_all(modello, ec);
        throw Errore(NumeroErrore::FileNonScrivibile,
                     "Impossibile creare la cartella '" + cartella + "': " +
                         DescrizioneErroreSistema(e.code().value()) + ".");
    } catch (...) {
        fs::remove_all(modello, ec);
        throw;
    }
}

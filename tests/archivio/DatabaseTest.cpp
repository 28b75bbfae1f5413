#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>

#include "archivio/ArchivioSqlite.h"
#include "archivio/Database.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "support/Csv.h"
#include "support/Supporto.h"

namespace {

Valore T(const char* testo) { return Valore::Testo(testo); }
Valore N(std::int64_t n) { return Valore::Intero(n); }
const Valore Nullo;

// A data folder of small databases, one table per file as the suite keeps them.
class DatabaseSuScenario : public ::testing::Test {
protected:
    void Scrivi(const std::string& file, Tabella tabella) {
        ScriviTabellaSqlite((cartella_.Percorso() / file).string(), tabella);
    }
    std::unique_ptr<Database> Apri(const std::string& file) {
        return Database::Apri(file, cartella_.Percorso().string());
    }

    // Rooms of two hotels in stored order; room types C (rooms) and S (halls).
    void ScriviCamere() {
        Scrivi("NumeriCamere.mdb",
               {"NumeriCamere",
                {{"NumeroHotel", TipoCampo::Intero}, {"NumeroTableau", TipoCampo::Intero},
                 {"NumeroCamera", TipoCampo::Testo}, {"TipoCamera", TipoCampo::Testo}},
                {{N(1), N(1), T("2"), T("dus")},
                 {N(1), N(1), T("10"), T("DUS")},
                 {N(2), N(1), T("1"), T("DUS")},
                 {N(1), N(1), T("12'B"), T("Sala")},
                 {N(1), N(2), T("1"), T("suite")},
                 {N(1), N(1), T("100"), Nullo}}});
        Scrivi("TipiCamere.mdb", {"TipiCamere",
                                  {{"Sigla", TipoCampo::Testo}, {"Tipologia", TipoCampo::Testo}},
                                  {{T("DUS"), T("C")}, {T("SALA"), T("S")}, {T("Suite"), T("c")}}});
    }

    // Stays around the week 20261207..20261213 (a departure on the first day
    // does not touch it; an arrival on the last day does).
    void ScriviOspiti() {
        Scrivi("Scheda_Cliente.mdb",
               {"Scheda_Cliente",
                {{"NumeroProgressivo", TipoCampo::Intero}, {"NumeroCamera", TipoCampo::Testo},
                 {"Partito", TipoCampo::Testo}, {"DataArrivo", TipoCampo::Testo},
                 {"DataPartenza", TipoCampo::Testo}, {"Pagamento", TipoCampo::Testo}},
                {{N(1), T("101"), T("N"), T("20261201"), T("20261207"), T("CC")},
                 {N(2), T("101"), T("n"), T("20261207"), T("20261209"), Nullo},
                 {N(3), T("102"), T("N"), T("20261213"), T("20261215"), T("c")},
                 {N(4), T("102"), T("S"), T("20261214"), T("20261216"), T("X")},
                 {N(5), T("101"), T("N"), T("20261209"), T("20261211"), T("B")}}});
    }

    CartellaTemporanea cartella_;
};

// Values of a field over the records found by FindFirst, then FindNext until NoMatch.
std::vector<std::string> Trovati(Recordset& rs, const Criterio& criterio, const char* campo) {
    std::vector<std::string> valori;
    for (rs.FindFirst(criterio); !rs.NoMatch(); rs.FindNext(criterio)) valori.push_back(rs[campo].Testo());
    return valori;
}

// Values of a field over all records, in the record set's order.
std::vector<std::string> Tutti(Recordset& rs, const char* campo) {
    std::vector<std::string> valori;
    if (rs.RecordCount() == 0) return valori;
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext()) valori.push_back(rs[campo].Testo());
    return valori;
}

using Testi = std::vector<std::string>;

const Campo NumeroHotel("NumeroHotel"), NumeroTableau("NumeroTableau"), NumeroCamera("NumeroCamera"),
    TipoCamera("TipoCamera"), Pagamento("Pagamento"), NumeroProgressivo("NumeroProgressivo"), Partito("Partito"),
    DataArrivo("DataArrivo"), DataPartenza("DataPartenza"), NumeroPrenotazione("NumeroPrenotazione"), Piano("Piano");

}  // namespace

TEST_F(DatabaseSuScenario, CriteriSuTestiSenzaRiguardoAlleMaiuscole) {
    ScriviCamere();
    auto db = Apri("numericamere.MDB");
    auto rs = db->OpenRecordset("numeriCAMERE");
    EXPECT_EQ(Trovati(*rs, TipoCamera == "Dus", "NumeroCamera"), (Testi{"2", "10", "1"}));
    EXPECT_EQ(Trovati(*rs, Campo("tipocamera") == "SUITE" && Campo("NUMEROHOTEL") == 1, "NumeroCamera"), Testi{"1"});
    EXPECT_EQ(Trovati(*rs, NumeroCamera == "12'B", "TipoCamera"), Testi{"Sala"});
    // Texts compare character by character: "100" lies before "2".
    EXPECT_EQ(Trovati(*rs, NumeroHotel == 1 && NumeroCamera < "2", "NumeroCamera"), (Testi{"10", "12'B", "1", "100"}));
    EXPECT_EQ(Trovati(*rs, TipoCamera > "d" && TipoCamera <= "sala", "NumeroCamera"), (Testi{"2", "10", "1", "12'B"}));
}

TEST_F(DatabaseSuScenario, AccentiSenzaRiguardoAlleMaiuscole) {
    Scrivi("Citta.mdb", {"Citta", {{"Nome", TipoCampo::Testo}}, {{T("Citt\xE0")}, {T("CITT\xC0")}, {T("Citta")}}});
    auto rs = Apri("Citta.mdb")->OpenRecordset("Citta");
    EXPECT_EQ(Trovati(*rs, Campo("Nome") == "cITT\xE0", "Nome"), (Testi{"Citt\xE0", "CITT\xC0"}));
}

TEST_F(DatabaseSuScenario, NullNonUgualeANulla) {
    ScriviOspiti();
    auto rs = Apri("Scheda_Cliente.mdb")->OpenRecordset("Scheda_Cliente");
    const char* id = "NumeroProgressivo";
    EXPECT_EQ(Trovati(*rs, Pagamento != "CC", id), (Testi{"3", "4", "5"}));
    EXPECT_EQ(Trovati(*rs, !(Pagamento == "CC"), id), (Testi{"3", "4", "5"}));
    EXPECT_EQ(Trovati(*rs, !(Pagamento == "CC" && NumeroProgressivo == 2), id), (Testi{"1", "3", "4", "5"}));
    EXPECT_EQ(Trovati(*rs, Pagamento == "B" || NumeroProgressivo == 2, id), (Testi{"2", "5"}));
    EXPECT_EQ(Trovati(*rs, Pagamento == Valore() || Pagamento != Valore(), id), Testi{});
    EXPECT_EQ(Trovati(*rs, IsNull(Pagamento), id), Testi{"2"});
    EXPECT_EQ(Trovati(*rs, IsNotNull(Pagamento) && NonIn(Pagamento, {Valore::Testo("cc"), Valore::Testo("X")}), id),
              (Testi{"3", "5"}));
}

TEST_F(DatabaseSuScenario, NumeriControTesti) {
    ScriviCamere();
    auto rs = Apri("NumeriCamere.mdb")->OpenRecordset("NumeriCamere");
    EXPECT_EQ(Trovati(*rs, NumeroHotel == "2", "NumeroCamera"), Testi{"1"});
    EXPECT_EQ(Trovati(*rs, NumeroTableau > Valore::Reale(1.5) && NumeroHotel >= -1, "NumeroCamera"), Testi{"1"});
    EXPECT_EQ(Trovati(*rs, NumeroHotel == 2 && NumeroCamera == 1, "TipoCamera"), Testi{"DUS"});
    EXPECT_EQ(NumeroErroreDi([&] { rs->FindFirst(NumeroHotel == "uno"); }), 3464);
    // "12'B" is no number: comparing it with one cannot be answered.
    EXPECT_EQ(NumeroErroreDi([&] { rs->FindFirst(NumeroHotel == 1 && NumeroCamera == 12); }), 3464);
}

TEST_F(DatabaseSuScenario, DopoUnaRicercaFallitaRestaCorrenteIlRecordTrovatoPerUltimo) {
    ScriviOspiti();
    auto rs = Apri("Scheda_Cliente.mdb")->OpenRecordset("Scheda_Cliente");
    const Criterio criterio = NumeroCamera == "101" && Partito == "N";
    rs->FindFirst(NumeroCamera == "999");
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->operator[]("NumeroProgressivo").Testo(), "1");
    // A FindNext goes on from that record, not from before the first.
    rs->FindNext(criterio);
    EXPECT_EQ(rs->operator[]("NumeroProgressivo").Testo(), "2");
    rs->FindFirst(criterio);
    rs->FindNext(criterio);
    rs->FindNext(criterio);
    EXPECT_FALSE(rs->NoMatch());
    rs->FindNext(criterio);
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->operator[]("NumeroProgressivo").Testo(), "5");
    EXPECT_EQ(rs->operator[]("DataPartenza").Testo(), "20261211");
    rs->FindNext(criterio);
    EXPECT_TRUE(rs->NoMatch());
    EXPECT_EQ(rs->operator[]("NumeroProgressivo").Testo(), "5");
    // A FindFirst then starts over from the first record.
    rs->FindFirst(criterio);
    EXPECT_EQ(rs->operator[]("NumeroProgressivo").Testo(), "1");
}

TEST_F(DatabaseSuScenario, OrdinamentoStabileConNullInTesta) {
    ScriviCamere();
    auto db = Apri("NumeriCamere.mdb");
    auto rs = db->OpenRecordset({.tabella = "NumeriCamere", .ordine = {TipoCamera}});
    EXPECT_EQ(Tutti(*rs, "NumeroCamera"), (Testi{"100", "2", "10", "1", "12'B", "1"}));
    EXPECT_EQ(Tutti(*rs, "NumeroHotel"), (Testi{"1", "1", "1", "2", "1", "1"}));
    rs = db->OpenRecordset({.tabella = "NumeriCamere", .ordine = {Ordine(TipoCamera, true), NumeroCamera}});
    EXPECT_EQ(Tutti(*rs, "NumeroCamera"), (Testi{"1", "12'B", "1", "10", "2", "100"}));

    rs->Sort({NumeroCamera});
    auto ordinato = rs->OpenRecordset();
    EXPECT_EQ(Tutti(*ordinato, "NumeroCamera"), (Testi{"1", "1", "10", "100", "12'B", "2"}));
    EXPECT_EQ(Tutti(*ordinato, "TipoCamera"), (Testi{"suite", "DUS", "DUS", "", "Sala", "dus"}));
    EXPECT_EQ(Tutti(*rs, "NumeroCamera").front(), "1");  // the record set sorted from stays as it was
    rs->Sort({Ordine(NumeroHotel, true), Ordine(NumeroTableau, true)});
    EXPECT_EQ(Tutti(*rs->OpenRecordset(), "NumeroCamera"), (Testi{"1", "1", "12'B", "10", "2", "100"}));
}

TEST_F(DatabaseSuScenario, InterrogazioniDelTableau) {
    ScriviCamere();
    ScriviOspiti();
    const Selezione tipiCamere{
        .tabella = "TipiCamere", .campi = {Campo("Sigla")}, .filtro = Campo("Tipologia") == "C", .file = "TipiCamere.mdb"};
    auto camere = Apri("NumeriCamere.mdb")
                      ->OpenRecordset({.tabella = "NumeriCamere",
                                       .filtro = In(TipoCamera, tipiCamere),
                                       .ordine = {NumeroCamera}});
    EXPECT_EQ(Tutti(*camere, "NumeroCamera"), (Testi{"1", "1", "10", "2"}));

    const Forma settimana = DataArrivo <= "20261213" && DataPartenza > "20261207";
    auto ospiti = Apri("Scheda_Cliente.mdb")->OpenRecordset({.tabella = "Scheda_Cliente", .filtro = settimana});
    EXPECT_EQ(Tutti(*ospiti, "NumeroProgressivo"), (Testi{"2", "3", "5"}));
    EXPECT_EQ(Trovati(*ospiti,
                      NumeroCamera == "101" && Partito == "N" && DataArrivo <= "20261209" && DataPartenza > "20261209",
                      "NumeroProgressivo"),
              Testi{"5"});

    Scrivi("Camere_Prenotazione.mdb",
           {"Camere_Prenotazione",
            {{"NumeroPrenotazione", TipoCampo::Intero}, {"DataArrivo", TipoCampo::Testo},
             {"DataPartenza", TipoCampo::Testo}},
            {{N(7), T("20261212"), T("20261220")}, {N(8), T("20261130"), T("20261207")}, {N(9), Nullo, Nullo}}});
    Scrivi("Scheda_Prenotazione.mdb", {"Scheda_Prenotazione",
                                       {{"NumeroPrenotazione", TipoCampo::Intero}, {"NomeCliente", TipoCampo::Testo}},
                                       {{N(9), T("Nove")}, {N(8), T("Otto")}, {N(7), T("Sette")}}});
    const Selezione prenotateNellaSettimana{.tabella = "camere_PRENOTAZIONE",
                                            .campi = {NumeroPrenotazione},
                                            .filtro = settimana,
                                            .file = "camere_prenotazione.mdb"};
    auto testate = Apri("Scheda_Prenotazione.mdb")
                       ->OpenRecordset({.tabella = "Scheda_Prenotazione",
                                        .filtro = In(NumeroPrenotazione, prenotateNellaSettimana)});
    EXPECT_EQ(Tutti(*testate, "NomeCliente"), Testi{"Sette"});

    // A subquery also serves in a search criterion, on the database's own file.
    auto tutte = Apri("Camere_Prenotazione.mdb")->OpenRecordset("Camere_Prenotazione");
    const Selezione senzaArrivo{
        .tabella = "Camere_Prenotazione", .campi = {NumeroPrenotazione}, .filtro = IsNull(DataArrivo)};
    EXPECT_EQ(Trovati(*tutte, In(NumeroPrenotazione, senzaArrivo) || DataPartenza == "20261207", "NumeroPrenotazione"),
              (Testi{"8", "9"}));
}

TEST_F(DatabaseSuScenario, OgniTabellaLettaUnaVoltaPerDatabase) {
    ScriviCamere();
    auto db = Apri("NumeriCamere.mdb");
    EXPECT_EQ(db->OpenRecordset("NumeriCamere")->RecordCount(), 6u);
    Scrivi("NumeriCamere.mdb", {"NumeriCamere", {{"NumeroCamera", TipoCampo::Testo}}, {{T("1")}}});
    EXPECT_EQ(db->OpenRecordset({.tabella = "NumeriCamere", .filtro = NumeroHotel == 1})->RecordCount(), 5u);
    EXPECT_EQ(Apri("NumeriCamere.mdb")->OpenRecordset("NumeriCamere")->RecordCount(), 1u);
}

TEST_F(DatabaseSuScenario, ErroriConNumero) {
    ScriviCamere();
    auto db = Apri("NumeriCamere.mdb");
    EXPECT_EQ(NumeroErroreDi([&] { Apri("Manca.mdb"); }), 3024);
    EXPECT_EQ(NumeroErroreDi([&] { db->OpenRecordset("Camere"); }), 3078);
    EXPECT_EQ(NumeroErroreDi([&] {
                  db->OpenRecordset({.tabella = "NumeriCamere",
                                     .filtro = In(TipoCamera, Selezione{.tabella = "TipiCamere",
                                                                        .campi = {Piano},
                                                                        .file = "TipiCamere.mdb"})});
              }),
              3265);

    auto rs = db->OpenRecordset("NumeriCamere");
    EXPECT_EQ(NumeroErroreDi([&] { rs->FindFirst(Piano == 1); }), 3265);
    EXPECT_EQ(NumeroErroreDi([&] { (*rs)["Piano"]; }), 3265);
    rs->Sort({Piano});
    EXPECT_EQ(NumeroErroreDi([&] { rs->OpenRecordset(); }), 3265);

    auto vuoto = db->OpenRecordset({.tabella = "NumeriCamere", .filtro = NumeroHotel == 9});
    EXPECT_TRUE(vuoto->IsEOF());
    vuoto->FindFirst(NumeroHotel == 9);
    EXPECT_TRUE(vuoto->NoMatch());
    EXPECT_EQ(NumeroErroreDi([&] { (*vuoto)["NumeroCamera"]; }), 3021);
    EXPECT_EQ(NumeroErroreDi([&] { vuoto->MoveFirst(); }), 3021);

    db->Close();
    EXPECT_EQ(NumeroErroreDi([&] { db->OpenRecordset("NumeriCamere"); }), 3420);
    EXPECT_EQ(Trovati(*rs, NumeroHotel == 2, "NumeroCamera"), Testi{"1"});  // record sets keep their records
}

// A Selezione is checked when it is opened: every field it names must be a
// field of its table (a misspelt one fails there, not at the first read), a
// subquery gives one field, a filter is given a value for each parameter.
TEST_F(DatabaseSuScenario, SelezioniControllateAllApertura) {
    ScriviCamere();
    auto db = Apri("NumeriCamere.mdb");
    const Campo hotel("NumeroHotel"), camera("NumeroCamera"), piano("Piano");
    const Selezione tipi{.tabella = "TipiCamere", .campi = {Campo("Sigla")}, .file = "TipiCamere.mdb"};
    Selezione tipiDueCampi = tipi;
    tipiDueCampi.campi.emplace_back("Tipologia");
    const struct {
        Selezione selezione;
        int errore;
        std::size_t record;
    } casi[] = {
        {{.tabella = "NumeriCamere", .campi = {camera}}, 0, 6},
        {{.tabella = "NumeriCamere", .campi = {camera, piano}}, 3265, 0},
        {{.tabella = "NumeriCamere", .campi = {camera}, .ricerche = {hotel == 1 && piano == 2}}, 3265, 0},
        {{.tabella = "NumeriCamere", .ordine = {piano}}, 3265, 0},
        {{.tabella = "NumeriCamere", .filtro = piano == 1}, 3265, 0},
        {{.tabella = "Camere"}, 3078, 0},
        {{.tabella = "NumeriCamere", .file = "Manca.mdb"}, 3024, 0},
        {{.tabella = "NumeriCamere", .filtro = In(Campo("TipoCamera"), tipi)}, 0, 5},
        {{.tabella = "NumeriCamere", .filtro = In(Campo("TipoCamera"), tipiDueCampi)}, 3306, 0},
        {{.tabella = "NumeriCamere", .filtro = hotel == Parametro{0}}, 3061, 0},
        {{.tabella = "NumeriCamere", .filtro = Criterio(hotel == Parametro{0}, {Valore::Intero(1)})}, 0, 5},
        {{.tabella = "NumeriCamere", .campi = {camera}, .facoltativi = {piano}}, 0, 6},
    };
    for (std::size_t i = 0; i < std::size(casi); ++i) {
        std::size_t record = 0;
        EXPECT_EQ(NumeroErroreDi([&] { record = db->OpenRecordset(casi[i].selezione)->RecordCount(); }),
                  casi[i].errore)
            << "caso " << i;
        EXPECT_EQ(record, casi[i].record) << "caso " << i;
    }
}

// An optional field is read where the table has it and left out without an
// error where it has not; the record set tells which.
TEST(Database, CampiFacoltativiLettiSeLaTabellaLiHa) {
    const std::string demo = (CartellaDatiTest() / "demo").string();
    const Campo piano("Piano"), manca("Ascensore");
    auto camere = Database::Apri("NumeriCamere.mdb", demo)
                      ->OpenRecordset({.tabella = "NumeriCamere",
                                       .campi = {NumeroCamera},
                                       .filtro = NumeroCamera == "304",
                                       .facoltativi = {piano, manca}});
    ASSERT_EQ(camere->RecordCount(), 1u);
    camere->MoveFirst();
    EXPECT_TRUE(camere->HaCampo(piano));
    EXPECT_EQ((*camere)[piano].Intero(), 3);
    EXPECT_FALSE(camere->HaCampo(manca));
    EXPECT_EQ(NumeroErroreDi([&] { (*camere)[manca]; }), NumeroErrore::CampoNonTrovato);
}

// A record set that names its fields reads those and the fields its query
// names, the subquery's included; the same records as one that reads all.
TEST(DatabaseAccess, RecordsetConISoliCampiNominati) {
    const std::string demo = (CartellaDatiTest() / "demo").string();
    auto ospiti = Database::Apri("Scheda_Cliente.mdb", demo);
    Selezione settimana{.tabella = "Scheda_Cliente", .filtro = DataArrivo <= "20261213", .ordine = {NumeroCamera}};
    const auto tutti = ospiti->OpenRecordset(settimana);
    settimana.campi = {Campo("nomecliente")};
    const auto alcuni = ospiti->OpenRecordset(settimana);
    EXPECT_EQ(Tutti(*alcuni, "NomeCliente"), Tutti(*tutti, "NomeCliente"));
    EXPECT_EQ(Tutti(*alcuni, "NumeroCamera"), Tutti(*tutti, "NumeroCamera"));
    // The file is read again for another database: without the fields not named.
    const auto solo = Database::Apri("Scheda_Cliente.mdb", demo)
                          ->OpenRecordset({.tabella = "Scheda_Cliente", .campi = {NumeroCamera}});
    solo->MoveFirst();
    EXPECT_EQ(NumeroErroreDi([&] { (*solo)["Note"]; }), NumeroErrore::CampoNonTrovato);

    auto camere = Database::Apri("NumeriCamere.mdb", demo);
    Selezione stanze{.tabella = "NumeriCamere",
                     .filtro = In(TipoCamera, Selezione{.tabella = "TipiCamere",
                                                        .campi = {Campo("Sigla")},
                                                        .filtro = Campo("Tipologia") == "C",
                                                        .file = "TipiCamere.mdb"})};
    const auto tuttiICampi = Tutti(*camere->OpenRecordset(stanze), "NumeroCamera");
    stanze.campi = {NumeroCamera};
    EXPECT_EQ(Tutti(*camere->OpenRecordset(stanze), "NumeroCamera"), tuttiICampi);
}

TEST(Tabella, CampiPerNomeSenzaRiguardoAlleMaiuscole) {
    const Tabella t{"Citta", {{"Citt\xE0", TipoCampo::Testo}, {"Numero", TipoCampo::Intero}}, {}};
    EXPECT_EQ(t.IndiceColonna("CITT\xC0"), 0);
    EXPECT_EQ(t.IndiceColonna("numero"), 1);
    EXPECT_EQ(t.IndiceColonna("Numer"), -1);
    EXPECT_EQ(t.IndiceColonna("NumeroX"), -1);
    EXPECT_EQ(t.IndiceColonna(""), -1);
}

// Whole values are rounded half to even; a value beyond the 64-bit range (a
// damaged amount) stops at the nearer end instead of wrapping to the other sign.
TEST(Valore, ValoriInteri) {
    EXPECT_EQ(Valore::Reale(2.5).Intero(), 2);
    EXPECT_EQ(Valore::Valuta(35000).Intero(), 4);
    EXPECT_EQ(Valore::Testo(" -0.5").Intero(), 0);
    EXPECT_EQ(Valore::Reale(1.23456).Decimillesimi(), 12346);
    EXPECT_EQ(Valore::Reale(1e30).Intero(), INT64_MAX);
    EXPECT_EQ(Valore::Reale(-1e30).Intero(), INT64_MIN);
    EXPECT_EQ(Valore::Testo("99999999999999999999").Intero(), INT64_MAX);
    EXPECT_EQ(Valore::Reale(1e30).Decimillesimi(), INT64_MAX);
    EXPECT_EQ(Valore::Reale(std::nan("")).Intero(), 0);
}

// Under an Italian desktop the GUI program runs with a decimal comma: numbers
// in criteria and in texts must read and show with the point all the same.
TEST(DatabaseLocale, NumeriConIlPuntoAncheConLaVirgolaDecimale) {
    CartellaTemporanea cartella;
    Tabella prezzi;
    prezzi.nome = "Prezzi";
    prezzi.colonne = {{"Camera", TipoCampo::Testo}, {"Prezzo", TipoCampo::Valuta}, {"Sconto", TipoCampo::Reale}};
    prezzi.righe = {{Valore::Testo("101"), Valore::Valuta(955000), Valore::Reale(2.5)},
                    {Valore::Testo("102"), Valore::Valuta(950000), Valore::Reale(12.25)}};
    ScriviTabellaSqlite((cartella.Percorso() / "Prezzi.mdb").string(), prezzi);

    LocaleVirgolaDecimale italiano;
    if (!italiano.Attiva()) GTEST_SKIP() << "nessuna localizzazione con la virgola decimale installata";
    auto db = Database::Apri("Prezzi.mdb", cartella.Percorso().string());
    auto rs = db->OpenRecordset({.tabella = "Prezzi", .filtro = Campo("Sconto") > Valore::Reale(2.4)});
    EXPECT_EQ(rs->RecordCount(), 2u);
    rs->FindFirst(Campo("Prezzo") == Valore::Reale(95.5));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ((*rs)["Camera"].Testo(), "101");
    EXPECT_EQ((*rs)["Sconto"].Testo(), "2.5");
    EXPECT_EQ((*rs)["Prezzo"].Testo(), "95.5000");
    EXPECT_EQ(ValoreNumerico("12.25 euro"), 12.25);
}

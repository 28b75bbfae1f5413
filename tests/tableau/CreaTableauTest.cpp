#include <gtest/gtest.h>

#include <cstdint>

#include "common/Errore.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"
#include "tableau/RigaReport.h"
#include "tableau/Scenario.h"

namespace {

const std::string Vuota(17, ' ');
const std::string Barra = "\xB3";

// Line A and line B of the n-th room listed.
const std::string& LineaA(const std::vector<std::string>& r, int n) { return r.at(2 + 3 * n); }
const std::string& LineaB(const std::vector<std::string>& r, int n) { return r.at(3 + 3 * n); }

class CreaTableauTest : public ::testing::Test {
protected:
    CartellaTemporanea cartella;
    Scenario s{cartella.Percorso()};
};

}  // namespace

TEST_F(CreaTableauTest, PartitoDiDueDueNottiCellaPerCella) {
    s.Camera("102");
    s.Agenzia(5, "Sole e Mare Viaggi");
    s.Aggiungi(Scenario::Ospite{.camera = "102", .arrivo = "20261208", .partenza = "20261210", .nome = "Bertolucci",
                                .progressivo = 70500, .pagamento = Valore::Testo("c"), .agenzia = 5});
    s.Aggiungi(Scenario::Ospite{.camera = "102", .arrivo = "20261208", .partenza = "20261210", .componente = 2,
                                .nome = "Bertolucci Anna", .progressivo = 70501, .pagamento = Valore()});
    s.Addebito(70500, "20261208", "20261210", Euro("85.00"));
    const auto r = s.Tableau();
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(LineaA(r, 0).substr(0, 5), "102  ");
    EXPECT_EQ(LineaB(r, 0).substr(0, 5), "DBL  ");
    const std::vector<std::string> attesiA = {Vuota, "Bertoluc   08- 10", "Bertoluc F 08- 10", Vuota,
                                              Vuota, Vuota,               Vuota};
    const std::vector<std::string> attesiB = {Vuota, "Sole e M C  2" + Barra + " 85", "Sole e M C  2" + Barra + " 85",
                                              Vuota, Vuota, Vuota, Vuota};
    for (int k = 0; k < 7; ++k) {
        EXPECT_EQ(Cella(LineaA(r, 0), k), attesiA[k]) << "day " << k;
        EXPECT_EQ(Cella(LineaB(r, 0), k), attesiB[k]) << "day " << k;
    }
    EXPECT_EQ(r.back(), RigaSeparatore());
}

TEST_F(CreaTableauTest, GrigliaIntestazioneECameraVuota) {
    s.Camera("101", "SGL");
    const auto r = s.Tableau();
    ASSERT_EQ(r.size(), 5u);
    std::string intestazione = RigaVuota();
    const char* attese[] = {" Luned\xEC 07/12", " Marted\xEC 08/12", " Mercoled\xEC 09/12", " Gioved\xEC 10/12",
                            " Venerd\xEC 11/12", " Sabato 12/12", " Domenica 13/12"};
    for (int k = 0; k < 7; ++k) ScriviCella(intestazione, k, attese[k]);
    EXPECT_EQ(r[0], intestazione);
    EXPECT_EQ(r[1], RigaSeparatore());
    std::string a = RigaVuota();
    std::string b = RigaVuota();
    ScriviColonnaCamera(a, "101");
    ScriviColonnaCamera(b, "SGL");
    EXPECT_EQ(r[2], a);
    EXPECT_EQ(r[3], b);
    // Every line is 132 characters followed by CR LF, the last one too.
    const std::string file = LeggiFile(cartella.Percorso() / "FD1");
    EXPECT_EQ(file.size(), 5u * 134u);
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
}

TEST_F(CreaTableauTest, SettimanaACavalloDellAnno) {
    s.Camera("110");
    s.Aggiungi(Scenario::Ospite{.camera = "110", .arrivo = "20261231", .partenza = "20270103", .nome = "Barbieri"});
    const auto r = s.Tableau("26/12/2026");
    EXPECT_EQ(Cella(r[0], 0), " Sabato 26/12    ");
    EXPECT_EQ(Cella(r[0], 6), " Venerd\xEC 01/01   ");
    EXPECT_EQ(Cella(LineaA(r, 0), 4), Vuota);
    EXPECT_EQ(Cella(LineaA(r, 0), 5), "Barbieri   31- 03");
    EXPECT_EQ(Cella(LineaA(r, 0), 6), "Barbieri F 31- 03");
}

TEST_F(CreaTableauTest, SoggiorniNellaSettimana) {
    for (const char* c : {"201", "202", "203", "204"}) s.Camera(c);
    // Day 2 to day 5: shown on days 2..4, no marker on the arrival day.
    s.Aggiungi(Scenario::Ospite{.camera = "201", .arrivo = "20261209", .partenza = "20261212", .nome = "Gallo"});
    // Began before the week.
    s.Aggiungi(Scenario::Ospite{.camera = "202", .arrivo = "20261130", .partenza = "20261208", .nome = "Bianchi"});
    // Departed: not shown.
    s.Aggiungi(Scenario::Ospite{.camera = "203", .arrivo = "20261206", .partenza = "20261209", .nome = "Muller",
                                .partito = "S"});
    // Three persons, none of them head of the party.
    for (int c = 2; c <= 4; ++c)
        s.Aggiungi(Scenario::Ospite{.camera = "204", .arrivo = "20261207", .partenza = "20261208", .componente = c});
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaA(r, 0), 1), Vuota);
    EXPECT_EQ(Cella(LineaA(r, 0), 2), "Gallo      09- 12");
    EXPECT_EQ(Cella(LineaA(r, 0), 3), "Gallo    F 09- 12");
    EXPECT_EQ(Cella(LineaA(r, 0), 4), "Gallo    F 09- 12");
    EXPECT_EQ(Cella(LineaA(r, 0), 5), Vuota);
    EXPECT_EQ(Cella(LineaA(r, 1), 0), "Bianchi  F 30- 08");
    EXPECT_EQ(Cella(LineaA(r, 1), 1), Vuota);
    EXPECT_EQ(LineaA(r, 2).substr(5), RigaVuota().substr(5));
    EXPECT_EQ(LineaB(r, 2).substr(5), RigaVuota().substr(5));
    EXPECT_EQ(Cella(LineaA(r, 3), 0), Vuota);
    EXPECT_EQ(Cella(LineaB(r, 3), 0), "            3" + Barra + "  0");
}

TEST_F(CreaTableauTest, CapiDiPartitoEAddebiti) {
    s.Camera("1");
    s.Camera("2");
    s.Agenzia(8, "CTS");
    s.Agenzia(8, "Altro hotel", 2);
    // Two heads share room 1: the last found names the cell, their charges add up.
    s.Aggiungi(Scenario::Ospite{.camera = "1", .arrivo = "20261207", .partenza = "20261210", .nome = "Gallo Marco",
                                .progressivo = 100});
    s.Aggiungi(Scenario::Ospite{.camera = "1", .arrivo = "20261208", .partenza = "20261211", .nome = "Pellegrini",
                                .progressivo = 200, .agenzia = 8});
    s.Addebito(100, "20261207", "20261210", Euro("55.00"));
    s.Addebito(100, "20261207", "20261208", Euro("0.50"));  // 55.50 -> 56, not 55 + 0
    s.Addebito(200, "20261208", "20261211", Euro("60.00"));
    // Room 2: a running sum whole after each addition (49.50 -> 50, + 11.50 -> 62);
    // account 2 and another hotel's charge on the same account are not read.
    s.Aggiungi(Scenario::Ospite{.camera = "2", .arrivo = "20261211", .partenza = "20261213", .nome = "Conti",
                                .progressivo = 300, .pagamento = Valore::Testo("  contanti"), .agenzia = 8});
    s.Addebito(300, "20261211", "20261213", Euro("49.50"));
    s.Addebito(300, "20261212", "20261213", Euro("11.50"));
    s.Addebito(300, "20261212", "20261213", Euro("12.00"), 2);
    s.Addebito(300, "20261212", "20261213", Euro("70.00"), 1, 2);
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaA(r, 0), 0), "Gallo Ma   07- 10");
    EXPECT_EQ(Cella(LineaB(r, 0), 0), "         C  1" + Barra + " 56");
    EXPECT_EQ(Cella(LineaA(r, 0), 1), "Pellegri   08- 11");
    EXPECT_EQ(Cella(LineaB(r, 0), 1), "CTS      C  2" + Barra + "115");
    EXPECT_EQ(Cella(LineaB(r, 1), 4), "CTS      C  1" + Barra + " 50");
    EXPECT_EQ(Cella(LineaB(r, 1), 5), "CTS      C  1" + Barra + " 62");
}

TEST_F(CreaTableauTest, PrenotazioniSopraGliOspiti) {
    for (const char* c : {"201", "202", "203", "210"}) s.Camera(c);
    s.Aggiungi(Scenario::Ospite{.camera = "201", .arrivo = "20261130", .partenza = "20261220", .nome = "Bianchi",
                                .progressivo = 400});
    s.Addebito(400, "20261130", "20261220", Euro("42.50"));
    // A booking over the guest, its header with Pagamento Null; the price halves go to even.
    s.Aggiungi(Scenario::Prenotata{.camera = "201", .numero = 261002, .arrivo = "20261212", .partenza = "20261215",
                                   .prezzo = Euro("95.50")});
    s.Aggiungi(Scenario::Testata{.numero = 261002, .nome = "Neri Alessandro", .pagamento = Valore(),
                                 .agenzia = "Viaggi Rossi"});
    // Cancelled, pending and zero-person bookings take no place.
    s.Aggiungi(Scenario::Prenotata{.camera = "202", .numero = 5, .arrivo = "20261207", .partenza = "20261209",
                                   .tipo = "A"});
    s.Aggiungi(Scenario::Prenotata{.camera = "202", .numero = 6, .arrivo = "20261209", .partenza = "20261211",
                                   .tipo = "P"});
    s.Aggiungi(Scenario::Prenotata{.camera = "202", .numero = 7, .arrivo = "20261211", .partenza = "20261214",
                                   .persone = 0});
    for (int n : {5, 6, 7}) s.Aggiungi(Scenario::Testata{.numero = n});
    // Two bookings of room 203 on the same day: the last one stands.
    s.Aggiungi(Scenario::Prenotata{.camera = "203", .numero = 8, .arrivo = "20261207", .partenza = "20261209"});
    s.Aggiungi(Scenario::Prenotata{.camera = "203", .numero = 9, .arrivo = "20261208", .partenza = "20261210",
                                   .prezzo = Euro("94.50"), .persone = 3, .tipo = "D"});
    s.Aggiungi(Scenario::Testata{.numero = 8, .nome = "Primo"});
    s.Aggiungi(Scenario::Testata{.numero = 9, .nome = "Secondo", .tipo = "D", .agenzia = "  CTS"});
    // No header: line A blank over the guest; line B keeps the guest with the booking's price.
    s.Aggiungi(Scenario::Ospite{.camera = "210", .arrivo = "20261207", .partenza = "20261214", .nome = "Ricci",
                                .progressivo = 500});
    s.Addebito(500, "20261207", "20261214", Euro("110.00"));
    s.Aggiungi(Scenario::Prenotata{.camera = "210", .numero = 261008, .arrivo = "20261211", .partenza = "20261213",
                                   .prezzo = Euro("88.50")});
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaA(r, 0), 4), "Bianchi  F 30- 20");
    EXPECT_EQ(Cella(LineaA(r, 0), 5), "Neri Ale   12- 15");
    EXPECT_EQ(Cella(LineaA(r, 0), 6), "Neri Ale F 12- 15");
    EXPECT_EQ(Cella(LineaB(r, 0), 4), "         C  1" + Barra + " 42");
    EXPECT_EQ(Cella(LineaB(r, 0), 5), "Viaggi R    2" + Barra + " 96");
    EXPECT_EQ(LineaA(r, 1).substr(5), RigaVuota().substr(5));
    EXPECT_EQ(LineaB(r, 1).substr(5), RigaVuota().substr(5));
    EXPECT_EQ(Cella(LineaA(r, 2), 0), "Primo      07- 09");
    EXPECT_EQ(Cella(LineaA(r, 2), 1), "Secondo    08- 10");
    EXPECT_EQ(Cella(LineaB(r, 2), 1), "CTS      B  3" + Barra + " 94");
    EXPECT_EQ(Cella(LineaA(r, 3), 3), "Ricci    F 07- 14");
    EXPECT_EQ(Cella(LineaA(r, 3), 4), Vuota);
    EXPECT_EQ(Cella(LineaB(r, 3), 4), "         C  1" + Barra + " 88");
    EXPECT_EQ(Cella(LineaB(r, 3), 6), "         C  1" + Barra + "110");
}

TEST_F(CreaTableauTest, PrenotazioneConDueRecordNellaStessaCamera) {
    // The room of a booking is looked up once: only the first record found is tested.
    s.Camera("101");
    s.Aggiungi(Scenario::Prenotata{.camera = "101", .numero = 77, .arrivo = "20261207", .partenza = "20261209"});
    s.Aggiungi(Scenario::Prenotata{.camera = "101", .numero = 77, .arrivo = "20261211", .partenza = "20261213"});
    s.Aggiungi(Scenario::Testata{.numero = 77, .nome = "Lefevre", .agenzia = "Sole"});
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaA(r, 0), 0), "Lefevre    07- 09");
    EXPECT_EQ(Cella(LineaB(r, 0), 0), "Sole     B  2" + Barra + " 80");
    EXPECT_EQ(Cella(LineaA(r, 0), 4), "Lefevre    11- 13");
    EXPECT_EQ(Cella(LineaB(r, 0), 4), Vuota);
}

TEST_F(CreaTableauTest, CamereEIntervallo) {
    // Stored unsorted; only hotel 1, tableau 1, room types "C", range as text.
    for (const char* c : {"2", "10", "3", "1"}) s.Camera(c);
    s.Camera("01", "BOX");
    s.Camera("11", "DBL", 2);
    s.Camera("12", "DBL", 1, 2);
    const auto r = s.Tableau("07/12/2026", "1", "2");
    ASSERT_EQ(r.size(), 2u + 3u * 3u);
    EXPECT_EQ(LineaA(r, 0).substr(0, 5), "1    ");
    EXPECT_EQ(LineaA(r, 1).substr(0, 5), "10   ");
    EXPECT_EQ(LineaA(r, 2).substr(0, 5), "2    ");
    // No room in the range: header and separator only.
    EXPECT_EQ(s.Tableau("07/12/2026", "5", "6").size(), 2u);
}

TEST_F(CreaTableauTest, ConfrontiDeiCriteriSenzaMaiuscole) {
    // The rooms are ordered without regard to case, the range by character code.
    s.Camera("a2");
    s.Camera("A1");
    s.Camera("12'B");
    s.Aggiungi(Scenario::Ospite{.camera = "a1", .arrivo = "20261207", .partenza = "20261208", .nome = "Leone",
                                .partito = "n"});
    s.Aggiungi(Scenario::Prenotata{.camera = "A2", .numero = 1, .arrivo = "20261207", .partenza = "20261208",
                                   .tipo = "o"});
    s.Aggiungi(Scenario::Testata{.numero = 1, .nome = "Costa", .tipo = "O"});
    s.Aggiungi(Scenario::Ospite{.camera = "12'B", .arrivo = "20261207", .partenza = "20261208", .nome = "D'Amico"});
    s.Aggiungi(Scenario::Prenotata{.camera = "12'B", .numero = 2, .arrivo = "20261208", .partenza = "20261209"});
    s.Aggiungi(Scenario::Testata{.numero = 2, .nome = "Dell'Acqua"});
    const auto r = s.Tableau("07/12/2026", "1", "a9");
    ASSERT_EQ(r.size(), 2u + 3u * 3u);
    EXPECT_EQ(LineaA(r, 0).substr(0, 5), "12'B ");
    EXPECT_EQ(Cella(LineaA(r, 0), 0), "D'Amico    07- 08");
    EXPECT_EQ(Cella(LineaA(r, 0), 1), "Dell'Acq   08- 09");
    EXPECT_EQ(LineaA(r, 1).substr(0, 5), "A1   ");
    EXPECT_EQ(Cella(LineaA(r, 1), 0), "Leone      07- 08");
    EXPECT_EQ(LineaA(r, 2).substr(0, 5), "a2   ");
    EXPECT_EQ(Cella(LineaA(r, 2), 0), "Costa      07- 08");
    EXPECT_EQ(s.Tableau("07/12/2026", "A", "Z").size(), 2u + 3u);  // "a2" lies after "Z"
}

TEST_F(CreaTableauTest, DateDallUltimoOspiteDellHotel) {
    // Another hotel's guest in a room of the same number matches the search but
    // neither counts nor gives the dates.
    s.Camera("101");
    s.Aggiungi(Scenario::Ospite{.camera = "101", .arrivo = "20261205", .partenza = "20261215", .nome = "Angelo"});
    s.Aggiungi(Scenario::Ospite{.camera = "101", .arrivo = "20261206", .partenza = "20261210", .nome = "Villa",
                                .hotel = 2});
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaA(r, 0), 0), "Angelo   F 05- 15");
    EXPECT_EQ(Cella(LineaB(r, 0), 0), "         C  1" + Barra + "  0");
}

TEST_F(CreaTableauTest, ValoriCheNonStannoNellaColonna) {
    for (const char* c : {"1", "2", "3"}) s.Camera(c);
    s.Aggiungi(Scenario::Ospite{.camera = "1", .arrivo = "20261207", .partenza = "20261211", .progressivo = 10});
    s.Addebito(10, "20261207", "20261208", Euro("999.00"));
    s.Addebito(10, "20261208", "20261209", Euro("1000.00"));
    s.Addebito(10, "20261209", "20261210", Euro("-99.00"));
    s.Addebito(10, "20261210", "20261211", Euro("-100.00"));
    // Sums far beyond 16 bits, and a hundred persons.
    s.Aggiungi(Scenario::Ospite{.camera = "2", .arrivo = "20261207", .partenza = "20261208", .progressivo = 20});
    for (int i = 0; i < 99; ++i)
        s.Aggiungi(Scenario::Ospite{.camera = "2", .arrivo = "20261207", .partenza = "20261208", .componente = 2});
    for (int i = 0; i < 3; ++i) s.Addebito(20, "20261207", "20261208", Euro("30000.00"));
    s.Aggiungi(Scenario::Prenotata{.camera = "3", .numero = 9, .arrivo = "20261207", .partenza = "20261208",
                                   .persone = 100});
    s.Aggiungi(Scenario::Testata{.numero = 9});
    // Amounts at the ends of the currency range, whose sums leave it.
    s.Camera("4");
    s.Aggiungi(Scenario::Ospite{.camera = "4", .arrivo = "20261207", .partenza = "20261209", .progressivo = 40});
    for (int i = 0; i < 2; ++i) {
        s.Addebito(40, "20261207", "20261208", Valore::Valuta(INT64_MAX));
        s.Addebito(40, "20261208", "20261209", Valore::Valuta(INT64_MIN));
    }
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaB(r, 0), 0), "         C  1" + Barra + "999");
    EXPECT_EQ(Cella(LineaB(r, 0), 1), "         C  1" + Barra + "***");
    EXPECT_EQ(Cella(LineaB(r, 0), 2), "         C  1" + Barra + "-99");
    EXPECT_EQ(Cella(LineaB(r, 0), 3), "         C  1" + Barra + "***");
    EXPECT_EQ(Cella(LineaB(r, 1), 0), "         C **" + Barra + "***");
    EXPECT_EQ(Cella(LineaB(r, 2), 0), "         B **" + Barra + " 80");
    EXPECT_EQ(Cella(LineaB(r, 3), 0), "         C  1" + Barra + "***");
    EXPECT_EQ(Cella(LineaB(r, 3), 1), "         C  1" + Barra + "***");
    for (const auto& riga : r) EXPECT_EQ(riga.size(), 132u);
}

TEST_F(CreaTableauTest, CampiNulliENomiConSpazi) {
    s.Camera("1");
    s.Camera("2");
    s.Agenzia(3, "   Agenzia Viaggi Il Girasole");
    s.Aggiungi(Scenario::Ospite{.camera = "1", .arrivo = "20261207", .partenza = "20261209",
                                .nome = "  Fontana Elisa  ", .pagamento = Valore::Testo("'b"), .agenzia = 3});
    // A head whose name, payment and agency are Null: counted, but no name to show.
    auto& ospiti = s.TabellaDi("Scheda_Cliente");
    s.Aggiungi(Scenario::Ospite{.camera = "1", .arrivo = "20261208", .partenza = "20261209"});
    for (const char* campo : {"NomeCliente", "TipoPagamento", "CodiceAgenzia", "NumeroProgressivo"})
        ospiti.righe.back()[ospiti.IndiceColonna(campo)] = Valore();
    // A booking with a Null price and a Null agency in its header.
    s.Aggiungi(Scenario::Prenotata{.camera = "2", .numero = 4, .arrivo = "20261207", .partenza = "20261209",
                                   .prezzo = Valore()});
    s.Aggiungi(Scenario::Testata{.numero = 4, .nome = "Greco"});
    auto& testate = s.TabellaDi("Scheda_Prenotazione");
    testate.righe.back()[testate.IndiceColonna("Agenzia")] = Valore();
    const auto r = s.Tableau();
    EXPECT_EQ(Cella(LineaA(r, 0), 0), "Fontana    07- 09");
    EXPECT_EQ(Cella(LineaB(r, 0), 0), "Agenzia     1" + Barra + "  0");
    // The last head found gives the name: none here.
    EXPECT_EQ(Cella(LineaA(r, 0), 1), Vuota);
    EXPECT_EQ(Cella(LineaB(r, 0), 1), "Agenzia     2" + Barra + "  0");
    EXPECT_EQ(Cella(LineaA(r, 1), 0), "Greco      07- 09");
    EXPECT_EQ(Cella(LineaB(r, 1), 0), "         B  2" + Barra + "  0");
}

TEST_F(CreaTableauTest, CameraConSpaziNelNumero) {
    // Guests and bookings are looked up by the room number without its blanks;
    // the room of a booking for line B by the number as stored, which here
    // finds nothing: line B keeps the guest's cell, with the booking's price.
    s.Camera(" 105 ");
    s.Aggiungi(Scenario::Ospite{.camera = "105", .arrivo = "20261207", .partenza = "20261209", .nome = "Rinaldi",
                                .progressivo = 600});
    s.Addebito(600, "20261207", "20261209", Euro("70.00"));
    s.Aggiungi(Scenario::Prenotata{.camera = "105", .numero = 31, .arrivo = "20261207", .partenza = "20261208"});
    s.Aggiungi(Scenario::Testata{.numero = 31, .nome = "Marino", .agenzia = "Sole"});
    const auto r = s.Tableau("07/12/2026", " ", "999");
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(LineaA(r, 0).substr(0, 5), "105  ");
    EXPECT_EQ(Cella(LineaA(r, 0), 0), "Marino     07- 08");
    EXPECT_EQ(Cella(LineaA(r, 0), 1), "Rinaldi  F 07- 09");
    EXPECT_EQ(Cella(LineaB(r, 0), 0), "         C  1" + Barra + " 80");
    EXPECT_EQ(Cella(LineaB(r, 0), 1), "         C  1" + Barra + " 70");
}

// A start date the builder refuses is named in the message as typed, in UTF-8
// like every message.
TEST_F(CreaTableauTest, DataDiInizioRifiutataNelMessaggio) {
    s.Camera("1");
    s.Scrivi();
    UltimaCostruzione ultima;
    try {
        CreaTableau(ultima, cartella.Dati("1"), 1, 1, "1", "9", "31/04/202\xE0");
        ADD_FAILURE() << "data accettata";
    } catch (const Errore& e) {
        EXPECT_EQ(e.Numero(), 5);
        EXPECT_EQ(e.Descrizione(), "Data di inizio non valida: '31/04/202\xC3\xA0'.");
    }
}

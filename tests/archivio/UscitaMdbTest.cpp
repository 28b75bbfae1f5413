#include <gtest/gtest.h>

#include <optional>

#include "archivio/UscitaMdb.h"
#include "support/Csv.h"

namespace {

// A table with a column of each type and two records, as the reader writes it.
const std::string kTabella =
    "brovato5-mdb 1\n"
    "tabella 7:Agenzie\n"
    "colonne 7\n"
    "I 6:Codice\nM 6:Prezzo\nR 11:Commissione\nD 4:Data\nB 6:Attiva\nT 15:Ragione Sociale\nX 4:Logo\n"
    "righe 2\n"
    "R\nI2:-5\nM7:-0.0100\nR4:12.5\nD19:2026-12-07 00:00:00\nB1:1\nT28:Gar\xC3\xA7on Tours S.A.\nDue righe\nX2:\x89P\n"
    "R\nN\nM20:922337203685477.5807\nN\nN\nB1:0\nT0:\nN\n"
    "fine 2\n";

Tabella Decodifica(const std::string& uscita) { return DecodificaTabella(uscita); }

std::string Sostituisci(std::string testo, const std::string& da, const std::string& a) {
    const auto dove = testo.find(da);
    EXPECT_NE(dove, std::string::npos) << da;
    return testo.replace(dove, da.size(), a);
}

}  // namespace

TEST(UscitaMdb, DecodificaOgniTipo) {
    const auto tabella = Decodifica(kTabella);
    EXPECT_EQ(tabella.nome, "Agenzie");
    const std::vector<Colonna> colonne = {
        {"Codice", TipoCampo::Intero}, {"Prezzo", TipoCampo::Valuta}, {"Commissione", TipoCampo::Reale},
        {"Data", TipoCampo::Data},     {"Attiva", TipoCampo::SiNo},   {"Ragione Sociale", TipoCampo::Testo},
        {"Logo", TipoCampo::Binario}};
    EXPECT_EQ(tabella.colonne, colonne);
    const std::vector<Record> righe = {
        {Valore::Intero(-5), Valore::Valuta(-100), Valore::Reale(12.5), Valore::Data("2026-12-07 00:00:00"),
         Valore::SiNo(true), Valore::Testo("Gar\xE7on Tours S.A.\nDue righe"), Valore::Binario("\x89P")},
        {Valore(), Valore::Valuta(INT64_MAX), Valore(), Valore(), Valore::SiNo(false), Valore::Testo(""), Valore()}};
    EXPECT_EQ(tabella.righe, righe);
}

TEST(UscitaMdb, UscitaTroncataNonValida) {
    for (std::size_t lunghezza = 0; lunghezza < kTabella.size(); ++lunghezza)
        EXPECT_THROW(Decodifica(kTabella.substr(0, lunghezza)), UscitaMdbNonValida) << lunghezza;
}

TEST(UscitaMdb, RecordMancantiOValoriMalformatiNonValidi) {
    const std::pair<const char*, const char*> guasti[] = {
        {"righe 2", "righe 3"},           // rows dropped by the reader
        {"fine 2", "fine 1"},
        {"I2:-5", "T2:-5"},               // value type other than its column's
        {"R4:12.5", "R4:12,5"},           // decimal comma
        {"R4:12.5", "R4:12.x"},
        {"M7:-0.0100", "M8:-0.01000"},    // more than four decimals
        {"M7:-0.0100", "M5:-.010"},
        {"M20:922337203685477.5807", "M20:922337203685477.5808"},
        {"B1:1", "B1:2"},
        {"B1:0", "N"},                    // Yes/No is never Null
        {"X 4:Logo", "Q 4:Logo"},         // unknown type
        {"X2:\x89P\n", "X2:\x89P"},        // a binary value without its line end
        {"T0:", "T1:"},                   // length past the value
        {"fine 2\n", "fine 2\nx"},
    };
    for (const auto& [da, a] : guasti)
        EXPECT_THROW(Decodifica(Sostituisci(kTabella, da, a)), UscitaMdbNonValida) << a;
}

TEST(UscitaMdb, ImportoMinimo) {
    const auto tabella = Decodifica(Sostituisci(kTabella, "M20:922337203685477.5807", "M21:-922337203685477.5808"));
    EXPECT_EQ(tabella.righe[1][1], Valore::Valuta(INT64_MIN));
}

TEST(UscitaMdb, ElencoTabelle) {
    const std::string elenco = "brovato5-mdb 1\ntabelle 2\n9:SetStampa\n7:Citt\xC3\xA0\n\nfine\n";
    EXPECT_EQ(DecodificaElencoTabelle(elenco), (std::vector<std::string>{"SetStampa", "Citt\xE0\n"}));
    for (std::size_t lunghezza = 0; lunghezza < elenco.size(); ++lunghezza)
        EXPECT_THROW(DecodificaElencoTabelle(elenco.substr(0, lunghezza)), UscitaMdbNonValida) << lunghezza;
}

// A table of more values than fit a huge page lies in one block of memory:
// its copies, the table moved elsewhere and tables assigned over keep every
// value after the table decoded first is gone.
TEST(UscitaMdb, TabellaGrandeSopravviveAlBloccoDiOrigine) {
    constexpr int kRighe = 40000;
    const auto testoDi = [](int i) { return i % 2 ? "breve" : "un testo di ogni riga, troppo lungo per il valore"; };
    std::string uscita = "brovato5-mdb 1\ntabella 1:G\ncolonne 3\nI 1:N\nT 1:T\nD 1:D\nrighe 40000\n";
    for (int i = 0; i < kRighe; ++i) {
        const std::string testo = testoDi(i);
        uscita += "R\nI" + std::to_string(std::to_string(i).size()) + ":" + std::to_string(i) + "\nT" +
                  std::to_string(testo.size()) + ":" + testo + "\nD19:2026-07-06 00:00:00\n";
    }
    uscita += "fine 40000\n";
    std::optional<Tabella> decodificata = Decodifica(uscita);
    const Tabella copia = *decodificata;
    const Tabella spostata = std::move(*decodificata);
    decodificata.reset();
    // Assigned over a table in a block of its own: that block goes after its records.
    Tabella assegnata = Decodifica(uscita);
    assegnata = Decodifica(uscita);
    assegnata = copia;
    Tabella riassegnata = Decodifica(uscita);
    riassegnata.righe = Decodifica(uscita).righe;
    for (const Tabella* tabella : std::vector<const Tabella*>{&copia, &spostata, &assegnata, &riassegnata}) {
        ASSERT_EQ(tabella->righe.size(), static_cast<std::size_t>(kRighe));
        for (int i = 0; i < kRighe; i += 997) {
            const Record& record = tabella->righe[static_cast<std::size_t>(i)];
            EXPECT_EQ(record[0], Valore::Intero(i));
            EXPECT_EQ(record[1], Valore::Testo(testoDi(i)));
            EXPECT_EQ(record[2], Valore::Data("2026-07-06 00:00:00"));
        }
    }
}

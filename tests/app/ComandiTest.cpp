#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "app/DatiDemo.h"
#include "common/Codifica.h"
#include "support/Csv.h"
#include "support/PagineJet4.h"
#include "support/StampanteRegistrata.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

struct Esito {
    int stato;
    std::string out, err;
};

// Runs a command as the program does, in the current folder as the workstation of PCLocal, printing
// on a recording printer.
Esito Esegui(const std::vector<std::string>& argomenti) {
    std::ostringstream out, err;
    const int stato = EseguiComando(argomenti, OpzioniAvvio{}, out, err,
                                    [] { return std::make_unique<StampanteRegistrata>(std::vector<std::string>{}); });
    return {stato, out.str(), err.str()};
}

// The week of hotel 1's tableau 1 for `comando`, then `altri`.
std::vector<std::string> Tableau(const std::string& dalla, const std::string& alla, const std::string& data,
                                 std::vector<std::string> altri = {}, const char* comando = "tableau") {
    altri.insert(altri.begin(), {comando, "--hotel", "1", "--tableau", "1", "--dalla", dalla, "--alla", alla, "--data", data});
    return altri;
}

// A copy of the demo data folder as the current folder, as workstation `postazione`.
struct CartellaDemo {
    explicit CartellaDemo(const char* postazione) : postazione_("PCLocal", postazione) {
        cartella.CopiaDa(CartellaDatiTest() / "demo");
    }
    CartellaTemporanea cartella{true};
    VariabileAmbiente postazione_;
};

const std::string SettimanaDemo = "tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026";

// Runs the program itself; its exit status and what it wrote on stderr.
std::pair<int, std::string> Programma(const std::string& argomenti) {
    return EseguiConErrori(std::string(BROVATO5_ESEGUIBILE) + " " + argomenti);
}

// A table as `leggi` writes it: names, then values with texts quoted and Null empty.
std::string CsvDi(const Tabella& tabella) {
    std::string csv;
    for (const auto& colonna : tabella.colonne) csv += colonna.nome + ",";
    csv.back() = '\n';
    for (const auto& record : tabella.righe) {
        for (const auto& valore : record) {
            std::string testo = valore.Testo();
            if (valore.IsTesto() && valore.Tipo() == TipoCampo::Testo) {
                for (std::size_t p = 0; (p = testo.find('"', p)) != std::string::npos; p += 2) testo.insert(p, "\"");
                testo = "\"" + testo + "\"";
            }
            csv += testo + ",";
        }
        csv.back() = '\n';
    }
    return Cp1252ToUtf8(csv);
}

}  // namespace

TEST(Comandi, LeggiScriveLaTabellaComeLaMostraAccess) {
    for (const auto& sorgente : SorgentiCsvDemo("edited")) {
        const auto file = CartellaDatiTest() / "edited" / (sorgente.database + ".mdb");
        const auto letta = Esegui({"leggi", file.string(), sorgente.tabella});
        EXPECT_EQ(letta.stato, 0) << letta.err;
        EXPECT_EQ(letta.out, CsvDi(LeggiCsv(sorgente.percorso))) << sorgente.tabella;
    }
    const auto testate = Esegui({"leggi", (CartellaDatiTest() / "edited" / "Scheda_Prenotazione.mdb").string(),
                                 "scheda_prenotazione"}).out;
    EXPECT_NE(testate.find("\n1,261006,2026-11-22 19:00:00,\"Vitale Simone\",\"320 5550006\",,\"P\",\"\",0\n"),
              std::string::npos);
    EXPECT_EQ(Esegui({"leggi", "manca.mdb", "Tabella"}).stato, 1);
    EXPECT_EQ(Esegui({"leggi", "manca.mdb"}).stato, 2);
    // Binary data as its bytes in hexadecimal: the birthplaces' texts as stored.
    CartellaTemporanea cartella(true);
    std::string clienti = LeggiFile(CartellaDatiTest() / "demo" / "Scheda_Cliente.mdb");
    PagineJet4 pagine(clienti);
    pagine.ScriviTipoColonna(pagine.Proprietario(clienti.find("\xFF\xFE" "Milano") / 4096), "LuogoNascita", 0x09);
    ScriviFile("Scheda_Cliente.mdb", clienti);
    EXPECT_NE(Esegui({"leggi", "Scheda_Cliente.mdb", "Scheda_Cliente"}).out.find(",0xFFFE4D696C616E6F,"),
              std::string::npos);
}

TEST(Comandi, AiutoEdErroriDUso) {
    for (const auto& [comando, parte] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--help"}, "tableau"}, {{"tableau", "--help"}, "--dalla"}, {{"demo", "--help"}, ""},
             {{"stampa", "--help"}, "--fronte-retro"}, {{"quadro", "--help"}, "--json FILE"}}) {
        const auto aiuto = Esegui(comando);
        EXPECT_EQ(aiuto.stato, 0) << comando[0];
        EXPECT_NE(aiuto.out.find(parte), std::string::npos) << aiuto.out;
    }
    for (const auto& sbagliati : std::vector<std::vector<std::string>>{
             {},
             {"stampa"},
             {"tableau"},
             {"tableau", "--hotel", "1"},
             {"tableau", "--hotel", "1", "--tableau", "1", "--dalla", "1", "--alla", "2", "--data"},
             {"tableau", "--hotel", "x", "--tableau", "1", "--dalla", "1", "--alla", "2", "--data", "07/12/2026"},
             {"tableau", "--hotel", "40000", "--tableau", "1", "--dalla", "1", "--alla", "2", "--data", "07/12/2026"},
             {"tableau", "--hotel=1", "--hotel=2", "--tableau", "1", "--dalla", "1", "--alla", "2", "--data", "x"},
             {"tableau", "--piano", "1"},
             {"demo"},
             {"demo", "a", "b"}}) {
        const auto e = Esegui(sbagliati);
        EXPECT_EQ(e.stato, 2) << testing::PrintToString(sbagliati);
        EXPECT_NE(e.err.find("--help\n"), std::string::npos);
    }
}

TEST(Comandi, ControlliDellaFinestraPrincipale) {
    CartellaTemporanea cartella(true);
    // Rooms compare as text: 9 to 10 is backwards, 100 to 99 is not.
    const auto camere = Esegui(Tableau("9", "10", "07/12/2026"));
    EXPECT_EQ(camere.stato, 2);
    EXPECT_EQ(camere.err, "Controllare l'intervallo di camere richiesto!\n");
    // The date is checked as typed: six digits are not completed here.
    for (const char* data : {"071226", "31/04/2026", "7/12/2026"}) {
        const auto e = Esegui(Tableau("1", "2", data));
        EXPECT_EQ(e.stato, 2) << data;
        EXPECT_EQ(e.err, "La data deve essere inserita \nnel formato gg/mm/aaaa\n");
    }
    // Valid input with no databases in the folder: the error of the build.
    const auto manca = Esegui(Tableau("100", "99", "07/12/2026"));
    EXPECT_EQ(manca.stato, 1);
    EXPECT_EQ(manca.err.rfind("Errore 3024: ", 0), 0u) << manca.err;
    EXPECT_EQ(Esegui(Tableau("5", "5", "07/12/2026")).stato, 1);
}

TEST(Comandi, IlProgrammaDaDemoATableau) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "4");
    EXPECT_EQ(Programma("--help").first, 0);
    const auto uso = Programma("tableau --hotel 1");
    EXPECT_EQ(uso.first, 2);
    EXPECT_NE(uso.second.find("--tableau"), std::string::npos);
    EXPECT_EQ(Programma("demo dati").first, 0);
    fs::current_path("dati");
    EXPECT_EQ(Programma("tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 09/12/2026"),
              std::make_pair(0, std::string()));
    EXPECT_EQ(LeggiFile("FD4").size(), (2u + 3u * 34u) * 134u);
    const auto data = Programma("tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 32/12/2026");
    EXPECT_EQ(data, std::make_pair(2, std::string("La data deve essere inserita \nnel formato gg/mm/aaaa\n")));
}

// Short of memory, the program says so whatever lacked it: a thread, a
// table's block, the reader of the Access files, what the reader wrote.
TEST(Comandi, SenzaMemoriaLoDice) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer takes an address space without limits";
#endif
    const CartellaDemo demo("1");
    for (int megabyte = 16; megabyte <= 120; megabyte += 4) {
        const auto [stato, errori] = EseguiConErrori("ulimit -v " + std::to_string(megabyte * 1024) + " && " +
                                                     BROVATO5_ESEGUIBILE + " " + SettimanaDemo);
        // Too little even for the system to load the program.
        if (stato == 0 || errori.find("error while loading shared libraries") != std::string::npos) continue;
        EXPECT_EQ(stato, 1) << megabyte;
        EXPECT_EQ(errori.rfind("Errore 7: ", 0), 0u) << megabyte << " MB: " << errori;
        EXPECT_NE(errori.find("emoria insufficiente"), std::string::npos) << errori;
    }
}

TEST(Comandi, SenzaCartellaDiSessioneStampaInSilenzio) {
    // A night job has no XDG_RUNTIME_DIR: printing says nothing of it, and the
    // runtime folder the program makes under TMPDIR is the user's alone.
    const CartellaDemo demo("1");
    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
    const fs::path temporanea = demo.cartella.Percorso() / "tmp";
    fs::create_directory(temporanea);
    EXPECT_EQ(EseguiConErrori("env -u XDG_RUNTIME_DIR TMPDIR=" + temporanea.string() + " " + BROVATO5_ESEGUIBILE +
                              " stampa --hotel 1 --destinazione 'Reception PDF' --pdf t.pdf"),
              std::make_pair(0, std::string()));
    std::vector<fs::path> cartelle(fs::directory_iterator(temporanea), fs::directory_iterator{});
    ASSERT_EQ(cartelle.size(), 1u);
    EXPECT_TRUE(cartelle[0].filename().string().starts_with("runtime-")) << cartelle[0];
    EXPECT_EQ(fs::status(cartelle[0]).permissions(), fs::perms::owner_all);
}

TEST(Comandi, StampaDelReport) {
    const CartellaDemo demo("1");
    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
    for (const auto& sbagliati : std::vector<std::vector<std::string>>{
             {"stampa", "--hotel", "1"},
             {"stampa", "--destinazione", "Ufficio"},
             {"stampa", "--hotel", "1", "--destinazione", "Ufficio", "--pdf"},
             {"stampa", "--hotel", "1", "--destinazione", "Ufficio", "--colori"}})
        EXPECT_EQ(Esegui(sbagliati).stato, 2) << testing::PrintToString(sbagliati);

    const auto diretta = Esegui({"stampa", "--hotel", "1", "--destinazione", "Ufficio", "--compressa"});
    EXPECT_EQ(diretta.stato, 0) << diretta.err;
    EXPECT_TRUE(LeggiFile("stampa_ufficio.prn").starts_with("\x1B\x0F")) << "sequenza compressa";
    const auto nessuna = Esegui({"stampa", "--hotel", "1", "--destinazione", "Nessuna"});
    EXPECT_EQ(nessuna.stato, 1);
    EXPECT_TRUE(nessuna.err.starts_with("Errore 3021: La destinazione di stampa 'Nessuna'")) << nessuna.err;
    EXPECT_NE(nessuna.err.find("Destinazioni disponibili: 'Ufficio', 'Reception PDF', 'Cassa'"), std::string::npos) << nessuna.err;
    // Through the driver with no printer installed: into a dated PDF, named on stdout.
    const auto senzaStampanti = Esegui({"stampa", "--hotel", "1", "--destinazione", "Reception PDF"});
    EXPECT_TRUE(senzaStampanti.out.starts_with("doc/fd1") && senzaStampanti.out.ends_with(".pdf\n"))
        << senzaStampanti.out;
    for (const char* sbagliata : {"--data=32/12/2026", "--tableau=x"})
        EXPECT_EQ(Esegui({"stampa", "--hotel", "1", "--destinazione", "Ufficio", sbagliata}).stato, 2) << sbagliata;
    // The program itself prints through Qt, without a display.
    EXPECT_EQ(Programma("stampa --hotel 1 --destinazione 'Reception PDF' --pdf t.pdf").first, 0);
    EXPECT_TRUE(LeggiFile("t.pdf").starts_with("%PDF"));
    fs::remove("Stampanti.mdb");
    const auto errore = Esegui({"stampa", "--hotel", "1", "--destinazione", "Ufficio"});
    EXPECT_EQ(errore.stato, 1);
    EXPECT_EQ(errore.err.rfind("Errore 3024: ", 0), 0u) << errore.err;
}

// "stampa" as the print menu: hotel 0 prints with hotel 1's page length; a
// missing report or a PDF that cannot be written whole is an error, exit 1.
TEST(Comandi, StampaComeIlMenuEConErrori) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    PreparaStampaDemo(cartella, {{0, 5}, {1, 60}});
    std::vector<std::string> pagine;
    for (const char* hotel : {"1", "0"}) {
        EXPECT_EQ(Esegui({"stampa", "--hotel", hotel, "--destinazione", "Ufficio"}).stato, 0);
        pagine.push_back(LeggiFile("stampa_ufficio.prn"));
    }
    EXPECT_TRUE(pagine[0] == pagine[1]) << "pagine dell'hotel 0 diverse da quelle dell'hotel 1";

    DiscoPiccolo disco("pieno", 8 * 1024);
    if (disco.Problema().empty()) {
        const auto [stato, errori] = Programma("stampa --hotel 1 --destinazione 'Reception PDF' --pdf pieno/t.pdf");
        EXPECT_EQ(stato, 1);
        EXPECT_NE(errori.find("Errore 61: "), std::string::npos) << errori;
        EXPECT_TRUE(fs::is_empty("pieno"));
    }
    fs::remove("FD1");
    fs::remove("stampa_ufficio.prn");
    const auto senzaReport = Esegui({"stampa", "--hotel", "1", "--destinazione", "Ufficio"});
    EXPECT_EQ(senzaReport.stato, 1);
    EXPECT_EQ(senzaReport.err.rfind("Errore 53: ", 0), 0u) << senzaReport.err;
    EXPECT_FALSE(fs::exists("stampa_ufficio.prn"));
}

// A report that cannot be written says why and where: here a folder the user
// may read but not write (as a user of no privileges when the test has them).
// The demo suite in SQLite files: that user need not reach the Access reader
// in the build's folder, which may be closed to others.
TEST(Comandi, ReportNonScrittoDiceLaCausaELaCartella) {
    CartellaTemporanea cartella;
    const fs::path qui = cartella.Percorso() / "dati";
    CreaDatiDemo(qui.string(), "07/12/2026");
    for (const auto& voce : fs::directory_iterator(qui)) fs::permissions(voce.path(), fs::perms(0644));
    fs::permissions(qui, fs::perms(0555));
    std::string comando = "cd '" + qui.string() + "' && env PCLocal=3 ";
    if (geteuid() == 0) comando += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    const auto [stato, errori] = EseguiConErrori(
        comando + BROVATO5_ESEGUIBILE + " " + SettimanaDemo);
    fs::permissions(qui, fs::perms(0755));
    EXPECT_EQ(stato, 1);
    EXPECT_EQ(errori, "Errore 75: Impossibile scrivere il file del report '" + (qui / "FD3").string() +
                          "': permesso negato, controllare i permessi del file e della cartella per questo utente.\n");
}

// "quadro": the week as JSON from the core, as a PDF from the program of the
// windows; files checked before the week is read, the report left alone.
TEST(Comandi, QuadroJsonEPdf) {
    const CartellaDemo demo("4");
    const auto con = [](std::vector<std::string> altri) { return Tableau("101", "310", "07/12/2026", altri, "quadro"); };
    fs::create_symlink("altrove.json", "collegamento.json");
    struct Caso {
        std::vector<std::string> argomenti;
        int stato;
        std::string errore;  // what stderr begins with
    };
    const std::vector<Caso> casi = {
        {con({"--json", "s.json"}), 0, ""},
        {con({}), 2, "brovato5: indicare --json FILE, --pdf FILE o entrambi"},
        {con({"--json", "s.json", "--a3"}), 2, "brovato5: --a3 vale solo con --pdf"},
        {con({"--json", "s.json", "--piano", "1"}), 2, "brovato5: opzione sconosciuta: '--piano'"},
        {{"quadro", "--hotel", "1", "--json", "s.json"}, 2, "brovato5: manca l'opzione --tableau"},
        {Tableau("9", "10", "07/12/2026", {"--json", "s.json"}, "quadro"), 2, "Controllare l'intervallo di camere richiesto!"},
        {Tableau("1", "2", "31/04/2026", {"--json", "s.json"}, "quadro"), 2, "La data deve essere inserita"},
        {con({"--json", "Scheda_Cliente.mdb"}), 1, "Errore 75: "},
        {con({"--json", "FD4"}), 1, "Errore 75: "},
        {con({"--json", "collegamento.json"}), 1, "Errore 75: "},
        {con({"--pdf", "q.pdf"}), 1, "Errore 482: "},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(testing::PrintToString(caso.argomenti));
        const auto e = Esegui(caso.argomenti);
        EXPECT_EQ(e.stato, caso.stato) << e.err;
        EXPECT_TRUE(e.err.starts_with(caso.errore)) << e.err;
    }
    const std::string json = LeggiFile("s.json");
    EXPECT_TRUE(json.starts_with("{")) << json.substr(0, 80);
    EXPECT_NE(json.find("\"Hotel Bellavista S.r.l.\""), std::string::npos);
    EXPECT_FALSE(fs::exists("FD4"));
    EXPECT_FALSE(fs::exists("q.pdf"));
    EXPECT_FALSE(fs::exists("altrove.json"));

    // The program itself: A4 landscape, A3 on request, the heading in the text.
    for (const auto& [a3, formato] : {std::pair{false, "842 x 595 pts (A4)"}, std::pair{true, "1191 x 842 pts (A3)"}}) {
        SCOPED_TRACE(formato);
        const auto [stato, errori] = Programma(
            "quadro --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026 --pdf q.pdf" +
            std::string(a3 ? " --a3" : ""));
        EXPECT_EQ(stato, 0) << errori;
        ASSERT_EQ(EseguiConErrori("(pdftotext -layout q.pdf q.txt && pdfinfo q.pdf > q.info)").first, 0);
        const std::string testo = LeggiFile("q.txt");
        EXPECT_NE(testo.find("Hotel : Hotel Bellavista S.r.l."), std::string::npos) << testo.substr(0, 400);
        EXPECT_NE(testo.find("Settimana 50 : 07/12/2026"), std::string::npos) << testo.substr(0, 400);
        EXPECT_NE(LeggiFile("q.info").find("Page size:       " + std::string(formato)), std::string::npos)
            << LeggiFile("q.info");
    }
    EXPECT_FALSE(fs::exists("FD4"));
}

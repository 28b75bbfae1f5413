#include <gtest/gtest.h>

#include <filesystem>

#include "app/Avvio.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

struct CasoOpzioni {
    std::vector<std::string> argomenti;
    std::optional<std::string> cartella, postazione;
    bool configura = false, versione = false;
    std::vector<std::string> resto;
    std::string errore;  // a part of the message; empty when none is expected
};

TEST(Avvio, LeggeLeOpzioniPrimaDelComandoELasciaLeAltreAlComando) {
    const std::vector<CasoOpzioni> casi = {
        {{}, {}, {}, false, false, {}, ""},
        {{"--cartella", "/dati", "tableau", "--hotel", "1"}, "/dati", {}, false, false,
         {"tableau", "--hotel", "1"}, ""},
        {{"--postazione=3", "--cartella=/d i"}, "/d i", "3", false, false, {}, ""},
        {{"--configura", "--postazione", "12"}, {}, "12", true, false, {}, ""},
        {{"--version"}, {}, {}, false, true, {}, ""},
        {{"--help"}, {}, {}, false, false, {"--help"}, ""},
        // After the command the options are the command's own.
        {{"tableau", "--cartella", "/d"}, {}, {}, false, false, {"tableau", "--cartella", "/d"}, ""},
        {{"--cartella"}, {}, {}, false, false, {}, "manca il valore di --cartella"},
        {{"--cartella="}, {}, {}, false, false, {}, "manca il valore di --cartella"},
        {{"--postazione", "3a"}, {}, {}, false, false, {}, "sole cifre"},
        {{"--postazione", "123456"}, {}, {}, false, false, {}, "sole cifre"},
        {{"--cartella", "a", "--cartella", "b"}, {}, {}, false, false, {}, "opzione ripetuta: --cartella"},
        {{"--configura", "esporta"}, {}, {}, false, false, {}, "--configura vale solo"},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(::testing::PrintToString(caso.argomenti));
        const OpzioniAvvio opzioni = LeggiOpzioniAvvio(caso.argomenti);
        if (!caso.errore.empty()) {
            EXPECT_NE(opzioni.errore.find(caso.errore), std::string::npos) << opzioni.errore;
            continue;
        }
        EXPECT_EQ(opzioni.errore, "");
        EXPECT_EQ(opzioni.cartella, caso.cartella);
        EXPECT_EQ(opzioni.postazione, caso.postazione);
        EXPECT_EQ(opzioni.configura, caso.configura);
        EXPECT_EQ(opzioni.versione, caso.versione);
        EXPECT_EQ(opzioni.resto, caso.resto);
    }
}

// A folder counts as a data folder from its first suite file on, the names
// matched without regard to case as a folder copied from Windows holds them.
TEST(Avvio, RiconosceLaCartellaDeiDatiSenzaRiguardoAlleMaiuscole) {
    const CartellaTemporanea cartella;
    const std::string percorso = cartella.Percorso().string();
    EXPECT_FALSE(InCartellaDati(percorso));
    EXPECT_EQ(FileDatiMancanti(percorso).size(), 3u);
    ScriviFile(cartella.Percorso() / "TABLEAU.MDB", "");
    EXPECT_TRUE(InCartellaDati(percorso));
    EXPECT_EQ(FileDatiMancanti(percorso), (std::vector<std::string>{"AnagraficaHotels.mdb", "NumeriCamere.mdb"}));
    ScriviFile(cartella.Percorso() / "anagraficahotels.mdb", "");
    ScriviFile(cartella.Percorso() / "NumeriCamere.mdb", "");
    EXPECT_TRUE(FileDatiMancanti(percorso).empty());
    EXPECT_FALSE(InCartellaDati((cartella.Percorso() / "manca").string()));
}

// The program run from another folder works in the one --cartella names, as
// the workstation --postazione names, which wins over PCLocal.
TEST(Avvio, IlProgrammaLavoraNellaCartellaENellaPostazioneIndicate) {
    const CartellaTemporanea dati;
    dati.CopiaDa(CartellaDatiTest() / "demo");
    const CartellaTemporanea altrove(true);
    const VariabileAmbiente pcLocal("PCLocal", "1");
    const std::string programma = BROVATO5_ESEGUIBILE;
    const auto esito = EseguiConErrori(programma + " --cartella '" + dati.Percorso().string() +
                                       "' --postazione 7 tableau --hotel 1 --tableau 1 --dalla 101 --alla 310"
                                       " --data 07/12/2026");
    EXPECT_EQ(esito.first, 0) << esito.second;
    EXPECT_TRUE(fs::exists(dati.Percorso() / "FD7"));
    EXPECT_FALSE(fs::exists(dati.Percorso() / "FD1"));
    EXPECT_FALSE(fs::exists(altrove.Percorso() / "FD7"));

    const std::string cartellaMancante = (altrove.Percorso() / "manca").string();
    const auto manca = EseguiConErrori(programma + " --cartella '" + cartellaMancante + "' esporta");
    EXPECT_EQ(manca.first, 1);
    EXPECT_NE(manca.second.find("Errore 76:"), std::string::npos) << manca.second;

    EXPECT_EQ(EseguiConErrori(programma + " --postazione x tableau").first, 2);
    const auto versione = EseguiConErrori("{ " + programma + " --version 1>&2; }");
    EXPECT_EQ(versione, std::make_pair(0, std::string("brovato5 ") + BROVATO5_VERSIONE + "\n"));
}

// brovato5 loads the graphic library only for what needs it. The dynamic
// linker, asked to, names on stderr each library it loads: the version, a
// usage error, a week's report and its data as JSON load neither Qt nor the
// print system's library; printing and the room rack's PDF do, in brovato5-qt,
// which takes over the process with the options as given (the relative
// folder entered once).
TEST(Avvio, CaricaQtSoloPerLaFinestraELaStampa) {
    const CartellaTemporanea cartella(true);
    fs::create_directory("dati");
    for (const auto& file : fs::directory_iterator(CartellaDatiTest() / "demo"))
        if (file.is_regular_file()) fs::copy_file(file.path(), "dati" / file.path().filename());
    struct Caso {
        std::string argomenti;
        int stato;
        bool qt;
    };
    const std::vector<Caso> casi = {
        {"--version", 0, false},
        {"--postazione x tableau", 2, false},
        {"tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026", 0, false},
        {"stampa --help", 0, true},
        {"stampa --hotel 1 --destinazione 'Reception PDF' --pdf t.pdf", 0, true},
        {"quadro --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026 --json q.json", 0, false},
        {"quadro --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026 --pdf=q.pdf", 0, true},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.argomenti);
        const auto [stato, errori] = EseguiConErrori(std::string("LD_DEBUG=files ") + BROVATO5_ESEGUIBILE +
                                                     " --cartella dati --postazione 1 " + caso.argomenti);
        EXPECT_EQ(stato, caso.stato) << errori;
        EXPECT_EQ(errori.find("file=libQt6") != std::string::npos, caso.qt);
        if (!caso.qt) {
            EXPECT_EQ(errori.find("file=libcups"), std::string::npos);
        }
    }
    EXPECT_TRUE(fs::exists("dati/FD1"));
    EXPECT_GT(fs::file_size("dati/t.pdf"), 0u);

    // Away from the build folder and from an installation brovato5-qt is not
    // found: the window and printing end in an error that names it.
    fs::copy_file(BROVATO5_ESEGUIBILE, "brovato5");
    EXPECT_EQ(EseguiConErrori("./brovato5 --version").first, 0);
    const auto senza = EseguiConErrori("./brovato5 stampa --help");
    EXPECT_EQ(senza.first, 1);
    EXPECT_NE(senza.second.find("Errore 53:"), std::string::npos) << senza.second;
    EXPECT_NE(senza.second.find("brovato5-qt"), std::string::npos) << senza.second;
}

}  // namespace

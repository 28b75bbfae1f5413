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

}  // namespace

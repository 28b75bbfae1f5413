#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/ArchivioSqlite.h"
#include "common/Errore.h"
#include "print/MotoreStampa.h"
#include "print/StampaLaser.h"
#include "print/UscitaDiretta.h"
#include "support/StampanteRegistrata.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

using Righe = std::vector<std::string>;

const std::string Aghi = " 27 15  0  0  0  0027018000000000  0";  // direct path
const std::string Driver = "  8  0  0  0  0  1 10  0  0  0  0  0";

// A data folder (the current folder for the test) with one destination
// "Banco" of print type 1 writing to the file "uscita.prn", the given
// SetStampa groups (none: no SetStampa record) and page length for hotel 1.
class Cartella {
public:
    Cartella(const std::string& compresso, const std::string& grassetto, int lunghezzaPagina,
             const std::string& linea = "uscita.prn")
        : cartella_(true), postazione_("PCLocal", "1") {
        using enum TipoCampo;
        ScriviTabellaSqlite("Contatori.mdb", {"Contatori",
                                              {{"NumeroHotel", Intero}, {"LungPagComp", Intero}, {"LungPagNoComp", Intero}},
                                              {{Valore::Intero(1), Valore::Intero(lunghezzaPagina), Valore::Intero(lunghezzaPagina)}}});
        ScriviTabellaSqlite("Stampanti.mdb", {"Stampanti",
                                              {{"NumeroHotel", Intero}, {"Destinazione", Testo}, {"Linea", Testo}, {"TipoStampa", Intero}},
                                              {{Valore::Intero(1), Valore::Testo("Banco"), Valore::Testo(linea), Valore::Intero(1)}}});
        Tabella setStampa{"SetStampa", {{"TipoStampa", Intero}, {"Compresso", Testo}, {"Grassetto", Testo}}, {}};
        if (!compresso.empty())
            setStampa.righe.push_back({Valore::Intero(1), Valore::Testo(compresso), Valore::Testo(grassetto)});
        ScriviTabellaSqlite("Stampanti.mdb", setStampa);
    }

    static void Report(const Righe& righe) {
        std::ofstream file("FD1", std::ios::binary);
        for (const auto& riga : righe) file << riga << "\r\n";
    }

private:
    CartellaTemporanea cartella_;
    VariabileAmbiente postazione_;
};

SceltaStampa Scelta(const std::string& codice = "", bool compressa = false) {
    SceltaStampa scelta;
    scelta.destinazione = "Banco";
    scelta.codiceAssistenza = codice;
    scelta.compressa = compressa;
    return scelta;
}

std::vector<std::string> Registro(const SceltaStampa& scelta, StampanteRegistrata&& stampante = StampanteRegistrata()) {
    StampaReport(scelta, 1, stampante);
    return stampante.registro;
}

// The log of a page start on the driver path with the demo's sizes and a top margin of 1.
Righe InizioPagina(const char* orientamento) {
    return {"NuovaPagina", orientamento, "Font Times New Roman", "Dimensione 8", "Riga [ ]",
            "Font Courier New", "Dimensione 10", "Riga [ ]"};
}

Righe operator+(Righe a, const Righe& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(MotoreStampa, PercorsoDriverPagineSaltiEOrientamento) {
    Cartella cartella(Driver, "  0  0  0  0  0  1 72 60", 3, "Ufficio laser");
    Cartella::Report({"a", "b", "\f", "c\xB3\xD9"});
    SceltaStampa scelta = Scelta();
    scelta.orizzontale = true;
    scelta.fronteRetro = true;
    const Righe atteso =
        Righe{"Scegli Ufficio laser", "Duplex 2", "Orientamento 2", "Font Times New Roman", "Dimensione 8", "Riga [ ]",
              "Font Courier New", "Riga [ ]", "Dimensione 10", "Riga [a]", "Riga [b]"} +
        InizioPagina("Orientamento 2") + Righe{"NuovaPagina", "Orientamento 2", "Riga [ ]"} +
        InizioPagina("Orientamento 2") + Righe{"Riga [c|\xF9]", "FineDocumento", "Orientamento 1"};
    EXPECT_EQ(Registro(scelta), atteso);

    // "K" prints the lines as they stand; portrait runs leave the orientation alone.
    Cartella::Report({"c\xB3\xD9"});
    const Righe k = Registro(Scelta("K"));
    EXPECT_EQ(k[k.size() - 2], "Riga [c\xB3\xD9]");
    EXPECT_EQ(k.back(), "FineDocumento");
}

TEST(MotoreStampa, PercorsoDriverSenzaStampanteAdatta) {
    Cartella cartella(Driver, "", 60, "Altra");
    Cartella::Report({"a"});
    // Not installed: the active printer prints.
    EXPECT_EQ(Registro(Scelta())[0], "Orientamento 1");
    // A PDF file chosen by the caller.
    SceltaStampa scelta = Scelta();
    scelta.filePdf = "prova.pdf";
    StampanteRegistrata stampante;
    EXPECT_EQ(StampaReport(scelta, 1, stampante).filePdf, "prova.pdf");
    EXPECT_EQ(stampante.registro[0], "Pdf prova.pdf");
    // No printer installed at all: a dated PDF under "doc".
    StampanteRegistrata nessuna(Righe{});
    const EsitoStampa esito = StampaReport(Scelta(), 1, nessuna);
    EXPECT_TRUE(esito.destinazioneTrovata);
    EXPECT_TRUE(esito.filePdf.starts_with("doc/fd1")) << esito.filePdf;
    EXPECT_EQ(esito.filePdf.size(), std::string("doc/fd1yyyymmddhhnn.pdf").size());
    EXPECT_EQ(nessuna.registro[0], "Pdf " + esito.filePdf);
    EXPECT_TRUE(fs::is_directory("doc"));
    // No report: nothing printed.
    fs::remove("FD1");
    StampanteRegistrata senzaReport(Righe{});
    EXPECT_EQ(StampaReport(Scelta(), 1, senzaReport).filePdf, "");
    EXPECT_TRUE(senzaReport.registro.empty());
}

TEST(MotoreStampa, DestinazioneSconosciutaNonStampaNulla) {
    Cartella cartella(Aghi, "", 60);
    Cartella::Report({"a"});
    SceltaStampa scelta = Scelta();
    scelta.destinazione = "Nessuna";
    StampanteRegistrata stampante;
    EXPECT_FALSE(StampaReport(scelta, 1, stampante).destinazioneTrovata);
    EXPECT_TRUE(stampante.registro.empty());
    EXPECT_FALSE(fs::exists("uscita.prn"));
}

TEST(StampaLaser, GrassettoEConversioni) {
    StampanteRegistrata stampante;
    stampante.ImpostaFontSize(10);
    StampaLaser(stampante, "Totale \xE7Rossi\xE7 12");
    StampaLaser(stampante, "\xE7");
    StampaLaser(stampante, "");
    EXPECT_EQ(stampante.registro, (Righe{"Dimensione 10", "Testo [Totale ]", "Dimensione 9.6", "Grassetto 1",
                                         "Testo [Rossi]", "Dimensione 10", "Grassetto 0", "Riga [ 12]", "Testo []",
                                         "Dimensione 9.6", "Grassetto 1", "Riga []", "Riga []"}));
    // Accents first, then the frame: 180 ' , 192 à, 200 è, 201 é, 204 ì, 217 ù, 210 ò,
    // 179 183 186 195 |, 187 191 196 197 218 -, 205 and letters unchanged.
    std::string frase = "\xB4\xC0\xC8\xC9\xCC\xD9\xD2\xB3\xB7\xBA\xC3\xBB\xBF\xC4\xC5\xDA\xCD" "a";
    EXPECT_EQ(Converti2(frase), "'\xE0\xE8\xE9\xEC\xF9\xF2||||-----\xCD" "a");
    EXPECT_EQ(frase, "'\xE0\xE8\xE9\xEC\xF9\xF2||||-----\xCD" "a");
}

TEST(MotoreStampa, PercorsoDirettoByteEsatti) {
    const std::string sequenza = "\x1B\x12" + std::string(3, '\0');
    const std::string compressa = "\x1B\x0F" + std::string(3, '\0');
    struct Caso {
        const char* nome;
        std::string compresso, grassetto;
        int lunghezzaPagina;
        std::string codice;
        bool compressa;
        Righe righe;
        std::string atteso;
    } casi[] = {
        {"pagine di 3, ultima piena senza salto in piu'", Aghi, "  0  0  0  0  0  0 88 66", 3, "", false,
         {"a", "b", "c", "d", "e", "f"}, sequenza + "a\r\nb\r\nc\r\n\fd\r\ne\r\nf\r\n\f"},
        {"compressa con margine", Aghi, "  0  0  0  0  0  2 88 66", 60, "", true, {"a"},
         compressa + " \r\n \r\na\r\n\f"},
        {"riga di salto pagina", Aghi, "", 60, "", false, {"a", "\f", "b"}, sequenza + "a\r\n\fb\r\n\f"},
        {"pagina riempita con U", Aghi, "  0  0  0  0  0  1  9  5", 60, "XU", false, {"a", "b"},
         sequenza + " \r\na\r\nb\r\n\r\n\r\n"},
        {"margine oltre la pagina: nessun salto", Aghi, "  0  0  0  0  0  4 88 66", 3, "", false,
         {"a", "b", "c"}, sequenza + " \r\n \r\n \r\n \r\na\r\nb\r\nc\r\n\f"},
        {"senza report solo la sequenza", Aghi, "", 60, "", false, {}, sequenza},
        {"senza SetStampa: cinque zeri", "", "", 60, "", false, {"a"}, std::string(5, '\0') + "a\r\n\f"},
        {"Grassetto corto: foglio 0", Aghi, "  0  0  0  0  0  1", 60, "U", false, {"a"}, sequenza + " \r\na\r\n"},
        {"cornici convertite", Aghi, "", 60, "", false, {"\xB3\xC4\xC5\xB4"}, sequenza + "|--|\r\n\f"},
        {"cornici intatte con K", Aghi, "", 60, "K", false, {"\xB3\xC4\xC5\xB4"}, sequenza + "\xB3\xC4\xC5\xB4\r\n\f"},
        {"codici arrotondati", " 271.50272.5  0  0", "", 60, "", true, {}, std::string("\x1B\x02\x1B\x02\0", 5)},
    };
    for (const auto& caso : casi) {
        Cartella cartella(caso.compresso, caso.grassetto, caso.lunghezzaPagina);
        if (!caso.righe.empty()) Cartella::Report(caso.righe);  // no lines: no report file
        StampanteRegistrata stampante;
        EXPECT_TRUE(StampaReport(Scelta(caso.codice, caso.compressa), 1, stampante).destinazioneTrovata);
        EXPECT_EQ(LeggiFile("uscita.prn"), caso.atteso) << caso.nome;
        EXPECT_TRUE(stampante.registro.empty()) << caso.nome;
    }
}

TEST(MotoreStampa, DestinazioniDirette) {
    for (const auto& [nome, file] : std::vector<std::pair<std::string, std::string>>{
             {"LPT1", "/dev/lp0"}, {"lpt3:", "/dev/lp2"}, {"PRN", "/dev/lp0"}, {"prn:", "/dev/lp0"},
             {"LPT4", "./LPT4"}, {" /dev/usb/lp0 ", "/dev/usb/lp0"}, {"stampa \xE0.prn", "./stampa \xC3\xA0.prn"}})
        EXPECT_EQ(FileDestinazione(nome), file) << nome;
    for (const char* rifiutato : {"..\\stampa", "c:\\stampa.prn", "../stampa", "/tmp/../etc/x"})
        EXPECT_EQ(NumeroErroreDi([&] { FileDestinazione(rifiutato); }), NumeroErrore::ArgomentoNonValido)
            << rifiutato;

    Cartella cartella(Aghi, "", 60);
    Cartella::Report({"a"});
    StampanteRegistrata stampante;
    // The variable named by "Destinazione" wins over "Linea", an installed printer chosen over both.
    VariabileAmbiente variabile("BANCO", "dalla_variabile.prn");
    StampaReport(Scelta(), 1, stampante);
    EXPECT_TRUE(fs::exists("dalla_variabile.prn"));
    SceltaStampa scelta = Scelta();
    scelta.stampante = "scelta.prn";
    StampaReport(scelta, 1, stampante);
    EXPECT_TRUE(fs::exists("scelta.prn"));
    scelta.stampante = "/cartella/che/non/esiste";
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(scelta, 1, stampante); }), NumeroErrore::FileNonScrivibile);
}

TEST(MotoreStampa, ErroriDelleImpostazioni) {
    StampanteRegistrata stampante;
    {
        Cartella cartella(" 27300", "", 60);
        try {
            StampaReport(Scelta("", true), 1, stampante);
            ADD_FAILURE() << "codice 300 accettato";
        } catch (const Errore& e) {
            EXPECT_EQ(e.Numero(), NumeroErrore::ArgomentoNonValido);
            EXPECT_NE(e.Descrizione().find("300"), std::string::npos) << e.Descrizione();
            EXPECT_NE(e.Descrizione().find("Compresso"), std::string::npos) << e.Descrizione();
        }
        EXPECT_FALSE(fs::exists("uscita.prn"));
        fs::remove("Stampanti.mdb");
        ScriviTabellaSqlite("Stampanti.mdb", {"Stampanti", {{"Destinazione", TipoCampo::Testo}}, {}});
        EXPECT_EQ(NumeroErroreDi([&] { StampaReport(Scelta(), 1, stampante); }), NumeroErrore::TabellaNonTrovata);
        fs::remove("Contatori.mdb");
        EXPECT_EQ(NumeroErroreDi([&] { StampaReport(Scelta(), 1, stampante); }), NumeroErrore::FileNonTrovato);
    }
    Cartella cartella(Aghi, "", 60);
    // PCLocal=07 prints the report the builder wrote for 07.
    VariabileAmbiente postazione("PCLocal", "07");
    std::ofstream("FD07", std::ios::binary) << "a\r\n";
    StampaReport(Scelta(), 1, stampante);
    EXPECT_EQ(LeggiFile("uscita.prn"), "\x1B\x12" + std::string(3, '\0') + "a\r\n\f");
}

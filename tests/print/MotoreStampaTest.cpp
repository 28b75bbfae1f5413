#include <cups/cups.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "archivio/ArchivioSqlite.h"
#include "common/Errore.h"
#include "print/MotoreStampa.h"
#include "print/StampaLaser.h"
#include "print/UscitaDiretta.h"
#include "support/StampanteRegistrata.h"
#include "support/Supporto.h"
#include "tableau/RigaReport.h"

namespace fs = std::filesystem;

namespace {

using Righe = std::vector<std::string>;

const std::string Aghi = " 27 15  0  0  0  0027018000000000  0";  // direct path
const std::string Driver = "  8  0  0  0  0  1 10  0  0  0  0  0";
const std::string Sequenza("\x1B\x12\0\0\0", 5);

// The current folder for the test, a data folder with one destination "Banco"
// of print type 1 and line `linea`, the given SetStampa groups (none: no
// SetStampa record) and the page length of hotel 1, workstation 1; hotel 1
// "Albergo Prova" with its tableau 2 "Piano terra".
class Cartella {
public:
    Cartella(const std::string& compresso, const std::string& grassetto, int pagina, const char* linea = "uscita.prn")
        : cartella_(true), postazione_("PCLocal", "1") {
        using enum TipoCampo;
        const auto n = [](std::int64_t x) { return Valore::Intero(x); };
        ScriviTabellaSqlite("Contatori.mdb",
                            {"Contatori",
                             {{"NumeroHotel", Intero}, {"LungPagComp", Intero}, {"LungPagNoComp", Intero}},
                             {{n(1), n(pagina), n(pagina)}}});
        ScriviTabellaSqlite("Stampanti.mdb",
                            {"Stampanti",
                             {{"Destinazione", Testo}, {"Linea", Testo}, {"TipoStampa", Intero}},
                             {{Valore::Testo("Banco"), Valore::Testo(linea), n(1)}}});
        Tabella setStampa{"SetStampa", {{"TipoStampa", Intero}, {"Compresso", Testo}, {"Grassetto", Testo}}, {}};
        if (!compresso.empty()) setStampa.righe.push_back({n(1), Valore::Testo(compresso), Valore::Testo(grassetto)});
        ScriviTabellaSqlite("Stampanti.mdb", setStampa);
        ScriviTabellaSqlite("AnagraficaHotels.mdb", {"AnagraficaHotels",
                                                     {{"Numero", Intero}, {"RagioneSociale", Testo}},
                                                     {{n(1), Valore::Testo("Albergo Prova")}}});
        ScriviTabellaSqlite("Tableau.mdb", {"Tableau",
                                            {{"NumeroHotel", Intero}, {"Codice", Intero}, {"Descrizione", Testo}},
                                            {{n(1), n(2), Valore::Testo(" Piano terra ")}}});
    }

private:
    CartellaTemporanea cartella_;
    VariabileAmbiente postazione_;
};

void Report(const Righe& righe, const char* nome = "FD1") {
    std::ofstream file(nome, std::ios::binary);
    for (const auto& riga : righe) file << riga << "\r\n";
}

SceltaStampa Scelta(const std::string& codice = "", bool compressa = false) {
    SceltaStampa scelta;
    scelta.destinazione = "Banco";
    scelta.codiceAssistenza = codice;
    scelta.compressa = compressa;
    return scelta;
}

Righe Registro(const SceltaStampa& scelta) {
    StampanteRegistrata stampante;
    StampaReport(ContestoCorrente(), scelta, 1, stampante);
    return stampante.registro;
}

Righe operator+(Righe a, const Righe& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

TEST(MotoreStampa, PercorsoDriverPagineSaltiEOrientamento) {
    Cartella cartella(Driver, "  0  0  0  0  0  1 72 60", 3, "Ufficio laser");
    Report({"a", "b", "\f", "c\xB3\xD9"});
    SceltaStampa scelta = Scelta();
    scelta.orizzontale = true;
    scelta.fronteRetro = true;
    scelta.tableau = {2, "07/12/2026", nullptr};
    scelta.ora = Ora(3, 3, 2025);
    // Every page: the heading line, the body font and size, the top margin of 1.
    // Pages of 3 lines: "a" and "b", the one the form feed ends, the empty one
    // after it, "c".
    const auto inizio = [](int pagina) {
        return Righe{"Font Times New Roman", "Dimensione 8",
                     "Riga [Hotel : Albergo Prova   Tableau : Piano terra   Settimana : 07/12/2026 \x96 13/12/2026   "
                     "Stampata il 03/03/2025 alle 14:05   pagina " +
                         std::to_string(pagina) + " di 4]",
                     "Font Courier New", "Dimensione 10", "Riga [ ]"};
    };
    const auto nuova = [&](int pagina) { return Righe{"NuovaPagina", "Orientamento 2"} + inizio(pagina); };
    const Righe atteso = Righe{"Scegli Ufficio laser", "Duplex 2", "Orientamento 2"} + inizio(1) +
                         Righe{"Riga [a]", "Riga [b]"} + nuova(2) + nuova(3) + nuova(4) +
                         Righe{"Riga [c|\xF9]", "FineDocumento", "Orientamento 1"};
    EXPECT_EQ(Registro(scelta), atteso);
    // "K" prints the lines as they stand; portrait runs leave the orientation alone.
    Report({"c\xB3\xD9"});
    const Righe k = Registro(Scelta("K"));
    EXPECT_EQ(Righe(k.end() - 2, k.end()), (Righe{"Riga [c\xB3\xD9]", "FineDocumento"}));
    // The body font: the first line of FontStp.txt, trimmed; a blank one keeps the default.
    for (const auto& [contenuto, font] :
         {std::pair{"  Arial \r\nVerdana\r\n", "Font Arial"}, std::pair{"", "Font Courier New"}}) {
        std::ofstream("fontstp.TXT") << contenuto;
        EXPECT_EQ(Registro(Scelta())[5], font);
    }
}

TEST(MotoreStampa, PercorsoDriverSenzaStampanteAdatta) {
    Cartella cartella(Driver, "", 60, "Altra");
    Report({"a"});
    EXPECT_EQ(Registro(Scelta())[0], "Orientamento 1");  // not installed: the active printer prints
    // Asked for as a PDF, a destination whose printer is not installed goes into a dated PDF.
    SceltaStampa comePdf = Scelta();
    comePdf.comePdf = true;
    StampanteRegistrata laser;
    EXPECT_TRUE(StampaReport(ContestoCorrente(), comePdf, 1, laser).filePdf.starts_with("doc/fd1"));
    SceltaStampa scelta = Scelta();
    scelta.filePdf = "prova.pdf";
    StampanteRegistrata stampante;
    EXPECT_EQ(StampaReport(ContestoCorrente(), scelta, 1, stampante).filePdf, "prova.pdf");
    EXPECT_EQ(stampante.registro[0], "Pdf");
    EXPECT_EQ(LeggiFile("prova.pdf"), stampante.pdf);
    // No printer installed at all: a dated PDF under "doc".
    StampanteRegistrata nessuna(Righe{});
    const EsitoStampa esito = StampaReport(ContestoCorrente(), Scelta(), 1, nessuna);
    EXPECT_TRUE(esito.filePdf.starts_with("doc/fd1") && esito.filePdf.size() == 23) << esito.filePdf;
    EXPECT_EQ(nessuna.registro[0], "Pdf");
    EXPECT_EQ(LeggiFile(esito.filePdf), nessuna.pdf);
    EXPECT_TRUE(fs::is_directory("doc"));
    // No report: Errore 53; no such destination: Errore 3021, nothing printed.
    fs::remove("FD1");
    StampanteRegistrata senzaReport(Righe{});
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), Scelta(), 1, senzaReport); }), NumeroErrore::FileInesistente);
    scelta.destinazione = "Nessuna";
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), scelta, 1, senzaReport); }),
              NumeroErrore::NessunRecordCorrente);
    EXPECT_TRUE(senzaReport.registro.empty());
}

// The demo week through the driver (Courier New 10 point, 8 compressed;
// pages of 60 lines, 80 compressed; a top margin of 1): every line whole on
// the sheet, no page past its foot, the text made smaller only when it must.
TEST(MotoreStampa, PercorsoDriverTieneLaSettimanaSulFoglio) {
    struct Caso {
        bool compressa, orizzontale;
        double larghezza, altezza;  // printable area upright
        double corpo;               // size of the report lines; 0: smaller than set
    } casi[] = {{false, false, 559, 806, 0}, {true, false, 559, 806, 0}, {false, true, 559, 806, 0},
                {false, false, 1000, 1000, 10}};
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "1");
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    fs::copy_file(CartellaDatiTest() / "tableau" / "demo-hotel1-tableau1-07-12-2026.fd", "FD1");
    for (const auto& caso : casi) {
        SCOPED_TRACE(testing::Message() << caso.compressa << caso.orizzontale << caso.larghezza);
        SceltaStampa scelta;
        scelta.destinazione = "Reception PDF";
        scelta.compressa = caso.compressa;
        scelta.orizzontale = caso.orizzontale;
        StampanteRegistrata stampante;
        stampante.larghezza = caso.larghezza;
        stampante.altezza = caso.altezza;
        StampaReport(ContestoCorrente(), scelta, 1, stampante);
        EXPECT_EQ(stampante.righeFuori, 0);
        // The orientation, then the heading's font, size and line, the body's font and size.
        const Righe& registro = stampante.registro;
        ASSERT_GT(registro.size(), 5u);
        EXPECT_EQ(std::count(registro.begin(), registro.end(), "NuovaPagina"), 1);  // 86 lines on 2 pages
        const double dimensione = std::stod(registro[5].substr(11));
        if (caso.corpo > 0)
            EXPECT_EQ(dimensione, caso.corpo);
        else
            EXPECT_LT(dimensione, caso.compressa ? 8 : 10);
        // The heading (Compresso 1) ends under the grid's right edge.
        const double titolo = std::stod(registro[2].substr(11));
        EXPECT_NEAR(0.6 * titolo * static_cast<double>(registro[3].size() - 7), 0.6 * dimensione * 132, 0.6 * titolo);
    }
}

// A heading wider than the paper (a long hotel name) is drawn smaller by
// itself: the report keeps its size.
TEST(MotoreStampa, IntestazioneLungaPiuPiccolaDaSola) {
    Cartella cartella(Driver, "", 60, "Ufficio laser");
    ScriviTabellaSqlite("AnagraficaHotels.mdb", {"AnagraficaHotels",
                                                 {{"Numero", TipoCampo::Intero}, {"RagioneSociale", TipoCampo::Testo}},
                                                 {{Valore::Intero(1), Valore::Testo(std::string(60, 'A'))}}});
    Report({"a"});
    SceltaStampa scelta = Scelta();
    scelta.tableau = {2, "07/12/2026", nullptr};
    StampanteRegistrata stampante;
    StampaReport(ContestoCorrente(), scelta, 1, stampante);
    EXPECT_EQ(stampante.righeFuori, 0);
    const Righe& registro = stampante.registro;  // the printer, the orientation, the heading's font and size
    ASSERT_GT(registro.size(), 6u);
    EXPECT_LT(std::stod(registro[3].substr(11)), 8);
    EXPECT_NE(registro[4].find(std::string(45, 'A') + "   Tableau"), std::string::npos);  // 45 characters of the name
    EXPECT_EQ(registro[6], "Dimensione 10");
}

// The heading's parts come from AnagraficaHotels and Tableau, the week from
// the print's choices or else the report's header line; a part not found is
// left out.
TEST(MotoreStampa, IntestazioneDellePagine) {
    Cartella cartella(Driver, "", 60);
    std::string intestazione = RigaVuota();
    ScriviCella(intestazione, 0, " Luned\xEC 07/12");
    const std::string settimana = "Settimana : 07/12/2026 \x96 13/12/2026";
    struct Caso {
        std::int16_t hotel;
        TableauStampato tableau;
        std::string primaRiga, sinistra;
    } casi[] = {
        {1, {2, "07/12/2026", nullptr}, "", "Hotel : Albergo Prova   Tableau : Piano terra   " + settimana},
        {1, {0, "", nullptr}, intestazione, "Hotel : Albergo Prova   " + settimana},
        {3, {2, "", nullptr}, "a", ""},
        {1, {3, "01/03/2025", nullptr}, intestazione, "Hotel : Albergo Prova   Settimana : 01/03/2025 \x96 07/03/2025"},
    };
    for (const auto& caso : casi) {
        const IntestazioneStampa letta = LeggiIntestazione(CartellaDati("."), caso.hotel, caso.tableau, caso.primaRiga, Ora(9, 12, 2026));
        EXPECT_EQ(letta.sinistra, caso.sinistra) << caso.hotel << " " << caso.tableau.codice;
        EXPECT_EQ(letta.Destra(2, 3), "Stampata il 09/12/2026 alle 14:05   pagina 2 di 3");
    }
    // The year of the header's first day: the nearest to today in which it falls on that weekday.
    const auto oggiGiorno = std::chrono::sys_days{std::chrono::year{2026} / 12 / 9};
    for (const auto& [cella, primo] : std::vector<std::pair<std::string, std::string>>{
             {" Luned\xEC 07/12", "07/12/2026"}, {" Marted\xEC 07/12", "07/12/2027"},
             {" Sabato 29/02", "29/02/2020"}, {" Gioved\xEC 29/02", "29/02/2024"},
             {" Luned\xEC 31/04", ""}, {" Lunedi 07/12", ""}, {" 07/12", ""}, {" Luned\xEC 7/12", ""}}) {
        std::string riga = RigaVuota();
        ScriviCella(riga, 0, cella);
        EXPECT_EQ(PrimoGiornoDelReport(riga, oggiGiorno), primo) << cella;
    }
}

TEST(StampaLaser, GrassettoSoloTraDueCediglieDellaStessaCella) {
    // A line of the report's shape: "ç" in a cell of its own, a pair within a
    // cell, and one at each side of a grid place.
    std::string report = RigaVuota();
    ScriviCella(report, 0, "Gar\xE7on T C  4\xB3" "160");
    ScriviCella(report, 1, "\xE7Rossi\xE7 F 01- 02");
    ScriviCella(report, 2, "      a\xE7");
    ScriviCella(report, 3, "\xE7" "b");
    const std::string primaRossi = report.substr(0, 24);
    const std::string dopoRossi = report.substr(31);
    struct Caso {
        std::string riga;
        Righe stampato;
    } casi[] = {
        {"Totale \xE7Rossi\xE7 12",
         {"Testo [Totale ]", "Dimensione 9.6", "Grassetto 1", "Testo [Rossi]", "Dimensione 10", "Grassetto 0",
          "Riga [ 12]"}},
        {"Gar\xE7on Tours", {"Riga [Gar\xE7on Tours]"}},
        {"\xE7", {"Riga [\xE7]"}},
        {"", {"Riga []"}},
        {"\xE7\xE7 \xE7", {"Testo []", "Dimensione 9.6", "Grassetto 1", "Testo []", "Dimensione 10", "Grassetto 0",
                           "Riga [ \xE7]"}},
        {"a\xE7|b\xE7", {"Testo [a]", "Dimensione 9.6", "Grassetto 1", "Testo [|b]", "Dimensione 10", "Grassetto 0",
                         "Riga []"}},
        {report,
         {"Testo [" + primaRossi + "]", "Dimensione 9.6", "Grassetto 1", "Testo [Rossi]", "Dimensione 10",
          "Grassetto 0", "Riga [" + dopoRossi + "]"}},
    };
    for (const auto& caso : casi) {
        StampanteRegistrata stampante;
        StampaLaser(stampante, caso.riga, {10, 9.6});
        EXPECT_EQ(stampante.registro, caso.stampato) << caso.riga;
    }
}

TEST(StampaLaser, Conversioni) {
    // Accents first, then the frame: 180 ' , 192 à, 200 è, 201 é, 204 ì, 217 ù, 210 ò,
    // 179 183 186 195 |, 187 191 196 197 218 -, 205 and letters unchanged.
    std::string frase = "\xB4\xC0\xC8\xC9\xCC\xD9\xD2\xB3\xB7\xBA\xC3\xBB\xBF\xC4\xC5\xDA\xCD" "a";
    EXPECT_EQ(Converti2(frase), "'\xE0\xE8\xE9\xEC\xF9\xF2||||-----\xCD" "a");
    EXPECT_EQ(frase, "'\xE0\xE8\xE9\xEC\xF9\xF2||||-----\xCD" "a");
}

TEST(MotoreStampa, PercorsoDirettoByteEsatti) {
    struct Caso {
        const char* nome;
        std::string compresso, grassetto;
        int pagina;
        std::string codice;
        bool compressa;
        Righe righe;  // none: no report file
        std::string atteso;
    } casi[] = {
        {"pagine di 3, nessun salto in piu'", Aghi, "  0  0  0  0  0  0 88 66", 3, "", false,
         {"a", "b", "c", "d", "e", "f"}, Sequenza + "a\r\nb\r\nc\r\n\fd\r\ne\r\nf\r\n\f"},
        {"compressa con margine", Aghi, "  0  0  0  0  0  2 88 66", 60, "", true, {"a"},
         std::string("\x1B\x0F\0\0\0", 5) + " \r\n \r\na\r\n\f"},
        {"riga di salto pagina", Aghi, "", 60, "", false, {"a", "\f", "b"}, Sequenza + "a\r\n\fb\r\n\f"},
        {"pagina riempita con U", Aghi, "  0  0  0  0  0  1  9  5", 60, "XU", false, {"a", "b"},
         Sequenza + " \r\na\r\nb\r\n\r\n\r\n"},
        {"margine oltre la pagina", Aghi, "  0  0  0  0  0  4 88 66", 3, "", false, {"a", "b", "c"},
         Sequenza + " \r\n \r\n \r\n \r\na\r\nb\r\nc\r\n\f"},
        {"senza report: errore, nulla aperto", Aghi, "", 60, "", false, {}, ""},
        {"senza SetStampa", "", "", 60, "", false, {"a"}, std::string(5, '\0') + "a\r\n\f"},
        {"Grassetto corto: foglio 0", Aghi, "  0  0  0  0  0  1", 60, "U", false, {"a"}, Sequenza + " \r\na\r\n"},
        {"cornici convertite", Aghi, "", 60, "", false, {"\xB3\xC4\xC5\xB4"}, Sequenza + "|--|\r\n\f"},
        {"cornici intatte con K", Aghi, "", 60, "K", false, {"\xB3\xC4\xC5\xB4"}, Sequenza + "\xB3\xC4\xC5\xB4\r\n\f"},
        {"codici arrotondati", " 271.50272.5  0  0", "", 60, "", true, {"a"},
         std::string("\x1B\x02\x1B\x02\0", 5) + "a\r\n\f"},
    };
    for (const auto& caso : casi) {
        Cartella cartella(caso.compresso, caso.grassetto, caso.pagina);
        StampanteRegistrata stampante;
        if (caso.righe.empty()) {
            EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), Scelta(caso.codice), 1, stampante); }),
                      NumeroErrore::FileInesistente);
            EXPECT_FALSE(fs::exists("uscita.prn")) << caso.nome;
            continue;
        }
        Report(caso.righe);
        StampaReport(ContestoCorrente(), Scelta(caso.codice, caso.compressa), 1, stampante);
        EXPECT_EQ(LeggiFile("uscita.prn"), caso.atteso) << caso.nome;
        EXPECT_TRUE(stampante.registro.empty()) << caso.nome;
    }
}

TEST(MotoreStampa, DestinazioniEdErrori) {
    for (const auto& [nome, file] : std::vector<std::pair<std::string, std::string>>{
             {"LPT1", "/dev/lp0"}, {"lpt3:", "/dev/lp2"}, {"PRN", "/dev/lp0"}, {"prn:", "/dev/lp0"},
             {"LPT4", "./LPT4"}, {" /dev/usb/lp0 ", "/dev/usb/lp0"}, {"stampa \xE0.prn", "./stampa \xC3\xA0.prn"}})
        EXPECT_EQ(FileDestinazione(nome), file) << nome;
    for (const char* rifiutato : {"..\\stampa", "c:\\stampa.prn", "/tmp/../etc/x"})
        EXPECT_EQ(NumeroErroreDi([&] { FileDestinazione(rifiutato); }), NumeroErrore::ArgomentoNonValido);

    Cartella cartella(" 27300", "", 60);
    // PCLocal=07 prints the report the builder wrote for 07.
    VariabileAmbiente postazione("PCLocal", "07");
    Report({"a"}, "FD07");
    StampanteRegistrata stampante;
    try {
        StampaReport(ContestoCorrente(), Scelta("", true), 1, stampante);
        ADD_FAILURE() << "codice 300 accettato";
    } catch (const Errore& e) {
        EXPECT_EQ(e.Numero(), NumeroErrore::ArgomentoNonValido);
        EXPECT_NE(e.Descrizione().find("300 non valido nel gruppo 2 del campo Compresso"), std::string::npos)
            << e.Descrizione();
    }
    EXPECT_FALSE(fs::exists("uscita.prn"));
    // The variable named by "Destinazione" wins over "Linea", an installed printer chosen over both.
    VariabileAmbiente variabile("BANCO", "dalla_variabile.prn");
    StampaReport(ContestoCorrente(), Scelta(), 1, stampante);
    EXPECT_EQ(LeggiFile("dalla_variabile.prn"), std::string(5, '\0') + "a\r\n\f");
    SceltaStampa scelta = Scelta();
    scelta.stampante = "scelta.prn";
    StampaReport(ContestoCorrente(), scelta, 1, stampante);
    EXPECT_TRUE(fs::exists("scelta.prn"));
    scelta.stampante = "/cartella/che/non/esiste";
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), scelta, 1, stampante); }), NumeroErrore::FileNonScrivibile);
    fs::remove("Stampanti.mdb");
    ScriviTabellaSqlite("Stampanti.mdb", {"Stampanti",
                                          {{"Destinazione", TipoCampo::Testo}, {"Linea", TipoCampo::Testo},
                                           {"TipoStampa", TipoCampo::Intero}},
                                          {}});
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), Scelta(), 1, stampante); }), NumeroErrore::TabellaNonTrovata);
    fs::remove("Contatori.mdb");
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), Scelta(), 1, stampante); }), NumeroErrore::FileNonTrovato);
}

// With no print server answering: a file destination prints; a queue name, a
// port that is not there, the report itself or its archive copy under another
// name is an error that leaves every file as it was and creates none.
TEST(MotoreStampa, DestinazioniSenzaServerNeDanni) {
    VariabileAmbiente server("CUPS_SERVER", "/nessun/server/cups.sock");
    cupsSetServer(nullptr);
    const bool eraLaPorta = fs::exists("/dev/lp2");
    struct Caso {
        const char* linea;
        int errore;
        const char* testo;  // in the error's description
    } casi[] = {
        {"stampa_ufficio.prn", 0, ""},
        {"Laser_Ufficio", NumeroErrore::ErroreStampante, "server di stampa '/nessun/server/cups.sock' non risponde"},
        {"LPT3", NumeroErrore::DispositivoNonDisponibile, "(/dev/lp2) non c'\xC3\xA8"},
        {"./fd1", NumeroErrore::FileNonScrivibile, "il report stesso"},
        {"collegamento.prn", NumeroErrore::FileNonScrivibile, "collegamento simbolico"},
        {"duro.prn", NumeroErrore::FileNonScrivibile, "il report stesso"},
        {"doc/FD1202503031405.DOC", NumeroErrore::FileNonScrivibile, "doc/fd1202503031405.doc"},
    };
    for (const auto& caso : casi) {
        if (caso.linea == std::string("LPT3") && fs::is_character_file("/dev/lp2")) continue;  // a real port
        Cartella cartella(Aghi, "", 60, caso.linea);
        Report({"a"});
        fs::create_directory("doc");
        fs::copy_file("FD1", "doc/fd1202503031405.doc");
        fs::create_symlink("FD1", "collegamento.prn");
        fs::create_hard_link("FD1", "duro.prn");
        StampanteRegistrata stampante;
        std::string descrizione;
        try {
            StampaReport(ContestoCorrente(), Scelta(), 1, stampante);
            EXPECT_EQ(LeggiFile(caso.linea), Sequenza + "a\r\n\f");
        } catch (const Errore& e) {
            EXPECT_EQ(e.Numero(), caso.errore) << caso.linea;
            descrizione = e.Descrizione();
        }
        EXPECT_NE(descrizione.find(caso.testo), std::string::npos) << caso.linea << ": " << descrizione;
        EXPECT_EQ(LeggiFile("FD1"), "a\r\n") << caso.linea;
        EXPECT_EQ(LeggiFile("doc/fd1202503031405.doc"), "a\r\n") << caso.linea;
        EXPECT_FALSE(fs::exists("Laser_Ufficio"));
    }
    if (!eraLaPorta && fs::exists("/dev/lp2")) {
        fs::remove("/dev/lp2");
        ADD_FAILURE() << "/dev/lp2 creato";
    }
    cupsSetServer(nullptr);
}

// A chosen printer that is not installed is an error unless it names a port
// or a file; a missing report is Errore 53 before any destination is touched.
TEST(MotoreStampa, StampanteSceltaEReportMancante) {
    Cartella driver(Driver, "", 60, "Ufficio laser");
    Report({"a"});
    for (const auto& [scelta, errore] : {std::pair{"Lasr", NumeroErrore::ErroreStampante}, std::pair{"LPT1", 0},
                                         std::pair{"Ufficio laser", 0}}) {
        SceltaStampa conScelta = Scelta();
        conScelta.stampante = scelta;
        StampanteRegistrata stampante;
        EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), conScelta, 1, stampante); }), errore) << scelta;
        EXPECT_EQ(stampante.registro.empty(), errore != 0) << scelta;
    }
    fs::remove("FD1");
    StampanteRegistrata stampante;
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), Scelta(), 1, stampante); }), NumeroErrore::FileInesistente);
    EXPECT_TRUE(stampante.registro.empty());

    Cartella diretta(Aghi, "", 60);
    ScriviFile("uscita.prn", "vecchia stampa");
    EXPECT_EQ(NumeroErroreDi([&] { StampaReport(ContestoCorrente(), Scelta(), 1, stampante); }), NumeroErrore::FileInesistente);
    EXPECT_EQ(LeggiFile("uscita.prn"), "vecchia stampa");
}

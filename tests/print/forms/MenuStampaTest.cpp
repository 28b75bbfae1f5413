#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/Globali.h"
#include "archivio/ArchivioSqlite.h"
#include "common/forms/Aspetto.h"
#include "common/piattaforma/qt/StampanteQt.h"
#include "preview/forms/Anteprima.h"
#include "print/forms/MenuStampa.h"
#include "print/forms/VistaArchivio.h"
#include "support/PiattaformaRegistrata.h"
#include "support/SettimanaFatta.h"
#include "support/ProveForms.h"
#include "support/StampanteRegistrata.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// The buttons by index.
enum { TstArchivio, TstEsporta, TstPdf, TstStampa, TstAnteprima, TstChiudi };

Valore N(std::int64_t n) { return Valore::Intero(n); }
Valore T(const char* s) { return Valore::Testo(s); }

// 3 March 2025, 14:05.
std::tm OraFissa() { return Ora(3, 3, 2025); }

// A data folder for workstation 2 with its report, hotel 1's assistance code
// and print destinations (each writing to a file of its own by the direct path).
class MenuStampaTest : public ::testing::Test {
protected:
    MenuStampaTest() {
        std::ofstream("FD2", std::ios::binary) << "Camera 1\r\n";
        ScriviTabellaSqlite("AnagraficaHotels.mdb",
                            {"AnagraficaHotels",
                             {{"Numero", TipoCampo::Intero}, {"CodiceAssistenza", TipoCampo::Testo},
                              {"RagioneSociale", TipoCampo::Testo}},
                             {{N(2), T("altro"), T("Albergo Due")}, {N(1), T("AS-1"), T("Albergo Uno")}}});
        ScriviTabellaSqlite("Contatori.mdb", {"Contatori",
                                              {{"NumeroHotel", TipoCampo::Intero}, {"LungPagComp", TipoCampo::Intero},
                                               {"LungPagNoComp", TipoCampo::Intero}},
                                              {}});
        Destinazioni({"Ufficio", "PDF A", "pdf", "Cassa", "Ufficio PDF"});
    }

    // Destinations of hotel 1 (and one of hotel 2, "Cassa"), named `nomi`;
    // each prints to the file "<position>.prn", or through the driver with the
    // SetStampa groups `compresso` when given.
    static void Destinazioni(const std::vector<const char*>& nomi, const char* compresso = nullptr) {
        Tabella stampanti{"Stampanti",
                          {{"NumeroHotel", TipoCampo::Intero}, {"Destinazione", TipoCampo::Testo},
                           {"Linea", TipoCampo::Testo}, {"TipoStampa", TipoCampo::Intero}},
                          {}};
        for (std::size_t i = 0; i < nomi.size(); ++i)
            stampanti.righe.push_back({N(std::string(nomi[i]) == "Cassa" ? 2 : 1), T(nomi[i]),
                                       Valore::Testo(std::to_string(i) + ".prn"), N(1)});
        fs::remove("Stampanti.mdb");
        ScriviTabellaSqlite("Stampanti.mdb", stampanti);
        Tabella setStampa{"SetStampa",
                          {{"TipoStampa", TipoCampo::Intero}, {"Compresso", TipoCampo::Testo},
                           {"Grassetto", TipoCampo::Testo}},
                          {}};
        if (compresso) setStampa.righe.push_back({N(1), T(compresso), T("")});
        ScriviTabellaSqlite("Stampanti.mdb", setStampa);
    }

    static QStringList Voci(const QComboBox* elenco) {
        QStringList voci;
        for (int i = 0; i < elenco->count(); ++i) voci << elenco->itemText(i);
        return voci;
    }

    bool Apri() {
        if (!menu_.Avvia()) return false;
        menu_.show();
        return QTest::qWaitForWindowActive(&menu_);
    }

    void Premi(int indice) { QTest::mouseClick(menu_.Tst(indice), Qt::LeftButton); }

    CartellaTemporanea cartella_{true};
    VariabileAmbiente postazione_{"PCLocal", "2"};
    StampanteRegistrata stampante_{{}};
    ApriDocumentoRegistrato documenti_;
    AvviaProgrammaRegistrato programmi_;
    MenuStampa menu_{ContestoCorrente(), {stampante_, documenti_, programmi_, OraFissa}, NumeroHotelCorrente};
};

}  // namespace

TEST_F(MenuStampaTest, InvioPremeIlPulsanteEIlFuocoSulleDestinazioniSiVede) {
    ASSERT_TRUE(Apri());
    menu_.Combo1()->setFocus();
    const QImage conFuoco = menu_.Combo1()->grab().toImage();
    menu_.Tst(TstEsporta)->setFocus();
    EXPECT_NE(menu_.Combo1()->grab().toImage(), conFuoco);

    QTest::keyClick(menu_.Tst(TstEsporta), Qt::Key_Return);
    QTest::keyClick(menu_.Tst(TstEsporta), Qt::Key_Enter, Qt::KeypadModifier);
    // Enter held down: its repeats press nothing more.
    QKeyEvent ripetuto(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(menu_.Tst(TstEsporta), &ripetuto);
    EXPECT_EQ(documenti_.aperti, std::vector<std::string>(2, (fs::current_path() / "fd2.csv").string()));
}

TEST_F(MenuStampaTest, CaricamentoEAttivazione) {
    ASSERT_EQ(NumeroHotelCorrente, 0);
    ASSERT_TRUE(Apri());
    // The workstation tells two menus on one screen apart.
    EXPECT_EQ(menu_.windowTitle(), "Stampe non modificabili \u2013 postazione 2");
    EXPECT_TRUE(menu_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(menu_.size(), QSize(TwipInPixelX(menu_, 6165), TwipInPixelY(menu_, 3240)));
    EXPECT_EQ(menu_.Tst(TstStampa)->geometry(), InPixel(menu_, {150, 1800, 855, 855}));
    EXPECT_EQ(menu_.NumeroHotel(), 1);

    EXPECT_EQ(menu_.NomeArchivio(), "doc/fd2202503031405.doc");
    EXPECT_EQ(LeggiFile("doc/fd2202503031405.doc"), "Camera 1\r\n");
    EXPECT_EQ(Voci(menu_.Combo2()), QStringList{"<nessuna stampante>"});
    EXPECT_EQ(Voci(menu_.Combo1()), (QStringList{"Ufficio", "PDF A", "pdf", "Ufficio PDF"}));
    EXPECT_EQ(menu_.Combo1()->currentIndex(), 0);
    EXPECT_EQ(menu_.CodiceAssistenza(), "AS-1");

    fs::remove("FD2");  // the export of a missing report stops with its error
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    Premi(TstEsporta);
    EXPECT_TRUE(documenti_.aperti.empty());
    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_TRUE(risposta.Visti()[0].testo.startsWith("Errore 53: ")) << risposta.Visti()[0].testo.toStdString();
    EXPECT_TRUE(menu_.isVisible());
    std::ofstream("FD2", std::ios::binary) << "Camera 1\r\n";
    Premi(TstEsporta);
    EXPECT_EQ(documenti_.aperti.back(), (fs::current_path() / "fd2.csv").string());
    EXPECT_TRUE(fs::exists("fd2.csv"));

    Premi(TstChiudi);
    EXPECT_FALSE(menu_.isVisible());
}

TEST_F(MenuStampaTest, StampantiInstallateESenzaDestinazioni) {
    StampanteRegistrata stampante({"Laser", "Aghi"});
    MenuStampa conStampanti(ContestoCorrente(), {stampante, documenti_, programmi_, OraFissa}, NumeroHotelCorrente);
    ASSERT_TRUE(conStampanti.Avvia());
    EXPECT_EQ(Voci(conStampanti.Combo2()), (QStringList{"Laser", "Aghi"}));
    EXPECT_EQ(conStampanti.Combo2()->currentText(), "");  // the destination's own printer

    Destinazioni({"Cassa"});
    EXPECT_FALSE(menu_.Avvia());
}

TEST_F(MenuStampaTest, PdfSceglieLUltimaDestinazionePdf) {
    ASSERT_TRUE(Apri());
    Premi(TstPdf);
    EXPECT_EQ(menu_.Combo1()->currentText(), "Ufficio PDF");
    EXPECT_TRUE(fs::exists("4.prn"));
    EXPECT_EQ(menu_.Esito()->text(), "Scritto nel file 4.prn");
    EXPECT_FALSE(fs::exists("1.prn"));

    Destinazioni({"Ufficio", "pdf"});
    MenuStampa senzaPdf(ContestoCorrente(), {stampante_, documenti_, programmi_, OraFissa}, NumeroHotelCorrente);
    ASSERT_TRUE(senzaPdf.Avvia());
    QTest::mouseClick(senzaPdf.Tst(TstStampa), Qt::LeftButton);  // prints on "Ufficio"
    EXPECT_TRUE(fs::exists("0.prn"));
    QString titolo, testo;
    QMessageBox::Icon icona = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* avviso = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(avviso, nullptr);
        titolo = avviso->windowTitle();
        testo = avviso->text();
        icona = avviso->icon();
        avviso->accept();
    });
    QTest::mouseClick(senzaPdf.Tst(TstPdf), Qt::LeftButton);
    EXPECT_EQ(titolo, "Stampa");
    EXPECT_EQ(testo, "Nessuna stampante PDF impostata!");
    EXPECT_EQ(icona, QMessageBox::Warning);
    EXPECT_FALSE(fs::exists("1.prn"));
}

TEST_F(MenuStampaTest, DopoLAnteprimaTornaLaPrimaDestinazione) {
    ASSERT_TRUE(Apri());
    menu_.Combo1()->setCurrentIndex(1);
    bool mostrata = false;
    QTimer::singleShot(0, [&] {
        auto* anteprima = qobject_cast<Anteprima*>(QApplication::activeModalWidget());
        ASSERT_NE(anteprima, nullptr);
        mostrata = anteprima->Text1()->toPlainText() == "Camera 1\n";
        anteprima->close();
    });
    Premi(TstAnteprima);
    EXPECT_TRUE(mostrata);
    EXPECT_EQ(menu_.Combo1()->currentIndex(), 0);
}

// A typed printer never joins the list of installed ones, and one that is no
// printer, port or file is an error; with the report gone, printing and the
// archive copy are Errore 53; a destination whose record is gone is Errore
// 3021; and nothing is written or opened.
TEST_F(MenuStampaTest, StampanteDigitataEReportMancante) {
    fs::remove("FD2");
    ASSERT_TRUE(Apri());
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    Premi(TstArchivio);
    Premi(TstStampa);
    std::ofstream("FD2", std::ios::binary) << "Camera 1\r\n";
    menu_.Combo2()->setFocus();
    QTest::keyClicks(menu_.Combo2(), "Lasr");
    QTest::keyClick(menu_.Combo2(), Qt::Key_Return);
    EXPECT_EQ(Voci(menu_.Combo2()), QStringList{"<nessuna stampante>"});
    Premi(TstStampa);
    // The destination's record gone since the menu listed it.
    Destinazioni({"Cassa"});
    Premi(TstStampa);
    ASSERT_EQ(risposta.Visti().size(), 4u);
    // archive, print, typed, destination
    const std::array<const char*, 4> attesi = {"Errore 53: ", "Errore 53: ", "Errore 482: ", "Errore 3021: "};
    for (std::size_t i = 0; i < attesi.size(); ++i)
        EXPECT_TRUE(risposta.Visti()[i].testo.startsWith(attesi[i])) << risposta.Visti()[i].testo.toStdString();
    EXPECT_TRUE(documenti_.aperti.empty());
    EXPECT_FALSE(fs::exists("0.prn") || fs::exists("Lasr"));
}

// The pages printed through the driver are headed with the hotel, the week
// the menu was opened for and the menu's clock.
TEST_F(MenuStampaTest, IntestazioneDellaStampaTramiteDriver) {
    Destinazioni({"Ufficio"}, "  8  0  0  0  0  1 10");
    StampanteRegistrata stampante;
    MenuStampa menu(ContestoCorrente(), {stampante, documenti_, programmi_, OraFissa}, 1, nullptr, {0, "07/12/2026", nullptr});
    ASSERT_TRUE(menu.Avvia());
    QTest::mouseClick(menu.Tst(TstStampa), Qt::LeftButton);
    EXPECT_NE(std::find(stampante.registro.begin(), stampante.registro.end(),
                        "Riga [Hotel : Albergo Uno   Settimana : 07/12/2026 \x96 13/12/2026   Stampata il 03/03/2025 "
                        "alle 14:05   pagina 1 di 1]"),
              stampante.registro.end());
}

// The PDF button on a full disk: Errore 61 is shown, no PDF opened or left behind.
TEST_F(MenuStampaTest, PdfSuDiscoPieno) {
    Destinazioni({"Ufficio", "Ufficio PDF"}, "  8  0  0  0  0  1 10");
    ScriviFile("FD2", ReportNumerato(3000));
    DiscoPiccolo disco("doc", 32 * 1024);
    if (!disco.Problema().empty()) GTEST_SKIP() << disco.Problema();
    StampanteQt stampante;
    MenuStampa menu(ContestoCorrente(), {stampante, documenti_, programmi_, OraFissa}, NumeroHotelCorrente);
    ASSERT_TRUE(menu.Avvia());
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    QTest::mouseClick(menu.Tst(TstPdf), Qt::LeftButton);
    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_TRUE(risposta.Visti()[0].testo.startsWith("Errore 61: ")) << risposta.Visti()[0].testo.toStdString();
    EXPECT_TRUE(documenti_.aperti.empty());
    EXPECT_TRUE(fs::is_empty("doc"));
}

// After every print, PDF and export the line under the buttons says where it
// went, and where the file is when no program opened it; the PDF button
// writes the PDF whatever "Stampante" holds.
TEST_F(MenuStampaTest, LaRigaDiEsitoDiceDoveEAndataLaStampa) {
    Destinazioni({"Ufficio", "Ufficio PDF"}, "  8  0  0  0  0  1 10");
    StampanteRegistrata stampante({"Laser"});
    MenuStampa menu(ContestoCorrente(), {stampante, documenti_, programmi_, OraFissa}, NumeroHotelCorrente);
    ASSERT_TRUE(menu.Avvia());
    const QString cartella = QDir::current().absolutePath();
    const QString nonAperto = QStringLiteral(", ma il programma per aprirlo non si è avviato: il file è nella cartella ");
    struct Caso {
        int tasto;
        QString stampante;  // typed in "Stampante"
        bool apre;          // whether a program opens the document
        QString inizio, fine;
    };
    for (const auto& caso : std::vector<Caso>{
             // The destination's printer (0.prn) is not installed: the active one prints.
             {TstStampa, "", true, "Stampato su Laser", ""},
             {TstStampa, "Laser", true, "Stampato su Laser", ""},
             {TstPdf, "Laser", true, "PDF salvato in doc/fd2", ".pdf"},
             {TstPdf, "", false, "PDF salvato in doc/fd2", nonAperto + cartella + "/doc"},
             {TstEsporta, "", true, "Esportato nel file fd2.csv", ""},
             {TstEsporta, "", false, "Esportato nel file fd2.csv", nonAperto + cartella}}) {
        SCOPED_TRACE(caso.inizio.toStdString() + " / " + caso.stampante.toStdString());
        menu.Combo2()->setEditText(caso.stampante);
        documenti_.riesce = caso.apre;
        stampante.registro.clear();
        QTest::mouseClick(menu.Tst(caso.tasto), Qt::LeftButton);
        const QString esito = menu.Esito()->text();
        EXPECT_TRUE(esito.startsWith(caso.inizio) && esito.endsWith(caso.fine)) << esito.toStdString();
        const bool suPdf = std::any_of(stampante.registro.begin(), stampante.registro.end(),
                                       [](const std::string& voce) { return voce == "Pdf"; });
        EXPECT_EQ(suPdf, caso.tasto == TstPdf);
    }
}

// A print or PDF of the report keeps the week it was written from, for the
// room rack to show what changes after it; an export keeps nothing. A week
// that cannot be kept leaves the print done and says so on the line.
TEST_F(MenuStampaTest, LaStampaConservaLaSettimanaDelReport) {
    Destinazioni({"Ufficio", "Ufficio PDF"}, "  8  0  0  0  0  1 10");
    StampanteRegistrata stampante({"Laser"});
    TableauStampato tableau{0, "07/12/2026", nullptr};
    SettimanaFatta fatta("20261207");
    fatta.Camera("101").Soggiorno("101", Ospiti("ROSSI", 5, "20261207", "20261209"));
    tableau.settimana = std::make_shared<const Settimana>(fatta.settimana);
    MenuStampa menu(ContestoCorrente(), {stampante, documenti_, programmi_, OraFissa}, NumeroHotelCorrente, nullptr,
                    tableau);
    ASSERT_TRUE(menu.Avvia());
    const fs::path conservata = "doc/stampato2_1_1_20261207.json";
    struct Caso {
        int tasto;
        bool conserva;       // whether the button keeps the week
        bool impedita;       // a folder stands where the week is kept
        QString fine;        // how the line ends
    };
    const QString nonConservata = QStringLiteral(" (le variazioni da questa stampa non potranno essere mostrate: Errore ");
    for (const auto& caso : std::vector<Caso>{{TstEsporta, false, false, ".csv"},
                                              {TstStampa, true, false, "Laser"},
                                              {TstPdf, true, false, ".pdf"},
                                              {TstStampa, false, true, ")"}}) {
        SCOPED_TRACE(caso.tasto);
        fs::remove_all(conservata);
        if (caso.impedita) fs::create_directories(conservata / "x");
        QTest::mouseClick(menu.Tst(caso.tasto), Qt::LeftButton);
        const QString esito = menu.Esito()->text();
        EXPECT_TRUE(esito.endsWith(caso.fine)) << esito.toStdString();
        EXPECT_EQ(esito.contains(nonConservata), caso.impedita) << esito.toStdString();
        EXPECT_EQ(fs::is_regular_file(conservata), caso.conserva);
        if (caso.conserva) {
            EXPECT_NE(LeggiFile(conservata).find("ROSSI"), std::string::npos);
        }
    }
}

// The archive copy (Windows-1252 text) is shown readably, read only, in a
// window of the program's own.
TEST_F(MenuStampaTest, LaCopiaInArchivioSiLeggeNelProgramma) {
    ScriviFile("FD2", "Luned\xEC 30/11 \xB3 Gar\xE7on\r\n");
    ASSERT_TRUE(Apri());
    QString titolo, testo;
    bool solaLettura = false;
    QTimer::singleShot(0, [&] {
        auto* vista = qobject_cast<VistaArchivio*>(QApplication::activeModalWidget());
        ASSERT_NE(vista, nullptr);
        titolo = vista->windowTitle();
        testo = vista->Testo()->toPlainText();
        solaLettura = vista->Testo()->isReadOnly();
        QTest::mouseClick(vista->Chiudi(), Qt::LeftButton);
    });
    Premi(TstArchivio);
    EXPECT_EQ(titolo, "Copia in archivio \u2013 fd2202503031405.doc");
    EXPECT_EQ(testo, "Luned\u00ec 30/11 | Gar\u00e7on\n");
    EXPECT_TRUE(solaLettura);
    EXPECT_TRUE(documenti_.aperti.empty());
    EXPECT_TRUE(menu_.isVisible());
}

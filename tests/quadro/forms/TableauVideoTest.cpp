#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPdfWriter>
#include <QSettings>
#include <QTextBrowser>
#include <QToolButton>

#include "common/Errore.h"
#include "common/Routine.h"
#include "quadro/forms/StampantePagine.h"
#include "quadro/forms/TableauVideo.h"
#include "support/PiattaformaRegistrata.h"
#include "support/ProveForms.h"
#include "support/SettimanaFatta.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// Prints into a PDF in memory and counts the pages.
class StampantePagineRegistrata : public StampantePagine {
public:
    class Pdf : public QPdfWriter {
    public:
        using QPdfWriter::QPdfWriter;
        bool newPage() override {
            ++pagine;
            return QPdfWriter::newPage();
        }
        int pagine = 1;
    };
    std::string nome = "Stampante di prova";  // "" as when the user gives up in the dialog
    std::vector<int> stampate;                // pages of each document printed
    std::vector<FormatoCarta> formati;
    std::string Stampa(QWidget*, FormatoCarta formato, const DisegnoPagine& disegna) override {
        if (nome.empty()) return nome;
        QBuffer memoria;
        memoria.open(QIODevice::WriteOnly);
        Pdf pdf(&memoria);
        QPainter pittore(&pdf);
        disegna(pdf, pittore);
        stampate.push_back(pdf.pagine);
        formati.push_back(formato);
        return nome;
    }
};

// 9 December 2026, 10:00: a Wednesday.
std::tm Adesso() { return Ora(9, 12, 2026, 10, 0); }

// Workstation 2's data folder, its settings in a folder of the test's own, and
// a hotel of four rooms whose week any start day gives.
class TableauVideoTest : public ::testing::Test {
protected:
    TableauVideoTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(impostazioni_.Percorso().string()));
    }

    Settimana Costruisci(const std::string& data) {
        chieste.push_back(data);
        if (data == "01/01/2030") throw Errore(NumeroErrore::FileNonTrovato, "Manca il database 'Scheda_Cliente.mdb'.");
        SettimanaFatta s(DataTabella(GiornoDiCalendario(data)));
        s.Camera("101", "DBL", 1).Camera("102", "SGL", 1).Camera("201", "SGL", 2, true).Camera("202", "DBL", 2);
        s.Soggiorno("101", Ospiti("ROSSI MARIO", 70001, "20261205", partenzaRossi));
        s.Soggiorno("202", Prenotati("VERDI ANNA", 501, "O", "20261209", "20261211"));
        return s.settimana;
    }

    std::unique_ptr<TableauVideo> Finestra(const std::string& postazione = "2") {
        auto finestra = std::make_unique<TableauVideo>(
            cartella_.Dati(postazione), [this](const std::string& data) { return Costruisci(data); },
            ServiziQuadro{stampante, documenti, programmi, Adesso});
        finestra->resize(1200, 700);
        finestra->show();
        EXPECT_TRUE(finestra->Avvia("07/12/2026"));
        return finestra;
    }

    static void Tasto(QWidget* dove, Qt::Key tasto) { QTest::keyClick(dove, tasto); }

    CartellaTemporanea impostazioni_;
    CartellaTemporanea cartella_;
    std::vector<std::string> chieste;
    std::string partenzaRossi = "20261212";
    StampantePagineRegistrata stampante;
    ApriDocumentoRegistrato documenti;
    AvviaProgrammaRegistrato programmi;
};

}  // namespace

TEST_F(TableauVideoTest, PassiDiSettimanaEGiornoDaiTastiEDallaData) {
    auto finestra = Finestra();
    GrigliaQuadro* griglia = finestra->Griglia();
    EXPECT_EQ(finestra->Vista().oggi, 2);
    struct Passo {
        std::function<void()> azione;
        std::string data;
    };
    const std::vector<Passo> passi = {
        {[&] { Tasto(griglia, Qt::Key_PageDown); }, "14/12/2026"},
        {[&] { Tasto(griglia, Qt::Key_PageUp); }, "07/12/2026"},
        {[&] { griglia->ImpostaCorrente(0, 6), Tasto(griglia, Qt::Key_Right); }, "08/12/2026"},
        {[&] { griglia->ImpostaCorrente(0, 0), Tasto(griglia, Qt::Key_Left); }, "07/12/2026"},
        {[&] { Tasto(griglia, Qt::Key_Home); }, "09/12/2026"},
        {[&] { finestra->CampoData()->setText("261226"), Tasto(finestra->CampoData(), Qt::Key_Return); }, "26/12/2026"},
        {[&] { finestra->Sposta(7); }, "02/01/2027"},
    };
    for (const Passo& passo : passi) {
        passo.azione();
        EXPECT_EQ(finestra->DataInizio(), passo.data);
        EXPECT_EQ(chieste.back(), passo.data);
        EXPECT_EQ(finestra->CampoData()->text().toStdString(), passo.data);
        EXPECT_EQ(finestra->SettimanaMostrata().giorni[0].data, DataTabella(GiornoDiCalendario(passo.data)));
    }
    EXPECT_EQ(finestra->Vista().oggi, -1);

    // A date that is none, and a build that fails: said, and the week shown stays.
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    finestra->CampoData()->setText("31/02/2027");
    Tasto(finestra->CampoData(), Qt::Key_Return);
    finestra->VaiA("01/01/2030");
    ASSERT_EQ(risposta.Visti().size(), 2u);
    EXPECT_EQ(risposta.Visti()[0].titolo, "Data errata!");
    EXPECT_EQ(risposta.Visti()[1].titolo, "Errore");
    EXPECT_EQ(risposta.Visti()[1].testo, "Errore 3024: Manca il database 'Scheda_Cliente.mdb'.");
    EXPECT_EQ(finestra->DataInizio(), "02/01/2027");
    EXPECT_EQ(finestra->CampoData()->text(), "02/01/2027");
}

TEST_F(TableauVideoTest, FiltriERicercaPerNome) {
    auto finestra = Finestra();
    const auto scegli = [](QComboBox* elenco, const QString& voce) {
        elenco->setCurrentIndex(elenco->findText(voce));
    };
    struct Caso {
        QString tipo, piano, stato;
        std::vector<std::size_t> righe;
    };
    for (const Caso& caso : std::vector<Caso>{{"Tutti", "Tutti", "Tutti", {0, 1, 2, 3}},
                                              {"SGL", "Tutti", "Tutti", {1, 2}},
                                              {"SGL", "2", "Tutti", {2}},
                                              {"Tutti", "2", "Opzione", {3}},
                                              {"Tutti", "Tutti", "Fuori servizio", {2}},
                                              {"Tutti", "Tutti", "Ospite registrato", {0}},
                                              {"DBL", "1", "Prenotazione C", {}}}) {
        scegli(finestra->FiltroTipo(), caso.tipo);
        scegli(finestra->FiltroPiano(), caso.piano);
        scegli(finestra->FiltroStato(), caso.stato);
        EXPECT_EQ(finestra->Vista().righe, caso.righe) << caso.tipo.toStdString() << caso.piano.toStdString()
                                                       << caso.stato.toStdString();
    }
    EXPECT_EQ(finestra->Vista().totali[0].fuoriServizio, 0);
    for (QComboBox* filtro : {finestra->FiltroTipo(), finestra->FiltroPiano(), finestra->FiltroStato()})
        scegli(filtro, "Tutti");
    EXPECT_EQ(finestra->Vista().totali[0].fuoriServizio, 1);

    // ROSSI MARIO is in 101 from the 7th (day 0) to his departure on the 12th (day 5).
    finestra->Ricerca()->setText("rossi");
    EXPECT_EQ(finestra->Trovate()->text(), "6 celle trovate");
    const std::array<bool, 7> rossi = {true, true, true, true, true, true, false};
    EXPECT_EQ(finestra->Vista().trovate[0], rossi);
    finestra->Griglia()->ImpostaCorrente(0, 3);
    Tasto(finestra->Ricerca(), Qt::Key_Return);
    EXPECT_EQ(finestra->Griglia()->GiornoCorrente(), 4);
    finestra->Ricerca()->setText("anna");
    EXPECT_EQ(finestra->Trovate()->text(), "3 celle trovate");
    finestra->Ricerca()->clear();
    EXPECT_EQ(finestra->Trovate()->text(), "");
}

TEST_F(TableauVideoTest, UnClicOInvioApronoLaCella) {
    auto finestra = Finestra();
    GrigliaQuadro* griglia = finestra->Griglia();
    QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, griglia->RettangoloCella(0, 1).center());
    ASSERT_TRUE(finestra->Dettagli()->isVisible());
    const QString rossi = finestra->TestoDettagli()->toPlainText();
    for (const char* atteso : {"Camera 101 (DBL) \u2013 Marted\u00ec 08/12/2026", "Ospite registrato: ROSSI MARIO",
                               "Arrivo 05/12/2026, partenza 12/12/2026 (7 notti), in soggiorno", "Persone: 2",
                               "Pagamento: C", "Importo del giorno: 85", "Conto n. 70001", "Mostrata nel report"})
        EXPECT_TRUE(rossi.contains(QString::fromUtf8(atteso))) << atteso << "\n" << rossi.toStdString();
    finestra->Dettagli()->close();

    griglia->setFocus();
    griglia->ImpostaCorrente(3, 1);
    Tasto(griglia, Qt::Key_Down);
    Tasto(griglia, Qt::Key_Right);
    Tasto(griglia, Qt::Key_Return);
    EXPECT_EQ(griglia->RigaCorrente(), 3u);
    EXPECT_EQ(griglia->GiornoCorrente(), 2);
    EXPECT_TRUE(finestra->Dettagli()->isVisible());
    const QString verdi = finestra->TestoDettagli()->toPlainText();
    EXPECT_TRUE(verdi.contains("Opzione: VERDI ANNA")) << verdi.toStdString();
    EXPECT_TRUE(verdi.contains("Agenzia: Agenzia Sole")) << verdi.toStdString();
    EXPECT_TRUE(verdi.contains("Prenotazione n. 501")) << verdi.toStdString();
}

TEST_F(TableauVideoTest, FiltriECartaRicordatiPerPostazione) {
    {
        auto finestra = Finestra("2");
        finestra->FiltroTipo()->setCurrentIndex(finestra->FiltroTipo()->findText("SGL"));
        finestra->FiltroPiano()->setCurrentIndex(finestra->FiltroPiano()->findText("1"));
        finestra->FiltroStato()->setCurrentIndex(finestra->FiltroStato()->findText("Libera"));
        finestra->A3()->setChecked(true);
        finestra->close();
    }
    auto stessa = Finestra("2");
    EXPECT_EQ(stessa->FiltroTipo()->currentText(), "SGL");
    EXPECT_EQ(stessa->FiltroPiano()->currentText(), "1");
    EXPECT_EQ(stessa->FiltroPiano()->count(), 3);
    EXPECT_EQ(stessa->FiltroStato()->currentText(), "Libera");
    EXPECT_TRUE(stessa->A3()->isChecked());
    EXPECT_EQ(stessa->Vista().righe, (std::vector<std::size_t>{1}));
    auto altra = Finestra("5");
    EXPECT_EQ(altra->FiltroTipo()->currentText(), "Tutti");
    EXPECT_FALSE(altra->A3()->isChecked());
}

// Printed, saved as PDF or mailed, the week is kept; opened again, its changes are marked and listed.
TEST_F(TableauVideoTest, StampaPdfEMailEVariazioniDallUltimaStampa) {
    auto finestra = Finestra();
    EXPECT_FALSE(finestra->RiquadroVariazioni()->isVisibleTo(finestra.get()));
    const fs::path conservata = cartella_.Percorso() / "doc" / "stampato2_1_1_20261207.json";

    stampante.nome.clear();
    finestra->TastoStampa()->click();
    EXPECT_FALSE(fs::exists(conservata));

    stampante.nome = "Stampante di prova";
    finestra->A3()->setChecked(true);
    finestra->TastoStampa()->click();
    EXPECT_EQ(stampante.stampate, std::vector<int>{1});
    EXPECT_EQ(stampante.formati, std::vector<FormatoCarta>{FormatoCarta::A3});
    EXPECT_EQ(finestra->Esito()->text(), "Stampato su Stampante di prova");
    EXPECT_TRUE(fs::exists(conservata));
    EXPECT_TRUE(finestra->RiquadroVariazioni()->isVisibleTo(finestra.get()));
    EXPECT_EQ(finestra->RiquadroVariazioni()->title(), "Variazioni dall'ultima stampa (09/12/2026 10:00)");
    EXPECT_EQ(finestra->ElencoVariazioni()->item(0)->text(), "Nessuna variazione");

    finestra->TastoPdf()->click();
    const fs::path pdf = cartella_.Percorso() / "doc" / "quadro2202612091000.pdf";
    EXPECT_TRUE(LeggiFile(pdf).starts_with("%PDF-"));
    EXPECT_EQ(documenti.aperti, std::vector<std::string>{(cartella_.Percorso() / "doc/quadro2202612091000.pdf").string()});
    EXPECT_EQ(finestra->Esito()->text(), "PDF salvato in doc/quadro2202612091000.pdf");

    finestra->TastoEMail()->click();
    EXPECT_EQ(programmi.avviati, std::vector<std::string>{"brovinvio"});
    EXPECT_EQ(programmi.argomenti.back(), (std::vector<std::string>{"--allega", "doc/quadro2202612091000.pdf"}));
    EXPECT_TRUE(LeggiFile(cartella_.Percorso() / "e-mail2.txt").starts_with("OGGETTO\r\nHotel : Hotel Prova"));

    // Another day, another window: Rossi leaves two days earlier.
    finestra.reset();
    partenzaRossi = "20261210";
    auto dopo = Finestra();
    ASSERT_TRUE(dopo->RiquadroVariazioni()->isVisibleTo(dopo.get()));
    ASSERT_EQ(dopo->ElencoVariazioni()->count(), 1);
    EXPECT_EQ(dopo->ElencoVariazioni()->item(0)->text(), "101: ROSSI MARIO, 05/12 - 10/12, accorciata (era 05/12 - 12/12)");
    for (int k = 0; k < 7; ++k) EXPECT_EQ(dopo->Vista().variazioni.Marcata(0, k), k <= 5) << k;
    dopo->Griglia()->ImpostaCorrente(3, 4);
    emit dopo->ElencoVariazioni()->itemClicked(dopo->ElencoVariazioni()->item(0));
    EXPECT_EQ(dopo->Griglia()->RigaCorrente(), 0u);
    EXPECT_EQ(dopo->Griglia()->GiornoCorrente(), 0);
    EXPECT_FALSE(dopo->Vista().variazioni.Marcata(3, 2));
    // Another week was never printed: nothing is marked.
    dopo->Sposta(1);
    EXPECT_FALSE(dopo->RiquadroVariazioni()->isVisibleTo(dopo.get()));
    EXPECT_FALSE(dopo->Vista().variazioni.Marcata(0, 0));

    // A kept file damaged: the week shows, the box says why its changes do not.
    ScriviFile(conservata, "{\"formato\":1,");
    dopo->Sposta(-1);
    ASSERT_TRUE(dopo->RiquadroVariazioni()->isVisibleTo(dopo.get()));
    EXPECT_TRUE(dopo->ElencoVariazioni()->item(0)->text().startsWith("Errore 3343: Il tableau stampato "
                                                                     "'doc/stampato2_1_1_20261207.json' è danneggiato"));
    EXPECT_EQ(dopo->Vista().righe.size(), 4u);
}

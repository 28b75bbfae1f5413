#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "common/Routine.h"
#include "common/forms/Aspetto.h"
#include "common/piattaforma/qt/AvviaProgrammaQt.h"
#include "preview/forms/Anteprima.h"
#include "support/PiattaformaRegistrata.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

enum { Esci, Riduci, Espandi, Avanti, Inizio, EMail, Salva };

class AnteprimaTest : public ::testing::Test {
protected:
    void ScriviReport(const char* nome, const std::string& contenuto) {
        ScriviFile(cartella_.Percorso() / nome, contenuto);
    }

    int RigheMostrate() const { return anteprima_.Text1()->document()->blockCount() - 1; }
    QString PrimaRiga() const {
        return anteprima_.Text1()->document()->firstBlock().text().section(QLatin1Char(' '), 0, 0);
    }
    void Premi(int indice) { QTest::mouseClick(anteprima_.Tasto(indice), Qt::LeftButton); }

    bool Apri() {
        if (!anteprima_.Avvia()) return false;
        anteprima_.show();
        return QTest::qWaitForWindowActive(&anteprima_);
    }

    CartellaTemporanea cartella_{true};
    VariabileAmbiente postazione_{"PCLocal", "3"};
    AvviaProgrammaRegistrato postino_;
    Anteprima anteprima_{ContestoCorrente(), postino_};
};

}  // namespace

TEST_F(AnteprimaTest, PagineZoomEDisposizione) {
    ScriviReport("FD3", ReportNumerato(197));
    ASSERT_TRUE(Apri());
    EXPECT_EQ(anteprima_.windowTitle(), "Anteprima di Stampa");
    EXPECT_TRUE(anteprima_.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(anteprima_.Text1()->palette().color(QPalette::Base), QColor(255, 255, 192));
    EXPECT_EQ(anteprima_.Tasto(Salva)->text(), "Sa&lva");
    // The buttons in a row under the box; "&Esci" reaches the right edge.
    const int altezza = PixelInTwipY(anteprima_, anteprima_.height()) + 520;
    EXPECT_EQ(anteprima_.Tasto(Avanti)->y(), TwipInPixelY(anteprima_, altezza - (1687 + 10)));
    EXPECT_EQ(anteprima_.Tasto(Esci)->width(),
              TwipInPixelX(anteprima_, PixelInTwipX(anteprima_, anteprima_.width()) + 75 - 6795 - 150));

    // 152 lines of 132 characters fill the first page; the bars shown as "|".
    EXPECT_EQ(RigheMostrate(), 152);
    EXPECT_TRUE(anteprima_.Text1()->document()->firstBlock().text().endsWith("|"));
    Premi(Avanti);
    EXPECT_EQ(RigheMostrate(), 45);
    EXPECT_EQ(PrimaRiga(), "153");
    EXPECT_EQ(anteprima_.AltroTesto(), 0);
    anteprima_.Text1()->setPlainText("non salvato");
    Premi(Avanti);  // at the end: the text stays
    EXPECT_EQ(anteprima_.Text1()->toPlainText(), "non salvato");
    EXPECT_EQ(QApplication::focusWidget(), anteprima_.Text1());
    Premi(Inizio);  // 26000 characters now
    EXPECT_EQ(RigheMostrate(), 197);

    EXPECT_EQ(anteprima_.Text1()->font().pointSizeF(), 11.25);
    Premi(Espandi);
    EXPECT_EQ(anteprima_.Text1()->font().pointSizeF(), 12.25);
    for (int i = 0; i < 15; ++i) Premi(Riduci);
    EXPECT_EQ(anteprima_.Text1()->font().pointSizeF(), 0.25);  // the first size not above 1 point

    Premi(Esci);
    EXPECT_FALSE(anteprima_.isVisible());
}

TEST_F(AnteprimaTest, SenzaReportSiChiudeDaSola) {
    // The builder writes FD01 for the workstation "01", and that is what is read.
    VariabileAmbiente postazione("PCLocal", "01");
    ScriviReport("FD1", ReportNumerato(1));
    EXPECT_FALSE(anteprima_.Avvia());
    ScriviReport("FD01", ReportNumerato(2));
    Anteprima anteprima(ContestoCorrente(), postino_);
    ASSERT_TRUE(anteprima.Avvia());
    EXPECT_EQ(anteprima.Text1()->document()->blockCount(), 3);
}

TEST_F(AnteprimaTest, EMailSenzaPostinoErrore53) {
    ScriviReport("FD3", ReportNumerato(1));
    CartellaTemporanea vuota;
    VariabileAmbiente percorso("PATH", vuota.Percorso().c_str());
    AvviaProgrammaQt avvia;
    Anteprima anteprima(ContestoCorrente(), avvia);
    ASSERT_TRUE(anteprima.Avvia());
    anteprima.show();
    anteprima.Text1()->setPlainText(QStringLiteral("Camera 1 \u00e8\nlibera"));
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    QTest::mouseClick(anteprima.Tasto(EMail), Qt::LeftButton);
    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_EQ(risposta.Visti()[0].testo, "Errore 53: File non trovato: 'brovinvio'.");
    EXPECT_TRUE(anteprima.isVisible());
    // The mail file, written before the start was tried, stays.
    EXPECT_EQ(LeggiFile(cartella_.Percorso() / "e-mail3.txt"), "OGGETTO\r\nCamera 1 \xE8\r\nlibera\r\n");
}

TEST_F(AnteprimaTest, SalvaRifiutaUnReportRifattoEdEMailTengonoOgniByte) {
    // Every byte but the line ends and the box-drawing codes, which the preview shows as "|" and "-".
    std::string byte;
    for (int c = 0; c < 256; ++c) {
        std::string carattere(1, static_cast<char>(c));
        if (c != '\r' && c != '\n' && ConvertiCornici(carattere) == std::string(1, static_cast<char>(c)))
            byte += carattere;
    }
    const std::string report = "prima \xA0riga\r\n" + byte + "\r\n";
    ScriviReport("FD3", report);
    ASSERT_TRUE(Apri());
    Premi(Salva);
    EXPECT_EQ(LeggiFile(cartella_.Percorso() / "FD3"), report);
    Premi(EMail);
    EXPECT_EQ(LeggiFile(cartella_.Percorso() / "e-mail3.txt"), "OGGETTO\r\n" + report + "\r\n");

    // Another build replaces the report while the page is being edited: the
    // save is refused, the new report stays and so does the edit.
    anteprima_.Text1()->setPlainText(QStringLiteral("modificata"));
    const fs::path nuovo = cartella_.Percorso() / "nuovo";
    ScriviFile(nuovo, ReportNumerato(3));
    fs::rename(nuovo, cartella_.Percorso() / "FD3");
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    Premi(Salva);
    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_TRUE(risposta.Visti()[0].testo.startsWith("Errore 75: ")) << risposta.Visti()[0].testo.toStdString();
    EXPECT_EQ(LeggiFile(cartella_.Percorso() / "FD3"), ReportNumerato(3));
    EXPECT_EQ(anteprima_.Text1()->toPlainText(), "modificata");
}

TEST_F(AnteprimaTest, InvioPremeIlTastoCheHaIlFuoco) {
    ScriviReport("FD3", ReportNumerato(1));
    ASSERT_TRUE(Apri());
    const double punti = anteprima_.Text1()->font().pointSizeF();
    anteprima_.Tasto(Espandi)->setFocus();
    QTest::keyClick(anteprima_.Tasto(Espandi), Qt::Key_Return);
    QTest::keyClick(anteprima_.Tasto(Espandi), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(anteprima_.Text1()->font().pointSizeF(), punti + 2);
    QTest::keyClick(anteprima_.Tasto(Esci), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_FALSE(anteprima_.isVisible());
}

// An edited page is not dropped without a word: "&Avanti", "&Inizio" and
// "&Esci" ask "Salvare le modifiche alla pagina?"; "Si" saves and goes on, "No"
// goes on, "Annulla" stays. A page left as shown goes without a question.
TEST_F(AnteprimaTest, LaPaginaModificataNonSiPerdeSenzaChiedere) {
    constexpr int kSi = 0, kNo = 1, kAnnulla = 2, kNessunaModifica = -1;
    struct Caso {
        int tasto;
        int risposta;
        bool resta;    // the edited page is still shown
        bool salvata;  // the edit is in the report
    };
    for (const auto& caso : std::vector<Caso>{{Avanti, kNessunaModifica, false, false},
                                              {Avanti, kNo, false, false},
                                              {Inizio, kAnnulla, true, false},
                                              {Esci, kAnnulla, true, false},
                                              {Esci, kSi, false, true}}) {
        SCOPED_TRACE(std::to_string(caso.tasto) + " " + std::to_string(caso.risposta));
        ScriviReport("FD3", ReportNumerato(197));
        Anteprima anteprima(ContestoCorrente(), postino_);
        ASSERT_TRUE(anteprima.Avvia());
        anteprima.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&anteprima));
        const bool modificata = caso.risposta != kNessunaModifica;
        if (modificata) QTest::keyClicks(anteprima.Text1(), "X");
        RispostaMessaggi risposta(RispostaMessaggi::Clic(std::max(caso.risposta, 0)));
        QTest::mouseClick(anteprima.Tasto(caso.tasto), Qt::LeftButton);
        ASSERT_EQ(risposta.Visti().size(), modificata ? 1u : 0u);
        if (modificata) {
            EXPECT_EQ(risposta.Visti()[0].testo, "Salvare le modifiche alla pagina?");
        }
        EXPECT_EQ(anteprima.isVisible(), caso.tasto != Esci || caso.resta);
        EXPECT_EQ(anteprima.Text1()->toPlainText().startsWith("X"), caso.resta || caso.salvata);
        EXPECT_EQ(LeggiFile(cartella_.Percorso() / "FD3").starts_with("X"), caso.salvata);
        anteprima.Text1()->document()->setModified(false);
    }
}

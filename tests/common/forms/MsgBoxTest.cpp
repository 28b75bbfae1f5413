#include <QGuiApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "common/forms/MostraMessaggio.h"
#include "common/forms/MsgBox_Form.h"
#include "support/ProveForms.h"

namespace {

const QString kCamere = QStringLiteral("Controllare l'intervallo di camere richiesto!");
const QString kData = QStringLiteral("La data deve essere inserita \r\nnel formato gg/mm/aaaa");

// State of a box seen from inside its modal wait.
struct Fotografia {
    RettangoloTwip forma;
    RettangoloTwip text1;
    std::array<RettangoloTwip, 3> t;
    std::array<bool, 3> visibile{};
    std::array<QString, 3> didascalia;
    QWidget* fuoco = nullptr;
    int indiceFuoco = -1;
    QSize pixel;
    Qt::WindowFlags flag;
    int righeMostrate = 0;  // lines the first paragraph of the message takes on screen
};

// Photographs the box, then answers it with `poi`.
RispostaMessaggi::Azione Fotografa(Fotografia& foto, RispostaMessaggi::Azione poi) {
    return [&foto, poi](MsgBox_Form& box) {
        foto.forma = box.Forma();
        foto.text1 = box.GeometriaText1();
        foto.fuoco = QApplication::focusWidget();
        for (int i = 0; i < 3; ++i) {
            foto.t[i] = box.GeometriaT(i);
            foto.visibile[i] = box.T(i)->isVisible();
            foto.didascalia[i] = box.T(i)->text();
            if (foto.fuoco == box.T(i)) foto.indiceFuoco = i;
        }
        foto.pixel = box.size();
        foto.flag = box.windowFlags();
        QCoreApplication::processEvents();
        foto.righeMostrate = box.Text1()->document()->firstBlock().layout()->lineCount();
        poi(box);
    };
}

// Presses `tasto` on the control that holds the focus.
RispostaMessaggi::Azione Tasto(Qt::Key tasto) {
    return [tasto](MsgBox_Form&) { QTest::keyClick(QApplication::focusWidget(), tasto); };
}

}  // namespace

TEST(CalcoloMisure, RigheContanoIRitorniACapoPiuUna) {
    EXPECT_EQ(MsgBox_Form::CalcolaRighe(kCamere), 2);
    EXPECT_EQ(MsgBox_Form::CalcolaRighe(kData), 3);
    EXPECT_EQ(MsgBox_Form::CalcolaRighe(QStringLiteral("a\rb\rc")), 4);
}

TEST(CalcoloMisure, ColonneDallaRigaPiuLargaConMinimo50) {
    EXPECT_EQ(MsgBox_Form::CalcolaColonne(QString()), 51);
    EXPECT_EQ(MsgBox_Form::CalcolaColonne(kCamere), 51);
    EXPECT_EQ(MsgBox_Form::CalcolaColonne(QString(80, 'x')), 81);
    // The widest line may be the first, a middle one or the last.
    EXPECT_EQ(MsgBox_Form::CalcolaColonne(QString(70, 'x') + "\r\nab"), 71);
    EXPECT_EQ(MsgBox_Form::CalcolaColonne("ab\r\n" + QString(60, 'x') + "\r\nab"), 62);  // LF counts
    EXPECT_EQ(MsgBox_Form::CalcolaColonne("ab\r" + QString(60, 'x')), 61);
}

TEST(MostraMessaggio, UnSoloOkPerIlMessaggioDelleCamere) {
    Fotografia foto;
    RispostaMessaggi risposta(Fotografa(foto, RispostaMessaggi::Clic(0)));
    EXPECT_EQ(MostraMessaggio(kCamere, 48, QStringLiteral("Camere errate!")), 0);

    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_EQ(risposta.Visti()[0].titolo, "Camere errate!");
    EXPECT_EQ(risposta.Visti()[0].testo, kCamere);
    EXPECT_EQ(foto.forma.Width, 4590);
    EXPECT_EQ(foto.text1.Width, 4410);
    EXPECT_EQ(foto.text1.Height, 600);
    EXPECT_EQ(foto.forma.Height, 600 + 375 + 615 + 300);
    EXPECT_EQ(foto.t[0].Top, 480 + 600 + 100);
    EXPECT_EQ(foto.t[0].Left, (4695 - 975) / 2);
    EXPECT_EQ(foto.visibile, (std::array<bool, 3>{true, false, false}));
    EXPECT_EQ(foto.didascalia[0], "Ok");
}

TEST(MostraMessaggio, MisureInPixelSeguonoLaRisoluzioneDelloSchermo) {
    Fotografia foto;
    RispostaMessaggi risposta(Fotografa(foto, RispostaMessaggi::Clic(0)));
    MostraMessaggio(kData, 48, QStringLiteral("Data errata!"));
    QWidget campione;
    EXPECT_EQ(foto.text1.Height, 900);
    EXPECT_EQ(foto.pixel.width(), qRound(4590.0 * campione.logicalDpiX() / 1440));
    EXPECT_EQ(foto.pixel.height(), qRound(foto.forma.Height * double(campione.logicalDpiY()) / 1440));
}

TEST(MostraMessaggio, SiAperturaCentrataSenzaCorniceESopraTutto) {
    Fotografia foto;
    RispostaMessaggi risposta(Fotografa(foto, RispostaMessaggi::Clic(0)));
    MostraMessaggio(kCamere, 0, QStringLiteral("Prova"));
    QWidget campione;
    const QRect schermo = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(foto.forma.Left, (PixelInTwipX(campione, schermo.width()) - 4695) / 2);
    EXPECT_EQ(foto.forma.Top, (PixelInTwipY(campione, schermo.height()) - 3135) / 2);
    EXPECT_TRUE(foto.flag.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(foto.flag.testFlag(Qt::WindowStaysOnTopHint));
}

TEST(MostraMessaggio, RigaLungaAllargaIlBoxMaIPulsantiRestanoAlCentroDelDisegno) {
    // A line takes its columns of 90 twips (and one more); a line of wide
    // letters that these would not hold widens the box to the line, which
    // then does not wrap.
    for (const QString& riga : {QString(80, 'i'), QString(70, 'x')}) {
        Fotografia foto;
        RispostaMessaggi risposta(Fotografa(foto, RispostaMessaggi::Clic(0)));
        MostraMessaggio(riga, 48, QStringLiteral("Lunga"));
        const int colonne = (static_cast<int>(riga.size()) + 1) * 90;
        if (riga[0] == 'i') {
            EXPECT_EQ(foto.forma.Width, colonne);
        } else {
            EXPECT_GT(foto.forma.Width, colonne);
        }
        EXPECT_EQ(foto.text1.Width, foto.forma.Width - 180);
        EXPECT_EQ(foto.t[0].Left, 1860);
        EXPECT_EQ(foto.righeMostrate, 1) << riga.toStdString();
    }
}

// The buttons each style shows, where they stand and which holds the focus:
// Si/No with the focus on Si, also for styles 200 to 400 by the tab order; a
// style not known leaves the buttons as drawn.
TEST(MostraMessaggio, PulsantiEFuocoSecondoLoStile) {
    struct Caso {
        std::int16_t stile;
        RispostaMessaggi::Azione risposta;
        std::int16_t esito;
        std::vector<QString> didascalie;  // of the first buttons
        std::array<bool, 3> visibile;
        std::vector<int> sinistra;        // Left of the first buttons
        int fuoco;                        // index of the button with the focus; -1: not checked
    };
    const int siNo = (4695 - (2 * 975 + 70)) / 2, siNoAnnulla = (4695 - (3 * 975 + 140)) / 2;
    const std::vector<Caso> casi = {
        {36, RispostaMessaggi::Clic(0), 6, {"Si", "No"}, {true, true, false}, {siNo, siNo + 975 + 70}, 0},
        {36, RispostaMessaggi::Clic(1), 7, {"Si", "No"}, {true, true, false}, {siNo, siNo + 975 + 70}, 0},
        {51, RispostaMessaggi::Clic(2), 2, {"Si", "No", "Annulla"}, {true, true, true},
         {siNoAnnulla, siNoAnnulla + 1045, siNoAnnulla + 2 * 1045}, 0},
        {200, Tasto(Qt::Key_Space), 6, {}, {true, true, false}, {}, 0},
        {250, Tasto(Qt::Key_Space), 6, {}, {true, true, false}, {}, 0},
        {400, Tasto(Qt::Key_Space), 6, {}, {true, true, false}, {}, 0},
        {16, RispostaMessaggi::Clic(1), 7, {"Ok", "Ok", "Annulla"}, {true, true, true}, {120, 1200, 2280}, -1},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.stile);
        Fotografia foto;
        RispostaMessaggi risposta(Fotografa(foto, caso.risposta));
        EXPECT_EQ(MostraMessaggio(kCamere, caso.stile, QStringLiteral("Domanda")), caso.esito);
        EXPECT_EQ(foto.visibile, caso.visibile);
        for (std::size_t i = 0; i < caso.didascalie.size(); ++i) EXPECT_EQ(foto.didascalia[i], caso.didascalie[i]);
        for (std::size_t i = 0; i < caso.sinistra.size(); ++i) EXPECT_EQ(foto.t[i].Left, caso.sinistra[i]) << i;
        if (caso.fuoco >= 0) {
            EXPECT_EQ(foto.indiceFuoco, caso.fuoco);
        }
    }
}

TEST(MostraMessaggio, ChiusoSenzaPulsanteNonRipeteLaRispostaPrecedente) {
    {
        RispostaMessaggi si(RispostaMessaggi::Clic(0));
        ASSERT_EQ(MostraMessaggio(kCamere, 4, QStringLiteral("Prima")), 6);
    }
    RispostaMessaggi esc(Tasto(Qt::Key_Escape));
    EXPECT_EQ(MostraMessaggio(kCamere, 48, QStringLiteral("Ok")), 0);
    EXPECT_EQ(MostraMessaggio(kCamere, 4, QStringLiteral("Si/No")), 7);
    EXPECT_EQ(MostraMessaggio(kCamere, 250, QStringLiteral("Si/No")), 7);
    EXPECT_EQ(MostraMessaggio(kCamere, 35, QStringLiteral("Annulla")), 2);
    EXPECT_EQ(MostraMessaggio(kCamere, 16, QStringLiteral("Annulla")), 2);
    EXPECT_EQ(esc.Visti().size(), 5u);
}

TEST(MostraMessaggio, ChiusoDalGestoreFinestre) {
    RispostaMessaggi chiudi([](MsgBox_Form& box) { box.close(); });
    EXPECT_EQ(MostraMessaggio(kCamere, 36, QStringLiteral("Si/No")), 7);
}

TEST(MostraMessaggio, TestiWindows1252) {
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    MostraMessaggio(std::string("Luned\xEC \x80 5"), 48, std::string("Perch\xE9?"));
    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_EQ(risposta.Visti()[0].testo, QString::fromUtf8("Lunedì € 5"));
    EXPECT_EQ(risposta.Visti()[0].titolo, QString::fromUtf8("Perché?"));
}

// Technical details stay out of the message: a "Dettagli" switch under the
// buttons opens them below, the box growing to hold them. (Without details
// there is no switch: the sizes above hold.)
TEST(MostraMessaggio, IDettagliSiAprono) {
    bool nascosti = false;
    int chiusa = 0, aperta = 0;
    QString dettagli;
    RispostaMessaggi risposta([&](MsgBox_Form& box) {
        nascosti = box.MostraDettagli()->isVisible() && box.Dettagli()->isHidden();
        chiusa = box.Forma().Height;
        QTest::mouseClick(box.MostraDettagli(), Qt::LeftButton);
        aperta = box.Forma().Height;
        dettagli = box.Dettagli()->isVisible() ? box.Dettagli()->toPlainText() : QString();
        QTest::mouseClick(box.T(0), Qt::LeftButton);
    });
    EXPECT_EQ(MostraMessaggio(kCamere, 48, QStringLiteral("Invio e-mail"), QStringLiteral("xdg-email: 3")), 0);
    EXPECT_TRUE(nascosti);
    EXPECT_EQ(dettagli, "xdg-email: 3");
    EXPECT_GT(aperta, chiusa + 2000);
}

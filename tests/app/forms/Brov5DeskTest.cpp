#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <atomic>
#include <filesystem>
#include <functional>
#include <fstream>
#include <thread>

#include "app/Globali.h"
#include "app/forms/Brov5Desk.h"
#include "app/forms/LetturaArchivi.h"
#include "print/IntestazioneStampa.h"
#include "archivio/ArchivioSqlite.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/FileReport.h"
#include "support/Csv.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

namespace {

Colonna Intero(const char* nome) { return {nome, TipoCampo::Intero}; }
Colonna Testo(const char* nome) { return {nome, TipoCampo::Testo}; }
Valore N(std::int64_t n) { return Valore::Intero(n); }
Valore T(const char* s) { return Valore::Testo(s); }

const QString kOggi = QString::fromStdString(DataOdierna());

// A data folder with the three lists' databases and the room types: hotel 7
// with tableau 3 (rooms 9, 10, 105 and rooms not counted) and tableau 5
// (garages only), hotel 12 with tableau 1, hotel 13 without tableaux.
class Brov5DeskTest : public ::testing::Test {
protected:
    Brov5DeskTest() {
        Hotel({{N(0), T("Modello")}, {N(7), T("Roma")}, {N(12), T("Citt\xE0 Alta")}});
        Scrivi("Tableau.mdb", {"Tableau",
                               {Intero("NumeroHotel"), Intero("Codice"), Testo("Descrizione")},
                               {{N(7), N(0), T("Modello")},
                                {N(7), N(3), T("Corpo")},
                                {N(12), N(1), T("Unico")},
                                {N(7), N(5), T("Garage")}}});
        Camere({{N(7), N(3), T("9"), T("DBL")},
                {N(7), N(3), T("105"), T("SGL")},
                {N(7), N(3), T("001"), T("BOX")},
                {N(7), N(3), T("999"), T("XXX")},
                {N(7), N(3), T("10"), T("DBL")},
                {N(7), N(5), T("G1"), T("BOX")},
                {N(12), N(1), T("2"), T("SGL")},
                {N(12), N(1), T("1"), T("SGL")}});
        Scrivi("TipiCamere.mdb", {"TipiCamere",
                                  {Testo("Sigla"), Testo("Tipologia")},
                                  {{T("DBL"), T("C")}, {T("SGL"), T("C")}, {T("BOX"), T("G")}}});
    }

    void Scrivi(const char* file, const Tabella& tabella) {
        ScriviTabellaSqlite((cartella_.Percorso() / file).string(), tabella);
    }
    void Hotel(std::vector<Record> righe) {
        Scrivi("AnagraficaHotels.mdb", {"AnagraficaHotels", {Intero("Numero"), Testo("RagioneSociale")}, std::move(righe)});
    }
    void Camere(std::vector<Record> righe) {
        Scrivi("NumeriCamere.mdb", {"NumeriCamere",
                                    {Intero("NumeroHotel"), Intero("NumeroTableau"), Testo("NumeroCamera"),
                                     Testo("TipoCamera")},
                                    std::move(righe)});
    }

    // The one message shown since `risposta` began answering, by its title.
    static void UnMessaggio(const RispostaMessaggi& risposta, const QString& titolo) {
        ASSERT_EQ(risposta.Visti().size(), 1u);
        EXPECT_EQ(risposta.Visti()[0].titolo, titolo);
    }

    // Loads and shows the window, as the program does at start.
    bool Avvia() {
        const bool avviata = desk_.Avvia();
        if (avviata) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&desk_));
        }
        return avviata;
    }

    // The control holding the focus once the window is active again.
    QWidget* Fuoco() {
        EXPECT_TRUE(QTest::qWaitForWindowActive(&desk_));
        return QApplication::focusWidget();
    }

    static QStringList Voci(const QComboBox* elenco) {
        QStringList voci;
        for (int i = 0; i < elenco->count(); ++i) voci << elenco->itemText(i);
        return voci;
    }

    void Digita(int indice, const QString& testo) {
        desk_.Text1(indice)->clear();
        QTest::keyClicks(desk_.Text1(indice), testo);
    }

    void Invio(int indice) { QTest::keyClick(desk_.Text1(indice), Qt::Key_Return); }

    void Stampa() { QTest::mouseClick(desk_.Tasto(0), Qt::LeftButton); }

    QString Text1(int indice) const { return desk_.Text1(indice)->text(); }

    CartellaTemporanea cartella_;
    Brov5Desk desk_{cartella_.Dati()};
};

}  // namespace

TEST_F(Brov5DeskTest, AllAvvioPrimoHotelPrimoTableauCamereEDataDiOggi) {
    ASSERT_TRUE(Avvia());
    EXPECT_EQ(desk_.windowTitle(), "Tableau Brovato");
    EXPECT_EQ(Voci(desk_.Combo1(0)), (QStringList{"  7 Roma", " 12 Citt\u00e0 Alta"}));
    EXPECT_EQ(Voci(desk_.Combo1(1)), (QStringList{"  3 Corpo", "  5 Garage"}));
    EXPECT_EQ(desk_.Combo1(0)->currentIndex(), 0);
    EXPECT_EQ(desk_.Combo1(1)->currentIndex(), 0);
    EXPECT_EQ(NumeroHotelCorrente, 7);
    EXPECT_EQ(NumeroTableauCorrente, 3);
    // Only rooms of a type "C", compared as text: "10" < "105" < "9".
    EXPECT_EQ(Text1(0), "10");
    EXPECT_EQ(Text1(1), "9");
    EXPECT_EQ(Text1(2), kOggi);
    EXPECT_EQ(Fuoco(), desk_.Text1(0));
    EXPECT_EQ(desk_.Text1(0)->selectedText(), "10");
}

TEST_F(Brov5DeskTest, MisureInTwipEOrdineDiTabulazione) {
    ASSERT_TRUE(Avvia());
    EXPECT_EQ(desk_.size(), QSize(TwipInPixelX(desk_, 4125), TwipInPixelY(desk_, 3870)));
    EXPECT_EQ(desk_.Text1(2)->geometry(), InPixel(desk_, {1440, 2280, 1215, 288}));
    EXPECT_EQ(desk_.Tasto(1)->geometry(), InPixel(desk_, {2400, 2760, 1608, 1050}));
    EXPECT_EQ(desk_.Text1(0)->maxLength(), 6);
    EXPECT_EQ(desk_.Text1(2)->maxLength(), 10);
    EXPECT_FALSE(desk_.Combo1(0)->isEditable());
    EXPECT_EQ(desk_.Tasto(0)->text(), "&Stampa");
    EXPECT_EQ(desk_.Label1(4)->text(), "N. Hotel ");

    EXPECT_EQ(desk_.Tasto(2)->text(), "&Vedi");
    EXPECT_EQ(desk_.Tasto(2)->geometry(), InPixel(desk_, {1768, 2760, 592, 1050}));

    const std::vector<QWidget*> ordine = {desk_.Text1(1), desk_.Text1(2), desk_.Tasto(0), desk_.Tasto(2),
                                          desk_.Tasto(1), desk_.Combo1(1), desk_.Combo1(0), desk_.Text1(0)};
    for (QWidget* atteso : ordine) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), atteso);
    }
}

TEST_F(Brov5DeskTest, SceltaDiHotelETableauPropongonoLeLoroCamere) {
    ASSERT_TRUE(Avvia());
    desk_.Combo1(0)->setFocus();
    QTest::keyClick(desk_.Combo1(0), Qt::Key_Down);
    EXPECT_EQ(NumeroHotelCorrente, 12);
    EXPECT_EQ(Voci(desk_.Combo1(1)), QStringList{"  1 Unico"});
    EXPECT_EQ(NumeroTableauCorrente, 1);
    EXPECT_EQ(Text1(0), "1");
    EXPECT_EQ(Text1(1), "2");
    EXPECT_EQ(QApplication::focusWidget(), desk_.Tasto(0));

    QTest::keyClick(desk_.Combo1(0), Qt::Key_Up);
    QTest::keyClick(desk_.Combo1(1), Qt::Key_Down);
    EXPECT_EQ(NumeroHotelCorrente, 7);
    EXPECT_EQ(NumeroTableauCorrente, 5);
    // No room of a type "C": the range cannot be right.
    EXPECT_EQ(Text1(0), QString(QChar(0xFF)));
    EXPECT_EQ(Text1(1), "");

    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    Stampa();
    UnMessaggio(risposta, "Camere errate!");
    // The message leaves the choices as they were.
    EXPECT_EQ(NumeroTableauCorrente, 5);
    EXPECT_EQ(desk_.Combo1(1)->currentIndex(), 1);
    EXPECT_EQ(Text1(0), QString(QChar(0xFF)));
    EXPECT_EQ(Fuoco(), desk_.Text1(0));
}

// A name longer than the list's field shows whole: as a tooltip, and in the open list.
TEST_F(Brov5DeskTest, INomiLunghiSiVedonoInteri) {
    Hotel({{N(7), T("Roma")}, {N(12), T("Albergo Stella Alpina di Fiera di Primiero")}});
    const QString nome = QStringLiteral(" 12 Albergo Stella Alpina di Fiera di Primiero");
    ASSERT_TRUE(Avvia());
    QComboBox* hotel = desk_.Combo1(0);
    EXPECT_EQ(hotel->itemData(1, Qt::ToolTipRole).toString(), nome);
    EXPECT_GT(hotel->view()->minimumWidth(), QFontMetrics(hotel->view()->font()).horizontalAdvance(nome));
    EXPECT_GT(hotel->view()->minimumWidth(), hotel->width());
}

TEST_F(Brov5DeskTest, TipoDiCameraConApostrofo) {
    Camere({{N(7), N(3), T("21"), T("D'L")}, {N(7), N(3), T("22"), T("DBL")}});
    Scrivi("TipiCamere.mdb", {"TipiCamere", {Testo("Sigla"), Testo("Tipologia")}, {{T("DBL"), T("C")}, {T("D'L"), T("C")}}});
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    ASSERT_TRUE(Avvia());
    EXPECT_TRUE(risposta.Visti().empty());
    EXPECT_EQ(Text1(0), "21");
    EXPECT_EQ(Text1(1), "22");
}

TEST_F(Brov5DeskTest, InvioPulisceIlTestoESpostaIlFuoco) {
    ASSERT_TRUE(Avvia());
    const struct {
        int campo;
        QString digitato, atteso;
        QWidget* fuoco;  // after Enter
    } passi[] = {{0, "", " ", desk_.Text1(1)}, {0, "a'1", "A1", desk_.Text1(1)}, {1, "b2", "B2", desk_.Text1(2)},
                 {2, "311219", "31/12/2019", desk_.Tasto(0)}, {2, "010125", "01/01/2025", desk_.Tasto(0)},
                 {2, "01012025", "01/01/2025", desk_.Tasto(0)}};
    for (const auto& passo : passi) {
        SCOPED_TRACE(passo.digitato.toStdString());
        Digita(passo.campo, passo.digitato);
        EXPECT_EQ(Text1(passo.campo), passo.digitato);  // nothing changes before Enter
        Invio(passo.campo);
        EXPECT_EQ(Text1(passo.campo), passo.atteso);
        EXPECT_EQ(QApplication::focusWidget(), passo.fuoco);
    }
}

TEST_F(Brov5DeskTest, InvioSullUltimaCameraNonDopoLaPrima) {
    ASSERT_TRUE(Avvia());
    for (const char* ultima : {"9", "10"}) {  // equal is refused too
        Digita(0, "9");
        Digita(1, ultima);
        Digita(2, "010125");
        desk_.Text1(1)->setFocus();
        RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
        Invio(1);
        ASSERT_EQ(risposta.Visti().size(), 1u) << ultima;
        EXPECT_EQ(risposta.Visti()[0].titolo, "Camere errate!");
        EXPECT_EQ(risposta.Visti()[0].testo, "Controllare l'intervallo di camere richiesto!");
        // The box closing leaves the window as it was, the focus where it was.
        EXPECT_EQ(Text1(0), "9");
        EXPECT_EQ(Text1(1), ultima);
        EXPECT_EQ(Text1(2), "010125");
        EXPECT_EQ(Fuoco(), desk_.Text1(1));
    }
}

// Only the date goes back to today: hotel, tableau and rooms stay as chosen.
TEST_F(Brov5DeskTest, InvioSuUnaDataErrata) {
    ASSERT_TRUE(Avvia());
    desk_.Combo1(0)->setFocus();
    QTest::keyClick(desk_.Combo1(0), Qt::Key_Down);
    Digita(1, "3");
    Digita(2, "310425");
    desk_.Text1(2)->setFocus();
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    Invio(2);
    ASSERT_NO_FATAL_FAILURE(UnMessaggio(risposta, "Data errata!"));
    EXPECT_EQ(risposta.Visti()[0].testo, "La data deve essere inserita \nnel formato gg/mm/aaaa");
    EXPECT_EQ(Text1(2), kOggi);
    EXPECT_EQ(NumeroHotelCorrente, 12);
    EXPECT_EQ(desk_.Combo1(0)->currentIndex(), 1);
    EXPECT_EQ(Text1(1), "3");
    EXPECT_EQ(Fuoco(), desk_.Text1(2));
}

// "&Stampa" refuses a date not completed and rooms backwards as text.
TEST_F(Brov5DeskTest, StampaRifiutaDataNonCompletataECamereRovesce) {
    ASSERT_TRUE(Avvia());
    struct Caso {
        std::vector<std::pair<int, QString>> digitati;  // field, text
        QString titolo;
        int fuoco;       // the field given the focus, and left as `resta`
        QString resta;
    };
    for (const Caso& caso : {Caso{{{2, "010125"}}, "Data errata!", 2, kOggi},
                             Caso{{{0, "9"}, {1, "10"}}, "Camere errate!", 0, "9"}}) {
        SCOPED_TRACE(caso.titolo.toStdString());
        for (const auto& [campo, testo] : caso.digitati) Digita(campo, testo);
        RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
        Stampa();
        UnMessaggio(risposta, caso.titolo);
        EXPECT_EQ(Text1(caso.fuoco), caso.resta);
        EXPECT_EQ(Fuoco(), desk_.Text1(caso.fuoco));
    }
}

TEST_F(Brov5DeskTest, CostruzioneFallitaMostraLErroreELaFinestraProsegue) {
    // No booking databases here: the build fails after the checks have
    // accepted 100..99 (text order) and the same first and last room.
    const auto report = cartella_.Percorso() / "FD";
    std::ofstream(report) << "precedente";
    ASSERT_TRUE(Avvia());
    for (auto [prima, ultima] : {std::pair{"100", "99"}, std::pair{"10", "10"}}) {
        Digita(0, prima);
        Digita(1, ultima);
        RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
        Stampa();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !risposta.Visti().empty(); }, 10000));
        ASSERT_NO_FATAL_FAILURE(UnMessaggio(risposta, "Errore"));
        EXPECT_TRUE(risposta.Visti()[0].testo.startsWith("Errore 3024: ")) << risposta.Visti()[0].testo.toStdString();
        EXPECT_FALSE(desk_.Scaricata());
        EXPECT_EQ(Text1(0), prima);
        EXPECT_EQ(Fuoco(), desk_.Tasto(0));
    }
    EXPECT_EQ(LeggiFile(report), "precedente");
}

TEST_F(Brov5DeskTest, HotelSenzaTableauChiudeIlProgramma) {
    Hotel({{N(7), T("Roma")}, {N(13), T("Vuoto")}});
    ASSERT_TRUE(Avvia());
    desk_.Combo1(0)->setFocus();
    QTest::keyClick(desk_.Combo1(0), Qt::Key_Down);
    EXPECT_TRUE(desk_.Scaricata());
    EXPECT_FALSE(desk_.isVisible());
    EXPECT_EQ(desk_.CodiceUscita(), 0);
}

TEST_F(Brov5DeskTest, NessunHotelDaElencare) {
    Hotel({{N(0), T("Modello")}});
    EXPECT_FALSE(Avvia());
    EXPECT_TRUE(desk_.Scaricata());
    EXPECT_EQ(desk_.CodiceUscita(), 0);
}

TEST_F(Brov5DeskTest, ArchivioMancanteAllAvvio) {
    std::filesystem::remove(cartella_.Percorso() / "NumeriCamere.mdb");
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    EXPECT_FALSE(Avvia());
    ASSERT_EQ(risposta.Visti().size(), 1u);
    EXPECT_TRUE(risposta.Visti()[0].testo.startsWith("Errore 3024: ")) << risposta.Visti()[0].testo.toStdString();
    EXPECT_EQ(desk_.CodiceUscita(), 1);
}

TEST_F(Brov5DeskTest, EsciChiudeIlProgramma) {
    ASSERT_TRUE(Avvia());
    QTest::mouseClick(desk_.Tasto(1), Qt::LeftButton);
    EXPECT_TRUE(desk_.Scaricata());
    EXPECT_EQ(desk_.CodiceUscita(), 0);
}

TEST(Brov5DeskDemo, StampaScriveIlFileReportMostraIlMenuEPoiRiparteDaCapo) {
    CartellaTemporanea cartella;
    CreaCopiaSqliteDemo(cartella.Percorso());
    std::string visto;
    TableauStampato tableau;
    int menu = 0;
    Brov5Desk desk(cartella.Dati("3"), [&](QWidget&, const Contesto&, std::int16_t, const TableauStampato& stampato) {
        ++menu;
        visto = LeggiFile(cartella.Percorso() / "FD3");
        tableau = stampato;
    });
    ASSERT_TRUE(desk.Avvia());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desk));
    const QString prima = desk.Text1(0)->text();
    desk.Combo1(1)->setFocus();
    QTest::keyClick(desk.Combo1(1), Qt::Key_Down);
    ASSERT_NE(desk.Text1(0)->text(), prima);

    desk.Text1(2)->setFocus();
    QTest::keyClicks(desk.Text1(2), "07122026");
    QTest::keyClick(desk.Text1(2), Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), desk.Tasto(0));
    QTest::keyClick(desk.Tasto(0), Qt::Key_Return);

    // The print menu comes once the report is written, told the tableau and week it is of.
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu > 0; }, 10000));
    EXPECT_EQ(menu, 1);
    EXPECT_EQ(tableau.codice, 2);
    EXPECT_EQ(tableau.primoGiorno, "07/12/2026");
    const std::string report = LeggiFile(cartella.Percorso() / "FD3");
    EXPECT_EQ(visto, report);
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.size() % 134, 0u);
    EXPECT_NE(report.find(" Luned\xEC 07/12"), std::string::npos);
    // The window starts again from the first hotel, its first tableau and today.
    EXPECT_EQ(desk.Combo1(1)->currentIndex(), 0);
    EXPECT_EQ(desk.Text1(0)->text(), prima);
    EXPECT_EQ(desk.Text1(2)->text(), kOggi);
    EXPECT_FALSE(desk.Scaricata());
}

// Counts the times a widget is painted.
struct ContaDipinture : QObject {
    explicit ContaDipinture(QWidget& finestra) { finestra.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* evento) override {
        n += evento->type() == QEvent::Paint;
        return false;
    }
    int n = 0;
};

// Builds that stand for a reader stalled on a slow share: each says what it
// reads, then waits until released, noting a stop but deaf to it; released,
// it heeds the stop before writing its report, as the builder does. Each
// build writes its number.
struct CostruzioniFerme {
    static constexpr int kMassimo = 4;
    std::array<std::atomic<bool>, kMassimo> rilasciata{};
    std::array<std::atomic<bool>, kMassimo> fermata{};
    std::array<std::atomic<UltimaCostruzione*>, kMassimo> ultima{};
    std::atomic<int> avviate = 0;
    std::atomic<int> finite = 0;

    Settimana operator()(UltimaCostruzione& kept, const Contesto& contesto, Avanzamento& avanzamento) {
        const int numero = ++avviate;
        ultima.at(numero) = &kept;
        avanzamento.Passo("Lettura di Scheda_Cliente.mdb\u2026");
        while (!rilasciata.at(numero)) {
            try {
                avanzamento.Controlla();
            } catch (const CostruzioneAnnullata&) {
                fermata[numero] = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        struct Fine {
            std::atomic<int>& finite;
            ~Fine() { ++finite; }
        } fine{finite};
        avanzamento.Controlla();
        FileReport report(contesto);
        report.ScriviRiga(std::to_string(numero));
        report.Completa();
        return {};
    }
};

TEST_F(Brov5DeskTest, LaFinestraNonAspettaUnaCostruzioneFermaEAnnullaTieneIlReport) {
    const auto report = cartella_.Percorso() / "FD";
    std::ofstream(report) << "precedente";
    CostruzioniFerme ferme;
    int menu = 0;
    auto desk = std::make_unique<Brov5Desk>(
        cartella_.Dati(), [&](QWidget&, const Contesto&, std::int16_t, const TableauStampato&) { ++menu; },
        [&](UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t, std::int16_t, const std::string&,
            const std::string&, const std::string&, Avanzamento& avanzamento,
            Brov5Desk::Scopo) { return ferme(ultima, contesto, avanzamento); });
    ASSERT_TRUE(desk->Avvia());
    ASSERT_TRUE(QTest::qWaitForWindowActive(desk.get()));
    ContaDipinture dipinture(*desk);
    RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
    LetturaArchivi& lettura = *desk->Lettura();
    const auto attendi = [](auto condizione) { return QTest::qWaitFor(condizione, 5000); };

    QElapsedTimer orologio;
    orologio.start();
    QTest::mouseClick(desk->Tasto(0), Qt::LeftButton);
    EXPECT_LT(orologio.elapsed(), Brov5Desk::kAttesaLetturaMs);
    EXPECT_TRUE(desk->InCostruzione());
    // The window answers: "&Stampa" starts no second build; the window of the build shows later.
    QTest::mouseClick(desk->Tasto(0), Qt::LeftButton);
    EXPECT_FALSE(lettura.isVisible());
    ASSERT_TRUE(attendi([&] { return lettura.isVisible(); }));
    EXPECT_GE(orologio.elapsed(), Brov5Desk::kAttesaLetturaMs - 50);
    EXPECT_EQ(ferme.avviate, 1);
    EXPECT_EQ(lettura.Titolo()->text(), "Lettura archivi\u2026");
    EXPECT_EQ(lettura.Passo()->text(), "Lettura di Scheda_Cliente.mdb\u2026");
    // Under it the main window still paints.
    dipinture.n = 0;
    desk->update();
    EXPECT_TRUE(attendi([&] { return dipinture.n > 0; }));

    QTest::mouseClick(lettura.Annulla(), Qt::LeftButton);
    EXPECT_FALSE(lettura.isVisible());
    EXPECT_FALSE(desk->InCostruzione());
    EXPECT_TRUE(attendi([&] { return ferme.fermata[1].load(); }));
    ASSERT_TRUE(QTest::qWaitForWindowActive(desk.get()));
    EXPECT_EQ(QApplication::focusWidget(), desk->Tasto(0));

    // The next build does not wait for the abandoned one, and has databases of its own.
    QTest::keyClick(desk->Tasto(0), Qt::Key_Return);
    ASSERT_TRUE(attendi([&] { return ferme.avviate == 2; }));
    EXPECT_NE(ferme.ultima[1], ferme.ultima[2]);
    ferme.rilasciata[2] = true;
    ASSERT_TRUE(attendi([&] { return menu == 1; }));
    EXPECT_EQ(LeggiFile(report), "2\r\n");
    // The abandoned build, released at last, changes nothing.
    ferme.rilasciata[1] = true;
    ASSERT_TRUE(attendi([&] { return ferme.finite == 2; }));
    QTest::qWait(50);
    EXPECT_EQ(menu, 1);
    EXPECT_EQ(LeggiFile(report), "2\r\n");
    EXPECT_TRUE(risposta.Visti().empty());

    // Closing the window abandons its build too; the window, gone, waits for
    // the build still reading, which then stops and leaves the report.
    QTest::mouseClick(desk->Tasto(0), Qt::LeftButton);
    ASSERT_TRUE(attendi([&] { return ferme.avviate == 3; }));
    QTest::mouseClick(desk->Tasto(1), Qt::LeftButton);
    EXPECT_TRUE(desk->Scaricata());
    EXPECT_TRUE(attendi([&] { return ferme.fermata[3].load(); }));
    const std::jthread rilascio([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ferme.rilasciata[3] = true;
    });
    desk.reset();
    EXPECT_EQ(ferme.finite, 3);
    EXPECT_EQ(LeggiFile(report), "2\r\n");
    EXPECT_EQ(menu, 1);
}

// "&Vedi" checks the choices as "&Stampa" does, then shows the room rack;
// each week it asks for is built as the window's builds are, without the
// report: a week that fails shows its error, one that lasts shows its
// window over the room rack, and "Annulla" there abandons it.
TEST_F(Brov5DeskTest, VediMostraIlQuadroCostruitoSenzaIlReport) {
    const auto report = cartella_.Percorso() / "FD";
    std::ofstream(report) << "precedente";
    struct Chiesta {
        std::string dataInizio;
        Brov5Desk::Scopo scopo;
    };
    std::vector<Chiesta> chieste;
    std::atomic<bool> ferma = false;
    const auto costruzione = [&](UltimaCostruzione&, const Contesto&, std::int16_t hotel, std::int16_t tableau,
                                 const std::string&, const std::string&, const std::string& dataInizio,
                                 Avanzamento& avanzamento, Brov5Desk::Scopo scopo) {
        chieste.push_back({dataInizio, scopo});
        if (dataInizio == "01/01/2030") throw Errore(NumeroErrore::FileInesistente, "Archivio mancante.");
        while (ferma) {
            avanzamento.Controlla();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        Settimana settimana;
        settimana.hotel = hotel;
        settimana.tableau = tableau;
        return settimana;
    };
    // The room rack stands in: a modal window that asks for the first week,
    // then for those the test names, noting what each gave; `ancora`, when
    // set, is what a key asks for while a week is being built.
    std::vector<std::string> esiti;
    std::vector<std::string> altre;
    std::function<void()> ancora;
    const auto mostraQuadro = [&](QWidget& proprietaria, const Contesto&,
                                  const std::function<Settimana(const std::string&)>& fornitore,
                                  const std::string& dataInizio) {
        QDialog quadro(&proprietaria);
        quadro.setModal(true);
        quadro.show();
        if (ancora) ancora = [&fornitore, &esiti] {
            try {
                fornitore("21/12/2026");
            } catch (const CostruzioneAnnullata&) {
                esiti.push_back("respinta");
            }
        };
        std::vector<std::string> tutte{dataInizio};
        tutte.insert(tutte.end(), altre.begin(), altre.end());
        for (const std::string& data : tutte) {
            try {
                const Settimana settimana = fornitore(data);
                esiti.push_back("hotel " + std::to_string(settimana.hotel));
            } catch (const CostruzioneAnnullata&) {
                esiti.push_back("annullata");
            } catch (const Errore& errore) {
                esiti.push_back(errore.Testo());
            }
        }
    };
    Brov5Desk desk(cartella_.Dati(), [](QWidget&, const Contesto&, std::int16_t, const TableauStampato&) {},
                   costruzione, mostraQuadro);
    ASSERT_TRUE(desk.Avvia());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&desk));
    const auto vedi = [&] { QTest::mouseClick(desk.Tasto(2), Qt::LeftButton); };

    {
        RispostaMessaggi risposta(RispostaMessaggi::Clic(0));
        desk.Text1(2)->setText("32/01/2026");
        vedi();
        UnMessaggio(risposta, "Data errata!");
        EXPECT_TRUE(chieste.empty());
    }

    desk.Text1(2)->setText("07/12/2026");
    altre = {"14/12/2026", "01/01/2030"};
    vedi();
    ASSERT_EQ(chieste.size(), 3u);
    EXPECT_EQ(chieste[1].dataInizio, "14/12/2026");
    EXPECT_TRUE(std::all_of(chieste.begin(), chieste.end(),
                            [](const Chiesta& c) { return c.scopo == Brov5Desk::Scopo::Quadro; }));
    ASSERT_EQ(esiti.size(), 3u);
    EXPECT_EQ(esiti[0], "hotel 7");
    EXPECT_EQ(esiti[1], "hotel 7");
    EXPECT_EQ(esiti[2].rfind("Errore 53: Archivio mancante.", 0), 0u) << esiti[2];

    // A week that lasts: a key meanwhile asks for no other; its window shows
    // over the room rack; "Annulla" abandons it.
    esiti.clear();
    altre.clear();
    ferma = true;
    ancora = [] {};
    QTimer::singleShot(0, [&] {
        ancora();
        ASSERT_TRUE(QTest::qWaitFor(
            [] { return qobject_cast<LetturaArchivi*>(QApplication::activeModalWidget()) != nullptr; }, 5000));
        auto* lettura = qobject_cast<LetturaArchivi*>(QApplication::activeModalWidget());
        EXPECT_NE(qobject_cast<QDialog*>(lettura->parentWidget()), nullptr);
        QTest::mouseClick(lettura->Annulla(), Qt::LeftButton);
    });
    vedi();
    ferma = false;
    EXPECT_EQ(esiti, (std::vector<std::string>{"respinta", "annullata"}));
    EXPECT_EQ(chieste.size(), 4u);
    EXPECT_FALSE(desk.InCostruzione());
    EXPECT_EQ(desk.Text1(2)->text(), "07/12/2026");
    EXPECT_EQ(LeggiFile(report), "precedente");
}

#include <QPlainTextEdit>
#include <QPushButton>

#include <filesystem>
#include <vector>

#include "common/piattaforma/qt/AvviaProgrammaQt.h"
#include "preview/forms/Anteprima.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

// "E-&mail" runs the mailer and shows what it told in the program's own box,
// over the preview; the preview keeps answering while the mailer works, and
// steps back from the top so that a mail client the mailer opens is seen.
TEST(InvioEMail, LEsitoDelPostinoSiVedeSopraLAnteprima) {
    constexpr int kEMail = 5;
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", "3");
    ScriviFile("FD3", ReportNumerato(1));
    // A stand-in for the mailer: it takes its time, notes the variable it was given, then tells its outcome.
    CartellaTemporanea programmi;
    VariabileAmbiente percorso("PATH", (programmi.Percorso().string() + ":/usr/bin:/bin").c_str());
    const fs::path postino = programmi.Percorso() / "brovinvio";
    struct Caso {
        std::string fine;  // the stand-in's last lines
        QString visto;     // the box's text
        QString dettagli;  // behind its "Dettagli"
    };
    for (const auto& caso : std::vector<Caso>{
             {"echo 'brovinvio: Messaggio inviato a a@prova.it.'", "Messaggio inviato a a@prova.it.", ""},
             {"echo 'brovinvio: Invio non riuscito: il server di posta rifiuta.' >&2\nexit 1",
              "Invio non riuscito: il server di posta rifiuta.", ""},
             // What the programs it ran wrote, and its own details, are not the outcome.
             {"echo 'Alert!: lynx'\necho 'brovinvio: Manca PostaElettronica.txt.' >&2\necho '  xdg-email: 3' >&2\nexit 1",
              "Manca PostaElettronica.txt.", "Alert!: lynx\nxdg-email: 3"},
             // Lines that keep the box on the screen.
             {"exit 3", "Invio non riuscito: il programma di posta brovinvio si è fermato\n(codice 3) senza "
                        "dire perché.", ""}}) {
        SCOPED_TRACE(caso.fine);
        ScriviFile(postino, "#!/bin/sh\nsleep 0.3\necho \"$BROVATO5_MOSTRA_ESITO\" > variabile.txt\n" + caso.fine +
                                "\n");
        fs::permissions(postino, fs::perms::owner_all);
        AvviaProgrammaQt avvia;
        Anteprima anteprima(ContestoCorrente(), avvia);
        ASSERT_TRUE(anteprima.Avvia());
        anteprima.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&anteprima));
        bool rispondeva = false;
        QTimer::singleShot(100, &anteprima, [&] {
            rispondeva = !anteprima.Tasto(kEMail)->isEnabled() && !fs::exists("variabile.txt");
        });
        QString dettagli;
        RispostaMessaggi risposta([&](MsgBox_Form& box) {
            dettagli = box.Dettagli()->toPlainText();
            QTest::mouseClick(box.T(0), Qt::LeftButton);
        });
        QTest::mouseClick(anteprima.Tasto(kEMail), Qt::LeftButton);
        ASSERT_EQ(risposta.Visti().size(), 1u);
        EXPECT_EQ(risposta.Visti()[0].titolo, "Invio e-mail");
        EXPECT_EQ(risposta.Visti()[0].testo.toStdString(), caso.visto.toStdString());
        EXPECT_EQ(dettagli, caso.dettagli);
        EXPECT_TRUE(rispondeva);
        EXPECT_EQ(LeggiFile("variabile.txt"), "1\n");
        EXPECT_TRUE(anteprima.Tasto(kEMail)->isEnabled());
        EXPECT_FALSE(anteprima.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        fs::remove("variabile.txt");
    }
}

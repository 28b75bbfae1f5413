#include <QDialog>

#include <filesystem>

#include "common/forms/Aspetto.h"
#include "common/forms/AvvisoAvvio.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

// A new instance tells those running: their windows kept on top step back, so
// that its main window is not hidden behind a preview; the first instance,
// told of nobody, keeps them.
TEST(AvvisoAvvio, UnaNuovaIstanzaFaCedereIlPrimoPianoAlleAltre) {
    CartellaTemporanea cartella;
    const QString istanze = QString::fromStdString((cartella.Percorso() / "istanze").string());
    QDialog anteprima;
    MettiInPrimoPiano(anteprima);
    anteprima.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&anteprima));
    const auto inPrimoPiano = [&] { return anteprima.windowFlags().testFlag(Qt::WindowStaysOnTopHint); };

    const AvvisoAvvio prima(istanze);
    QTest::qWait(50);
    EXPECT_TRUE(inPrimoPiano());
    const AvvisoAvvio seconda(istanze);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !inPrimoPiano(); }, 2000));
    EXPECT_TRUE(anteprima.isVisible());
}

#include <QDialog>

#include "common/forms/Aspetto.h"
#include "common/piattaforma/qt/ApriDocumentoQt.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

// A document opened for the user does not come up behind the program's
// windows kept on top: they step back, where and as they are, until the
// program activates them again; a modal window goes on waiting throughout.
TEST(ApriDocumentoQt, LeFinestreInPrimoPianoCedonoIlPosto) {
    CartellaTemporanea vuota;
    // No program of the desktop is really started.
    VariabileAmbiente percorso("PATH", vuota.Percorso().c_str());
    QDialog menu;
    MettiInPrimoPiano(menu);
    bool ancoraAperto = false;
    QTimer::singleShot(0, &menu, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
        const QRect posto = menu.geometry();
        ApriDocumentoQt().Apri("fd3.csv");
        EXPECT_FALSE(menu.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(menu.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(menu.isVisible());
        EXPECT_EQ(menu.geometry(), posto);
        MettiInPrimoPiano(menu);
        EXPECT_TRUE(menu.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QTimer::singleShot(0, &menu, [&] {
            ancoraAperto = menu.isVisible();
            menu.accept();
        });
    });
    EXPECT_EQ(menu.exec(), QDialog::Accepted);
    EXPECT_TRUE(ancoraAperto);
}

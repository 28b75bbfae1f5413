#include <QDialog>

#include <filesystem>
#include <vector>

#include "common/forms/Aspetto.h"
#include "common/piattaforma/qt/ApriDocumentoQt.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

// A document is opened only when the desktop has a program for its type, and
// the answer says whether one started. Opened for the user, it does not come
// up behind the program's windows kept on top: they step back, where and as
// they are, until the program activates them again; a modal window goes on
// waiting throughout.
TEST(ApriDocumentoQt, ApreSoloConUnProgrammaELeFinestreInPrimoPianoCedonoIlPosto) {
    // Stand-ins for the desktop's xdg-mime and xdg-open: no real program is started.
    CartellaTemporanea programmi;
    VariabileAmbiente percorso("PATH", (programmi.Percorso().string() + ":/usr/bin:/bin").c_str());
    const auto finto = [&](const char* nome, const std::string& corpo) {
        ScriviFile(programmi.Percorso() / nome, "#!/bin/sh\n" + corpo + "\n");
        fs::permissions(programmi.Percorso() / nome, fs::perms::owner_all);
    };
    struct Caso {
        std::string programma;  // what xdg-mime answers for the type
        int codiceApertura;     // xdg-open's exit status
        bool aperto, cede;
    };
    for (const auto& caso : std::vector<Caso>{{"", 0, false, false},
                                              {"visore.desktop", 0, true, true},
                                              {"visore.desktop", 4, false, true}}) {
        SCOPED_TRACE(caso.programma + " " + std::to_string(caso.codiceApertura));
        finto("xdg-mime", "echo " + caso.programma);
        finto("xdg-open", "exit " + std::to_string(caso.codiceApertura));
        QDialog menu;
        MettiInPrimoPiano(menu);
        bool aperto = !caso.aperto, ancoraAperto = false;
        QTimer::singleShot(0, &menu, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
            const QRect posto = menu.geometry();
            aperto = ApriDocumentoQt().Apri("fd3.csv");
            EXPECT_EQ(!menu.windowFlags().testFlag(Qt::WindowStaysOnTopHint), caso.cede);
            EXPECT_EQ(!menu.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint), caso.cede);
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
        EXPECT_EQ(aperto, caso.aperto);
        EXPECT_TRUE(ancoraAperto);
    }
}

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include <filesystem>

#include "app/Avvio.h"
#include "app/forms/Brov5Desk.h"
#include "app/forms/SceltaCartellaDati.h"
#include "common/Ambiente.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// The program started from the desktop menu: in an empty folder, without
// PCLocal, its settings in a folder of the test's own.
class SceltaCartellaDatiTest : public ::testing::Test {
protected:
    SceltaCartellaDatiTest() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(configurazione_.Percorso().string()));
    }

    // Runs `risposta` on the dialog once it waits for the user; true when the dialog came.
    static std::shared_ptr<bool> QuandoSiApre(std::function<void(SceltaCartellaDati&)> risposta) {
        auto aperto = std::make_shared<bool>(false);
        QTimer::singleShot(0, [aperto, risposta] {
            auto* dialogo = qobject_cast<SceltaCartellaDati*>(QApplication::activeModalWidget());
            *aperto = dialogo != nullptr;
            if (!dialogo) return;
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialogo));
            risposta(*dialogo);
        });
        return aperto;
    }

    static void Scrivi(QLineEdit* casella, const fs::path& testo) {
        casella->setText(QString::fromStdString(testo.string()));
    }

    const fs::path demo_ = CartellaDatiTest() / "demo";
    CartellaTemporanea configurazione_;
    CartellaTemporanea vuota_{true};
    VariabileAmbiente pcLocal_{"PCLocal", nullptr};
};

TEST_F(SceltaCartellaDatiTest, AlPrimoAvvioRifiutaUnaCartellaSenzaArchivioEApreQuellaGiusta) {
    RispostaMessaggi messaggi(RispostaMessaggi::Clic(0));
    const auto aperto = QuandoSiApre([&](SceltaCartellaDati& dialogo) {
        Scrivi(dialogo.Cartella(), vuota_.Percorso());
        dialogo.Postazione()->setText(QStringLiteral("3"));
        QTest::mouseClick(dialogo.Apri(), Qt::LeftButton);
        ASSERT_TRUE(dialogo.isVisible());
        Scrivi(dialogo.Cartella(), demo_);
        dialogo.Postazione()->clear();
        QTest::mouseClick(dialogo.Apri(), Qt::LeftButton);
        ASSERT_TRUE(dialogo.isVisible());
        QTest::keyClicks(dialogo.Postazione(), QStringLiteral("3a"));  // the box takes digits only
        QTest::mouseClick(dialogo.Apri(), Qt::LeftButton);
    });
    const auto contesto = PreparaCartellaDati(OpzioniAvvio{});
    ASSERT_TRUE(contesto);
    EXPECT_TRUE(*aperto);
    ASSERT_EQ(messaggi.Visti().size(), 2u);
    EXPECT_EQ(messaggi.Visti()[0].titolo, QStringLiteral("Cartella errata!"));
    EXPECT_TRUE(messaggi.Visti()[0].testo.contains(
        QStringLiteral("Tableau.mdb, AnagraficaHotels.mdb, NumeriCamere.mdb")));
    EXPECT_EQ(messaggi.Visti()[1].titolo, QStringLiteral("Postazione errata!"));
    EXPECT_EQ(messaggi.Visti()[1].testo,
              QStringLiteral("Il numero della postazione deve essere fatto\ndi cifre, da una a cinque (per esempio 3)."));

    EXPECT_TRUE(fs::equivalent(contesto->cartella.Percorso(), demo_));
    EXPECT_EQ(contesto->postazione, "3");
    EXPECT_EQ(LeggiCartellaSalvata(), (CartellaPostazione{fs::canonical(demo_).string(), "3"}));

    Brov5Desk desk(*contesto);
    ASSERT_TRUE(desk.Avvia());
    EXPECT_GT(desk.Combo1(0)->count(), 0);
    desk.close();
}

// Later starts outside a data folder take the saved values without asking;
// PCLocal of the environment wins over the saved number. Closing the dialog
// of --configura leaves the saved values and ends the program.
TEST_F(SceltaCartellaDatiTest, PoiUsaIValoriSalvatiEDaConfiguraLiPuoCambiare) {
    SalvaCartella({demo_.string(), "4"});
    const auto nonAperto = QuandoSiApre([](SceltaCartellaDati& dialogo) { dialogo.reject(); });
    {
        const VariabileAmbiente pcLocal("PCLocal", "9");
        const auto contesto = PreparaCartellaDati(OpzioniAvvio{});
        ASSERT_TRUE(contesto);
        EXPECT_EQ(contesto->postazione, "9");
        EXPECT_TRUE(fs::equivalent(contesto->cartella.Percorso(), demo_));
    }
    const auto salvato = PreparaCartellaDati(OpzioniAvvio{});
    ASSERT_TRUE(salvato);
    EXPECT_EQ(salvato->postazione, "4");
    QApplication::processEvents();
    EXPECT_FALSE(*nonAperto);
    EXPECT_TRUE(fs::equivalent(fs::current_path(), vuota_.Percorso()));

    OpzioniAvvio configura;
    configura.configura = true;
    std::optional<CartellaPostazione> proposta;
    const auto annullato = QuandoSiApre([&](SceltaCartellaDati& dialogo) {
        proposta = dialogo.Scelta();
        QTest::mouseClick(dialogo.Annulla(), Qt::LeftButton);
    });
    EXPECT_FALSE(PreparaCartellaDati(configura));
    EXPECT_TRUE(*annullato);
    EXPECT_EQ(proposta, (CartellaPostazione{demo_.string(), "4"}));
    EXPECT_EQ(LeggiCartellaSalvata(), (CartellaPostazione{demo_.string(), "4"}));
    EXPECT_TRUE(fs::equivalent(fs::current_path(), vuota_.Percorso()));
}

// A saved folder that no longer holds the suite's files, or is gone, brings
// the dialog back saying so and naming the folder.
TEST_F(SceltaCartellaDatiTest, LaCartellaSalvataPersaLoDice) {
    for (const auto& [cartella, detto] :
         {std::pair{vuota_.Percorso(), "non contiene più i file della suite (mancano Tableau.mdb, "},
          std::pair{vuota_.Percorso() / "sparita", "non c'è più"}}) {
        SalvaCartella({cartella.string(), "4"});
        QString avviso;
        QuandoSiApre([&](SceltaCartellaDati& dialogo) {
            if (dialogo.Avviso()->isVisible()) avviso = dialogo.Avviso()->text();
            dialogo.reject();
        });
        EXPECT_FALSE(PreparaCartellaDati(OpzioniAvvio{}));
        EXPECT_TRUE(avviso.contains(QString::fromStdString(cartella.string())) && avviso.contains(detto))
            << avviso.toStdString();
    }
}

// Started in a data folder the program works there and asks nothing; there
// --configura proposes that folder and the workstation of the environment.
TEST_F(SceltaCartellaDatiTest, NellaCartellaDeiDatiNonChiedeNullaEConfiguraLaPropone) {
    fs::current_path(demo_);
    const VariabileAmbiente pcLocal("PCLocal", "5");
    const auto nonAperto = QuandoSiApre([](SceltaCartellaDati& dialogo) { dialogo.reject(); });
    const auto contesto = PreparaCartellaDati(OpzioniAvvio{});
    ASSERT_TRUE(contesto);
    EXPECT_EQ(contesto->postazione, "5");
    EXPECT_TRUE(fs::equivalent(contesto->cartella.Percorso(), demo_));
    QApplication::processEvents();
    EXPECT_FALSE(*nonAperto);

    OpzioniAvvio configura;
    configura.configura = true;
    std::optional<CartellaPostazione> proposta;
    QuandoSiApre([&](SceltaCartellaDati& dialogo) {
        proposta = dialogo.Scelta();
        dialogo.reject();
    });
    EXPECT_FALSE(PreparaCartellaDati(configura));
    EXPECT_EQ(proposta, (CartellaPostazione{fs::current_path().string(), "5"}));
    EXPECT_FALSE(LeggiCartellaSalvata());
    EXPECT_TRUE(fs::equivalent(fs::current_path(), demo_));
}

}  // namespace

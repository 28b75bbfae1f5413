#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "archivio/Database.h"
#include "common/Errore.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

std::string TestoDi(const std::function<void()>& azione) {
    try {
        azione();
    } catch (const Errore& e) {
        return e.Testo();
    }
    return {};
}

}  // namespace

// A database that cannot be opened says why, and a missing one names the
// folder searched: neither is told as a file that is not there.
TEST(AperturaDatabase, LaCausaELaCartellaNelMessaggio) {
    CartellaTemporanea cartella;
    cartella.CopiaDa(CartellaDatiTest() / "demo");
    const std::string qui = cartella.Percorso().string();
    const CartellaDati dati(qui);

    const std::string mancante = TestoDi([&] { Database::Apri(dati, "Manca.mdb"); });
    EXPECT_EQ(mancante, "Errore 3024: Impossibile trovare il file 'Manca.mdb' nella cartella dei dati '" + qui + "'.");

    rlimit limite{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &limite), 0);
    // The lowest free descriptor becomes the limit: none is left to open.
    const int libero = dup(0);
    close(libero);
    const rlimit stretto{static_cast<rlim_t>(libero), limite.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &stretto), 0);
    const std::string troppi = TestoDi([&] { Database::Apri(dati, "Tableau.mdb"); });
    setrlimit(RLIMIT_NOFILE, &limite);
    EXPECT_EQ(troppi.rfind("Errore 3051: ", 0), 0u) << troppi;
    EXPECT_NE(troppi.find("troppi file aperti"), std::string::npos) << troppi;

    // Another user's file the user may not read: through the command, as a
    // user of no privileges when the test runs with them.
    fs::permissions(cartella.Percorso(), fs::perms(0755));
    fs::permissions(cartella.Percorso() / "Tableau.mdb", fs::perms(0600));
    std::string comando = std::string(BROVATO5_ESEGUIBILE) + " leggi '" + qui + "/Tableau.mdb' Tableau";
    if (geteuid() == 0) comando = "setpriv --reuid=65534 --regid=65534 --clear-groups " + comando;
    const auto [stato, errori] = EseguiConErrori(comando);
    EXPECT_EQ(stato, 1);
    EXPECT_EQ(errori.rfind("Errore 3051: ", 0), 0u) << errori;
    EXPECT_NE(errori.find("permesso negato"), std::string::npos) << errori;
}

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>
#include <string>
#include <vector>

#include "common/Errore.h"
#include "print/UscitaDiretta.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

// Every system error a user meets reads in Italian and says what to check.
TEST(Errore, CauseDiSistemaInItaliano) {
    for (const auto& [numero, causa] : std::vector<std::pair<int, std::string>>{
             {ENOENT, "il file o la cartella non esiste, controllare il nome e il percorso"},
             {EACCES, "permesso negato, controllare i permessi"},
             {ENOSPC, "disco pieno, liberare spazio sul disco"},
             {EROFS, "il disco è in sola lettura"},
             {ENXIO, "il dispositivo non risponde"},
             {EAGAIN, "memoria insufficiente"},
             {12345, "errore di sistema numero 12345"}})
        EXPECT_EQ(DescrizioneErroreSistema(numero).rfind(causa, 0), 0u) << numero;
}

TEST(Errore, TestoDegliErroriMostrati) {
    CartellaTemporanea cartella(true);
    ScriviFile("report", "x");
    // A folder where a file stands: the system's own error, told in Italian with its path.
    try {
        fs::create_directory("report/doc");
        FAIL() << "folder made inside a file";
    } catch (const fs::filesystem_error& e) {
        EXPECT_EQ(TestoErrore(e), "Errore 75: Operazione non riuscita su 'report/doc': una parte del percorso non è "
                                  "una cartella, controllare il percorso.");
    }
    EXPECT_EQ(TestoErrore(Errore(53, "File non trovato: 'x'.")), "Errore 53: File non trovato: 'x'.");
    EXPECT_EQ(TestoErrore(std::runtime_error("Messaggio già italiano.")), "Messaggio già italiano.");
    EXPECT_EQ(TestoErrore(std::bad_alloc()),
              "Errore 7: Operazione non riuscita: memoria insufficiente, chiudere qualche programma e riprovare.");
    EXPECT_EQ(TestoErrore(std::system_error(EAGAIN, std::generic_category())).rfind("Errore 7: ", 0), 0u);
    // The direct print into a folder that is not there.
    try {
        ApriUscitaDiretta(cartella.Dati(), RisolviDestinazione("/cartella-che-non-esiste/stampa.prn"), true);
        FAIL() << "missing folder opened";
    } catch (const Errore& e) {
        EXPECT_EQ(e.Descrizione(),
                  "Impossibile aprire la destinazione di stampa '/cartella-che-non-esiste/stampa.prn': il file o la "
                  "cartella non esiste, controllare il nome e il percorso.");
    }
}

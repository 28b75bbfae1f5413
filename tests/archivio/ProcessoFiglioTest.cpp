#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <string>
#include <system_error>
#include <thread>

#include "archivio/ProcessoFiglio.h"

using namespace std::chrono_literals;
using Fine = EsitoProgramma::Fine;

namespace {

constexpr std::size_t kMolto = std::size_t{1} << 26;

EsitoProgramma Shell(const std::string& comandi, std::chrono::milliseconds limite = 10s,
                     std::size_t massima = kMolto) {
    return EseguiProgramma("/bin/sh", {"-c", comandi}, limite, massima);
}

}  // namespace

TEST(ProcessoFiglio, RaccoglieUscitaECodice) {
    const auto esito = Shell("printf 'a\\000b\\n'; exit 3");
    EXPECT_EQ(esito.fine, Fine::Uscito);
    EXPECT_EQ(esito.codice, 3);
    EXPECT_EQ(esito.uscita, std::string("a\0b\n", 4));

    // More than a pipe holds: reading and waiting must not block each other.
    EXPECT_EQ(Shell("head -c 3000000 /dev/zero").uscita.size(), 3000000u);
    // Standard input is empty, not this program's.
    EXPECT_EQ(Shell("cat; echo fatto").uscita, "fatto\n");
}

TEST(ProcessoFiglio, CrashRiconosciuto) {
    const auto esito = Shell("kill -SEGV $$");
    EXPECT_EQ(esito.fine, Fine::Terminato);
    EXPECT_EQ(esito.codice, SIGSEGV);
}

TEST(ProcessoFiglio, FermatoAlLimiteDiTempoODiUscita) {
    for (const char* comandi : {"exec sleep 30", "printf parziale; exec sleep 30", "exec >&-; exec sleep 30"}) {
        SCOPED_TRACE(comandi);
        const auto inizio = std::chrono::steady_clock::now();
        EXPECT_EQ(Shell(comandi, 200ms).fine, Fine::TempoScaduto);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, 10s);
    }
    EXPECT_EQ(EseguiProgramma("/usr/bin/yes", {}, 10s, 100000).fine, Fine::UscitaEccessiva);
}

TEST(ProcessoFiglio, ProgrammaMancante) {
    EXPECT_THROW(EseguiProgramma("/nessuna/cartella/programma", {}, 1s, kMolto), std::system_error);
}

// The output may reach the bound, not pass it, however the program ends after writing.
TEST(ProcessoFiglio, UscitaFinoAlLimite) {
    const struct {
        const char* comandi;
        Fine fine;
    } casi[] = {
        {"head -c 5000 /dev/zero", Fine::Uscito},
        {"head -c 5001 /dev/zero", Fine::UscitaEccessiva},
        {"head -c 5001 /dev/zero; exec sleep 30", Fine::UscitaEccessiva},
        {"head -c 4000 /dev/zero; kill -SEGV $$", Fine::Terminato},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.comandi);
        const auto inizio = std::chrono::steady_clock::now();
        const auto esito = Shell(caso.comandi, 10s, 5000);
        EXPECT_EQ(esito.fine, caso.fine);
        EXPECT_LE(esito.uscita.size(), 5000u);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, 5s);
    }
}

// A stop requested through the descriptor kills the program at once, before
// any limit; requested before the start, the program does not run at all.
TEST(ProcessoFiglio, ArrestatoDalDescrittore) {
    const std::string segno = ::testing::TempDir() + "avviato-" + std::to_string(getpid());
    const struct {
        std::string comandi;
        bool primaDellAvvio;
    } casi[] = {
        {"exec sleep 30", false},
        {"printf parziale; exec sleep 30", false},
        {"exec >&-; exec sleep 30", false},
        {"touch '" + segno + "'; exec sleep 30", true},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.comandi);
        int tubo[2];
        ASSERT_EQ(pipe(tubo), 0);
        if (caso.primaDellAvvio) {
            ASSERT_EQ(write(tubo[1], "x", 1), 1);
        }
        std::thread richiesta([&] {
            if (caso.primaDellAvvio) return;
            std::this_thread::sleep_for(100ms);
            EXPECT_EQ(write(tubo[1], "x", 1), 1);
        });
        const auto inizio = std::chrono::steady_clock::now();
        const auto esito = EseguiProgramma("/bin/sh", {"-c", caso.comandi}, 20s, kMolto, -1, tubo[0]);
        richiesta.join();
        EXPECT_EQ(esito.fine, Fine::Arrestato);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, 2s);
        EXPECT_NE(access(segno.c_str(), F_OK), 0);
        close(tubo[0]);
        close(tubo[1]);
    }
}

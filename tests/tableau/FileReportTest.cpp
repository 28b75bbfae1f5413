#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "archivio/ProcessoFiglio.h"
#include "common/Errore.h"
#include "support/Supporto.h"
#include "tableau/CreaTableau.h"
#include "tableau/FileReport.h"
#include "tableau/RigaReport.h"
#include "tableau/Scenario.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> FileNellaCartella(const fs::path& cartella) {
    std::vector<std::string> nomi;
    for (const auto& voce : fs::directory_iterator(cartella)) nomi.push_back(voce.path().filename().string());
    std::sort(nomi.begin(), nomi.end());
    return nomi;
}

}  // namespace

TEST(Postazione, NomeDelFileDalValoreDiPCLocal) {
    {
        VariabileAmbiente v("PCLocal", " 07 ");
        EXPECT_EQ(PostazioneDellAmbiente(), "07");
        EXPECT_EQ(NomeFileReport(PostazioneDellAmbiente()), "FD07");
    }
    {
        VariabileAmbiente v("PCLocal", nullptr);
        VariabileAmbiente minuscola("pclocal", "3");
        EXPECT_EQ(PostazioneDellAmbiente(), "3");
    }
    {
        VariabileAmbiente v("PCLocal", nullptr);
        EXPECT_EQ(NomeFileReport(PostazioneDellAmbiente()), "FD");
    }
    for (const char* valore : {"../1", "a/b", "a\\b", ".."}) {
        VariabileAmbiente v("PCLocal", valore);
        EXPECT_EQ(NumeroErroreDi([] { PostazioneDellAmbiente(); }), 5) << valore;
    }
}

TEST(FileReport, UnaCostruzioneFallitaLasciaIlReportPrecedente) {
    CartellaTemporanea cartella;
    const fs::path& qui = cartella.Percorso();
    const Contesto contesto = cartella.Dati("2");
    Scenario s(qui);
    s.Camera("101");
    s.Scrivi();
    ScriviFile(qui / "fd2", "report precedente\r\n");
    fs::remove(qui / "Arrangiamento.mdb");
    UltimaCostruzione ultima;
    EXPECT_EQ(NumeroErroreDi([&] { CreaTableau(ultima, contesto, 1, 1, "1", "999", "07/12/2026"); }), 3024);
    EXPECT_EQ(LeggiFile(qui / "fd2"), "report precedente\r\n");
    const auto prima = FileNellaCartella(qui);
    EXPECT_EQ(NumeroErroreDi([&] { CreaTableau(ultima, contesto, 1, 1, "1", "999", "31/04/2026"); }), 5);
    EXPECT_EQ(FileNellaCartella(qui), prima);  // no temporary file left behind
    // A complete build replaces the report, under the name it already had.
    s.Scrivi();
    CreaTableau(ultima, contesto, 1, 1, "1", "999", "07/12/2026");
    EXPECT_EQ(RigheReport(LeggiFile(qui / "fd2")).size(), 5u);
    EXPECT_FALSE(fs::exists(qui / "FD2"));
}

// A build asked to stop, wherever the request finds it, leaves the previous
// report and no file of its own; what it kept serves the next build, whose
// steps name the files it reads, then the composing.
TEST(FileReport, UnaCostruzioneAnnullataLasciaIlReportPrecedente) {
    CartellaTemporanea cartella;
    const fs::path& qui = cartella.Percorso();
    const Contesto contesto = cartella.Dati("2");
    Scenario s(qui);
    s.Camera("101");
    s.Camera("102");
    s.Scrivi();
    ScriviFile(qui / "FD2", "report precedente\r\n");
    const auto presenti = FileNellaCartella(qui);
    struct Caso {
        const char* fermata;  // the step that asks to stop; "": asked before the build
        const char* ultimaCamera;
    };
    // "100": no room in the range, so only the check before the report is put in place stops it.
    for (const Caso caso : {Caso{"", "999"}, Caso{"Lettura di ", "999"}, Caso{"Composizione del tableau", "999"},
                            Caso{"Composizione del tableau", "100"}}) {
        SCOPED_TRACE(std::string(caso.fermata) + " " + caso.ultimaCamera);
        UltimaCostruzione ultima;
        std::stop_source arresto;
        if (*caso.fermata == '\0') arresto.request_stop();
        Avanzamento fermata(arresto.get_token(), [&](const std::string& passo) {
            if (*caso.fermata != '\0' && passo.starts_with(caso.fermata)) arresto.request_stop();
        });
        EXPECT_THROW(CreaTableau(ultima, contesto, 1, 1, "1", caso.ultimaCamera, "07/12/2026", fermata),
                     CostruzioneAnnullata);
        EXPECT_EQ(LeggiFile(qui / "FD2"), "report precedente\r\n");
        EXPECT_EQ(FileNellaCartella(qui), presenti);

        std::vector<std::string> passi;
        Avanzamento avanzamento(std::stop_token(), [&](const std::string& passo) { passi.push_back(passo); });
        CreaTableau(ultima, contesto, 1, 1, "1", "999", "07/12/2026", avanzamento);
        EXPECT_EQ(RigheReport(LeggiFile(qui / "FD2")).size(), 8u);
        ScriviFile(qui / "FD2", "report precedente\r\n");
        ASSERT_FALSE(passi.empty());
        EXPECT_EQ(passi.back(), "Composizione del tableau…");
        // Stopped before it began, the build opened nothing: the next one reads every file, and says so.
        const auto letto = [&](const char* file) {
            return std::any_of(passi.begin(), passi.end(), [&](const std::string& passo) {
                return passo.starts_with("Lettura di ") && passo.find(file) != std::string::npos;
            });
        };
        if (*caso.fermata != '\0') continue;
        for (const char* file : {"NumeriCamere.mdb", "TipiCamere.mdb", "Scheda_Cliente.mdb", "AgenzieAbituali.mdb",
                                 "Arrangiamento.mdb", "Camere_Prenotazione.mdb", "Scheda_Prenotazione.mdb"})
            EXPECT_TRUE(letto(file)) << file;
    }
}

// The report being written stays this program's own: a program started
// meanwhile (the Access reader) does not hold it open. Once in place it is
// as readable as any new file.
TEST(FileReport, TemporaneoChiusoAiProgrammiAvviatiReportConIPermessiDiOgniFile) {
    using namespace std::chrono_literals;
    CartellaTemporanea cartella;
    const mode_t maschera = umask(027);
    {
        FileReport report(cartella.Dati("4"));
        const auto figlio = EseguiProgramma("/bin/sh", {"-c", "ls -l /proc/$$/fd"}, 10s, 1 << 20);
        EXPECT_NE(figlio.uscita.find("/dev/null"), std::string::npos) << figlio.uscita;
        EXPECT_EQ(figlio.uscita.find("FD4"), std::string::npos) << figlio.uscita;
        report.ScriviRiga("riga");
        report.Completa();
    }
    umask(maschera);
    EXPECT_EQ(fs::status(cartella.Percorso() / "FD4").permissions(), fs::perms(0640));
    EXPECT_EQ(FileNellaCartella(cartella.Percorso()), std::vector<std::string>{"FD4"});
}

TEST(RigaReport, NumeriAllineatiOAsterischi) {
    EXPECT_EQ(NumeroADestra(7, 2), " 7");
    EXPECT_EQ(NumeroADestra(-5, 3), " -5");
    EXPECT_EQ(NumeroADestra(99, 2), "99");
    EXPECT_EQ(NumeroADestra(100, 2), "**");
    EXPECT_EQ(NumeroADestra(-10, 2), "**");
    EXPECT_EQ(NumeroADestra(INT64_MIN, 3), "***");
    EXPECT_EQ(Adatta("Bertolucci", 8), "Bertoluc");
    EXPECT_EQ(Adatta("CTS", 5), "CTS  ");
}

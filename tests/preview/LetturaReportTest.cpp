#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "common/Errore.h"
#include "preview/FileEMail.h"
#include "preview/LetturaReport.h"
#include "support/Supporto.h"

namespace {

void ScriviReport(const std::string& contenuto) { ScriviFile("FD3", contenuto); }

int Righe(const std::string& pagina) {
    return static_cast<int>(std::count(pagina.begin(), pagina.end(), '\n'));
}

class LetturaReportTest : public ::testing::Test {
protected:
    CartellaTemporanea cartella_{true};
    VariabileAmbiente postazione_{"PCLocal", "3"};
};

}  // namespace

TEST_F(LetturaReportTest, PaginePerNumeroDiCaratteri) {
    struct Caso {
        int righe;
        std::size_t lunghezza;
        int primaPagina;      // 20000 characters, on opening
        int altroDopoPrima;
        int dopoInizio;       // 26000 characters, after reopening
        int altroDopoInizio;
    };
    const Caso casi[] = {
        {152, 132, 152, 0, 152, 0},  // 151 lines make 19932 characters, 152 make 20064
        {197, 132, 152, 1, 197, 0},  // 197 make 26004
        {400, 132, 152, 1, 197, 1},
        {200, 100, 200, 0, 200, 0},  // the budget reached exactly
        {300, 100, 200, 1, 260, 1},
        {0, 100, 0, 0, 0, 0},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(std::to_string(caso.righe) + " righe di " + std::to_string(caso.lunghezza));
        ScriviReport(ReportNumerato(caso.righe, caso.lunghezza));
        LetturaReport report(ContestoCorrente());
        ASSERT_TRUE(report.Aperto());
        EXPECT_EQ(Righe(report.RiempiPagina(20000)), caso.primaPagina);
        EXPECT_EQ(report.CaratteriLetti(), caso.primaPagina * static_cast<int>(caso.lunghezza));
        EXPECT_EQ(report.AltroTesto(), caso.altroDopoPrima);
        report.Riapri();
        EXPECT_EQ(Righe(report.RiempiPagina(26000)), caso.dopoInizio);
        EXPECT_EQ(report.AltroTesto(), caso.altroDopoInizio);
    }
}

TEST_F(LetturaReportTest, SalvaSostituisceSoloLaPaginaMostrata) {
    const std::string originale = ReportNumerato(300, 100);
    ScriviReport(originale);
    const std::string primaParte = originale.substr(0, 200 * 102);
    const std::string secondaParte = originale.substr(200 * 102);

    LetturaReport report(ContestoCorrente());
    report.RiempiPagina(20000);
    report.Salva("modificata\r\n");
    EXPECT_EQ(LeggiFile("FD3"), "modificata\r\n" + secondaParte);
    // Reopened at its start; a second save replaces the same lines again.
    report.Salva("ancora");
    EXPECT_EQ(LeggiFile("FD3"), "ancora\r\n" + secondaParte);
    EXPECT_EQ(report.RiempiPagina(6), "ancora\r\n");

    ScriviReport(originale);
    report.Riapri();
    report.RiempiPagina(20000);
    report.RiempiPagina(26000);
    report.Salva("");
    EXPECT_EQ(LeggiFile("FD3"), primaParte);
}

TEST_F(LetturaReportTest, ReportNonApertoSiRipara) {
    LetturaReport report(ContestoCorrente());
    EXPECT_FALSE(report.Aperto());
    EXPECT_FALSE(EsisteReport(ContestoCorrente()));
    EXPECT_EQ(NumeroErroreDi([&] { report.RiempiPagina(20000); }), 52);
    report.Ripara();
    EXPECT_TRUE(EsisteReport(ContestoCorrente()));
    EXPECT_EQ(report.RiempiPagina(20000), "");
    EXPECT_EQ(report.AltroTesto(), 0);
}

TEST_F(LetturaReportTest, FileDellaPostaElettronica) {
    ScriviFileEMail(ContestoCorrente(), "Camera 1\r\nRoss\xEC\r\n");
    EXPECT_EQ(LeggiFile("e-mail3.txt"), "OGGETTO\r\nCamera 1\r\nRoss\xEC\r\n\r\n");
    ScriviFileEMail(ContestoCorrente(), "");
    EXPECT_EQ(LeggiFile("e-mail3.txt"), "OGGETTO\r\n\r\n");
    VariabileAmbiente senzaPostazione("PCLocal", nullptr);
    EXPECT_EQ(NomeFileEMail(PostazioneDellAmbiente()), "e-mail.txt");
}

TEST_F(LetturaReportTest, SalvaRifiutaUnReportCambiatoDopoLaLettura) {
    struct Caso {
        const char* descrizione;
        std::function<void()> cambia;
        std::string dopo;  // the report the save must leave untouched
    };
    const std::string nuovo = ReportNumerato(2);
    const Caso casi[] = {
        {"replaced by another build",
         [&] {
             ScriviFile("FD3.nuovo", nuovo);
             std::filesystem::rename("FD3.nuovo", "FD3");
         },
         nuovo},
        {"rewritten in place", [&] { ScriviFile("FD3", nuovo); }, nuovo},
        {"same size, time of modification set back",
         [] {
             const auto ora = std::filesystem::last_write_time("FD3");
             ScriviFile("FD3", ReportNumerato(1, 131) + "x");
             std::filesystem::last_write_time("FD3", ora);
         },
         ReportNumerato(1, 131) + "x"},
        {"removed", [] { std::filesystem::remove("FD3"); }, ""},
    };
    for (const Caso& caso : casi) {
        SCOPED_TRACE(caso.descrizione);
        ScriviReport(ReportNumerato(1));
        LetturaReport report(ContestoCorrente());
        report.RiempiPagina(20000);
        caso.cambia();
        EXPECT_EQ(NumeroErroreDi([&] { report.Salva("modificata\r\n"); }), 75);
        EXPECT_EQ(std::filesystem::exists("FD3") ? LeggiFile("FD3") : "", caso.dopo);
        // Read again, the report takes the edit.
        if (caso.dopo.empty()) continue;
        report.Riapri();
        report.RiempiPagina(20000);
        report.Salva("modificata\r\n");
        EXPECT_EQ(LeggiFile("FD3"), "modificata\r\n");
    }
}

#include <QGuiApplication>

#include <iostream>
#include <memory>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "app/forms/Brov5Desk.h"
#include "common/Ambiente.h"
#include "common/piattaforma/qt/StampanteQt.h"
#include "quadro/forms/StampaQuadro.h"

// brovato5-qt, the program of the windows: brovato5 hands it the main window
// and printing; started on its own it does all that brovato5 does. Without a
// command it opens its main window; with one it runs the command. Options
// before either choose the data folder and the workstation.
int main(int argc, char* argv[]) {
    PreparaCartellaRuntime();
    const OpzioniAvvio opzioni = LeggiOpzioniAvvio(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto esito = RispondiOpzioniAvvio(opzioni, std::cout, std::cerr)) return *esito;
    if (opzioni.resto.empty()) return AvviaBrov5Desk(argc, argv, opzioni);
    // The commands print through the Qt printer, which needs a QGuiApplication;
    // a command runs without a display (a night job), so off screen unless told.
    std::unique_ptr<QGuiApplication> app;
    const auto applicazione = [&] {
        if (app) return;
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    };
    const auto stampante = [&]() -> std::unique_ptr<Stampante> {
        applicazione();
        return std::make_unique<StampanteQt>();
    };
    // Every room of the week, in its order, without the box of changes.
    const auto pdfQuadro = [&](const Settimana& settimana, bool a3) {
        applicazione();
        DocumentoQuadro documento{settimana, {}, nullptr};
        for (std::size_t i = 0; i < settimana.camere.size(); ++i) documento.righe.push_back(i);
        const QByteArray pdf = PdfQuadro(documento, a3 ? FormatoCarta::A3 : FormatoCarta::A4);
        return std::string(pdf.constData(), static_cast<std::size_t>(pdf.size()));
    };
    return EseguiComando(opzioni.resto, opzioni, std::cout, std::cerr, stampante, pdfQuadro);
}

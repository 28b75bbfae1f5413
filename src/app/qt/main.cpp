#include <QGuiApplication>

#include <iostream>
#include <memory>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "app/forms/Brov5Desk.h"
#include "common/Ambiente.h"
#include "common/piattaforma/qt/StampanteQt.h"

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
    const auto stampante = [&]() -> std::unique_ptr<Stampante> {
        if (!app) {
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        }
        return std::make_unique<StampanteQt>();
    };
    return EseguiComando(opzioni.resto, opzioni, std::cout, std::cerr, stampante);
}

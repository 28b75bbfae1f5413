#include <QGuiApplication>

#include <iostream>
#include <memory>

#include "app/Avvio.h"
#include "app/Comandi.h"
#include "app/forms/Brov5Desk.h"
#include "common/Ambiente.h"
#include "common/Errore.h"
#include "common/piattaforma/qt/StampanteQt.h"

// Without a command the program opens its main window; with one it runs the
// command. Options before either choose the data folder and the workstation.
int main(int argc, char* argv[]) {
    PreparaCartellaRuntime();
    const OpzioniAvvio opzioni = LeggiOpzioniAvvio(std::vector<std::string>(argv + 1, argv + argc));
    if (!opzioni.errore.empty()) {
        std::cerr << "brovato5: " << opzioni.errore << "\nPer l'uso: brovato5 --help\n";
        return 2;
    }
    if (opzioni.versione) {
        std::cout << "brovato5 " << BROVATO5_VERSIONE << "\n";
        return 0;
    }
    try {
        if (opzioni.cartella) EntraNellaCartella(*opzioni.cartella);
    } catch (const Errore& e) {
        std::cerr << e.Testo() << "\n";
        return 1;
    }
    if (opzioni.postazione) ImpostaPostazione(*opzioni.postazione);
    if (opzioni.resto.empty()) return AvviaBrov5Desk(argc, argv, opzioni);
    // The commands print through the Qt printer, which needs a QGuiApplication;
    // a command runs without a display (a night job), so off screen unless told.
    std::unique_ptr<QGuiApplication> app;
    UsaStampante([&]() -> std::unique_ptr<Stampante> {
        if (!app) {
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
            app = std::make_unique<QGuiApplication>(argc, argv);
        }
        return std::make_unique<StampanteQt>();
    });
    return EseguiComando(opzioni.resto, std::cout, std::cerr);
}

#include <QGuiApplication>

#include <memory>

#include "app/Comandi.h"
#include "app/forms/Brov5Desk.h"
#include "common/Ambiente.h"
#include "common/piattaforma/qt/StampanteQt.h"

// Without arguments the program opens its main window; with arguments it runs a command.
int main(int argc, char* argv[]) {
    PreparaCartellaRuntime();
    if (argc <= 1) return AvviaBrov5Desk(argc, argv);
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
    return EseguiComando(argc, argv);
}

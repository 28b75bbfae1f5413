#include <QApplication>

#include "app/forms/Brov5Desk.h"
#include "common/forms/TraduzioneQt.h"

int AvviaBrov5Desk(int argc, char** argv) {
    QApplication applicazione(argc, argv);
    const TraduzioneQt traduzione;
    Brov5Desk desk;
    if (desk.Avvia()) QApplication::exec();
    return desk.CodiceUscita();
}

#include <QApplication>

#include "app/forms/Brov5Desk.h"

int AvviaBrov5Desk(int argc, char** argv) {
    QApplication applicazione(argc, argv);
    Brov5Desk desk;
    if (desk.Avvia()) QApplication::exec();
    return desk.CodiceUscita();
}

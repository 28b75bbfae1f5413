#pragma once

#include <functional>
#include <string>

#include "quadro/ImpaginaQuadro.h"

class QPagedPaintDevice;
class QPainter;
class QWidget;

// Draws every page of a document on the device with the painter, going on
// to a new page of the device between them.
using DisegnoPagine = std::function<void(QPagedPaintDevice& dispositivo, QPainter& pittore)>;

// The printer the picture of the week is printed on: a queue of the print
// system, chosen by the user in the print dialog (the default one proposed).
class StampantePagine {
public:
    virtual ~StampantePagine() = default;

    // Prints the pages `disegna` draws, landscape on `formato`, as one job on
    // the printer the user chooses over `proprietaria`. Gives the printer's
    // name, "" when the user gave up. Throws Errore 482 when no printer is
    // installed or the job fails.
    virtual std::string Stampa(QWidget* proprietaria, FormatoCarta formato, const DisegnoPagine& disegna) = 0;
};

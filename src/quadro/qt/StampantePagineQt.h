#pragma once

#include "quadro/forms/StampantePagine.h"

// The print system's queues through Qt's print dialog and QPrinter.
class StampantePagineQt : public StampantePagine {
public:
    std::string Stampa(QWidget* proprietaria, FormatoCarta formato, const DisegnoPagine& disegna) override;
};

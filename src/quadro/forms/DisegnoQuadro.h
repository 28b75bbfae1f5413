#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>

#include <array>
#include <vector>

#include "quadro/Quadro.h"

class QPainter;

// How the picture of the week is drawn, the same on screen and on paper:
// a colour per state from a palette that colour-blind readers tell apart
// (Okabe and Ito's), and besides it a letter and a hatch, so that a print in
// black and white is read as well.

QColor ColoreStato(StatoQuadro stato);
Qt::BrushStyle TratteggioStato(StatoQuadro stato);
// The mark of a cell changed since the last print, and of a cell the name search found.
QColor ColoreVariazione();
QColor ColoreTrovata();

// What is marked on the days of a room besides its stays.
struct SegniRiga {
    std::array<bool, Griglia::Giorni> trovate{};   // the name search found it
    std::array<bool, Griglia::Giorni> variate{};   // changed since the last print
    int cursore = -1;                              // the day of the current cell; -1 for none
};

// The row of a room: `celle` is the rectangle of its seven days. Each day's
// ground (free, out of service), the bars of the stays (the report's choice
// as a full bar with its letter, name, persons, agency and payment; the other
// parties as a narrow band under it), arrows where a stay goes past the
// week's edges, and the marks.
void DisegnaRigaCamera(QPainter& pittore, const CameraSettimana& camera, const std::vector<Barra>& barre,
                       const QRectF& celle, const QFont& carattere, const SegniRiga& segni);
// The room column of a row: number, type and floor.
void DisegnaCamera(QPainter& pittore, const CameraSettimana& camera, const QRectF& area, const QFont& carattere);
// The day header over the seven days; `oggi` the day that is today (-1 for none).
void DisegnaIntestazione(QPainter& pittore, const Settimana& settimana, const QRectF& angolo, const QRectF& giorni,
                         const QFont& carattere, int oggi);
// The totals row of the days under the rooms.
void DisegnaTotali(QPainter& pittore, const std::array<TotaliGiorno, Griglia::Giorni>& totali, const QRectF& angolo,
                   const QRectF& giorni, const QFont& carattere);
// The legend on one line: each state's swatch with its letter and name, and the marks.
void DisegnaLegenda(QPainter& pittore, const QRectF& area, const QFont& carattere);
// The width the legend takes in `carattere`.
double LarghezzaLegenda(const QFont& carattere);

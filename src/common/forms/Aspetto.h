#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QPaintDevice;
class QWidget;

// Sizes and positions of the windows are kept in twips (1440 to the inch) and
// turned into pixels with the screen's logical resolution, so every window
// keeps its proportions on any screen.
struct RettangoloTwip {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    friend bool operator==(const RettangoloTwip&, const RettangoloTwip&) = default;
};

constexpr int TwipPerPollice = 1440;

int TwipInPixelX(const QPaintDevice& superficie, int twip);
int TwipInPixelY(const QPaintDevice& superficie, int twip);
int PixelInTwipX(const QPaintDevice& superficie, int pixel);
int PixelInTwipY(const QPaintDevice& superficie, int pixel);
QRect InPixel(const QPaintDevice& superficie, const RettangoloTwip& r);

// Places `controllo` at `r` inside its parent.
void Posiziona(QWidget& controllo, const RettangoloTwip& r);

// The font `nome` at `punti` points; where it is not installed, the nearest
// installed face of the same kind serves (a sans face for Corbel and Arial,
// a fixed-pitch one for Courier New).
QFont Carattere(const QString& nome, double punti, bool grassetto = false);

// Keeps `finestra` above all other windows, without moving or resizing it.
void MettiInPrimoPiano(QWidget& finestra);

// Every shown window of the program kept above all others stops being so,
// where and as it is, for a window another program opens for the user (a
// document, the mail client): it would come up hidden behind them. Each is put
// on top again by the next MettiInPrimoPiano, when the program activates it.
void CediPrimoPiano();

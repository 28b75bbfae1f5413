#include "common/forms/Aspetto.h"

#include <QApplication>
#include <QPaintDevice>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace {

int Scala(int valore, int numeratore, int denominatore) {
    return static_cast<int>(std::lround(static_cast<double>(valore) * numeratore / denominatore));
}

}  // namespace

int TwipInPixelX(const QPaintDevice& superficie, int twip) {
    return Scala(twip, superficie.logicalDpiX(), TwipPerPollice);
}

int TwipInPixelY(const QPaintDevice& superficie, int twip) {
    return Scala(twip, superficie.logicalDpiY(), TwipPerPollice);
}

int PixelInTwipX(const QPaintDevice& superficie, int pixel) {
    return Scala(pixel, TwipPerPollice, superficie.logicalDpiX());
}

int PixelInTwipY(const QPaintDevice& superficie, int pixel) {
    return Scala(pixel, TwipPerPollice, superficie.logicalDpiY());
}

QRect InPixel(const QPaintDevice& superficie, const RettangoloTwip& r) {
    return QRect(TwipInPixelX(superficie, r.Left), TwipInPixelY(superficie, r.Top),
                 TwipInPixelX(superficie, r.Width), TwipInPixelY(superficie, r.Height));
}

void Posiziona(QWidget& controllo, const RettangoloTwip& r) {
    controllo.setGeometry(InPixel(controllo, r));
}

QFont Carattere(const QString& nome, double punti, bool grassetto) {
    QFont font;
    // Liberation Mono has Courier New's metrics; Liberation Sans has Arial's
    // and stands in for the humanist Corbel better than the wider default sans face.
    const bool fissa = nome == QLatin1String("Courier New");
    font.setFamilies({nome, fissa ? QStringLiteral("Liberation Mono") : QStringLiteral("Liberation Sans")});
    if (fissa) font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(punti);
    font.setBold(grassetto);
    return font;
}

void MettiInPrimoPiano(QWidget& finestra) {
    if (finestra.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) return;
    const bool visibile = finestra.isVisible();
    finestra.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    // Changing a window flag hides a shown window; show it again where it was.
    if (visibile) finestra.show();
}

void CediPrimoPiano() {
    for (QWidget* finestra : QApplication::topLevelWidgets()) {
        if (!finestra->isVisible() || !finestra->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) continue;
        // Told to the window system directly: setWindowFlag would hide the window and show it again.
        finestra->overrideWindowFlags(finestra->windowFlags() & ~Qt::WindowStaysOnTopHint);
        if (QWindow* nativa = finestra->windowHandle()) nativa->setFlags(finestra->windowFlags());
    }
}

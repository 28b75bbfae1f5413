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

namespace {

// Sets or clears "kept above all other windows" on `finestra`. A shown window
// is told through its native window, where and as it is: setWindowFlag would
// hide it, and hiding a dialog ends its modal wait.
void ImpostaPrimoPiano(QWidget& finestra, bool sopra) {
    const Qt::WindowFlags flag = finestra.windowFlags().setFlag(Qt::WindowStaysOnTopHint, sopra);
    if (!finestra.isVisible()) {
        finestra.setWindowFlags(flag);
        return;
    }
    finestra.overrideWindowFlags(flag);
    if (QWindow* nativa = finestra.windowHandle()) nativa->setFlags(flag);
}

}  // namespace

void MettiInPrimoPiano(QWidget& finestra) {
    if (!finestra.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) ImpostaPrimoPiano(finestra, true);
}

void CediPrimoPiano() {
    for (QWidget* finestra : QApplication::topLevelWidgets())
        if (finestra->isVisible() && finestra->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            ImpostaPrimoPiano(*finestra, false);
}

#include "common/forms/Icone.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

// An icon painted by a function on a 32 x 32 grid, scaled to the size asked.
class IconaDisegnata : public QIconEngine {
public:
    explicit IconaDisegnata(std::function<void(QPainter&)> disegno) : disegno_(std::move(disegno)) {}

    void paint(QPainter* pittore, const QRect& area, QIcon::Mode modo, QIcon::State) override {
        pittore->save();
        pittore->setRenderHint(QPainter::Antialiasing);
        pittore->translate(area.topLeft());
        pittore->scale(area.width() / 32.0, area.height() / 32.0);
        if (modo == QIcon::Disabled) pittore->setOpacity(0.4);
        disegno_(*pittore);
        pittore->restore();
    }

    QPixmap pixmap(const QSize& misura, QIcon::Mode modo, QIcon::State stato) override {
        QPixmap immagine(misura);
        immagine.fill(Qt::transparent);
        QPainter pittore(&immagine);
        paint(&pittore, QRect(QPoint(0, 0), misura), modo, stato);
        return immagine;
    }

    QIconEngine* clone() const override { return new IconaDisegnata(disegno_); }

private:
    std::function<void(QPainter&)> disegno_;
};

// A printer with a sheet coming out of it.
void DisegnaStampante(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10));                      // sheet going in
    p.setBrush(QColor(150, 150, 160));
    p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);        // body
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(7, 20, 18, 3));                      // slot
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 21, 14, 9));                      // printed sheet
    p.setPen(QPen(QColor(60, 60, 200), 1));
    for (double y : {24.0, 26.0, 28.0}) p.drawLine(QPointF(11, y), QPointF(21, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 200, 60));
    p.drawEllipse(QPointF(25, 15.5), 1.3, 1.3);            // power light
}

// An open door with an arrow leaving through it.
void DisegnaUscita(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(4, 3, 16, 26));                      // door frame
    QPainterPath anta;
    anta.moveTo(4, 3);
    anta.lineTo(13, 6);
    anta.lineTo(13, 31);
    anta.lineTo(4, 29);
    anta.closeSubpath();
    p.setBrush(QColor(160, 100, 50));
    p.drawPath(anta);                                      // door leaf
    p.setBrush(QColor(200, 30, 30));
    QPainterPath freccia;
    freccia.moveTo(16, 13);
    freccia.lineTo(24, 13);
    freccia.lineTo(24, 9);
    freccia.lineTo(31, 16);
    freccia.lineTo(24, 23);
    freccia.lineTo(24, 19);
    freccia.lineTo(16, 19);
    freccia.closeSubpath();
    p.drawPath(freccia);
}

// A short bold text centred in `riquadro`, `altezza` units high.
void Scritta(QPainter& p, const QRectF& riquadro, int altezza, const QColor& colore, const QString& testo) {
    QFont carattere = p.font();
    carattere.setPixelSize(altezza);
    carattere.setBold(true);
    p.setFont(carattere);
    p.setPen(colore);
    p.drawText(riquadro, Qt::AlignCenter, testo);
}

// A sheet of paper with its top right corner folded.
void DisegnaFoglio(QPainter& p, const QRectF& foglio) {
    const QPointF piega(foglio.right() - 6, foglio.top() + 6);
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({foglio.topLeft(), {piega.x(), foglio.top()}, {foglio.right(), piega.y()},
                             foglio.bottomRight(), foglio.bottomLeft()}));
    p.drawPolyline(QPolygonF({{piega.x(), foglio.top()}, piega, {foglio.right(), piega.y()}}));
}

// A sheet of text under a magnifying glass.
void DisegnaAnteprima(QPainter& p) {
    DisegnaFoglio(p, QRectF(3, 2, 20, 26));
    p.setPen(QPen(QColor(60, 60, 200), 1));
    for (double y : {9.0, 12.0, 15.0, 18.0, 21.0}) p.drawLine(QPointF(6, y), QPointF(19, y));
    p.setPen(QPen(QColor(90, 60, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(23, 23), QPointF(29.5, 29.5));  // handle
    p.setPen(QPen(QColor(40, 40, 40), 2));
    p.setBrush(QColor(200, 230, 255, 170));
    p.drawEllipse(QPointF(18, 18), 6.5, 6.5);  // lens
}

// A folder with a dated sheet sticking out of it.
void DisegnaArchivio(QPainter& p) {
    DisegnaFoglio(p, QRectF(9, 2, 16, 18));
    Scritta(p, QRectF(10, 5, 12, 9), 7, QColor(200, 30, 30), QStringLiteral("31"));
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(QColor(235, 190, 70));
    p.drawPolygon(QPolygonF({{2, 12}, {10, 12}, {12, 15}, {30, 15}, {30, 29}, {2, 29}}));
}

// A spreadsheet grid with a green header row and an arrow leaving it.
void DisegnaEsporta(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 4, 22, 22));
    p.setBrush(QColor(40, 150, 70));
    p.drawRect(QRectF(2, 4, 22, 5));
    p.setPen(QPen(QColor(40, 150, 70), 1));
    for (double y : {13.5, 18.0, 22.5}) p.drawLine(QPointF(2, y), QPointF(24, y));
    for (double x : {9.0, 16.0}) p.drawLine(QPointF(x, 9), QPointF(x, 26));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(40, 120, 220));
    p.drawPolygon(QPolygonF({{18, 24}, {24, 24}, {24, 20}, {31, 26}, {24, 32}, {24, 28}, {18, 28}}));
}

// A sheet with a red band marked PDF.
void DisegnaPdf(QPainter& p) {
    DisegnaFoglio(p, QRectF(5, 2, 22, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(QRectF(2, 15, 24, 10));
    Scritta(p, QRectF(2, 15, 24, 10), 8, Qt::white, QStringLiteral("PDF"));
}

}  // namespace

QIcon IconaStampa() { return QIcon(new IconaDisegnata(DisegnaStampante)); }

QIcon IconaEsci() { return QIcon(new IconaDisegnata(DisegnaUscita)); }

QIcon IconaAnteprima() { return QIcon(new IconaDisegnata(DisegnaAnteprima)); }

QIcon IconaArchivio() { return QIcon(new IconaDisegnata(DisegnaArchivio)); }

QIcon IconaEsporta() { return QIcon(new IconaDisegnata(DisegnaEsporta)); }

QIcon IconaPdf() { return QIcon(new IconaDisegnata(DisegnaPdf)); }

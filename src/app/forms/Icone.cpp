#include "app/forms/Icone.h"

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

}  // namespace

QIcon IconaStampa() { return QIcon(new IconaDisegnata(DisegnaStampante)); }

QIcon IconaEsci() { return QIcon(new IconaDisegnata(DisegnaUscita)); }

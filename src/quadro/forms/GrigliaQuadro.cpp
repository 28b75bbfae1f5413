#include "quadro/forms/GrigliaQuadro.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "quadro/forms/DisegnoQuadro.h"

GrigliaQuadro::GrigliaQuadro(QWidget* genitore) : QAbstractScrollArea(genitore) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    setAccessibleName(QStringLiteral("Tableau della settimana"));
}

void GrigliaQuadro::Mostra(const VistaQuadro* vista) {
    vista_ = vista;
    if (vista_ && !vista_->righe.empty()) riga_ = std::min(riga_, vista_->righe.size() - 1);
    else riga_ = 0;
    AggiornaBarre();
    viewport()->update();
}

GrigliaQuadro::Misure GrigliaQuadro::Calcola() const {
    const QFontMetrics metriche(font());
    Misure m;
    m.riga = static_cast<int>(metriche.height() * 2.9) + 2;
    m.intestazione = static_cast<int>(metriche.height() * 1.6);
    m.totali = static_cast<int>(metriche.height() * 3.5) + 2;
    m.camera = metriche.horizontalAdvance(QStringLiteral("00000 SUITE p.00")) + metriche.height();
    m.giorno = std::max(metriche.averageCharWidth() * 17, (viewport()->width() - m.camera) / Griglia::Giorni);
    return m;
}

void GrigliaQuadro::AggiornaBarre() {
    const Misure m = Calcola();
    const int righe = vista_ ? static_cast<int>(vista_->righe.size()) : 0;
    const int corpo = std::max(0, viewport()->height() - m.intestazione - m.totali);
    verticalScrollBar()->setRange(0, std::max(0, righe * m.riga - corpo));
    verticalScrollBar()->setPageStep(std::max(m.riga, corpo));
    verticalScrollBar()->setSingleStep(m.riga);
    const int larghezza = m.camera + Griglia::Giorni * m.giorno;
    horizontalScrollBar()->setRange(0, std::max(0, larghezza - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(m.giorno / 4);
}

void GrigliaQuadro::resizeEvent(QResizeEvent* evento) {
    QAbstractScrollArea::resizeEvent(evento);
    AggiornaBarre();
}

void GrigliaQuadro::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const QRect tutto = viewport()->rect();
    p.fillRect(tutto, palette().base());
    if (!vista_ || !vista_->settimana) return;
    const Settimana& settimana = *vista_->settimana;
    const Misure m = Calcola();
    const int dx = horizontalScrollBar()->value();
    const int dy = verticalScrollBar()->value();
    const double larghezzaGiorni = Griglia::Giorni * m.giorno;
    const int fondo = tutto.height() - m.totali;
    const QFont carattere = font();

    if (vista_->righe.empty()) {
        p.setPen(palette().text().color());
        p.drawText(tutto, Qt::AlignCenter, QStringLiteral("Nessuna camera da mostrare"));
    }
    const std::size_t prima = static_cast<std::size_t>(dy / m.riga);
    const auto righeVisibili = [&](auto&& disegna) {
        for (std::size_t i = prima; i < vista_->righe.size(); ++i) {
            const int y = m.intestazione + static_cast<int>(i) * m.riga - dy;
            if (y >= fondo) break;
            disegna(i, y);
        }
    };
    p.setClipRect(QRect(m.camera, m.intestazione, tutto.width() - m.camera, fondo - m.intestazione));
    righeVisibili([&](std::size_t i, int y) {
        const std::size_t camera = vista_->righe[i];
        SegniRiga segni;
        segni.trovate = vista_->trovate[camera];
        for (int k = 0; k < Griglia::Giorni; ++k) segni.variate[k] = vista_->variazioni.Marcata(camera, k);
        segni.cursore = i == riga_ ? giorno_ : -1;
        DisegnaRigaCamera(p, settimana.camere[camera], vista_->barre[camera],
                          QRectF(m.camera - dx, y, larghezzaGiorni, m.riga), carattere, segni);
    });
    p.setClipRect(QRect(0, m.intestazione, m.camera, fondo - m.intestazione));
    righeVisibili([&](std::size_t i, int y) {
        DisegnaCamera(p, settimana.camere[vista_->righe[i]], QRectF(0, y, m.camera, m.riga), carattere);
    });
    // The header and the totals row: their days scroll with the grid, their first column does not.
    for (const bool angolo : {false, true}) {
        const QRectF spostati(m.camera - dx, 0, larghezzaGiorni, m.intestazione);
        const QRectF fissi(0, 0, m.camera, m.intestazione);
        p.setClipRect(angolo ? QRect(0, 0, m.camera, tutto.height()) : QRect(m.camera, 0, tutto.width(), tutto.height()));
        DisegnaIntestazione(p, settimana, fissi, spostati, carattere, vista_->oggi);
        DisegnaTotali(p, vista_->totali, fissi.translated(0, fondo).adjusted(0, 0, 0, m.totali - m.intestazione),
                      spostati.translated(0, fondo).adjusted(0, 0, 0, m.totali - m.intestazione), carattere);
    }
}

void GrigliaQuadro::ImpostaCorrente(std::size_t riga, int giorno) {
    if (!vista_ || vista_->righe.empty()) return;
    riga_ = std::min(riga, vista_->righe.size() - 1);
    giorno_ = std::clamp(giorno, 0, Griglia::Giorni - 1);
    RendiVisibile(riga_, giorno_);
    viewport()->update();
}

void GrigliaQuadro::RendiVisibile(std::size_t riga, int giorno) {
    const Misure m = Calcola();
    const int corpo = viewport()->height() - m.intestazione - m.totali;
    const int y = static_cast<int>(riga) * m.riga;
    QScrollBar* v = verticalScrollBar();
    if (y < v->value()) v->setValue(y);
    else if (y + m.riga > v->value() + corpo) v->setValue(y + m.riga - corpo);
    const int x = giorno * m.giorno;
    const int larghezza = viewport()->width() - m.camera;
    QScrollBar* h = horizontalScrollBar();
    if (x < h->value()) h->setValue(x);
    else if (x + m.giorno > h->value() + larghezza) h->setValue(x + m.giorno - larghezza);
}

QRect GrigliaQuadro::RettangoloCella(std::size_t riga, int giorno) {
    RendiVisibile(riga, giorno);
    const Misure m = Calcola();
    return QRect(m.camera + giorno * m.giorno - horizontalScrollBar()->value(),
                 m.intestazione + static_cast<int>(riga) * m.riga - verticalScrollBar()->value(), m.giorno, m.riga);
}

void GrigliaQuadro::keyPressEvent(QKeyEvent* evento) {
    const bool righe = vista_ && !vista_->righe.empty();
    switch (evento->key()) {
    case Qt::Key_PageUp:
        emit Passo(-Griglia::Giorni);
        return;
    case Qt::Key_PageDown:
        emit Passo(Griglia::Giorni);
        return;
    case Qt::Key_Home:
        emit Oggi();
        return;
    case Qt::Key_Left:
        if (giorno_ == 0) emit Passo(-1);
        else ImpostaCorrente(riga_, giorno_ - 1);
        return;
    case Qt::Key_Right:
        if (giorno_ == Griglia::Giorni - 1) emit Passo(1);
        else ImpostaCorrente(riga_, giorno_ + 1);
        return;
    case Qt::Key_Up:
        if (righe && riga_ > 0) ImpostaCorrente(riga_ - 1, giorno_);
        return;
    case Qt::Key_Down:
        if (righe) ImpostaCorrente(riga_ + 1, giorno_);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (righe) emit CellaAperta(vista_->righe[riga_], giorno_);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(evento);
    }
}

void GrigliaQuadro::mouseReleaseEvent(QMouseEvent* evento) {
    if (evento->button() != Qt::LeftButton || !vista_ || vista_->righe.empty()) return;
    const Misure m = Calcola();
    const QPoint punto = evento->position().toPoint();
    if (punto.x() < m.camera || punto.y() < m.intestazione || punto.y() >= viewport()->height() - m.totali) return;
    const int giorno = (punto.x() - m.camera + horizontalScrollBar()->value()) / m.giorno;
    const int riga = (punto.y() - m.intestazione + verticalScrollBar()->value()) / m.riga;
    if (giorno >= Griglia::Giorni || riga < 0 || static_cast<std::size_t>(riga) >= vista_->righe.size()) return;
    ImpostaCorrente(static_cast<std::size_t>(riga), giorno);
    emit CellaAperta(vista_->righe[riga_], giorno_);
}

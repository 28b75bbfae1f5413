#include "quadro/forms/DisegnoQuadro.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "common/forms/TestoQt.h"

namespace {

const QColor kLinee(170, 170, 170);
const QColor kSfondoFuoriServizio(224, 224, 224);
const QColor kSfondoIntestazione(235, 235, 240);
const QColor kOggi(86, 180, 233, 70);
const QColor kCursore(0, 114, 178);
// The hatch over a bar: dark and faint, so that the text on it stays readable.
const QColor kTratteggio(0, 0, 0, 70);

// Share of a row's height the band of the parties not shown takes.
constexpr double kQuotaAltre = 0.16;

// Metrics of `carattere` as drawn on the painter's device (a printer has another resolution than the screen).
QFontMetricsF Metriche(const QPainter* p, const QFont& carattere) {
    return p ? QFontMetricsF(carattere, p->device()) : QFontMetricsF(carattere);
}

double Margine(const QPainter& p, const QFont& carattere) { return Metriche(&p, carattere).height() * 0.15; }

// A day's ground: white when free, grey and crossed when the room is out of service.
void DisegnaFondo(QPainter& p, const QRectF& cella, bool fuoriServizio) {
    if (!fuoriServizio) {
        p.fillRect(cella, Qt::white);
        return;
    }
    p.fillRect(cella, kSfondoFuoriServizio);
    p.fillRect(cella, QBrush(QColor(120, 120, 120), TratteggioStato(StatoQuadro::FuoriServizio)));
}

void DisegnaFreccia(QPainter& p, const QRectF& barra, bool aSinistra) {
    const double h = barra.height() * 0.45;
    const double w = std::min(h * 0.7, barra.width() / 3);
    const double y = barra.center().y();
    const double x = aSinistra ? barra.left() + 1 : barra.right() - 1;
    const double d = aSinistra ? w : -w;
    QPainterPath freccia;
    freccia.moveTo(x, y);
    freccia.lineTo(x + d, y - h / 2);
    freccia.lineTo(x + d, y + h / 2);
    freccia.closeSubpath();
    p.fillPath(freccia, Qt::black);
}

// The state's letter in a white square at the start of a bar; the room it takes.
double DisegnaLettera(QPainter& p, const QRectF& barra, StatoQuadro stato, const QFont& carattere) {
    QFont grassetto = carattere;
    grassetto.setBold(true);
    const QFontMetricsF metriche = Metriche(&p, grassetto);
    const double lato = metriche.height();
    if (barra.width() < lato * 2) return 0;
    const QRectF quadrato(barra.left() + Margine(p, carattere), barra.top() + Margine(p, carattere), lato, lato);
    p.setPen(QPen(Qt::black, 0));
    p.setBrush(Qt::white);
    p.drawRect(quadrato);
    p.setFont(grassetto);
    p.drawText(quadrato, Qt::AlignCenter, QString(QChar::fromLatin1(LetteraStato(stato))));
    return lato + 2 * Margine(p, carattere);
}

// `testo` in the room `larghezza` leaves: whole, or shortened, or cut with an ellipsis.
QString Adattato(const QString& intero, const QString& breve, const QFontMetricsF& metriche, double larghezza) {
    if (metriche.horizontalAdvance(intero) <= larghezza) return intero;
    return metriche.elidedText(breve, Qt::ElideRight, larghezza);
}

void DisegnaTestoBarra(QPainter& p, const QRectF& barra, const Partita& partita, double rientro, bool frecciaDopo,
                       const QFont& carattere) {
    const QFontMetricsF metriche = Metriche(&p, carattere);
    const double m = Margine(p, carattere);
    const double destra = frecciaDopo ? barra.height() * 0.4 : 0;
    const QRectF area = barra.adjusted(rientro + (rientro > 0 ? 0 : m), m, -m - destra, -m);
    if (area.width() < metriche.averageCharWidth() * 2) return;
    p.setFont(carattere);
    p.setPen(Qt::black);
    const QString nome = Adattato(DaCp1252(partita.nome), DaCp1252(NomeAccorciato(partita.nome)), metriche, area.width());
    const QString dettaglio = metriche.elidedText(DaCp1252(DettaglioBarra(partita)), Qt::ElideRight, area.width());
    const double riga = metriche.height();
    p.drawText(QRectF(area.left(), area.top(), area.width(), riga), Qt::AlignLeft | Qt::AlignVCenter, nome);
    if (area.height() >= riga * 1.8)
        p.drawText(QRectF(area.left(), area.top() + riga, area.width(), riga), Qt::AlignLeft | Qt::AlignVCenter,
                   dettaglio);
}

void DisegnaBarra(QPainter& p, const CameraSettimana& camera, const Barra& barra, const QRectF& celle,
                  const QFont& carattere) {
    const double mezzo = celle.width() / (2 * Griglia::Giorni);
    const double altezzaAltre = celle.height() * kQuotaAltre;
    const double x0 = celle.left() + barra.inizio * mezzo + (barra.continuaPrima ? 0 : 1);
    const double x1 = celle.left() + barra.fine * mezzo - (barra.continuaDopo ? 0 : 1);
    const QRectF area = barra.mostrata ? QRectF(x0, celle.top() + 1, x1 - x0, celle.height() - altezzaAltre - 2)
                                       : QRectF(x0, celle.bottom() - altezzaAltre, x1 - x0, altezzaAltre - 1);
    p.fillRect(area, ColoreStato(barra.stato));
    if (TratteggioStato(barra.stato) != Qt::NoBrush) p.fillRect(area, QBrush(kTratteggio, TratteggioStato(barra.stato)));
    p.setPen(QPen(ColoreStato(barra.stato).darker(170), 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    if (!barra.mostrata) return;
    if (barra.continuaPrima) DisegnaFreccia(p, area, true);
    if (barra.continuaDopo) DisegnaFreccia(p, area, false);
    const Partita& partita = camera.giorni[barra.giorno].partite[barra.indice];
    const QRectF dopoFreccia = barra.continuaPrima ? area.adjusted(area.height() * 0.4, 0, 0, 0) : area;
    const double rientro = DisegnaLettera(p, dopoFreccia, barra.stato, carattere);
    DisegnaTestoBarra(p, dopoFreccia, partita, rientro, barra.continuaDopo, carattere);
}

void DisegnaSegni(QPainter& p, const QRectF& cella, bool trovata, bool variata, bool cursore) {
    if (trovata) {
        p.fillRect(cella, QColor(204, 121, 167, 60));
        p.setPen(QPen(ColoreTrovata(), 2.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cella.adjusted(1.5, 1.5, -1.5, -1.5));
    }
    if (variata) {
        const double lato = std::min(cella.height() * 0.35, cella.width() / 6);
        QPainterPath angolo;
        angolo.moveTo(cella.right(), cella.top());
        angolo.lineTo(cella.right() - lato, cella.top());
        angolo.lineTo(cella.right(), cella.top() + lato);
        angolo.closeSubpath();
        p.fillPath(angolo, ColoreVariazione());
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(angolo);
    }
    if (cursore) {
        p.setPen(QPen(kCursore, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(cella.adjusted(1, 1, -1, -1));
    }
}

QRectF Cella(const QRectF& celle, int giorno) {
    const double w = celle.width() / Griglia::Giorni;
    return QRectF(celle.left() + giorno * w, celle.top(), w, celle.height());
}

void Griglie(QPainter& p, const QRectF& angolo, const QRectF& giorni) {
    p.setPen(QPen(kLinee, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(angolo);
    for (int k = 0; k < Griglia::Giorni; ++k) p.drawRect(Cella(giorni, k));
}

// One entry of the legend: swatch with letter, then its words; gives where the next one begins.
double VoceLegenda(QPainter* p, double x, const QRectF& area, const QFont& carattere, const QColor& colore,
                   Qt::BrushStyle tratteggio, const QString& lettera, const QString& parole) {
    const QFontMetricsF metriche = Metriche(p, carattere);
    const double lato = metriche.height();
    const QRectF campione(x, area.center().y() - lato / 2, lato * 1.6, lato);
    if (p) {
        p->fillRect(campione, colore);
        if (tratteggio != Qt::NoBrush) p->fillRect(campione, QBrush(kTratteggio, tratteggio));
        p->setPen(QPen(Qt::black, 0));
        p->setBrush(Qt::NoBrush);
        p->drawRect(campione);
        QFont grassetto = carattere;
        grassetto.setBold(true);
        p->setFont(grassetto);
        p->drawText(campione, Qt::AlignCenter, lettera);
        p->setFont(carattere);
        p->drawText(QRectF(campione.right() + lato * 0.3, area.top(), metriche.horizontalAdvance(parole) + 1,
                           area.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, parole);
    }
    return campione.right() + lato * 0.3 + metriche.horizontalAdvance(parole) + lato;
}

double Legenda(QPainter* p, const QRectF& area, const QFont& carattere) {
    double x = area.left();
    for (const StatoQuadro stato : kStatiQuadro) {
        const bool libera = stato == StatoQuadro::Libera;
        x = VoceLegenda(p, x, area, carattere, libera ? QColor(Qt::white) : ColoreStato(stato),
                        libera ? Qt::NoBrush : TratteggioStato(stato), QString(QChar::fromLatin1(LetteraStato(stato))),
                        DaCp1252(NomeStato(stato)));
    }
    x = VoceLegenda(p, x, area, carattere, ColoreVariazione(), Qt::NoBrush, QStringLiteral("\u25E5"),
                    QStringLiteral("variata dall'ultima stampa"));
    const QFontMetricsF metriche = Metriche(p, carattere);
    const QString frecce = QStringLiteral("\u25C0 \u25B6 continua prima / dopo la settimana");
    if (p) {
        p->setFont(carattere);
        p->setPen(Qt::black);
        p->drawText(QRectF(x, area.top(), metriche.horizontalAdvance(frecce) + 1, area.height()),
                    Qt::AlignLeft | Qt::AlignVCenter, frecce);
    }
    return x + metriche.horizontalAdvance(frecce) - area.left();
}

}  // namespace

QColor ColoreStato(StatoQuadro stato) {
    switch (stato) {
    case StatoQuadro::Ospite:
        return {86, 180, 233};  // sky blue
    case StatoQuadro::PrenotazioneC:
        return {0, 158, 115};  // bluish green
    case StatoQuadro::PrenotazioneD:
        return {230, 159, 0};  // orange
    case StatoQuadro::Opzione:
        return {240, 228, 66};  // yellow
    case StatoQuadro::FuoriServizio:
        return {153, 153, 153};
    case StatoQuadro::Libera:
        break;
    }
    return Qt::white;
}

Qt::BrushStyle TratteggioStato(StatoQuadro stato) {
    switch (stato) {
    case StatoQuadro::PrenotazioneC:
        return Qt::BDiagPattern;
    case StatoQuadro::PrenotazioneD:
        return Qt::HorPattern;
    case StatoQuadro::Opzione:
        return Qt::FDiagPattern;
    case StatoQuadro::FuoriServizio:
        return Qt::DiagCrossPattern;
    case StatoQuadro::Ospite:
    case StatoQuadro::Libera:
        break;
    }
    return Qt::NoBrush;
}

QColor ColoreVariazione() { return {213, 94, 0}; }   // vermillion
QColor ColoreTrovata() { return {204, 121, 167}; }   // reddish purple

void DisegnaRigaCamera(QPainter& p, const CameraSettimana& camera, const std::vector<Barra>& barre,
                       const QRectF& celle, const QFont& carattere, const SegniRiga& segni) {
    for (int k = 0; k < Griglia::Giorni; ++k) DisegnaFondo(p, Cella(celle, k), camera.fuoriServizio);
    p.setPen(QPen(kLinee, 0));
    for (int k = 0; k < Griglia::Giorni; ++k) p.drawLine(Cella(celle, k).topLeft(), Cella(celle, k).bottomLeft());
    p.drawLine(celle.bottomLeft(), celle.bottomRight());
    // The parties not shown first: the report's choice is drawn over them.
    for (const bool mostrate : {false, true})
        for (const Barra& barra : barre)
            if (barra.mostrata == mostrate) DisegnaBarra(p, camera, barra, celle, carattere);
    for (int k = 0; k < Griglia::Giorni; ++k)
        DisegnaSegni(p, Cella(celle, k), segni.trovate[k], segni.variate[k], segni.cursore == k);
}

void DisegnaCamera(QPainter& p, const CameraSettimana& camera, const QRectF& area, const QFont& carattere) {
    p.fillRect(area, camera.fuoriServizio ? kSfondoFuoriServizio : kSfondoIntestazione);
    p.setPen(QPen(kLinee, 0));
    p.drawLine(area.bottomLeft(), area.bottomRight());
    p.drawLine(area.topRight(), area.bottomRight());
    const QFontMetricsF metriche = Metriche(&p, carattere);
    const QRectF testo = area.adjusted(Margine(p, carattere) * 2, Margine(p, carattere), -Margine(p, carattere), -Margine(p, carattere));
    QFont grassetto = carattere;
    grassetto.setBold(true);
    p.setPen(Qt::black);
    p.setFont(grassetto);
    p.drawText(QRectF(testo.left(), testo.top(), testo.width(), metriche.height()), Qt::AlignLeft | Qt::AlignVCenter,
               Metriche(&p, grassetto).elidedText(DaCp1252(camera.numero), Qt::ElideRight, testo.width()));
    QString sotto = DaCp1252(camera.tipo);
    if (camera.piano) sotto += QStringLiteral(" p.%1").arg(*camera.piano);
    if (camera.fuoriServizio) sotto += QStringLiteral(" X");
    p.setFont(carattere);
    if (testo.height() >= metriche.height() * 1.8)
        p.drawText(QRectF(testo.left(), testo.top() + metriche.height(), testo.width(), metriche.height()),
                   Qt::AlignLeft | Qt::AlignVCenter, metriche.elidedText(sotto, Qt::ElideRight, testo.width()));
}

void DisegnaIntestazione(QPainter& p, const Settimana& settimana, const QRectF& angolo, const QRectF& giorni,
                         const QFont& carattere, int oggi) {
    p.fillRect(angolo, kSfondoIntestazione);
    p.fillRect(giorni, kSfondoIntestazione);
    QFont grassetto = carattere;
    grassetto.setBold(true);
    p.setFont(grassetto);
    p.setPen(Qt::black);
    p.drawText(angolo.adjusted(Margine(p, carattere) * 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Camera"));
    const QFontMetricsF metriche = Metriche(&p, grassetto);
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const QRectF cella = Cella(giorni, k);
        if (k == oggi) p.fillRect(cella, kOggi);
        p.setPen(Qt::black);
        p.drawText(cella, Qt::AlignCenter,
                   metriche.elidedText(DaCp1252(IntestazioneGiorno(settimana.giorni[k])), Qt::ElideRight,
                                       cella.width() - 2));
    }
    Griglie(p, angolo, giorni);
}

void DisegnaTotali(QPainter& p, const std::array<TotaliGiorno, Griglia::Giorni>& totali, const QRectF& angolo,
                   const QRectF& giorni, const QFont& carattere) {
    p.fillRect(angolo, kSfondoIntestazione);
    p.fillRect(giorni, kSfondoIntestazione);
    const QFontMetricsF metriche = Metriche(&p, carattere);
    QFont grassetto = carattere;
    grassetto.setBold(true);
    p.setPen(Qt::black);
    p.setFont(grassetto);
    p.drawText(angolo.adjusted(Margine(p, carattere) * 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Totali"));
    p.setFont(carattere);
    for (int k = 0; k < Griglia::Giorni; ++k) {
        const QRectF cella = Cella(giorni, k).adjusted(Margine(p, carattere) * 2, Margine(p, carattere), -Margine(p, carattere),
                                                       -Margine(p, carattere));
        const auto righe = RigheTotali(totali[k]);
        for (int r = 0; r < static_cast<int>(righe.size()); ++r)
            p.drawText(QRectF(cella.left(), cella.top() + r * metriche.height(), cella.width(), metriche.height()),
                       Qt::AlignLeft | Qt::AlignVCenter,
                       metriche.elidedText(DaCp1252(righe[r]), Qt::ElideRight, cella.width()));
    }
    Griglie(p, angolo, giorni);
}

void DisegnaLegenda(QPainter& p, const QRectF& area, const QFont& carattere) { Legenda(&p, area, carattere); }

double LarghezzaLegenda(const QFont& carattere) { return Legenda(nullptr, QRectF(0, 0, 0, 10), carattere); }

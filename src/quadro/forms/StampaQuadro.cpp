#include "quadro/forms/StampaQuadro.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "common/Routine.h"
#include "common/forms/Aspetto.h"
#include "common/forms/TestoQt.h"
#include "print/DatiMenuStampa.h"
#include "quadro/Quadro.h"
#include "quadro/forms/DisegnoQuadro.h"

namespace {

constexpr double kPuntiPerPollice = 72.0;
// The PDF's grid of device units: fine enough for lines of a tenth of a point.
constexpr int kRisoluzionePdf = 600;

// Draws in points on a device of any resolution.
class Pagina {
public:
    Pagina(QPagedPaintDevice& dispositivo, QPainter& pittore)
        : p_(pittore), scala_(dispositivo.logicalDpiX() / kPuntiPerPollice) {}

    QRectF Rettangolo(double x, double y, double w, double h) const {
        return QRectF(x * scala_, y * scala_, w * scala_, h * scala_);
    }
    static QFont Carattere_(double punti, bool grassetto = false) {
        QFont carattere = Carattere(QStringLiteral("Arial"), punti, grassetto);
        carattere.setPointSizeF(punti);
        return carattere;
    }
    void Testo(const QRectF& area, int allineamento, const QString& testo, const QFont& carattere) {
        p_.setFont(carattere);
        p_.setPen(Qt::black);
        p_.drawText(area, allineamento, QFontMetricsF(carattere, p_.device()).elidedText(testo, Qt::ElideRight, area.width()));
    }
    QPainter& Pittore() { return p_; }

private:
    QPainter& p_;
    double scala_;
};

// What every page shows of the whole document.
struct Comune {
    const DocumentoQuadro& documento;
    ImpaginazioneQuadro impaginazione;
    std::array<TotaliGiorno, Griglia::Giorni> totali;
    std::string settimanali;  // the week's totals
    std::vector<std::string> variazioni;
};

void DisegnaPagina(Pagina& pagina, const Comune& comune, std::size_t n) {
    const DocumentoQuadro& documento = comune.documento;
    const ImpaginazioneQuadro& impaginazione = comune.impaginazione;
    const auto& totali = comune.totali;
    const auto& variazioni = comune.variazioni;
    const MisureQuadro& m = impaginazione.misure;
    const PaginaQuadro& questa = impaginazione.pagine[n];
    const double larghezza = m.larghezza - 2 * m.margine;
    const TitoloQuadro titolo = ComponiTitolo(documento.settimana);
    const QFont fontTitolo = Pagina::Carattere_(m.corpoTitolo, true);
    const QFont fontCorpo = Pagina::Carattere_(m.corpo);
    const QFont fontIntestazione = Pagina::Carattere_(m.corpoIntestazione);
    const QRectF rigaTitolo = pagina.Rettangolo(m.margine, m.margine, larghezza, m.altezzaTitolo);
    pagina.Testo(rigaTitolo, Qt::AlignRight | Qt::AlignVCenter, DaCp1252(titolo.destra), Pagina::Carattere_(m.corpoTitolo));
    const double destra = QFontMetricsF(Pagina::Carattere_(m.corpoTitolo), pagina.Pittore().device())
                              .horizontalAdvance(DaCp1252(titolo.destra));
    pagina.Testo(rigaTitolo.adjusted(0, 0, -destra - rigaTitolo.height(), 0), Qt::AlignLeft | Qt::AlignVCenter,
                 DaCp1252(titolo.sinistra), fontTitolo);
    DisegnaLegenda(pagina.Pittore(), pagina.Rettangolo(m.margine, m.margine + m.altezzaTitolo, larghezza, m.altezzaLegenda),
                   fontCorpo);

    if (questa.griglia) {
        const QRectF angolo = pagina.Rettangolo(m.margine, m.InizioGriglia(), m.larghezzaCamera, m.altezzaIntestazione);
        const QRectF giorni = pagina.Rettangolo(m.margine + m.larghezzaCamera, m.InizioGriglia(),
                                                7 * m.larghezzaGiorno, m.altezzaIntestazione);
        DisegnaIntestazione(pagina.Pittore(), documento.settimana, angolo, giorni, fontIntestazione, -1);
        double y = m.InizioRighe();
        for (std::size_t r = questa.primaCamera; r < questa.primaCamera + questa.camere; ++r, y += m.altezzaRiga) {
            const std::size_t camera = documento.righe[r];
            SegniRiga segni;
            for (int k = 0; k < Griglia::Giorni; ++k)
                segni.variate[k] = documento.variazioni && documento.variazioni->Marcata(camera, k);
            const CameraSettimana& stanza = documento.settimana.camere[camera];
            DisegnaRigaCamera(pagina.Pittore(), stanza, BarreCamera(stanza),
                              pagina.Rettangolo(m.margine + m.larghezzaCamera, y, 7 * m.larghezzaGiorno, m.altezzaRiga),
                              fontCorpo, segni);
            DisegnaCamera(pagina.Pittore(), stanza, pagina.Rettangolo(m.margine, y, m.larghezzaCamera, m.altezzaRiga),
                          fontCorpo);
        }
        DisegnaTotali(pagina.Pittore(), totali, pagina.Rettangolo(m.margine, y, m.larghezzaCamera, m.altezzaTotali),
                      pagina.Rettangolo(m.margine + m.larghezzaCamera, y, 7 * m.larghezzaGiorno, m.altezzaTotali),
                      fontCorpo);
    }
    if (questa.variazioni > 0) {
        const double altezza = (questa.variazioni + 1) * m.altezzaRigaVariazioni;
        const QRectF riquadro = pagina.Rettangolo(m.margine, questa.inizioVariazioni, larghezza, altezza);
        pagina.Pittore().setPen(QPen(ColoreVariazione(), 0));
        pagina.Pittore().setBrush(Qt::NoBrush);
        pagina.Pittore().drawRect(riquadro);
        QFont grassetto = fontCorpo;
        grassetto.setBold(true);
        const QString segue = questa.primaVariazione > 0 ? QStringLiteral(" (segue)") : QString();
        pagina.Testo(pagina.Rettangolo(m.margine + m.margine / 3, questa.inizioVariazioni, larghezza, m.altezzaRigaVariazioni),
                     Qt::AlignLeft | Qt::AlignVCenter, DaCp1252(TitoloVariazioni(documento.variazioni->stampato)) + segue,
                     grassetto);
        for (std::size_t i = 0; i < questa.variazioni; ++i)
            pagina.Testo(pagina.Rettangolo(m.margine + m.margine / 3, questa.inizioVariazioni + (i + 1) * m.altezzaRigaVariazioni,
                                           larghezza - m.margine, m.altezzaRigaVariazioni),
                         Qt::AlignLeft | Qt::AlignVCenter, DaCp1252(variazioni[questa.primaVariazione + i]), fontCorpo);
    }
    const QRectF piede = pagina.Rettangolo(m.margine, m.altezza - m.margine - m.altezzaPiede, larghezza, m.altezzaPiede);
    const QString numero = QStringLiteral("pagina %1 di %2").arg(n + 1).arg(impaginazione.pagine.size());
    pagina.Testo(piede, Qt::AlignRight | Qt::AlignVCenter, numero, fontCorpo);
    pagina.Testo(piede.adjusted(0, 0, -piede.width() / 5, 0), Qt::AlignLeft | Qt::AlignVCenter,
                 DaCp1252(comune.settimanali), fontCorpo);
}

}  // namespace

std::vector<std::string> RigheVariazioni(const VariazioniSettimana& variazioni) {
    std::vector<std::string> righe;
    for (const Variazione& v : variazioni.variazioni) righe.push_back(DescriviVariazione(v));
    if (righe.empty()) righe.push_back("Nessuna variazione");
    return righe;
}

std::size_t DisegnaDocumento(QPagedPaintDevice& dispositivo, QPainter& pittore, const DocumentoQuadro& documento) {
    const double larghezza = dispositivo.width() * kPuntiPerPollice / dispositivo.logicalDpiX();
    const double altezza = dispositivo.height() * kPuntiPerPollice / dispositivo.logicalDpiY();
    std::vector<std::string> variazioni =
        documento.variazioni ? RigheVariazioni(*documento.variazioni) : std::vector<std::string>();
    const Settimana elencate = SoloCamere(documento.settimana, documento.righe);
    const Comune comune{documento, ImpaginaQuadro(larghezza, altezza, documento.righe.size(), variazioni.size()),
                        TotaliDeiGiorni(elencate), TestoTotaliSettimana(TotaliDellaSettimana(elencate)),
                        std::move(variazioni)};
    pittore.setRenderHint(QPainter::Antialiasing);
    Pagina pagina(dispositivo, pittore);
    for (std::size_t n = 0; n < comune.impaginazione.pagine.size(); ++n) {
        if (n > 0) dispositivo.newPage();
        DisegnaPagina(pagina, comune, n);
    }
    return comune.impaginazione.pagine.size();
}

QByteArray PdfQuadro(const DocumentoQuadro& documento, FormatoCarta formato) {
    QByteArray pdf;
    QBuffer memoria(&pdf);
    memoria.open(QIODevice::WriteOnly);
    {
        QPdfWriter scrittore(&memoria);
        scrittore.setResolution(kRisoluzionePdf);
        scrittore.setPageLayout(QPageLayout(QPageSize(formato == FormatoCarta::A3 ? QPageSize::A3 : QPageSize::A4),
                                            QPageLayout::Landscape, QMarginsF()));
        scrittore.setCreator(QStringLiteral("Brovato5"));
        scrittore.setTitle(DaCp1252(ComponiTitolo(documento.settimana).sinistra));
        QPainter pittore;
        if (!pittore.begin(&scrittore))
            throw ErroreMemoriaInsufficiente("preparare il PDF del tableau");
        DisegnaDocumento(scrittore, pittore, documento);
        pittore.end();
    }
    if (!pdf.startsWith("%PDF-")) throw ErroreMemoriaInsufficiente("preparare il PDF del tableau");
    return pdf;
}

std::string NomePdfQuadro(const std::string& postazione, const std::tm& ora) {
    return "quadro" + postazione + FormattaOra(ora, "%Y%m%d%H%M") + ".pdf";
}

std::string SalvaPdfQuadro(const Contesto& contesto, const QByteArray& pdf, const std::tm& ora) {
    return std::string(kCartellaArchivio) + "/" +
           ScriviFileIntero(CartellaArchivio(contesto.cartella), NomePdfQuadro(contesto.postazione, ora),
                            "il PDF del tableau",
                            std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
}

#include "quadro/forms/TableauVideo.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include <iostream>

#include "common/Codifica.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "common/forms/MostraMessaggio.h"
#include "common/forms/TestoQt.h"
#include "common/piattaforma/ApriDocumento.h"
#include "common/piattaforma/AvviaProgramma.h"
#include "common/piattaforma/qt/ApriDocumentoQt.h"
#include "common/piattaforma/qt/AvviaProgrammaQt.h"
#include "preview/FileEMail.h"
#include "preview/forms/Anteprima.h"
#include "quadro/forms/DisegnoQuadro.h"
#include "quadro/forms/StampaQuadro.h"
#include "quadro/qt/SettimanaStampata.h"
#include "quadro/qt/StampantePagineQt.h"
#include "tableau/Avanzamento.h"

namespace {

constexpr std::int16_t kStileAvviso = 48;
const char* const kPostino = "brovinvio";
const QString kTitoloData = QStringLiteral("Data errata!");
const QString kMessaggioData = QStringLiteral("La data deve essere inserita \r\nnel formato gg/mm/aaaa");
const QString kTutti = QStringLiteral("Tutti");

// The settings of the window for one workstation, in the program's settings file.
QString GruppoImpostazioni(const std::string& postazione) {
    return QStringLiteral("TableauVideo/postazione-") + QString::fromStdString(postazione);
}

// The legend under the grid.
class Legenda : public QWidget {
public:
    explicit Legenda(QWidget* genitore) : QWidget(genitore) {
        setMinimumHeight(fontMetrics().height() * 3 / 2);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override {
        return {static_cast<int>(LarghezzaLegenda(font())) + 4, fontMetrics().height() * 3 / 2};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        DisegnaLegenda(p, QRectF(rect()).adjusted(2, 1, -2, -1), font());
    }
};

QString Html(const std::string& cp1252) { return DaCp1252(cp1252).toHtmlEscaped(); }

}  // namespace

TableauVideo::TableauVideo(Contesto contesto, FornitoreSettimana fornitore, ServiziQuadro servizi,
                           QWidget* proprietaria)
    : QDialog(proprietaria, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                Qt::WindowMinMaxButtonsHint),
      contesto_(std::move(contesto)),
      fornitore_(std::move(fornitore)),
      servizi_(std::move(servizi)) {
    CreaControlli();
    LeggiImpostazioni();
}

TableauVideo::~TableauVideo() = default;

QToolButton* TableauVideo::Tasto(const QString& testo, const QString& suggerimento) {
    auto* tasto = new QToolButton(this);
    tasto->setText(testo);
    tasto->setToolTip(suggerimento);
    tasto->setFocusPolicy(Qt::TabFocus);
    tasto->setAutoRaise(false);
    return tasto;
}

void TableauVideo::CreaControlli() {
    setWindowTitle(QStringLiteral("Tableau a video"));
    auto* pianta = new QVBoxLayout(this);

    auto* passi = new QHBoxLayout;
    QToolButton* settimanaPrima = Tasto(QStringLiteral("\u00AB Settimana"), QStringLiteral("Settimana precedente (PgSu)"));
    QToolButton* giornoPrima = Tasto(QStringLiteral("\u2039 Giorno"), QStringLiteral("Un giorno prima"));
    QToolButton* oggi = Tasto(QStringLiteral("&Oggi"), QStringLiteral("La settimana da oggi (Home)"));
    QToolButton* giornoDopo = Tasto(QStringLiteral("Giorno \u203A"), QStringLiteral("Un giorno dopo"));
    QToolButton* settimanaDopo = Tasto(QStringLiteral("Settimana \u00BB"), QStringLiteral("Settimana seguente (PgGi\u00F9)"));
    data_ = new QLineEdit(this);
    data_->setMaxLength(10);
    data_->setFixedWidth(data_->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 12);
    data_->setToolTip(QStringLiteral("Primo giorno della settimana (gg/mm/aaaa), poi Invio"));
    auto* etichettaData = new QLabel(QStringLiteral("&Dal "), this);
    etichettaData->setBuddy(data_);
    stampa_ = Tasto(QStringLiteral("&Stampa"), QStringLiteral("Stampa il tableau su una stampante"));
    pdf_ = Tasto(QStringLiteral("&PDF"), QStringLiteral("Salva il tableau in PDF nella cartella doc"));
    email_ = Tasto(QStringLiteral("&E-mail"), QStringLiteral("Invia il PDF del tableau per posta elettronica"));
    a3_ = new QCheckBox(QStringLiteral("A&3"), this);
    a3_->setToolTip(QStringLiteral("Stampa e PDF su fogli A3 invece di A4"));
    QToolButton* chiudi = Tasto(QStringLiteral("&Chiudi"), QStringLiteral("Chiude il tableau a video"));
    for (QWidget* w : std::initializer_list<QWidget*>{settimanaPrima, giornoPrima, oggi, etichettaData, data_, giornoDopo,
                                                      settimanaDopo})
        passi->addWidget(w);
    passi->addStretch();
    for (QWidget* w : std::initializer_list<QWidget*>{stampa_, pdf_, email_, a3_, chiudi}) passi->addWidget(w);
    pianta->addLayout(passi);

    auto* filtri = new QHBoxLayout;
    tipo_ = new QComboBox(this);
    piano_ = new QComboBox(this);
    stato_ = new QComboBox(this);
    stato_->addItem(kTutti);
    for (const StatoQuadro stato : kStatiQuadro) stato_->addItem(DaCp1252(NomeStato(stato)), static_cast<int>(stato));
    cerca_ = new QLineEdit(this);
    cerca_->setPlaceholderText(QStringLiteral("nome dell'ospite o della prenotazione"));
    cerca_->setClearButtonEnabled(true);
    trovate_ = new QLabel(this);
    const std::array<std::pair<QString, QWidget*>, 4> etichette = {{{QStringLiteral("&Tipo "), tipo_},
                                                                     {QStringLiteral("P&iano "), piano_},
                                                                     {QStringLiteral("St&ato "), stato_},
                                                                     {QStringLiteral("&Cerca "), cerca_}}};
    for (const auto& [testo, controllo] : etichette) {
        auto* etichetta = new QLabel(testo, this);
        etichetta->setBuddy(controllo);
        filtri->addWidget(etichetta);
        filtri->addWidget(controllo, controllo == cerca_ ? 1 : 0);
    }
    filtri->addWidget(trovate_);
    pianta->addLayout(filtri);

    griglia_ = new GrigliaQuadro(this);
    pianta->addWidget(griglia_, 1);
    pianta->addWidget(new Legenda(this));
    totaliSettimana_ = new QLabel(this);
    totaliSettimana_->setWordWrap(true);
    pianta->addWidget(totaliSettimana_);

    riquadro_ = new QGroupBox(this);
    auto* dentro = new QVBoxLayout(riquadro_);
    elencoVariazioni_ = new QListWidget(riquadro_);
    elencoVariazioni_->setMaximumHeight(elencoVariazioni_->fontMetrics().height() * 6);
    dentro->addWidget(elencoVariazioni_);
    riquadro_->hide();
    pianta->addWidget(riquadro_);
    esito_ = new QLabel(this);
    esito_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    esito_->setWordWrap(true);
    pianta->addWidget(esito_);

    dettagli_ = new QDialog(this);
    dettagli_->setWindowTitle(QStringLiteral("Dettagli della camera"));
    auto* pagina = new QVBoxLayout(dettagli_);
    testoDettagli_ = new QTextBrowser(dettagli_);
    pagina->addWidget(testoDettagli_);
    auto* bottoni = new QDialogButtonBox(QDialogButtonBox::Close, dettagli_);
    bottoni->button(QDialogButtonBox::Close)->setText(QStringLiteral("Chiudi"));
    connect(bottoni, &QDialogButtonBox::rejected, dettagli_, &QDialog::reject);
    pagina->addWidget(bottoni);
    dettagli_->resize(fontMetrics().averageCharWidth() * 70, fontMetrics().height() * 24);

    const auto protetto = [this](auto azione) {
        return [this, azione] { EseguiMostrandoErrore([&] { (this->*azione)(); }); };
    };
    connect(settimanaPrima, &QToolButton::clicked, this, [this] { Sposta(-Griglia::Giorni); });
    connect(giornoPrima, &QToolButton::clicked, this, [this] { Sposta(-1); });
    connect(oggi, &QToolButton::clicked, this, &TableauVideo::VaiAOggi);
    connect(giornoDopo, &QToolButton::clicked, this, [this] { Sposta(1); });
    connect(settimanaDopo, &QToolButton::clicked, this, [this] { Sposta(Griglia::Giorni); });
    connect(data_, &QLineEdit::returnPressed, this, &TableauVideo::DataConfermata);
    connect(stampa_, &QToolButton::clicked, this, protetto(&TableauVideo::Stampa));
    connect(pdf_, &QToolButton::clicked, this, protetto(&TableauVideo::Pdf));
    connect(email_, &QToolButton::clicked, this, protetto(&TableauVideo::EMail));
    connect(chiudi, &QToolButton::clicked, this, &QDialog::close);
    for (QComboBox* filtro : {tipo_, piano_, stato_})
        connect(filtro, &QComboBox::currentIndexChanged, this, [this] {
            if (riempiendo_) return;
            Filtra();
            SalvaImpostazioni();
        });
    connect(a3_, &QCheckBox::toggled, this, [this] { SalvaImpostazioni(); });
    connect(cerca_, &QLineEdit::textChanged, this, &TableauVideo::Cerca);
    connect(cerca_, &QLineEdit::returnPressed, this, &TableauVideo::VaiAllaProssimaTrovata);
    connect(griglia_, &GrigliaQuadro::CellaAperta, this, &TableauVideo::ApriCella);
    connect(griglia_, &GrigliaQuadro::Passo, this, &TableauVideo::Sposta);
    connect(griglia_, &GrigliaQuadro::Oggi, this, &TableauVideo::VaiAOggi);
    // A line of the box of changes makes the first cell it marks the current one.
    const auto vaiAllaVariazione = [this](QListWidgetItem* voce) {
        const QVariant posto = voce->data(Qt::UserRole);
        if (!posto.isValid()) return;
        const auto riga = std::find(vista_.righe.begin(), vista_.righe.end(), posto.toPoint().x());
        if (riga != vista_.righe.end())
            griglia_->ImpostaCorrente(static_cast<std::size_t>(riga - vista_.righe.begin()), posto.toPoint().y());
    };
    connect(elencoVariazioni_, &QListWidget::itemClicked, this, vaiAllaVariazione);
    connect(elencoVariazioni_, &QListWidget::itemActivated, this, vaiAllaVariazione);
    setTabOrder(griglia_, data_);
}

bool TableauVideo::Avvia(const std::string& dataInizio) {
    auto settimana = Costruisci(dataInizio);
    if (!settimana) return false;
    Mostra(std::move(*settimana), dataInizio);
    griglia_->setFocus();
    return true;
}

std::optional<Settimana> TableauVideo::Costruisci(const std::string& data) {
    try {
        return fornitore_(data);
    } catch (const CostruzioneAnnullata&) {
        // Abandoned by the user: nothing to tell, the week shown stays.
        return std::nullopt;
    } catch (const std::exception& errore) {
        const std::string testo = TestoErrore(errore);
        std::cerr << testo << '\n';
        MostraMessaggio(QString::fromStdString(testo), kStileAvviso, QStringLiteral("Errore"));
        return std::nullopt;
    }
}

void TableauVideo::VaiA(const std::string& data) {
    if (auto settimana = Costruisci(data)) Mostra(std::move(*settimana), data);
    else data_->setText(DaCp1252(dataInizio_));
}

void TableauVideo::Sposta(int giorni) {
    if (dataInizio_.empty()) return;
    VaiA(TestoData(GiornoDiCalendario(dataInizio_) + std::chrono::days{giorni}));
}

void TableauVideo::VaiAOggi() { VaiA(FormattaOra(servizi_.orologio(), "%d/%m/%Y")); }

void TableauVideo::DataConfermata() {
    std::string data = InCp1252(data_->text());
    CompletaData(data);
    if (!ControllaData(data)) {
        MostraMessaggio(kMessaggioData, kStileAvviso, kTitoloData);
        data_->setText(DaCp1252(dataInizio_));
        return;
    }
    VaiA(data);
}

void TableauVideo::Mostra(Settimana settimana, const std::string& data) {
    settimana_ = std::move(settimana);
    dataInizio_ = data;
    data_->setText(DaCp1252(data));
    setWindowTitle(QStringLiteral("Tableau a video \u2013 ") + DaCp1252(ComponiTitolo(settimana_).sinistra));
    vista_.settimana = &settimana_;
    vista_.barre.clear();
    vista_.barre.reserve(settimana_.camere.size());
    for (const CameraSettimana& camera : settimana_.camere) vista_.barre.push_back(BarreCamera(camera));
    const std::string oggi = FormattaOra(servizi_.orologio(), "%Y%m%d");
    vista_.oggi = -1;
    for (int k = 0; k < Griglia::Giorni; ++k)
        if (settimana_.giorni[k].data == oggi) vista_.oggi = k;
    LeggiVariazioni();
    RiempiFiltri();
    Filtra();
    MostraVariazioni();
}

void TableauVideo::LeggiVariazioni() {
    vista_.variazioni = {};
    stampata_ = false;
    avvisoVariazioni_.clear();
    try {
        if (auto stampata = LeggiSettimanaStampata(contesto_, settimana_)) {
            vista_.variazioni = ConfrontaConStampa(stampata->settimana, stampata->stampato, settimana_);
            stampata_ = true;
        }
    } catch (const std::exception& errore) {
        // The week is shown all the same; the box tells why its changes are not.
        avvisoVariazioni_ = TestoErrore(errore);
        std::cerr << avvisoVariazioni_ << '\n';
    }
}

void TableauVideo::RiempiFiltri() {
    riempiendo_ = true;
    const QString tipo = tipo_->currentData().toString();
    const QVariant piano = piano_->currentData();
    tipo_->clear();
    tipo_->addItem(kTutti);
    for (const std::string& t : TipiDelleCamere(settimana_)) tipo_->addItem(DaCp1252(t), DaCp1252(t));
    if (!tipo.isEmpty() && tipo_->findData(tipo) < 0) tipo_->addItem(tipo, tipo);
    tipo_->setCurrentIndex(std::max(0, tipo_->findData(tipo)));
    piano_->clear();
    piano_->addItem(kTutti);
    for (const std::int64_t p : PianiDelleCamere(settimana_))
        piano_->addItem(QString::number(p), QVariant::fromValue(static_cast<qlonglong>(p)));
    if (piano.isValid() && piano_->findData(piano) < 0) piano_->addItem(QString::number(piano.toLongLong()), piano);
    piano_->setCurrentIndex(piano.isValid() ? std::max(0, piano_->findData(piano)) : 0);
    piano_->setEnabled(piano_->count() > 1);
    riempiendo_ = false;
}

FiltroQuadro TableauVideo::FiltroScelto() const {
    FiltroQuadro filtro;
    filtro.tipo = InCp1252(tipo_->currentData().toString());
    if (piano_->currentData().isValid()) filtro.piano = piano_->currentData().toLongLong();
    if (stato_->currentData().isValid()) filtro.stato = static_cast<StatoQuadro>(stato_->currentData().toInt());
    return filtro;
}

void TableauVideo::Filtra() {
    vista_.righe = CamereFiltrate(settimana_, FiltroScelto());
    const Settimana elencate = SoloCamere(settimana_, vista_.righe);
    vista_.totali = TotaliDeiGiorni(elencate);
    totaliSettimana_->setText(DaCp1252(TestoTotaliSettimana(TotaliDellaSettimana(elencate))));
    griglia_->Mostra(&vista_);
    Cerca();
}

void TableauVideo::Cerca() {
    const std::string cercato = InCp1252(cerca_->text());
    vista_.trovate.assign(settimana_.camere.size(), {});
    int quante = 0;
    for (std::size_t c = 0; c < settimana_.camere.size(); ++c)
        for (int k = 0; k < Griglia::Giorni; ++k) vista_.trovate[c][k] = NomeNelGiorno(settimana_.camere[c].giorni[k], cercato);
    for (const std::size_t c : vista_.righe)
        for (const bool trovata : vista_.trovate[c]) quante += trovata;
    trovate_->setText(Taglia(cercato).empty() ? QString()
                      : quante == 1          ? QStringLiteral("1 cella trovata")
                                             : QStringLiteral("%1 celle trovate").arg(quante));
    griglia_->Mostra(&vista_);
}

void TableauVideo::VaiAllaProssimaTrovata() {
    const std::size_t righe = vista_.righe.size();
    const std::size_t celle = righe * Griglia::Giorni;
    const std::size_t corrente = griglia_->RigaCorrente() * Griglia::Giorni + griglia_->GiornoCorrente();
    for (std::size_t passo = 1; passo <= celle; ++passo) {
        const std::size_t cella = (corrente + passo) % celle;
        const std::size_t riga = cella / Griglia::Giorni;
        const int giorno = static_cast<int>(cella % Griglia::Giorni);
        if (vista_.trovate[vista_.righe[riga]][giorno]) {
            griglia_->ImpostaCorrente(riga, giorno);
            return;
        }
    }
}

void TableauVideo::MostraVariazioni() {
    elencoVariazioni_->clear();
    riquadro_->setVisible(stampata_ || !avvisoVariazioni_.empty());
    if (!avvisoVariazioni_.empty()) {
        riquadro_->setTitle(QStringLiteral("Variazioni dall'ultima stampa"));
        elencoVariazioni_->addItem(QString::fromStdString(avvisoVariazioni_));
        return;
    }
    if (!stampata_) return;
    riquadro_->setTitle(DaCp1252(TitoloVariazioni(vista_.variazioni.stampato)));
    const auto righe = RigheVariazioni(vista_.variazioni);
    for (std::size_t i = 0; i < righe.size(); ++i) {
        auto* voce = new QListWidgetItem(DaCp1252(righe[i]), elencoVariazioni_);
        if (i >= vista_.variazioni.variazioni.size()) continue;
        // The first cell the change marks in the week shown.
        const std::string& camera = vista_.variazioni.variazioni[i].camera;
        for (std::size_t c = 0; c < settimana_.camere.size(); ++c) {
            if (settimana_.camere[c].numero != camera) continue;
            for (int k = 0; k < Griglia::Giorni; ++k)
                if (vista_.variazioni.Marcata(c, k)) {
                    voce->setData(Qt::UserRole, QPoint(static_cast<int>(c), k));
                    break;
                }
        }
    }
}

void TableauVideo::ApriCella(std::size_t camera, int giorno) {
    const DettagliCella dettagli = DescriviCella(settimana_, camera, giorno);
    QString html = QStringLiteral("<h3>") + Html(dettagli.titolo) + QStringLiteral("</h3>");
    if (dettagli.partite.empty()) html += QStringLiteral("<p>Nessuna partita in questo giorno.</p>");
    for (const auto& partita : dettagli.partite) {
        html += QStringLiteral("<p><b>") + Html(partita.front()) + QStringLiteral("</b>");
        for (std::size_t i = 1; i < partita.size(); ++i) html += QStringLiteral("<br>") + Html(partita[i]);
        html += QStringLiteral("</p>");
    }
    testoDettagli_->setHtml(html);
    dettagli_->setWindowTitle(DaCp1252(dettagli.titolo));
    dettagli_->open();
}

FormatoCarta TableauVideo::Formato() const { return a3_->isChecked() ? FormatoCarta::A3 : FormatoCarta::A4; }

void TableauVideo::Stampa() {
    const std::tm ora = servizi_.orologio();
    const DocumentoQuadro documento{settimana_, vista_.righe, stampata_ ? &vista_.variazioni : nullptr};
    const std::string stampante = servizi_.stampante.Stampa(
        this, Formato(), [&](QPagedPaintDevice& dispositivo, QPainter& pittore) { DisegnaDocumento(dispositivo, pittore, documento); });
    if (stampante.empty()) return;
    esito_->setText(QStringLiteral("Stampato su ") + QString::fromStdString(stampante));
    Conserva(ora);
}

std::string TableauVideo::SalvaPdf(const std::tm& ora) {
    const DocumentoQuadro documento{settimana_, vista_.righe, stampata_ ? &vista_.variazioni : nullptr};
    const std::string nome = SalvaPdfQuadro(contesto_, PdfQuadro(documento, Formato()), ora);
    Conserva(ora);
    return nome;
}

void TableauVideo::Pdf() {
    const std::string nome = Cp1252ToUtf8(SalvaPdf(servizi_.orologio()));
    QString esito = QStringLiteral("PDF salvato in ") + QString::fromStdString(nome);
    const std::string percorso = contesto_.cartella.PercorsoDi(nome);
    if (!servizi_.apriDocumento.Apri(percorso))
        esito += QStringLiteral(", ma il programma per aprirlo non si è avviato: il file è nella cartella ") +
                 QDir::toNativeSeparators(QFileInfo(QString::fromStdString(percorso)).absolutePath());
    esito_->setText(esito);
}

void TableauVideo::EMail() {
    const std::string nome = SalvaPdf(servizi_.orologio());
    const std::string file = nome.substr(nome.find('/') + 1);
    ScriviFileEMail(contesto_, ComponiTitolo(settimana_).sinistra + "\r\nIn allegato il tableau in PDF: " + file);
    esito_->setText(QStringLiteral("PDF salvato in ") + DaCp1252(nome) + QStringLiteral(" e passato al programma di posta"));
    email_->setEnabled(false);
    const auto riabilita = qScopeGuard([this] { email_->setEnabled(true); });
    Anteprima::MostraEsitoInvio(servizi_.avviaProgramma.Esegui(kPostino, contesto_, {"--allega", nome}));
}

void TableauVideo::Conserva(const std::tm& ora) {
    ConservaStampa(contesto_, settimana_, ora);
    stampata_ = true;
    avvisoVariazioni_.clear();
    vista_.variazioni = ConfrontaConStampa(settimana_, FormattaOra(ora, "%Y%m%d%H%M"), settimana_);
    MostraVariazioni();
    griglia_->Mostra(&vista_);
}

void TableauVideo::LeggiImpostazioni() {
    QSettings impostazioni(QStringLiteral("Brovato5"), QStringLiteral("brovato5"));
    impostazioni.beginGroup(GruppoImpostazioni(contesto_.postazione));
    riempiendo_ = true;
    if (const QString tipo = impostazioni.value(QStringLiteral("tipo")).toString(); !tipo.isEmpty()) {
        tipo_->addItem(tipo, tipo);
        tipo_->setCurrentIndex(tipo_->count() - 1);
    }
    if (const QVariant piano = impostazioni.value(QStringLiteral("piano")); piano.isValid()) {
        piano_->addItem(piano.toString(), QVariant::fromValue(piano.toLongLong()));
        piano_->setCurrentIndex(piano_->count() - 1);
    }
    stato_->setCurrentIndex(std::max(0, stato_->findData(impostazioni.value(QStringLiteral("stato"), -1).toInt())));
    a3_->setChecked(impostazioni.value(QStringLiteral("a3"), false).toBool());
    riempiendo_ = false;
    if (restoreGeometry(impostazioni.value(QStringLiteral("geometria")).toByteArray())) return;
    // The first time, most of the screen: a week of rooms wants room.
    const QScreen* schermo = screen();
    if (schermo) resize(schermo->availableSize() * 9 / 10);
    else resize(fontMetrics().averageCharWidth() * 150, fontMetrics().height() * 40);
}

void TableauVideo::SalvaImpostazioni() const {
    QSettings impostazioni(QStringLiteral("Brovato5"), QStringLiteral("brovato5"));
    impostazioni.beginGroup(GruppoImpostazioni(contesto_.postazione));
    const auto salva = [&](const char* chiave, const QVariant& valore) {
        if (valore.isValid()) impostazioni.setValue(QLatin1String(chiave), valore);
        else impostazioni.remove(QLatin1String(chiave));
    };
    salva("tipo", tipo_->currentData());
    salva("piano", piano_->currentData());
    salva("stato", stato_->currentData());
    salva("a3", a3_->isChecked());
    salva("geometria", saveGeometry());
}

void TableauVideo::closeEvent(QCloseEvent* evento) {
    SalvaImpostazioni();
    QDialog::closeEvent(evento);
}

void MostraTableauVideo(QWidget& proprietaria, const Contesto& contesto, FornitoreSettimana fornitore,
                        const std::string& dataInizio) {
    StampantePagineQt stampante;
    ApriDocumentoQt apriDocumento;
    AvviaProgrammaQt avviaProgramma;
    TableauVideo finestra(contesto, std::move(fornitore), {stampante, apriDocumento, avviaProgramma}, &proprietaria);
    if (finestra.Avvia(dataInizio)) finestra.exec();
}

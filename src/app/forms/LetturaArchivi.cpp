#include "app/forms/LetturaArchivi.h"

#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/forms/Aspetto.h"
#include "common/forms/Tastiera.h"

namespace {

// The window's width, in twips: the main window's.
constexpr int kLarghezza = 4125;
const QColor kSfondo(192, 192, 255);

}  // namespace

LetturaArchivi::LetturaArchivi(QWidget& proprietaria)
    : QDialog(&proprietaria, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Tableau Brovato"));
    setModal(true);
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Window, kSfondo);
    setPalette(tavolozza);
    setAutoFillBackground(true);
    setFixedWidth(TwipInPixelX(*this, kLarghezza));

    titolo_ = new QLabel(QStringLiteral("Lettura archivi…"), this);
    titolo_->setFont(Carattere(QStringLiteral("Corbel"), 12, true));

    passo_ = new QLabel(this);
    passo_->setFont(Carattere(QStringLiteral("Corbel"), 9.75));
    passo_->setWordWrap(true);
    QSizePolicy adatta = passo_->sizePolicy();
    adatta.setHeightForWidth(true);
    passo_->setSizePolicy(adatta);
    passo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    // How long a reading takes is not known: the bar only shows that the build goes on.
    barra_ = new QProgressBar(this);
    barra_->setRange(0, 0);
    barra_->setTextVisible(false);

    annulla_ = new QPushButton(QStringLiteral("Annulla"), this);
    annulla_->setFont(Carattere(QStringLiteral("Corbel"), 12, true));
    annulla_->setAutoDefault(false);
    PremeConInvio(*annulla_);
    connect(annulla_, &QPushButton::clicked, this, &QDialog::reject);

    auto* colonna = new QVBoxLayout(this);
    colonna->addWidget(titolo_);
    colonna->addWidget(passo_);
    colonna->addWidget(barra_);
    colonna->addWidget(annulla_, 0, Qt::AlignRight);
    setFocusProxy(annulla_);
    MostraPasso(QString());
}

void LetturaArchivi::MostraPasso(const QString& passo) {
    passo_->setText(passo);
    // As tall as the text needs at the window's width: the names of all the files read at once wrap.
    setFixedHeight(layout()->totalHeightForWidth(width()));
}

void LetturaArchivi::paintEvent(QPaintEvent* evento) {
    QDialog::paintEvent(evento);
    // A frame of its own: over the main window, of the same colour, it stands out even where no frame is drawn.
    QPainter pittore(this);
    pittore.setPen(QPen(Qt::black, 1));
    pittore.drawRect(rect().adjusted(0, 0, -1, -1));
}

#include "app/qt/CartellaSalvata.h"

#include <QSettings>

namespace {

const QString kChiaveCartella = QStringLiteral("cartella");
const QString kChiavePostazione = QStringLiteral("postazione");

// The settings file ~/.config/Brovato5/brovato5.conf.
const QString kOrganizzazione = QStringLiteral("Brovato5");
const QString kProgramma = QStringLiteral("brovato5");

}  // namespace

std::optional<CartellaPostazione> LeggiCartellaSalvata() {
    const QSettings impostazioni(kOrganizzazione, kProgramma);
    const QString cartella = impostazioni.value(kChiaveCartella).toString();
    const QString postazione = impostazioni.value(kChiavePostazione).toString();
    if (cartella.isEmpty() || postazione.isEmpty()) return std::nullopt;
    return CartellaPostazione{cartella.toStdString(), postazione.toStdString()};
}

void SalvaCartella(const CartellaPostazione& scelta) {
    QSettings impostazioni(kOrganizzazione, kProgramma);
    impostazioni.setValue(kChiaveCartella, QString::fromStdString(scelta.cartella));
    impostazioni.setValue(kChiavePostazione, QString::fromStdString(scelta.postazione));
}

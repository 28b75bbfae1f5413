#include "common/forms/MostraMessaggio.h"

#include <QApplication>

#include "common/Errore.h"
#include "common/forms/TestoQt.h"
#include "common/forms/MsgBox_Form.h"

std::int16_t MostraMessaggio(const QString& messaggio, std::int16_t stile, const QString& titolo,
                             const QString& dettagli) {
    // Owned by the window that was active, which gets the focus back when the box closes.
    MsgBox_Form box(QApplication::activeWindow());
    box.Configura(messaggio, stile, titolo, dettagli);
    box.exec();
    return box.Esito();
}

std::int16_t MostraMessaggio(const std::string& messaggio, std::int16_t stile, const std::string& titolo) {
    return MostraMessaggio(DaCp1252(messaggio), stile, DaCp1252(titolo));
}

void MostraErrore(const std::exception& errore) {
    constexpr std::int16_t kSoloOk = 48;
    // "Errore N: descrizione" in UTF-8, a system error's cause in Italian.
    MostraMessaggio(QString::fromStdString(TestoErrore(errore)), kSoloOk, QStringLiteral("Errore"));
}

void EseguiMostrandoErrore(const std::function<void()>& azione) {
    try {
        azione();
    } catch (const std::exception& errore) {
        MostraErrore(errore);
    }
}

#include "common/forms/Tastiera.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>

namespace {

// Watches the key presses of the button it belongs to.
class InvioSulPulsante : public QObject {
public:
    explicit InvioSulPulsante(QAbstractButton& pulsante) : QObject(&pulsante), pulsante_(pulsante) {
        pulsante.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (oggetto != &pulsante_ || evento->type() != QEvent::KeyPress) return false;
        const auto* tasto = static_cast<QKeyEvent*>(evento);
        if (tasto->key() != Qt::Key_Return && tasto->key() != Qt::Key_Enter) return false;
        if (!tasto->isAutoRepeat()) pulsante_.click();
        return true;
    }

private:
    QAbstractButton& pulsante_;
};

// Swaps the list's field colours for the selection colours while it has the
// focus; the list of choices it opens keeps its own.
class FuocoEvidenziato : public QObject {
public:
    explicit FuocoEvidenziato(QComboBox& elenco) : QObject(&elenco), elenco_(elenco) {
        elenco.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        if (oggetto != &elenco_) return false;
        if (evento->type() == QEvent::FocusIn && !evidenziato_) {
            normale_ = elenco_.palette();
            QPalette evidenziata = normale_;
            evidenziata.setColor(QPalette::Button, normale_.color(QPalette::Highlight));
            evidenziata.setColor(QPalette::ButtonText, normale_.color(QPalette::HighlightedText));
            elenco_.setPalette(evidenziata);
            evidenziato_ = true;
        } else if (evento->type() == QEvent::FocusOut && evidenziato_ &&
                   static_cast<QFocusEvent*>(evento)->reason() != Qt::PopupFocusReason) {
            elenco_.setPalette(normale_);
            evidenziato_ = false;
        }
        return false;
    }

private:
    QComboBox& elenco_;
    QPalette normale_;
    bool evidenziato_ = false;
};

}  // namespace

void EvidenziaFuoco(QComboBox& elenco) { new FuocoEvidenziato(elenco); }

void PremeConInvio(QAbstractButton& pulsante) { new InvioSulPulsante(pulsante); }

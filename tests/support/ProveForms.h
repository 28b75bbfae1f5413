#pragma once

// Helpers for the tests of the windows (header only: the core's test support
// links no Qt). Include from test programs that link Qt Widgets and QtTest.

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "common/forms/MsgBox_Form.h"

// main() of a window test program: headless unless told otherwise, one
// QApplication for all tests.
inline int EseguiProveForms(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// What a message box showed when it came on screen.
struct MessaggioVisto {
    QString titolo;
    QString testo;
    std::int16_t esito = -1;
};

// Answers every message box shown while it lives: once the box waits for a
// button, `risposta` acts on it (clicks a button, presses a key) from inside
// the box's modal wait. Keeps what each box showed and what it returned.
class RispostaMessaggi {
public:
    using Azione = std::function<void(MsgBox_Form&)>;

    explicit RispostaMessaggi(Azione risposta) : risposta_(std::move(risposta)) {
        connessione_ = QObject::connect(&AvvisoMessaggi::Istanza(), &AvvisoMessaggi::Mostrato,
                                        [this](MsgBox_Form* box) { Rispondi(box); });
    }
    ~RispostaMessaggi() { QObject::disconnect(connessione_); }
    RispostaMessaggi(const RispostaMessaggi&) = delete;
    RispostaMessaggi& operator=(const RispostaMessaggi&) = delete;

    // Clicks button T(indice) with the mouse.
    static Azione Clic(int indice) {
        return [indice](MsgBox_Form& box) { QTest::mouseClick(box.T(indice), Qt::LeftButton); };
    }

    const std::vector<MessaggioVisto>& Visti() const { return visti_; }

private:
    void Rispondi(MsgBox_Form* box) {
        const std::size_t n = visti_.size();
        visti_.push_back({box->windowTitle(), box->Text1()->toPlainText()});
        QObject::connect(box, &QDialog::finished, box, [this, box, n] { visti_[n].esito = box->Esito(); });
        QTimer::singleShot(0, box, [this, box] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(box));
            risposta_(*box);
        });
    }

    Azione risposta_;
    QMetaObject::Connection connessione_;
    std::vector<MessaggioVisto> visti_;
};

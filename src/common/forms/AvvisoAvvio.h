#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// The folder where the running programs of this user listen for each other:
// "brovato5" in the user's runtime folder.
QString CartellaIstanze();

// Tells the other running instances of the program, of this user on this
// computer, that one more has started, and hears the same of those started
// later. Told, an instance's windows kept on top step back (CediPrimoPiano):
// the new instance's main window would come up hidden behind a print menu or
// a preview. Each listens on a socket of its own in `cartella`, gone with it;
// the socket of an instance that ended without removing it is removed when
// it no longer answers.
class AvvisoAvvio : public QObject {
    Q_OBJECT

public:
    explicit AvvisoAvvio(const QString& cartella = CartellaIstanze());
    ~AvvisoAvvio() override;

private:
    void AvvisaLeAltre();
    void Ascolta();

    QString cartella_;
    QLocalServer* server_ = nullptr;
};

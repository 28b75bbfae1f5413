#pragma once

#include <QDialog>

#include <string>

#include "common/CartellaDati.h"

class QPlainTextEdit;
class QPushButton;

// An archive copy of the report shown as text, read only, with its frames
// drawn as "|" and "-". The copy keeps the report's bytes (Windows-1252),
// which the desktop's programs for ".doc" files take for another encoding.
class VistaArchivio : public QDialog {
    Q_OBJECT

public:
    // Reads the copy `nomeArchivio` (Windows-1252) of the archive folder
    // `archivio`. Throws Errore 53 when it is not there, 75 when it cannot be read.
    VistaArchivio(const CartellaDati& archivio, const std::string& nomeArchivio, QWidget* proprietaria = nullptr);

    QPlainTextEdit* Testo() const { return testo_; }
    QPushButton* Chiudi() const { return chiudi_; }

private:
    QPlainTextEdit* testo_ = nullptr;
    QPushButton* chiudi_ = nullptr;
};

#include "common/piattaforma/qt/ApriDocumentoQt.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QTimer>

#include <iostream>
#include <memory>

#include "common/forms/Aspetto.h"

namespace {

// How long xdg-open is given to fail. Where it starts the program and returns
// it ends sooner; where it waits for the program, it is still running then.
constexpr int kAttesaApertura = 1000;
constexpr int kAttesaRicerca = 5000;
constexpr qsizetype kUscitaRegistrata = 4096;

void Registra(const QString& testo) { std::cerr << "brovato5: " << testo.trimmed().toStdString() << std::endl; }

// The desktop's program for the MIME type `tipo`, as xdg-open would look it up; "" when there is none.
// Without it xdg-open tries one text-mode browser after the other for many seconds and fails.
QString ProgrammaPerTipo(const QString& tipo) {
    QProcess ricerca;
    ricerca.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), tipo});
    if (!ricerca.waitForFinished(kAttesaRicerca)) {
        Registra(QStringLiteral("xdg-mime non risponde (pacchetto xdg-utils): ") + ricerca.errorString());
        return {};
    }
    return QString::fromLocal8Bit(ricerca.readAllStandardOutput()).trimmed();
}

}  // namespace

bool ApriDocumentoQt::Apri(const std::string& percorso) {
    const QFileInfo documento(QString::fromStdString(percorso));
    const QString tipo = QMimeDatabase().mimeTypeForFile(documento).name();
    if (ProgrammaPerTipo(tipo).isEmpty()) {
        Registra(QStringLiteral("nessun programma del desktop apre i file %1 (%2)").arg(tipo, documento.filePath()));
        return false;
    }
    CediPrimoPiano();
    // Left to itself once it outlives the wait: its output is read as it comes
    // (the last of it kept for the log), so that it never stops on a full
    // pipe, and it goes when it ends.
    auto* apertura = new QProcess;
    auto uscita = std::make_shared<QByteArray>();
    apertura->setProcessChannelMode(QProcess::MergedChannels);
    apertura->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(apertura, &QProcess::readyRead, apertura, [apertura, uscita] {
        *uscita = (*uscita + apertura->readAll()).right(kUscitaRegistrata);
    });
    QObject::connect(apertura, &QProcess::finished, apertura, &QObject::deleteLater);
    QObject::connect(apertura, &QProcess::errorOccurred, apertura, [apertura](QProcess::ProcessError errore) {
        if (errore == QProcess::FailedToStart) apertura->deleteLater();
    });

    bool riuscita = true;
    QEventLoop attesa;
    QTimer::singleShot(kAttesaApertura, &attesa, &QEventLoop::quit);
    QObject::connect(apertura, &QProcess::finished, &attesa, [&](int codice, QProcess::ExitStatus stato) {
        riuscita = stato == QProcess::NormalExit && codice == 0;
        if (!riuscita) Registra(QStringLiteral("xdg-open: ") + QString::fromLocal8Bit(*uscita + apertura->readAll()));
        attesa.quit();
    });
    QObject::connect(apertura, &QProcess::errorOccurred, &attesa, [&](QProcess::ProcessError errore) {
        if (errore != QProcess::FailedToStart) return;
        riuscita = false;
        Registra(QStringLiteral("xdg-open non si avvia (pacchetto xdg-utils): ") + apertura->errorString());
        attesa.quit();
    });
    apertura->start(QStringLiteral("xdg-open"), {documento.absoluteFilePath()});
    // The windows go on being drawn; what the user does meanwhile waits for the answer.
    attesa.exec(QEventLoop::ExcludeUserInputEvents);
    return riuscita;
}

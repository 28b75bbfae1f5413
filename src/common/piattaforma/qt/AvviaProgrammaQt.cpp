#include "common/piattaforma/qt/AvviaProgrammaQt.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "common/Errore.h"
#include "common/ProgrammiAusiliari.h"
#include "common/forms/Aspetto.h"

namespace {

// The program `nome` beside brovato5, else on PATH; "" when there is none.
QString TrovaProgramma(const QString& nome) {
    const std::string cartella = CartellaProgrammi();
    const QFileInfo accanto(QDir(QFile::decodeName(cartella.c_str())).filePath(nome));
    if (!cartella.empty() && accanto.isFile() && accanto.isExecutable()) return accanto.absoluteFilePath();
    return QStandardPaths::findExecutable(nome);
}

}  // namespace

EsitoEsecuzione AvviaProgrammaQt::Esegui(const std::string& nome, const Contesto& contesto,
                                         const std::vector<std::string>& argomenti) {
    const QString programma = TrovaProgramma(QString::fromLocal8Bit(nome.c_str()));
    if (programma.isEmpty()) throw ErroreFileInesistente(nome);
    QProcess processo;
    processo.setProgram(programma);
    QStringList parametri;
    for (const std::string& argomento : argomenti) parametri << QString::fromStdString(argomento);
    processo.setArguments(parametri);
    processo.setWorkingDirectory(QFile::decodeName(contesto.cartella.Percorso().c_str()));
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    // The program's own spelling of the variable stands for every other.
    for (const QString& variabile : ambiente.keys())
        if (variabile.compare(QStringLiteral("PCLocal"), Qt::CaseInsensitive) == 0) ambiente.remove(variabile);
    ambiente.insert(QStringLiteral("PCLocal"), QString::fromStdString(contesto.postazione));
    ambiente.insert(QString::fromLatin1(VariabileEsitoMostrato), QStringLiteral("1"));
    processo.setProcessEnvironment(ambiente);
    processo.setProcessChannelMode(QProcess::MergedChannels);
    processo.setStandardInputFile(QProcess::nullDevice());
    CediPrimoPiano();
    QEventLoop attesa;
    QObject::connect(&processo, &QProcess::finished, &attesa, &QEventLoop::quit);
    processo.start();
    if (!processo.waitForStarted()) throw ErroreFileInesistente(nome);
    if (processo.state() != QProcess::NotRunning) attesa.exec();
    const bool uscito = processo.exitStatus() == QProcess::NormalExit;
    return {uscito ? processo.exitCode() : -1, processo.readAll().toStdString()};
}

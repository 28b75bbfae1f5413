#include "common/piattaforma/qt/AvviaProgrammaQt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "common/Errore.h"

namespace {

// The program `nome` beside the running one, else on PATH; "" when there is none.
QString TrovaProgramma(const QString& nome) {
    const QFileInfo accanto(QDir(QCoreApplication::applicationDirPath()).filePath(nome));
    if (accanto.isFile() && accanto.isExecutable()) return accanto.absoluteFilePath();
    return QStandardPaths::findExecutable(nome);
}

}  // namespace

void AvviaProgrammaQt::Avvia(const std::string& nome) {
    const QString programma = TrovaProgramma(QString::fromLocal8Bit(nome.c_str()));
    if (programma.isEmpty() || !QProcess::startDetached(programma, {}, QDir::currentPath()))
        throw ErroreFileInesistente(nome);
}

#include "common/forms/AvvisoAvvio.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include "common/forms/Aspetto.h"

namespace {

const QByteArray kAvviata = QByteArrayLiteral("avviata\n");
// How long a running instance is given to answer and to take the news.
constexpr int kAttesa = 300;

// A name of its own for each listener: the process and a count within it.
QString NomeProprio() {
    static int contatore = 0;
    return QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(++contatore);
}

}  // namespace

QString CartellaIstanze() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).filePath(QStringLiteral("brovato5"));
}

AvvisoAvvio::AvvisoAvvio(const QString& cartella) : cartella_(cartella), server_(new QLocalServer(this)) {
    if (!QDir().mkpath(cartella_)) return;
    AvvisaLeAltre();
    Ascolta();
}

AvvisoAvvio::~AvvisoAvvio() {
    if (server_->isListening()) QFile::remove(server_->fullServerName());
}

void AvvisoAvvio::AvvisaLeAltre() {
    for (const QFileInfo& voce : QDir(cartella_).entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        QLocalSocket altra;
        altra.connectToServer(voce.absoluteFilePath());
        if (!altra.waitForConnected(kAttesa)) {
            if (altra.error() == QLocalSocket::ConnectionRefusedError) QFile::remove(voce.absoluteFilePath());
            continue;
        }
        altra.write(kAvviata);
        altra.waitForBytesWritten(kAttesa);
        altra.disconnectFromServer();
    }
}

void AvvisoAvvio::Ascolta() {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(QDir(cartella_).filePath(NomeProprio()))) return;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* altra = server_->nextPendingConnection()) {
            connect(altra, &QLocalSocket::disconnected, altra, &QObject::deleteLater);
            connect(altra, &QLocalSocket::readyRead, altra, [altra] {
                if (altra->readAll().contains(kAvviata)) CediPrimoPiano();
            });
        }
    });
}

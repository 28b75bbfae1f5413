#include "common/piattaforma/qt/ApriDocumentoQt.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void ApriDocumentoQt::Apri(const std::string& percorso) {
    const QFileInfo documento(QString::fromLocal8Bit(percorso.c_str()));
    QDesktopServices::openUrl(QUrl::fromLocalFile(documento.absoluteFilePath()));
}

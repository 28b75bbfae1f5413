#include "common/piattaforma/qt/ApriDocumentoQt.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "common/forms/Aspetto.h"

void ApriDocumentoQt::Apri(const std::string& percorso) {
    const QFileInfo documento(QString::fromLocal8Bit(percorso.c_str()));
    CediPrimoPiano();
    QDesktopServices::openUrl(QUrl::fromLocalFile(documento.absoluteFilePath()));
}

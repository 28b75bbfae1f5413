#include "common/forms/TraduzioneQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>

TraduzioneQt::TraduzioneQt() {
    caricata_ = traduttore_.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                QCoreApplication::installTranslator(&traduttore_);
}

TraduzioneQt::~TraduzioneQt() {
    if (caricata_) QCoreApplication::removeTranslator(&traduttore_);
}

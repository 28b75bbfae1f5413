#pragma once

#include <QTranslator>

// Qt's own words in Italian while it lives: the context menus of the text
// boxes ("Annulla", "Taglia", "Copia", "Incolla"), the buttons of Qt's standard
// dialogs. They come from the translation that Qt ships (qtbase_it.qm);
// without it they stay as Qt has them.
class TraduzioneQt {
public:
    TraduzioneQt();
    ~TraduzioneQt();
    TraduzioneQt(const TraduzioneQt&) = delete;
    TraduzioneQt& operator=(const TraduzioneQt&) = delete;

    bool Caricata() const { return caricata_; }

private:
    QTranslator traduttore_;
    bool caricata_ = false;
};

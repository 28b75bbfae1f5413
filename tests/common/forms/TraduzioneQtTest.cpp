#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include <memory>

#include "common/forms/TraduzioneQt.h"
#include "support/ProveForms.h"

namespace {

QStringList Voci(QMenu* menu) {
    const std::unique_ptr<QMenu> proprio(menu);
    QStringList voci;
    for (const QAction* azione : menu->actions())
        if (!azione->isSeparator()) voci << azione->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
    return voci;
}

}  // namespace

// The right-click menus of the text boxes read in Italian, as the rest of the program.
TEST(TraduzioneQt, MenuDelTastoDestroInItaliano) {
    const TraduzioneQt traduzione;
    ASSERT_TRUE(traduzione.Caricata()) << "manca qtbase_it.qm (pacchetto qt6-translations-l10n)";
    QLineEdit riga;
    QPlainTextEdit testo;
    for (const QStringList& voci : {Voci(riga.createStandardContextMenu()),
                                    Voci(testo.createStandardContextMenu())}) {
        for (const char* voce : {"Annulla", "Rifai", "Taglia", "Copia", "Incolla"})
            EXPECT_TRUE(voci.contains(QString::fromLatin1(voce))) << voci.join(QLatin1Char(',')).toStdString();
        EXPECT_FALSE(voci.contains(QStringLiteral("Copy")));
    }
}

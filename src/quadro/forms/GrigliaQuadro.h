#pragma once

#include <QAbstractScrollArea>

#include <array>
#include <cstddef>
#include <vector>

#include "quadro/Quadro.h"
#include "quadro/Variazioni.h"

// What the grid of the window shows: the rooms listed (filtered) of a week,
// their bars, the cells the name search found and those changed since the
// last print, the totals row.
struct VistaQuadro {
    const Settimana* settimana = nullptr;
    std::vector<std::size_t> righe;                         // rooms listed, as indices in settimana->camere
    std::vector<std::vector<Barra>> barre;                  // of every room of the week
    std::vector<std::array<bool, Griglia::Giorni>> trovate; // of every room of the week
    VariazioniSettimana variazioni;                         // empty when the week was never printed
    std::array<TotaliGiorno, Griglia::Giorni> totali{};    // of the rooms listed
    int oggi = -1;                                          // the day that is today, -1 when not in the week
};

// The room rack: the day header and the totals row stay while the rooms
// scroll under them, the room column while the days scroll across. The
// current cell moves with the arrows; Enter or a click opens it. PgUp and
// PgDn ask for the week before and after, Home for today's, an arrow past
// the first or last day for the day before or after.
class GrigliaQuadro : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit GrigliaQuadro(QWidget* genitore = nullptr);

    // Shows `vista` (kept by the caller as long as it is shown); the current cell stays where it was, within the rows.
    void Mostra(const VistaQuadro* vista);
    // The current cell: its row among those listed and its day.
    std::size_t RigaCorrente() const { return riga_; }
    int GiornoCorrente() const { return giorno_; }
    void ImpostaCorrente(std::size_t riga, int giorno);
    // Where the cell of row `riga` and day `giorno` is drawn in the viewport (scrolled there first).
    QRect RettangoloCella(std::size_t riga, int giorno);

signals:
    // A cell was clicked or Enter pressed on it: room (index in the week) and day.
    void CellaAperta(std::size_t camera, int giorno);
    // The week is to start `giorni` days later (earlier when negative).
    void Passo(int giorni);
    void Oggi();

protected:
    void paintEvent(QPaintEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;

private:
    struct Misure {
        int riga, intestazione, totali, camera, giorno;
    };
    Misure Calcola() const;
    void AggiornaBarre();
    void RendiVisibile(std::size_t riga, int giorno);

    const VistaQuadro* vista_ = nullptr;
    std::size_t riga_ = 0;
    int giorno_ = 0;
};

#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The window the main window shows over itself while a build takes longer
// than a moment: what the build is reading or doing, and "Annulla", which
// abandons it (as Esc and closing the window do: the dialog is rejected).
class LetturaArchivi : public QDialog {
    Q_OBJECT

public:
    explicit LetturaArchivi(QWidget& proprietaria);

    // The step the build has reached, as it tells it.
    void MostraPasso(const QString& passo);

    QLabel* Titolo() const { return titolo_; }
    QLabel* Passo() const { return passo_; }
    QPushButton* Annulla() const { return annulla_; }

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    QLabel* titolo_ = nullptr;
    QLabel* passo_ = nullptr;
    QProgressBar* barra_ = nullptr;
    QPushButton* annulla_ = nullptr;
};

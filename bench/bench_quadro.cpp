// The room rack of a large hotel: how long the window takes to draw the next
// week after the key, the memory of its process, and the time of the PDF.
// Usage: bench_quadro [--camere N | --cartella DATI] [--a3] [--pdf FILE] [--variazioni] [--cerca NOME] [--mostra SECONDI]
// The weeks come from a hotel made up in memory (SettimanaGenerata.h): its
// stays are in hand, each week is cut from them when asked for; the time that
// takes is given apart, the rest is the window's own work. With --cartella
// they are built by the program's builder from a copy of that data folder
// (hotel 1, tableau 1, every room, from 06/07/2026), with the tables kept
// from week to week as the main window keeps them: the time from the key is
// then the build's and the window's together.
// --pdf writes the PDF of the first week; --variazioni keeps a print of it
// with some stays changed, so that the window marks them; --mostra keeps the
// window on screen for screenshots (under xvfb-run).
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CartellaBench.h"
#include "SettimanaGenerata.h"
#include "common/Errore.h"
#include "common/piattaforma/qt/ApriDocumentoQt.h"
#include "common/piattaforma/qt/AvviaProgrammaQt.h"
#include "quadro/Variazioni.h"
#include "quadro/forms/StampaQuadro.h"
#include "quadro/forms/TableauVideo.h"
#include "quadro/qt/StampantePagineQt.h"
#include "tableau/CreaTableau.h"

namespace {

// A line of /proc/self/status ("VmHWM", "VmRSS") in KiB.
long MemoriaKiB(const char* voce) {
    QFile stato(QStringLiteral("/proc/self/status"));
    if (!stato.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& riga : stato.readAll().split('\n'))
        if (riga.startsWith(voce)) return riga.mid(static_cast<int>(std::strlen(voce)) + 1).trimmed().split(' ').front().toLong();
    return -1;
}

double Mediana(std::vector<double> tempi) {
    std::sort(tempi.begin(), tempi.end());
    return tempi.empty() ? 0 : tempi[tempi.size() / 2];
}

// The week with one stay in three of every tenth room taken away: what the window then shows as changed.
Settimana Cambiata(Settimana settimana) {
    for (std::size_t c = 0; c < settimana.camere.size(); c += 10)
        for (GiornoCamera& giorno : settimana.camere[c].giorni)
            std::erase_if(giorno.partite, [](const Partita& p) { return p.numero % 3 == 0; });
    return settimana;
}

}  // namespace

int main(int argc, char* argv[]) {
    int camere = 600;
    bool a3 = false;
    bool variazioni = false;
    int secondi = 0;
    std::string pdf, cerca, dati;
    for (int i = 1; i < argc; ++i) {
        const std::string opzione = argv[i];
        if (opzione == "--camere" && i + 1 < argc) camere = std::atoi(argv[++i]);
        else if (opzione == "--a3") a3 = true;
        else if (opzione == "--variazioni") variazioni = true;
        else if (opzione == "--pdf" && i + 1 < argc) pdf = argv[++i];
        else if (opzione == "--cerca" && i + 1 < argc) cerca = argv[++i];
        else if (opzione == "--cartella" && i + 1 < argc) dati = argv[++i];
        else if (opzione == "--mostra" && i + 1 < argc) secondi = std::atoi(argv[++i]);
        else {
            std::fprintf(stderr,
                         "Uso: %s [--camere N | --cartella DATI] [--a3] [--pdf FILE] [--variazioni] [--cerca NOME] "
                         "[--mostra SECONDI]\n",
                         argv[0]);
            return 2;
        }
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        const long primaDiTutto = MemoriaKiB("VmRSS:");
        const auto inizio = std::chrono::steady_clock::now();
        const AlbergoGenerato albergo(dati.empty() ? camere : 0);
        std::optional<CartellaBench> copia;
        if (!dati.empty()) copia.emplace(dati, "bench-quadro");
        UltimaCostruzione ultima;
        const std::string primaSettimana = dati.empty() ? "07/12/2026" : "06/07/2026";
        const std::function<Settimana(const std::string&)> settimanaDi = [&](const std::string& data) {
            if (dati.empty()) return albergo.Settimana_(data);
            Avanzamento nessuno;
            return CostruisciSettimana(ultima, copia->Dati(), 1, 1, "0", "9999", data, nessuno);
        };
        std::printf("%s: %.3f s\n",
                    dati.empty() ? ("albergo di " + std::to_string(camere) + " camere con due anni di soggiorni").c_str()
                                 : ("copia di " + dati).c_str(),
                    Secondi(inizio));
        std::vector<double> settimane;
        for (int k = 0; k < 10; ++k) {
            const auto t = std::chrono::steady_clock::now();
            const Settimana settimana = settimanaDi(TestoData(GiornoDiCalendario(primaSettimana) + std::chrono::days{k}));
            settimane.push_back(Secondi(t) * 1000);
        }
        std::printf("una settimana %s: mediana %.1f ms\n", dati.empty() ? "tagliata dai soggiorni" : "costruita",
                    Mediana(settimane));

        QTemporaryDir cartella;
        const Contesto contesto{CartellaDati(cartella.path().toStdString()), "1"};
        if (variazioni) {
            std::tm ora{};
            ora.tm_year = 126, ora.tm_mon = 11, ora.tm_mday = 6, ora.tm_hour = 19, ora.tm_min = 15;
            const Settimana stampata = Cambiata(settimanaDi(primaSettimana));
            ConservaStampa(contesto, stampata, ora);
            const QFileInfo conservata(cartella.filePath(QStringLiteral("doc/") +
                                                         QString::fromStdString(NomeSettimanaStampata("1", stampata))));
            std::printf("stampa conservata: %lld byte\n", static_cast<long long>(conservata.size()));
        }
        StampantePagineQt stampante;
        ApriDocumentoQt apriDocumento;
        AvviaProgrammaQt avviaProgramma;
        TableauVideo finestra(contesto, settimanaDi, {stampante, apriDocumento, avviaProgramma, [] {
                                  std::tm ora{};
                                  ora.tm_year = 126, ora.tm_mon = 11, ora.tm_mday = 9, ora.tm_hour = 10;
                                  return ora;
                              }});
        finestra.resize(1500, 900);
        finestra.show();
        if (!finestra.Avvia(primaSettimana)) return 1;
        app.processEvents();
        const long conLaFinestra = MemoriaKiB("VmRSS:");

        std::vector<double> tempi;
        for (const int tasto : {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_PageUp,
                                Qt::Key_PageUp, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_PageDown}) {
            // The key on the grid at its last day, so that the arrows step the week too.
            finestra.Griglia()->ImpostaCorrente(0, tasto == Qt::Key_Left ? 0 : 6);
            QKeyEvent premuto(QEvent::KeyPress, tasto, Qt::NoModifier);
            const auto t = std::chrono::steady_clock::now();
            QApplication::sendEvent(finestra.Griglia(), &premuto);
            finestra.Griglia()->viewport()->repaint();
            tempi.push_back(Secondi(t) * 1000);
        }
        std::printf("dal tasto alla settimana disegnata (%s): mediana %.1f ms, massimo %.1f ms (%zu tasti)\n",
                    dati.empty() ? "con il taglio" : "con la costruzione", Mediana(tempi),
                    *std::max_element(tempi.begin(), tempi.end()), tempi.size());
        finestra.VaiA(primaSettimana);
        if (!cerca.empty()) finestra.Ricerca()->setText(QString::fromStdString(cerca));
        app.processEvents();

        const DocumentoQuadro documento{finestra.SettimanaMostrata(), finestra.Vista().righe,
                                        variazioni ? &finestra.Vista().variazioni : nullptr};
        const auto t = std::chrono::steady_clock::now();
        const QByteArray stampa = PdfQuadro(documento, a3 ? FormatoCarta::A3 : FormatoCarta::A4);
        std::printf("PDF di %zu camere: %.3f s, %lld byte\n", documento.righe.size(), Secondi(t),
                    static_cast<long long>(stampa.size()));
        if (!pdf.empty()) {
            QFile file(QString::fromStdString(pdf));
            if (!file.open(QIODevice::WriteOnly) || file.write(stampa) != stampa.size()) {
                std::fprintf(stderr, "%s: non scritto\n", pdf.c_str());
                return 1;
            }
        }
        std::printf("memoria: %ld KiB prima, %ld KiB con la finestra, massimo %ld KiB\n", primaDiTutto, conLaFinestra,
                    MemoriaKiB("VmHWM:"));
        if (secondi > 0) {
            QTimer::singleShot(secondi * 1000, &app, &QApplication::quit);
            app.exec();
        }
    } catch (const Errore& e) {
        std::fprintf(stderr, "%s\n", e.Testo().c_str());
        return 1;
    }
    return 0;
}

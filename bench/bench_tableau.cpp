// Time of one tableau build, of the same build again in the same program run,
// of the build of another range of rooms of that week and of the next week's
// build after them, and of reading the build's seven tables once, one after
// another, with mdbtools' exporter.
// Usage: bench_tableau DATA_FOLDER [SAMPLES] (the large test set); the folder
// is copied into a temporary folder first, the report is written there. Each
// sample of the builds runs in a process of its own, so the first build never
// finds tables read before.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CartellaBench.h"
#include "common/Errore.h"
#include "common/Routine.h"
#include "tableau/CreaTableau.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettimana = "06/07/2026";
constexpr const char* kAltraSettimana = "13/07/2026";
constexpr const char* kPrimaCamera = "200";
constexpr const char* kUltimaCamera = "499";

using Orologio = std::chrono::steady_clock;

double Mediana(std::vector<double> valori) {
    std::sort(valori.begin(), valori.end());
    const std::size_t n = valori.size();
    return n % 2 ? valori[n / 2] : (valori[n / 2 - 1] + valori[n / 2]) / 2;
}

// The seven tables of the build read with mdb-export, one after another.
double LetturaMdbExport() {
    const char* tabelle[] = {"NumeriCamere", "TipiCamere", "Scheda_Cliente", "AgenzieAbituali",
                             "Arrangiamento", "Camere_Prenotazione", "Scheda_Prenotazione"};
    const auto inizio = Orologio::now();
    for (const char* tabella : tabelle) {
        const std::string comando = std::string("mdb-export ") + tabella + ".mdb " + tabella + " > /dev/null";
        if (std::system(comando.c_str()) != 0) throw Errore(3343, std::string("mdb-export fallito: ") + tabella);
    }
    return Secondi(inizio);
}

double Costruzione(const char* settimana, const char* primaCamera = "0", const char* ultimaCamera = "99999") {
    std::int16_t hotel = 1;
    std::int16_t tableau = 1;
    const auto inizio = Orologio::now();
    CreaTableau(hotel, tableau, primaCamera, ultimaCamera, settimana);
    return Secondi(inizio);
}

struct Tempi {
    double prima = 0;
    double seconda = 0;
    double altroIntervallo = 0;
    double altraSettimana = 0;
};

// The build twice, then another range of rooms, then the next week, in a
// child process of its own.
Tempi Costruzioni() {
    int tubo[2];
    if (pipe(tubo) != 0) std::exit(1);
    const pid_t figlio = fork();
    if (figlio == 0) {
        close(tubo[0]);
        Tempi tempi;
        try {
            tempi.prima = Costruzione(kSettimana);
            tempi.seconda = Costruzione(kSettimana);
            tempi.altroIntervallo = Costruzione(kSettimana, kPrimaCamera, kUltimaCamera);
            tempi.altraSettimana = Costruzione(kAltraSettimana);
        } catch (const Errore& e) {
            std::fprintf(stderr, "%s\n", e.Testo().c_str());
            _exit(1);
        }
        _exit(write(tubo[1], &tempi, sizeof tempi) == sizeof tempi ? 0 : 1);
    }
    close(tubo[1]);
    Tempi tempi;
    const bool letti = read(tubo[0], &tempi, sizeof tempi) == sizeof tempi;
    close(tubo[0]);
    int stato = 0;
    waitpid(figlio, &stato, 0);
    if (!letti || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0) throw Errore(3343, "costruzione fallita");
    return tempi;
}

void Misura(int campioni) {
    std::vector<double> prime, seconde, intervalli, altre, letture;
    for (int i = 0; i < campioni; ++i) {
        const Tempi tempi = Costruzioni();
        prime.push_back(tempi.prima);
        seconde.push_back(tempi.seconda);
        intervalli.push_back(tempi.altroIntervallo);
        altre.push_back(tempi.altraSettimana);
        letture.push_back(LetturaMdbExport());
        std::printf("campione %d: costruzione %.4f s, di nuovo %.4f s, altre camere %.4f s, altra settimana %.4f s, "
                    "mdb-export %.3f s\n",
                    i + 1, tempi.prima, tempi.seconda, tempi.altroIntervallo, tempi.altraSettimana, letture.back());
    }
    const double prima = Mediana(prime);
    const double seconda = Mediana(seconde);
    const double intervallo = Mediana(intervalli);
    const double altra = Mediana(altre);
    const double lettura = Mediana(letture);
    std::printf("mediane su %d campioni (settimana del %s, tutto l'albergo):\n", campioni, kSettimana);
    const std::string camere = std::string("poi le camere da ") + kPrimaCamera + " a " + kUltimaCamera + ":";
    const std::string settimana = std::string("poi la settimana del ") + kAltraSettimana + ":";
    std::printf("  %-34s %8.4f s  (%ju byte di report)\n", "costruzione:", prima,
                static_cast<std::uintmax_t>(fs::file_size(NomeFileReport())));
    std::printf("  %-34s %8.4f s\n", "stessa costruzione di nuovo:", seconda);
    std::printf("  %-34s %8.4f s\n", camere.c_str(), intervallo);
    std::printf("  %-34s %8.4f s\n", settimana.c_str(), altra);
    std::printf("  %-34s %8.4f s\n", "mdb-export delle 7 tabelle:", lettura);
    std::printf("rapporto costruzione/mdb-export:      %.2f (obiettivo <= 1.0)\n", prima / lettura);
    std::printf("rapporto seconda/prima costruzione:   %.3f (obiettivo <= 0.1)\n", seconda / prima);
    std::printf("rapporto altre camere/prima:          %.3f (obiettivo <= 0.1)\n", intervallo / prima);
    std::printf("rapporto altra settimana/prima:       %.3f (obiettivo <= 0.1)\n", altra / prima);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "Uso: %s CARTELLA_DATI [CAMPIONI]\n", argv[0]);
        return 2;
    }
    const int campioni = argc == 3 ? std::max(1, std::atoi(argv[2])) : 5;
    try {
        const CartellaBench cartella(argv[1], "bench-tableau");
        RiempiTabelleComuni();
        Misura(campioni);
    } catch (const Errore& e) {
        std::fprintf(stderr, "%s\n", e.Testo().c_str());
        return 1;
    }
    return 0;
}

// Time, processor time and peak memory of a tableau build, against reading
// the build's seven tables once, one after another, with mdbtools' exporter:
// - the whole program as the user runs it ("brovato5 tableau ..."), with the
//   readers it starts;
// - the build inside this program, then the same build again in the same
//   run, the build of another range of rooms of that week and the next
//   week's build after them;
// - mdb-export on each of the seven tables, one after another.
// Usage: bench_tableau DATA_FOLDER [SAMPLES] (the large test set); the folder
// is copied into a temporary folder first, the report is written there. Each
// sample of the builds runs in a process of its own, so the first build never
// finds tables read before.
#include <fcntl.h>
#include <sys/resource.h>
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
#include "tableau/FileReport.h"

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

double SecondiDi(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }
double Processore(const rusage& uso) { return SecondiDi(uso.ru_utime) + SecondiDi(uso.ru_stime); }
double Megabyte(long kilobyte) { return static_cast<double>(kilobyte) / 1024; }

// What one or more processes took: time, processor time (user and system)
// and the peak memory of the largest of them.
struct Consumo {
    double secondi = 0;
    double processore = 0;
    double piccoMb = 0;
};

// Runs the program with its output on /dev/null and waits for it: its
// figures, those of the processes it started and waited for included.
Consumo Esegui(const std::vector<std::string>& argomenti) {
    const auto inizio = Orologio::now();
    const pid_t figlio = fork();
    if (figlio == 0) {
        const int nulla = open("/dev/null", O_WRONLY);
        dup2(nulla, STDOUT_FILENO);
        dup2(nulla, STDERR_FILENO);
        std::vector<char*> argv;
        for (const auto& argomento : argomenti) argv.push_back(const_cast<char*>(argomento.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int stato = 0;
    rusage uso{};
    if (figlio < 0 || wait4(figlio, &stato, 0, &uso) != figlio || !WIFEXITED(stato) || WEXITSTATUS(stato) != 0)
        throw Errore(3343, "esecuzione fallita: " + argomenti.front());
    return {Secondi(inizio), Processore(uso), Megabyte(uso.ru_maxrss)};
}

// The seven tables of the build read with mdb-export, one after another.
Consumo LetturaMdbExport() {
    const char* tabelle[] = {"NumeriCamere", "TipiCamere", "Scheda_Cliente", "AgenzieAbituali",
                             "Arrangiamento", "Camere_Prenotazione", "Scheda_Prenotazione"};
    Consumo totale;
    for (const char* tabella : tabelle) {
        const Consumo lettura = Esegui({"mdb-export", std::string(tabella) + ".mdb", tabella});
        totale.secondi += lettura.secondi;
        totale.processore += lettura.processore;
        totale.piccoMb = std::max(totale.piccoMb, lettura.piccoMb);
    }
    return totale;
}

// The week's build of the whole hotel by the program, as the user starts it.
Consumo CostruzioneProgramma() {
    return Esegui({BROVATO5_PROGRAMMA, "tableau", "--hotel", "1", "--tableau", "1", "--dalla", "0", "--alla",
                   "99999", "--data", kSettimana});
}

// The builds in this process, on the benchmark's folder as workstation 1,
// each keeping what the one before read, as the main window does.
double Costruzione(const char* settimana, const char* primaCamera = "0", const char* ultimaCamera = "99999") {
    static UltimaCostruzione costruzione;
    const Contesto contesto{CartellaDati("."), "1"};
    const auto inizio = Orologio::now();
    CreaTableau(costruzione, contesto, 1, 1, primaCamera, ultimaCamera, settimana);
    return Secondi(inizio);
}

struct Tempi {
    double prima = 0;
    double seconda = 0;
    double altroIntervallo = 0;
    double altraSettimana = 0;
    // After the first build: this process and its readers apart. A reader's
    // peak counts, until it starts its program, the memory of the process
    // that spawns it (the kernel's accounting of a spawned child).
    Consumo principale;
    Consumo lettori;
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
            rusage uso{};
            getrusage(RUSAGE_SELF, &uso);
            tempi.principale = {tempi.prima, Processore(uso), Megabyte(uso.ru_maxrss)};
            getrusage(RUSAGE_CHILDREN, &uso);
            tempi.lettori = {0, Processore(uso), Megabyte(uso.ru_maxrss)};
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

// Medians of each figure of a list of samples.
struct Mediane {
    std::vector<Consumo> campioni;
    Consumo operator()() const {
        std::vector<double> secondi, processore, picco;
        for (const auto& c : campioni) {
            secondi.push_back(c.secondi);
            processore.push_back(c.processore);
            picco.push_back(c.piccoMb);
        }
        return {Mediana(secondi), Mediana(processore), Mediana(picco)};
    }
};

void Misura(int campioni) {
    Mediane programma, principale, lettori, letture;
    std::vector<double> seconde, intervalli, altre;
    for (int i = 0; i < campioni; ++i) {
        programma.campioni.push_back(CostruzioneProgramma());
        const Tempi tempi = Costruzioni();
        principale.campioni.push_back(tempi.principale);
        lettori.campioni.push_back(tempi.lettori);
        seconde.push_back(tempi.seconda);
        intervalli.push_back(tempi.altroIntervallo);
        altre.push_back(tempi.altraSettimana);
        letture.campioni.push_back(LetturaMdbExport());
        std::printf("campione %d: programma %.4f s (cpu %.4f s), in processo %.4f s, di nuovo %.4f s, "
                    "altre camere %.4f s, altra settimana %.4f s, mdb-export %.4f s (cpu %.4f s)\n",
                    i + 1, programma.campioni.back().secondi, programma.campioni.back().processore, tempi.prima,
                    tempi.seconda, tempi.altroIntervallo, tempi.altraSettimana, letture.campioni.back().secondi,
                    letture.campioni.back().processore);
    }
    const Consumo intero = programma();
    const Consumo dentro = principale();
    const Consumo figli = lettori();
    const Consumo lettura = letture();
    const double seconda = Mediana(seconde);
    const double intervallo = Mediana(intervalli);
    const double altra = Mediana(altre);
    std::printf("mediane su %d campioni (settimana del %s, tutto l'albergo):\n", campioni, kSettimana);
    const std::string camere = std::string("poi le camere da ") + kPrimaCamera + " a " + kUltimaCamera + ":";
    const std::string settimana = std::string("poi la settimana del ") + kAltraSettimana + ":";
    std::printf("  %-36s %8.4f s, cpu %.4f s, picco %.1f MB (un processo)  (%ju byte di report)\n",
                "costruzione, programma intero:", intero.secondi, intero.processore, intero.piccoMb,
                static_cast<std::uintmax_t>(fs::file_size(NomeFileReport("1"))));
    std::printf("  %-36s %8.4f s, cpu %.4f s, picco %.1f MB\n", "costruzione in processo:", dentro.secondi,
                dentro.processore, dentro.piccoMb);
    std::printf("  %-36s %8s    cpu %.4f s, picco %.1f MB (il piu' grande, fino all'avvio del lettore "
                "conta la memoria del processo principale)\n", "  di cui i lettori:", "",
                figli.processore, figli.piccoMb);
    std::printf("  %-36s %8.4f s\n", "stessa costruzione di nuovo:", seconda);
    std::printf("  %-36s %8.4f s\n", camere.c_str(), intervallo);
    std::printf("  %-36s %8.4f s\n", settimana.c_str(), altra);
    std::printf("  %-36s %8.4f s, cpu %.4f s, picco %.1f MB\n", "mdb-export delle 7 tabelle:", lettura.secondi,
                lettura.processore, lettura.piccoMb);
    std::printf("rapporto programma/mdb-export:          %.2f (obiettivo <= 0.5)\n", intero.secondi / lettura.secondi);
    std::printf("rapporto cpu programma/mdb-export:      %.2f (obiettivo <= 1.0)\n",
                intero.processore / lettura.processore);
    std::printf("rapporto in processo/mdb-export:        %.2f\n", dentro.secondi / lettura.secondi);
    std::printf("rapporto seconda/prima costruzione:     %.3f (obiettivo <= 0.1)\n", seconda / dentro.secondi);
    std::printf("rapporto altre camere/prima:            %.3f (obiettivo <= 0.1)\n", intervallo / dentro.secondi);
    std::printf("rapporto altra settimana/prima:         %.3f (obiettivo <= 0.1)\n", altra / dentro.secondi);
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

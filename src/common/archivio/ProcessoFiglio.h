#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

// How a helper program run by EseguiProgramma ended.
struct EsitoProgramma {
    enum class Fine {
        Uscito,            // it exited by itself: `codice` is its exit code
        Terminato,         // a signal ended it (a crash): `codice` is the signal
        TempoScaduto,      // it ran past the time limit and was killed
        UscitaEccessiva,   // it wrote more than allowed and was killed
    };
    Fine fine = Fine::Uscito;
    int codice = 0;
    std::string uscita;  // what it wrote on its standard output
};

// Runs `programma` (a path) with `argomenti`, its standard input and error on
// /dev/null, and collects its standard output, which it writes into a file in
// memory read once it has ended. The program is killed when it
// is still running after `limite` or has written more than `massimaUscita`
// bytes. Safe in a process with threads (the child is started with
// posix_spawn). Throws std::system_error when the program cannot be started.
EsitoProgramma EseguiProgramma(const std::string& programma,
                               const std::vector<std::string>& argomenti,
                               std::chrono::milliseconds limite, std::size_t massimaUscita);

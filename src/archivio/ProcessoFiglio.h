#pragma once

#include <chrono>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// What a program wrote on its standard output: the file in memory it was
// gathered into, mapped where it lies and read as text without a copy.
class UscitaProgramma {
public:
    UscitaProgramma() = default;
    // Maps the first `dimensione` bytes of the file open at `fd`.
    UscitaProgramma(int fd, std::size_t dimensione);
    ~UscitaProgramma();
    UscitaProgramma(UscitaProgramma&& altra) noexcept;
    UscitaProgramma& operator=(UscitaProgramma&& altra) noexcept;

    std::string_view Testo() const { return {inizio_, dimensione_}; }
    operator std::string_view() const { return Testo(); }
    operator std::string() const { return std::string(Testo()); }
    std::size_t size() const { return dimensione_; }
    std::size_t find(std::string_view cercato) const { return Testo().find(cercato); }
    friend bool operator==(const UscitaProgramma& a, std::string_view b) { return a.Testo() == b; }
    friend std::ostream& operator<<(std::ostream& out, const UscitaProgramma& u) { return out << u.Testo(); }

private:
    const char* inizio_ = nullptr;
    std::size_t dimensione_ = 0;
};

// How a helper program run by EseguiProgramma ended.
struct EsitoProgramma {
    enum class Fine {
        Uscito,            // it exited by itself: `codice` is its exit code
        Terminato,         // a signal ended it (a crash): `codice` is the signal
        TempoScaduto,      // it ran past the time limit and was killed
        UscitaEccessiva,   // it wrote more than allowed and was killed
        Arrestato,         // it was asked to stop and was killed
    };
    Fine fine = Fine::Uscito;
    int codice = 0;
    UscitaProgramma uscita;  // what it wrote on its standard output
};

// The descriptor a child is handed a file of this program's on.
constexpr int kDescrittoreEreditato = 3;

// Runs `programma` (a path) with `argomenti`, its standard input and error on
// /dev/null, the file open at `ereditato` (when not -1) as its descriptor
// kDescrittoreEreditato, and collects its standard output into a file in
// memory, mapped once it has ended. The program is killed when it is still
// running after `limite`, has written more than `massimaUscita` bytes, or
// the descriptor `arresto` (when not -1) becomes readable; when it is
// readable already the program is not started. Safe in a process with
// threads (the child is started with posix_spawn). Throws std::system_error
// when the program cannot be started.
EsitoProgramma EseguiProgramma(const std::string& programma,
                               const std::vector<std::string>& argomenti,
                               std::chrono::milliseconds limite, std::size_t massimaUscita, int ereditato = -1,
                               int arresto = -1);

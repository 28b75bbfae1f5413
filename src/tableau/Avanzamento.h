#pragma once

#include <exception>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "archivio/RichiestaArresto.h"

// A build stopped on request before its report was complete: the previous
// report stays as it was.
class CostruzioneAnnullata : public std::exception {
public:
    const char* what() const noexcept override { return "Costruzione del tableau annullata."; }
};

// What a build tells while it runs, and the request that stops it. The build
// reads its databases side by side: each step is told on its own, from the
// thread that reaches it, one at a time.
class Avanzamento {
public:
    // Told the text of each step, in UTF-8: "Lettura di Scheda_Cliente.mdb…",
    // "Composizione del tableau…".
    using Avviso = std::function<void(const std::string& passo)>;

    // Tells nobody and is never stopped.
    Avanzamento() = default;
    Avanzamento(std::stop_token arresto, Avviso avviso);
    Avanzamento(const Avanzamento&) = delete;
    Avanzamento& operator=(const Avanzamento&) = delete;

    // Throws CostruzioneAnnullata once the build has been asked to stop.
    void Controlla() const;
    // Made when the build is asked to stop: the readings under way end at once.
    const RichiestaArresto& Arresto() const { return arrestoLetture_; }
    // A step of the build begins.
    void Passo(const std::string& testo);

    // The reading of a database file, while it lives: the step told names
    // every file being read, and those still read once one is done.
    class Lettura {
    public:
        // Throws CostruzioneAnnullata instead of beginning after a stop.
        Lettura(Avanzamento& avanzamento, std::string file);
        ~Lettura();
        Lettura(const Lettura&) = delete;
        Lettura& operator=(const Lettura&) = delete;

    private:
        Avanzamento& avanzamento_;
        std::string file_;
    };

private:
    void AvvisaLetture();

    std::stop_token arresto_;
    RichiestaArresto arrestoLetture_;
    Avviso avviso_;
    std::mutex mutex_;
    std::vector<std::string> inLettura_;
};

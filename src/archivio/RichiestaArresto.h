#pragma once

#include <exception>
#include <optional>
#include <stop_token>

#include "common/CartellaDati.h"

// A reading stopped because its job was asked to stop.
class LetturaArrestata : public std::exception {
public:
    const char* what() const noexcept override { return "Lettura dell'archivio arrestata."; }
};

// The request to stop a job's readings, made from another thread: a reader
// program under way is killed at once, one not yet started is not started.
// It is a descriptor that becomes readable once the request is made, so that
// whoever waits for a reader wakes at once.
class RichiestaArresto {
public:
    RichiestaArresto();
    // Made when a stop of `arresto` is requested.
    explicit RichiestaArresto(std::stop_token arresto);
    RichiestaArresto(const RichiestaArresto&) = delete;
    RichiestaArresto& operator=(const RichiestaArresto&) = delete;

    void Fai() const;
    bool Fatta() const;
    // Readable once the request is made; never read, so that it stays so.
    int Fd() const { return evento_.Fd(); }

private:
    struct Richiesta {
        const RichiestaArresto* arresto;
        void operator()() const { arresto->Fai(); }
    };

    Descrittore evento_;
    std::optional<std::stop_callback<Richiesta>> richiamo_;
};

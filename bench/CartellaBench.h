#pragma once

// Shared by the benchmark programs.

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "common/Contesto.h"

// Seconds since `inizio`.
inline double Secondi(const std::chrono::steady_clock::time_point& inizio) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inizio).count();
}

// The files of a data folder copied into a new temporary folder, which is
// the current folder (workstation PCLocal=1) until it is removed at the end.
class CartellaBench {
public:
    CartellaBench(const std::filesystem::path& origine, const std::string& prefisso) {
        std::string modello = (std::filesystem::temp_directory_path() / (prefisso + "-XXXXXX")).string();
        if (!mkdtemp(modello.data())) throw std::runtime_error("mkdtemp non riuscito");
        percorso_ = modello;
        for (const auto& voce : std::filesystem::directory_iterator(origine))
            if (voce.is_regular_file()) std::filesystem::copy_file(voce.path(), percorso_ / voce.path().filename());
        std::filesystem::current_path(percorso_);
        setenv("PCLocal", "1", 1);
    }
    ~CartellaBench() {
        std::error_code ec;
        std::filesystem::current_path("/", ec);
        std::filesystem::remove_all(percorso_, ec);
    }
    // The folder as the data folder of workstation 1.
    Contesto Dati() const { return {CartellaDati(percorso_.string()), "1"}; }

    CartellaBench(const CartellaBench&) = delete;
    CartellaBench& operator=(const CartellaBench&) = delete;

private:
    std::filesystem::path percorso_;
};

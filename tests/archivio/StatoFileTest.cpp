#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <random>

#include "archivio/StatoFile.h"
#include "support/Supporto.h"

// The fingerprint of a file tells it from one of the same size that differs
// in one bit anywhere (in a whole block, across the blocks read at once, in
// the bytes past the last block) or holds the same words in another order.
TEST(StatoFile, ImprontaCambiaConUnSoloBit) {
    CartellaTemporanea cartella;
    std::mt19937 caso(7);
    std::string originale(600013, '\0');
    for (auto& byte : originale) byte = static_cast<char>(caso());
    const auto impronta = [&](const std::string& contenuto) {
        ScriviFile(cartella.Percorso() / "file.mdb", contenuto);
        return LeggiStatoFile(FileDelTest(cartella.Percorso() / "file.mdb")).value().impronta;
    };
    const auto prima = impronta(originale);
    EXPECT_EQ(impronta(originale), prima);

    const auto bit = [](std::size_t posizione) {
        return [posizione](std::string& s) { s[posizione] = static_cast<char>(s[posizione] ^ 1); };
    };
    const std::function<void(std::string&)> modifiche[] = {
        bit(0), bit(31), bit(32), bit(262143), bit(262144), bit(600000), bit(600012),
        [](std::string& s) { std::swap_ranges(s.begin(), s.begin() + 8, s.begin() + 8); },
        [](std::string& s) { std::swap_ranges(s.begin(), s.begin() + 32, s.begin() + 32); },
    };
    for (std::size_t i = 0; i < std::size(modifiche); ++i) {
        std::string modificato = originale;
        modifiche[i](modificato);
        EXPECT_NE(impronta(modificato), prima) << "modifica " << i;
    }
    EXPECT_NE(impronta(""), impronta(std::string(1, '\0')));
}

// A fingerprint taken since a given moment serves only for the file as it
// was then: a file rewritten, grown or replaced since shows its new state.
TEST(StatoFile, ImprontaRecenteSoloPerIlFileInvariato) {
    CartellaTemporanea cartella;
    const auto file = cartella.Percorso() / "file.mdb";
    const std::string percorso = file.string();
    const std::function<void()> modifiche[] = {
        [] {},
        [&] { ScriviFile(file, "contenuto B"); },
        [&] { ScriviFile(file, "contenuto A e altro"); },
        [&] {
            ScriviFile(cartella.Percorso() / "nuovo.mdb", "contenuto C");
            std::filesystem::rename(cartella.Percorso() / "nuovo.mdb", file);
        },
    };
    UltimeImpronte impronte;
    for (std::size_t i = 0; i < std::size(modifiche); ++i) {
        ScriviFile(file, "contenuto A");
        const auto dopo = std::chrono::steady_clock::now();
        const auto preso = LeggiStatoFile(FileDelTest(percorso), impronte);
        modifiche[i]();
        const auto recente = LeggiStatoFile(FileDelTest(percorso), impronte, dopo);
        EXPECT_EQ(recente, LeggiStatoFile(FileDelTest(percorso))) << "modifica " << i;
        EXPECT_EQ(recente == preso, i == 0) << "modifica " << i;
    }
    EXPECT_EQ(LeggiStatoFile(FileDelTest(cartella.Percorso() / "manca.mdb"), impronte, std::chrono::steady_clock::now()),
              std::nullopt);
}

#include "common/CartellaDati.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "common/Errore.h"
#include "common/FileSostitutivo.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

// What another user of the shared folder may leave at a name the program
// reads or writes: it is read only when it is a regular file reached without
// a link, never waited on, and replaced only as the writer's mode allows;
// the file a link points at is never touched.
TEST(CartellaDati, VociMesseDaAltriUtenti) {
    CartellaTemporanea cartella;
    CartellaTemporanea altrove;
    const fs::path qui = cartella.Percorso();
    const fs::path segreto = altrove.Percorso() / "id_rsa";
    ScriviFile(segreto, "chiave privata");
    struct Caso {
        const char* nome;
        std::function<void(const fs::path&)> prepara;
        bool letto;               // Leggi gives its contents
        bool sostituitoSoloFile;  // FileSostitutivo in mode SoloFile writes it
        bool sostituitoSempre;    // in mode QualsiasiVoce
    } casi[] = {
        {"nessuna", [](const fs::path&) {}, false, true, true},
        {"file", [](const fs::path& p) { ScriviFile(p, "testo"); }, true, true, true},
        {"collegamento", [&](const fs::path& p) { fs::create_symlink(segreto, p); }, false, false, true},
        {"collegamento rotto", [&](const fs::path& p) { fs::create_symlink(qui / "manca", p); }, false, false, true},
        {"fifo", [](const fs::path& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, false, false, true},
        {"cartella", [](const fs::path& p) { fs::create_directory(p); }, false, false, false},
    };
    const CartellaDati dati(qui.string());
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const fs::path voce = qui / "voce.txt";
        fs::remove_all(voce);
        caso.prepara(voce);
        const auto inizio = std::chrono::steady_clock::now();
        std::optional<std::string> letto;
        const int errore = NumeroErroreDi([&] { letto = dati.Leggi("VOCE.txt", 1024, "il file"); });
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(2));
        EXPECT_EQ(letto.has_value(), caso.letto);
        const bool presente = fs::symlink_status(voce).type() != fs::file_type::not_found;
        EXPECT_EQ(errore, presente && !caso.letto ? NumeroErrore::FileNonScrivibile : 0);
        for (const auto& [modo, atteso] : {std::pair{Sostituzione::SoloFile, caso.sostituitoSoloFile},
                                          std::pair{Sostituzione::QualsiasiVoce, caso.sostituitoSempre}}) {
            fs::remove_all(voce);
            caso.prepara(voce);
            const int scrittura = NumeroErroreDi([&] {
                FileSostitutivo file(dati, "voce.txt", "il file", modo);
                file.ScriviRiga("nuovo");
                file.Completa();
            });
            EXPECT_EQ(scrittura, atteso ? 0 : NumeroErrore::FileNonScrivibile);
            if (atteso) {
                EXPECT_EQ(LeggiFile(voce), "nuovo\r\n");
            }
        }
        EXPECT_EQ(LeggiFile(segreto), "chiave privata");
    }
    // Nothing but the entry is left: no temporary file of a refused writing.
    EXPECT_EQ(std::distance(fs::directory_iterator(qui), fs::directory_iterator()), 1);
}

// A file larger than the bound is refused without being read; a subfolder
// is reached only without a link; the folder's own entry names are found
// without regard to case, the exact spelling first.
TEST(CartellaDati, LimitiSottocartelleENomi) {
    CartellaTemporanea cartella;
    CartellaTemporanea altrove;
    const fs::path qui = cartella.Percorso();
    {
        const int fd = open((qui / "FontStp.txt").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, off_t{2} << 30), 0);  // 2 GB, sparse: no disk used
        close(fd);
    }
    const CartellaDati dati(qui.string());
    const auto inizio = std::chrono::steady_clock::now();
    try {
        dati.Leggi("fontstp.txt", 64 * 1024, "il file del carattere di stampa");
        ADD_FAILURE() << "file enorme letto";
    } catch (const Errore& e) {
        EXPECT_EQ(e.Numero(), NumeroErrore::FileNonScrivibile);
        EXPECT_NE(e.Descrizione().find("FontStp.txt"), std::string::npos) << e.Descrizione();
        EXPECT_NE(e.Descrizione().find("troppo grande"), std::string::npos) << e.Descrizione();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - inizio, std::chrono::seconds(1));

    fs::create_directory_symlink(altrove.Percorso(), qui / "doc");
    EXPECT_EQ(NumeroErroreDi([&] { dati.Sottocartella("doc", true); }), NumeroErrore::PercorsoNonTrovato);
    EXPECT_TRUE(fs::is_empty(altrove.Percorso()));
    fs::remove(qui / "doc");
    const CartellaDati doc = dati.Sottocartella("doc", true);
    EXPECT_TRUE(fs::is_directory(qui / "doc"));
    EXPECT_EQ(doc.Percorso(), (qui / "doc").string());
    EXPECT_EQ(NumeroErroreDi([&] { dati.Sottocartella("..", true); }), NumeroErrore::PercorsoNonTrovato);

    ScriviFile(qui / "TABLEAU.MDB", "x");
    ScriviFile(qui / "fd1", "y");
    ScriviFile(qui / "FD1", "z");
    EXPECT_EQ(dati.Trova("Tableau.mdb"), "TABLEAU.MDB");
    EXPECT_EQ(dati.Trova("FD1"), "FD1");
    EXPECT_EQ(dati.Trova("doc/../fd1"), std::nullopt);
    EXPECT_EQ(dati.Trova("Manca.mdb"), std::nullopt);
}

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "archivio/Valore.h"

// A small suite of databases written in code as SQLite files: rooms, guests,
// charges, agencies and bookings, then the tableau built from them. Texts are
// given in UTF-8 and stored as the suite stores them.
class Scenario {
public:
    // A suite in the folder `cartella`, for workstation 1.
    explicit Scenario(std::filesystem::path cartella);

    struct Ospite {
        std::string camera;
        std::string arrivo, partenza;   // yyyymmdd
        int componente = 1;
        std::string nome = "Rossi Mario";
        std::int64_t progressivo = 70001;
        Valore pagamento = Valore::Testo("C");
        std::int64_t agenzia = 0;
        std::string partito = "N";
        std::int64_t hotel = 1;
    };
    struct Prenotata {
        std::string camera;
        std::int64_t numero;
        std::string arrivo, partenza;
        Valore prezzo = Valore::Valuta(800000);
        std::int64_t persone = 2;
        std::string tipo = "C";
        std::int64_t hotel = 1;
    };
    struct Testata {
        std::int64_t numero;
        std::string nome = "Verdi Anna";
        Valore pagamento = Valore::Testo("B");
        std::string tipo = "C";
        std::string agenzia = "";
        std::int64_t hotel = 1;
    };

    void Camera(const std::string& numero, const std::string& tipo = "DBL", std::int64_t tableau = 1,
                std::int64_t hotel = 1);
    void TipoCamera(const std::string& sigla, const std::string& tipologia);
    void Aggiungi(const Ospite& o);
    void Aggiungi(const Prenotata& p);
    void Aggiungi(const Testata& t);
    void Addebito(std::int64_t cliente, const std::string& dal, const std::string& al, const Valore& importo,
                  std::int64_t conto = 1, std::int64_t hotel = 1);
    void Agenzia(std::int64_t codice, const std::string& nome, std::int64_t hotel = 1);

    // Direct access to a table, for records with Null or odd values.
    Tabella& TabellaDi(const std::string& nome);

    // Writes every table into its database file in the folder.
    void Scrivi() const;

    // Writes, builds the tableau of hotel 1 and `tableau` from `prima` to
    // `ultima` for the week of `data`, and returns the report's lines
    // (without their CR LF).
    std::vector<std::string> Tableau(const std::string& data = "07/12/2026", const std::string& prima = "1",
                                     const std::string& ultima = "999", std::int16_t tableau = 1) const;

private:
    std::filesystem::path cartella_;
    std::vector<Tabella> tabelle_;
};

// Amount in ten-thousandths from euros and cents given as a decimal text.
Valore Euro(const std::string& importo);

// The 17 characters of day k's cell in a report line.
std::string Cella(const std::string& riga, int giorno);

// Lines of a report file split at CR LF.
std::vector<std::string> RigheReport(const std::string& contenuto);

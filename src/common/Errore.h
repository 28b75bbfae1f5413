#pragma once

#include <stdexcept>
#include <string>

// An error as the program reports it to the user: a number (the database
// engine's numbering where it has one) and an Italian description in UTF-8.
class Errore : public std::runtime_error {
public:
    Errore(int numero, std::string descrizione);

    int Numero() const { return numero_; }
    const std::string& Descrizione() const { return descrizione_; }

    // "Errore N: descrizione", as printed on stderr and shown in the message box.
    std::string Testo() const;

private:
    int numero_;
    std::string descrizione_;
};

// Error numbers used across the program.
namespace NumeroErrore {
constexpr int ArgomentoNonValido = 5;     // invalid procedure call or argument
constexpr int Overflow = 6;
constexpr int MemoriaInsufficiente = 7;   // out of memory
constexpr int NumeroFileNonValido = 52;   // bad file name or number: the file is not open
constexpr int FileInesistente = 53;       // a file to read, or a program to start, not found
constexpr int DiscoPieno = 61;            // disk full: a file could not be written whole
constexpr int InputOltreFine = 62;        // input past the end of a file
constexpr int DispositivoNonDisponibile = 68;  // a printer port that is not there or cannot be opened
constexpr int FileNonScrivibile = 75;     // path/file access error
constexpr int PercorsoNonTrovato = 76;    // a folder that is missing or cannot be entered
constexpr int ErroreStampante = 482;
constexpr int NessunRecordCorrente = 3021;
constexpr int FileNonTrovato = 3024;
constexpr int FileInUso = 3045;            // another workstation is writing the file
constexpr int FileNonApribile = 3051;      // a database there that cannot be opened (permission, a link...)
constexpr int ParametriInsufficienti = 3061;  // a search not given a value for each parameter of its criterion
constexpr int TabellaNonTrovata = 3078;
constexpr int IsamNonTrovato = 3170;         // the database driver (Access reader) is missing
constexpr int CampoNonTrovato = 3265;
constexpr int SottoqueryConPiuCampi = 3306;  // a subquery that does not give the values of one field
constexpr int FormatoNonRiconosciuto = 3343;
constexpr int TipiNonCorrispondenti = 3464;
}  // namespace NumeroErrore

// Errore 53 for the file to read or the program to start `nome` (UTF-8) that is not found.
Errore ErroreFileInesistente(const std::string& nome);

// Errore 7: not enough memory to `operazione` ("leggere il database 'X'").
Errore ErroreMemoriaInsufficiente(const std::string& operazione);

// The cause of the system error `numero` (an errno value) as an Italian
// sentence that says what to check: "il file o la cartella non esiste,
// controllare il nome e il percorso", "disco pieno, liberare spazio sul disco"...
// Begins in lower case, to follow a description and a colon.
std::string DescrizioneErroreSistema(int numero);

// The text of an error that stopped an operation, as the user is shown it: an
// Errore's "Errore N: descrizione"; a failed file or folder operation of the
// system (std::system_error, std::filesystem::filesystem_error) as Errore 75
// with its cause in Italian and the path involved, as Errore 7 when the
// system lacked memory; memory that could not be had (std::bad_alloc) as
// Errore 7; any other error's own text.
std::string TestoErrore(const std::exception& errore);

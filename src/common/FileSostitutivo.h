#pragma once

#include <cstdio>
#include <string>

// Creates an empty temporary file beside `nomeFile`, named after it, this
// process and a counter, never over an existing file. Like any new file it
// takes the permissions the umask leaves, and it is closed to the programs
// this one starts. Gives the descriptor open for writing, or -1 with `nome`
// left empty.
int CreaTemporaneo(const std::string& nomeFile, std::string& nome);

// A file written anew as a whole (the report, the export, the mail file, the
// archive copy). Lines go to a temporary file beside it; Completa() renames
// that over the file, so a run that stops half-way leaves the previous file
// (or none) as it was.
class FileSostitutivo {
public:
    // Opens the temporary file for `nome`; `cosa` names the file in the error
    // message ("il file del report"). Throws Errore 75.
    FileSostitutivo(std::string nome, std::string cosa);
    // Removes the temporary file unless Completa() was reached.
    ~FileSostitutivo();
    FileSostitutivo(const FileSostitutivo&) = delete;
    FileSostitutivo& operator=(const FileSostitutivo&) = delete;

    // Writes one line followed by CR LF.
    void ScriviRiga(const std::string& riga);
    // Writes `testo` as it is, line ends included.
    void Scrivi(const std::string& testo);

    // Closes the temporary file and puts it in place of the file. Throws Errore 75.
    void Completa();

private:
    [[noreturn]] void Fallito() const;

    std::string nome_;
    std::string cosa_;
    std::string nomeTemporaneo_;
    std::FILE* file_ = nullptr;
};

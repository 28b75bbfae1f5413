#pragma once

#include <string>
#include <string_view>

#include "common/CartellaDati.h"

// What a file written anew may replace at its name.
enum class Sostituzione {
    // The program's own files (the report, the export, the mail file, the
    // archive copies): whatever another user of the folder left at that name,
    // a link or a FIFO, is replaced by the new file, never followed.
    QualsiasiVoce,
    // A file named by the user or by the suite's settings (a print file, a
    // PDF): only a regular file, or nothing, may be there; anything else is
    // refused before a byte is written.
    SoloFile,
};

// A file written anew as a whole in a folder (the report, the export, the mail
// file, the archive copy, a print file). Lines go to a temporary file created
// beside it, written through its own descriptor; Completa() renames that over
// the file, so a run that stops half-way leaves the previous file (or none)
// as it was. An existing file whose name differs only in case (a folder copied
// from Windows) is the one replaced.
class FileSostitutivo {
public:
    // Creates the temporary file for `nome` in `cartella`; `cosa` names the
    // file in the error messages ("il file del report"). Throws Errore 75 (61
    // for a full disk) saying why, or when `modo` refuses what lies at `nome`.
    FileSostitutivo(const CartellaDati& cartella, std::string nome, std::string cosa,
                    Sostituzione modo = Sostituzione::QualsiasiVoce);
    // Removes the temporary file unless Completa() was reached.
    ~FileSostitutivo();
    FileSostitutivo(const FileSostitutivo&) = delete;
    FileSostitutivo& operator=(const FileSostitutivo&) = delete;

    // The name the file takes in its folder.
    const std::string& Nome() const { return nome_; }

    // Writes one line followed by CR LF.
    void ScriviRiga(std::string_view riga);
    // Writes `testo` as it is, line ends included.
    void Scrivi(std::string_view testo);

    // Writes what is left, makes it durable and puts the file in place.
    // Throws Errore 75 (61 for a full disk).
    void Completa();

private:
    void Svuota();
    void ControllaVoce() const;
    [[noreturn]] void Fallito(int causa) const;

    CartellaDati cartella_;
    std::string nome_;
    std::string cosa_;
    Sostituzione modo_;
    std::string nomeTemporaneo_;
    Descrittore file_;
    std::string attesa_;  // written at the next Svuota()
};

// Writes `contenuto` as the whole file `nome` of `cartella` through a
// FileSostitutivo: in place once complete, or not at all. Gives the name the
// file took there. Throws as FileSostitutivo does.
std::string ScriviFileIntero(const CartellaDati& cartella, std::string nome, std::string cosa,
                             std::string_view contenuto, Sostituzione modo = Sostituzione::QualsiasiVoce);

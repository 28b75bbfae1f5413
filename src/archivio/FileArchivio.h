#pragma once

#include <string>

#include "common/CartellaDati.h"

// A database file of a folder: the folder, opened once, and the file's name
// in it as it is spelt there.
struct FileArchivio {
    CartellaDati cartella;
    std::string nome;
    // For messages: the folder's path and the name.
    std::string Percorso() const { return cartella.PercorsoDi(nome); }
};

// `nomeFile` inside `cartella`, its name matched without regard to case (a
// data folder copied from Windows may hold TABLEAU.MDB). Throws Errore 3024
// naming the file and the folder searched when there is none.
FileArchivio TrovaFile(const CartellaDati& cartella, const std::string& nomeFile);
// The file at `percorso`, in the folder its path names (the current one for a
// bare name). Throws as TrovaFile.
FileArchivio FileDelPercorso(const std::string& percorso);

// Opens the database file for reading: a regular file reached without a link,
// never waiting (a FIFO there is refused at once). Throws Errore 3024 when it is
// missing, 3051 naming the cause when it cannot be opened (no permission, too
// many open files, a link or a special file in its place).
Descrittore ApriFileArchivio(const FileArchivio& file);

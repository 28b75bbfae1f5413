#pragma once

#include <string>

#include "common/Contesto.h"

// A file a print writes into (a print file of the direct path, a PDF): its
// folder, reached as the rules below allow, and its name there.
struct FileDiStampa {
    CartellaDati cartella;
    std::string nome;
    std::string mostrato;  // the name as the user gave or sees it (UTF-8)
};

// Resolves the file `percorso` (UTF-8) a print is to write into. A name taken
// from the suite's shared settings (`dellUtente` false: the Linea of the
// Stampanti table, which any user of the data folder may write) lies in the
// data folder: a relative name is taken there, the folders on its way reached
// without a link; a name with a folder outside is refused. A name the user
// gave herself (`dellUtente`) may lie anywhere she can write: a relative one
// in the data folder as above, an absolute one in the folder its path names.
// Either is refused when it is one of the suite's databases or settings
// files, the report or an archive copy of it (compared as files: another case
// of the name, a hard link), or any database. Throws Errore 75 saying which.
// The file itself is then written as a FileSostitutivo in mode SoloFile: never
// through a link, never over a FIFO or a device.
FileDiStampa RisolviFileDiStampa(const Contesto& contesto, const std::string& percorso, bool dellUtente);

// The same check for a file in the archive folder (a dated PDF).
void ControllaFileDiStampa(const Contesto& contesto, const FileDiStampa& file);

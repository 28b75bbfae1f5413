#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "common/Contesto.h"
#include "tableau/Avanzamento.h"
#include "tableau/Settimana.h"

struct SessioneArchivio;

// The databases and record sets of the last build, kept for the next one
// while the files it read stay unchanged: another week, tableau or range of
// rooms of the same folder is built without reading every table again. Its
// owner (the main window, a command) keeps it as long as builds may follow.
// The tables read are kept for the session it is given (one of its own
// without): a new UltimaCostruzione of the same session reads again only the
// files that have changed.
class UltimaCostruzione {
public:
    UltimaCostruzione();
    explicit UltimaCostruzione(std::shared_ptr<SessioneArchivio> sessione);
    ~UltimaCostruzione();
    UltimaCostruzione(const UltimaCostruzione&) = delete;
    UltimaCostruzione& operator=(const UltimaCostruzione&) = delete;

private:
    friend Settimana CostruisciSettimana(UltimaCostruzione&, const Contesto&, std::int16_t, std::int16_t,
                                         const std::string&, const std::string&, const std::string&, Avanzamento&,
                                         const std::function<void()>&);
    struct Dati;
    std::unique_ptr<Dati> dati_;
};

// Builds the week of `hotel`, tableau `tableau`, rooms from `primaCamera` to
// `ultimaCamera` (as text) and the week starting on `dataInizio` (dd/mm/yyyy),
// reading the suite's databases in the data folder of `contesto`, and writes
// nothing: the room rack and the data for scripts are made from it while the
// workstation's report stays as it is. What `ultima` keeps of an earlier
// build serves while its files are unchanged. Throws Errore on a missing or
// damaged database, table or field; tells `avanzamento` which databases it
// reads and when it composes the week; asked to stop, throws
// CostruzioneAnnullata before it reads another database or takes another room.
// `letti`, when given, runs once the databases are read, before the week is
// composed (where CreaTableau opens its report).
Settimana CostruisciSettimana(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel,
                              std::int16_t tableau, const std::string& primaCamera, const std::string& ultimaCamera,
                              const std::string& dataInizio, Avanzamento& avanzamento,
                              const std::function<void()>& letti = {});

// Builds the weekly tableau of `hotel`, tableau `tableau`, rooms from
// `primaCamera` to `ultimaCamera` (as text) and the week starting on
// `dataInizio` (dd/mm/yyyy), reading the suite's databases in the data folder
// of `contesto`, and writes it as the workstation's report file there. What
// `ultima` keeps of an earlier build serves while its files are unchanged.
// The report is written to a temporary file and renamed over the old one
// only when complete. Throws Errore on a missing or damaged database, table
// or field, or a report file that cannot be written; the previous report
// then stays. Gives the week the report was written from.
Settimana CreaTableau(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel, std::int16_t tableau,
                 const std::string& primaCamera, const std::string& ultimaCamera, const std::string& dataInizio);

// The same, telling `avanzamento` which databases it reads and when it
// composes the tableau. Asked to stop, it throws CostruzioneAnnullata before
// it reads another database, takes another room or puts the report in place,
// and a reading under way is broken off (its reader killed): the previous
// report stays and no temporary file is left.
Settimana CreaTableau(UltimaCostruzione& ultima, const Contesto& contesto, std::int16_t hotel, std::int16_t tableau,
                 const std::string& primaCamera, const std::string& ultimaCamera, const std::string& dataInizio,
                 Avanzamento& avanzamento);

#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <random>
#include <stop_token>

#include "archivio/ArchivioAccess.h"
#include "archivio/Sessione.h"
#include "common/Errore.h"
#include "support/Csv.h"
#include "support/PagineJet4.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

std::string FileDemo(const std::string& database, const std::string& insieme = "demo") {
    return (CartellaDatiTest() / insieme / (database + ".mdb")).string();
}

Tabella TabellaCsv(const std::string& database, const std::string& tabella, const std::string& insieme = "demo") {
    return LeggiCsv(CartellaDatiTest() / insieme / "csv" / database / (tabella + ".csv"));
}

void ControllaUguale(const Tabella& letta, const Tabella& attesa) {
    EXPECT_EQ(letta.nome, attesa.nome);
    EXPECT_EQ(letta.colonne, attesa.colonne);
    ASSERT_EQ(letta.righe.size(), attesa.righe.size());
    for (std::size_t r = 0; r < attesa.righe.size(); ++r) {
        SCOPED_TRACE(attesa.nome + " record " + std::to_string(r + 1));
        EXPECT_EQ(letta.righe[r], attesa.righe[r]);
    }
}

void Scrivi(const fs::path& percorso, const std::string& byte, bool eseguibile = false) {
    std::ofstream(percorso, std::ios::binary) << byte;
    if (eseguibile) fs::permissions(percorso, fs::perms::owner_exec, fs::perm_options::add);
}

std::vector<const Valore*> ValoriColonna(const Tabella& tabella, const std::string& nome) {
    const int indice = tabella.IndiceColonna(nome);
    std::vector<const Valore*> valori;
    for (const auto& record : tabella.righe) valori.push_back(&record.at(indice));
    return valori;
}

}  // namespace

void ControllaUgualeAlleSorgenti(const std::string& insieme) {
    std::map<std::string, std::vector<std::string>> tabelleAttese;
    for (const auto& sorgente : SorgentiCsvDemo(insieme)) tabelleAttese[sorgente.database].push_back(sorgente.tabella);
    ASSERT_EQ(tabelleAttese.size(), 11u);

    for (const auto& [database, tabelle] : tabelleAttese) {
        SCOPED_TRACE(insieme + "/" + database);
        const auto archivio = ApriArchivioAccess(FileDemo(database, insieme));
        auto nomi = archivio->NomiTabelle();
        std::sort(nomi.begin(), nomi.end());
        EXPECT_EQ(nomi, tabelle);
        for (const auto& tabella : tabelle)
            ControllaUguale(archivio->LeggiTabella(tabella), TabellaCsv(database, tabella, insieme));
    }
}

TEST(ArchivioAccess, OgniTabellaDemoUgualeAllaSuaSorgenteCsv) { ControllaUgualeAlleSorgenti("demo"); }

// Files after everyday use: deleted rows are left out, rows moved by an
// update are read in their old place.
TEST(ArchivioAccess, RigheCancellateESpostateComeLeMostraAccess) { ControllaUgualeAlleSorgenti("edited"); }

// The cases a comparison with the CSV sources could hide if both sides erred alike.
TEST(ArchivioAccess, NullTestiVuotiSpaziEImportiComeMemorizzati) {
    const auto prenotazioni = ApriArchivioAccess(FileDemo("Scheda_Prenotazione"))->LeggiTabella("Scheda_Prenotazione");
    const auto agenzie = ValoriColonna(prenotazioni, "Agenzia");
    const auto pagamenti = ValoriColonna(prenotazioni, "Pagamento");
    EXPECT_EQ(std::count_if(agenzie.begin(), agenzie.end(), [](auto v) { return *v == Valore::Testo(""); }), 14);
    EXPECT_EQ(std::count_if(pagamenti.begin(), pagamenti.end(), [](auto v) { return v->IsNull(); }), 4);

    const auto clienti = ApriArchivioAccess(FileDemo("Scheda_Cliente"))->LeggiTabella("scheda_CLIENTE");
    EXPECT_EQ(clienti.nome, "Scheda_Cliente");
    const auto nomi = ValoriColonna(clienti, "NomeCliente");
    for (const char* nome : {"D'Angelo Nicol\xF2", "Fontana Elisa  ", "M\xFCller Hans", "\xC0lvaro P\xE9rez"})
        EXPECT_TRUE(std::any_of(nomi.begin(), nomi.end(), [&](auto v) { return v->Testo() == nome; })) << nome;

    const auto hotel = ApriArchivioAccess(FileDemo("AnagraficaHotels"))->LeggiTabella("AnagraficaHotels");
    EXPECT_TRUE(hotel.righe[0][hotel.IndiceColonna("CodiceAssistenza")].IsNull());
    EXPECT_NE(hotel.righe[1][hotel.IndiceColonna("Note")].Testo().find('\n'), std::string::npos);

    const auto importi = ApriArchivioAccess(FileDemo("Arrangiamento"))->LeggiTabella("Arrangiamento");
    EXPECT_EQ(importi.righe[2][importi.IndiceColonna("ImportoTotale")], Valore::Valuta(425000));
}

TEST(ArchivioAccess, TabellaOFileMancanti) {
    const auto archivio = ApriArchivioAccess(FileDemo("Stampanti"));
    try {
        archivio->LeggiTabella("Stampant");
        FAIL() << "nessun errore";
    } catch (const Errore& e) {
        EXPECT_EQ(e.Numero(), NumeroErrore::TabellaNonTrovata);
        EXPECT_EQ(e.Descrizione(), "Impossibile trovare la tabella o la query di input 'Stampant'.");
    }
    EXPECT_EQ(archivio->LeggiTabella("SetStampa").righe.size(), 2u);  // still usable
    EXPECT_EQ(NumeroErroreDi([] { ApriArchivioAccess(FileDemo("NonEsiste")); }), NumeroErrore::FileNonTrovato);
}

TEST(ArchivioAccess, FileDanneggiatiDannoErroreENonRecordPersi) {
    CartellaTemporanea cartella;
    const auto& dove = cartella.Percorso();
    const std::string originale = LeggiFile(FileDemo("Scheda_Cliente"));
    std::mt19937 caso(5);
    std::string spazzatura = originale.substr(0, 32);
    while (spazzatura.size() < 65536) spazzatura += static_cast<char>(caso());

    Scrivi(dove / "vuoto.mdb", "");
    Scrivi(dove / "testo.mdb", "Questo non \xC3\xA8 un database.\n");
    Scrivi(dove / "spazzatura.mdb", spazzatura);
    for (const char* nome : {"vuoto.mdb", "testo.mdb", "spazzatura.mdb"}) {
        SCOPED_TRACE(nome);
        EXPECT_EQ(NumeroErroreDi([&] { ApriArchivioAccess((dove / nome).string())->LeggiTabella("Scheda_Cliente"); }),
                  NumeroErrore::FormatoNonRiconosciuto);
    }

    // Cut anywhere, a copy gives an error or, when only unused pages are
    // missing, the whole table: never a part of it.
    const auto attesa = TabellaCsv("Scheda_Cliente", "Scheda_Cliente");
    for (const std::size_t taglio : {100ul, 4096ul, 8192ul, 32768ul, 65536ul, 98304ul, 110000ul, 122880ul,
                                     originale.size() - 1}) {
        SCOPED_TRACE("tagliato a " + std::to_string(taglio));
        const auto percorso = dove / ("tagliato" + std::to_string(taglio) + ".mdb");
        Scrivi(percorso, originale.substr(0, taglio));
        try {
            ControllaUguale(ApriArchivioAccess(percorso.string())->LeggiTabella("Scheda_Cliente"), attesa);
        } catch (const Errore& e) {
            EXPECT_EQ(e.Numero(), NumeroErrore::FormatoNonRiconosciuto);
            EXPECT_NE(e.Descrizione().find(percorso.string()), std::string::npos);
        }
    }
}

// A page wiped out anywhere (catalog, table definition, rows, memo texts)
// gives an error or, when the page was unused, the whole table unchanged.
TEST(ArchivioAccess, PaginaAzzerataDaErroreONessunEffetto) {
    CartellaTemporanea cartella;
    const std::string originale = LeggiFile(FileDemo("AnagraficaHotels"));
    const auto attesa = TabellaCsv("AnagraficaHotels", "AnagraficaHotels");
    constexpr std::size_t kPagina = 4096;
    for (std::size_t pagina = 1; pagina < originale.size() / kPagina; ++pagina) {
        SCOPED_TRACE("pagina " + std::to_string(pagina));
        std::string danneggiato = originale;
        danneggiato.replace(pagina * kPagina, kPagina, kPagina, '\0');
        const auto percorso = cartella.Percorso() / "AnagraficaHotels.mdb";
        Scrivi(percorso, danneggiato);
        try {
            ControllaUguale(ApriArchivioAccess(percorso.string())->LeggiTabella("AnagraficaHotels"), attesa);
        } catch (const Errore& e) {
            EXPECT_EQ(e.Numero(), NumeroErrore::FormatoNonRiconosciuto);
        }
    }
}

// Whatever the reader program does, the caller gets an Errore in due time.
TEST(ArchivioAccess, LettoreCheFallisceDaErrore) {
    CartellaTemporanea cartella;
    const std::string file = FileDemo("Stampanti");
    const std::string elenco = "printf 'brovato5-mdb 1\\ntabelle 1\\n9:Stampanti\\nfine\\n'";
    const auto lettore = [&](const std::string& nome, const std::string& perTabella) {
        const auto percorso = cartella.Percorso() / nome;
        Scrivi(percorso, "#!/bin/sh\nif [ \"$1\" = tabelle ]; then " + elenco + "; exit 0; fi\n" + perTabella + "\n", true);
        return percorso.string();
    };
    const struct {
        const char* nome;
        std::string comandi;
        int errore;
    } casi[] = {
        {"crash", "kill -SEGV $$", NumeroErrore::FormatoNonRiconosciuto},
        {"bloccato", "exec sleep 30", NumeroErrore::FormatoNonRiconosciuto},
        {"bloccatoDopoUscita", "exec >&-; exec sleep 30", NumeroErrore::FormatoNonRiconosciuto},
        {"malformato", "printf 'brovato5-mdb 1\\ntabella 99:x\\n'", NumeroErrore::FormatoNonRiconosciuto},
        {"codice1", "exit 1", NumeroErrore::FormatoNonRiconosciuto},
        {"tabellaMancante", "exit 4", NumeroErrore::TabellaNonTrovata},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const auto archivio = ApriArchivioAccess(file, lettore(caso.nome, caso.comandi), 1s);
        const auto inizio = std::chrono::steady_clock::now();
        EXPECT_EQ(NumeroErroreDi([&] { archivio->LeggiTabella("Stampanti"); }), caso.errore);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, 10s);
    }

    const auto senzaElenco = (cartella.Percorso() / "senzaElenco").string();
    Scrivi(senzaElenco, "#!/bin/sh\nexit 4\n", true);
    EXPECT_EQ(NumeroErroreDi([&] { ApriArchivioAccess(file, senzaElenco, 1s); }), NumeroErrore::FormatoNonRiconosciuto);
    EXPECT_EQ(NumeroErroreDi([&] { ApriArchivioAccess(file, (cartella.Percorso() / "manca").string(), 1s); }),
              NumeroErrore::IsamNonTrovato);
}

// A GUI program runs under the user's locale: under one with a decimal comma
// the numbers must read the same.
TEST(ArchivioAccess, NumeriLettiUgualiConLaVirgolaDecimale) {
    LocaleVirgolaDecimale italiano;
    if (!italiano.Attiva()) GTEST_SKIP() << "nessuna localizzazione con la virgola decimale installata";
    // The reader program inherits the environment, not the locale set here.
    VariabileAmbiente tutto("LC_ALL", "it_IT.UTF-8");

    const auto agenzie = ApriArchivioAccess(FileDemo("AgenzieAbituali"))->LeggiTabella("AgenzieAbituali");
    ControllaUguale(agenzie, TabellaCsv("AgenzieAbituali", "AgenzieAbituali"));
    EXPECT_EQ(agenzie.righe[1][agenzie.IndiceColonna("Commissione")], Valore::Reale(12.5));
    const auto importi = ApriArchivioAccess(FileDemo("Arrangiamento"))->LeggiTabella("Arrangiamento");
    EXPECT_EQ(importi.righe[2][importi.IndiceColonna("ImportoTotale")], Valore::Valuta(425000));
}

// A moved row's pointer that leads nowhere valid makes the file unreadable;
// the same pointer rewritten as it was reads the table whole, also when the
// table's pages must be found without its usage map. So do a row or a value
// that lies where it cannot, a memo whose chain of long-value rows loops or
// is cut, a memo stored elsewhere than in long-value rows or in one that
// another memo takes too, and a text cut within a run of two bytes a character.
TEST(ArchivioAccess, RigheEValoriDanneggiatiDannoErrore) {
    std::string originale = LeggiFile(FileDemo("Scheda_Cliente", "edited"));
    const PagineJet4 pagine(originale);
    const auto [paginaPuntatore, slot] = pagine.PrimoPuntatore();
    const std::uint32_t proprietario = pagine.Proprietario(paginaPuntatore);
    std::uint32_t altraTabella = 0;
    for (std::uint32_t p = 1; p < pagine.Numero(); ++p)
        if (pagine.Dati(p) && pagine.Proprietario(p) != proprietario) altraTabella = p;
    ASSERT_NE(altraTabella, 0u);
    const std::uint32_t puntatore = pagine.Puntatore(paginaPuntatore, slot);
    const std::uint32_t bersaglio = puntatore >> 8;
    const auto punta = [&](std::uint32_t pagina, std::uint32_t riga) {
        return [=](PagineJet4& p) { p.ScriviPuntatore(paginaPuntatore, slot, pagina << 8 | riga); };
    };
    const auto trova = [](const std::string& byte, const std::string& testo) {
        const std::size_t dove = byte.find("\xFF\xFE" + testo);
        EXPECT_NE(dove, std::string::npos) << testo;
        return dove;
    };
    const std::size_t nota = trova(originale, "Cliente abituale"), altraNota = trova(originale, "Partito in anticipo");
    const std::uint32_t lunghezzaNota = 37;
    std::string camere = LeggiFile(FileDemo("NumeriCamere", "edited"));
    const std::size_t camera101 = trova(camere, "101");
    const auto paginaCamere = static_cast<std::uint32_t>(camera101 / 4096);
    const std::uint32_t ultimaCamera = PagineJet4(camere).Righe(paginaCamere) - 1;

    const struct {
        const char* caso;
        bool leggibile;
        std::function<void(PagineJet4&)> ritocco;
        const char* tabella = "Scheda_Cliente";  // and its file
    } casi[] = {
        {"intatto", true, punta(bersaglio, puntatore & 0xff)},
        {"pagina oltre il file", false, punta(pagine.Numero() + 5, 0)},
        {"pagina di un'altra tabella", false, punta(altraTabella, 0)},
        {"riga che non esiste", false, punta(bersaglio, pagine.Righe(bersaglio))},
        {"se stesso", false, punta(paginaPuntatore, slot)},
        {"riga al suo posto", false, punta(bersaglio, pagine.RigaViva(bersaglio))},
        {"due puntatori alla stessa riga", false,
         [&](PagineJet4& p) {
             const auto [pagina, riga] = p.SecondoPuntatore();
             p.ScriviPuntatore(pagina, riga, puntatore);
         }},
        {"mappa delle pagine sconosciuta", true, [&](PagineJet4& p) { p.MappaSconosciuta(proprietario); }},
        {"memo in una catena chiusa", false, [&](PagineJet4& p) { p.MemoInCatenaChiusa(nota); }},
        {"memo in una catena intera", true, [&](PagineJet4& p) { p.MemoInCatena(nota, 20, true); }},
        {"memo in una catena interrotta", false, [&](PagineJet4& p) { p.MemoInCatena(nota, 20, false); }},
        {"memo su una pagina di dati", false,
         [&](PagineJet4& p) { p.MemoInUnaRiga(nota, paginaPuntatore, 0, lunghezzaNota); }},
        {"memo sulla pagina della definizione", false,
         [&](PagineJet4& p) { p.MemoInUnaRiga(nota, proprietario, 0, lunghezzaNota); }},
        {"due memo su una riga", false,
         [&](PagineJet4& p) {
             const std::uint32_t pagina = p.AggiungiPaginaValoriLunghi({originale.substr(nota, lunghezzaNota)});
             p.MemoInUnaRiga(nota, pagina, 0, lunghezzaNota);
             p.MemoInUnaRiga(altraNota, pagina, 0, lunghezzaNota);
         }},
        {"testo con un byte dispari", false,
         // "Bianchi \0iovanni": after the 00, "iovanni" at two bytes a character.
         [&](PagineJet4& p) { p.ScriviByte(trova(originale, "Bianchi Giovanni") + 10, '\0'); }},
        {"valore oltre la riga", false, [&](PagineJet4& p) { p.ScriviScostamento(camera101, 0xFFFF); },
         "NumeriCamere"},
        {"riga nell'intestazione della pagina", false,
         [&](PagineJet4& p) { p.ScriviInizioRiga(paginaCamere, ultimaCamera, 2); }, "NumeriCamere"},
        {"riga fra gli slot", false, [&](PagineJet4& p) { p.ScriviInizioRiga(paginaCamere, ultimaCamera, 20); },
         "NumeriCamere"},
    };
    CartellaTemporanea cartella;
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.caso);
        std::string danneggiato = LeggiFile(FileDemo(caso.tabella, "edited"));
        PagineJet4 pagineDanneggiate(danneggiato);
        caso.ritocco(pagineDanneggiate);
        const auto percorso = cartella.Percorso() / (std::string(caso.caso) + ".mdb");
        Scrivi(percorso, danneggiato);
        const auto leggi = [&] { return ApriArchivioAccess(percorso.string())->LeggiTabella(caso.tabella); };
        if (caso.leggibile)
            ControllaUguale(leggi(), TabellaCsv(caso.tabella, caso.tabella, "edited"));
        else
            EXPECT_EQ(NumeroErroreDi([&] { leggi(); }), NumeroErrore::FormatoNonRiconosciuto);
    }
}

// Values as the file holds them: dates of the whole range Access allows,
// with the time of day, before 1899 as Access counts them (the day back
// from 30/12/1899, the time forward from midnight), a time alone on that
// day; a text with a run of two bytes a character; binary data and OLE
// objects as their bytes. A date out of Access's range is a damaged file.
TEST(ArchivioAccess, ValoriComeLiTieneIlFile) {
    const std::string originale = LeggiFile(FileDemo("Scheda_Cliente"));
    const auto byteDi = [](double giorni) { return std::string(reinterpret_cast<const char*>(&giorni), 8); };
    const std::size_t nascita = originale.find(byteDi(18280));  // Bianchi Giovanni's, 17/01/1950
    const std::size_t nome = originale.find("\xFF\xFE" "Bianchi Giovanni");
    ASSERT_NE(nascita, std::string::npos);
    ASSERT_NE(nome, std::string::npos);
    const auto data = [&](double giorni) {
        return [=](std::string& file) { file.replace(nascita, 8, byteDi(giorni)); };
    };
    const auto tipo = [&](const char* colonna, char codice) {
        return [=](std::string& file) {
            PagineJet4 pagine(file);
            pagine.ScriviTipoColonna(pagine.Proprietario(static_cast<std::uint32_t>(nome / 4096)), colonna, codice);
        };
    };
    const struct {
        const char* colonna;
        std::function<void(std::string&)> ritocco;
        std::optional<Valore> atteso;  // none: Errore 3343
    } casi[] = {
        {"DataNascita", data(18280.75), Valore::Data("1950-01-17 18:00:00")},
        {"DataNascita", data(18280.9999999), Valore::Data("1950-01-18 00:00:00")},
        {"DataNascita", data(0.5), Valore::Data("1899-12-30 12:00:00")},
        {"DataNascita", data(-0.5), Valore::Data("1899-12-30 12:00:00")},
        {"DataNascita", data(-1.25), Valore::Data("1899-12-29 06:00:00")},
        {"DataNascita", data(-669 - 14.0 / 24), Valore::Data("1898-03-01 14:00:00")},
        {"DataNascita", data(-462967 - 9.5 / 24), Valore::Data("0632-06-08 09:30:00")},
        {"DataNascita", data(-657434), Valore::Data("0100-01-01 00:00:00")},
        {"DataNascita", data(2958465 + 86399.0 / 86400), Valore::Data("9999-12-31 23:59:59")},
        {"DataNascita", data(-657435), std::nullopt},
        {"DataNascita", data(2958466), std::nullopt},
        {"DataNascita", data(std::nan("")), std::nullopt},
        // "Bianchi " 00 AC 20 00 "vann": a euro sign between two runs of one byte a character.
        {"NomeCliente", [&](std::string& file) { file.replace(nome + 10, 8, "\0\xAC\x20\0vann", 8); },
         Valore::Testo("Bianchi \x80vann")},
        {"LuogoNascita", tipo("LuogoNascita", 0x09), Valore::Binario("\xFF\xFE" "Milano")},
        {"Note", tipo("Note", 0x0b), Valore::Binario("\xFF\xFE" "Cliente abituale, lunga permanenza.")},
    };
    CartellaTemporanea cartella;
    const auto percorso = cartella.Percorso() / "Scheda_Cliente.mdb";
    for (const auto& caso : casi) {
        SCOPED_TRACE(std::string(caso.colonna) + " " + std::to_string(&caso - casi));
        std::string file = originale;
        caso.ritocco(file);
        Scrivi(percorso, file);
        const auto leggi = [&] { return ApriArchivioAccess(percorso.string())->LeggiTabella("Scheda_Cliente"); };
        if (!caso.atteso) {
            EXPECT_EQ(NumeroErroreDi([&] { leggi(); }), NumeroErrore::FormatoNonRiconosciuto);
            continue;
        }
        const Tabella letta = leggi();
        EXPECT_EQ(letta.righe.at(2).at(letta.IndiceColonna(caso.colonna)), *caso.atteso);
    }
}

// A file made to take far more memory than it holds: a thousand copies of a
// page whose memos all lead to one long-value row of 4 KB (a memo text each
// time it is read), the declared row count 2^32 - 1 or the rows the pages
// hold. Read within an address space of 16 times its size, it is Errore 3343.
TEST(ArchivioAccess, FileGonfiatoErroreEntroLaMemoria) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer takes an address space without limits";
#endif
    const std::string originale = LeggiFile(FileDemo("Scheda_Cliente"));
    const Tabella sorgente = TabellaCsv("Scheda_Cliente", "Scheda_Cliente");
    constexpr std::uint32_t kCopie = 1000, kLunghezza = 4000;
    CartellaTemporanea cartella;
    for (const std::uint32_t righe : {0xFFFFFFFFu, 44 + 37 * kCopie}) {
        SCOPED_TRACE(righe);
        std::string file = originale;
        PagineJet4 pagine(file);
        const std::uint32_t lunga = pagine.AggiungiPaginaValoriLunghi({"\xFF\xFE" + std::string(kLunghezza - 2, 'x')});
        std::size_t nota = 0;
        for (const auto* valore : ValoriColonna(sorgente, "Note")) {
            if (valore->IsNull()) continue;
            nota = file.find("\xFF\xFE" + valore->Testo());
            pagine.MemoInUnaRiga(nota, lunga, 0, kLunghezza);
        }
        const auto pagina = static_cast<std::uint32_t>(nota / 4096);
        pagine.CopiaPagina(pagina, kCopie);
        pagine.MappaSconosciuta(pagine.Proprietario(pagina));
        pagine.ScriviRigheDichiarate(pagine.Proprietario(pagina), righe);
        const auto percorso = cartella.Percorso() / "Scheda_Cliente.mdb";
        Scrivi(percorso, file);
        const auto [esito, errori] = EseguiConErrori("ulimit -v " + std::to_string(16 * file.size() / 1024) + " && " +
                                                     BROVATO5_ESEGUIBILE + " leggi '" + percorso.string() +
                                                     "' Scheda_Cliente");
        EXPECT_EQ(esito, 1);
        EXPECT_EQ(errori.rfind("Errore 3343: ", 0), 0u) << errori;
    }
}

// A table deleted in Access leaves its catalog entry flagged deleted: the
// file lists and reads the tables it still has.
TEST(ArchivioAccess, TabellaCancellataNonElencata) {
    std::string file = LeggiFile(FileDemo("Stampanti"));
    const std::string nome = {'S', 0, 'e', 0, 't', 0, 'S', 0, 't', 0, 'a', 0, 'm', 0, 'p', 0, 'a', 0};
    ASSERT_NE(file.find(nome), std::string::npos);
    PagineJet4(file).CancellaRiga(file.find(nome));
    CartellaTemporanea cartella;
    const auto percorso = cartella.Percorso() / "Stampanti.mdb";
    Scrivi(percorso, file);
    const auto archivio = ApriArchivioAccess(percorso.string());
    EXPECT_EQ(archivio->NomiTabelle(), std::vector<std::string>{"Stampanti"});
    ControllaUguale(archivio->LeggiTabella("Stampanti"), TabellaCsv("Stampanti", "Stampanti"));
    EXPECT_EQ(NumeroErroreDi([&] { archivio->LeggiTabella("SetStampa"); }), NumeroErrore::TabellaNonTrovata);
}

// Another workstation writing the file while it is read: a reading during
// which the file changed is made again once it keeps still; a file that
// changes through every reading for about a second is in use, also when the
// readings fail meanwhile, never unrecognised.
TEST(ArchivioAccess, FileCheCambiaDuranteLaLettura) {
    CartellaTemporanea cartella;
    const std::string lettoreVero = (fs::path(BROVATO5_ESEGUIBILE).parent_path() / "brovato5-mdb").string();
    const auto stampanti = TabellaCsv("Stampanti", "Stampanti");
    // Before each reading of a table the reader runs `prima` on the file ($2,
    // the reader's own name for the file it is handed; its marks beside the
    // reader, $0): a page added at the end changes it and leaves it readable.
    const std::string aggiungiPagina = "head -c 4096 /dev/zero >> \"$2\"";
    const struct {
        const char* caso;
        std::string prima;
        int errore;
    } casi[] = {
        {"cambia una volta", "[ -e \"$0.fatto\" ] || { touch \"$0.fatto\"; " + aggiungiPagina + "; exit 3; }", 0},
        {"cambia sempre", aggiungiPagina, NumeroErrore::FileInUso},
        {"cambia sempre e non si legge", aggiungiPagina + "; exit 3", NumeroErrore::FileInUso},
    };
    // The cases run side by side: each of those in use takes its second.
    std::vector<std::future<std::pair<int, Tabella>>> letture;
    for (const auto& caso : casi) {
        const auto file = cartella.Percorso() / (std::string(caso.caso) + ".mdb");
        Scrivi(file, LeggiFile(FileDemo("Stampanti")));
        const auto lettore = cartella.Percorso() / caso.caso;
        Scrivi(lettore, "#!/bin/sh\nif [ \"$1\" = tabella ]; then " + caso.prima + "; fi\nexec '" + lettoreVero +
                            "' \"$@\"\n", true);
        letture.push_back(std::async(std::launch::async, [file, lettore] {
            Tabella letta;
            const int errore = NumeroErroreDi(
                [&] { letta = ApriArchivioAccess(file.string(), lettore.string(), 10s)->LeggiTabella("Stampanti"); });
            return std::pair{errore, letta};
        }));
    }
    const auto inizio = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < letture.size(); ++i) {
        SCOPED_TRACE(casi[i].caso);
        const auto [errore, letta] = letture[i].get();
        EXPECT_EQ(errore, casi[i].errore);
        if (casi[i].errore == 0) ControllaUguale(letta, stampanti);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - inizio, 5s);
}

// A reading of some columns gives those the table has, in its order, with
// the values of the whole reading; without any name, every column.
TEST(ArchivioAccess, SoloLeColonneChieste) {
    struct Caso {
        std::vector<std::string> chieste;
        std::vector<std::string> date;
    };
    const std::vector<Caso> casi = {
        {{"note", "NUMEROCAMERA", "NomeCliente"}, {"NomeCliente", "NumeroCamera", "Note"}},
        {{"DataArrivo", "NonEsiste"}, {"DataArrivo"}},
        {{"NonEsiste"}, {}},
    };
    for (const char* insieme : {"demo", "edited"}) {
        const auto archivio = ApriArchivioAccess(FileDemo("Scheda_Cliente", insieme));
        const Tabella intera = archivio->LeggiTabella("Scheda_Cliente");
        EXPECT_EQ(archivio->LeggiColonne("Scheda_Cliente", Proiezione::Di({})).colonne, intera.colonne);
        for (const auto& caso : casi) {
            SCOPED_TRACE(std::string(insieme) + " " + caso.chieste.front());
            const Tabella letta = archivio->LeggiColonne("Scheda_Cliente", Proiezione::Di(caso.chieste));
            std::vector<std::string> nomi;
            for (const auto& colonna : letta.colonne) nomi.push_back(colonna.nome);
            EXPECT_EQ(nomi, caso.date);
            ASSERT_EQ(letta.righe.size(), intera.righe.size());
            for (const auto& nome : caso.date) {
                const auto valori = ValoriColonna(letta, nome), attesi = ValoriColonna(intera, nome);
                EXPECT_TRUE(std::ranges::equal(valori, attesi, [](auto a, auto b) { return *a == *b; })) << nome;
            }
        }
    }
}

// A reading expected at the opening is made by the run that lists the tables:
// it serves the first request it covers, once; a request it does not cover,
// a table the file lacks and a reader that cannot make both at once cost a
// run of their own, with what they give without it.
TEST(ArchivioAccess, LetturaAttesaFattaConLApertura) {
    CartellaTemporanea cartella;
    const std::string lettoreVero = (fs::path(BROVATO5_ESEGUIBILE).parent_path() / "brovato5-mdb").string();
    const auto registro = cartella.Percorso() / "esecuzioni";
    const auto lettore = [&](const std::string& nome, const std::string& prima) {
        const auto percorso = cartella.Percorso() / nome;
        Scrivi(percorso, "#!/bin/sh\necho \"$1\" >> '" + registro.string() + "'\n" + prima + "\nexec '" +
                             lettoreVero + "' \"$@\"\n", true);
        return percorso.string();
    };
    const auto Esecuzioni = [&] {
        const std::string righe = LeggiFile(registro);
        return static_cast<std::size_t>(std::count(righe.begin(), righe.end(), '\n'));
    };
    const std::string normale = lettore("normale", "");
    const std::string soloElenco = lettore("soloElenco", "[ \"$1\" = tabelle ] && [ $# -gt 2 ] && exit 3");
    const auto campi = Proiezione::Di({"Codice", "RagioneSociale"});
    const auto attese = TabellaCsv("AgenzieAbituali", "AgenzieAbituali");
    const auto colonna = [](const Tabella& tabella, const std::string& nome) {
        std::vector<Valore> valori;
        for (const auto* valore : ValoriColonna(tabella, nome)) valori.push_back(*valore);
        return valori;
    };
    const struct {
        const char* caso;
        std::string programma;
        LetturaAttesa attesa;
        Proiezione chiesta;
        std::size_t esecuzioni;
    } casi[] = {
        {"coperta", normale, {"agenzieabituali", campi}, Proiezione::Di({"codice"}), 1},
        {"non coperta", normale, {"AgenzieAbituali", campi}, Proiezione::Di({"Codice", "Indirizzo"}), 2},
        {"tabella mancante", normale, {"Nessuna", campi}, campi, 2},
        {"lettore senza lettura con l'elenco", soloElenco, {"AgenzieAbituali", campi}, campi, 3},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.caso);
        fs::remove(registro);
        const auto archivio = ApriArchivioAccess(FileDemo("AgenzieAbituali"), caso.programma, 10s, caso.attesa);
        EXPECT_EQ(archivio->NomiTabelle(), std::vector<std::string>{"AgenzieAbituali"});
        const Tabella letta = archivio->LeggiColonne("AgenzieAbituali", caso.chiesta);
        EXPECT_EQ(colonna(letta, "Codice"), colonna(attese, "Codice"));
        EXPECT_EQ(Esecuzioni(), caso.esecuzioni);
        // Taken once: the next request reads again.
        EXPECT_EQ(colonna(archivio->LeggiColonne("AgenzieAbituali", caso.chiesta), "Codice"), colonna(attese, "Codice"));
        EXPECT_EQ(Esecuzioni(), caso.esecuzioni + 1);
    }
    const auto archivio = ApriArchivioAccess(FileDemo("AgenzieAbituali"), normale, 10s, LetturaAttesa{"Nessuna", campi});
    EXPECT_EQ(NumeroErroreDi([&] { archivio->LeggiColonne("Nessuna", campi); }), NumeroErrore::TabellaNonTrovata);

    // The tables a session has listed are not listed again while the file is
    // unchanged; another session lists them anew.
    const auto file = FileDelTest(FileDemo("AgenzieAbituali"));
    auto sessione = std::make_shared<SessioneArchivio>();
    fs::remove(registro);
    for (int apertura = 0; apertura < 2; ++apertura) ApriArchivioAccess(file, sessione, normale, 10s);
    ApriArchivioAccess(file, std::make_shared<SessioneArchivio>(), normale, 10s);
    EXPECT_EQ(Esecuzioni(), 2u);
}

// A stalled reader, at the opening or at a table's reading, is killed as soon
// as its job is asked to stop, however long its time limit: the caller gets
// LetturaArrestata at once and no process is left, not even a zombie.
TEST(ArchivioAccess, LettoreFermoUccisoAllaRichiestaDiArresto) {
    CartellaTemporanea cartella;
    const std::string file = FileDemo("Stampanti");
    const auto segnaPid = "echo $$ > '" + (cartella.Percorso() / "pid").string() + "'; exec sleep 60";
    const std::string elenco = "printf 'brovato5-mdb 1\\ntabelle 1\\n9:Stampanti\\nfine\\n'";
    const struct {
        const char* nome;
        std::string perElenco;
        std::string perTabella;
    } casi[] = {
        {"fermoAllApertura", segnaPid, "exit 1"},
        {"fermoAllaLettura", elenco, segnaPid},
    };
    for (const auto& caso : casi) {
        SCOPED_TRACE(caso.nome);
        const auto lettore = cartella.Percorso() / caso.nome;
        Scrivi(lettore, "#!/bin/sh\nif [ \"$1\" = tabelle ]; then " + caso.perElenco + "; exit 0; fi\n" +
                            caso.perTabella + "\n", true);
        fs::remove(cartella.Percorso() / "pid");
        std::stop_source arresto;
        const RichiestaArresto richiesta(arresto.get_token());
        const auto leggi = [&] {
            ApriArchivioAccess(FileDelPercorso(file), std::make_shared<SessioneArchivio>(), lettore.string(), 60s,
                               std::nullopt, &richiesta)
                ->LeggiColonne("Stampanti", {}, &richiesta);
        };
        auto lettura = std::async(std::launch::async, leggi);
        ASSERT_EQ(lettura.wait_for(300ms), std::future_status::timeout);
        const auto inizio = std::chrono::steady_clock::now();
        arresto.request_stop();
        ASSERT_EQ(lettura.wait_for(2s), std::future_status::ready);
        EXPECT_THROW(lettura.get(), LetturaArrestata);
        EXPECT_LT(std::chrono::steady_clock::now() - inizio, 2s);
        std::ifstream letto(cartella.Percorso() / "pid");
        pid_t pid = 0;
        ASSERT_TRUE(letto >> pid);
        EXPECT_NE(kill(pid, 0), 0);
    }
}

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "support/Supporto.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The SMTP server of tests/support/ServerSmtp.py on a free port of the
// loopback address, stopped at the end of the test. Debian's interpreter runs
// it: python3-aiosmtpd is installed for that one.
class ServerSmtp {
public:
    ServerSmtp() {
        const std::string script = (CartellaDatiTest().parent_path() / "support" / "ServerSmtp.py").string();
        std::string python = "/usr/bin/python3", cartella = cartella_.Percorso().string();
        char* argv[] = {python.data(), const_cast<char*>(script.c_str()), cartella.data(), nullptr};
        if (posix_spawn(&pid_, python.c_str(), nullptr, nullptr, argv, environ) != 0)
            throw std::runtime_error("impossibile avviare " + python);
        const fs::path porta = cartella_.Percorso() / "porta";
        for (int attese = 0; !fs::exists(porta); ++attese) {
            if (attese == 200 || waitpid(pid_, nullptr, WNOHANG) != 0) {
                Ferma();
                throw std::runtime_error("il server SMTP di prova non parte (manca python3-aiosmtpd?)");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        porta_ = LeggiFile(porta);
    }
    ~ServerSmtp() { Ferma(); }
    ServerSmtp(const ServerSmtp&) = delete;
    ServerSmtp& operator=(const ServerSmtp&) = delete;

    const std::string& Porta() const { return porta_; }

    // The n-th message received as the server saved it; "" when there is none.
    std::string Messaggio(int n) const {
        const fs::path file = cartella_.Percorso() / ("messaggio-" + std::to_string(n) + ".txt");
        return fs::exists(file) ? LeggiFile(file) : "";
    }

private:
    void Ferma() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

    CartellaTemporanea cartella_;
    pid_t pid_ = 0;
    std::string porta_;
};

// Runs the mailer in the current folder; its exit status and what it wrote on stderr.
std::pair<int, std::string> Brovinvio() {
    return EseguiConErrori((fs::path(BROVATO5_ESEGUIBILE).parent_path() / "brovinvio").string());
}

std::string Impostazioni(const ServerSmtp& server, const std::string& sicurezza, const std::string& destinatari) {
    return "# server di prova\r\nserver = 127.0.0.1\r\nporta = " + server.Porta() + "\r\nsicurezza = " + sicurezza +
           "\r\nmittente = tableau@prova.it\r\ndestinatari = " + destinatari + "\r\noggetto = Tableau città\r\n";
}

// The preview's mail file, Windows-1252: accents, a line of the report with a
// blank at its end, a line beginning with a point.
const std::string RigaLunga = std::string(131, 'x') + " ";
const std::string FileMail = "OGGETTO\r\nCamera 101 caff\xE8\r\n" + RigaLunga + "\r\n.\r\n";

class BrovinvioSmtp : public testing::Test {
protected:
    CartellaTemporanea cartella_{true};
    VariabileAmbiente postazione_{"PCLocal", "3"};
    // No desktop: the mailer tells its outcome on stderr only.
    VariabileAmbiente display_{"DISPLAY", nullptr};
    VariabileAmbiente wayland_{"WAYLAND_DISPLAY", nullptr};
    ServerSmtp server_;
};

}  // namespace

TEST_F(BrovinvioSmtp, ConsegnaIlTestoAlServerSmtp) {
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it, b@prova.it"));
    ScriviFile("e-mail3.txt", FileMail);
    EXPECT_EQ(Brovinvio(), std::make_pair(0, std::string()));
    EXPECT_EQ(server_.Messaggio(1), "tableau@prova.it\na@prova.it, b@prova.it\nTableau città\n"
                                    "Camera 101 caffè\r\n" + RigaLunga + "\r\n.\r\n");
    EXPECT_EQ(LeggiFile("e-mail3.txt"), FileMail);
}

TEST_F(BrovinvioSmtp, UnInvioFallitoTieneIlFileMail) {
    ScriviFile("PostaElettronica.txt", Impostazioni(server_, "nessuna", "a@prova.it"));
    const auto senzaFile = Brovinvio();
    EXPECT_EQ(senzaFile.first, 1);
    EXPECT_NE(senzaFile.second.find("manca il file e-mail3.txt"), std::string::npos) << senzaFile.second;

    ScriviFile("e-mail3.txt", FileMail);
    for (const auto& [impostazioni, motivo] : std::vector<std::pair<std::string, std::string>>{
             {Impostazioni(server_, "nessuna", "a@prova.it, rifiutato@prova.it"), "550"},
             {Impostazioni(server_, "starttls", "a@prova.it"), "STARTTLS"},
             {Impostazioni(server_, "nessuna", "a@prova.it") + "porta = 25\r\n", "porta"}}) {
        ScriviFile("PostaElettronica.txt", impostazioni);
        const auto esito = Brovinvio();
        EXPECT_EQ(esito.first, 1);
        EXPECT_NE(esito.second.find(motivo), std::string::npos) << esito.second;
    }
    EXPECT_EQ(server_.Messaggio(1), "");
    EXPECT_EQ(LeggiFile("e-mail3.txt"), FileMail);
}

TEST(Brovinvio, SenzaImpostazioniApreIlProgrammaDiPosta) {
    CartellaTemporanea cartella(true);
    VariabileAmbiente postazione("PCLocal", nullptr);
    // A stand-in for the desktop's xdg-email that records its arguments.
    ScriviFile("xdg-email", "#!/bin/sh\nprintf '%s|' \"$@\" > argomenti.txt\n");
    fs::permissions("xdg-email", fs::perms::owner_all);
    VariabileAmbiente path("PATH", (fs::current_path().string() + ":" + std::getenv("PATH")).c_str());
    ScriviFile("e-mail.txt", "OGGETTO\r\nCamera 101 caff\xE8\r\n");
    EXPECT_EQ(Brovinvio().first, 0);
    EXPECT_EQ(LeggiFile("argomenti.txt"), "--utf8|--subject|Tableau settimanale|--body|Camera 101 caffè\n|");
}

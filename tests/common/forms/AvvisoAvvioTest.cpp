#include <QDialog>
#include <QDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "common/forms/Aspetto.h"
#include "common/forms/AvvisoAvvio.h"
#include "support/ProveForms.h"
#include "support/Supporto.h"

namespace fs = std::filesystem;

namespace {

// The socket an instance that ended without removing it leaves behind: bound, no longer listened on.
void SocketAbbandonato(const fs::path& percorso) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un indirizzo{};
    indirizzo.sun_family = AF_UNIX;
    std::strncpy(indirizzo.sun_path, percorso.c_str(), sizeof indirizzo.sun_path - 1);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&indirizzo), sizeof indirizzo), 0);
    close(fd);
}

}  // namespace

// A new instance tells those running: their windows kept on top step back, so
// that its main window is not hidden behind a preview; the first instance,
// told of nobody, keeps them. The socket of an instance that ended is removed.
TEST(AvvisoAvvio, UnaNuovaIstanzaFaCedereIlPrimoPianoAlleAltre) {
    CartellaTemporanea cartella;
    const fs::path istanze = cartella.Percorso() / "istanze";
    fs::create_directory(istanze);
    SocketAbbandonato(istanze / "finita");
    QDialog anteprima;
    MettiInPrimoPiano(anteprima);
    anteprima.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&anteprima));

    const AvvisoAvvio prima(QString::fromStdString(istanze.string()));
    QTest::qWait(50);
    EXPECT_TRUE(anteprima.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(fs::exists(istanze / "finita"));

    const AvvisoAvvio seconda(QString::fromStdString(istanze.string()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !anteprima.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }, 2000));
    EXPECT_TRUE(anteprima.isVisible());
}

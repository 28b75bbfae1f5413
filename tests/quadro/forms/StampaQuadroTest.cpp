#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include "common/Errore.h"
#include "quadro/JsonSettimana.h"
#include "quadro/forms/DisegnoQuadro.h"
#include "quadro/forms/StampaQuadro.h"
#include "quadro/qt/SettimanaStampata.h"
#include "support/ProveForms.h"
#include "support/SettimanaFatta.h"
#include "support/Supporto.h"

namespace {

Settimana Settimana30Camere() {
    SettimanaFatta s;
    for (int i = 0; i < 30; ++i) s.Camera(std::to_string(100 + i), i % 2 ? "DBL" : "SGL", i / 10 + 1, i == 7);
    Partita caffe = Ospiti("CAFF\xC8 \"LINO\"", 70001, "20261205", "20261209");
    caffe.agenzia = "Citt\xE0";
    s.Soggiorno("101", caffe);
    s.Soggiorno("101", Prenotati("VERDI ANNA", 501, "O", "20261209", "20261220"));
    s.Soggiorno("102", Prenotati("BIANCHI", 502, "C", "20261208", "20261210"), false);
    return s.settimana;
}

}  // namespace

// What is kept at a print reads back as the same week, and a damaged file says so.
TEST(SettimanaStampata, SiRileggeComeFuScritta) {
    const Settimana settimana = Settimana30Camere();
    const SettimanaStampata letta = SettimanaDaJson(JsonSettimana(settimana, "202612071830"), "doc/x.json");
    EXPECT_EQ(letta.stampato, "202612071830");
    EXPECT_TRUE(letta.settimana == settimana);
    EXPECT_EQ(letta.settimana.camere[1].giorni[0].cellaB, settimana.camere[1].giorni[0].cellaB);

    std::string senzaPersone = JsonSettimana(settimana, "202612071830");
    senzaPersone.replace(senzaPersone.find("\"persone\":2,\"agenzia\""), 12, "\"persone\":\"2\",");
    for (const std::string& guasto : {std::string("{\"formato\":1,"), std::string("[]"), std::string("{\"formato\":2}"),
                                      senzaPersone})
        EXPECT_EQ(NumeroErroreDi([&] { SettimanaDaJson(guasto, "doc/x.json"); }),
                  NumeroErrore::FormatoNonRiconosciuto)
            << guasto.substr(0, 40);

    CartellaTemporanea cartella;
    EXPECT_FALSE(LeggiSettimanaStampata(cartella.Dati("2"), settimana));
}

TEST(StampaQuadro, PagineDelPdfEFileInArchivio) {
    const Settimana settimana = Settimana30Camere();
    std::vector<std::size_t> tutte(30);
    for (std::size_t i = 0; i < tutte.size(); ++i) tutte[i] = i;
    VariazioniSettimana variazioni;
    variazioni.stampato = "202612061915";
    for (int i = 0; i < 80; ++i) variazioni.variazioni.push_back({GenereVariazione::Aggiunta, "101", "", "X", "20261207", "20261208", "", ""});
    struct Caso {
        std::vector<std::size_t> righe;
        const VariazioniSettimana* variazioni;
        FormatoCarta formato;
        int pagine;
    };
    // A4 landscape: 22 rooms a page; the box of 80 changes follows the last 8 and runs on to a page of its own.
    for (const Caso& caso : std::vector<Caso>{{tutte, nullptr, FormatoCarta::A4, 2},
                                              {{1, 2, 3}, nullptr, FormatoCarta::A3, 1},
                                              {tutte, &variazioni, FormatoCarta::A4, 3},
                                              {{}, nullptr, FormatoCarta::A4, 1}}) {
        const QByteArray pdf = PdfQuadro({settimana, caso.righe, caso.variazioni}, caso.formato);
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_EQ(pdf.count("/Type /Page\n"), caso.pagine) << caso.righe.size();
        EXPECT_NE(pdf.indexOf(caso.formato == FormatoCarta::A3 ? "/MediaBox [0 0 1191" : "/MediaBox [0 0 842"), -1);
    }

    CartellaTemporanea cartella;
    EXPECT_EQ(SalvaPdfQuadro(cartella.Dati("4"), "%PDF-1.4 prova", Ora(7, 12, 2026, 18, 5)), "doc/quadro4202612071805.pdf");
    EXPECT_EQ(LeggiFile(cartella.Percorso() / "doc" / "quadro4202612071805.pdf"), "%PDF-1.4 prova");
}

// The corner of a changed cell is vermillion whatever the painter was left
// filling with: only its outline is drawn over it.
TEST(DisegnoQuadro, AngoloDellaVariazioneColorato) {
    CameraSettimana camera;
    camera.numero = "101";
    QImage immagine(700, 40, QImage::Format_RGB32);
    QPainter pittore(&immagine);
    pittore.setBrush(Qt::white);
    SegniRiga segni;
    segni.variate[0] = true;
    DisegnaRigaCamera(pittore, camera, {}, QRectF(0, 0, 700, 40), QFont(), segni);
    pittore.end();
    EXPECT_EQ(immagine.pixelColor(97, 3), ColoreVariazione());
    EXPECT_EQ(immagine.pixelColor(50, 20), QColor(Qt::white));
}

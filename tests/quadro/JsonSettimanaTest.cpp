#include <gtest/gtest.h>

#include "quadro/JsonSettimana.h"
#include "support/SettimanaFatta.h"
#include "support/Supporto.h"

namespace {

Settimana UnaCamera() {
    SettimanaFatta s;
    s.Camera("101", "DBL", 1);
    Partita ospiti = Ospiti("Caff\xE8 \"Da \\ Lino\"\x01", 70001, "20261205", "20261208");
    ospiti.agenzia = "Sole";
    s.Soggiorno("101", ospiti);
    s.Camera("102", "SGL", std::nullopt, true);
    return s.settimana;
}

}  // namespace

TEST(JsonSettimana, OgniCampoInUtf8) {
    const std::string json = JsonSettimana(UnaCamera(), "202612071830");
    for (const char* atteso : {
             "{\"formato\":1,\"hotel\":1,\"nomeHotel\":\"Hotel Prova\",\"tableau\":1,\"descrizioneTableau\":\"Camere\","
             "\"primaCamera\":\"\",\"ultimaCamera\":\"\",\"aggiornato\":\"202612070830\",\"stampato\":\"202612071830\","
             "\"giorni\":[{\"data\":\"20261207\",\"giornoMese\":\"07/12\",\"nome\":0,\"nomeGiorno\":\"Luned\u00ec\","
             "\"totali\":{\"arrivi\":0,\"partenze\":0,\"fermate\":1,\"occupate\":1,\"libere\":0,\"fuoriServizio\":1,"
             "\"persone\":2,\"occupazione\":100.00}}",
             "\"camere\":[\n{\"numero\":\"101\",\"tipo\":\"DBL\",\"piano\":1,\"fuoriServizio\":false,\"giorni\":["
             "{\"cellaA\":\"Caff\u00e8 \\\"D F 05- 08\",\"cellaB\":\"Sole     C  2\u2502 85\",\"partite\":[{"
             "\"genere\":\"ospite\",\"nome\":\"Caff\u00e8 \\\"Da \\\\ Lino\\\"\\u0001\",\"arrivo\":\"20261205\","
             "\"partenza\":\"20261208\",\"momento\":\"soggiorno\",\"persone\":2,\"agenzia\":\"Sole\","
             "\"pagamento\":\"C\",\"importo\":85,\"numero\":70001,\"tipoPrenotazione\":\"\",\"mostrata\":true}]}",
             "{\"cellaA\":\"                 \",\"cellaB\":\"                 \",\"partite\":[{\"genere\":\"ospite\"",
             "\"momento\":\"partenza\"",
             ",\n{\"numero\":\"102\",\"tipo\":\"SGL\",\"piano\":null,\"fuoriServizio\":true,",
             "\"totali\":{\"arrivi\":0,\"partenze\":1,\"fermate\":1,\"occupate\":1,\"libere\":6,\"fuoriServizio\":7,"
             "\"persone\":2,\"occupazione\":14.29},\"camere\"",
         })
        EXPECT_NE(json.find(atteso), std::string::npos) << atteso << "\n" << json;
    EXPECT_TRUE(json.ends_with("]}]}\n"));

    // What a script reads of it.
    CartellaTemporanea cartella;
    const auto file = cartella.Percorso() / "settimana.json";
    ScriviFile(file, json);
    const auto [stato, errori] = EseguiConErrori(
        "python3 -c \"import json,sys; d=json.load(open(sys.argv[1], encoding='utf-8')); "
        "assert d['camere'][0]['giorni'][0]['partite'][0]['nome'] == 'Caff\\u00e8 \\\"Da \\\\\\\\ Lino\\\"\\x01'; "
        "assert d['camere'][1]['piano'] is None\" " + file.string());
    EXPECT_EQ(stato, 0) << errori;
}

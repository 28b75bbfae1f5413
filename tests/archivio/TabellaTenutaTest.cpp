#include <gtest/gtest.h>

#include <string>

#include "archivio/UscitaMdb.h"

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>

// Built with the address checker: a table kept to the program's end, as the
// builder keeps its tables, leaks none of its texts too long to live inside
// their values.
TEST(TabellaTenuta, FinoAllaFineNonPerdeITesti) {
    const std::string testo = "un testo troppo lungo per stare nel valore";
    std::string uscita = "brovato5-mdb 1\ntabella 1:G\ncolonne 1\nT 1:T\nrighe 5000\n";
    for (int i = 0; i < 5000; ++i) uscita += "R\nT" + std::to_string(testo.size()) + ":" + testo + "\n";
    static const auto* tenuta = new Tabella(DecodificaTabella(uscita + "fine 5000\n"));
    ASSERT_EQ(tenuta->righe.size(), 5000u);
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
}
#endif

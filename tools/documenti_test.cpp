// The authors' reference and the one table of error codes never drift apart.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/codici_errore.h"
#include "prove/comando.h"

TEST(Documenti, OgniCodiceConLaSuaDescrizioneCausaERimedio) {
  const std::string testo = leggi_tutto(std::filesystem::path(CARTELLA_DOCUMENTI) / "codici_errore.md");
  ASSERT_FALSE(testo.empty());
  // Each code is a heading "### CODE: DESCRIPTION" followed by its cause and remedy.
  const std::regex titolo(R"(^### (\d+): (.*)$)");
  struct voce_documento { int32_t codice; std::string descrizione, corpo; };
  std::vector<voce_documento> voci;
  std::istringstream righe(testo);
  for (std::string riga; std::getline(righe, riga);) {
    std::smatch m;
    if (std::regex_match(riga, m, titolo)) voci.push_back({std::stoi(m[1]), m[2], ""});
    else if (!voci.empty()) voci.back().corpo += riga + "\n";
  }
  const auto tabella = tabella_errori();
  ASSERT_EQ(voci.size(), tabella.size()) << "every code of the table, and no other, is documented";
  for (std::size_t i = 0; i < voci.size(); ++i) {
    EXPECT_EQ(voci[i].codice, tabella[i].codice) << "in the table's order, at heading " << i;
    EXPECT_EQ(voci[i].descrizione, tabella[i].descrizione) << "code " << voci[i].codice;
    EXPECT_NE(voci[i].corpo.find("**Cause.**"), std::string::npos) << "code " << voci[i].codice;
    EXPECT_NE(voci[i].corpo.find("**What to do.**"), std::string::npos) << "code " << voci[i].codice;
  }
}

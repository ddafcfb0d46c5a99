// The authors' reference and the one table of warning codes never drift apart.
#include "compiler/codici_avviso.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

TEST(CodiciAvviso, TabellaInOrdineConDescrizioni) {
  int32_t prima = 300;
  for (const voce_avviso& v : tabella_avvisi()) {
    EXPECT_GT(v.codice, prima) << "ascending, from 301";
    EXPECT_FALSE(v.descrizione.empty()) << v.codice;
    EXPECT_EQ(descrizione_avviso(v.codice), v.descrizione);
    prima = v.codice;
  }
  EXPECT_TRUE(descrizione_avviso(300).empty());
}

TEST(CodiciAvviso, OgniCodiceDocumentatoConCausaERimedio) {
  std::ifstream in(std::filesystem::path(CARTELLA_DOCUMENTI) / "codici_avviso.md");
  std::stringstream testo;
  testo << in.rdbuf();
  ASSERT_FALSE(testo.str().empty());
  // Each code is a heading "### CODE: DESCRIPTION" followed by its cause and remedy.
  const std::regex titolo(R"(^### (\d+): (.*)$)");
  struct voce_documento {
    int32_t codice;
    std::string descrizione, corpo;
  };
  std::vector<voce_documento> voci;
  for (std::string riga; std::getline(testo, riga);) {
    std::smatch m;
    if (std::regex_match(riga, m, titolo)) voci.push_back({std::stoi(m[1]), m[2], ""});
    else if (!voci.empty()) voci.back().corpo += riga + "\n";
  }
  for (std::size_t i = 1; i < voci.size(); ++i)
    EXPECT_LT(voci[i - 1].codice, voci[i].codice) << "in code order, at heading " << i;
  std::string mancanti;
  for (const voce_avviso& v : tabella_avvisi()) {
    const auto d = std::find_if(voci.begin(), voci.end(), [&v](const voce_documento& x) { return x.codice == v.codice; });
    if (d == voci.end()) {
      mancanti += " " + std::to_string(v.codice);
      continue;
    }
    EXPECT_EQ(d->descrizione, v.descrizione) << "code " << v.codice;
    // The weight the tool gives it, as the reference names it.
    EXPECT_NE(d->corpo.find("**Weight.** " + std::string(nome_peso(v.peso)) + ":"), std::string::npos)
        << "code " << v.codice << " weighs " << nome_peso(v.peso);
    EXPECT_NE(d->corpo.find("**Cause.**"), std::string::npos) << "code " << v.codice;
    EXPECT_NE(d->corpo.find("**What to do.**"), std::string::npos) << "code " << v.codice;
  }
  EXPECT_EQ(mancanti, "") << "codes of the table with no entry in docs/codici_avviso.md";
  for (const voce_documento& d : voci)
    EXPECT_FALSE(descrizione_avviso(d.codice).empty()) << "documented code " << d.codice << " is not in the table";
}

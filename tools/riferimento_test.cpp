// The help texts name the reference where it stands: installed, or in the sources.
#include <gtest/gtest.h>

#include "prove/comando.h"
#include "tools/riferimento.h"

namespace fs = std::filesystem;

TEST(Riferimento, IFileDiDocsDiventanoQuelliInstallati) {
  struct caso { const char* testo; const char* atteso; };
  const caso casi[] = {
      {"described in docs/README.md.\n", "described in /usr/share/doc/impacchetta/README.md.\n"},
      {"(see docs/marcia.md); and docs/linea.md)", "(see /usr/share/doc/impacchetta/marcia.md); and /usr/share/doc/impacchetta/linea.md)"},
      // Not a file of the reference: the command, another folder's docs, no .md.
      {"scenario docs/ -o docs/x.txt", "scenario docs/ -o docs/x.txt"},
      {"mydocs/README.md a/docs/README.md", "mydocs/README.md a/docs/README.md"},
      {"docs/.md docs/README.mdx", "docs/.md /usr/share/doc/impacchetta/README.mdx"},
  };
  for (const caso& c : casi) EXPECT_EQ(con_riferimento(c.testo, "/usr/share/doc/impacchetta"), c.atteso) << c.testo;
  EXPECT_EQ(con_riferimento("see docs/marcia.md", ""), "see docs/marcia.md") << "in the sources";
}

TEST(Riferimento, LAiutoDelloStrumentoInstallatoNominaIlSuo) {
  cartella_prova radice;
  const fs::path prefisso = radice.percorso / "prefisso", uscite = radice.percorso / "uscite";
  fs::create_directories(prefisso / "bin");
  fs::create_directories(uscite);
  fs::copy_file(SCENARIO, prefisso / "bin/scenario");
  const fs::path documenti = prefisso / "share/doc/impacchetta";
  auto aiuto = [&](const std::vector<std::string>& a) {
    return esegui_scenario(a, radice.percorso, radice.percorso, uscite, prefisso / "bin/scenario").out;
  };

  // No reference beside it: the sources' docs/.
  EXPECT_NE(aiuto({"--help"}).find("are described in docs/README.md.\n"), std::string::npos);
  fs::create_directories(documenti);
  scrivi_tutto(documenti / "README.md", "the reference");
  EXPECT_NE(aiuto({"--help"}).find("are described in " + (documenti / "README.md").string() + ".\n"), std::string::npos)
      << aiuto({"--help"});
  EXPECT_NE(aiuto({"timing", "--help"}).find((documenti / "marcia.md").string()), std::string::npos);
  EXPECT_EQ(aiuto({"timing", "--help"}).find("docs/"), std::string::npos);
}

// `scenario plot` as the author runs it, and the picture as a browser shows it.
#include <gtest/gtest.h>

#include <signal.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>

#if CON_ZLIB
#include <zlib.h>
#endif

#include "impacchetta/fasi.h"
#include "packer/file_imballati.h"
#include "prove/cartella.h"
#include "prove/comando.h"
#include "prove/disegno.h"
#include "prove/programmi.h"

namespace fs = std::filesystem;

namespace {

class ComandoPlot : public CartelleComando {
 protected:
  // Packs the small scenario of the picture tests into `dir` as P, train `numero`.
  void imballa(const std::string& dir, const std::string& numero, bool con_linea = true) {
    scrivi_tutto(lavoro / "P_linea.txt", linea_una_curva);
    scrivi_tutto(lavoro / "P_12-.txt", treno_due_stazioni);
    std::vector<std::string> a = {"pack", "P_linea.txt", "P_12-.txt", "-o", dir, "--train", numero};
    if (!con_linea) a.push_back("--no-line-plan");
    const risultato_comando r = esegui(a);
    ASSERT_LE(r.stato, 1) << r.err;
  }
  // The built-in scenario, packed by the program's own stages into a directory
  // of its own, drawn by `scenario plot` at the place the README names.
  fs::path disegna_incorporato(const fs::path& dir, risultato_comando& r) {
    fs::create_directories(dir);
    Form1 f;
    nomina_scenario(f);
    esegui_build(f, dir);
    fs::create_directories(CARTELLA_DISEGNO);
    const fs::path svg = fs::path(CARTELLA_DISEGNO) / "Corvana_Telmisa_739.svg";
    r = esegui({"plot", dir.string(), "-o", svg.string()});
    return svg;
  }
};

struct immagine {
  uint32_t larghezza = 0, altezza = 0;
  std::vector<uint32_t> pixel;  // 0xRRGGBB
};

#if CON_ZLIB
uint32_t be32(const std::string& b, std::size_t i) {
  return static_cast<uint32_t>(static_cast<unsigned char>(b[i])) << 24 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[i + 1])) << 16 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[i + 2])) << 8 |
         static_cast<uint32_t>(static_cast<unsigned char>(b[i + 3]));
}

// An 8-bit RGB or RGBA PNG, not interlaced (what the browser writes).
bool leggi_png(const std::string& b, immagine& im, std::string& errore) {
  if (b.size() < 8 || b.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
    errore = "not a PNG";
    return false;
  }
  std::string dati;
  int canali = 0;
  for (std::size_t i = 8; i + 12 <= b.size();) {
    const uint32_t n = be32(b, i);
    const std::string tipo = b.substr(i + 4, 4);
    if (i + 12 + n > b.size()) break;
    if (tipo == "IHDR") {
      im.larghezza = be32(b, i + 8);
      im.altezza = be32(b, i + 12);
      const int profondita = b[i + 16], colore = b[i + 17], interlacciato = b[i + 20];
      canali = colore == 2 ? 3 : colore == 6 ? 4 : 0;
      if (profondita != 8 || canali == 0 || interlacciato != 0) {
        errore = "unexpected PNG format";
        return false;
      }
    } else if (tipo == "IDAT") {
      dati += b.substr(i + 8, n);
    }
    i += 12 + n;
  }
  const std::size_t riga = static_cast<std::size_t>(im.larghezza) * canali;
  std::vector<unsigned char> grezzi((riga + 1) * im.altezza);
  uLongf lunghezza = grezzi.size();
  if (canali == 0 || ::uncompress(grezzi.data(), &lunghezza, reinterpret_cast<const Bytef*>(dati.data()),
                                  dati.size()) != Z_OK ||
      lunghezza != grezzi.size()) {
    errore = "PNG data cannot be inflated";
    return false;
  }
  std::vector<unsigned char> prima(riga, 0), qui(riga);
  im.pixel.clear();
  for (uint32_t y = 0; y < im.altezza; ++y) {
    const unsigned char* r = &grezzi[y * (riga + 1)];
    const int filtro = r[0];
    for (std::size_t x = 0; x < riga; ++x) {
      const int a = x >= static_cast<std::size_t>(canali) ? qui[x - canali] : 0, s = prima[x],
                c = x >= static_cast<std::size_t>(canali) ? prima[x - canali] : 0;
      int p = 0;
      switch (filtro) {
        case 1: p = a; break;
        case 2: p = s; break;
        case 3: p = (a + s) / 2; break;
        case 4: {
          const int q = a + s - c, pa = std::abs(q - a), pb = std::abs(q - s), pc = std::abs(q - c);
          p = pa <= pb && pa <= pc ? a : pb <= pc ? s : c;
          break;
        }
        default: break;
      }
      qui[x] = static_cast<unsigned char>(r[1 + x] + p);
    }
    for (uint32_t x = 0; x < im.larghezza; ++x) {
      const unsigned char* px = &qui[x * canali];
      im.pixel.push_back(static_cast<uint32_t>(px[0]) << 16 | px[1] << 8 | px[2]);
    }
    std::swap(prima, qui);
  }
  return true;
}
#endif

}  // namespace

TEST_F(ComandoPlot, ScenarioIncorporato_DocumentoPiccoloCompleto) {
  risultato_comando r;
  const fs::path svg = disegna_incorporato(radice.percorso / "incorporato", r);
  EXPECT_EQ(r.stato, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  const std::string testo = leggi_tutto(svg);
  EXPECT_LT(testo.size(), 1000000u) << "the built-in scenario's picture must stay under 1 MB";

  std::vector<elemento_xml> elementi;
  std::string errore;
  ASSERT_TRUE(leggi_xml(testo, elementi, errore)) << errore;
  const std::vector<double> box = numeri(elementi[0].attributi["viewBox"]);
  ASSERT_EQ(box.size(), 4u);
  std::multiset<std::string> testi;
  std::size_t polilinee = 0;
  for (const auto& e : elementi) {
    if (e.nome == "text") testi.insert(e.testo);
    if (e.nome != "polyline") continue;
    ++polilinee;
    for (const punto_svg& p : punti_polilinea(e.attributi.at("points")))
      ASSERT_TRUE(p.x >= box[0] && p.x <= box[0] + box[2] && p.y >= box[1] && p.y <= box[1] + box[3])
          << e.attributi.at("class") << " " << p.x << "," << p.y;
  }
  EXPECT_GE(polilinee, 2u);

  // Every station of the packed table, named on the plan and over the profiles.
  scenario letto;
  const std::array<record_stazione, numero_slot>& tabella = letto.tabella_stazioni;
  ASSERT_TRUE(decodifica_stazioni(leggi_tutto(radice.percorso / "incorporato" / "Corvana_Telmisa_739.sim"),
                                  letto, errore));
  int stazioni = 0;
  for (int j = 1; j < slot_cartelli && !tabella[j].nome.empty(); ++j, ++stazioni)
    EXPECT_EQ(testi.count(tabella[j].nome), 2u) << tabella[j].nome;
  EXPECT_EQ(stazioni, 49);
  // Over the profiles the names stand in rows, none over another: a name's
  // width is at least half an em a letter.
  std::map<double, std::vector<std::pair<double, double>>> righe;  // y: (x, width)
  for (const auto& e : elementi)
    if (e.nome == "text" && e.attributi.count("class") && e.attributi.at("class") == "nome stazione")
      righe[std::stod(e.attributi.at("y"))].push_back(
          {std::stod(e.attributi.at("x")), static_cast<double>(e.testo.size()) * 11 * 0.5});
  EXPECT_GE(righe.size(), 2u) << "staggered";
  for (auto& [y, nomi] : righe) {
    std::sort(nomi.begin(), nomi.end());
    for (std::size_t i = 1; i < nomi.size(); ++i)
      EXPECT_GE(nomi[i].first, nomi[i - 1].first + nomi[i - 1].second) << "two names overlap at y " << y;
  }
  EXPECT_EQ(testi.count("Scenario Corvana_Telmisa, train 739"), 1u);
  // The two sections that even the fastest run cannot keep, told beside them.
  EXPECT_EQ(testi.count("MONTEFRUSCO - VIGNALORA: -124 s"), 1u);
  EXPECT_EQ(testi.count("LAGO SPERTINO - ALTOBRUNA: -5 s"), 1u);

  // A browser's XML parser, where the test machine has one.
  const fs::path xmllint = cerca_programma("xmllint");
  if (!xmllint.empty()) {
    EXPECT_EQ(esegui_con_limite({xmllint.string(), "--noout", svg.string()}, uscite / "xmllint.txt", 60), 0)
        << leggi_tutto(uscite / "xmllint.txt");
  }
}

// The picture rendered by headless Chromium. The PNG is left beside the SVG in
// the binary directory, tools/disegno/Corvana_Telmisa_739.png, for a person to look at.
TEST_F(ComandoPlot, ScenarioIncorporato_ChromiumLoDisegna) {
  const fs::path chromium = cerca_programma("chromium");
  if (chromium.empty()) GTEST_SKIP() << "chromium is not installed (scripts/setup prove installs it)";
#if !CON_ZLIB
  GTEST_SKIP() << "zlib is not installed: the rendered PNG cannot be read";
#else
  risultato_comando r;
  const fs::path svg = disegna_incorporato(radice.percorso / "incorporato", r);
  ASSERT_EQ(r.stato, 0) << r.err;
  std::vector<elemento_xml> elementi;
  std::string errore;
  ASSERT_TRUE(leggi_xml(leggi_tutto(svg), elementi, errore)) << errore;
  // The picture's size in whole pixels, the browser's window the same.
  const int w = std::stoi(elementi[0].attributi["width"]);
  const int h = std::stoi(elementi[0].attributi["height"]);

  const fs::path png = svg.parent_path() / "Corvana_Telmisa_739.png";
  fs::remove(png);
  const fs::path profilo = radice.percorso / "profilo";
  fs::create_directory(profilo);
  const int stato = esegui_con_limite(
      {chromium.string(), "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
       "--disable-background-networking", "--disable-component-update", "--disable-sync",
       "--hide-scrollbars", "--user-data-dir=" + profilo.string(), "--screenshot=" + png.string(),
       "--window-size=" + std::to_string(w) + "," + std::to_string(h), "file://" + svg.string()},
      uscite / "chromium.txt", 120);
  ASSERT_EQ(stato, 0) << leggi_tutto(uscite / "chromium.txt");

  immagine im;
  ASSERT_TRUE(leggi_png(leggi_tutto(png), im, errore)) << errore;
  EXPECT_EQ(im.larghezza, static_cast<uint32_t>(w));
  EXPECT_EQ(im.altezza, static_cast<uint32_t>(h));
  // Not blank: the page is white, and a good part of it is drawn, in several colours.
  std::size_t bianchi = 0, blu = 0;
  std::set<uint32_t> colori;
  for (const uint32_t p : im.pixel) {
    bianchi += p == 0xFFFFFF;
    blu += (p >> 16) < 0x60 && ((p >> 8) & 0xFF) < 0x90 && (p & 0xFF) > 0x70;  // the track and the limit
    if (colori.size() < 64) colori.insert(p);
  }
  EXPECT_GT(bianchi, im.pixel.size() / 2) << "a white page";
  EXPECT_GT(im.pixel.size() - bianchi, im.pixel.size() / 50) << "hardly anything drawn";
  EXPECT_GT(blu, 2000u) << "no track drawn";
  EXPECT_GE(colori.size(), 8u);
#endif
}

TEST_F(ComandoPlot, SceglieLoScenarioDellaCartella) {
  imballa("due", "12");
  imballa("due", "13");
  imballa("uno", "12", false);
  fs::create_directory(lavoro / "vuota");
  const std::string prima = leggi_tutto(lavoro / "due" / "P_12.dat");
  struct caso {
    std::vector<std::string> a;
    int stato;
    const char* errore;  // the start of standard error
    const char* titolo;  // the picture's title when drawn
  };
  const caso casi[] = {
      {{"plot", "due", "-o", "p.svg"}, 2,
       "scenario: due: 2 packed scenarios (P train 12, P train 13); give --name and --train\n", nullptr},
      {{"plot", "due", "--train", "13", "-o", "p.svg"}, 0, "", "Scenario P, train 13"},
      {{"plot", "due", "--name", "P", "--train=12", "-o", "p.svg"}, 0, "", "Scenario P, train 12"},
      {{"plot", "uno", "-o", "p.svg"}, 0, "", "Scenario P, train 12"},
      {{"plot", "due", "--name", "Q", "-o", "p.svg"}, 2,
       "scenario: due: no packed scenario (NAME_NUMBER.sim) named Q\n", nullptr},
      {{"plot", "vuota", "-o", "p.svg"}, 2, "scenario: vuota: no packed scenario (NAME_NUMBER.sim)\n", nullptr},
      {{"plot", "assente", "-o", "p.svg"}, 2, "scenario: assente: cannot read: No such file or directory\n",
       nullptr},
      {{"plot", "due", "--train", "12"}, 2, "scenario: plot needs -o FILE.svg\n", nullptr},
      {{"plot", "due", "uno", "-o", "p.svg"}, 2, "scenario: plot takes the directory of a packed scenario", nullptr},
      {{"plot", "uno", "--json", "-o", "p.svg"}, 2, "scenario: unknown option '--json' for plot", nullptr},
      {{"plot", "due", "--train", "12", "-o", "due/P_12.dat"}, 2,
       "scenario: due/P_12.dat: is a packed file of the scenario; the picture is never written over it\n",
       nullptr},
  };
  for (const caso& c : casi) {
    fs::remove(lavoro / "p.svg");
    const risultato_comando r = esegui(c.a);
    const std::string riga = c.a[1] + " " + c.a.back();
    EXPECT_EQ(r.stato, c.stato) << riga << ": " << r.err;
    EXPECT_EQ(r.out, "") << riga;
    EXPECT_EQ(r.err.rfind(c.errore, 0), 0u) << riga << ": " << r.err;
    EXPECT_EQ(fs::exists(lavoro / "p.svg"), c.titolo != nullptr) << riga;
    if (c.titolo) {
      std::vector<elemento_xml> elementi;
      std::string errore;
      ASSERT_TRUE(leggi_xml(leggi_tutto(lavoro / "p.svg"), elementi, errore)) << errore;
      EXPECT_EQ(elementi[1].nome, "title");
      EXPECT_EQ(elementi[1].testo, c.titolo);
    }
  }
  EXPECT_EQ(leggi_tutto(lavoro / "due" / "P_12.dat"), prima);

  const risultato_comando aiuto = esegui({"plot", "due", "--help"});
  EXPECT_EQ(aiuto.stato, 0);
  EXPECT_EQ(aiuto.out.rfind("usage: scenario plot DIR", 0), 0u) << aiuto.out;

  // Packed without its line plan: the profiles only.
  ASSERT_EQ(esegui({"plot", "uno", "-o", "p.svg"}).stato, 0);
  const std::string senza = leggi_tutto(lavoro / "p.svg");
  EXPECT_EQ(senza.find("id=\"traccia\""), std::string::npos);
  EXPECT_NE(senza.find("no line plan packed"), std::string::npos);
  EXPECT_NE(senza.find("id=\"altezza\""), std::string::npos);
}

TEST_F(ComandoPlot, FileImballatoGuasto_Rifiutato) {
  imballa("uno", "12");
  struct caso {
    const char* file;
    std::size_t taglia;  // bytes kept
    const char* errore;
  };
  const caso casi[] = {
      {"P_12.dat", 44, "scenario: uno/P_12.dat: not a packed route grid: length 44 bytes"},
      {"P_12.sim", 100, "scenario: uno/P_12.sim: not a packed station table: "},
      {"P_linea.dat", 3, "scenario: uno/P_linea.dat: not a packed line plan: "},
  };
  for (const caso& c : casi) {
    const std::string intero = leggi_tutto(lavoro / "uno" / c.file);
    scrivi_tutto(lavoro / "uno" / c.file, intero.substr(0, c.taglia));
    const risultato_comando r = esegui({"plot", "uno", "-o", "p.svg"});
    EXPECT_EQ(r.stato, 2) << c.file;
    EXPECT_EQ(r.err.rfind(c.errore, 0), 0u) << r.err;
    EXPECT_FALSE(fs::exists(lavoro / "p.svg")) << c.file;
    scrivi_tutto(lavoro / "uno" / c.file, intero);
  }
}

TEST_F(ComandoPlot, IlModelloDelTrenoDalleOpzioni) {
  imballa("uno", "12");
  struct caso {
    std::vector<std::string> opzioni;
    int stato;
    std::size_t tardi;  // sections drawn as not kept
  };
  const caso casi[] = {
      {{}, 0, 0},
      // 4 km in 5 minutes, at 40 km/h at most: 6 minutes at least.
      {{"--top-speed", "40"}, 0, 1},
      {{"--top-speed=40", "--dwell", "30"}, 0, 1},
      {{"--top-speed", "quaranta"}, 2, 0},
  };
  for (const caso& c : casi) {
    fs::remove(lavoro / "p.svg");
    std::vector<std::string> a = {"plot", "uno", "-o", "p.svg"};
    a.insert(a.end(), c.opzioni.begin(), c.opzioni.end());
    const risultato_comando r = esegui(a);
    EXPECT_EQ(r.stato, c.stato) << r.err;
    const std::string svg = leggi_tutto(lavoro / "p.svg");
    std::size_t tardi = 0;
    for (std::size_t i = svg.find("class=\"marcia_tempo tardi\" points"); i != std::string::npos;
         i = svg.find("class=\"marcia_tempo tardi\" points", i + 1))
      ++tardi;
    EXPECT_EQ(tardi, c.tardi) << (c.opzioni.empty() ? "" : c.opzioni[0]);
  }
}

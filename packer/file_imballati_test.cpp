#include "packer/file_imballati.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>

#include "formato/piano_linea.h"

namespace {

std::string byte(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s.push_back(static_cast<char>(b));
  return s;
}

// The packed plan of points given one by one, as a plan read back holds them.
std::string da_punti(const std::array<asse_linea, 2>& g) {
  scenario s;
  s.griglia_linea.punti = static_cast<int64_t>(g[0].tag.size());
  s.griglia_linea.letti = g;
  return codifica_linea(s);
}

}  // namespace

TEST(FileImballati, RecordDiUnaCella) {
  scenario f;
  f.percorso.resize(2);
  cella_percorso& c = f.percorso[1];
  c.tipo = 1;
  c.dato1 = 5121;
  c.dato2 = -2;
  c.dato3 = 0x1234;
  c.dato4 = -32768;
  c.tempo_segnale = 120;
  c.avviso_segnale = 71;
  c.montagna = 3;
  c.velocita = 32;
  c.pendenza = 0xFF;
  c.aderenza = 44;
  const std::string dati = codifica_percorso(f);
  ASSERT_EQ(dati.size(), 2 * byte_cella);
  EXPECT_EQ(dati.substr(0, byte_cella), std::string(byte_cella, '\0'));
  EXPECT_EQ(dati.substr(byte_cella),
            byte({0x01, 0x01, 0x14, 0xFE, 0xFF, 0x34, 0x12, 0x00, 0x80, 120, 71, 3, 32, 0xFF, 44}));
}

TEST(FileImballati, RecordsDelleStazioni) {
  scenario f;
  record_stazione& r = f.tabella_stazioni[1];
  r.marca = 12;
  r.valore1 = -500;
  r.valore2 = 0x01020304;
  r.valore3 = 10900;
  r.marca2 = 1;
  r.nome = "Ardesio C";  // 9 characters
  r.intero1 = 4;
  r.intero2 = -1;
  r.intero3 = 2;
  r.intero4 = 0x0102;
  r.intero5 = 1;
  r.ottetto1 = 5;
  r.ottetto2 = 6;
  r.ottetto3 = 7;
  r.ottetto4 = 8;
  r.codice = 61980;
  const std::string dati = codifica_stazioni(f);
  // 87 records, all but slot 1 without a name.
  ASSERT_EQ(dati.size(), 87 * byte_stazione_senza_nome + 9);
  EXPECT_EQ(dati.substr(0, byte_stazione_senza_nome), std::string(byte_stazione_senza_nome, '\0'));
  const std::string atteso = byte({12, 0x0C, 0xFE, 0xFF, 0xFF, 0x04, 0x03, 0x02, 0x01, 0x94, 0x2A, 0, 0, 1, 9, 0}) +
                             "Ardesio C" +
                             byte({4, 0, 0xFF, 0xFF, 2, 0, 0x02, 0x01, 1, 0, 5, 6, 7, 8, 0x1C, 0xF2, 0, 0});
  EXPECT_EQ(atteso.size(), 43u);
  EXPECT_EQ(dati.substr(byte_stazione_senza_nome, 43), atteso);
}

TEST(FileImballati, NomeTroppoLungoPerIlSuoCampo) {
  // The length field holds 65535 at most: the name is cut there, so the
  // records after it are still where the lengths say.
  scenario f;
  f.tabella_stazioni[1].nome = std::string(70000, 'x');
  f.tabella_stazioni[2].marca = 9;
  const std::string dati = codifica_stazioni(f);
  ASSERT_EQ(dati.size(), 87 * byte_stazione_senza_nome + 65535);
  EXPECT_EQ(dati.substr(byte_stazione_senza_nome + 14, 2), byte({0xFF, 0xFF}));
  EXPECT_EQ(dati[2 * byte_stazione_senza_nome + 65535], 9);
}

TEST(FileImballati, ElementiDellaLineaConIlLoroTag) {
  std::array<asse_linea, 2> g;
  // Two metres: x of both, then y of both.
  g[0] = {{elemento_intero, elemento_reale}, {0.0, 1.5}};
  g[1] = {{elemento_intero, elemento_vuoto}, {-2.0, 0.0}};
  const std::string dati = da_punti(g);
  const std::string atteso = byte({2, 0, 0, 0}) + byte({5, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F}) +
                             byte({2, 0, 0xFE, 0xFF}) + byte({0, 0});
  EXPECT_EQ(dati, atteso);
}

// The plan's points are worked out as they are written, x and y side by side
// through small buffers: the pieces must cover the file once, with no gap,
// and hold the bytes of the same points given one by one, elements cut across
// the pieces' ends coming out whole.
TEST(FileImballati, LineaDaiTrattiComeDaiSuoiPunti) {
  scenario f;
  f.griglia_linea.punti = 60000;  // about 1.2 MB: many pieces
  f.griglia_linea.origine = true;
  f.griglia_linea.tratti = {{1000, 0.0, false}, {1700, 0.003, true}, {1800, 0.0, false},
                            {1801, -0.0001, true}, {40000, 0.0, false}};
  std::map<uint64_t, std::string> pezzi;
  codifica_linea(f, [&](uint64_t posizione, std::string_view pezzo) {
    EXPECT_LE(pezzo.size(), byte_pezzo_linea);
    EXPECT_FALSE(pezzo.empty());
    EXPECT_TRUE(pezzi.emplace(posizione, pezzo).second) << "written twice at " << posizione;
  });
  std::string unito;
  for (const auto& [posizione, pezzo] : pezzi) {
    ASSERT_EQ(posizione, unito.size()) << "a gap or an overlap";
    unito += pezzo;
  }
  EXPECT_GT(pezzi.size(), 10u);
  const std::array<asse_linea, 2> g = punti_linea(f.griglia_linea);
  EXPECT_EQ(g[0].tag[40000], elemento_reale);
  EXPECT_EQ(g[0].tag[40001], elemento_vuoto);
  EXPECT_TRUE(unito == da_punti(g));
  EXPECT_EQ(unito.size(), 2 * (2 * 4 + 39999 * 10 + 19999 * 2));

  // Without its first two points a sized plan is all empty elements.
  f.griglia_linea = {};
  f.griglia_linea.punti = 3;
  EXPECT_EQ(codifica_linea(f), std::string(12, '\0'));
}

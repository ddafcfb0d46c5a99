#include "sources/dati_treno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>

#include "prove/righe_sorgente.h"

namespace {

constexpr int32_t lunghezza_linea = 358000;

// The train source as `dati_treno` writes it.
struct treno_scritto : sorgente_scritta {
  treno_scritto() : sorgente_scritta(dati_treno()) {}
};

// The numbers of a row laid out in columns: field i (after the keyword) must
// be exactly `larghezze[i]` characters, spaces then the number.
std::vector<int32_t> colonne(const riga_sezione& r, const std::vector<std::size_t>& larghezze) {
  std::vector<int32_t> v;
  for (std::size_t i = 0; i < larghezze.size(); ++i) {
    if (i + 1 >= r.campi.size()) {
      ADD_FAILURE() << nome(r) << ": no field " << i + 1;
      v.push_back(-1);
      continue;
    }
    const std::string_view campo = r.campi[i + 1];
    if (larghezze[i] != 0) {
      EXPECT_EQ(campo.size(), larghezze[i]) << nome(r) << ", field " << i + 1;
    }
    const auto x = numero(campo);
    EXPECT_TRUE(x.has_value()) << nome(r) << ", field " << i + 1;
    v.push_back(x.value_or(-1));
  }
  return v;
}

// Every position is on the route and on the 50 m grid, but for the one row allowed off it.
void posizione_valida(const riga_sezione& r, int32_t p, int32_t fuori_griglia) {
  EXPECT_TRUE(p >= 0 && p < lunghezza_linea) << nome(r);
  if (p != fuori_griglia) {
    EXPECT_EQ(p % 50, 0) << nome(r);
  }
}

void ascendenti(const std::vector<riga_sezione>& righe, const std::vector<int32_t>& posizioni) {
  for (std::size_t i = 1; i < posizioni.size(); ++i) EXPECT_GT(posizioni[i], posizioni[i - 1]) << nome(righe[i]);
}

}  // namespace

TEST(DatiTreno, FileDi282RigheConSezioniERigheFisseAlLoroPosto) {
  const treno_scritto t;
  EXPECT_EQ(t.file.difetto, "");
  ASSERT_EQ(t.file.righe.size(), 282u);
  const std::map<std::size_t, std::string_view> fisse = {
      {1, "[generale]"},
      {2, "numero vetture,    14"},
      {3, "percentuale massa frenata,    130"},
      {4, "sabbia,    200"},
      {5, "orologio,    17              12            30 "},
      {6, "[aderenze]"},
      {7, "aderenza,   0,    100"},
      {8, "[vel_limite]"},
      {9, "velocita,       0,   115"},
      {10, "velocita,    1000,   160"},
      {11, "velocita,   10350,   175"},
      {43, "velocita,  349800,    70"},
      {44, "[stazioni]"},
      {45, "stazione,       0,  8,  500,  1, 0, 0,  4,1,0,  2,1,1,    1,  17,13, 0, CORVANA"},
      {94, "[rallentamenti]"},
      {95, "rallentamento,   134500,    80,  800, 0,  1,  80"},
      {96, "rallentamento,   180950,    40,  200, 0,  1,  40"},
      {97, "rallentamento,  271250,    50, 1800, 0,  1,  50"},
      {98, "rallentamento,  324900,    60,  200, 1,  1,  60"},
      {99, "[segnali]"},
      {100, "segnale,    2000,   2, 4, 1,  0, 0,    1,  3,1,0, 0"},
      {101, "segnale,    3000,   2, 4, 1,  1, 0,    2,  2,1,1, 0"},
      {102, "segnale,    9000,   2, 4, 1,  0, 0,    1,  3,1,0, 0"},
      {279, "segnale,  347500,   2, 5, 6,  0, 0,    2,  3,1,0, 0"},
      {280, "segnale,  348950,   2, 2, 3,  1, 1,    2,  2,1,1, 0"},
      {281, "[codici]"},
      {282, "[fine]"},
  };
  for (const auto& [n, testo] : fisse) EXPECT_EQ(t.riga(n), testo) << "line " << n;
  // The destination closes the stations.
  EXPECT_TRUE(t.riga(93).ends_with(", TELMISA")) << t.riga(93);
  // The only signals with a timing value.
  const auto inizio = t.file.righe.begin();
  for (std::string_view testo : {"segnale,  224500,   2, 3, 1,  0, 0,    2,  3,1,0, 120",
                                 "segnale,  225950,   2, 4, 1,  1, 0,    2,  2,1,1, 115"})
    EXPECT_NE(std::find(inizio + 99, inizio + 280, testo), inizio + 280) << testo;
}

TEST(DatiTreno, LimitiDiVelocita) {
  const treno_scritto t;
  const auto righe = sezione(t, 9, 43);
  std::vector<int32_t> posizioni;
  for (const auto& r : righe) {
    EXPECT_EQ(r.campi[0], "velocita") << nome(r);
    EXPECT_EQ(r.campi.size(), 3u) << nome(r);
    const auto v = colonne(r, {8, 6});
    posizione_valida(r, v[0], 129340);
    EXPECT_TRUE(v[1] >= 70 && v[1] <= 175) << nome(r);
    posizioni.push_back(v[0]);
  }
  ascendenti(righe, posizioni);
  EXPECT_NE(std::find(posizioni.begin(), posizioni.end(), 129340), posizioni.end());
}

TEST(DatiTreno, StazioniSecondoIQuattordiciSchemi) {
  const treno_scritto t;
  const auto righe = sezione(t, 45, 93);
  using schema = std::array<int32_t, 15>;
  std::map<schema, int> contati;
  std::vector<int32_t> posizioni;
  int posizioni_larghe = 0, in_maiuscolo = 0;
  int32_t minuto_precedente = -1;
  int orari = 0;
  for (const auto& r : righe) {
    EXPECT_EQ(r.campi[0], "stazione") << nome(r);
    ASSERT_EQ(r.campi.size(), 18u) << nome(r);
    // The position takes 8 characters, or 9 in some rows.
    const auto v = colonne(r, {0, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2});
    EXPECT_TRUE(r.campi[1].size() == 8 || r.campi[1].size() == 9) << nome(r);
    posizioni_larghe += r.campi[1].size() == 9;
    posizione_valida(r, v[0], -1);
    posizioni.push_back(v[0]);
    schema s;
    std::copy(v.begin() + 1, v.end(), s.begin());
    ++contati[s];
    // A time of day where hours and minutes are given; they rise row after row.
    if (s[12] != 0 || s[13] != 0) {
      ++orari;
      const int32_t minuto = s[12] * 60 + s[13];
      EXPECT_GT(minuto, minuto_precedente) << nome(r);
      minuto_precedente = minuto;
    }
    // One space, then the name: 4 to 30 letters, spaces, full stops, apostrophes, hyphens.
    const std::string_view campo = r.campi[17];
    ASSERT_TRUE(campo.size() >= 2 && campo[0] == ' ') << nome(r);
    const std::string_view nome_stazione = campo.substr(1);
    EXPECT_TRUE(nome_stazione.size() >= 4 && nome_stazione.size() <= 30) << nome(r);
    EXPECT_TRUE(std::all_of(nome_stazione.begin(), nome_stazione.end(), [](char c) {
      return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' ' || c == '.' || c == '\'' || c == '-';
    })) << nome(r);
    EXPECT_TRUE(nome_stazione.front() != ' ' && nome_stazione.back() != ' ') << nome(r);
    in_maiuscolo += std::none_of(nome_stazione.begin(), nome_stazione.end(), [](char c) { return c >= 'a' && c <= 'z'; });
  }
  ascendenti(righe, posizioni);
  EXPECT_EQ(posizioni.front(), 0);
  EXPECT_EQ(posizioni.back(), 350000);
  EXPECT_EQ(posizioni_larghe, 11);
  EXPECT_GT(in_maiuscolo, 49 / 2);
  EXPECT_EQ(orari, 8);

  const std::map<schema, int> attesi = {
      {{12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, 17},
      {{12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, 12},
      {{28, 200, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 6},
      {{12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, 4},
      {{8, 500, 1, 0, 0, 4, 1, 0, 2, 1, 1, 1, 17, 13, 0}, 1},
      {{11, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, 1},
      {{12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 99, 17, 36, 0}, 1},
      {{2, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 99, 18, 5, 0}, 1},
      {{12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 30, 18, 50, 0}, 1},
      {{2, 800, 0, 0, 0, 1, 1, 0, 4, 1, 1, 99, 19, 2, 0}, 1},
      {{4, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 60, 19, 29, 0}, 1},
      {{2, 600, 0, 0, 1, 1, 1, 0, 4, 1, 1, 99, 19, 54, 0}, 1},
      {{4, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0}, 1},
      {{2, 600, 1, 0, 0, 1, 1, 0, 2, 1, 1, 0, 20, 30, 0}, 1},
  };
  EXPECT_EQ(contati, attesi);
  // The destination row carries its own pattern.
  const auto ultima = colonne(righe.back(), {0, 3, 5, 3, 2, 2, 3, 1, 1, 3, 1, 1, 5, 4, 2, 2});
  EXPECT_EQ(std::vector<int32_t>(ultima.begin() + 1, ultima.end()),
            (std::vector<int32_t>{2, 600, 1, 0, 0, 1, 1, 0, 2, 1, 1, 0, 20, 30, 0}));
}

TEST(DatiTreno, IlTerzoRallentamentoComprendeUnaStazione) {
  const treno_scritto t;
  const auto rallentamento = colonne(sezione(t, 97, 97)[0], {0, 0, 0, 0, 0, 0});
  const int32_t inizio = rallentamento[0], fine = rallentamento[0] + rallentamento[2];
  int comprese = 0;
  for (const auto& r : sezione(t, 45, 93)) {
    const int32_t p = numero(r.campi[1]).value_or(-1);
    if (p >= inizio && p <= fine) {
      ++comprese;
      EXPECT_EQ(p, 272650) << nome(r);
    }
  }
  EXPECT_EQ(comprese, 1);
}

TEST(DatiTreno, SegnaliSecondoIQuattordiciSchemiETreFuoriOrdine) {
  const treno_scritto t;
  const auto righe = sezione(t, 100, 280);
  using schema = std::array<int32_t, 10>;
  std::map<schema, int> contati;
  std::vector<int32_t> posizioni;
  for (const auto& r : righe) {
    EXPECT_EQ(r.campi[0], "segnale") << nome(r);
    ASSERT_EQ(r.campi.size(), 12u) << nome(r);
    const auto v = colonne(r, {0, 4, 2, 2, 3, 2, 5, 3, 1, 1, 0});
    EXPECT_TRUE(r.campi[1].size() >= 8 && r.campi[1].size() <= 10) << nome(r);
    // The timing value takes 2 characters, or 4 when it has three digits.
    EXPECT_EQ(r.campi[11].size(), v[10] >= 100 ? 4u : 2u) << nome(r);
    posizione_valida(r, v[0], 128280);
    posizioni.push_back(v[0]);
    schema s;
    std::copy(v.begin() + 1, v.end(), s.begin());
    ++contati[s];
  }
  const std::map<schema, int> attesi = {
      {{2, 4, 0, 0, 0, 0, 0, 0, 0, 0}, 62}, {{2, 4, 0, 0, 0, 2, 1, 0, 0, 0}, 35},
      {{2, 4, 1, 1, 0, 2, 2, 1, 1, 0}, 33}, {{2, 4, 1, 0, 0, 1, 3, 1, 0, 0}, 20},
      {{2, 4, 1, 0, 0, 2, 3, 1, 0, 0}, 15}, {{2, 3, 1, 1, 0, 2, 2, 1, 1, 0}, 6},
      {{2, 5, 1, 0, 0, 1, 3, 1, 0, 0}, 3},  {{2, 4, 1, 0, 0, 0, 0, 0, 0, 0}, 1},
      {{2, 4, 1, 1, 0, 0, 0, 0, 0, 0}, 1},  {{2, 3, 0, 0, 0, 2, 1, 0, 0, 0}, 1},
      {{2, 3, 1, 0, 0, 2, 3, 1, 0, 120}, 1}, {{2, 4, 1, 1, 0, 2, 2, 1, 1, 115}, 1},
      {{2, 5, 6, 0, 0, 2, 3, 1, 0, 0}, 1},  {{2, 2, 3, 1, 1, 2, 2, 1, 1, 0}, 1},
  };
  EXPECT_EQ(contati, attesi);

  // Ascending, but for the three rows that stand between 100300 and 103050.
  const auto dopo = std::find(posizioni.begin(), posizioni.end(), 100300);
  ASSERT_LT(dopo + 4, posizioni.end());
  EXPECT_EQ(std::vector<int32_t>(dopo, dopo + 5), (std::vector<int32_t>{100300, 13150, 18050, 19550, 103050}));
  std::vector<riga_sezione> in_ordine = righe;
  const auto primo_fuori = in_ordine.begin() + (dopo - posizioni.begin()) + 1;
  in_ordine.erase(primo_fuori, primo_fuori + 3);
  std::vector<int32_t> posizioni_in_ordine = posizioni;
  posizioni_in_ordine.erase(posizioni_in_ordine.begin() + (dopo - posizioni.begin()) + 1,
                            posizioni_in_ordine.begin() + (dopo - posizioni.begin()) + 4);
  ascendenti(in_ordine, posizioni_in_ordine);
}

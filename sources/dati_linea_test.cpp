#include "sources/dati_linea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "prove/righe_sorgente.h"

namespace {

constexpr int32_t lunghezza_linea = 358000;

// The line source as `dati_linea` writes it.
struct linea_scritta : sorgente_scritta {
  linea_scritta() : sorgente_scritta(dati_linea()) {}
};

// Every field after the keyword is a number preceded by one to three spaces
// (the text of a kilometre board excepted); returns the numbers.
std::vector<int32_t> numeri_di(const riga_sezione& r, std::size_t quanti) {
  std::vector<int32_t> v;
  EXPECT_EQ(r.campi.size(), quanti + 1) << nome(r);
  for (std::size_t i = 1; i < r.campi.size(); ++i) {
    const std::size_t s = spazi_iniziali(r.campi[i]);
    EXPECT_TRUE(s >= 1 && s <= 3) << nome(r) << ", field " << i;
    const auto x = numero(r.campi[i]);
    EXPECT_TRUE(x.has_value()) << nome(r) << ", field " << i;
    v.push_back(x.value_or(-1));
  }
  v.resize(quanti, -1);
  return v;
}

// Positions rise strictly within a section, lie on the route, and fall on the 50 m grid.
void posizioni_in_ordine(const std::vector<riga_sezione>& righe, const std::vector<int32_t>& posizioni) {
  for (std::size_t i = 0; i < righe.size(); ++i) {
    EXPECT_TRUE(posizioni[i] >= 0 && posizioni[i] < lunghezza_linea) << nome(righe[i]);
    EXPECT_EQ(posizioni[i] % 50, 0) << nome(righe[i]);
    if (i > 0) {
      EXPECT_GT(posizioni[i], posizioni[i - 1]) << nome(righe[i]);
    }
  }
}

}  // namespace

TEST(DatiLinea, FileDi211RigheConSezioniERigheFisseAlLoroPosto) {
  const linea_scritta l;
  EXPECT_EQ(l.file.difetto, "");
  ASSERT_EQ(l.file.righe.size(), 211u);
  // Sections, general rows and the rows that stand at a fixed line.
  const std::map<std::size_t, std::string_view> fisse = {
      {1, "[generale]"},
      {2, "lunghezza percorso,    358000"},
      {3, "progressiva chilometrica uno,    0,    0,    0"},
      {4, "progressiva chilometrica due,    0,    0,    0"},
      {5, "progressiva chilometrica tre,    0,    0,    0"},
      {6, "sfondo uno,    1"},
      {7, "sfondo due,    0"},
      {8, "sfondo tre,    0"},
      {9, "ripetizione segnali 4 codici,    0,    356000"},
      {10, "[curve]"},
      {11, "curvad1,  1000,  600"},
      {93, "curvad3, 347550,  600"},
      {94, "[pendenze]"},
      {95, "pendenza,  2000,   6"},
      {159, "pendenza, 345050,   0"},
      {160, "[montagne]"},
      {161, "montagna,   135400,  137400,  11"},
      {162, "montagna,   204400,  209250,  11"},
      {163, "[cartelli]"},
      {164, "indicatori_vmax,  1050,  140,  160,  160,  0,  140,  160,  160,  0"},
      {206, "indicatori_vmax, 348900,  60,  65,  70,  0,  60,  65,  70,  0"},
      {207, "[indicazioni]"},
      {208, "cartello_indicatore,  99950,   (Km 99+996)"},
      {209, "cartello_indicatore,  208550,   (Km 208+500)"},
      {210, "cartello_indicatore,  323450,   (Km 323+402)"},
      {211, "[fine]"},
  };
  for (const auto& [n, testo] : fisse) EXPECT_EQ(l.riga(n), testo) << "line " << n;
  // Rows that stand somewhere inside their section.
  const struct {
    std::string_view testo;
    std::size_t da, a;
  } interne[] = {
      {"curvas1,  5000,  1000", 11, 93},
      {"curvas3, 111950,  1000", 11, 93},
      {"pendenza,  29700,   -6", 95, 159},
      {"pendenza, 132050,  12", 95, 159},
      {"indicatori_vmax, 130200,  100,  105,  110,  2,  100,  105,  110,  2", 164, 206},
  };
  for (const auto& r : interne) {
    const auto inizio = l.file.righe.begin();
    EXPECT_NE(std::find(inizio + r.da - 1, inizio + r.a, r.testo), inizio + r.a) << r.testo;
  }
}

TEST(DatiLinea, CurveInOrdineSenzaSovrapporsiConLeParoleChiaveContate) {
  const linea_scritta l;
  const auto righe = sezione(l, 11, 93);
  std::map<std::string, int> parole;
  std::vector<int32_t> posizioni;
  int32_t fine_precedente = 0;
  for (const auto& r : righe) {
    const auto v = numeri_di(r, 2);
    const std::string parola(r.campi[0]);
    ++parole[parola];
    posizioni.push_back(v[0]);
    EXPECT_TRUE(v[1] >= 100 && v[1] <= 3000) << nome(r);
    EXPECT_EQ(v[1] % 50, 0) << nome(r);
    EXPECT_GE(v[0], fine_precedente) << nome(r) << " overlaps the curve before it";
    EXPECT_LE(v[0] + v[1], lunghezza_linea) << nome(r);
    fine_precedente = v[0] + v[1];
  }
  posizioni_in_ordine(righe, posizioni);
  const std::map<std::string, int> attese = {
      {"curvad1", 9}, {"curvad2", 6}, {"curvad3", 8}, {"curvad4", 10}, {"curvad5", 7}, {"curvad6", 1},
      {"curvas1", 8}, {"curvas2", 5}, {"curvas3", 11}, {"curvas4", 12}, {"curvas5", 5}, {"curvas6", 1},
  };
  EXPECT_EQ(parole, attese);
}

TEST(DatiLinea, PendenzeEMontagne) {
  const linea_scritta l;
  const auto pendenze = sezione(l, 95, 159);
  std::vector<int32_t> posizioni;
  for (const auto& r : pendenze) {
    EXPECT_EQ(r.campi[0], "pendenza") << nome(r);
    const auto v = numeri_di(r, 2);
    posizioni.push_back(v[0]);
    EXPECT_TRUE(v[1] >= -7 && v[1] <= 12) << nome(r);
  }
  posizioni_in_ordine(pendenze, posizioni);

  const auto montagne = sezione(l, 161, 162);
  posizioni.clear();
  for (const auto& r : montagne) {
    EXPECT_EQ(r.campi[0], "montagna") << nome(r);
    const auto v = numeri_di(r, 3);
    posizioni.push_back(v[0]);
    EXPECT_GT(v[1], v[0]) << nome(r);
    EXPECT_EQ(v[1] % 50, 0) << nome(r);
    EXPECT_LT(v[1], lunghezza_linea) << nome(r);
  }
  posizioni_in_ordine(montagne, posizioni);
}

TEST(DatiLinea, CartelliDiVelocitaMassimaEIndicatori) {
  const linea_scritta l;
  const auto cartelli = sezione(l, 164, 206);
  std::vector<int32_t> posizioni;
  std::vector<int32_t> strisce;
  for (const auto& r : cartelli) {
    EXPECT_EQ(r.campi[0], "indicatori_vmax") << nome(r);
    const auto v = numeri_di(r, 9);
    posizioni.push_back(v[0]);
    strisce.push_back(v[4]);
    // Both sides show the same board.
    EXPECT_TRUE(std::equal(v.begin() + 1, v.begin() + 5, v.begin() + 5)) << nome(r);
    EXPECT_TRUE(v[1] <= v[2] && v[2] <= v[3]) << nome(r);
    EXPECT_TRUE(v[1] >= 60 && v[3] <= 180) << nome(r);
    EXPECT_TRUE(v[4] >= 0 && v[4] <= 2) << nome(r);
  }
  posizioni_in_ordine(cartelli, posizioni);
  // Striped boards come only in runs of three boards with 2, 1, 0 stripes, and
  // each run starts at one of these positions.
  std::vector<int32_t> inizi_serie;
  for (std::size_t i = 0; i < cartelli.size(); ++i) {
    if (strisce[i] == 1) {
      EXPECT_TRUE(i > 0 && strisce[i - 1] == 2) << nome(cartelli[i]);
    } else if (strisce[i] == 2) {
      inizi_serie.push_back(posizioni[i]);
      const bool seguito = i + 2 < cartelli.size() && strisce[i + 1] == 1 && strisce[i + 2] == 0;
      EXPECT_TRUE(seguito) << nome(cartelli[i]);
      if (seguito) {
        EXPECT_LE(posizioni[i + 2] - posizioni[i], 600) << nome(cartelli[i]);
      }
    }
  }
  EXPECT_EQ(inizi_serie, (std::vector<int32_t>{130200, 201100, 346350, 348350}));

  const auto indicatori = sezione(l, 208, 210);
  posizioni.clear();
  for (const auto& r : indicatori) {
    ASSERT_EQ(r.campi.size(), 3u) << nome(r);
    posizioni.push_back(numero(r.campi[1]).value_or(-1));
  }
  posizioni_in_ordine(indicatori, posizioni);
}

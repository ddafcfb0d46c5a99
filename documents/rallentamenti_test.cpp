#include "documents/rallentamenti.h"

#include <gtest/gtest.h>

#include <regex>

#include "prove/documenti.h"

namespace {

constexpr std::string_view riga_vuota =
    " |   |                            |            |          |         |            |";
constexpr std::string_view regola =
    " |___|____________________________|____________|__________|_________|____________|";

// The six cells of an order row, cut at the table's own columns. A station
// pair one character too wide for its cell covers the bar in column 34, which
// then belongs to the pair; every other cell keeps its place.
std::vector<std::string> celle_ordine(const std::string& riga) {
  if (riga.size() != 82) return celle(riga);
  const bool coppia_sulla_barra = riga[34] != '|';
  return {riga.substr(2, 3), riga.substr(6, coppia_sulla_barra ? 29 : 28), riga.substr(35, 12),
          riga.substr(48, 10), riga.substr(59, 9), riga.substr(69, 12)};
}

// The form as written, line by line.
struct modulo_scritto {
  std::vector<std::string> righe = righe_documento(dati_rallentamenti());
};

}  // namespace

TEST(Rallentamenti, RigheFisseAlLoroNumero) {
  const modulo_scritto m;
  ASSERT_EQ(m.righe.size(), 46u);
  struct caso { int da, a; std::string_view testo; };
  const caso casi[] = {
      {1, 1, ""},
      {2, 2, "                               Modulo M. 3"},
      {3, 3, "                           ORDINE DI RALLENTAMENTO"},
      {4, 4, " ________________________________________________________________________________"},
      {5, 5, "  Linea  CORVANA - TELMISA"},
      {6, 6, ""},
      {7, 7, "  Si ordina al macchinista del treno  739  di effettuare i seguenti rallentamenti"},
      {8, 8, "  _______________________________________________________________________________"},
      {9, 9, " |   |                            |Inizio dopo |          |         |            |"},
      {10, 10, " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|"},
      {11, 11, " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |"},
      {12, 12, regola},
      {17, 38, riga_vuota},
      {39, 39, regola},
      {40, 40, ""},
      {41, 41, "              Prescrizioni specifiche"},
      {42, 42, " A - Da rispettare con tutto il treno (per i treni viaggiatori)"},
      {43, 43, " B - Interessa anche la stazione di ROCCAFIALDA"},
      {44, 44, " D - Rallentamneto N. ... e N. ...  sono contigui"},
      {45, 45, " C - Da rispettare dalle ore ....  alle ore ..... di tutti"},
      {46, 46, "     i giorni esclusi i seguenti:........."},
  };
  for (const caso& c : casi)
    for (int n = c.da; n <= c.a; ++n) EXPECT_EQ(m.righe[n - 1], c.testo) << "line " << n;
}

TEST(Rallentamenti, BarreELarghezzeDelleCelle) {
  const modulo_scritto m;
  ASSERT_EQ(m.righe.size(), 46u);
  const std::vector<int> barre = {1, 5, 34, 47, 58, 68, 81};
  // The third order's station pair, 29 characters, runs over the bar in
  // column 34: that bar is covered, the row keeps its width and other bars.
  const std::vector<int> barre_terza = {1, 5, 47, 58, 68, 81};
  for (int n = 9; n <= 39; ++n) {
    const std::string& r = m.righe[n - 1];
    const bool terza = n == 15;
    EXPECT_EQ(r.size(), 82u) << "line " << n;
    EXPECT_EQ(colonne_barre(r), terza ? barre_terza : barre) << "line " << n;
    EXPECT_EQ(r[0], ' ') << "line " << n;
  }
  // The pair starts right after the bar in column 5 and fills through column 34.
  EXPECT_NE(m.righe[14][6], ' ');
  EXPECT_NE(m.righe[14][34], ' ');
  EXPECT_EQ(m.righe[14][35], ' ');

  // Each cell of an order row in its own layout.
  const std::regex forme[] = {
      std::regex(" [1-4] "),
      // One space, the pair joined by " - ", padded; or the pair that overruns its cell.
      std::regex(" [A-Z'][A-Z' ]* - [A-Z' ]*[A-Z'] *|[A-Z'][A-Z' ]*-[A-Z' ]*[A-Z']"),
      std::regex("    [0-9]{3}     "),
      std::regex("    [0-9]{2}    "),
      std::regex(" {0,5}[1-9][0-9]{0,5}   "),
      std::regex("   -----    |     [A-D]      "),
  };
  for (int n = 13; n <= 16; ++n) {
    const std::vector<std::string> c = celle_ordine(m.righe[n - 1]);
    ASSERT_EQ(c.size(), 6u) << "line " << n;
    for (std::size_t i = 0; i < c.size(); ++i)
      EXPECT_TRUE(std::regex_match(c[i], forme[i])) << "line " << n << " cell " << i + 1 << ": '" << c[i] << "'";
    EXPECT_EQ(c[0], " " + std::to_string(n - 12) + " ") << "line " << n;
    EXPECT_EQ(c[4].size(), 9u) << "line " << n;
  }
}

TEST(Rallentamenti, ConcordaConIRallentamentiDelTreno) {
  const modulo_scritto m;
  ASSERT_EQ(m.righe.size(), 46u);
  const treno_sorgente t = treno_scritto();
  ASSERT_EQ(t.rallentamenti.size(), 4u);
  ASSERT_FALSE(t.stazioni.empty());

  // The line is named by its two end stations.
  EXPECT_EQ(m.righe[4], "  Linea  " + t.stazioni.front().nome + " - " + t.stazioni.back().nome);

  const std::string chiave_b = " B - Interessa anche la stazione di ";
  ASSERT_TRUE(m.righe[42].starts_with(chiave_b));
  const std::string stazione_b = m.righe[42].substr(chiave_b.size());

  auto indice_stazione = [&](const std::string& nome) {
    for (std::size_t i = 0; i < t.stazioni.size(); ++i)
      if (t.stazioni[i].nome == nome) return static_cast<int>(i);
    return -1;
  };

  int righe_b = 0;
  for (int k = 0; k < 4; ++k) {
    const rallentamento_sorgente& r = t.rallentamenti[k];
    const std::vector<std::string> c = celle_ordine(m.righe[12 + k]);
    ASSERT_EQ(c.size(), 6u) << "order " << k + 1;
    SCOPED_TRACE("order " + std::to_string(k + 1));
    // The post after which the section begins: whole kilometres, fraction dropped.
    EXPECT_EQ(std::stoi(c[2]), r.posizione / 1000);
    EXPECT_EQ(std::stoi(c[3]), r.velocita);
    EXPECT_EQ(std::stoi(c[4]), r.lunghezza);

    // The pair of stations: consecutive in the run, the section lying between
    // them or taking in the first of them.
    std::string coppia = senza_spazi(c[1]);
    std::size_t giunto = coppia.find(" - ");
    const std::size_t salto = giunto == std::string::npos ? 1 : 3;
    if (giunto == std::string::npos) giunto = coppia.find('-');
    ASSERT_NE(giunto, std::string::npos) << coppia;
    const int a = indice_stazione(coppia.substr(0, giunto));
    const int b = indice_stazione(coppia.substr(giunto + salto));
    ASSERT_GE(a, 0) << coppia;
    ASSERT_EQ(b, a + 1) << coppia;
    const int inizio = r.posizione, fine = r.posizione + r.lunghezza;
    EXPECT_LE(fine, t.stazioni[b].posizione);
    const int prima = t.stazioni[a].posizione;
    const bool prende_stazione = inizio < prima && prima < fine;
    if (!prende_stazione) {
      EXPECT_GE(inizio, prima);
    }

    // A on the order to be kept by the whole train, B on the one that takes in a station.
    const std::string prescrizione = senza_spazi(c[5]);
    if (r.f_tt == 1) {
      EXPECT_EQ(prescrizione, "A");
    } else if (prende_stazione) {
      EXPECT_EQ(prescrizione, "B");
      EXPECT_EQ(stazione_b, t.stazioni[a].nome);
      ++righe_b;
    } else {
      EXPECT_EQ(prescrizione, "-----");
    }
  }
  EXPECT_EQ(righe_b, 1);
}

// The documents derived from the built-in sources agree with the built-in
// documents wherever both come from the same data.
#include <gtest/gtest.h>

#include "documents/deriva_documenti.h"
#include "documents/note.h"
#include "prove/derivati.h"
#include "prove/documenti.h"
#include "prove/forma_documenti.h"
#include "documents/rallentamenti.h"
#include "documents/scheda_treno.h"

namespace {

std::vector<std::string> scritto(std::string (*scrittore)()) { return righe_documento(scrittore()); }

// The built-in train's values that its sources do not hold: its top speed,
// classification and mass, and the sheet's departure ten minutes before the
// train starts (17:03 against 17:13).
struct incorporati {
  std::vector<std::string> scheda, rallentamenti, note;
  documenti_derivati derivati;
  std::vector<std::string> scheda_derivata, rallentamenti_derivati, note_derivate;
  incorporati() {
    scheda = scritto(dati_scheda);
    rallentamenti = scritto(dati_rallentamenti);
    note = scritto(dati_note);
    const scenario f = prova_derivati::compila_incorporato();
    opzioni_documenti o;
    o.velocita_massima = 200;
    o.classificazione = "IC";
    o.massa = 800;
    std::vector<orari_stazione> orari(1);
    orari[0].partenza = 17 * 3600 + 3 * 60;
    derivati = deriva_documenti(f, orari, o);
    scheda_derivata = impagina_scheda(derivati.scheda);
    rallentamenti_derivati = impagina_rallentamenti(derivati.rallentamenti);
    note_derivate = impagina_note(derivati.note);
  }
};

const incorporati& documenti() {
  static const incorporati d;
  return d;
}

// A run's table rows: every page's rows but the empty ones and the repeated
// one at the top of each page after the first, up to the blank form.
std::vector<std::string> righe_corsa(const std::vector<std::string>& righe) {
  std::vector<std::string> corsa;
  int pagina = 0;
  for (std::size_t i = 0; i < righe.size(); ++i) {
    if (righe[i] != " | Lim.|Marc.|          |  Rs |                            |                |     |") continue;
    ++pagina;
    for (std::size_t j = i + 2; j < righe.size() && righe[j].starts_with(" | ") && righe[j][2] != '_'; ++j)
      if (righe[j] != forma_documenti::riga_vuota_scheda && (pagina == 1 || j > i + 2)) corsa.push_back(righe[j]);
  }
  return corsa;
}

// A station row holds a name in capitals or a time; a reference point neither.
bool di_stazione(const std::string& riga, const std::vector<std::string>& nomi) {
  const std::string luogo = senza_spazi(celle(riga).at(4));
  return std::find(nomi.begin(), nomi.end(), luogo) != nomi.end();
}

// The first lines of each page of a sheet (their heading's first line).
std::vector<std::size_t> inizi_pagine(const std::vector<std::string>& righe) {
  std::vector<std::size_t> inizi;
  for (std::size_t i = 0; i + 1 < righe.size(); ++i)
    if (righe[i + 1].starts_with(" |                   |                    SCHEDA ")) inizi.push_back(i);
  return inizi;
}

}  // namespace

TEST(Concordanza, SchedaStazioniNellOrdineConChilometriELimiti) {
  const incorporati& d = documenti();
  const treno_sorgente t = treno_scritto();
  std::vector<std::string> nomi;
  for (const stazione_sorgente& s : t.stazioni) nomi.push_back(s.nome);
  ASSERT_EQ(nomi.size(), 49u);

  std::vector<std::string> letterali, derivate;
  for (const std::string& r : righe_corsa(d.scheda))
    if (di_stazione(r, nomi)) letterali.push_back(r);
  for (const std::string& r : righe_corsa(d.scheda_derivata))
    if (di_stazione(r, nomi)) derivate.push_back(r);
  ASSERT_EQ(letterali.size(), 49u);
  ASSERT_EQ(derivate.size(), 49u);
  for (std::size_t i = 0; i < 49; ++i) {
    SCOPED_TRACE(nomi[i]);
    const std::vector<std::string> l = celle(letterali[i]), x = celle(derivate[i]);
    EXPECT_EQ(x[4], l[4]);  // the place, in the run's order
    EXPECT_EQ(x[2], l[2]);  // the kilometre
    EXPECT_EQ(x[0], l[0]);  // the line speed limit at the station
  }
}

TEST(Concordanza, SchedaFermateEArrivo) {
  const incorporati& d = documenti();
  const auto tempi = [](const std::vector<std::string>& righe) {
    // Each station row with a time: its place and its time cell.
    std::vector<std::pair<std::string, std::string>> t;
    for (const std::string& r : righe_corsa(righe)) {
      const std::vector<std::string> c = celle(r);
      if (senza_spazi(c[5]) != "") t.emplace_back(senza_spazi(c[4]), c[5]);
    }
    return t;
  };
  const auto letterali = tempi(d.scheda), derivati = tempi(d.scheda_derivata);
  // The stops: arrival and departure, whose departure is the train source's time.
  std::vector<std::pair<std::string, std::string>> fermate_l, fermate_d;
  for (const auto& [luogo, cella] : letterali)
    if (cella.find(" - ") != std::string::npos) fermate_l.emplace_back(luogo, senza_spazi(cella).substr(8, 5));
  for (const auto& [luogo, cella] : derivati)
    if (cella.find(" - ") != std::string::npos) fermate_d.emplace_back(luogo, senza_spazi(cella).substr(8, 5));
  ASSERT_EQ(fermate_l.size(), 6u);
  EXPECT_EQ(fermate_d, fermate_l);
  // The departure from the origin, given as the sheet's own, and the arrival, cell for cell.
  ASSERT_FALSE(derivati.empty());
  EXPECT_EQ(derivati.front(), letterali.front());
  EXPECT_EQ(derivati.back(), letterali.back());
  EXPECT_EQ(derivati.back().second, " 20.30          ");
}

TEST(Concordanza, SchedaIntestazioniPagineEModulo) {
  const incorporati& d = documenti();
  const std::vector<std::string>& l = d.scheda;
  const std::vector<std::string>& x = d.scheda_derivata;
  EXPECT_EQ(forma_documenti::problemi_scheda(testo_documento(x), righe_per_pagina), std::vector<std::string>{});
  const std::vector<std::size_t> pl = inizi_pagine(l), px = inizi_pagine(x);
  ASSERT_EQ(pl.size(), 4u);
  ASSERT_GE(px.size(), 2u);
  ASSERT_LT(px.size(), 10u);
  const std::string pagine = std::to_string(px.size());
  EXPECT_EQ(x[0], l[0]);
  EXPECT_EQ(x[1], l[1]);
  // Every page's heading as the built-in first page's, but for its number.
  for (std::size_t k = 0; k + 1 < px.size(); ++k)
    for (std::size_t i = 0; i < 14; ++i) {
      std::string atteso = l[pl[0] + i];
      if (i == 1) atteso.replace(42, 10, "SCHEDA " + std::to_string(k + 1) + "/" + pagine);
      EXPECT_EQ(x[px[k] + i], atteso) << "page " << k + 1 << ", heading line " << i + 1;
    }
  // The bottom rule, then the rule between the pages: 81 full stops after the
  // first page, 72 after the others.
  for (std::size_t k = 0; k + 1 < px.size(); ++k) {
    const std::size_t prima = k == 0 ? pl[1] : pl[2];
    for (std::size_t i = 1; i <= (k == 0 ? 6u : 5u); ++i)
      EXPECT_EQ(x[px[k + 1] - i], l[prima - i]) << "before page " << k + 2;
  }
  // The blank form, 46 lines, and the empty line that closes the sheet.
  ASSERT_EQ(x.size() - px.back(), l.size() - pl.back());
  for (std::size_t i = 0; i < l.size() - pl.back(); ++i) {
    std::string atteso = l[pl.back() + i];
    if (i == 1) atteso.replace(42, 10, "SCHEDA " + pagine + "/" + pagine);
    EXPECT_EQ(x[px.back() + i], atteso) << "blank form, line " << i + 1;
  }
}

TEST(Concordanza, ModuloDeiRallentamenti) {
  const incorporati& d = documenti();
  const std::vector<std::string>& l = d.rallentamenti;
  const std::vector<std::string>& x = d.rallentamenti_derivati;
  ASSERT_EQ(l.size(), 46u);
  ASSERT_EQ(x.size(), 46u);
  for (std::size_t i = 0; i < 46; ++i) {
    if (i == 14) continue;  // the third order: its pair of stations runs over the bar in the built-in form
    EXPECT_EQ(x[i], l[i]) << "line " << i + 1;
  }
  // The third order's number, kilometre, speed, length and prescription B.
  EXPECT_EQ(x[14].substr(0, 6), l[14].substr(0, 6));
  EXPECT_EQ(x[14].substr(35), l[14].substr(35));
  // The one pair too wide for its cell is cut, and said so.
  ASSERT_EQ(d.derivati.avvisi.size(), 1u);
  EXPECT_EQ(d.derivati.avvisi[0].dove, "slow-order form, order 3");
}

TEST(Concordanza, NoteTitoloERitardo) {
  const incorporati& d = documenti();
  ASSERT_GE(d.note_derivate.size(), 3u);
  EXPECT_EQ(d.note_derivate[0], "Simulazione del treno 739 nel tratto CORVANA - TELMISA.");
  // The late start of ten minutes, the built-in notes naming the city in small letters.
  const auto minuscole = [](std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  EXPECT_EQ(minuscole(d.note_derivate[1]), minuscole(d.note[2]));
  EXPECT_EQ(d.note_derivate[2], d.note[3]);
  EXPECT_EQ(d.note_derivate.size(), 3u);  // no signature given
}

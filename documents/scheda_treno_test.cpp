#include "documents/scheda_treno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <regex>

#include "prove/documenti.h"

namespace {

constexpr std::string_view riga_vuota =
    " |     |     |          |     |                            |                |     |";
constexpr std::string_view regola_fondo =
    " |_____|_____|__________|_____|____________________________|________________|_____|";
const std::vector<int> barre_tabella = {1, 7, 13, 24, 30, 59, 76, 82};

// Where each page starts (its heading's first line) and where its table rows
// lie, lines counted from 1.
struct pagina { int intestazione, prima_riga, ultima_riga; };
constexpr pagina pagine[4] = {{3, 17, 48}, {55, 69, 99}, {105, 119, 153}, {159, 173, 203}};

// The heading block of page `n` (1 to 4).
std::vector<std::string> intestazione(int n) {
  const bool modulo = n == 4;
  return {
      "  ___________________                                               ______________",
      " |                   |                    SCHEDA " + std::to_string(n) + "/4               |              |",
      modulo ? " |   TRENO n.xxxxx   |                   da: xxxxxx                |    Vxxx C    |"
             : " |   TRENO n. 739    |                   da: CORVANA               |    V200 C    |",
      modulo ? " |___________________|                    a: xxxxxx                |     xxx%     |"
             : " |___________________|                    a: TELMISA               |     130%     |",
      "                                                                   |______________|",
      "  ___________________                ___________________",
      " |  CLASSIFICAZIONE  |              |  MASSA BLOCCATA   |       ",
      modulo ? " |        xxx        |              |      xxxT         |"
             : " |        IC         |              |      800T         |",
      " |___________________|              |___________________|",
      "",
      "  ________________________________________________________________________________",
      " | Vel.| Vel.| Progr Km |  No |   Localita' di  Servizio   |     Orario     | Rec |",
      " | Lim.|Marc.|          |  Rs |                            |                |     |",
      " |_____|_____|__________|_____|____________________________|________________|_____|",
  };
}

struct scheda_scritta {
  std::vector<std::string> righe = righe_documento(dati_scheda());
  const std::string& riga(int n) const { return righe.at(n - 1); }
};

// The five forms of the time cell.
enum class forma { nessuna, partenza, transito, fermata, arrivo, altro };
const std::regex re_partenza(" {10}([0-9]{2}\\.[0-9]{2}) ");
const std::regex re_transito(" {6}([0-9]{2}\\.[0-9]{2}) {5}");
const std::regex re_fermata("(  ([0-9]{2}\\.[0-9]{2}) - ([0-9]{2}\\.[0-9]{2}) | ([0-9]{2}\\.[0-9]{2}) - ([0-9]{2}\\.[0-9]{2})  )");
const std::regex re_arrivo(" ([0-9]{2}\\.[0-9]{2}) {10}");

int minuti(const std::string& ora) { return std::stoi(ora.substr(0, 2)) * 60 + std::stoi(ora.substr(3, 2)); }

// A time cell read: its form and its times in minutes (arrival, departure;
// -1 where the form has none).
struct orario { forma tipo = forma::altro; int arrivo = -1, partenza = -1; };
orario leggi_orario(const std::string& cella) {
  std::smatch m;
  if (cella == std::string(16, ' ')) return {forma::nessuna};
  if (std::regex_match(cella, m, re_partenza)) return {forma::partenza, -1, minuti(m[1])};
  if (std::regex_match(cella, m, re_transito)) return {forma::transito, minuti(m[1]), minuti(m[1])};
  if (std::regex_match(cella, m, re_arrivo)) return {forma::arrivo, minuti(m[1]), -1};
  if (std::regex_match(cella, m, re_fermata)) {
    const int i = m[2].matched ? 2 : 4;
    return {forma::fermata, minuti(m[i]), minuti(m[i + 1])};
  }
  return {};
}

// The table rows of a page, from its first row to its last.
std::vector<std::string> righe_pagina(const scheda_scritta& s, int p) {
  return {s.righe.begin() + pagine[p].prima_riga - 1, s.righe.begin() + pagine[p].ultima_riga};
}

// The rows of the run: pages 1 to 3 without the empty rows and without the
// repeated row at the top of pages 2 and 3.
std::vector<std::string> righe_corsa(const scheda_scritta& s) {
  std::vector<std::string> corsa;
  for (int p = 0; p < 3; ++p) {
    const std::vector<std::string> r = righe_pagina(s, p);
    for (std::size_t i = p == 0 ? 0 : 1; i < r.size(); ++i)
      if (r[i] != riga_vuota) corsa.push_back(r[i]);
  }
  return corsa;
}

bool riga_stazione(const std::string& r) { return senza_spazi(celle(r).at(5)) != ""; }

}  // namespace

TEST(Scheda, RigheFisseAlLoroNumero) {
  const scheda_scritta s;
  ASSERT_EQ(s.righe.size(), 205u);
  struct caso { int da, a; std::string testo; };
  std::vector<caso> casi = {
      {1, 2, ""},
      {49, 49, std::string(regola_fondo)},
      {50, 51, ""},
      {52, 52, std::string(81, '.')},
      {53, 54, ""},
      {98, 99, std::string(riga_vuota)},
      {100, 100, std::string(regola_fondo)},
      {101, 102, ""},
      {103, 103, std::string(72, '.')},
      {104, 104, ""},
      {137, 153, std::string(riga_vuota)},
      {154, 154, std::string(regola_fondo)},
      {155, 156, ""},
      {157, 157, std::string(72, '.')},
      {158, 158, ""},
      {173, 203, std::string(riga_vuota)},
      {204, 204, std::string(regola_fondo)},
      {205, 205, ""},
  };
  for (int p = 0; p < 4; ++p) {
    const std::vector<std::string> testa = intestazione(p + 1);
    for (std::size_t i = 0; i < testa.size(); ++i) {
      const int n = pagine[p].intestazione + static_cast<int>(i);
      casi.push_back({n, n, testa[i]});
    }
  }
  for (const caso& c : casi)
    for (int n = c.da; n <= c.a; ++n) EXPECT_EQ(s.riga(n), c.testo) << "line " << n;

  // The reference points written as they are known, each once in the run.
  const std::string_view citate[] = {
      " | 140 |     | 103.000  |     | Cippo Km 103.000           |                |     |",
      " | 135 | 135 | 208.500  |     | Km 208.500                 |                |     |",
      " | 160 | 120 | 204.359  |     | Imb.Nord Gall. Km 204.359  |                |     |",
  };
  const std::vector<std::string> corsa = righe_corsa(s);
  for (std::string_view r : citate) EXPECT_EQ(std::count(corsa.begin(), corsa.end(), r), 1) << r;
}

TEST(Scheda, BarreELarghezzeDelleCelle) {
  const scheda_scritta s;
  ASSERT_EQ(s.righe.size(), 205u);
  const std::regex forme[] = {
      std::regex(" ( [1-9][0-9]|[1-9][0-9]{2}) |     "),             // line speed
      std::regex(" ( [1-9][0-9]|[1-9][0-9]{2}) |     "),             // running speed
      std::regex(" *[0-9]{1,3}\\.[0-9]{3}  | {10}"),                 // kilometre
      std::regex(" {5}"),                                            // never filled
      std::regex(" ([^ ].*[^ ]) *| {28}"),                           // place
      std::regex(".{16}"),                                           // time: its forms below
      std::regex(" (0\\.5|1\\.0|1\\.5) | {5}"),                      // recovery margin
  };
  for (int p = 0; p < 4; ++p) {
    const int h = pagine[p].intestazione;
    for (int n : {h + 1, h + 2, h + 3}) {
      EXPECT_EQ(s.riga(n).size(), 83u) << "line " << n;
      EXPECT_EQ(colonne_barre(s.riga(n)), (std::vector<int>{1, 21, 67, 82})) << "line " << n;
    }
    // The table: its three heading lines, its rows and its bottom rule.
    for (int n = h + 11; n <= pagine[p].ultima_riga + 1; ++n) {
      const std::string& r = s.riga(n);
      EXPECT_EQ(r.size(), 83u) << "line " << n;
      EXPECT_EQ(colonne_barre(r), barre_tabella) << "line " << n;
      if (n < pagine[p].prima_riga || n > pagine[p].ultima_riga) continue;
      const std::vector<std::string> c = celle(r);
      ASSERT_EQ(c.size(), 7u) << "line " << n;
      for (std::size_t i = 0; i < c.size(); ++i)
        EXPECT_TRUE(std::regex_match(c[i], forme[i])) << "line " << n << " cell " << i + 1 << ": '" << c[i] << "'";
      EXPECT_NE(leggi_orario(c[5]).tipo, forma::altro) << "line " << n << ": '" << c[5] << "'";
    }
  }
}

TEST(Scheda, PagineERipetizioni) {
  const scheda_scritta s;
  ASSERT_EQ(s.righe.size(), 205u);
  struct conto { int stazioni, punti, vuote; };
  const conto attesi[4] = {{23, 9, 0}, {18, 11, 2}, {10, 8, 17}, {0, 0, 31}};
  std::vector<std::string> ultime;
  for (int p = 0; p < 4; ++p) {
    const std::vector<std::string> r = righe_pagina(s, p);
    conto c{};
    for (const std::string& riga : r) {
      if (riga == riga_vuota) {
        ++c.vuote;
        continue;
      }
      EXPECT_EQ(c.vuote, 0) << "page " << p + 1 << ": a row after the empty rows: " << riga;
      ++(riga_stazione(riga) ? c.stazioni : c.punti);
    }
    EXPECT_EQ(c.stazioni, attesi[p].stazioni) << "page " << p + 1;
    EXPECT_EQ(c.punti, attesi[p].punti) << "page " << p + 1;
    EXPECT_EQ(c.vuote, attesi[p].vuote) << "page " << p + 1;
    // Pages 2 and 3 open with the last station of the page before; the one
    // that opens page 3 is a stop.
    if (p == 1 || p == 2) {
      EXPECT_EQ(r.front(), ultime[p - 1]) << "page " << p + 1;
      EXPECT_TRUE(riga_stazione(r.front())) << "page " << p + 1;
    }
    if (p == 2) {
      EXPECT_EQ(leggi_orario(celle(r.front())[5]).tipo, forma::fermata) << r.front();
    }
    std::string ultima;
    for (const std::string& riga : r)
      if (riga != riga_vuota) ultima = riga;
    ultime.push_back(ultima);
  }

  // The reference points by kind; each holds a line speed and no time or margin.
  const std::pair<std::string_view, int> tipi[] = {
      {"Cippo Km ", 12}, {"Km ", 6},           {"Dev.I. ", 3},           {"Dev.U. ", 1},
      {"Segn.Avv. ", 2}, {"Segn.Prot. ", 1}, {"Imb.Nord Gall. Km ", 1}, {"Torrente ", 2},
  };
  std::map<std::string_view, int> contati;
  for (const std::string& r : righe_corsa(s)) {
    if (riga_stazione(r)) continue;
    const std::vector<std::string> c = celle(r);
    const std::string luogo = c[4].substr(1);
    int tipi_trovati = 0;
    for (const auto& [prefisso, quanti] : tipi)
      if (luogo.starts_with(prefisso)) ++contati[prefisso], ++tipi_trovati;
    EXPECT_EQ(tipi_trovati, 1) << r;
    EXPECT_NE(senza_spazi(c[0]), "") << r;
    EXPECT_EQ(senza_spazi(c[6]), "") << r;
  }
  for (const auto& [prefisso, quanti] : tipi) EXPECT_EQ(contati[prefisso], quanti) << prefisso;
}

TEST(Scheda, LeCinqueFormeDellOrario) {
  const scheda_scritta s;
  std::map<forma, int> contate;
  for (int p = 0; p < 3; ++p)
    for (const std::string& r : righe_pagina(s, p)) ++contate[leggi_orario(celle(r)[5]).tipo];
  // Rows standing twice count twice: one single time and one stop repeat at the page breaks.
  EXPECT_EQ(contate[forma::partenza], 1);
  EXPECT_EQ(contate[forma::transito], 42);
  EXPECT_EQ(contate[forma::fermata], 7);
  EXPECT_EQ(contate[forma::arrivo], 1);
  EXPECT_EQ(contate[forma::altro], 0);
}

TEST(Scheda, ConcordaConLeStazioniEGliOrariDelTreno) {
  const scheda_scritta s;
  ASSERT_EQ(s.righe.size(), 205u);
  const treno_sorgente t = treno_scritto();
  ASSERT_EQ(t.stazioni.size(), 49u);

  // The heading names the origin and the destination, in columns 45 to 66.
  for (int p = 0; p < 3; ++p) {
    const int h = pagine[p].intestazione;
    EXPECT_EQ(senza_spazi(s.riga(h + 2).substr(45, 22)), t.stazioni.front().nome) << "page " << p + 1;
    EXPECT_EQ(senza_spazi(s.riga(h + 3).substr(45, 22)), t.stazioni.back().nome) << "page " << p + 1;
  }

  const std::vector<std::string> corsa = righe_corsa(s);
  std::size_t k = 0;              // the next station of the train source
  double km_prima = -1;           // kilometre of the row before
  int ora_prima = -1;             // last time of the row before
  std::string stazione_prima;     // name of the station before
  std::vector<std::string> in_attesa;  // points that name the next station
  for (const std::string& r : corsa) {
    SCOPED_TRACE(r);
    const std::vector<std::string> c = celle(r);
    const std::string luogo = senza_spazi(c[4]);
    const double km = std::stod(c[2]);
    EXPECT_GT(km, km_prima);
    km_prima = km;

    if (!riga_stazione(r)) {
      // A kilometre post, a kilometre point or a tunnel mouth names its own kilometre.
      const std::size_t dove_km = luogo.find("Km ");
      if (dove_km != std::string::npos) {
        EXPECT_EQ(luogo.substr(dove_km + 3), senza_spazi(c[2]));
      }
      for (std::string_view prima : {"Dev.I. ", "Segn.Avv. ", "Segn.Prot. "})
        if (luogo.starts_with(prima)) in_attesa.push_back(luogo.substr(prima.size()));
      if (luogo.starts_with("Dev.U. ")) {
        std::string breve = luogo.substr(7);
        if (breve.ends_with(".")) breve.pop_back();
        EXPECT_TRUE(stazione_prima.starts_with(breve)) << stazione_prima;
      }
      continue;
    }

    ASSERT_LT(k, t.stazioni.size());
    const stazione_sorgente& st = t.stazioni[k];
    EXPECT_EQ(luogo, st.nome);
    for (const std::string& nome : in_attesa) EXPECT_EQ(nome, st.nome);
    in_attesa.clear();
    char km_atteso[16];
    std::snprintf(km_atteso, sizeof km_atteso, "%.3f", st.posizione / 1000.0);
    EXPECT_EQ(senza_spazi(c[2]), km_atteso);

    const orario o = leggi_orario(c[5]);
    const int ora_sorgente = st.ore * 60 + st.minuti;
    const bool con_ora = st.ore != 0 || st.minuti != 0;
    if (k == 0) {
      // The timetable's departure: ten minutes before the train starts.
      EXPECT_EQ(o.tipo, forma::partenza);
      EXPECT_EQ(o.partenza, ora_sorgente - 10);
    } else if (k + 1 == t.stazioni.size()) {
      EXPECT_EQ(o.tipo, forma::arrivo);
      EXPECT_EQ(o.arrivo, ora_sorgente);
    } else if (con_ora) {
      EXPECT_EQ(o.tipo, forma::fermata);
      EXPECT_EQ(o.partenza, ora_sorgente);
      EXPECT_LT(o.arrivo, o.partenza);
    } else {
      EXPECT_EQ(o.tipo, forma::transito);
    }
    if (o.arrivo >= 0) {
      EXPECT_GT(o.arrivo, ora_prima);
    }
    ora_prima = o.partenza >= 0 ? o.partenza : o.arrivo;
    stazione_prima = st.nome;
    ++k;
  }
  EXPECT_EQ(k, t.stazioni.size());
  EXPECT_TRUE(in_attesa.empty());
}

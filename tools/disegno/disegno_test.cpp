// The picture of a packed scenario, drawn from what the real packer packs.
#include "tools/disegno/disegno.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "compiler/memorizza_dati.h"
#include "packer/file_imballati.h"
#include "packer/imballa.h"
#include "prove/disegno.h"
#include "prove/tre_fermate.h"
#include "tools/disegno/foglio.h"
#include "formato/testo_1252.h"

namespace {

// Packs the two sources with the packer's own stages and reads the three
// packed files back with the decoders; where asked, the metres of the points
// that the approach pass laid, as its register tells them.
std::unique_ptr<scenario> imballa(const std::string& linea, const std::string& treno,
                                  std::vector<int64_t>* approcci = nullptr) {
  scenario_compilato f = memorizza_dati("Prova", "7", 1, {"Prova_linea.txt", linea}, {"Prova_7-.txt", treno});
  auto s = std::make_unique<scenario>();
  s->nome_scenario = "Prova";
  s->numero_treno = "7";
  EXPECT_FALSE(completa_scenario(f.scenario, f.registro));
  if (approcci)
    for (std::size_t c = 0; c < f.registro.origini_celle.size(); ++c)
      if (f.registro.origini_celle[c].da_approcci) approcci->push_back(static_cast<int64_t>(c) * 50);
  imballa_scenario(f.scenario, [&s](file_imballato quale, const produttore& produci) {
    const std::string byte = in_memoria(produci);
    std::string motivo;
    switch (quale) {
      case file_imballato::percorso: EXPECT_TRUE(decodifica_percorso(byte, *s, motivo)) << motivo; break;
      case file_imballato::stazioni: EXPECT_TRUE(decodifica_stazioni(byte, *s, motivo)) << motivo; break;
      case file_imballato::linea: EXPECT_TRUE(decodifica_linea(byte, *s, motivo)) << motivo; break;
    }
  });
  return s;
}

struct documento {
  std::vector<elemento_xml> elementi;
  double larghezza = 0, altezza = 0;

  const elemento_xml* con_id(const std::string& id) const {
    for (const auto& e : elementi)
      if (e.attributi.count("id") && e.attributi.at("id") == id) return &e;
    return nullptr;
  }
  std::vector<std::string> testi() const {
    std::vector<std::string> t;
    for (const auto& e : elementi)
      if (e.nome == "text") t.push_back(e.testo);
    return t;
  }
};

// The document read back: well-formed, its root an <svg> with a viewBox from
// the origin, and every point of every line inside that box.
documento leggi_disegno(const std::string& svg) {
  documento d;
  std::string errore;
  EXPECT_TRUE(leggi_xml(svg, d.elementi, errore)) << errore;
  if (d.elementi.empty()) return d;
  EXPECT_EQ(d.elementi[0].nome, "svg");
  const std::vector<double> box = numeri(d.elementi[0].attributi["viewBox"]);
  EXPECT_EQ(box.size(), 4u);
  if (box.size() != 4) return d;
  EXPECT_EQ(box[0], 0);
  EXPECT_EQ(box[1], 0);
  d.larghezza = box[2];
  d.altezza = box[3];
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);
  for (const auto& e : d.elementi) {
    if (e.nome != "polyline") continue;
    const auto punti = punti_polilinea(e.attributi.at("points"));
    EXPECT_GE(punti.size(), 2u);
    for (const punto_svg& p : punti) {
      EXPECT_TRUE(p.x >= 0 && p.x <= d.larghezza && p.y >= 0 && p.y <= d.altezza)
          << e.attributi.at("class") << " point " << p.x << "," << p.y << " outside the viewBox";
    }
  }
  return d;
}

std::optional<punto> ultimo_punto(const std::array<asse_linea, 2>& g, std::size_t& metro) {
  for (std::size_t m = std::max(g[0].tag.size(), g[1].tag.size()); m-- > 0;) {
    const auto x = punto_piano(g, 0, m), y = punto_piano(g, 1, m);
    if (x && y) {
      metro = m;
      return punto{*x, *y};
    }
  }
  return std::nullopt;
}

}  // namespace

TEST(SemplificaLinea, TieneSoloIPuntiCheSiVedono) {
  const std::vector<punto> retta = [] {
    std::vector<punto> p;
    for (int i = 0; i <= 1000; ++i) p.push_back({i * 0.5, i * 0.25});
    return p;
  }();
  struct caso {
    const char* cosa;
    std::vector<punto> linea;
    std::size_t tenuti;
  };
  const caso casi[] = {
      {"nothing", {}, 0},
      {"one point", {{1, 1}}, 1},
      {"two points", {{1, 1}, {2, 2}}, 2},
      {"a straight line", retta, 2},
      {"a corner", {{0, 0}, {5, 0}, {10, 0}, {10, 5}, {10, 10}}, 3},
      {"a bump above the tolerance", {{0, 0}, {5, 0.3}, {10, 0}}, 3},
      {"a bump well within it", {{0, 0}, {5, 0.1}, {10, 0}}, 2},
      {"points crowded on a corner", {{0, 0}, {10, 0}, {10.05, 0.05}, {10.05, 10}}, 3},
      {"a closed loop", {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}}, 5},
  };
  for (const caso& c : casi) {
    const auto s = semplifica_linea(c.linea, 0.25);
    EXPECT_EQ(s.size(), c.tenuti) << c.cosa;
    if (!c.linea.empty() && !s.empty()) {
      EXPECT_EQ(s.front().x, c.linea.front().x) << c.cosa;
      EXPECT_EQ(s.back().y, c.linea.back().y) << c.cosa;
    }
  }
}

TEST(SemplificaLinea, OgniPuntoTolto_StaEntroLaTolleranza) {
  // A wavy line of 20000 points: every point dropped lies within the
  // tolerance of the segment that replaced it.
  std::vector<punto> onda;
  for (int i = 0; i < 20000; ++i) onda.push_back({i * 0.05, 30 * std::sin(i * 0.002) + std::sin(i * 0.05)});
  const double tolleranza = 0.25;
  const auto s = semplifica_linea(onda, tolleranza);
  EXPECT_LT(s.size(), onda.size() / 10);
  std::size_t k = 0;
  for (const punto& p : onda) {
    while (k + 1 < s.size() && s[k + 1].x < p.x) ++k;
    const punto a = s[k], b = s[std::min(k + 1, s.size() - 1)];
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double d = std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / std::hypot(dx, dy);
    ASSERT_LE(d, tolleranza + 1e-9) << "at x " << p.x;
  }
}

TEST(DisegnaScenario, UnaCurva_LaFineStaDoveLUltimoPuntoDelPiano) {
  const auto s = imballa(linea_una_curva, treno_due_stazioni);
  const documento d = leggi_disegno(disegna_scenario(*s));

  const elemento_xml* traccia = d.con_id("traccia");
  const elemento_xml* oltre = d.con_id("oltre");
  const elemento_xml* scala = d.con_id("scala");
  ASSERT_TRUE(traccia && oltre && scala);
  const auto punti_traccia = punti_polilinea(traccia->attributi.at("points"));
  const auto punti_oltre = punti_polilinea(oltre->attributi.at("points"));
  // Pixels per metre, read from the scale bar ("M x,y h LENGTH").
  const std::string barra = scala->attributi.at("d");
  const double px_barra = std::stod(barra.substr(barra.find('h') + 1));
  const double px_metro = px_barra / std::stod(scala->attributi.at("data-metri"));

  std::size_t ultimo = 0;
  const auto fine_piano = ultimo_punto(s->griglia_linea.letti, ultimo);
  ASSERT_TRUE(fine_piano);
  EXPECT_EQ(ultimo, 6000u + 7000 - 2) << "the last two metres of a plan are never computed";
  const auto inizio_piano = punto{*punto_piano(s->griglia_linea.letti, 0, 0), *punto_piano(s->griglia_linea.letti, 1, 0)};
  const auto fine_percorso = punto{*punto_piano(s->griglia_linea.letti, 0, 6000), *punto_piano(s->griglia_linea.letti, 1, 6000)};

  // Where a plan point must stand: the same scale on both axes, north up.
  const punto_svg origine = punti_traccia.front();
  auto atteso = [&](punto m) {
    return punto_svg{origine.x + (m.x - inizio_piano.x) * px_metro, origine.y - (m.y - inizio_piano.y) * px_metro};
  };
  const double scarto = 0.2 + 1000 * 0.05 / px_barra;  // rounding to a tenth of a pixel
  struct caso {
    const char* cosa;
    punto_svg disegnato;
    punto piano;
  };
  const caso casi[] = {
      {"the last point of the plan", punti_oltre.back(), *fine_piano},
      {"the route's end on the track", punti_traccia.back(), fine_percorso},
      {"the route's end where the run beyond it starts", punti_oltre.front(), fine_percorso},
  };
  for (const caso& c : casi) {
    const punto_svg a = atteso(c.piano);
    EXPECT_NEAR(c.disegnato.x, a.x, scarto) << c.cosa;
    EXPECT_NEAR(c.disegnato.y, a.y, scarto) << c.cosa;
  }
  // The curve turns the track south: the run beyond the end heads down the sheet.
  EXPECT_GT(punti_oltre.back().y, punti_oltre.front().y);
  // The start's ring and the end's square sit on the track's two ends.
  const elemento_xml* partenza = d.con_id("partenza");
  const elemento_xml* arrivo = d.con_id("arrivo");
  ASSERT_TRUE(partenza && arrivo);
  EXPECT_NEAR(std::stod(partenza->attributi.at("cx")), origine.x, 0.15);
  EXPECT_NEAR(std::stod(partenza->attributi.at("cy")), origine.y, 0.15);
  EXPECT_NEAR(std::stod(arrivo->attributi.at("x")) + 5.5, punti_traccia.back().x, 0.15);
  EXPECT_NEAR(std::stod(arrivo->attributi.at("y")) + 5.5, punti_traccia.back().y, 0.15);
}

TEST(DisegnaScenario, NomiEScritte_InTestoXml) {
  const auto s = imballa(linea_una_curva, treno_due_stazioni);
  const std::string svg = disegna_scenario(*s);
  const documento d = leggi_disegno(svg);
  const auto testi = d.testi();
  auto conta = [&](const std::string& t) { return std::count(testi.begin(), testi.end(), t); };
  // Each station is named on the plan and above the profiles; the packed
  // single-byte name is read as Windows-1252.
  EXPECT_EQ(conta("SANT'ANNA & C."), 2);
  EXPECT_EQ(conta("CITT\xC3\x80 <ALTA>"), 2);
  EXPECT_EQ(conta("(Km 2+996)"), 1);
  EXPECT_EQ(conta("Scenario Prova, train 7"), 1);
  EXPECT_EQ(conta("60"), 1) << "the slow order's speed";
}

TEST(DisegnaScenario, FileStraniNonRomponoIlDisegno) {
  // What a damaged or hand-made set of files may hold: no line plan, a plan
  // with points that are not numbers or lie absurdly far, cells that name
  // slots outside the table, a name with control bytes, no route length.
  const auto buono = imballa(linea_una_curva, treno_due_stazioni);
  struct caso {
    const char* cosa;
    void (*guasta)(scenario&);
  };
  const caso casi[] = {
      {"no line plan", [](scenario& s) { s.griglia_linea.letti = {}; }},
      {"a plan of odd points",
       [](scenario& s) {
         for (std::size_t m = 100; m < 200; ++m) s.griglia_linea.letti[0].valore[m] = std::numeric_limits<double>::quiet_NaN();
         s.griglia_linea.letti[1].valore[300] = std::numeric_limits<double>::infinity();
         s.griglia_linea.letti[1].valore[400] = 1e300;
       }},
      {"board cells naming slots outside the table",
       [](scenario& s) {
         s.percorso[10].tipo = 14;
         s.percorso[10].dato1 = -1;
         s.percorso[11].tipo = 14;
         s.percorso[11].dato1 = 32767;
       }},
      {"a name with control bytes", [](scenario& s) { s.tabella_stazioni[1].nome = std::string("A\x01\x1F\x7F", 4); }},
      {"a name longer than the sheet", [](scenario& s) { s.tabella_stazioni[2].nome = std::string(400, 'W'); }},
      {"no route length and no grid",
       [](scenario& s) {
         s.tabella_stazioni[84].valore2 = 0;
         s.percorso.clear();
       }},
      {"a route length far beyond the grid", [](scenario& s) { s.tabella_stazioni[84].valore2 = 2000000000; }},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    auto s = std::make_unique<scenario>(*buono);
    c.guasta(*s);
    const std::string svg = disegna_scenario(*s);
    const documento d = leggi_disegno(svg);
    EXPECT_GT(d.altezza, 0);
    // Every station is still named over the profiles, and on the plan where there is one.
    const auto testi = d.testi();
    for (int j = 1; j <= 2; ++j) {
      // Read as Windows-1252; a control byte, which XML cannot carry, shows as '?'.
      const std::string nome = s->tabella_stazioni[j].nome[0] == 'A' ? "A??\x7F" : utf8_da_1252(s->tabella_stazioni[j].nome);
      const long volte = s->griglia_linea.letti[0].tag.empty() ? 1 : 2;
      EXPECT_EQ(std::count(testi.begin(), testi.end(), nome), volte) << nome.substr(0, 20);
    }
  }
}

namespace {

// The steps of a path of absolute M, H and V commands (the line speed limit):
// each level from one x to the next.
struct gradino {
  double x0, x1, y;
};
std::vector<gradino> gradini_del_percorso(const std::string& d) {
  std::vector<gradino> g;
  double x = 0, y = 0;
  std::size_t i = 0;
  auto numero = [&] {
    std::size_t usati = 0;
    const double v = std::stod(d.substr(i), &usati);
    i += usati;
    return v;
  };
  while (i < d.size()) {
    const char c = d[i++];
    if (c == 'M') {
      x = numero();
      ++i;  // ','
      y = numero();
    } else if (c == 'H') {
      const double x1 = numero();
      g.push_back({x, x1, y});
      x = x1;
    } else if (c == 'V') {
      y = numero();
    }
  }
  return g;
}

// The elements `nome` of class `classe`, in order; only those of a section
// (not the legend's samples) when `di_sezione`.
std::vector<const elemento_xml*> di_classe(const documento& d, const std::string& nome, const std::string& classe,
                                           bool di_sezione = false) {
  std::vector<const elemento_xml*> r;
  for (const auto& e : d.elementi)
    if (e.nome == nome && e.attributi.count("class") && e.attributi.at("class") == classe &&
        (!di_sezione || e.attributi.count("data-sezione")))
      r.push_back(&e);
  return r;
}

}  // namespace

TEST(DisegnaScenario, LaMarciaPiuVeloce_SottoIlLimiteEPerOgniFermata) {
  struct caso {
    const char* nome;
    std::string linea, treno;
    opzioni_marcia opzioni;
    std::size_t tardi;  // sections that cannot be kept
  };
  opzioni_marcia lenta;
  lenta.velocita_massima_kmh = 40;
  const caso casi[] = {
      // Limits of 120 and 90 km/h, a slow order and a speed-reduction point; 4 km in 5 minutes.
      {"a curve", linea_una_curva, treno_due_stazioni, {}, 0},
      {"a curve at 40 km/h", linea_una_curva, treno_due_stazioni, lenta, 1},
      // Three stops; C - D cannot be kept (about 451 s for 420).
      {"three stops", linea_tre_fermate(), treno_tre_fermate(), {}, 1},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const auto s = imballa(c.linea, c.treno);
    const documento d = leggi_disegno(disegna_scenario(*s, c.opzioni));

    // The speed, point by point, at or under the line's limit where it stands
    // (within a tenth of a pixel, to which the picture rounds).
    const auto velocita = di_classe(d, "polyline", "marcia_velocita");
    ASSERT_FALSE(velocita.empty());
    // The limit's path: the longest of its class (the legend's samples are short).
    std::string limite;
    for (const elemento_xml* e : di_classe(d, "path", "velocita"))
      if (e->attributi.at("d").size() > limite.size()) limite = e->attributi.at("d");
    const std::vector<gradino> gradini = gradini_del_percorso(limite);
    std::size_t punti = 0;
    for (const elemento_xml* e : velocita)
      for (const punto_svg& p : punti_polilinea(e->attributi.at("points"))) {
        double y_limite = INFINITY;  // the highest limit (the least y) within reach of the point
        for (const gradino& g : gradini)
          if (g.x0 <= p.x + 0.15 && p.x - 0.15 <= g.x1) y_limite = std::min(y_limite, g.y);
        ASSERT_TRUE(std::isfinite(y_limite)) << "no limit at x " << p.x;
        EXPECT_GE(p.y, y_limite - 0.1) << "the run above the limit at x " << p.x;
        ++punti;
      }
    EXPECT_GT(punti, 10u);

    // The time against distance: each section's run starts at its
    // departure's dot and ends at its arrival's stop, above the arrival's
    // ring (earlier) where the section can be kept, below it where not.
    const auto partenze = di_classe(d, "circle", "partenza_orario", true);
    const auto arrivi = di_classe(d, "circle", "arrivo_orario", true);
    EXPECT_EQ(di_classe(d, "polyline", "marcia_tempo tardi").size(), c.tardi);
    EXPECT_EQ(di_classe(d, "rect", "senza_margine", true).size(), c.tardi);
    EXPECT_EQ(di_classe(d, "text", "ritardo").size(), c.tardi);
    ASSERT_EQ(arrivi.size(), partenze.size());
    ASSERT_TRUE(d.con_id("orario"));

    // Every stop's position on the route kilometres' axis.
    std::vector<double> fermate;
    const double lunghezza = s->tabella_stazioni[slot_treno_percorso].valore2;
    for (int j = slot_prima_stazione; j < slot_cartelli && !s->tabella_stazioni[j].nome.empty(); ++j)
      if (s->tabella_stazioni[j].codice != 0)
        fermate.push_back(disegno::asse_da + s->tabella_stazioni[j].valore3 / lunghezza * (disegno::asse_a - disegno::asse_da));
    ASSERT_EQ(fermate.size(), partenze.size() + 1);

    for (std::size_t k = 0; k + 1 < fermate.size(); ++k) {
      const double xp = std::stod(partenze[k]->attributi.at("cx")), yp = std::stod(partenze[k]->attributi.at("cy"));
      const double xa = std::stod(arrivi[k]->attributi.at("cx")), ya = std::stod(arrivi[k]->attributi.at("cy"));
      EXPECT_NEAR(xp, fermate[k], 0.1) << "departure " << k;
      EXPECT_NEAR(xa, fermate[k + 1], 0.1) << "arrival " << k;
      const elemento_xml* corsa = d.con_id("tempo_" + std::to_string(k));
      ASSERT_TRUE(corsa) << "section " << k;
      const auto punti_corsa = punti_polilinea(corsa->attributi.at("points"));
      EXPECT_NEAR(punti_corsa.front().x, xp, 0.1) << "the run of section " << k << " does not leave its stop";
      EXPECT_NEAR(punti_corsa.front().y, yp, 0.1) << "the run of section " << k << " does not leave on time";
      const punto_svg fine = punti_corsa.back();
      EXPECT_NEAR(fine.x, xa, 0.1) << "the run of section " << k << " does not reach its stop";
      const bool tenuta = corsa->attributi.at("class") == "marcia_tempo";
      if (tenuta) EXPECT_LE(fine.y, ya + 0.1) << "section " << k;
      else EXPECT_GT(fine.y, ya) << "section " << k;
    }
  }
}

namespace {

// Where each mark of a path starts: the point after each "M".
std::vector<punto_svg> inizi(const elemento_xml* e) {
  std::vector<punto_svg> p;
  if (!e) return p;
  const std::string& d = e->attributi.at("d");
  for (std::size_t i = d.find('M'); i != std::string::npos; i = d.find('M', i + 1)) {
    std::size_t usati = 0;
    const double x = std::stod(d.substr(i + 1), &usati);
    p.push_back({x, std::stod(d.substr(i + 2 + usati))});
  }
  return p;
}

// The x of every mark of a path, each drawn from its start by a fixed
// offset: `centro` puts back that offset.
std::vector<double> x_dei_segni(const elemento_xml* e, double centro) {
  std::vector<double> x;
  for (const punto_svg& p : inizi(e)) x.push_back(p.x + centro);
  return x;
}

// The x on the profiles' axis of each metre of `metri` on a route of `lunghezza`.
std::vector<double> x_sull_asse(const std::vector<int64_t>& metri, double lunghezza) {
  std::vector<double> x;
  for (const int64_t m : metri)
    x.push_back(disegno::asse_da + static_cast<double>(m) / lunghezza * (disegno::asse_a - disegno::asse_da));
  return x;
}

void stessi_x(std::vector<double> disegnati, std::vector<double> attesi, const char* cosa) {
  std::sort(disegnati.begin(), disegnati.end());
  std::sort(attesi.begin(), attesi.end());
  ASSERT_EQ(disegnati.size(), attesi.size()) << cosa;
  for (std::size_t i = 0; i < attesi.size(); ++i) EXPECT_NEAR(disegnati[i], attesi[i], 0.1) << cosa << " " << i;
}

}  // namespace

TEST(DisegnaScenario, PuntiDiApproccio_NonComeQuelliDellAutore) {
  // The slow order at 2500 m gets points before and along it from the
  // approach pass; the author wrote one speed-reduction point at 3500 m. A
  // point the author wrote at 180 km/h cannot be told from the packer's:
  // it is drawn as one.
  struct caso {
    const char* cosa;
    const char* abbattimento;  // the author's row
    std::vector<int64_t> dell_autore, come_approccio;  // the author's point drawn as the author's, as the packer's
  };
  const caso casi[] = {
      {"the author's point at 50 km/h", "abbattimento,   3500,   50", {3500}, {}},
      {"the author's point at 180 km/h", "abbattimento,   3500,   180", {}, {3500}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    std::string treno = treno_due_stazioni;
    const std::string riga = "abbattimento,   3500,   50";
    treno.replace(treno.find(riga), riga.size(), c.abbattimento);
    std::vector<int64_t> approcci;
    const auto s = imballa(linea_una_curva, treno, &approcci);
    ASSERT_GE(approcci.size(), 4u) << "three before the slow order and one along it";
    const documento d = leggi_disegno(disegna_scenario(*s));
    const double lunghezza = s->tabella_stazioni[slot_treno_percorso].valore2;

    approcci.insert(approcci.end(), c.come_approccio.begin(), c.come_approccio.end());
    stessi_x(x_dei_segni(d.con_id("abbattimenti"), 3.5), x_sull_asse(c.dell_autore, lunghezza),
             "the author's triangles");
    stessi_x(x_dei_segni(d.con_id("approcci"), 2.5), x_sull_asse(approcci, lunghezza), "the approach points");
    const auto testi = d.testi();
    EXPECT_EQ(std::count(testi.begin(), testi.end(), "packer's approach point, 180 km/h"), 1);
  }
}

TEST(DisegnaScenario, StazioneOltreLaFine_NonSullaFineDellAsse) {
  // A third stop, OLTRE, on the 6 km route: at its end, or past it (the
  // compiler warns; the train never gets there).
  struct caso {
    const char* cosa;
    int metro;
    const char* aggiunta;  // what its name adds over the profiles
  };
  const caso casi[] = {
      {"at the route's end", 6000, nullptr},
      {"past the route's end", 7500, "(past the end, at 7.5 km)"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    std::string treno = treno_due_stazioni;
    treno.insert(treno.find("rallentamento"), "stazione,    " + std::to_string(c.metro) +
                                                  ",  12,  400,  1, 0, 0,  4,1,0,  2,1,1,    1,  8,9, 0, OLTRE\r\n");
    const auto s = imballa(linea_una_curva, treno);
    const std::string svg = disegna_scenario(*s);
    const documento d = leggi_disegno(svg);

    // Named on the plan and over the profiles, as every station is.
    const auto testi = d.testi();
    EXPECT_EQ(std::count(testi.begin(), testi.end(), "OLTRE"), 2);
    const elemento_xml* nome = nullptr;
    const elemento_xml* aggiunta = nullptr;
    for (std::size_t i = 0; i < d.elementi.size(); ++i) {
      const elemento_xml& e = d.elementi[i];
      if (e.testo != "OLTRE" || !e.attributi.count("class") || e.attributi.at("class") != "nome stazione") continue;
      nome = &e;
      if (i + 1 < d.elementi.size() && d.elementi[i + 1].nome == "tspan") aggiunta = &d.elementi[i + 1];
    }
    ASSERT_TRUE(nome);
    EXPECT_EQ(aggiunta ? aggiunta->testo : "", c.aggiunta ? c.aggiunta : "");

    // The station's line down the panels stands at the axis's end only for
    // the station that stands there; the one past it has an arrow from
    // there on, in its names' row and at its arrival in the timetable, and
    // its label ends before the arrow.
    std::vector<double> linee;
    std::vector<double> frecce_y;  // where the arrows from the axis's end stand
    for (const auto& e : d.elementi) {
      if (e.nome != "path" || !e.attributi.count("class")) continue;
      if (e.attributi.at("class") == "linee_stazioni") linee = x_dei_segni(&e, 0);
      if (e.attributi.at("class") == "oltre_fine")
        for (const punto_svg& p : inizi(&e))
          if (std::fabs(p.x - disegno::asse_a) < 0.1) frecce_y.push_back(p.y);
    }
    EXPECT_EQ(std::count_if(linee.begin(), linee.end(), [](double x) { return std::fabs(x - disegno::asse_a) < 0.1; }),
              c.aggiunta ? 0 : 1);
    EXPECT_EQ(frecce_y.size(), c.aggiunta ? 2u : 0u);
    if (c.aggiunta) {
      const double x = std::stod(nome->attributi.at("x")), y = std::stod(nome->attributi.at("y"));
      const double larghezza = static_cast<double>(std::string("OLTRE ").size() + std::strlen(c.aggiunta)) * 11 * 0.5;
      EXPECT_LE(x + larghezza, disegno::asse_a) << "the label runs over the arrow";
      EXPECT_EQ(std::count_if(frecce_y.begin(), frecce_y.end(), [&](double f) { return std::fabs(f - (y - 4)) < 0.1; }),
                1) << "no arrow beside the name";
    }
  }
}

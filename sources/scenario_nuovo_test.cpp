// The starter scenario: every field it holds is a row's or a comment, every
// row is read, it compiles and packs clean, and its timetable can be kept.
#include "sources/scenario_nuovo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "analisi/marcia.h"
#include "compiler/lettore_campi.h"
#include "porta/compila.h"
#include "packer/imballa.h"

namespace {

// A row as the source holds it: its keyword, its values, and where it stands.
struct riga_sorgente {
  std::string parola;
  std::vector<int64_t> numeri;
  std::string testo;  // a station's name, a board's text
  int32_t riga = 0;
};

struct lettura {
  std::vector<riga_sorgente> righe;
  std::vector<std::string> commenti;  // with the section each stands in: "prima", "generale", "corpo"
  std::vector<std::string> sezioni;
  std::vector<std::string> estranei;  // fields that are neither
};

bool parentesi(const std::string& t) { return t.find('[') != std::string::npos && t.find(']') != std::string::npos; }

// How many numbers, and whether a text, follow a keyword of the starter.
bool valori_di(const std::string& parola, int& numeri, bool& testo) {
  static const std::map<std::string, std::pair<int, bool>> valori = {
      {"lunghezza percorso", {1, false}},     {"progressiva chilometrica uno", {3, false}},
      {"progressiva chilometrica due", {3, false}}, {"progressiva chilometrica tre", {3, false}},
      {"sfondo uno", {1, false}},             {"sfondo due", {1, false}},
      {"sfondo tre", {1, false}},             {"ripetizione segnali 4 codici", {2, false}},
      {"pendenza", {2, false}},               {"montagna", {3, false}},
      {"indicatori_vmax", {9, false}},        {"cartello_indicatore", {1, true}},
      {"numero vetture", {1, false}},         {"percentuale massa frenata", {1, false}},
      {"sabbia", {1, false}},                 {"orologio", {3, false}},
      {"aderenza", {2, false}},               {"velocita", {2, false}},
      {"stazione", {16, true}},               {"rallentamento", {6, false}},
      {"segnale", {11, false}},
  };
  if (parola.rfind("curva", 0) == 0) {  // curvad1 ... curvas6
    numeri = 2;
    testo = false;
    return true;
  }
  const auto v = valori.find(parola);
  if (v == valori.end()) return false;
  numeri = v->second.first;
  testo = v->second.second;
  return true;
}

// Walks `testo` field by field as the parsers cut it, each known keyword
// taking its values; bracketed fields are comments or headings. In the line
// source (`generale`) the general section runs from "[generale]" to the
// first bracketed field that does not start with a hyphen.
lettura leggi_campi(const std::string& testo, bool generale) {
  lettura l;
  lettore_campi c = apri_campi(testo);
  std::string sezione = "prima";
  std::string t;
  while (leggi_testo(c, t)) {
    if (parentesi(t)) {
      if (t == "[generale]") {
        sezione = generale ? "generale" : "corpo";
        l.sezioni.push_back(t);
      } else if (sezione == "generale" && t[0] != '-') {
        sezione = "corpo";
        l.sezioni.push_back(t);
      } else if (t.find(' ') == std::string::npos && sezione == "corpo") {
        l.sezioni.push_back(t);
      } else {
        l.commenti.push_back(sezione + ": " + t);
      }
      continue;
    }
    int numeri = 0;
    bool con_testo = false;
    if (sezione == "prima" || !valori_di(t, numeri, con_testo)) {
      l.estranei.push_back(t);
      continue;
    }
    riga_sorgente r{t, {}, "", c.ultimo.riga};
    for (int i = 0; i < numeri; ++i) {
      int64_t v = 0;
      if (!leggi_numero(c, -1000000, 1000000, v)) {
        l.estranei.push_back(t + ": a value missing");
        break;
      }
      r.numeri.push_back(v);
    }
    if (con_testo) leggi_testo(c, r.testo);
    l.righe.push_back(r);
  }
  return l;
}

std::vector<riga_sorgente> di_tipo(const lettura& l, const std::string& parola) {
  std::vector<riga_sorgente> r;
  for (const riga_sorgente& x : l.righe)
    if (x.parola == parola || (parola == "curva" && x.parola.rfind("curva", 0) == 0)) r.push_back(x);
  return r;
}

struct compilato {
  esito_compilazione f;
  std::map<file_imballato, std::string> file;
};

std::unique_ptr<compilato> compila_e_imballa(const std::string& linea, const std::string& treno) {
  auto c = std::make_unique<compilato>();
  opzioni_compilazione o;
  o.nome_scenario = "Nuovo";
  o.numero_treno = std::string(numero_treno_nuovo);
  o.con_marcia = false;
  c->f = compila({"Nuovo_linea.txt", linea}, {"Nuovo_1-.txt", treno}, o);
  if (da_imballare(c->f))
    imballa_scenario(c->f.scenario, [&](file_imballato quale, const produttore& produci) { c->file[quale] = in_memoria(produci); });
  return c;
}

int64_t cella(int64_t posizione, int piu) { return static_cast<int64_t>(std::nearbyint(posizione / 50.0)) + piu; }

}  // namespace

TEST(ScenarioNuovo, OgniCampoEDiUnaRigaODiUnCommento) {
  // Every word the parsers look for inside a field, in any case.
  const char* parole[] = {"lunghezza", "percorso", "progressiva", "sfondo", "ripetizione", "segnali",
                          "pendenza", "curva", "montagna", "indicat", "cartello", "frenata", "massa",
                          "vetture", "velocit", "aderenza", "orologio", "sabbia", "segnale",
                          "rallentamento", "abbattimento", "stazione", "[generale]"};
  for (const bool linea : {true, false}) {
    SCOPED_TRACE(linea ? "line" : "train");
    const std::string testo = linea ? linea_nuova() : treno_nuovo();
    const lettura l = leggi_campi(testo, linea);
    EXPECT_TRUE(l.estranei.empty()) << "a field that no row reads: " << l.estranei.front();
    EXPECT_GT(l.commenti.size(), 20u);
    for (const std::string& c : l.commenti) {
      std::string minuscolo = c.substr(c.find(": ") + 2);
      std::transform(minuscolo.begin(), minuscolo.end(), minuscolo.begin(), [](unsigned char x) { return std::tolower(x); });
      for (const char* p : parole) EXPECT_EQ(minuscolo.find(p), std::string::npos) << p << " in " << c;
      // In the general section a comment starts with a hyphen; in a body it holds none.
      if (c.rfind("generale: ", 0) == 0) {
        EXPECT_EQ(minuscolo.rfind("-[", 0), 0u) << c;
      }
      if (c.rfind("corpo: ", 0) == 0) {
        EXPECT_EQ(minuscolo.find('-'), std::string::npos) << c;
      }
    }
    // Headings as the packer's own sources write them, ending with "[fine]".
    ASSERT_FALSE(l.sezioni.empty());
    EXPECT_EQ(l.sezioni.front(), "[generale]");
    EXPECT_EQ(l.sezioni.back(), "[fine]");
    // CR LF after every line, plain ASCII.
    EXPECT_EQ(testo.find("\n"), testo.find("\r\n") + 1);
    EXPECT_EQ(std::count(testo.begin(), testo.end(), '\n'), std::count(testo.begin(), testo.end(), '\r'));
    EXPECT_TRUE(std::all_of(testo.begin(), testo.end(), [](char x) { return static_cast<unsigned char>(x) < 0x80; }));
  }
}

TEST(ScenarioNuovo, CompilaSenzaErroriNeAvvisiEOgniRigaELetta) {
  const std::string linea = linea_nuova(), treno = treno_nuovo();
  const auto c = compila_e_imballa(linea, treno);
  const esito_compilazione& f = c->f;
  ASSERT_EQ(f.registro.codice_errore, 0);
  EXPECT_TRUE(f.registro.errori.empty());
  EXPECT_TRUE(f.registro.avvisi.empty()) << f.registro.avvisi.front().codice << ": " << f.registro.avvisi.front().testo;
  EXPECT_EQ(c->file.size(), 3u) << "the three packed files";

  const lettura l = leggi_campi(linea, true), t = leggi_campi(treno, false);
  const auto& tab = f.scenario.tabella_stazioni;
  const auto& g = f.scenario.percorso;
  // Each row kind: how many the sources hold, and each row's mark on the build.
  struct tipo { const lettura* fonte; const char* parola; std::size_t quante; bool (*letta)(const esito_compilazione&, const riga_sorgente&); };
  const tipo tipi[] = {
      {&l, "lunghezza percorso", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_treno_percorso].valore2 == r.numeri[0] && f.scenario.percorso.size() == 381; }},
      // All three at 0 0 0: the slots stay empty whatever the ordering.
      {&l, "progressiva chilometrica uno", 1, nullptr},
      {&l, "progressiva chilometrica due", 1, nullptr},
      {&l, "progressiva chilometrica tre", 1, nullptr},
      {&l, "sfondo uno", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_scenario].valore1 == r.numeri[0]; }},
      {&l, "sfondo due", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_scenario].valore3 == r.numeri[0]; }},
      {&l, "sfondo tre", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_scenario].valore2 == r.numeri[0]; }},
      {&l, "ripetizione segnali 4 codici", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         const auto& s = f.scenario.tabella_stazioni[slot_treno];
         return s.valore1 == r.numeri[0] && s.valore2 == r.numeri[1] && s.valore3 == 4; }},
      {&l, "curva", 4, nullptr},
      {&l, "pendenza", 6, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.percorso[cella(r.numeri[0], 0)].pendenza == r.numeri[1] + 100; }},
      {&l, "montagna", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.percorso[cella(r.numeri[0], 0)].montagna == r.numeri[2] - 10; }},
      {&l, "indicatori_vmax", 6, [](const esito_compilazione& f, const riga_sorgente& r) {
         const cella_percorso& x = f.scenario.percorso[cella(r.numeri[0], 1)];
         return x.tipo == tipo_cartello_vmax && x.dato3 == 20 * r.numeri[3] + r.numeri[7] / 5; }},
      {&l, "cartello_indicatore", 3, [](const esito_compilazione& f, const riga_sorgente& r) {
         const cella_percorso& x = f.scenario.percorso[cella(r.numeri[0], 1)];
         return x.tipo == tipo_indicatore_km && f.scenario.tabella_stazioni[x.dato1].nome == r.testo; }},
      {&t, "numero vetture", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_treno_percorso].valore3 == r.numeri[0]; }},
      {&t, "percentuale massa frenata", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_treno_percorso].valore1 == r.numeri[0]; }},
      {&t, "sabbia", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.tabella_stazioni[slot_treno].intero1 == r.numeri[0]; }},
      {&t, "orologio", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         const auto& s = f.scenario.tabella_stazioni[slot_treno];
         return s.intero3 == r.numeri[0] && s.intero4 == r.numeri[1] && s.intero5 == r.numeri[2]; }},
      {&t, "aderenza", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.percorso[cella(r.numeri[0], 0)].aderenza == r.numeri[1]; }},
      {&t, "velocita", 7, [](const esito_compilazione& f, const riga_sorgente& r) {
         return f.scenario.percorso[cella(r.numeri[0], 0)].velocita * 5 == r.numeri[1]; }},
      {&t, "stazione", 4, [](const esito_compilazione& f, const riga_sorgente& r) {
         for (int j = slot_prima_stazione; j < slot_cartelli; ++j)
           if (f.scenario.tabella_stazioni[j].nome == r.testo)
             return f.scenario.tabella_stazioni[j].valore3 == r.numeri[0] &&
                    f.scenario.tabella_stazioni[j].codice == r.numeri[13] * 3600 + r.numeri[14] * 60 + r.numeri[15];
         return false; }},
      {&t, "rallentamento", 1, [](const esito_compilazione& f, const riga_sorgente& r) {
         const cella_percorso& x = f.scenario.percorso[cella(r.numeri[0], 1)];
         return x.tipo == tipo_inizio_rallentamento && x.dato1 == r.numeri[1]; }},
      {&t, "segnale", 6, [](const esito_compilazione& f, const riga_sorgente& r) {
         const cella_percorso& x = f.scenario.percorso[cella(r.numeri[0], 1)];
         return x.tipo == tipo_segnale && x.dato1 == 10 * r.numeri[2] + r.numeri[7]; }},
  };
  std::size_t attese = 0;
  for (const tipo& k : tipi) {
    attese += k.quante;
    const std::vector<riga_sorgente> righe = di_tipo(*k.fonte, k.parola);
    EXPECT_EQ(righe.size(), k.quante) << k.parola;
    for (const riga_sorgente& r : righe)
      if (k.letta) {
        EXPECT_TRUE(k.letta(f, r)) << k.parola << " at line " << r.riga;
      }
  }
  EXPECT_EQ(l.righe.size() + t.righe.size(), attese) << "a row kind left out above";
  // The curves shape the plan; the references stay zero; stations fill slots 1 to 4.
  for (int s = slot_progressiva_alta; s <= slot_progressiva_bassa; ++s) EXPECT_EQ(tab[s], record_stazione{}) << s;
  EXPECT_EQ(std::count_if(f.scenario.griglia_linea.tratti.begin(), f.scenario.griglia_linea.tratti.end(),
                          [](const tratto_linea& x) { return x.curva; }), 4);
  EXPECT_EQ(tab[5].nome, "");
  EXPECT_EQ(std::count_if(g.begin(), g.end(), [](const cella_percorso& x) { return x.tipo == tipo_punto_stazione; }), 4);
}

TEST(ScenarioNuovo, LOrarioSiRispettaConMargine) {
  const auto c = compila_e_imballa(linea_nuova(), treno_nuovo());
  const marcia m = calcola_marcia(c->f.scenario, modello_da_scenario(c->f.scenario));
  ASSERT_EQ(m.sezioni.size(), 2u);
  for (const sezione& s : m.sezioni) {
    EXPECT_TRUE(s.mantenibile) << s.da.nome;
    // Room for the driver: a tenth of the fastest time or more, as real timetables allow.
    EXPECT_GE(s.margine_percento, 10.0) << s.da.nome << " - " << s.a.nome;
    EXPECT_LE(s.margine_percento, 40.0) << s.da.nome << " - " << s.a.nome;
  }
  EXPECT_EQ(m.sezioni[0].passaggi.size(), 1u) << "BORGO FIORINO, passed";
  EXPECT_TRUE(m.senza_limite.empty());
  EXPECT_TRUE(m.anomalie.empty());
  EXPECT_TRUE(m.fuori_corsa.empty());
}

namespace {

// `testo` with a comment on a line of its own before every line after the
// first "[generale]", and after the last value of every row: "-[ ... ]" in a
// line source's general section, "[ ... ]" elsewhere.
std::string con_commenti(const std::string& testo, bool generale) {
  std::string out;
  std::string sezione = "prima";
  std::size_t inizio = 0;
  while (inizio < testo.size()) {
    const std::size_t fine = testo.find("\r\n", inizio);
    const std::string riga = testo.substr(inizio, fine - inizio);
    inizio = fine + 2;
    const bool titolo = parentesi(riga);
    if (sezione == "generale" && titolo) sezione = "corpo";
    const std::string nota = sezione == "generale" ? "-[ a note: 12 m ]" : "[ a note: 12 m ]";
    if (sezione != "prima") out += nota + "\r\n";
    out += riga;
    if (sezione != "prima" && !titolo) out += ",   " + nota;
    out += "\r\n";
    if (riga == "[generale]") sezione = generale ? "generale" : "corpo";
  }
  return out;
}

bool stesso_scenario(const esito_compilazione& a, const esito_compilazione& b) {
  return a.scenario.percorso == b.scenario.percorso && a.scenario.tabella_stazioni == b.scenario.tabella_stazioni &&
         a.scenario.griglia_linea.tratti == b.scenario.griglia_linea.tratti &&
         a.registro.codice_errore == b.registro.codice_errore;
}

}  // namespace

TEST(ScenarioNuovo, ICommentiNonCambianoNulla) {
  // The starter without its comments is the same scenario.
  const auto senza = [](const std::string& testo) {
    std::string out;
    std::size_t inizio = 0;
    while (inizio < testo.size()) {
      const std::size_t fine = testo.find("\r\n", inizio);
      std::string riga = testo.substr(inizio, fine - inizio);
      inizio = fine + 2;
      const std::size_t nota = riga.find(",   [ ");
      if (nota != std::string::npos) riga.erase(nota);
      if (riga.rfind("[ ", 0) == 0 || riga.rfind("-[ ", 0) == 0) continue;
      out += riga + "\r\n";
    }
    return out;
  };
  const std::string linea = linea_nuova(), treno = treno_nuovo();
  ASSERT_LT(senza(linea).size() * 2, linea.size());
  EXPECT_TRUE(stesso_scenario(compila_e_imballa(linea, treno)->f, compila_e_imballa(senza(linea), senza(treno))->f));

  // A comment before and after every row of the starter stripped of its own,
  // and a run of twelve in the general section, past the ten hyphenated fields
  // it passes over in a row.
  const std::string dodici = [] {
    std::string t;
    for (int i = 0; i < 12; ++i) t += "-[ a note ]\r\n";
    return t;
  }();
  std::string linea_commentata = con_commenti(senza(linea), true);
  linea_commentata.insert(linea_commentata.find("sfondo uno"), dodici);
  const std::string treno_commentato = con_commenti(senza(treno), false);
  ASSERT_NE(treno_commentato.find("VALDRESA,   [ a note: 12 m ]"), std::string::npos) << "after a name";
  ASSERT_NE(linea_commentata.find("(Km 2+000),   [ a note: 12 m ]"), std::string::npos);
  EXPECT_TRUE(stesso_scenario(compila_e_imballa(linea_commentata, treno_commentato)->f,
                              compila_e_imballa(linea, treno)->f));
}

TEST(ScenarioNuovo, UnCommentoNonPrendeIlPostoDiUnValore) {
  const std::string linea = linea_nuova(), treno = treno_nuovo();
  const auto togli = [](std::string t, const std::string& da, const std::string& a) {
    return t.replace(t.find(da), da.size(), a);
  };
  struct caso {
    const char* cosa;
    std::string linea, treno;
    int32_t errore;
    const char* campo;  // where the error stands: the field read in place of the value
  };
  const caso casi[] = {
      {"a gradient without its value", togli(linea, "2000,    6,   [ climbing ]", "2000,   [ climbing ]"), treno, 25,
       "[ climbing ]"},
      {"a signal without its last value", linea,
       togli(treno, "1, 0,   0,   [ leaving VALDRESA ]", "1, 0,   [ leaving VALDRESA ]"), 25,
       "[ leaving VALDRESA ]"},
      {"a slow order without its last value", linea,
       togli(treno, "0,  1,  60,   [ works", "0,  1,   [ works"), 25, "[ works"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.cosa);
    const auto x = compila_e_imballa(c.linea, c.treno);
    ASSERT_FALSE(x->f.registro.errori.empty());
    const errore_registrato& e = x->f.registro.errori.back();
    EXPECT_EQ(e.codice, c.errore);
    const std::string& testo = e.file == "Nuovo_linea.txt" ? c.linea : c.treno;
    const std::size_t pos = testo.find(c.campo);
    const std::size_t riga = static_cast<std::size_t>(std::count(testo.begin(), testo.begin() + static_cast<long>(pos), '\n')) + 1;
    EXPECT_EQ(e.riga, static_cast<int32_t>(riga));
    EXPECT_EQ(e.colonna, static_cast<int32_t>(pos - testo.rfind('\n', pos)));
  }

  // A name or a board text is a text: a comment where it is missing is taken as it.
  const auto senza_nome = compila_e_imballa(linea, togli(treno, "0, VALDRESA,", "0,"));
  EXPECT_EQ(senza_nome->f.scenario.tabella_stazioni[1].nome, "[ the origin: leaves at 08:00 ]");
  // A bracketed field without its hyphen ends the general section: the rows
  // after it are read in the body, where no row takes them.
  const auto senza_trattino = compila_e_imballa(togli(linea, "-[ Scenery", "[ Scenery"), treno);
  EXPECT_EQ(senza_trattino->f.registro.codice_errore, 0);
  EXPECT_EQ(senza_trattino->f.scenario.tabella_stazioni[slot_scenario].valore1, 0) << "sfondo uno lost";
  EXPECT_EQ(senza_trattino->f.scenario.tabella_stazioni[slot_treno].valore2, 0) << "the cab-signal span lost";
}

// `scenario lsp` as an editor meets it: the real program, spoken to over its
// pipes with the protocol's framing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "formato/testo_1252.h"
#include "prove/cartella.h"
#include "prove/cliente_lsp.h"
#include "prove/comando.h"
#include "sources/scenario_nuovo.h"

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

// Line `riga` (from 0) of CR LF text.
std::string riga_di(const std::string& testo, std::size_t riga) {
  std::size_t inizio = 0;
  for (std::size_t i = 0; i < riga; ++i) inizio = testo.find("\r\n", inizio) + 2;
  return testo.substr(inizio, testo.find("\r\n", inizio) - inizio);
}

// The first line (from 0) of CR LF text that begins with `inizio`.
int64_t riga_che_inizia(const std::string& testo, const std::string& inizio) {
  int64_t r = 0;
  for (std::size_t da = 0; da < testo.size(); da = testo.find("\r\n", da) + 2, ++r) {
    if (testo.compare(da, inizio.size(), inizio) == 0) return r;
    if (testo.find("\r\n", da) == std::string::npos) break;
  }
  ADD_FAILURE() << "no line begins with " << inizio;
  return -1;
}

json posizione(int64_t riga, int64_t carattere) { return {{"line", riga}, {"character", carattere}}; }

// A finding as `scenario check --json` tells it: where (file, line and
// column from 1; no file for none), how grave, its code and its text as the
// command line writes it.
struct reperto_check {
  std::string file;
  int64_t riga = 0, colonna = 0;
  int gravita = 0;
  int codice = 0;
  std::string testo;
  bool operator<(const reperto_check& o) const {
    return std::tie(file, riga, colonna, codice, testo) < std::tie(o.file, o.riga, o.colonna, o.codice, o.testo);
  }
  bool operator==(const reperto_check&) const = default;
};

std::ostream& operator<<(std::ostream& o, const reperto_check& r) {
  return o << r.file << ":" << r.riga << ":" << r.colonna << " [" << r.gravita << "] " << r.codice << " " << r.testo;
}

std::vector<reperto_check> da_check(const json& j) {
  std::vector<reperto_check> r;
  auto dove = [](const json& v, reperto_check& x) {
    if (!v["file"].is_null()) x.file = v["file"], x.riga = v["riga"], x.colonna = v["colonna"];
  };
  auto at = [](const json& v) {
    return v["posizione"].is_null() ? std::string() : " (at " + std::to_string(v["posizione"].get<int>()) + " m)";
  };
  for (const json& e : j["errori"]) {
    reperto_check x;
    dove(e, x);
    x.gravita = 1;
    x.codice = e["codice"];
    x.testo = e["descrizione"].get<std::string>() + at(e) +
              (e["dettaglio"].is_null() ? "" : "; " + e["dettaglio"].get<std::string>());
    r.push_back(x);
  }
  for (const json& a : j["avvisi"]) {
    reperto_check x;
    dove(a, x);
    x.gravita = 2;
    x.codice = a["codice"];
    x.testo = a["testo"].get<std::string>() + at(a);
    r.push_back(x);
  }
  return r;
}

class ServitoreLsp : public CartelleComando {
 protected:
  std::unique_ptr<cliente_lsp> c;
  json capacita_iniziali;

  void SetUp() override {
    CartelleComando::SetUp();
    scrivi_sorgenti_mia(linea_nuova(), treno_nuovo());
  }
  void scrivi_sorgenti_mia(const std::string& l, const std::string& t) {
    scrivi_tutto(lavoro / "Mia_linea.txt", l);
    scrivi_tutto(lavoro / "Mia_1-.txt", t);
  }
  std::string uri(const std::string& nome) const { return "file://" + (lavoro / nome).string(); }

  // Starts the server and initializes it with `capacita`.
  json avvia(json capacita = json::object()) {
    c = std::make_unique<cliente_lsp>(SCENARIO, std::vector<std::string>{"lsp"}, lavoro, uscite / "lsp.txt");
    const auto r = c->richiesta("initialize", {{"processId", nullptr}, {"rootUri", nullptr}, {"capabilities", capacita}});
    EXPECT_TRUE(r.has_value());
    c->notifica("initialized", json::object());
    return r ? (*r)["result"] : json();
  }
  void apri(const std::string& nome, const std::string& testo, int versione = 1) {
    c->notifica("textDocument/didOpen",
                {{"textDocument", {{"uri", uri(nome)}, {"languageId", "scenario"}, {"version", versione}, {"text", testo}}}});
  }
  json chiedi(const std::string& metodo, const std::string& nome, json altro = json::object()) {
    altro["textDocument"] = {{"uri", uri(nome)}};
    const auto r = c->richiesta(metodo, altro);
    EXPECT_TRUE(r.has_value()) << metodo;
    return r ? *r : json();
  }
  json diagnostiche(const std::string& nome, std::optional<int64_t> versione = std::nullopt) {
    const auto d = c->diagnostiche(uri(nome), versione);
    EXPECT_TRUE(d.has_value()) << "no diagnostics for " << nome;
    return d ? *d : json::array();
  }
  void chiudi() {
    const auto r = c->richiesta("shutdown", nullptr);
    EXPECT_TRUE(r.has_value());
    c->notifica("exit", nullptr);
    EXPECT_EQ(c->attendi_uscita(10), 0);
  }
  // The findings the published diagnostics tell, as `reperto_check`: the
  // place from 1, the column counted as the compiler counts it (UTF-16 units
  // of text with no character beyond the BMP).
  static std::vector<reperto_check> da_lsp(const json& diagnostiche, const std::string& file) {
    std::vector<reperto_check> r;
    for (const json& d : diagnostiche)
      r.push_back({file, d["range"]["start"]["line"].get<int64_t>() + 1, d["range"]["start"]["character"].get<int64_t>() + 1,
                   d["severity"], d.value("code", 0), d["message"]});
    return r;
  }
};

}  // namespace

// The scenario with a signal on a station's cell: the error at the signal's
// row and column, the station's row linked; moved off the cell, no diagnostic.
TEST_F(ServitoreLsp, SegnaleSullaStazione_ErroreAllaSuaRigaPoiNiente) {
  const std::string segnale = "segnale,    8150,   2, 4, 1, 0,  0,   1, 3, 1, 0,   0\r\n";
  std::string treno = treno_nuovo();
  treno.insert(treno.find("[fine]"), segnale);
  scrivi_tutto(lavoro / "Mia_1-.txt", treno);
  const risultato_comando check = esegui({"check", "Mia_linea.txt", "Mia_1-.txt", "--json"});
  const std::vector<reperto_check> attesi = da_check(json::parse(check.out));
  ASSERT_EQ(attesi.size(), 1u) << check.out;

  avvia();
  apri("Mia_linea.txt", linea_nuova());
  apri("Mia_1-.txt", treno);
  const json d = diagnostiche("Mia_1-.txt", 1);
  ASSERT_EQ(d.size(), 1u) << d.dump(1);
  EXPECT_EQ(da_lsp(d, "Mia_1-.txt"), attesi);
  const int64_t riga_segnale = riga_che_inizia(treno, "segnale,    8150");
  EXPECT_EQ(d[0]["range"]["start"]["line"], riga_segnale);
  EXPECT_EQ(d[0]["code"], 16);
  EXPECT_EQ(d[0]["severity"], 1);
  ASSERT_EQ(d[0]["relatedInformation"].size(), 1u);
  const json& legata = d[0]["relatedInformation"][0];
  EXPECT_EQ(legata["location"]["uri"], uri("Mia_1-.txt"));
  EXPECT_EQ(legata["location"]["range"]["start"], posizione(riga_che_inizia(treno, "stazione,    8000"), 0));
  EXPECT_NE(legata["message"].get<std::string>().find("CASTELNERO"), std::string::npos);
  EXPECT_TRUE(diagnostiche("Mia_linea.txt").empty());

  // Go to definition from the error leads to the station's row.
  const json definizione = chiedi("textDocument/definition", "Mia_1-.txt", {{"position", d[0]["range"]["start"]}});
  EXPECT_EQ(definizione["result"], json::array({legata["location"]}));

  // The edit that moves the signal off the cell: 8150 becomes 9500.
  const int64_t colonna = static_cast<int64_t>(segnale.find("8150"));
  c->notifica("textDocument/didChange",
              {{"textDocument", {{"uri", uri("Mia_1-.txt")}, {"version", 2}}},
               {"contentChanges",
                json::array({{{"range", {{"start", posizione(riga_segnale, colonna)}, {"end", posizione(riga_segnale, colonna + 4)}}},
                              {"text", "9500"}}})}});
  EXPECT_EQ(diagnostiche("Mia_1-.txt", 2), json::array());
  chiudi();
}

// The same findings as `scenario check`, codes, severities, places and texts,
// for sources with mistakes of every sort; a finding with no place in a
// source stands at the first row it names.
TEST_F(ServitoreLsp, LeDiagnosticheSonoQuelleDiCheck) {
  auto sostituisci = [](std::string t, const std::string& da, const std::string& a) {
    const std::size_t i = t.find(da);
    EXPECT_NE(i, std::string::npos) << da;
    return i == std::string::npos ? t : t.replace(i, da.size(), a);
  };
  struct caso {
    const char* nome;
    std::string linea, treno;
  } casi[] = {
      {"the starter: nothing", linea_nuova(), treno_nuovo()},
      {"warnings of the train: a misspelt keyword, a speed rounded, a name in UTF-8, a timetable too tight",
       linea_nuova(),
       sostituisci(sostituisci(sostituisci(sostituisci(treno_nuovo(), "segnale,    3600", "segnle,    3600"),
                                           "velocita,    5400,   130", "velocita,    5400,   117"),
                               "BORGO FIORINO", "BORGO FIORIN\xC3\x92"),
                   "99,   8,  9,  0, CASTELNERO", "99,   8,  2,  0, CASTELNERO")},
      {"warnings of the line: a gradient that does not fit, a misspelt keyword", 
       sostituisci(sostituisci(linea_nuova(), "pendenza,    2000,    6", "pendenza,    2000,  160"), "montagna,", "montagan,"),
       treno_nuovo()},
      {"a board on a speed board, its culprit named",
       sostituisci(linea_nuova(), "[indicazioni]", "[indicazioni]\r\ncartello_indicatore,    950,   x"), treno_nuovo()},
      {"an error of the approach pass, with no place", 
       sostituisci(linea_nuova(), "[indicazioni]",
                   "[indicazioni]\r\ncartello_indicatore, 6350, b\r\ncartello_indicatore, 6450, c"),
       treno_nuovo()},
  };
  for (const caso& k : casi) {
    SCOPED_TRACE(k.nome);
    scrivi_sorgenti_mia(k.linea, k.treno);
    const risultato_comando check = esegui({"check", "Mia_linea.txt", "Mia_1-.txt", "--json"});
    std::vector<reperto_check> attesi = da_check(json::parse(check.out));

    avvia();
    apri("Mia_linea.txt", k.linea);
    apri("Mia_1-.txt", k.treno);
    const json dl = diagnostiche("Mia_linea.txt"), dt = diagnostiche("Mia_1-.txt");
    std::vector<reperto_check> avuti = da_lsp(dl, "Mia_linea.txt"), del_treno = da_lsp(dt, "Mia_1-.txt");
    avuti.insert(avuti.end(), del_treno.begin(), del_treno.end());
    // A finding with no place: shown at its first culprit.
    for (const json& d : {dl, dt})
      for (const json& x : d)
        if (x.contains("relatedInformation") && x["range"] == x["relatedInformation"][0]["location"]["range"])
          for (reperto_check& a : avuti)
            if (a.testo == x["message"]) a.file.clear(), a.riga = a.colonna = 0;
    std::sort(attesi.begin(), attesi.end());
    std::sort(avuti.begin(), avuti.end());
    EXPECT_EQ(avuti, attesi) << check.out;
    chiudi();
  }
}

// A table of requests on the starter and what they answer: hover, completion,
// the outline, definition and the quick fixes.
TEST_F(ServitoreLsp, RichiesteERisposte) {
  std::string linea = linea_nuova(), treno = treno_nuovo();
  // A misspelt gradient.
  linea.replace(linea.find("pendenza,    4800"), 8, "pendnza,");
  // A second train with a station of its own, on disk only.
  scrivi_tutto(lavoro / "Mia_2-.txt", "[generale]\r\nstazione,   5000,  28,  200,  0, 0, 0,  1, 1, 0,  4, 1, 1,   0,   "
                                      "0,  0,  0, BIVIO ROSSO\r\n[fine]\r\n");
  avvia({{"textDocument", {{"hover", {{"contentFormat", {"plaintext"}}}},
                           {"documentSymbol", {{"hierarchicalDocumentSymbolSupport", true}}}}}});
  apri("Mia_linea.txt", linea);
  apri("Mia_1-.txt", treno);
  diagnostiche("Mia_1-.txt");
  // A line of another scenario whose general comments lost their hyphen: the
  // first ends the section, so the route length is never read.
  std::string altra = linea_nuova();
  for (std::size_t i = altra.find("-["); i != std::string::npos && i < altra.find("sfondo uno"); i = altra.find("-[", i))
    altra.erase(i, 1);
  apri("Altra_linea.txt", altra);
  diagnostiche("Altra_linea.txt");

  const int64_t pendenza = riga_che_inizia(linea, "pendenza,    2000");
  const int64_t velocita = riga_che_inizia(treno, "velocita,     900");
  const int64_t castelnero = riga_che_inizia(treno, "stazione,    8000");
  const int64_t generale_linea = riga_che_inizia(linea, "[generale]");
  const int64_t curve = riga_che_inizia(linea, "[curve]");
  const int64_t commento = riga_che_inizia(treno, "segnale,    1000");  // "[ leaving VALDRESA ]"
  const std::string riga_commento = riga_di(treno, static_cast<std::size_t>(commento));

  auto testo_hover = [](const json& r) { return r["result"].is_null() ? std::string() : r["result"]["contents"]["value"].get<std::string>(); };
  auto etichette = [](const json& r) {
    std::set<std::string> e;
    for (const json& v : r["result"]) e.insert(v["label"]);
    return e;
  };
  struct caso {
    const char* nome;
    std::string metodo, file;
    json parametri;
    std::function<void(const json&)> verifica;
  } casi[] = {
      {"hover on a gradient names its unit and what the cell keeps", "textDocument/hover", "Mia_linea.txt",
       {{"position", posizione(pendenza, 22)}},
       [&](const json& r) {
         const std::string t = testo_hover(r);
         EXPECT_NE(t.find("gradient"), std::string::npos) << t;
         EXPECT_NE(t.find("Unit: per mille"), std::string::npos) << t;
         EXPECT_NE(t.find("kept as 106 (the gradient plus 100)"), std::string::npos) << t;
         EXPECT_NE(t.find("km 2.000"), std::string::npos) << t;
         EXPECT_EQ(r["result"]["range"], json({{"start", posizione(pendenza, 22)}, {"end", posizione(pendenza, 23)}}));
       }},
      {"hover on a speed: as the cell keeps it", "textDocument/hover", "Mia_1-.txt", {{"position", posizione(velocita, 23)}},
       [&](const json& r) { EXPECT_NE(testo_hover(r).find("kept as 26 (the speed divided by 5)"), std::string::npos) << testo_hover(r); }},
      {"hover on a keyword: the row and its values", "textDocument/hover", "Mia_1-.txt", {{"position", posizione(castelnero, 3)}},
       [&](const json& r) {
         EXPECT_NE(testo_hover(r).find("name (column 17)"), std::string::npos) << testo_hover(r);
         EXPECT_NE(testo_hover(r).find("km 8.000"), std::string::npos) << testo_hover(r);
       }},
      {"hover on a heading", "textDocument/hover", "Mia_linea.txt", {{"position", posizione(curve, 2)}},
       [&](const json& r) { EXPECT_NE(testo_hover(r).find("ends the general section"), std::string::npos) << testo_hover(r); }},
      {"hover on a comment: nothing", "textDocument/hover", "Mia_linea.txt", {{"position", posizione(0, 5)}},
       [&](const json& r) { EXPECT_TRUE(r["result"].is_null()) << r.dump(); }},
      {"completion at the start of a body line: its row keywords", "textDocument/completion", "Mia_linea.txt",
       {{"position", posizione(pendenza, 0)}},
       [&](const json& r) {
         const std::set<std::string> e = etichette(r);
         for (const char* k : {"pendenza", "curvad1", "curvas6", "montagna", "indicatori_vmax", "cartello_indicatore", "[fine]"})
           EXPECT_TRUE(e.contains(k)) << k;
         EXPECT_FALSE(e.contains("lunghezza percorso"));
         EXPECT_FALSE(e.contains("stazione"));
         for (const json& v : r["result"]) EXPECT_FALSE(v["detail"].get<std::string>().empty()) << v["label"];
       }},
      {"completion in the general section: its keywords", "textDocument/completion", "Mia_linea.txt",
       {{"position", posizione(generale_linea + 2, 0)}},
       [&](const json& r) {
         const std::set<std::string> e = etichette(r);
         EXPECT_TRUE(e.contains("lunghezza percorso"));
         EXPECT_TRUE(e.contains("ripetizione segnali 9 codici"));
         EXPECT_FALSE(e.contains("pendenza"));
       }},
      {"completion before [generale]: that heading only", "textDocument/completion", "Mia_1-.txt", {{"position", posizione(0, 0)}},
       [&](const json& r) { EXPECT_EQ(etichette(r), std::set<std::string>{"[generale]"}); }},
      {"completion of a station's name: the line's trains' stations", "textDocument/completion", "Mia_1-.txt",
       {{"position", posizione(castelnero, static_cast<int64_t>(riga_di(treno, castelnero).find("CASTELNERO")) + 3)}},
       [&](const json& r) {
         const std::set<std::string> e = etichette(r);
         for (const char* k : {"VALDRESA", "BORGO FIORINO", "PIANALTA", "BIVIO ROSSO"}) EXPECT_TRUE(e.contains(k)) << k;
         EXPECT_FALSE(e.contains("stazione"));
       }},
      {"the outline of the train lists its stations with their kilometre", "textDocument/documentSymbol", "Mia_1-.txt", {},
       [&](const json& r) {
         std::vector<std::string> stazioni;
         for (const json& sezione : r["result"])
           for (const json& figlio : sezione["children"])
             if (figlio["kind"] == 23) stazioni.push_back(figlio["name"].get<std::string>() + " " + figlio["detail"].get<std::string>());
         EXPECT_EQ(stazioni, (std::vector<std::string>{"VALDRESA km 0.000 · 08:00:00", "BORGO FIORINO km 3.000",
                                                       "CASTELNERO km 8.000 · 08:09:00", "PIANALTA km 11.000 · 08:12:00"}));
       }},
      {"definition: a station's name in a comment leads to its row", "textDocument/definition", "Mia_1-.txt",
       {{"position", posizione(commento, static_cast<int64_t>(riga_commento.find("VALDRESA")) + 2)}},
       [&](const json& r) {
         ASSERT_EQ(r["result"].size(), 1u) << r.dump();
         EXPECT_EQ(r["result"][0]["range"]["start"], posizione(riga_che_inizia(treno, "stazione,       0"), 0));
       }},
      {"quick fix: the keyword the warning suggests", "textDocument/codeAction", "Mia_linea.txt",
       {{"range", {{"start", posizione(riga_che_inizia(linea, "pendnza"), 0)}, {"end", posizione(riga_che_inizia(linea, "pendnza"), 0)}}},
        {"context", {{"diagnostics", json::array()}}}},
       [&](const json& r) {
         ASSERT_EQ(r["result"].size(), 1u) << r.dump();
         const json& modifica = r["result"][0]["edit"]["changes"][uri("Mia_linea.txt")][0];
         EXPECT_EQ(modifica["newText"], "pendenza");
         EXPECT_EQ(modifica["range"]["end"]["character"], 7);
       }},
      {"quick fix: the general section's comments given their hyphen", "textDocument/codeAction", "Altra_linea.txt",
       {{"range", {{"start", posizione(0, 0)}, {"end", posizione(40, 0)}}}, {"context", {{"diagnostics", json::array()}}}},
       [&](const json& r) {
         ASSERT_EQ(r["result"].size(), 1u) << r.dump();
         EXPECT_EQ(r["result"][0]["diagnostics"][0]["code"], 201);
         const json& modifiche = r["result"][0]["edit"]["changes"][uri("Altra_linea.txt")];
         ASSERT_EQ(modifiche.size(), 6u) << modifiche.dump();
         for (const json& m : modifiche) EXPECT_EQ(m["newText"], "-");
         EXPECT_EQ(modifiche[0]["range"]["start"], posizione(generale_linea + 1, 0));
       }},
      {"an unknown method", "textDocument/rename", "Mia_linea.txt", {{"position", posizione(0, 0)}},
       [&](const json& r) { EXPECT_EQ(r["error"]["code"], -32601); }},
      {"a source not open", "textDocument/hover", "Nessuna_linea.txt", {{"position", posizione(0, 0)}},
       [&](const json& r) { EXPECT_EQ(r["error"]["code"], -32602); }},
  };
  for (const caso& k : casi) {
    SCOPED_TRACE(k.nome);
    k.verifica(chiedi(k.metodo, k.file, k.parametri));
  }
  chiudi();
}

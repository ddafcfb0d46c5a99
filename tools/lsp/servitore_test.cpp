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
    // As check weighs it: an error, a warning or a note.
    x.gravita = a["gravita"] == "errore" ? 1 : a["gravita"] == "avviso" ? 2 : 3;
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
  // A misspelt gradient; a station whose name is being written.
  linea.replace(linea.find("pendenza,    4800"), 8, "pendnza,");
  const std::string nuova = "stazione,    9500,  28,  200,  0, 0, 0,  1, 1, 0,  4, 1, 1,   0,   0,  0,  0, ";
  treno.insert(treno.find("[rallentamenti]"), nuova + "\r\n");
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
      {"completion of a station's name being written", "textDocument/completion", "Mia_1-.txt",
       {{"position", posizione(riga_che_inizia(treno, nuova), static_cast<int64_t>(nuova.size()))}},
       [&](const json& r) {
         const std::set<std::string> e = etichette(r);
         for (const char* k : {"VALDRESA", "CASTELNERO", "BIVIO ROSSO"}) EXPECT_TRUE(e.contains(k)) << k;
       }},
      {"no name where a number is written", "textDocument/completion", "Mia_1-.txt",
       {{"position", posizione(riga_che_inizia(treno, nuova), static_cast<int64_t>(nuova.size()) - 2)}},
       [&](const json& r) { EXPECT_TRUE(r["result"].empty()) << r.dump(); }},
      {"the outline of the train lists its stations with their kilometre", "textDocument/documentSymbol", "Mia_1-.txt", {},
       [&](const json& r) {
         std::vector<std::string> stazioni;
         for (const json& sezione : r["result"])
           for (const json& figlio : sezione["children"])
             if (figlio["kind"] == 23) stazioni.push_back(figlio["name"].get<std::string>() + " " + figlio["detail"].get<std::string>());
         EXPECT_EQ(stazioni, (std::vector<std::string>{"VALDRESA km 0.000 · 08:00:00", "BORGO FIORINO km 3.000",
                                                       "CASTELNERO km 8.000 · 08:09:00",
                                                       "PIANALTA km 11.000 · 08:12:00", "stazione km 9.500"}));
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

namespace {

std::string incorniciato(const std::string& corpo) {
  return "Content-Length: " + std::to_string(corpo.size()) + "\r\n\r\n" + corpo;
}
std::string messaggio(const json& m) { return incorniciato(m.dump()); }
std::string richiesta(int id, const std::string& metodo, json parametri = json::object()) {
  return messaggio({{"jsonrpc", "2.0"}, {"id", id}, {"method", metodo}, {"params", std::move(parametri)}});
}
std::string notifica(const std::string& metodo, json parametri = json::object()) {
  return messaggio({{"jsonrpc", "2.0"}, {"method", metodo}, {"params", std::move(parametri)}});
}

// Every framed message of `uscita`, in order.
std::vector<json> messaggi(const std::string& uscita) {
  std::vector<json> m;
  for (std::size_t i = 0; (i = uscita.find("Content-Length: ", i)) != std::string::npos;) {
    const std::size_t testa = uscita.find("\r\n\r\n", i);
    const std::size_t n = std::stoul(uscita.substr(i + 16, testa - i - 16));
    m.push_back(json::parse(uscita.substr(testa + 4, n)));
    i = testa + 4 + n;
  }
  return m;
}

}  // namespace

// Any bytes, any order, any end: the server answers what it can, drops what
// it cannot, never crashes nor waits for nothing, and exits as the protocol
// says: 0 after shutdown, 1 without.
TEST(ServitoreLspRobusto, NessunCrolloNessunAttesa) {
  const std::string inizia = richiesta(1, "initialize", {{"capabilities", json::object()}});
  const std::string spegni = richiesta(9, "shutdown") + notifica("exit");
  const json documento = {{"uri", "file:///nessun/luogo/X_linea.txt"}};
  struct caso {
    const char* nome;
    std::string byte;
    int stato;
    // Each answer in order: its id and its error code, 0 for a result.
    std::vector<std::pair<json, int>> risposte;
  } casi[] = {
      {"exit before anything", notifica("exit"), 1, {}},
      {"the input ends at once", "", 1, {}},
      {"shutdown, then exit", inizia + spegni, 0, {{1, 0}, {9, 0}}},
      {"shutdown, then the input ends", inizia + richiesta(9, "shutdown"), 0, {{1, 0}, {9, 0}}},
      {"exit without shutdown", inizia + notifica("exit"), 1, {{1, 0}}},
      {"a request before initialize", richiesta(3, "textDocument/hover") + inizia + spegni, 0,
       {{3, -32002}, {1, 0}, {9, 0}}},
      {"initialize twice", inizia + richiesta(2, "initialize") + spegni, 0, {{1, 0}, {2, -32600}, {9, 0}}},
      {"a request after shutdown", inizia + richiesta(9, "shutdown") + richiesta(4, "textDocument/hover") +
                                       notifica("exit"),
       0, {{1, 0}, {9, 0}, {4, -32600}}},
      {"garbage before a message", std::string("\x00\xff\x01garbage\r\n", 12) + inizia + spegni, 0, {{1, 0}, {9, 0}}},
      {"a header without Content-Length", "Content-Type: x\r\n\r\n{}" + inizia + spegni, 0, {{1, 0}, {9, 0}}},
      {"a Content-Length that is no number", "Content-Length: dodici\r\n\r\n" + inizia + spegni, 0, {{1, 0}, {9, 0}}},
      {"a header in lower case with LF alone", "content-length: " + std::to_string(json({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}).dump().size()) + "\n\n" +
       json({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}).dump() + spegni,
       0, {{1, 0}, {9, 0}}},
      {"a body that is not JSON", incorniciato("{nope") + inizia + spegni, 0, {{nullptr, -32700}, {1, 0}, {9, 0}}},
      {"JSON that is no request", incorniciato("[1,2]") + incorniciato("42") + inizia + spegni, 0,
       {{nullptr, -32600}, {nullptr, -32600}, {1, 0}, {9, 0}}},
      {"a request whose id is an object", messaggio({{"id", json::object()}, {"method", "initialize"}}) + inizia + spegni,
       0, {{nullptr, -32600}, {1, 0}, {9, 0}}},
      {"a client's answer, and notifications nobody sent for", inizia + messaggio({{"id", 77}, {"result", nullptr}}) +
                                                                 notifica("$/cancelRequest", {{"id", 1}}) + notifica("no/such") +
                                                                 spegni,
       0, {{1, 0}, {9, 0}}},
      {"changes to a source never opened, opened without text, places of every sort",
       inizia + notifica("textDocument/didChange", {{"textDocument", documento}, {"contentChanges", {{{"text", "x"}}}}}) +
           notifica("textDocument/didOpen", {{"textDocument", documento}}) +
           notifica("textDocument/didOpen", {{"textDocument", {{"uri", documento["uri"]}, {"version", 1}, {"text", "[generale]\r\n"}}}}) +
           richiesta(2, "textDocument/hover", {{"textDocument", documento}, {"position", {{"line", -5}, {"character", 1e3}}}}) +
           richiesta(3, "textDocument/hover", {{"textDocument", documento}, {"position", {{"line", 1u << 31}, {"character", -1}}}}) +
           notifica("textDocument/didChange",
                    {{"textDocument", documento},
                     {"contentChanges", {{{"range", {{"start", {{"line", 9}, {"character", 99}}}, {"end", {{"line", 0}, {"character", 0}}}}}, {"text", "\xC3\xA8"}}}}}) +
           richiesta(4, "textDocument/completion", {{"textDocument", documento}, {"position", {{"line", 0}, {"character", 99}}}}) +
           richiesta(5, "textDocument/documentSymbol", {{"textDocument", documento}}) + spegni,
       0, {{1, 0}, {2, -32602}, {3, 0}, {4, 0}, {5, 0}, {9, 0}}},
      {"a Content-Length past any source, then the end", "Content-Length: 99999999999\r\n\r\n{}", 1, {}},
      {"a body cut short by the end", inizia + "Content-Length: 100\r\n\r\n{\"id\":", 1, {{1, 0}}},
  };
  cartella_prova radice;
  for (const caso& k : casi) {
    SCOPED_TRACE(k.nome);
    cliente_lsp c(SCENARIO, {"lsp"}, radice.percorso, radice.percorso / "errori.txt");
    c.invia_byte(k.byte);
    c.chiudi_ingresso();
    const std::vector<json> uscita = messaggi(c.resto(20));
    EXPECT_EQ(c.attendi_uscita(10), k.stato);
    std::vector<std::pair<json, int>> risposte;
    for (const json& m : uscita)
      if (!m.contains("method")) risposte.push_back({m["id"], m.contains("error") ? m["error"]["code"].get<int>() : 0});
    EXPECT_EQ(risposte, k.risposte);
  }
}

// A client that goes away, reading nothing more, ends the server: its
// writes fail, and it exits without a signal.
TEST(ServitoreLspRobusto, IlClienteSparisce) {
  cartella_prova radice;
  cliente_lsp c(SCENARIO, {"lsp"}, radice.percorso, radice.percorso / "errori.txt");
  c.chiudi_uscita();
  c.invia_byte(richiesta(1, "initialize") + richiesta(2, "shutdown"));
  c.invia_byte(notifica("initialized"));
  EXPECT_EQ(c.attendi_uscita(10), 1);
}

// Columns in the encoding agreed at the start: UTF-8 when the client offers
// it, UTF-16 otherwise; a source saved as single bytes, which the editor
// shows decoded, gives check's findings at the right columns.
TEST_F(ServitoreLsp, ColonneNellaCodificaConcordata) {
  // Before the faulty position, a comment of characters of one, two and
  // three bytes in UTF-8, the last beyond the BMP (two UTF-16 units).
  const std::string riga = "[ \xC3\xA0\xE2\x82\xAC\xF0\x9D\x84\x9E ], stazione,  1025,  12,  400,  0, 0, 0,  1, 1, 0,  "
                           "4, 1, 1,   0,   0,  0,  0, CITT\xC3\x80";
  std::string treno = treno_nuovo();
  treno.insert(treno.find("[fine]"), riga + "\r\n");
  const int64_t r = riga_che_inizia(treno, "[ \xC3\xA0");
  const std::size_t byte = riga.find("1025");
  struct caso {
    const char* nome;
    json codifiche;  // what the client offers
    std::string attesa;
    int64_t colonna;
  } casi[] = {
      {"nothing offered: UTF-16", nullptr, "utf-16", static_cast<int64_t>(byte) - 5},
      {"UTF-8 offered", {"utf-16", "utf-8"}, "utf-8", static_cast<int64_t>(byte)},
      {"UTF-32 alone offered: UTF-16 all the same", {"utf-32"}, "utf-16", static_cast<int64_t>(byte) - 5},
  };
  for (const caso& k : casi) {
    SCOPED_TRACE(k.nome);
    json capacita = json::object();
    if (!k.codifiche.is_null()) capacita["general"]["positionEncodings"] = k.codifiche;
    EXPECT_EQ(avvia(capacita)["capabilities"]["positionEncoding"], k.attesa);
    apri("Mia_1-.txt", treno);
    const json d = diagnostiche("Mia_1-.txt");
    ASSERT_FALSE(d.empty());
    const json& errore = d[0];
    EXPECT_EQ(errore["code"], 8);
    EXPECT_EQ(errore["range"]["start"], posizione(r, k.colonna));
    EXPECT_EQ(errore["range"]["end"], posizione(r, k.colonna + 4));
    // And back: the hover there is that field's.
    const json h = chiedi("textDocument/hover", "Mia_1-.txt", {{"position", posizione(r, k.colonna + 1)}});
    EXPECT_NE(h["result"]["contents"]["value"].get<std::string>().find("position (column 1)"), std::string::npos);
    chiudi();
  }

  // Saved as single bytes: no conversion warning, as check says; the editor
  // may have decoded it as Windows-1252 or as Latin-1.
  std::string byte_singolo = riga;
  converti_in_1252(byte_singolo);
  std::string su_disco = treno_nuovo();
  su_disco.insert(su_disco.find("[fine]"), byte_singolo + "\r\n");
  scrivi_tutto(lavoro / "Mia_1-.txt", su_disco);
  std::vector<reperto_check> attesi = da_check(json::parse(esegui({"check", "Mia_linea.txt", "Mia_1-.txt", "--json"}).out));
  ASSERT_EQ(attesi.size(), 1u);
  // From 1, in characters: the one beyond the BMP is a single '?' there.
  EXPECT_EQ(attesi[0].colonna, static_cast<int64_t>(byte) - 6 + 1);
  std::string latino;  // each byte as the character of the same number
  for (const char b : su_disco) {
    const auto u = static_cast<unsigned char>(b);
    if (u < 0x80) latino += b;
    else latino += static_cast<char>(0xC0 | (u >> 6)), latino += static_cast<char>(0x80 | (u & 0x3F));
  }
  for (const std::string& decodificato : {utf8_da_1252(su_disco), latino}) {
    avvia();
    apri("Mia_1-.txt", decodificato);
    EXPECT_EQ(da_lsp(diagnostiche("Mia_1-.txt"), "Mia_1-.txt"), attesi);
    chiudi();
  }
}

// A line is compiled with each train beside it, and its findings told once;
// a line alone, with no train; a train with no line is not checked, and says
// so; a file named neither way, likewise.
TEST_F(ServitoreLsp, PiuTreniNessunoONessunaLinea) {
  std::string linea = linea_nuova();
  linea.replace(linea.find("pendenza,    2000,    6"), 23, "pendenza,    2000,  160");
  scrivi_tutto(lavoro / "Mia_linea.txt", linea);
  scrivi_tutto(lavoro / "Mia_2-.txt", treno_nuovo());
  avvia();
  apri("Mia_linea.txt", linea);
  const json d = diagnostiche("Mia_linea.txt");
  ASSERT_EQ(d.size(), 1u) << d.dump(1);
  EXPECT_EQ(d[0]["code"], 353);
  EXPECT_EQ(d[0]["message"].get<std::string>().find("with train"), std::string::npos);

  // With no train beside it: the line's own findings, and nothing of a train.
  fs::remove(lavoro / "Mia_1-.txt");
  fs::remove(lavoro / "Mia_2-.txt");
  apri("Sola_linea.txt", linea);
  const json sola = diagnostiche("Sola_linea.txt");
  ASSERT_EQ(sola.size(), 1u) << sola.dump(1);
  EXPECT_EQ(sola[0]["code"], 353);

  apri("Orfano_3-.txt", treno_nuovo());
  const json orfano = diagnostiche("Orfano_3-.txt");
  ASSERT_EQ(orfano.size(), 1u);
  EXPECT_EQ(orfano[0]["severity"], 2);
  EXPECT_FALSE(orfano[0].contains("code"));
  EXPECT_NE(orfano[0]["message"].get<std::string>().find("Orfano_linea.txt"), std::string::npos);

  apri("appunti.txt", treno_nuovo());
  const json appunti = diagnostiche("appunti.txt");
  ASSERT_EQ(appunti.size(), 1u);
  EXPECT_EQ(appunti[0]["severity"], 3);
  chiudi();
}

// The mirror of the first case: the signal written before the station, whose
// point replaces it with a warning; the signal's row linked, and reached.
TEST_F(ServitoreLsp, AvvisoConLaRigaCheNomina) {
  const std::string segnale = "segnale,    8150,   2, 4, 1, 0,  0,   1, 3, 1, 0,   0\r\n";
  std::string treno = treno_nuovo();
  treno.insert(treno.find("stazione,       0"), segnale);
  scrivi_tutto(lavoro / "Mia_1-.txt", treno);
  const std::vector<reperto_check> attesi = da_check(json::parse(esegui({"check", "Mia_linea.txt", "Mia_1-.txt", "--json"}).out));
  avvia();
  apri("Mia_1-.txt", treno);
  const json d = diagnostiche("Mia_1-.txt");
  EXPECT_EQ(da_lsp(d, "Mia_1-.txt"), attesi);
  const auto su_elemento = std::find_if(d.begin(), d.end(), [](const json& x) { return x["code"] == 341; });
  ASSERT_NE(su_elemento, d.end()) << d.dump(1);
  ASSERT_EQ((*su_elemento)["relatedInformation"].size(), 1u);
  const json& legata = (*su_elemento)["relatedInformation"][0];
  EXPECT_EQ(legata["location"]["range"]["start"], posizione(riga_che_inizia(treno, "segnale,    8150"), 0));
  const json definizione = chiedi("textDocument/definition", "Mia_1-.txt", {{"position", (*su_elemento)["range"]["start"]}});
  EXPECT_EQ(definizione["result"], json::array({legata["location"]}));
  chiudi();
}

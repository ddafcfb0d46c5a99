// `scenario lsp`: the language server for the two sources, over the
// protocol's framing on standard input and output.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "tools/lsp/compila_editor.h"
#include "tools/lsp/documenti.h"
#include "tools/lsp/posizioni.h"
#include "tools/lsp/trasporto.h"

using json = nlohmann::json;

// A place in a source the editor can open.
struct posto_lsp {
  std::string uri;
  intervallo_lsp intervallo;
};

// A diagnostic as published, kept for going to its culprits and for its fixes.
struct diagnostica_lsp {
  intervallo_lsp intervallo;
  gravita_reperto gravita = gravita_reperto::errore;
  int32_t codice = 0;  // 0: the server's own note, with no code
  std::string testo;
  struct colpevole {
    posto_lsp posto;
    std::string testo;
  };
  std::vector<colpevole> colpevoli;
};

struct stato_servitore {
  codifica_posizioni codifica = codifica_posizioni::utf16;
  bool markdown = false;            // hover text as Markdown
  bool simboli_annidati = false;    // the outline as a tree
  std::map<std::string, documento> documenti;  // the open sources, by URI
  archivio_disco disco;
  // The last compile's findings and rows applied, by the URI of an open source.
  std::map<std::string, std::vector<diagnostica_lsp>> diagnostiche;
  std::map<std::string, std::vector<riga_compilata>> righe_applicate;
  // Open sources changed since their diagnostics were last published.
  std::set<std::string> da_compilare;
};

// The sources compiled together: a line source and its train sources (those
// open, with the editor's text, and those on disk beside it).
struct famiglia_sorgenti {
  const vista_sorgente* linea = nullptr;  // none when there is no line source
  std::vector<const vista_sorgente*> treni;
};
famiglia_sorgenti famiglia_di(stato_servitore& s, const documento& d);
// The open source or the file that a view of the family came from.
const vista_sorgente* vista_di_uri(stato_servitore& s, const std::string& uri);

// Compiles the families of every source changed and returns the
// publishDiagnostics notifications for every open source among them.
std::vector<json> compila_e_pubblica(stato_servitore& s);

// The protocol's shapes.
json json_posizione(posizione_lsp p);
json json_intervallo(const intervallo_lsp& i);
bool posizione_da_json(const json& j, posizione_lsp& p);
bool intervallo_da_json(const json& j, intervallo_lsp& i);
// A field of a view as a range.
intervallo_lsp intervallo_campo(const vista_sorgente& v, const campo_sorgente& c, codifica_posizioni cod);
// The UTF-8 text of a field as the editor shows it.
std::string testo_campo(const vista_sorgente& v, const campo_sorgente& c);

// The features, one a file: each answers its request for document `d`.
json informazioni(stato_servitore& s, const documento& d, posizione_lsp p);      // hover
json completamento(stato_servitore& s, const documento& d, posizione_lsp p);     // completion
json simboli(stato_servitore& s, const documento& d);                             // documentSymbol
json definizione(stato_servitore& s, const documento& d, posizione_lsp p);       // definition
json correzioni(stato_servitore& s, const documento& d, const intervallo_lsp& i);  // codeAction

struct opzioni_servitore {
  bool disco = true;  // read the sources beside the open ones; off for the fuzz harness
  std::function<void(std::string_view)> nota;  // what the server tells its log (standard error)
};

// Serves one client over `c` until `exit` or the end of the input. Returns
// the exit status: 0 after `shutdown`, 1 without it.
int servi(canale_lsp& c, const opzioni_servitore& o);

// The server over file descriptors (standard input and output): a client
// that goes away ends it. The exit status as `servi`.
int servi_lsp(int ingresso, int uscita, std::ostream& err);

#include "tools/lsp/servitore.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <ostream>

namespace {

// The protocol's error codes.
constexpr int errore_json = -32700;
constexpr int richiesta_non_valida = -32600;
constexpr int metodo_sconosciuto = -32601;
constexpr int parametri_non_validi = -32602;
constexpr int errore_interno = -32603;
constexpr int non_inizializzato = -32002;

struct errore_richiesta {
  int codice;
  std::string messaggio;
};

struct sessione {
  canale_lsp& canale;
  const opzioni_servitore& opzioni;
  stato_servitore stato;
  bool inizializzato = false;
  bool spento = false;  // shutdown received
  bool uscita = false;  // exit received, or the client is gone
  bool scrittura_fallita = false;

  void invia(const json& messaggio) {
    if (scrittura_fallita) return;
    const std::string corpo = messaggio.dump(-1, ' ', false, json::error_handler_t::replace);
    if (!canale.scrivi(incornicia(corpo))) {
      scrittura_fallita = true;
      uscita = true;
    }
  }
  void rispondi(const json& id, json risultato) {
    invia({{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(risultato)}});
  }
  void rifiuta(const json& id, int codice, const std::string& messaggio) {
    invia({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", codice}, {"message", messaggio}}}});
  }
  void nota(std::string_view testo) const {
    if (opzioni.nota) opzioni.nota(testo);
  }

  void pubblica() {
    if (stato.da_compilare.empty()) return;
    for (const json& n : compila_e_pubblica(stato)) invia(n);
  }

  void gestisci(const std::string& corpo);
  json richiesta(const std::string& metodo, const json& parametri);
  void notifica(const std::string& metodo, const json& parametri);
  json inizializza(const json& parametri);
};

const json& campo(const json& j, const char* nome) {
  static const json nulla;
  if (!j.is_object()) return nulla;
  const auto i = j.find(nome);
  return i == j.end() ? nulla : *i;
}

std::string stringa(const json& j, const char* nome) {
  const json& c = campo(j, nome);
  return c.is_string() ? c.get<std::string>() : std::string();
}

// The open source that `parametri` name, and the place in it.
documento& documento_di(stato_servitore& s, const json& parametri) {
  const std::string uri = stringa(campo(parametri, "textDocument"), "uri");
  const auto d = s.documenti.find(uri);
  if (d == s.documenti.end()) throw errore_richiesta{parametri_non_validi, "the document is not open: " + uri};
  return d->second;
}

posizione_lsp posizione_di(const json& parametri) {
  posizione_lsp p;
  if (!posizione_da_json(campo(parametri, "position"), p)) throw errore_richiesta{parametri_non_validi, "no position"};
  return p;
}

bool offre(const json& elenco, const char* valore) {
  if (!elenco.is_array()) return false;
  for (const json& v : elenco)
    if (v.is_string() && v.get<std::string>() == valore) return true;
  return false;
}

json sessione::inizializza(const json& parametri) {
  const json& capacita = campo(parametri, "capabilities");
  // UTF-8 when the client offers it, else the protocol's own UTF-16.
  const bool utf8 = offre(campo(campo(capacita, "general"), "positionEncodings"), "utf-8");
  stato.codifica = utf8 ? codifica_posizioni::utf8 : codifica_posizioni::utf16;
  const json& testo = campo(capacita, "textDocument");
  stato.markdown = offre(campo(campo(testo, "hover"), "contentFormat"), "markdown");
  const json& annidati = campo(campo(testo, "documentSymbol"), "hierarchicalDocumentSymbolSupport");
  stato.simboli_annidati = annidati.is_boolean() && annidati.get<bool>();
  stato.disco.attivo = opzioni.disco;
  return {{"capabilities",
           {{"positionEncoding", utf8 ? "utf-8" : "utf-16"},
            {"textDocumentSync", {{"openClose", true}, {"change", 2}, {"save", {{"includeText", false}}}}},
            {"hoverProvider", true},
            {"completionProvider", {{"triggerCharacters", json::array({"["})}}},
            {"documentSymbolProvider", true},
            {"definitionProvider", true},
            {"codeActionProvider", {{"codeActionKinds", json::array({"quickfix"})}}}}},
          {"serverInfo", {{"name", "scenario"}, {"version", VERSIONE_SCENARIO}}}};
}

json sessione::richiesta(const std::string& metodo, const json& parametri) {
  if (metodo == "initialize") {
    if (inizializzato) throw errore_richiesta{richiesta_non_valida, "initialize was sent already"};
    inizializzato = true;
    return inizializza(parametri);
  }
  if (metodo == "shutdown") {
    spento = true;
    return nullptr;
  }
  // What the answers read is compiled first.
  pubblica();
  if (metodo == "textDocument/hover") return informazioni(stato, documento_di(stato, parametri), posizione_di(parametri));
  if (metodo == "textDocument/completion")
    return completamento(stato, documento_di(stato, parametri), posizione_di(parametri));
  if (metodo == "textDocument/documentSymbol") return simboli(stato, documento_di(stato, parametri));
  if (metodo == "textDocument/definition")
    return definizione(stato, documento_di(stato, parametri), posizione_di(parametri));
  if (metodo == "textDocument/codeAction") {
    intervallo_lsp i;
    if (!intervallo_da_json(campo(parametri, "range"), i)) throw errore_richiesta{parametri_non_validi, "no range"};
    return correzioni(stato, documento_di(stato, parametri), i);
  }
  throw errore_richiesta{metodo_sconosciuto, "unknown method: " + metodo};
}

void sessione::notifica(const std::string& metodo, const json& parametri) {
  const json& testo = campo(parametri, "textDocument");
  const std::string uri = stringa(testo, "uri");
  if (metodo == "textDocument/didOpen") {
    const json& contenuto = campo(testo, "text");
    if (uri.empty() || !contenuto.is_string()) return;
    documento d;
    d.percorso = percorso_da_uri(uri);
    d.vista.uri = uri;
    d.vista.nome = nome_da_uri(uri);
    d.vista.ruolo = ruolo_da_nome(d.vista.nome);
    // A file saved single-byte is shown decoded: what check reads is single-byte again.
    d.vista.byte_singolo = stato.disco.a_byte_singolo(d.percorso);
    const json& versione = campo(testo, "version");
    d.versione = versione.is_number_integer() ? versione.get<int64_t>() : 0;
    d.vista.imposta(contenuto.get<std::string>());
    stato.documenti[uri] = std::move(d);
    stato.da_compilare.insert(uri);
  } else if (metodo == "textDocument/didChange") {
    const auto d = stato.documenti.find(uri);
    const json& cambi = campo(parametri, "contentChanges");
    if (d == stato.documenti.end() || !cambi.is_array()) return;
    std::vector<modifica_testo> modifiche;
    for (const json& c : cambi) {
      const json& nuovo = campo(c, "text");
      if (!nuovo.is_string()) return;
      modifica_testo m{std::nullopt, nuovo.get<std::string>()};
      if (intervallo_lsp i; c.is_object() && c.contains("range")) {
        if (!intervallo_da_json(c["range"], i)) return;
        m.intervallo = i;
      }
      modifiche.push_back(std::move(m));
    }
    applica_modifiche(d->second, modifiche, stato.codifica);
    const json& versione = campo(testo, "version");
    if (versione.is_number_integer()) d->second.versione = versione.get<int64_t>();
    stato.da_compilare.insert(uri);
  } else if (metodo == "textDocument/didSave") {
    const auto d = stato.documenti.find(uri);
    if (d == stato.documenti.end()) return;
    // The file may now be saved in another code page; its partners may have changed too.
    const bool byte_singolo = stato.disco.a_byte_singolo(d->second.percorso);
    if (byte_singolo != d->second.vista.byte_singolo) {
      d->second.vista.byte_singolo = byte_singolo;
      d->second.vista.imposta(std::move(d->second.vista.testo.testo));
    }
    stato.da_compilare.insert(uri);
  } else if (metodo == "textDocument/didClose") {
    const auto d = stato.documenti.find(uri);
    if (d == stato.documenti.end()) return;
    // Its partners are compiled again with the file as saved; its own diagnostics go.
    const famiglia_sorgenti f = famiglia_di(stato, d->second);
    std::vector<std::string> altri;
    for (const vista_sorgente* v : f.treni) altri.push_back(v->uri);
    if (f.linea != nullptr) altri.push_back(f.linea->uri);
    stato.documenti.erase(d);
    stato.diagnostiche.erase(uri);
    stato.righe_applicate.erase(uri);
    stato.da_compilare.erase(uri);
    for (const std::string& a : altri)
      if (a != uri && stato.documenti.contains(a)) stato.da_compilare.insert(a);
    invia({{"jsonrpc", "2.0"},
           {"method", "textDocument/publishDiagnostics"},
           {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
  }
  // Any other notification ($/cancelRequest, initialized, ...) asks nothing of this server.
}

void sessione::gestisci(const std::string& corpo) {
  const json messaggio = json::parse(corpo, nullptr, false);
  if (messaggio.is_discarded()) {
    rifiuta(nullptr, errore_json, "not JSON");
    return;
  }
  const json& metodo = campo(messaggio, "method");
  const json& id = campo(messaggio, "id");
  const bool con_id = messaggio.is_object() && messaggio.contains("id");
  if (!messaggio.is_object() || (!metodo.is_string() && !con_id)) {
    rifiuta(nullptr, richiesta_non_valida, "not a request or a notification");
    return;
  }
  if (!metodo.is_string()) return;  // a client's answer: this server asks nothing
  if (con_id && !id.is_string() && !id.is_number_integer()) {
    rifiuta(nullptr, richiesta_non_valida, "a request's id is a number or a string");
    return;
  }
  const std::string nome = metodo.get<std::string>();
  const json& parametri = campo(messaggio, "params");

  if (!con_id) {
    if (nome == "exit") {
      uscita = true;
      return;
    }
    // Before initialize and after shutdown, notifications are dropped.
    if (!inizializzato || spento) return;
    try {
      notifica(nome, parametri);
    } catch (const std::exception& e) {
      nota(std::string("a notification could not be handled: ") + e.what());
    }
    return;
  }
  if (!inizializzato && nome != "initialize") {
    rifiuta(id, non_inizializzato, "the server is not initialized");
    return;
  }
  if (spento) {
    rifiuta(id, richiesta_non_valida, "the server is shut down");
    return;
  }
  try {
    json risultato = richiesta(nome, parametri);
    rispondi(id, std::move(risultato));
  } catch (const errore_richiesta& e) {
    rifiuta(id, e.codice, e.messaggio);
  } catch (const std::exception& e) {
    rifiuta(id, errore_interno, e.what());
  }
}

}  // namespace

int servi(canale_lsp& c, const opzioni_servitore& o) {
  sessione s{c, o, {}};
  s.stato.disco.attivo = o.disco;
  lettore_messaggi lettore;
  std::string corpo;
  while (!s.uscita) {
    // Diagnostics wait until every change already sent is read: a burst of
    // keystrokes is compiled once.
    if (!lettore.messaggio_pronto() && !c.pronto()) s.pubblica();
    if (s.uscita) break;
    const esito_lettura e = lettore.prossimo(c, corpo);
    if (e == esito_lettura::fine) break;
    if (e == esito_lettura::scartato) {
      s.nota("a message without a usable Content-Length was passed over");
      continue;
    }
    s.gestisci(corpo);
  }
  return s.spento ? 0 : 1;
}

int servi_lsp(int ingresso, int uscita, std::ostream& err) {
  // A client that goes away makes writes fail, not the process die.
  std::signal(SIGPIPE, SIG_IGN);
  canale_lsp c;
  c.leggi = [ingresso](char* dove, std::size_t n) -> std::size_t {
    for (;;) {
      const ssize_t letti = ::read(ingresso, dove, n);
      if (letti >= 0) return static_cast<std::size_t>(letti);
      if (errno != EINTR) return 0;
    }
  };
  c.pronto = [ingresso]() {
    pollfd p{ingresso, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0;
  };
  c.scrivi = [uscita](std::string_view byte) {
    while (!byte.empty()) {
      const ssize_t scritti = ::write(uscita, byte.data(), byte.size());
      if (scritti < 0 && errno == EINTR) continue;
      if (scritti <= 0) return false;
      byte.remove_prefix(static_cast<std::size_t>(scritti));
    }
    return true;
  };
  opzioni_servitore o;
  o.nota = [&err](std::string_view testo) { err << "scenario lsp: " << testo << std::endl; };
  return servi(c, o);
}

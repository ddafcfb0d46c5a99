// The sources the server knows: those the editor has open, with its unsaved
// text, and those beside them on disk; each seen as the compiler reads it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/lsp/posizioni.h"
#include "tools/lsp/struttura.h"

// A file:// URI's local path: the %XX escapes made bytes; empty for another
// scheme or another host.
std::filesystem::path percorso_da_uri(std::string_view uri);
// The URI of a local path, the bytes outside the unreserved ones written %XX.
std::string uri_da_percorso(const std::filesystem::path& percorso);
// The last segment of a URI's path, its escapes made bytes.
std::string nome_da_uri(std::string_view uri);

// What a source is by its name, as the tool names them: the line source
// X_linea.txt or the train source X_N-.txt of scenario X.
struct ruolo_sorgente {
  bool valido = false;
  bool treno = false;
  std::string scenario;  // X
  std::string numero;    // N, for a train source
};
ruolo_sorgente ruolo_da_nome(std::string_view nome_file);

// A source as the server sees it: the editor's text or the file's, the bytes
// the tool would read, the compiler's text and its rows.
struct vista_sorgente {
  std::string uri;
  std::string nome;              // its file name: how the findings name it
  ruolo_sorgente ruolo;
  bool byte_singolo = false;     // the file is single-byte text, Windows-1252
  testo_righe testo;             // UTF-8, as the editor shows it
  std::string byte;              // what `scenario check` would read: the saved file's bytes
  std::string compilatore;       // one byte a character: what the compiler's columns count
  std::vector<std::size_t> inizi_compilatore{0};  // its lines
  struttura_sorgente struttura;
  bool troppo_grande = false;    // larger than a source may be: not compiled

  // Sets the UTF-8 text and works out the rest.
  void imposta(std::string utf8);
  // Sets it from a file's bytes: UTF-8 when they are well-formed, else single-byte text.
  void imposta_da_byte(std::string byte_file);
  // Line `riga` (from 1) of the compiler's text, without its line end.
  std::string_view riga_compilatore(int32_t riga) const;
};

// A source the editor has open.
struct documento {
  vista_sorgente vista;
  std::filesystem::path percorso;  // empty when its URI names no local file
  int64_t versione = 0;
};

// One change the editor sends: a range replaced, or the whole text when none is given.
struct modifica_testo {
  std::optional<intervallo_lsp> intervallo;
  std::string testo;
};

// Applies the changes in order to `d`'s text.
void applica_modifiche(documento& d, const std::vector<modifica_testo>& modifiche, codifica_posizioni c);

// The files beside the open sources, read once and again when they change.
struct archivio_disco {
  bool attivo = true;  // false: the disk is never looked at (the fuzz harness)
  struct voce {
    std::filesystem::file_time_type quando{};
    std::uintmax_t byte = 0;
    vista_sorgente vista;
  };
  std::map<std::filesystem::path, voce> voci;

  // The file at `p` as a source, when it is a regular file a source may be;
  // null otherwise.
  const vista_sorgente* leggi(const std::filesystem::path& p);
  // The train sources X_N-.txt of scenario `scenario` in `cartella`, by name.
  std::vector<std::filesystem::path> treni(const std::filesystem::path& cartella, const std::string& scenario);
  // True when the file at `p` holds bytes that are not well-formed UTF-8:
  // a single-byte source, which the editor shows decoded.
  bool a_byte_singolo(const std::filesystem::path& p);
};

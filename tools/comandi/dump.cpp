// scenario dump: what a packed file holds, every field by name.
#include <memory>

#include "formato/file.h"
#include "packer/file_imballati.h"
#include "tools/compila.h"
#include "tools/riga_di_comando.h"
#include "tools/scarica.h"

namespace {

const char* nome_tipo(tipo_imballato t) {
  switch (t) {
    case tipo_imballato::percorso: return "route grid";
    case tipo_imballato::stazioni: return "station table";
    case tipo_imballato::linea: return "line plan";
    case tipo_imballato::nessuno: break;
  }
  return "packed file";
}

const opzione tipo{"--kind", "KIND", "read FILE as grid, stations or plan",
                   [](richiesta& r, const std::string& v, std::string& e) {
                     if (v == "grid") r.tipo = tipo_imballato::percorso;
                     else if (v == "stations") r.tipo = tipo_imballato::stazioni;
                     else if (v == "plan") r.tipo = tipo_imballato::linea;
                     else {
                       e = "unknown kind '" + v + "' (grid, stations or plan)";
                       return false;
                     }
                     return true;
                   },
                   completa::tipi};
const opzione tutti{"--all", "", "also the cells, slots and points whose fields are all empty",
                    accendi<&richiesta::tutti>};
const opzione elementi{"--features", "",
                       "a grid's cells that carry a point feature (a kind other than 0) or an approach mark, and no "
                       "other",
                       accendi<&richiesta::solo_elementi>};

constexpr uso_opzione opzioni[] = {
    {&tipo},
    {&opzione_forza, "read FILE as KIND even when its name says another kind"},
    {&opzione_json, "one JSON object instead of text columns"},
    {&opzione_csv, "comma-separated values with a header row", true},
    {&tutti},
    {&elementi, {}, true},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  if (posizionali.size() != 1) {
    errore = "dump takes one packed file; try 'scenario dump --help'";
    return false;
  }
  r.file = posizionali[0];
  const tipo_imballato dal_nome = tipo_da_nome(r.file);
  if (r.tipo == tipo_imballato::nessuno) r.tipo = dal_nome;
  if (r.tipo == tipo_imballato::nessuno) {
    errore = "cannot tell the kind of '" + r.file.string() +
             "' from its name (X_linea.dat, X_N.dat, X_N.sim); give --kind grid, stations or plan";
    return false;
  }
  // Read as another kind, a file whose length happens to fit shows nonsense.
  if (dal_nome != tipo_imballato::nessuno && dal_nome != r.tipo && !r.forza) {
    errore = "'" + r.file.string() + "' is named as a " + nome_tipo(dal_nome) + ", not a " + nome_tipo(r.tipo) +
             "; give --force to read it as one all the same";
    return false;
  }
  if (r.solo_elementi && r.tipo != tipo_imballato::percorso) {
    errore = "--features shows the cells of a route grid, not a " + std::string(nome_tipo(r.tipo));
    return false;
  }
  if (r.solo_elementi && r.tutti) {
    errore = "give --features or --all, not both";
    return false;
  }
  return true;
}

verdetto esegui(const richiesta& r, ambiente& a) {
  const std::string byte = leggi_file(r.file, byte_massimi_imballato);
  auto letto = std::make_unique<scenario>();
  std::string motivo;
  bool fatto = false;
  switch (r.tipo) {
    case tipo_imballato::percorso:
      if ((fatto = decodifica_percorso(byte, *letto, motivo)))
        scarica_percorso(letto->percorso, r.forma, r.tutti, a.out, r.solo_elementi);
      break;
    case tipo_imballato::stazioni:
      if ((fatto = decodifica_stazioni(byte, *letto, motivo)))
        scarica_stazioni(letto->tabella_stazioni, r.forma, r.tutti, a.out);
      break;
    case tipo_imballato::linea:
      if ((fatto = decodifica_linea(byte, *letto, motivo)))
        scarica_linea(letto->griglia_linea.letti, r.forma, r.tutti, a.out);
      break;
    case tipo_imballato::nessuno:
      break;
  }
  verdetto v;
  if (!fatto) {
    a.err << "scenario: " << r.file.string() << ": not a packed " << nome_tipo(r.tipo) << ": " << motivo << '\n';
    v.fallito = true;
  }
  return v;
}

}  // namespace

extern const comando comando_dump{
    "dump",
    azione::dump,
    "FILE",
    "show what a packed file holds",
    "Shows what a packed file holds, every field by name:\n"
    "  grid      the route grid (X_N.dat): each cell's index, its position in metres\n"
    "            and its fields\n"
    "  stations  the station table (X_N.sim): each slot and its fields\n"
    "  plan      the line plan (X_linea.dat): each metre's x and y and their tags\n"
    "The kind comes from the file's name unless --kind is given. A file whose length\n"
    "does not fit its kind is refused (exit status 2), and so is a kind that\n"
    "contradicts the file's name unless --force is given. The speed, gradient and\n"
    "adhesion fill every grid cell, so a grid shows every cell: --features shows the\n"
    "cells that carry a feature. Names show as every report shows them: UTF-8, a\n"
    "control byte as \\xNN.\n",
    opzioni,
    false,
    "0 shown; 2 usage error, or a file that cannot be read or does not fit its kind.",
    completa::imballati,
    concludi,
    esegui,
};

// Helpers for the documents' tests: take a written document apart line by
// line, and its table lines at the bars.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "prove/forma_documenti.h"
#include "sources/dati_treno.h"

// The lines of a text written with CR LF after every line. A line ending in a
// bare CR or LF, or a last line without its CR LF, fails the test.
inline std::vector<std::string> righe_documento(const std::string& testo) {
  EXPECT_FALSE(testo.empty()) << "an empty document";
  std::vector<std::string> problemi;
  std::vector<std::string> righe = forma_documenti::righe(testo, problemi);
  for (const std::string& p : problemi) ADD_FAILURE() << p;
  return righe;
}

// The columns (from 0) where a line has a bar.
inline std::vector<int> colonne_barre(std::string_view riga) { return forma_documenti::barre(riga); }

// The texts between successive bars of a table line.
inline std::vector<std::string> celle(std::string_view riga) {
  std::vector<std::string> risultato;
  const std::vector<int> barre = colonne_barre(riga);
  for (std::size_t i = 0; i + 1 < barre.size(); ++i)
    risultato.emplace_back(riga.substr(barre[i] + 1, barre[i + 1] - barre[i] - 1));
  return risultato;
}

// A text with its leading and trailing spaces removed.
inline std::string senza_spazi(std::string_view s) {
  const std::size_t a = s.find_first_not_of(' ');
  if (a == std::string_view::npos) return {};
  const std::size_t b = s.find_last_not_of(' ');
  return std::string(s.substr(a, b - a + 1));
}

// What the documents must agree with in the train source: its stations, in
// order, with the time of day their rows carry, and its slow orders.
struct stazione_sorgente {
  int posizione = 0;
  int ore = 0, minuti = 0;  // 0, 0: the row carries no time
  std::string nome;
};
struct rallentamento_sorgente {
  int posizione = 0, velocita = 0, lunghezza = 0, f_tt = 0;
};
struct treno_sorgente {
  std::vector<stazione_sorgente> stazioni;
  std::vector<rallentamento_sorgente> rallentamenti;
};

// The comma-separated fields of a source row.
inline std::vector<std::string> campi(const std::string& riga) {
  std::vector<std::string> risultato;
  std::size_t inizio = 0;
  for (;;) {
    const std::size_t virgola = riga.find(',', inizio);
    risultato.push_back(riga.substr(inizio, virgola - inizio));
    if (virgola == std::string::npos) return risultato;
    inizio = virgola + 1;
  }
}

// Reads the "[stazioni]" and "[rallentamenti]" sections of a train source.
inline treno_sorgente leggi_treno_sorgente(const std::vector<std::string>& righe) {
  treno_sorgente t;
  std::string sezione;
  for (const std::string& riga : righe) {
    if (riga.starts_with("[")) {
      sezione = riga;
      continue;
    }
    const std::vector<std::string> c = campi(riga);
    if (sezione == "[stazioni]") {
      // Keyword, 16 numbers, then the name after one space.
      EXPECT_EQ(c.size(), 18u) << riga;
      if (c.size() != 18) continue;
      t.stazioni.push_back({std::stoi(c[1]), std::stoi(c[14]), std::stoi(c[15]), c[17].substr(1)});
    } else if (sezione == "[rallentamenti]") {
      EXPECT_EQ(c.size(), 7u) << riga;
      if (c.size() != 7) continue;
      t.rallentamenti.push_back({std::stoi(c[1]), std::stoi(c[2]), std::stoi(c[3]), std::stoi(c[4])});
    }
  }
  return t;
}

// The train source as the train writer writes it.
inline treno_sorgente treno_scritto() { return leggi_treno_sorgente(righe_documento(dati_treno())); }

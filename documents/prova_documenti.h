// Helpers for the documents' tests: read a written document back line by line
// and take its table lines apart at the bars.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "sources/scrivi_righe.h"

// The lines of a text file written with CR LF after every line. A line ending
// in a bare CR or LF, or a last line without its CR LF, fails the test.
inline std::vector<std::string> leggi_righe_documento(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  EXPECT_TRUE(in.good()) << file << " missing";
  const std::string testo{std::istreambuf_iterator<char>(in), {}};
  std::vector<std::string> righe;
  std::size_t inizio = 0;
  while (inizio < testo.size()) {
    const std::size_t fine = testo.find("\r\n", inizio);
    if (fine == std::string::npos) {
      ADD_FAILURE() << file << ": last line has no CR LF";
      righe.push_back(testo.substr(inizio));
      break;
    }
    righe.push_back(testo.substr(inizio, fine - inizio));
    inizio = fine + 2;
  }
  for (std::size_t i = 0; i < righe.size(); ++i)
    for (unsigned char c : righe[i])
      if (c == '\r' || c == '\n' || c < 0x20 || c > 0x7e) {
        ADD_FAILURE() << file << " line " << i + 1 << ": byte " << int(c) << " is not plain printable ASCII";
        break;
      }
  return righe;
}

// The columns (from 0) where a line has a bar.
inline std::vector<int> colonne_barre(std::string_view riga) {
  std::vector<int> colonne;
  for (std::size_t i = 0; i < riga.size(); ++i)
    if (riga[i] == '|') colonne.push_back(static_cast<int>(i));
  return colonne;
}

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

// The train source as the build writes it, read back from `cartella`.
inline treno_sorgente treno_scritto(const std::filesystem::path& cartella) {
  // Until the train writer lands: the stations and slow orders it will write.
  static constexpr std::string_view righe[] = {
      "[stazioni]",
      "stazione, 0, 8, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 17, 13, 0, CORVANA",
      "stazione, 7850, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, VALSEGRO",
      "stazione, 15300, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, MORELLINA",
      "stazione, 22650, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, P.M. Quarzolena",
      "stazione, 30400, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, PIEVE ALDARICA",
      "stazione, 38750, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, CASTEL FIURANO",
      "stazione, 46500, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 17, 36, 0, GRAVELLENO",
      "stazione, 54200, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, MARZELLOTTA",
      "stazione, 61900, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, OSTRIVALLE",
      "stazione, 69800, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, RIVALDESCA",
      "stazione, 77600, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, SOLMANTE",
      "stazione, 85300, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, TERRAVELSA",
      "stazione, 92800, 11, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, VENTORBIO",
      "stazione, 98700, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, BRESSANELLA",
      "stazione, 106000, 2, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 18, 5, 0, SCARZAVELLA",
      "stazione, 113450, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, CAPO LUMERO",
      "stazione, 120900, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, Bivio Caldissone",
      "stazione, 127300, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, POGGIO SENNARI",
      "stazione, 132200, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, DOVESSA",
      "stazione, 139800, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, ERBASCURA",
      "stazione, 146900, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, GUALMORA",
      "stazione, 153650, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, ISOLABRUNA",
      "stazione, 160200, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, PALUDIRSO",
      "stazione, 168100, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, P.M. Urbanello",
      "stazione, 176500, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 18, 50, 0, MONTEFRUSCO",
      "stazione, 185900, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, TRESCALDO",
      "stazione, 196000, 2, 800, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 19, 2, 0, VIGNALORA",
      "stazione, 212600, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, GROTTAVIVA",
      "stazione, 219400, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, PIANGORDA",
      "stazione, 226800, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, SANT'ERMIDA",
      "stazione, 232900, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, Bivio Valtressa",
      "stazione, 238100, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, FORNACI DI VALDORSO",
      "stazione, 244000, 4, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 19, 29, 0, LAGO SPERTINO",
      "stazione, 250300, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, MONTE ARVESE",
      "stazione, 255900, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, PONTE ZIRANO",
      "stazione, 261200, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, RIO VERSALDO",
      "stazione, 266800, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, P.M. Zamborgio",
      "stazione, 272650, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, ROCCAFIALDA",
      "stazione, 278300, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, PONTE SAN VERDINO",
      "stazione, 284200, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, CORTE MISTRELLA",
      "stazione, 290000, 2, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 19, 54, 0, ALTOBRUNA",
      "stazione, 296400, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, OSTERIA BALZANA",
      "stazione, 302700, 28, 200, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, Bivio Fontelusca",
      "stazione, 309100, 4, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, SERRAFONDA",
      "stazione, 315600, 12, 400, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, QUINTESCO",
      "stazione, 321900, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, FRASSIGNOLA",
      "stazione, 329000, 12, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, COLLE MURAVIO",
      "stazione, 343200, 12, 500, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 0, 0, 0, SPINALVA",
      "stazione, 350000, 2, 600, 0, 0, 0, 1, 1, 0, 4, 1, 1, 0, 20, 30, 0, TELMISA",
      "[rallentamenti]",
      "rallentamento,   134500,    80,  800, 0,  1,  80",
      "rallentamento,   180950,    40,  200, 0,  1,  40",
      "rallentamento,  271250,    50, 1800, 0,  1,  50",
      "rallentamento,  324900,    60,  200, 1,  1,  60",
      "[fine]",
      sentinella,
  };
  const std::filesystem::path file = cartella / "treno.txt";
  scrivi_righe(file, righe);
  return leggi_treno_sorgente(leggi_righe_documento(file));
}

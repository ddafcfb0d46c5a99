// Writes the manual page of `scenario` from the program's own help texts, so
// that the page and `scenario --help` cannot disagree and a command added
// later appears in the page by itself.
//   pagina_man SCENARIO MODELLO PAGINA RIFERIMENTO
// runs SCENARIO --help and SCENARIO COMMAND --help for every command the first
// lists, and fills the hand-written MODELLO (the name, the files, an example
// session) at its marks: @VERSIONE@, @SINOSSI@, @DESCRIZIONE@, @COMANDI@,
// @OPZIONI@ and @USCITA@. The help texts name the reference's files as
// docs/NAME.md, where they are in the sources; the page names them in
// RIFERIMENTO, where the package installs them. The help texts are plain text
// in a few shapes:
//   usage: LINE (continued on indented lines)     -> the synopsis
//   head:  (after an empty line)                  -> a part of its own
//     TERM   DESCRIPTION (continued, indented)    -> a tagged paragraph
//     indented text                               -> an indented paragraph
//   text                                          -> a paragraph
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::string esegui(const std::string& programma, const std::string& argomenti) {
  const std::string comando = "'" + programma + "' " + argomenti;
  FILE* p = ::popen(comando.c_str(), "r");
  if (p == nullptr) throw std::runtime_error("cannot run " + comando);
  std::string testo;
  char buf[4096];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) testo.append(buf, n);
  if (::pclose(p) != 0) throw std::runtime_error(comando + " failed");
  return testo;
}

std::vector<std::string> righe(const std::string& testo) {
  std::vector<std::string> r;
  std::istringstream in(testo);
  for (std::string riga; std::getline(in, riga);) r.push_back(riga);
  return r;
}

std::size_t rientro(const std::string& riga) {
  const std::size_t i = riga.find_first_not_of(' ');
  return i == std::string::npos ? riga.size() : i;
}

bool vuota(const std::string& riga) { return rientro(riga) == riga.size(); }

// Text as roff reads it: backslashes kept, every '-' a plain minus (options
// and file names copied from the page must work), a line never starting with
// a control character.
std::string roff(const std::string& testo) {
  std::string r;
  for (const char c : testo) {
    if (c == '\\') r += "\\e";
    else if (c == '-') r += "\\-";
    else r += c;
  }
  if (!r.empty() && (r[0] == '.' || r[0] == '\'')) r = "\\&" + r;
  return r;
}

// The parts of a help text: its usage line, then its body split at each head.
struct aiuto {
  std::string sinossi;
  std::vector<std::string> corpo;                              // before the first head
  std::vector<std::pair<std::string, std::vector<std::string>>> parti;  // head, lines
};

aiuto leggi_aiuto(const std::string& testo) {
  aiuto a;
  const std::vector<std::string> r = righe(testo);
  std::size_t i = 0;
  if (i < r.size() && r[i].rfind("usage: ", 0) == 0) {
    a.sinossi = r[i++].substr(7);
    for (; i < r.size() && !vuota(r[i]) && rientro(r[i]) > 0; ++i) a.sinossi += " " + r[i].substr(rientro(r[i]));
  }
  std::vector<std::string>* dove = &a.corpo;
  static const std::regex testa(R"(^([a-z][a-z ]*):$)");
  for (; i < r.size(); ++i) {
    std::smatch m;
    // A line of a paragraph that happens to end with a colon is no head.
    if ((i == 0 || vuota(r[i - 1])) && std::regex_match(r[i], m, testa)) {
      a.parti.push_back({m[1], {}});
      dove = &a.parti.back().second;
    } else {
      dove->push_back(r[i]);
    }
  }
  return a;
}

// Lines of help in roff: paragraphs, tagged paragraphs for "TERM  TEXT" rows,
// indented paragraphs for the rest of what is indented.
std::string corpo_roff(const std::vector<std::string>& r) {
  std::ostringstream out;
  static const std::regex voce(R"(^( +)(\S.*?)  +(\S.*)$)");
  std::string paragrafo;
  bool rientrato = false;
  auto chiudi = [&] {
    if (!paragrafo.empty()) out << (rientrato ? ".RS\n" : ".PP\n") << roff(paragrafo) << '\n'
                                << (rientrato ? ".RE\n" : "");
    paragrafo.clear();
  };
  for (std::size_t i = 0; i < r.size(); ++i) {
    const std::string& riga = r[i];
    if (vuota(riga)) {
      chiudi();
      continue;
    }
    const std::size_t a = rientro(riga);
    std::smatch m;
    const bool segue_piu_rientrata = i + 1 < r.size() && !vuota(r[i + 1]) && rientro(r[i + 1]) > a + 2;
    if (a > 0 && (std::regex_match(riga, m, voce) || segue_piu_rientrata)) {
      chiudi();
      std::string termine, descrizione;
      std::size_t colonna;
      if (!m.empty()) {
        termine = m[2];
        descrizione = m[3];
        colonna = static_cast<std::size_t>(m.position(3));
      } else {
        termine = riga.substr(a);
        colonna = rientro(r[i + 1]);
      }
      // The description goes on while the lines stand at its column or deeper.
      while (i + 1 < r.size() && !vuota(r[i + 1]) && rientro(r[i + 1]) >= colonna && rientro(r[i + 1]) > a) {
        ++i;
        descrizione += (descrizione.empty() ? "" : " ") + r[i].substr(rientro(r[i]));
      }
      out << ".TP\n\\fB" << roff(termine) << "\\fR\n" << roff(descrizione) << '\n';
      continue;
    }
    if (!paragrafo.empty() && (a > 0) != rientrato) chiudi();
    rientrato = a > 0;
    paragrafo += (paragrafo.empty() ? "" : " ") + riga.substr(a);
  }
  chiudi();
  return out.str();
}

// A usage line as a man page's synopsis: the program's name, then its words
// filled and wrapped with a hanging indent. A bracket that holds no other
// bracket is kept on one line, as "[-o DIR]" or "[--source | --no-source]",
// and so is an option with its value.
std::string sinossi_roff(const std::string& sinossi) {
  const std::size_t spazio = sinossi.find(' ');
  const std::string programma = sinossi.substr(0, spazio);
  const std::string resto = spazio == std::string::npos ? "" : sinossi.substr(spazio + 1);
  constexpr char unito = '\x01';  // a space that does not break, until roff's escapes are in
  std::string parole = resto;
  int dentro = 0;
  for (std::size_t i = 0; i < parole.size(); ++i) {
    if (parole[i] == '[') ++dentro;
    if (parole[i] == ']') --dentro;
    if (parole[i] != ' ' || i + 1 == parole.size() || parole[i + 1] == '[') continue;
    // An option and its value stay together too, as "-o FILE.svg".
    const std::size_t parola = parole.find_last_of(" [", i - 1) + 1;  // npos + 1 = 0
    const bool valore = parole[parola] == '-' && parole[i + 1] != '-' && parole[i + 1] != '|';
    if ((dentro > 0 && parole[i - 1] != ']') || valore) parole[i] = unito;
  }
  std::string testo;
  for (const char c : roff(parole)) testo += c == unito ? std::string("\\~") : std::string(1, c);
  return ".SY " + programma + "\n" + testo + "\n.YS\n";
}

// The help texts name the reference's files as docs/NAME.md, in the sources;
// the page names them where they are installed.
std::string con_riferimento(const std::string& testo, const std::string& cartella) {
  static const std::regex file(R"((^|[^\w/])docs/(\w+\.md))");
  std::string r;
  auto da = testo.cbegin();
  for (std::sregex_iterator m(testo.begin(), testo.end(), file), fine; m != fine; ++m) {
    r.append(da, (*m)[2].first - 5);
    r += cartella + "/" + (*m)[2].str();
    da = (*m)[2].second;
  }
  return r.append(da, testo.cend());
}

// The words that begin the rows of the general help's command list.
std::vector<std::string> comandi(const aiuto& generale) {
  std::vector<std::string> c;
  static const std::regex nome(R"(^  ([a-z][a-z-]*)( .*)?$)");
  for (const auto& [testa, r] : generale.parti) {
    if (testa != "commands") continue;
    for (const std::string& riga : r) {
      std::smatch m;
      if (std::regex_match(riga, m, nome)) c.push_back(m[1]);
    }
  }
  return c;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: pagina_man SCENARIO MODELLO PAGINA RIFERIMENTO\n";
    return 2;
  }
  try {
    const std::string programma = argv[1], riferimento = argv[4];
    const aiuto generale = leggi_aiuto(con_riferimento(esegui(programma, "--help"), riferimento));
    std::string versione = esegui(programma, "--version");
    versione = versione.substr(0, versione.find('\n'));
    versione = versione.substr(versione.rfind(' ') + 1);

    std::map<std::string, std::string> segni;
    segni["@VERSIONE@"] = versione;
    std::string sinossi = sinossi_roff(generale.sinossi);
    segni["@DESCRIZIONE@"] = corpo_roff(generale.corpo);
    std::string sinossi_comandi, descrizione_comandi;
    for (const std::string& c : comandi(generale)) {
      const aiuto a = leggi_aiuto(con_riferimento(esegui(programma, c + " --help"), riferimento));
      sinossi += sinossi_roff(a.sinossi);
      descrizione_comandi += ".SS \"scenario " + c + "\"\n" + sinossi_roff(a.sinossi) + corpo_roff(a.corpo);
      for (const auto& [testa, r] : a.parti) {
        descrizione_comandi += ".PP\n\\fI" + roff(testa) + ":\\fR\n";
        descrizione_comandi += corpo_roff(r);
      }
    }
    segni["@SINOSSI@"] = sinossi;
    segni["@COMANDI@"] = descrizione_comandi;
    for (const auto& [testa, r] : generale.parti) {
      if (testa == "commands") {
        // Its rows are the commands, told in full above; what follows them are
        // the options that stand alone.
        std::vector<std::string> opzioni;
        bool dopo = false;
        for (const std::string& riga : r) {
          if (dopo) opzioni.push_back(riga);
          if (vuota(riga)) dopo = true;
        }
        segni["@OPZIONI@"] = corpo_roff(opzioni);
      } else if (testa == "exit status") {
        segni["@USCITA@"] = corpo_roff(r);
      } else {
        segni["@DESCRIZIONE@"] += ".PP\n\\fI" + roff(testa) + ":\\fR\n" + corpo_roff(r);
      }
    }

    std::ifstream modello(argv[2]);
    if (!modello) throw std::runtime_error(std::string("cannot read ") + argv[2]);
    std::ostringstream pagina;
    // Each mark stands on a line of its own, and its text ends with a newline.
    for (auto& [segno, testo] : segni)
      while (!testo.empty() && testo.back() == '\n') testo.pop_back();
    for (std::string riga; std::getline(modello, riga);) {
      for (const auto& [segno, testo] : segni) {
        for (std::size_t p; (p = riga.find(segno)) != std::string::npos;) riga.replace(p, segno.size(), testo);
      }
      pagina << riga << '\n';
    }
    std::ofstream(argv[3], std::ios::binary) << pagina.str();
  } catch (const std::exception& e) {
    std::cerr << "pagina_man: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

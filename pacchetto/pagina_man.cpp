// Writes the manual page of `scenario` from the tool's own table of commands
// and options (tools/riga_di_comando.h), so that the page, `scenario --help`
// and the parser cannot disagree and a command or an option added later
// appears in the page by itself.
//   pagina_man MODELLO PAGINA RIFERIMENTO
// fills the hand-written MODELLO (the name, the files, an example session) at
// its marks: @VERSIONE@, @SINOSSI@, @DESCRIZIONE@, @COMANDI@, @MODELLO@,
// @OPZIONI@ and @USCITA@. The texts name the reference's files as
// docs/NAME.md, where they are in the sources; the page names them in
// RIFERIMENTO, where the package installs them. A command's description is
// plain text in a few shapes:
//   TERM   DESCRIPTION (continued, indented)    -> a tagged paragraph
//   indented text                               -> an indented paragraph
//   text                                        -> a paragraph
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/opzioni_marcia.h"
#include "tools/riga_di_comando.h"

namespace {

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

// An option as the synopsis writes it: [-o DIR], bold name, italic value.
std::string opzione_roff(const opzione& o) {
  return "\\fB" + roff(std::string(o.nome)) + "\\fR" + (o.valore.empty() ? "" : " \\fI" + roff(std::string(o.valore)) + "\\fR");
}

// A command's synopsis: the program's name, the command and its arguments,
// then each option in brackets, filled and wrapped with a hanging indent; a
// bracket is never broken.
std::string sinossi_roff(const comando& c) {
  std::string t = ".SY scenario\n\\fB" + roff(std::string(c.nome)) + "\\fR";
  if (!c.argomenti.empty()) t += " \\fI" + roff(std::string(c.argomenti)) + "\\fR";
  t += "\n";
  for (std::size_t i = 0; i < c.opzioni.size(); ++i) {
    std::string p = "[" + opzione_roff(*c.opzioni[i].o);
    while (i + 1 < c.opzioni.size() && c.opzioni[i + 1].alternativa) p += " | " + opzione_roff(*c.opzioni[++i].o);
    p += "]";
    // Spaces inside a bracket do not break.
    std::string unito;
    for (const char x : p) unito += x == ' ' ? std::string("\\~") : std::string(1, x);
    t += unito + "\n";
  }
  if (c.modello) t += "[\\fImodel\\~options\\fR]\n";
  return t + ".YS\n";
}

// The help texts name the reference's files as docs/NAME.md, in the sources;
// the page names them where they are installed.
std::string con_riferimento(const std::string& testo, const std::string& cartella) {
  static const std::regex file(R"((^|[^\w/])docs/(\w+\.md))");
  return std::regex_replace(testo, file, "$1" + cartella + "/$2");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: pagina_man MODELLO PAGINA RIFERIMENTO\n";
    return 2;
  }
  try {
    const std::string riferimento = argv[3];
    const auto testo = [&](std::string_view t) { return con_riferimento(std::string(t), riferimento); };
    std::map<std::string, std::string> segni;
    segni["@VERSIONE@"] = VERSIONE_SCENARIO;
    std::string sinossi, comandi_roff;
    for (const comando* c : comandi()) {
      sinossi += sinossi_roff(*c);
      comandi_roff += ".SS \"scenario " + std::string(c->nome) + "\"\n" + sinossi_roff(*c) +
                      corpo_roff(righe(testo(c->descrizione)));
      if (!c->opzioni.empty()) {
        comandi_roff += ".PP\n\\fIOptions:\\fR\n";
        for (const uso_opzione& u : c->opzioni)
          comandi_roff += ".TP\n" + opzione_roff(*u.o) + "\n" + roff(testo(u.aiuto.empty() ? u.o->aiuto : u.aiuto)) + "\n";
      }
      if (c->modello) comandi_roff += ".PP\nIt takes the train model options too (see \\fBMODEL OPTIONS\\fR).\n";
      if (!c->uscita.empty()) comandi_roff += ".PP\n\\fIExit status:\\fR " + roff(testo(c->uscita)) + "\n";
    }
    segni["@SINOSSI@"] = sinossi;
    segni["@COMANDI@"] = comandi_roff;
    // The general help: its description, its options standing alone and its exit statuses.
    const std::vector<std::string> generale = righe(testo(aiuto_generale()));
    std::vector<std::string> descrizione, opzioni, uscita;
    std::vector<std::string>* dove = nullptr;
    for (std::size_t i = 0; i < generale.size(); ++i) {
      const std::string& r = generale[i];
      if (i == 2) dove = &descrizione;
      if (r == "commands:") dove = nullptr;
      else if (r.rfind("  --", 0) == 0 && dove == nullptr) dove = &opzioni;
      else if (r == "exit status:") { dove = &uscita; continue; }
      else if (r.rfind("The formats", 0) == 0) dove = &descrizione;
      if (dove != nullptr) dove->push_back(r);
    }
    segni["@DESCRIZIONE@"] = corpo_roff(descrizione);
    segni["@OPZIONI@"] = corpo_roff(opzioni);
    segni["@USCITA@"] = corpo_roff(uscita);
    // The train model's options: their own rows of help, after their head line.
    std::vector<std::string> modello = righe(testo(aiuto_opzioni_marcia()));
    if (!modello.empty()) modello.erase(modello.begin());
    segni["@MODELLO@"] = corpo_roff(modello);

    std::ifstream modello_pagina(argv[1]);
    if (!modello_pagina) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    std::ostringstream pagina;
    // Each mark stands on a line of its own, and its text ends with a newline.
    for (auto& [segno, t] : segni)
      while (!t.empty() && t.back() == '\n') t.pop_back();
    for (std::string riga; std::getline(modello_pagina, riga);) {
      for (const auto& [segno, t] : segni) {
        for (std::size_t p; (p = riga.find(segno)) != std::string::npos;) riga.replace(p, segno.size(), t);
      }
      pagina << riga << '\n';
    }
    std::ofstream(argv[2], std::ios::binary) << pagina.str();
  } catch (const std::exception& e) {
    std::cerr << "pagina_man: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

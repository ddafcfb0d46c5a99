// Writes the bash completion of `scenario` from the tool's own table of
// commands and options (tools/riga_di_comando.h), so that a command or an
// option added later is offered by itself.
//   completamento FILE
// The script offers the commands, each command's options (the train model's
// too, where the command takes them), the kinds after --kind, and file names
// of the right sort for each argument and value (line and train sources
// *.txt, packed files *.dat and *.sim, a picture *.svg, folders); nothing for
// a value that is a name, a number or a text.
#include <fstream>
#include <iostream>
#include <string>

#include "tools/opzioni_marcia.h"
#include "tools/riga_di_comando.h"

namespace {

// What compgen offers for a value or an argument of kind `c`.
std::string offerta(completa c) {
  switch (c) {
    case completa::niente: return "return";
    case completa::cartella: return "_scenario_file";
    case completa::sorgenti: return "_scenario_file '*.txt'";
    case completa::imballati: return "_scenario_file '*.dat' '*.sim'";
    case completa::svg: return "_scenario_file '*.svg'";
    case completa::tipi: return "COMPREPLY=($(compgen -W 'grid stations plan' -- \"$cur\"))";
  }
  return "return";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: completamento FILE\n";
    return 2;
  }
  std::string t =
      "# bash completion for scenario, made from the tool's table of commands and\n"
      "# options (pacchetto/completamento.cpp): its commands, their options, the kinds\n"
      "# of packed file, and file names of the right sort for each argument.\n"
      "\n"
      "_scenario_file() {  # PATTERN...: the files that match one, and every folder\n"
      "  local IFS=$'\\n' modello\n"
      "  COMPREPLY=($(compgen -d -- \"$cur\"))\n"
      "  for modello; do\n"
      "    COMPREPLY+=($(compgen -f -X \"!$modello\" -- \"$cur\"))\n"
      "  done\n"
      "  compopt -o filenames 2> /dev/null\n"
      "}\n"
      "\n"
      "_scenario() {\n"
      "  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}\n"
      "  local comando=${COMP_WORDS[1]}\n"
      "  COMPREPLY=()\n"
      "  if ((COMP_CWORD == 1)); then\n"
      "    COMPREPLY=($(compgen -W '";
  for (const comando* c : comandi()) t += std::string(c->nome) + " ";
  t += "--help --version' -- \"$cur\"))\n"
       "    return\n"
       "  fi\n"
       "  # --opt=VALUE is completed as --opt VALUE.\n"
       "  if [[ $cur == --*=* ]]; then\n"
       "    prev=${cur%%=*}\n"
       "    cur=${cur#*=}\n"
       "  fi\n"
       "  case $comando in\n";
  for (const comando* c : comandi()) {
    std::string opzioni, valori;
    for (const uso_opzione& u : c->opzioni) {
      opzioni += std::string(u.o->nome) + " ";
      if (u.o->valore.empty()) continue;
      valori += "        " + std::string(u.o->nome) + ") ";
      valori += u.o->completamento == completa::niente ? "return ;;\n" : offerta(u.o->completamento) + "; return ;;\n";
    }
    if (c->modello)
      for (const opzione_marcia& o : opzioni_del_modello()) {
        opzioni += std::string(o.nome) + " ";
        valori += "        " + std::string(o.nome) + ") return ;;\n";
      }
    opzioni += "--help";
    t += "    " + std::string(c->nome) + ")\n";
    if (!valori.empty()) t += "      case $prev in\n" + valori + "      esac\n";
    t += "      if [[ $cur == -* ]]; then\n"
         "        COMPREPLY=($(compgen -W '" + opzioni + "' -- \"$cur\"))\n"
         "        return\n"
         "      fi\n"
         "      " + offerta(c->completa_argomenti) + "\n"
         "      ;;\n";
  }
  t += "  esac\n"
       "}\n"
       "complete -F _scenario scenario\n";
  std::ofstream out(argv[1], std::ios::binary);
  out << t;
  if (!out) {
    std::cerr << "completamento: cannot write " << argv[1] << '\n';
    return 1;
  }
  return 0;
}

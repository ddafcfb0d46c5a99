// scenario lsp: the language server an editor starts for the two sources.
#include "tools/lsp/servitore.h"
#include "tools/riga_di_comando.h"

namespace {

// The channel the editors' clients name: standard input and output, the only one.
const opzione stdio{"--stdio", "",
                    "talk over standard input and output (the only channel; the option is taken because editors' "
                    "clients pass it)",
                    [](richiesta&, const std::string&, std::string&) { return true; }};

constexpr uso_opzione opzioni[] = {{&stdio}};

bool concludi(richiesta&, const std::vector<std::string>& posizionali, std::string& errore) {
  if (!posizionali.empty()) {
    errore = "lsp takes no file: the editor sends the sources; try 'scenario lsp --help'";
    return false;
  }
  return true;
}

verdetto esegui(const richiesta&, ambiente& a) {
  verdetto v;
  v.sessione_troncata = servi_lsp(0, 1, a.err) != 0;
  return v;
}

}  // namespace

extern const comando comando_lsp{
    "lsp",
    azione::lsp,
    "",
    "a language server for editors: every error and warning as you type, hover, completion, the outline, quick "
    "fixes",
    "Serves the Language Server Protocol on standard input and output, for an\n"
    "editor to start. On opening a source and on every change, the source and the\n"
    "others of its scenario (X_linea.txt with the X_NUMBER-.txt beside it, each as\n"
    "the editor holds it when it is open, else as saved) are compiled as 'scenario\n"
    "check' compiles them, and every error, warning and note is shown where it\n"
    "stands, with the rows it names. Hover tells what a row and each of its values\n"
    "mean, their units and ranges, what the packer makes of them and where the row\n"
    "stands; completion offers the keywords and headings of the section, and the\n"
    "stations' names; the outline lists the sections, stations, signals and slow\n"
    "orders; go to definition leads from an error to its culprit rows and from a\n"
    "station's name to its row; quick fixes mend a misspelt keyword and a general\n"
    "section's comment without its hyphen. The setup for each editor is in\n"
    "docs/editor.md.\n",
    opzioni,
    false,
    "0 when the editor ends the session with shutdown and exit; 1 when exit, or the end of the input, comes "
    "without shutdown.",
    completa::niente,
    concludi,
    esegui,
};

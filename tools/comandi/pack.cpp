// scenario pack: the three packed files of an author's scenario.
#include "tools/compila.h"
#include "tools/riga_di_comando.h"

namespace {

const opzione senza_linea{"--no-line-plan", "",
                          "build no line plan and write no NAME_linea.dat (curve rows are then not read at all)",
                          accendi<&richiesta::senza_linea>};
const opzione con_documenti{"--docs", "",
                            "also write the driver's three documents into DIR, as 'scenario docs' does, with its "
                            "options",
                            accendi<&richiesta::con_documenti>};

constexpr uso_opzione opzioni[] = {
    {&opzione_uscita, "directory for the packed files (default: the current one; made if missing)"},
    {&opzione_nome},
    {&opzione_treno},
    {&senza_linea},
    {&opzione_severo,
     "write nothing, and make no directory, when the build finds a warning too (notes do not count; exit status "
     "1)"},
    {&opzione_forza,
     "write what the packer itself would write in spite of errors (exit status 1 all the same), for those who "
     "need its exact bytes"},
    {&opzione_avvisi_come_errori},
    {&opzione_margine_minimo},
    {&opzione_sorgente},
    {&opzione_senza_sorgente, {}, true},
    {&opzione_json},
    {&con_documenti},
    {&opzione_classificazione},
    {&opzione_massa},
    {&opzione_partenza},
    {&opzione_firma},
    {&opzione_contatto},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  if (!r.con_documenti && !r.prima_opzione_documenti.empty()) {
    errore = "option " + std::string(r.prima_opzione_documenti) + " is for the documents: give --docs too";
    return false;
  }
  return concludi_sorgenti(r, posizionali, errore);
}

}  // namespace

extern const comando comando_pack{
    "pack",
    azione::pack,
    "LINE TRAIN",
    "compile a line source and a train source and write the three packed files the simulator loads",
    "Compiles LINE (a line source) and TRAIN (a train source) exactly as the packer\n"
    "compiles its own scenario and writes into DIR:\n"
    "  NAME_linea.dat     the line plan\n"
    "  NAME_NUMBER.sim    the station table\n"
    "  NAME_NUMBER.dat    the route grid\n"
    "The packed files hold what the author wrote, or nothing is written: every error\n"
    "is reported on standard error as FILE:LINE:COLUMN: error CODE: DESCRIPTION (at\n"
    "POSITION m), an error being also anything written that the packed files would\n"
    "drop, cut, round or replace, and then nothing is written (exit status 1) unless\n"
    "--force is given. Warnings follow, as FILE:LINE:COLUMN: warning CODE: TEXT:\n"
    "what is stored as written but is almost surely a mistake, and the sections of\n"
    "the timetable that the train cannot keep; notes tell what changed form and\n"
    "nothing else (UTF-8 text stored as single bytes). On a terminal each is\n"
    "followed by its source line with a caret under the column, and a summary ends\n"
    "the report: the rows read of each kind, the route length, the stops, and what\n"
    "was packed. The source files are only read.\n",
    opzioni,
    true,
    "0 packed, no error; 1 an error found, nothing written (or written under --force), or a warning under "
    "--warnings-as-errors or --strict; 2 usage or file error; 3 refused by error 1250 or 1251, nothing written.",
    completa::sorgenti,
    concludi,
    esegui_compilazione,
};

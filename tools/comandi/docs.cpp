// scenario docs: the driver's three documents of an author's scenario.
#include "tools/compila.h"
#include "tools/riga_di_comando.h"

namespace {

constexpr uso_opzione opzioni[] = {
    {&opzione_uscita, "directory for the documents (default: the current one; made if missing)"},
    {&opzione_nome},
    {&opzione_treno},
    {&opzione_classificazione},
    {&opzione_massa},
    {&opzione_partenza},
    {&opzione_firma},
    {&opzione_contatto},
    {&opzione_forza, "write the documents in spite of errors (exit status 1 all the same)"},
    {&opzione_avvisi_come_errori},
    {&opzione_margine_minimo},
    {&opzione_sorgente},
    {&opzione_senza_sorgente, {}, true},
    {&opzione_json},
};

bool concludi(richiesta& r, const std::vector<std::string>& posizionali, std::string& errore) {
  r.con_documenti = true;
  return concludi_sorgenti(r, posizionali, errore);
}

}  // namespace

extern const comando comando_docs{
    "docs",
    azione::docs,
    "LINE TRAIN",
    "the same compile, then the driver's three documents: the train sheet, the slow-order form and the notes",
    "Compiles LINE and TRAIN exactly as 'scenario check' does and writes into DIR the\n"
    "three documents the driver reads while running, in the forms of the built-in\n"
    "scenario's own (plain ASCII, CR LF lines), each replaced whole:\n"
    "  NAME_NUMBER_scheda_treno.txt   the train sheet: every station and reference\n"
    "                                 point, with the times of the timetable\n"
    "  NAME_NUMBER_rallentamenti.txt  the slow-order form\n"
    "  NAME_NUMBER_note.txt           the notes\n"
    "The sheet's times are the timetable's, with each section's margin over the\n"
    "fastest run spread over it; its top speed and the dwell at stops are the train\n"
    "model's, as 'scenario timing' works them out and takes them as options. A name\n"
    "cut to its cell, or written in plain letters, is reported as a warning at the\n"
    "row that wrote it. When an error is found no document is written, unless\n"
    "--force is given. A document is never written over a source.\n",
    opzioni,
    true,
    "0 written, no error; 1 an error found, no document written (or written under --force), or a warning under "
    "--warnings-as-errors; 2 usage or file error, or a document that would overwrite a source; 3 refused by error "
    "1250 or 1251, nothing written.",
    completa::sorgenti,
    concludi,
    esegui_compilazione,
};

// scenario check: the same compile as pack, every finding reported, nothing written.
#include "tools/compila.h"
#include "tools/riga_di_comando.h"

namespace {

constexpr uso_opzione opzioni[] = {
    {&opzione_nome},
    {&opzione_treno},
    {&opzione_severo, "exit with status 1 when there is a warning, as pack --strict refuses to write (notes do not "
                      "count)"},
    {&opzione_avvisi_come_errori},
    {&opzione_margine_minimo},
    {&opzione_sorgente},
    {&opzione_senza_sorgente, {}, true},
    {&opzione_json},
};

}  // namespace

extern const comando comando_check{
    "check",
    azione::check,
    "LINE TRAIN",
    "the same compile, reporting every error, warning and note; nothing is written",
    "Compiles LINE and TRAIN exactly as 'scenario pack' does, line plan included, and\n"
    "reports every error (what the build refuses, and anything written that the\n"
    "packed files would drop, cut, round or replace), then every warning (what is\n"
    "stored as written but is almost surely a mistake, and the sections of the\n"
    "timetable that the train cannot keep, or keeps with a margin under\n"
    "--min-margin), and the notes. No packed file is written. On a terminal each\n"
    "diagnostic is followed by its source line with a caret under the column, and a\n"
    "summary ends the report: the rows read of each kind, the route length, the\n"
    "stops.\n",
    opzioni,
    true,
    "0 no error (warnings and notes allowed); 1 an error found, or a warning under --warnings-as-errors; 2 usage or "
    "file error; 3 refused by error 1250 or 1251.",
    completa::sorgenti,
    concludi_sorgenti,
    esegui_compilazione,
};

# The layers of the code, checked: a folder includes headers of its own layer
# and of the layers below it, never of one above. The order is read from the
# table in docs/sviluppo.md (between "<!-- strati -->" and "<!-- /strati -->"),
# so that the page and the check cannot disagree. Tests (*_test.cpp) are left
# out: a test may put together what it tests with the layers above it.
#
#   cmake -DRADICE=DIR -P scripts/controlla_strati.cmake          check the tree at DIR
#   cmake -DRADICE=DIR -DPROVA=ON -P scripts/controlla_strati.cmake
#       the check itself, on a tree made for it with one include going up:
#       it must be found and named
cmake_minimum_required(VERSION 3.25)

# Reads the layers of RADICE's table into strato_<folder> = number; the list
# of folders into the variable named by `cartelle`.
function(leggi_strati radice cartelle)
  file(READ "${radice}/docs/sviluppo.md" pagina)
  string(FIND "${pagina}" "<!-- strati -->" inizio)
  string(FIND "${pagina}" "<!-- /strati -->" fine)
  if(inizio EQUAL -1 OR fine EQUAL -1)
    message(FATAL_ERROR "docs/sviluppo.md: no layer table between <!-- strati --> and <!-- /strati -->")
  endif()
  math(EXPR lunghezza "${fine} - ${inizio}")
  string(SUBSTRING "${pagina}" ${inizio} ${lunghezza} tabella)
  string(REPLACE "\n" ";" righe "${tabella}")
  set(tutte)
  foreach(riga IN LISTS righe)
    if(riga MATCHES "^\\| *([0-9]+) *\\|([^|]*)\\|")
      set(numero ${CMAKE_MATCH_1})
      string(REGEX MATCHALL "`[a-z_]+/`" nomi "${CMAKE_MATCH_2}")
      foreach(n IN LISTS nomi)
        string(REGEX REPLACE "[`/]" "" n "${n}")
        set(strato_${n} ${numero} PARENT_SCOPE)
        list(APPEND tutte ${n})
      endforeach()
    endif()
  endforeach()
  if(NOT tutte)
    message(FATAL_ERROR "docs/sviluppo.md: the layer table names no folder")
  endif()
  set(${cartelle} ${tutte} PARENT_SCOPE)
endfunction()

# Every include of a folder above the including file's: one line each, in `esito`.
function(cerca_salite radice esito)
  leggi_strati("${radice}" cartelle)
  set(salite)
  foreach(c IN LISTS cartelle)
    file(GLOB_RECURSE file_c RELATIVE "${radice}" "${radice}/${c}/*.h" "${radice}/${c}/*.cpp")
    foreach(f IN LISTS file_c)
      if(f MATCHES "_test\\.cpp$")
        continue()
      endif()
      file(STRINGS "${radice}/${f}" inclusioni REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
      foreach(i IN LISTS inclusioni)
        string(REGEX REPLACE "^[^\"]*\"([a-z_]+)/([^\"]*)\".*$" "\\1;\\2" parti "${i}")
        list(GET parti 0 cartella)
        list(GET parti 1 resto)
        if(NOT DEFINED strato_${cartella})
          list(APPEND salite "${f}: includes \"${cartella}/${resto}\", a folder the layer table does not name")
        elseif(strato_${cartella} GREATER strato_${c})
          list(APPEND salite "${f}: includes \"${cartella}/${resto}\": ${cartella}/ is layer ${strato_${cartella}}, above ${c}/ (layer ${strato_${c}})")
        elseif(strato_${cartella} EQUAL strato_${c} AND NOT cartella STREQUAL c)
          list(APPEND salite "${f}: includes \"${cartella}/${resto}\": ${cartella}/ is another folder of the same layer (${strato_${c}})")
        endif()
      endforeach()
    endforeach()
  endforeach()
  set(${esito} "${salite}" PARENT_SCOPE)
endfunction()

if(NOT RADICE)
  message(FATAL_ERROR "usage: cmake -DRADICE=DIR [-DPROVA=ON] -P controlla_strati.cmake")
endif()

if(PROVA)
  # A tree of two layers, its lower one including the upper one.
  set(albero "${CMAKE_CURRENT_BINARY_DIR}/strati_prova")
  file(REMOVE_RECURSE "${albero}")
  file(WRITE "${albero}/docs/sviluppo.md"
       "<!-- strati -->\n| Layer | Folders |\n|---|---|\n| 1 | `formato/` |\n| 2 | `packer/` |\n<!-- /strati -->\n")
  file(WRITE "${albero}/formato/basso.cpp" "#include \"formato/basso.h\"\n#include \"packer/alto.h\"\n")
  file(WRITE "${albero}/formato/basso_test.cpp" "#include \"packer/alto.h\"\n")
  file(WRITE "${albero}/packer/alto.h" "#include \"formato/basso.h\"\n")
  cerca_salite("${albero}" salite)
  file(REMOVE_RECURSE "${albero}")
  set(attesa "formato/basso.cpp: includes \"packer/alto.h\": packer/ is layer 2, above formato/ (layer 1)")
  if(NOT salite STREQUAL attesa)
    message(FATAL_ERROR "the layer check found \"${salite}\" where it should find only \"${attesa}\"")
  endif()
  return()
endif()

cerca_salite("${RADICE}" salite)
if(salite)
  list(LENGTH salite n)
  string(REPLACE ";" "\n  " elenco "${salite}")
  message(FATAL_ERROR "${n} include(s) go against the layers of docs/sviluppo.md:\n  ${elenco}")
endif()

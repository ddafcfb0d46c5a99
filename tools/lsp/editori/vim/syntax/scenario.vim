" The sources of a scenario of the train-driving simulator: comma-separated
" fields, a keyword and its values a row, comments and headings in square
" brackets. See docs/linea.md and docs/treno.md of the scenario tool.
if exists('b:current_syntax')
  finish
endif

syntax case ignore
syntax match scenarioNumero /-\=\<\d\+\>/
" A comment: a field in brackets with a blank in it, in the general section
" written after a hyphen.
syntax match scenarioCommento /-\=\[[^],\r\n]*\s[^],\r\n]*\]/
syntax match scenarioIntestazione /\[\w\+\]/
" The keywords the compiler looks for; those of the general section in the
" case it matches them.
syntax match scenarioParola /\<lunghezza percorso\>/
syntax keyword scenarioParola pendenza montagna indicatori_vmax cartello_indicatore
syntax match scenarioParola /\<curva[ds][1-6]\>/
syntax keyword scenarioParola velocita aderenza orologio sabbia segnale rallentamento abbattimento stazione
syntax match scenarioParola /\<velocità\>/
syntax match scenarioParola /\<numero vetture\>/
syntax match scenarioParola /\<percentuale massa frenata\>/
syntax case match
syntax match scenarioParola /\<progressiva chilometrica \(uno\|due\|tre\)\>/
syntax match scenarioParola /\<sfondo \(uno\|due\|tre\)\>/
syntax match scenarioParola /\<ripetizione segnali [49] codici\>/

highlight default link scenarioParola Keyword
highlight default link scenarioNumero Number
highlight default link scenarioIntestazione PreProc
highlight default link scenarioCommento Comment

let b:current_syntax = 'scenario'

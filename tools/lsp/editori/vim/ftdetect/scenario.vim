" The two sources of a scenario, by the names the scenario tool gives them:
" the line source NAME_linea.txt and the train source NAME_NUMBER-.txt. Set
" outright: the editor's own rule for *.txt has already made them text.
autocmd BufNewFile,BufRead *_linea.txt,*_*-.txt set filetype=scenario

# bash completion for scenario: its commands, their options, the kinds of
# packed file, and file names of the right sort for each argument (line and
# train sources *.txt, packed files *.dat and *.sim, folders for -o and plot);
# nothing for an option whose value is a name, a number or a text.
# pacchetto/prova_completamento checks that every option each command's
# --help prints is offered here.

_scenario_file() {  # PATTERN...: the files that match one, and every folder
  local IFS=$'\n' modello
  COMPREPLY=($(compgen -d -- "$cur"))
  for modello; do
    COMPREPLY+=($(compgen -f -X "!$modello" -- "$cur"))
  done
  compopt -o filenames 2> /dev/null
}

_scenario() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
  local comando=${COMP_WORDS[1]} opzioni
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    COMPREPLY=($(compgen -W 'pack check timing docs dump plot new --help --version' -- "$cur"))
    return
  fi
  # --opt=VALUE is completed as --opt VALUE.
  if [[ $cur == --*=* ]]; then
    prev=${cur%%=*}
    cur=${cur#*=}
  fi
  case $prev in
    --kind) COMPREPLY=($(compgen -W 'grid stations plan' -- "$cur")); return ;;
    --name | --train | --min-margin | --classification | --mass | --departure | --signature | --contact)
      return ;;
    --reference-train) COMPREPLY=($(compgen -W 'unit locomotive' -- "$cur")); return ;;
    --release) COMPREPLY=($(compgen -W 'tail head' -- "$cur")); return ;;
    # The train model's other values: numbers and names, nothing to offer.
    --acceleration | --braking | --braked-mass | --dwell | --top-speed | --car-length | --train-mass | \
      --adhesive-mass | --power | --tractive-effort | --adhesion | --rotating-mass | --resistance | \
      --curve-resistance | --dwell-at | --margin) return ;;
    -o)
      if [[ $comando == plot ]]; then _scenario_file '*.svg'; else _scenario_file; fi
      return ;;
  esac
  local marcia='--reference-train --train-mass --adhesive-mass --power --tractive-effort --adhesion
    --acceleration --rotating-mass --resistance --curve-resistance --braking --braked-mass --top-speed
    --car-length --release --dwell --dwell-at --margin'
  case $comando in
    pack)
      opzioni="-o --name --train --no-line-plan --strict --warnings-as-errors --min-margin --source
        --no-source --json --docs --classification --mass --departure --signature --contact --help $marcia" ;;
    check) opzioni="--name --train --warnings-as-errors --min-margin --source --no-source --json --help $marcia" ;;
    docs)
      opzioni="-o --name --train --classification --mass --departure --signature --contact
        --warnings-as-errors --min-margin --source --no-source --json --help $marcia" ;;
    dump) opzioni='--kind --force --json --csv --all --features --help' ;;
    plot) opzioni="-o --name --train --help $marcia" ;;
    timing) opzioni="--name --train --json --csv --profile --help $marcia" ;;
    new) opzioni='--train -o --force --help' ;;
    *) return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$opzioni" -- "$cur"))
    return
  fi
  case $comando in
    pack | check | timing | docs) _scenario_file '*.txt' ;;
    dump) _scenario_file '*.dat' '*.sim' ;;
    plot) _scenario_file ;;
  esac
}
complete -F _scenario scenario

#!/usr/bin/env bash
# completion-covers-usage.sh ORVANECTL COMPLETION
# Every command and option that orvanectl's usage names is offered by the
# bash completion: the command in its list of commands, a command's options
# in that command's list, the tool's own options in the list before a
# command. A command or option added to the tool alone fails here.
set -euo pipefail
usage=$("$1" --help)
completion=$2
missing=()

# The words of the completion's list "NAME) options=\"...\"" (or, for the
# tool itself, the list completed before a command).
offered() {
  if [ "$1" = "" ]; then
    grep -o -- 'compgen -W "--ini[^"]*"' "$completion"
  else
    grep -E -- "^ *$1\) options=" "$completion" || true
  fi
}
commands=$(grep -o 'commands="[^"]*"' "$completion" | sed 's/^commands="//; s/"$//')

while IFS= read -r line; do
  if [[ $line =~ ^\ \ ([a-z][a-z-]*)(.*)$ ]]; then
    command=${BASH_REMATCH[1]}
    [[ " $commands " == *" $command "* ]] || missing+=("command $command")
    scope=$command
  elif [[ $line =~ ^\ \ -[-a-z] ]]; then
    scope=""
  else
    continue
  fi
  # The synopsis: the line without its indent and its description, which
  # follows two spaces.
  synopsis=${line:2}
  synopsis=${synopsis%%  *}
  for option in $(grep -o -E -- '--[a-z][a-z-]*' <<<"$synopsis" | sort -u); do
    offered "$scope" | grep -q -E -- "(\"| )$option(\"| )" || missing+=("option $option of '${scope:-orvanectl}'")
  done
done <<<"$usage"

if [ ${#missing[@]} -gt 0 ]; then
  printf 'not completed: %s\n' "${missing[@]}" >&2
  exit 1
fi
echo "every command and option of the usage is completed"

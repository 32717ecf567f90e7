#!/bin/bash
# check-symbols.sh NM LIBRARY...: fails when a global symbol has a strong definition (code,
# data, read-only data, zeroed data) in more than one object file of the libraries. Weak and
# unique definitions (inline functions, templates, inline variables) are meant to repeat.
set -euo pipefail
nm=$1
shift
(($# > 0)) || { echo "no libraries given" >&2; exit 1; }

listing=$("$nm" --defined-only -g -A "$@")
[[ -n $listing ]] || { echo "$nm listed no symbols" >&2; exit 1; }

# Each line reads "library:member:address type name".
duplicates=$(awk '$2 ~ /^[BDGRST]$/ {
    where = $1
    sub(/:[0-9a-fA-F]+$/, "", where)
    count[$3]++
    places[$3] = places[$3] "\n    " where
  }
  END { for (name in count) if (count[name] > 1) print name places[name] }' <<<"$listing")

if [[ -n $duplicates ]]; then
  echo "global symbols defined more than once:"
  if command -v c++filt >/dev/null; then c++filt <<<"$duplicates"; else echo "$duplicates"; fi
  exit 1
fi
echo "$(wc -l <<<"$listing") global definitions in $# libraries, none twice"

#!/usr/bin/env bash
# Proves the Debian package: unpacked into a throw-away root, the installed
# program writes the same report of the demo week as the tree it was built
# in; lintian finds no error; the desktop entry and the AppStream metadata are
# valid and the manual pages, English and Italian, render without a warning.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/installa.sh
pacchetto=$(bash scripts/pacchetto.sh | tail -n 1)
echo "Pacchetto: $pacchetto"

prova=$(mktemp -d)
trap 'rm -rf "$prova"' EXIT
dpkg -x "$pacchetto" "$prova/radice"
installato="$prova/radice/usr/bin/brovato5"
dalBuild="$PWD/build/albero-pacchetto/brovato5"
test -x "$prova/radice/usr/libexec/brovato5/brovato5-mdb"
test -x "$prova/radice/usr/libexec/brovato5/brovato5-qt"

# The same week built by both programs, each in its own copy of the demo
# Access files, outside the build folder.
settimana=(tableau --hotel 1 --tableau 1 --dalla 101 --alla 310 --data 07/12/2026)
for chi in installato build; do
  mkdir "$prova/$chi"
  cp tests/data/demo/*.mdb "$prova/$chi/"
done
(cd "$prova/installato" && PCLocal=1 "$installato" "${settimana[@]}")
(cd "$prova/build" && PCLocal=1 "$dalBuild" "${settimana[@]}")
cmp "$prova/installato/FD1" "$prova/build/FD1"
"$installato" --version
# The installed program finds the program of the windows in libexec.
"$installato" stampa --help >/dev/null

lintian --fail-on error --tag-display-limit 0 "$pacchetto"

condivisi="$prova/radice/usr/share"
desktop-file-validate "$condivisi/applications/it.brovato5.Brovato5.desktop"
appstreamcli validate --no-net "$condivisi/metainfo/it.brovato5.Brovato5.metainfo.xml"
pagine=("$condivisi"/man/man1/*.1.gz "$condivisi"/man/it/man1/*.1.gz)
for programma in brovato5 brovinvio; do
  for cartella in man1 it/man1; do
    test -f "$condivisi/man/$cartella/$programma.1.gz" || { echo "Manca man/$cartella/$programma.1.gz" >&2; exit 1; }
  done
done
for pagina in "${pagine[@]}"; do
  avvisi=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$pagina" 2>&1 >/dev/null)
  if [ -n "$avvisi" ] || [ -z "$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$pagina" 2>/dev/null)" ]; then
    echo "$pagina: $avvisi" >&2
    exit 1
  fi
done
echo "Pacchetto provato: $pacchetto"

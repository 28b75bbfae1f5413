#!/usr/bin/env bash
# Proves the Debian package: unpacked into a throw-away root, the installed
# program writes the same report of the demo week as the build tree's;
# lintian finds no error; the desktop entry and the AppStream metadata are
# valid and the manual pages render.
set -euo pipefail
cd "$(dirname "$0")/.."
pacchetto=$(bash scripts/pacchetto.sh | tail -n 1)
echo "Pacchetto: $pacchetto"

prova=$(mktemp -d)
trap 'rm -rf "$prova"' EXIT
dpkg -x "$pacchetto" "$prova/radice"
installato="$prova/radice/usr/bin/brovato5"
dalBuild="$PWD/build/brovato5"
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
for pagina in "$condivisi"/man/man1/*.1.gz; do
  avvisi=$(MANWIDTH=80 man --warnings -l "$pagina" 2>&1 >/dev/null)
  if [ -n "$avvisi" ] || [ -z "$(MANWIDTH=80 man -l "$pagina" 2>/dev/null)" ]; then
    echo "$pagina: $avvisi" >&2
    exit 1
  fi
done
echo "Pacchetto provato: $pacchetto"

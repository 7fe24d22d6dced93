#!/usr/bin/env bash
# The terminal tools' catalogue, po/zh_CN.po, kept with gettext's own tools.
#   catalogue.sh update   extracts the texts from the code and merges them in
#   catalogue.sh check    fails when a text of the code has no translation, a
#                         translation is fuzzy, or its placeholders differ
set -euo pipefail
cd "$(dirname "$0")/.."
po=po/zh_CN.po

extract() {  # TEMPLATE
  xgettext --language=C++ --from-code=UTF-8 --keyword=Tr --keyword=TrN:1,2 --keyword=N_ \
    --add-comments=TRANSLATORS: --package-name=Tarnel --sort-by-file --add-location=file --no-wrap \
    --output="$1" src/words/*.cpp tools/link/*.cpp tools/sim/*.cpp
}

case ${1:-} in
update)
  template=$(mktemp --suffix=.pot)
  trap 'rm -f "$template"' EXIT
  extract "$template"
  msgmerge --quiet --update --backup=none --add-location=file --no-wrap --no-fuzzy-matching "$po" "$template"
  # Texts the code no longer has go, rather than linger as comments.
  msgattrib --no-obsolete --no-wrap --output-file="$po" "$po"
  msgfmt --statistics -o /dev/null "$po"
  ;;
check)
  template=$(mktemp --suffix=.pot)
  trap 'rm -f "$template"' EXIT
  extract "$template"
  # Every text of the code, translated (an untranslated one counts as missing).
  msgcmp "$po" "$template"
  statistics=$(msgfmt --check --statistics -o /dev/null "$po" 2>&1)
  echo "$statistics"
  if [[ $statistics == *fuzzy* || $statistics == *untranslated* ]]; then
    echo "FAIL: fuzzy or untranslated texts in $po"
    exit 1
  fi
  ;;
*)
  echo "usage: catalogue.sh update|check" >&2
  exit 2
  ;;
esac

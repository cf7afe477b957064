#!/usr/bin/env bash
# The desktop files of the source tree: the desktop entry and the AppStream metadata pass
# their validators (skipped, exit 77, when a validator is not installed), and the manual
# pages (English and Korean) name every option that quillday --help lists.
#   files_test.sh desktop|appstream|manpage SOURCE_DIR [QUILLDAY_BIN]
set -euo pipefail
what=$1
src=$2
case $what in
  desktop)
    command -v desktop-file-validate >/dev/null 2>&1 || { echo "desktop-file-validate is not installed"; exit 77; }
    desktop-file-validate "$src/packaging/quillday.desktop"
    desktop-file-validate "$src/packaging/quillday-reminders.desktop"
    ;;
  appstream)
    command -v appstreamcli >/dev/null 2>&1 || { echo "appstreamcli is not installed"; exit 77; }
    appstreamcli validate --no-net --pedantic "$3"
    ;;
  manpage)
    bin=$3
    missing=0
    for file in quillday.1 quillday.ko.1; do
      page=$(sed 's/\\//g' "$src/packaging/$file")
      for option in $("$bin" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
        grep -q -- "$option" <<<"$page" || { echo "$file does not name $option"; missing=1; }
      done
      for name in QUILLDAY_HOME QUILLDAY_REGISTRY QUILLDAY_ACP QUILLDAY_SHORTDATE XDG_DATA_HOME XDG_CONFIG_HOME \
                  anniversary.dat _anniversary.dat orlith.inf orlith.en.inf pim.sqlite registry.reg registry.reg.bak; do
        grep -q -- "$name" <<<"$page" || { echo "$file does not name $name"; missing=1; }
      done
    done
    exit $missing
    ;;
esac

#!/usr/bin/env bash
# check-desktop.sh CHECK BUILD_DIR: installs the build into a scratch prefix and checks one part
# of the desktop integration: "mime" (formula files are recognised and open in the program),
# "metainfo" (the AppStream description) or "man" (the manual pages render cleanly).
set -uo pipefail

check=$1
build=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

if ! cmake --install "$build" --prefix "$work/usr" >"$work/install.log" 2>&1; then
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install failed" >&2
  exit 1
fi
share=$work/usr/share

case $check in
  mime)
    for tool in update-mime-database update-desktop-database xdg-mime gio desktop-file-validate; do
      command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install-deps test)" >&2; exit 1; }
    done
    [[ -f $share/icons/hicolor/scalable/mimetypes/application-x-verodazava-formulas.svg ]] ||
      fail "the MIME type has no icon"
    out=$(desktop-file-validate "$share/applications/verodazava.desktop" 2>&1) && [[ -z $out ]] ||
      fail "desktop-file-validate: $out"
    update-mime-database "$share/mime" || fail "update-mime-database failed"
    update-desktop-database "$share/applications" || fail "update-desktop-database failed"

    # Only the scratch prefix and the system's own types are seen; xdg-mime asks GLib's MIME
    # database (through gio), which reads the shared-mime-info cache of those folders.
    export XDG_DATA_HOME=$work/home XDG_DATA_DIRS=$share:/usr/share XDG_CONFIG_HOME=$work/config
    export XDG_CURRENT_DESKTOP=GNOME
    mkdir -p "$XDG_DATA_HOME" "$XDG_CONFIG_HOME"
    # Files with content: GLib calls every empty file text/plain.
    printf '"Бюджет"\r\n"2+3"\r\n' | iconv -f UTF-8 -t WINDOWS-1251 >"$work/a.SPR"
    cp "$work/a.SPR" "$work/b.spr"
    for name in a.SPR b.spr; do
      type=$(xdg-mime query filetype "$work/$name")
      [[ $type == application/x-verodazava-formulas ]] || fail "xdg-mime calls $name $type"
      type=$(gio info -a standard::content-type "$work/$name" | sed -n 's/.*standard::content-type: //p')
      [[ $type == application/x-verodazava-formulas ]] || fail "gio calls $name $type"
    done
    default=$(xdg-mime query default application/x-verodazava-formulas)
    [[ $default == verodazava.desktop ]] || fail "formula files open with '$default'"
    # The comment a file manager shows, in Bulgarian and English, as the database holds it.
    described=$share/mime/application/x-verodazava-formulas.xml
    grep -q '<comment xml:lang="bg">Таблица с формули на Verodazava</comment>' "$described" &&
      grep -q '<comment>Verodazava formula table</comment>' "$described" ||
      fail "the MIME type lacks its Bulgarian or English comment"
    ;;
  metainfo)
    command -v appstreamcli >/dev/null || { echo "FAIL: appstreamcli is missing" >&2; exit 1; }
    files=("$share"/metainfo/*.metainfo.xml)
    [[ ${#files[@]} -eq 1 && -f ${files[0]} ]] || { echo "FAIL: no metainfo file installed" >&2; exit 1; }
    appstreamcli validate --no-net "${files[0]}" || fail "appstreamcli rejects ${files[0]##*/}"
    grep -q '<launchable type="desktop-id">verodazava.desktop</launchable>' "${files[0]}" ||
      fail "the metainfo does not launch verodazava.desktop"
    grep -q '<mediatype>application/x-verodazava-formulas</mediatype>' "${files[0]}" ||
      fail "the metainfo does not provide the formula files' type"
    ;;
  man)
    # English and Bulgarian pages, compressed, in step with each other; each tells where the
    # table is kept for recovery and which variable moves that folder.
    man=$work/usr/share/man
    zcat "$man/man1/verodazava.1.gz" >"$work/en.1" || fail "no English page at share/man/man1"
    zcat "$man/bg/man1/verodazava.1.gz" >"$work/bg.1" || fail "no Bulgarian page at share/man/bg/man1"
    # The source lines of the section HEADING of PAGE, up to the next section.
    section() {
      awk -v heading=".SH $2" '/^\.SH / { inside = ($0 == heading); next } inside' "$1"
    }
    # page, its ENVIRONMENT heading, its FILES heading
    while IFS='|' read -r page environment files; do
      # The pages are UTF-8: preconv (-k) and a UTF-8 device, as man itself runs groff.
      out=$(groff -k -Tutf8 -man -ww -z "$work/$page" 2>&1)
      [[ -z $out ]] || fail "groff warns on $page: $out"
      text=$(groff -k -Tutf8 -P-cbou -man "$work/$page" 2>/dev/null)
      for option in --eval --report --pdf --tsv --decimals --help --version; do
        grep -q -- "$option" <<<"$text" || fail "$page does not mention $option"
      done
      section "$work/$page" "$environment" | grep -qx '\.B XDG_STATE_HOME' ||
        fail "$page: section $environment lacks XDG_STATE_HOME"
      for path in '$XDG_STATE_HOME/verodazava' '~/.local/state/verodazava'; do
        section "$work/$page" "$files" | grep -qF "$path" || fail "$page: section $files lacks $path"
      done
    done <<'PAGES'
en.1|ENVIRONMENT|FILES
bg.1|ПРОМЕНЛИВИ НА СРЕДАТА|ФАЙЛОВЕ
PAGES
    # In step: as many sections and entries, the same options and the same variables.
    for pattern in '^\.SH' '^\.TP' '\\-\\-[a-z]+' '^\.B [A-Z_]+$'; do
      en=$(grep -oE "$pattern" "$work/en.1" | sort | uniq -c | paste -sd ";")
      bg=$(grep -oE "$pattern" "$work/bg.1" | sort | uniq -c | paste -sd ";")
      [[ $en == "$bg" ]] || fail "the pages differ in $pattern: English $en; Bulgarian $bg"
    done
    ;;
  *)
    echo "usage: check-desktop.sh mime|metainfo|man BUILD_DIR" >&2
    exit 2
    ;;
esac

[[ $failures -eq 0 ]] && echo "desktop $check: ok"
exit $((failures > 0))

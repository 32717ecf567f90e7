#!/usr/bin/env bash
# check-deb.sh CPACK CPACK_CONFIG: builds the .deb, checks it with lintian, unpacks it with
# dpkg -x and checks what lintian does not know of.
set -uo pipefail

cpack=$1
config=$2
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

for tool in dpkg-deb dpkg-shlibdeps dpkg-parsechangelog desktop-file-validate file readelf lintian; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install-deps test)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The package is built outside the build tree so that runs never see each other's leftovers.
if ! "$cpack" -G DEB --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack did not build the package" >&2
  exit 1
fi
shopt -s nullglob
debs=("$work"/out/verodazava_*.deb)
if [[ ${#debs[@]} -ne 1 ]]; then
  echo "FAIL: expected one verodazava_*.deb, found ${#debs[@]}" >&2
  exit 1
fi
deb=${debs[0]}
echo "package: ${deb##*/}"

[[ $(dpkg-deb -f "$deb" Package) == verodazava ]] || fail "package name is not verodazava"
[[ $(dpkg-deb -f "$deb" Architecture) == "$(dpkg --print-architecture)" ]] ||
  fail "architecture is not $(dpkg --print-architecture)"

# Debian's policy: lintian must find no error and no warning. Information tags are shown too,
# as the hardening ones are among them (no immediate binding, no checked string functions).
# Lintian's own remark on being run as root is no finding.
lintian_out=$(lintian --display-info "$deb" 2>&1 | grep -vx 'running with root privileges is not recommended!')
if grep -Ev '^I: [^ ]+: ' <<<"$lintian_out" | grep -q . ||
  grep -Eq '^I: [^ ]+: hardening-' <<<"$lintian_out"; then
  fail "lintian: $lintian_out"
fi

root=$work/root
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x could not unpack the package" >&2; exit 1; }

# Everything belongs under /usr; a package must not install into /usr/local or elsewhere.
while IFS= read -r path; do
  case $path in
    ./ | ./usr/) ;;
    ./usr/local/*) fail "installs into /usr/local: $path" ;;
    ./usr/*) ;;
    *) fail "installs outside /usr: $path" ;;
  esac
done < <(dpkg-deb --fsys-tarfile "$deb" | tar -t)

bins=("$root"/usr/bin/*)
[[ ${#bins[@]} -eq 1 && ${bins[0]} == "$root/usr/bin/verodazava" ]] ||
  fail "usr/bin should hold only verodazava, holds: ${bins[*]##*/}"

entry=$root/usr/share/applications/verodazava.desktop
if [[ ! -f $entry ]]; then
  echo "FAIL: no launcher entry at /usr/share/applications/verodazava.desktop" >&2
  exit 1
fi
if ! out=$(desktop-file-validate "$entry" 2>&1) || [[ -n $out ]]; then
  fail "desktop-file-validate rejects the entry: $out"
fi

# The value of KEY in the [Desktop Entry] group.
entry_value() {
  awk -v key="$1" '
    /^\[/ { group = $0; next }
    group == "[Desktop Entry]" && index($0, key "=") == 1 { print substr($0, length(key) + 2); exit }
  ' "$entry"
}

[[ $(entry_value Name) == "Verodazava 2.0" ]] || fail "Name is not \"Verodazava 2.0\""
[[ $(entry_value 'Name[bg]') == "Verodazava 2.0" ]] || fail "Name[bg] is not \"Verodazava 2.0\""
# A window's WM_CLASS instance is the program's name; docks match it to the entry by this key.
[[ $(entry_value StartupWMClass) == verodazava ]] || fail "StartupWMClass is not verodazava"
[[ $(entry_value Categories) == *"Utility;"* && $(entry_value Categories) == *"Calculator;"* ]] ||
  fail "Categories lack Utility; and Calculator;"
# English by default, Bulgarian for a Bulgarian desktop.
for key in GenericName Comment Keywords; do
  value=$(entry_value "$key")
  [[ -n $value ]] && ! LC_ALL=C grep -q $'[\x80-\xff]' <<<"$value" || fail "$key is not in English"
  # Cyrillic letters are U+0400..U+04FF, whose UTF-8 forms begin with the bytes D0..D3.
  entry_value "$key[bg]" | LC_ALL=C grep -q $'[\xd0-\xd3]' || fail "$key[bg] is not in Bulgarian"
done

# Exec and TryExec name a program found on the PATH of the installed system, that is /usr/bin.
resolve_program() {
  case $1 in
    /*) echo "$root$1" ;;
    *) echo "$root/usr/bin/$1" ;;
  esac
}
exec_line=$(entry_value Exec)
program=$(resolve_program "${exec_line%% *}")
if [[ ! -x $program ]]; then
  fail "Exec=$exec_line names no executable in the package"
elif ! file -b "$program" | grep -q '^ELF'; then
  fail "Exec=$exec_line is not an ELF executable"
fi
try_exec=$(entry_value TryExec)
[[ -z $try_exec || -x $(resolve_program "$try_exec") ]] || fail "TryExec=$try_exec is not in the package"

# A bare icon name is looked up in the hicolor theme (any size) and in /usr/share/pixmaps.
icon=$(entry_value Icon)
icon_file=
if [[ $icon == /* ]]; then
  [[ -f $root$icon ]] && icon_file=$root$icon
else
  for candidate in "$root"/usr/share/icons/hicolor/*/apps/"$icon".{svg,png} \
    "$root"/usr/share/pixmaps/"$icon".{svg,png,xpm}; do
    [[ -f $candidate ]] && { icon_file=$candidate; break; }
  done
fi
if [[ -z $icon_file ]]; then
  fail "Icon=$icon is not in the package"
else
  echo "icon: ${icon_file#"$root"}"
  file -b "$icon_file" | grep -Eq 'SVG|PNG|X pixmap' || fail "icon ${icon_file##*/} is no image"
fi

# Depends: package names with version and architecture qualifiers removed.
depends_line=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends_line"
mapfile -t depends < <(tr ',|' '\n\n' <<<"$depends_line" | sed -E 's/\(.*\)//; s/:.*//; s/[[:space:]]//g' | grep .)
has_depend() {
  local d
  for d in "${depends[@]}"; do [[ $d == "$1" ]] && return 0; done
  return 1
}
for d in "${depends[@]}"; do
  [[ $d == *-dev ]] && fail "depends on the development package $d"
done
# The window icon is an SVG drawn by Qt's plugin; the windows' fonts come from fonts-liberation.
for needed in fonts-liberation libqt6svg6; do
  has_depend "$needed" || fail "Depends lacks $needed"
done
# Every Qt library the executable loads must come with a dependency on its runtime package.
if [[ -x $program ]]; then
  qt_libs=$(readelf -d "$program" | sed -nE 's/.*Shared library: \[(libQt6[^]]*)\].*/\1/p')
  [[ -n $qt_libs ]] || fail "the executable links no Qt 6 library"
  for lib in $qt_libs; do
    owner=$(dpkg -S "*/$lib" 2>/dev/null | head -n1 | cut -d: -f1)
    if [[ -z $owner ]]; then
      fail "no installed package provides $lib"
    elif ! has_depend "$owner"; then
      fail "Depends lacks $owner, which provides $lib"
    fi
  done
fi

# Formula files open from the desktop: the MIME type, its icon, the launcher's claim on it, the
# software-centre description, the manual pages and the documents Debian asks for travel in
# the package.
doc=usr/share/doc/verodazava
for path in usr/share/mime/packages/verodazava-formulas.xml \
  usr/share/icons/hicolor/scalable/mimetypes/application-x-verodazava-formulas.svg \
  usr/share/metainfo/org.verodazava.Verodazava.metainfo.xml usr/share/man/man1/verodazava.1.gz \
  usr/share/man/bg/man1/verodazava.1.gz "$doc/copyright" "$doc/changelog.gz"; do
  [[ -f $root/$path ]] || fail "the package lacks /$path"
done
[[ $(entry_value MimeType) == *"application/x-verodazava-formulas;"* ]] ||
  fail "the launcher entry does not open formula files"
[[ $(entry_value Exec) == *"%f"* ]] || fail "Exec= takes no file (%f)"

# The change log's latest entry is this version, by the package's maintainer.
if [[ -f $root/$doc/changelog.gz ]]; then
  for field in Version Maintainer; do
    logged=$(zcat "$root/$doc/changelog.gz" | dpkg-parsechangelog -l- -S "$field")
    [[ $logged == "$(dpkg-deb -f "$deb" "$field")" ]] ||
      fail "the change log's $field is '$logged', the package's '$(dpkg-deb -f "$deb" "$field")'"
  done
fi

if ((failures > 0)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package checks passed"

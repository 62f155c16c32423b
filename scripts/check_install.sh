#!/usr/bin/env bash
# Checks what `cmake --install` and `cpack` make of a finished build:
#  - installing into a prefix with spaces in its path puts down exactly the
#    expected files, each listed in the manifest;
#  - the desktop entry and the AppStream metainfo validate;
#  - the manual pages render without warnings; korvel's completion answers;
#  - uninstalling through the manifest leaves nothing behind;
#  - once the prefix's MIME database is built, a .kvl file (and a file that
#    only starts with <KORVEL>) is of the new type;
#  - the Debian package builds, holds the same files under /usr with its
#    copyright and changelog, and lintian finds no error and no warning in it.
# Usage: scripts/check_install.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)

fail() { echo "check_install: $*" >&2; exit 1; }
cache_value() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

[ -f "$build/CMakeCache.txt" ] || fail "no configured build in $build"
app_id=org.pelmora.Pelmora
mime_type=text/x-korvel
version=$(cache_value CMAKE_PROJECT_VERSION)
gui=$(cache_value PELMORA_BUILD_GUI)

expected=(
  bin/korvel
  share/bash-completion/completions/korvel
  share/doc/pelmora/LICENSE
  share/doc/pelmora/README.md
  share/man/man1/korvel.1.gz
)
if [ "$gui" = "ON" ]; then
  expected+=(
    bin/pelmora
    "share/applications/$app_id.desktop"
    "share/icons/hicolor/scalable/apps/$app_id.svg"
    share/man/man1/pelmora.1.gz
    "share/metainfo/$app_id.metainfo.xml"
    "share/mime/packages/$app_id.xml"
  )
  for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$app_id.png")
  done
fi
expected_list=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)

work=$(mktemp -d "${TMPDIR:-/tmp}/pelmora install check.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix="$work/usr local"
manifest="$work/install manifest.txt"

install_into_prefix() {
  cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install failed"; }
  cp "$build/install_manifest.txt" "$manifest"
}

# Lists regular files and links below a directory, relative to it, sorted.
files_below() { (cd "$1" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort); }

echo "== install into '$prefix'"
install_into_prefix
diff <(echo "$expected_list") <(files_below "$prefix") || fail "installed files differ from the expected list (< expected, > installed)"
diff <(echo "$expected_list") <(sed "s|^$prefix/||" "$manifest" | LC_ALL=C sort) || fail "the manifest differs from the expected list"
for program in korvel $([ "$gui" = "ON" ] && echo pelmora); do
  [ -x "$prefix/bin/$program" ] || fail "$program is not executable"
done
[ "$("$prefix/bin/korvel" --version)" = "korvel $version" ] || fail "installed korvel does not report version $version"

if [ "$gui" = "ON" ]; then
  echo "== desktop entry and metainfo"
  desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" || fail "appstreamcli validate"
  grep -qx "Exec=pelmora %f" "$prefix/share/applications/$app_id.desktop" || fail "desktop entry: Exec"
  grep -qx "MimeType=$mime_type;" "$prefix/share/applications/$app_id.desktop" || fail "desktop entry: MimeType"
  for size in 16 22 24 32 48 64 128 256; do
    file="$prefix/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    [ "$(od -An -tx1 -j16 -N8 "$file" | tr -d ' \n')" = "$(printf '%08x%08x' "$size" "$size")" ] ||
      fail "$file is not a ${size}x${size} PNG"
  done
fi

echo "== manual pages"
for page in "$prefix"/share/man/man1/*.1.gz; do
  MANWIDTH=80 man --warnings -l "$page" >"$work/page.txt" 2>"$work/page.err" || fail "man -l $page"
  [ ! -s "$work/page.err" ] || { cat "$work/page.err" >&2; fail "$page renders with warnings"; }
  name=$(basename "$page" .1.gz)
  grep -q "^NAME" "$work/page.txt" && grep -q "^       $name - " "$work/page.txt" || fail "$page has no NAME line"
done
korvel_page=$(MANWIDTH=80 man -l "$prefix/share/man/man1/korvel.1.gz" 2>/dev/null)
for command in normalize report interpretations layout match matches acceptance explain render import export solve; do
  grep -q "^       $command " <<<"$korvel_page" || fail "korvel.1 does not describe '$command'"
done

echo "== bash completion of korvel"
completion_answer() {
  # Prints what completing the words (the last one being typed) offers.
  bash --norc --noprofile -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
    _korvel korvel "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}" | LC_ALL=C sort | tr "\n" " "' \
    _ "$prefix/share/bash-completion/completions/korvel" "$@"
}
if [ -f /usr/share/bash-completion/bash_completion ]; then
  [ "$(completion_answer korvel re)" = "render report " ] || fail "completion of 're': $(completion_answer korvel re)"
  [ "$(completion_answer korvel solve -p '')" = "CE-ST DC-ST DS-ST EE-ST SE-ST " ] || fail "completion of solve -p"
  [ "$(completion_answer korvel interpretations --)" = "-- --help --json --no-parse " ] ||
    fail "completion of interpretations options: $(completion_answer korvel interpretations --)"
else
  echo "(bash-completion is not installed: completion not exercised)"
fi

echo "== uninstall through the manifest"
cmake -DMANIFEST="$manifest" -DPREFIX="$prefix" -P cmake/Uninstall.cmake >"$work/uninstall.log"
left=$(cd "$prefix" && find . -mindepth 1)
[ -z "$left" ] || fail "left behind after uninstalling: $left"

if [ "$gui" = "ON" ]; then
  echo "== MIME type of theory files"
  install_into_prefix
  sample="$work/a theory.kvl"
  printf '<KORVEL>\r\n<THEORY>\r\n\r\n</THEORY>\r\n</KORVEL>\r\n' >"$sample"
  cp "$sample" "$work/no extension"
  filetype() {
    # The generic desktop: xdg-mime asks shared-mime-info's database only.
    env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID -u DISPLAY \
      XDG_DATA_HOME="$work/data home" XDG_DATA_DIRS="$1" xdg-mime query filetype "$2"
  }
  before=$(filetype /usr/share "$sample")
  [ "$before" != "$mime_type" ] || fail "$mime_type is known before the prefix's database is built"
  XDG_DATA_DIRS="$prefix/share:/usr/share" update-mime-database "$prefix/share/mime"
  for file in "$sample" "$work/no extension"; do
    got=$(filetype "$prefix/share:/usr/share" "$file")
    [ "$got" = "$mime_type" ] || fail "xdg-mime gives '$got' for '$file'"
  done
  echo "a .kvl file is $mime_type (was $before)"
fi

echo "== Debian package"
(cd "$build" && cpack -G DEB -B "$work/package" >"$work/cpack.log") || { cat "$work/cpack.log" >&2; fail "cpack"; }
deb=$(ls "$work/package"/*.deb)
[ "$(dpkg-deb -f "$deb" Package)" = pelmora ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "package version is not $version-1"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
needed=(libc6 libstdc++6)
[ "$gui" = "ON" ] && needed+=(libqt6widgets6 libqt6svg6 qt6-qpa-plugins)
for dependency in "${needed[@]}"; do
  tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//' | grep -qxF "$dependency" ||
    fail "the package does not depend on $dependency"
done
diff <( (echo "$expected_list"
    printf '%s\n' share/doc/pelmora/copyright share/doc/pelmora/changelog.Debian.gz share/lintian/overrides/pelmora) |
  LC_ALL=C sort | sed 's|^|usr/|') \
  <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./||' | LC_ALL=C sort) ||
  fail "the package's files differ from the expected list"

echo "== lintian"
if command -v lintian >/dev/null 2>&1; then
  # Errors and warnings fail; info notes (the LICENSE beside the copyright,
  # say) are shown, and the tags the package overrides are named (lintian's
  # --show-overrides turns its exit status into 2). A failure of lintian
  # itself fails too.
  lintian --no-cfg --display-info --fail-on error,warning "$deb" >"$work/lintian.txt" 2>&1 ||
    { cat "$work/lintian.txt" >&2; fail "lintian reports errors or warnings, or could not run"; }
  cat "$work/lintian.txt"
  if [ "$(cache_value PELMORA_HARDENING)" = "ON" ]; then
    ! grep -q 'hardening-no-' "$work/lintian.txt" || fail "the build is hardened, but lintian finds programs that are not"
  fi
  sed -n 's/^pelmora: /overridden (resources\/debian\/lintian-overrides): /p' resources/debian/lintian-overrides
else
  fail "lintian is not installed (scripts/setup.sh installs it)"
fi
echo "check_install: all checks passed ($(basename "$deb"), $(stat -c %s "$deb") bytes)"

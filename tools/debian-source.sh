#!/usr/bin/env bash
# Debian source packages for the third-party builds.
#   debian-source.sh version PKG              -> prints the source version apt would fetch
#   debian-source.sh unpack PKG VER CACHE DIR -> unpacks that version into DIR (created)
# Downloads are kept in CACHE/downloads/PKG_VER, so a second unpack needs no network.
set -euo pipefail

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# apt needs deb-src entries to know source packages. We add our own file with
# the same archives as the machine's deb822 sources, leaving those untouched.
ensure_deb_src() {
  if grep -rqsE --include='*.list' --include='*.sources' '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # (not piped into grep -q: pipefail would count apt-cache's broken pipe)
    local known
    known=$(apt-cache showsrc --only-source "$1" 2>/dev/null || true)
    case "$known" in *Version:*) return 0;; esac
  else
    local own=/etc/apt/sources.list.d/zorvak-deb-src.sources
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $SUDO tee "$own" >/dev/null
    else
      $SUDO tee "$own" >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    fi
  fi
  echo "third-party: apt-get update for source packages" >&2
  $SUDO apt-get update -qq >&2
}

# Highest source version known to apt (the one apt-get source fetches).
# Asks apt's local lists only; the network is used when they lack the package.
source_version() {
  local pkg=$1 best="" v known
  known=$(apt-cache showsrc --only-source "$pkg" 2>/dev/null || true)
  case "$known" in
    *Version:*) ;;
    *) ensure_deb_src "$pkg"; known=$(apt-cache showsrc --only-source "$pkg" 2>/dev/null || true) ;;
  esac
  for v in $(echo "$known" | sed -n 's/^Version: //p'); do
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$best"; then best=$v; fi
  done
  [ -n "$best" ] || { echo "third-party: no source package $pkg" >&2; exit 1; }
  echo "$best"
}

# The archive lists the files of a .dsc with their SHA-256 sums; mpg123's
# signature file is listed but missing (404), so we check what we unpack.
check_sha256() {
  local dsc=$1 file=$2 want
  want=$(awk -v f="$file" '/^Checksums-Sha256:/{s=1;next} /^[^ ]/{s=0} s && $3==f {print $1}' "$dsc")
  [ -n "$want" ] && echo "$want  $file" | sha256sum -c --quiet -
}

unpack() {
  local pkg=$1 ver=$2 cache=$3 dest=$4
  local plain=${ver#*:}  # file names carry no epoch
  local dl="$cache/downloads/${pkg}_$plain"
  local dsc="$dl/${pkg}_$plain.dsc"
  if [ ! -f "$dl/.done" ]; then
    mkdir -p "$dl"
    ensure_deb_src "$pkg"
    echo "third-party: downloading source $pkg $ver" >&2
    # Fails as a whole when a listed file is missing (mpg123's .asc); what
    # downloaded is checked below.
    (cd "$dl" && apt-get source --download-only -qq "$pkg=$ver" >&2) || true
    [ -f "$dsc" ] || { echo "third-party: $dsc was not downloaded" >&2; exit 1; }
    touch "$dl/.done"
  fi
  rm -rf "$dest"
  mkdir -p "$(dirname "$dest")"
  local orig deb
  orig=$(ls "$dl/${pkg}_${plain%-*}".orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n1 || true)
  deb=$(ls "$dl/${pkg}_$plain".debian.tar.* 2>/dev/null | head -n1 || true)
  if ls "$dl"/*.asc >/dev/null 2>&1 || ! grep -q '\.asc$' "$dsc"; then
    dpkg-source --no-check -x "$dsc" "$dest" >/dev/null
  else
    # The .dsc names a signature that could not be fetched: unpack by hand.
    [ -n "$orig" ] && [ -n "$deb" ] || { echo "third-party: tarballs of $pkg missing" >&2; exit 1; }
    (cd "$dl" && check_sha256 "$dsc" "$(basename "$orig")" && check_sha256 "$dsc" "$(basename "$deb")") \
      || { echo "third-party: checksum mismatch for $pkg" >&2; exit 1; }
    mkdir -p "$dest"
    tar -xf "$orig" -C "$dest" --strip-components=1
    tar -xf "$deb" -C "$dest"
    if [ -f "$dest/debian/patches/series" ]; then
      local p
      while read -r p _; do
        case "$p" in ''|\#*) continue;; esac
        patch -d "$dest" -p1 -s < "$dest/debian/patches/$p"
      done < "$dest/debian/patches/series"
    fi
  fi
}

case "${1:-}" in
  version) source_version "$2" ;;
  unpack) unpack "$2" "$3" "$4" "$5" ;;
  *) echo "usage: debian-source.sh version PKG | unpack PKG VER CACHE DIR" >&2; exit 2 ;;
esac

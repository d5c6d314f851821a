#!/usr/bin/env bash
# Builds static libpng, libjpeg-turbo and libwebp for 64-bit Windows with mingw-w64,
# from Debian's own source packages (so Debian's security patches come along),
# into <build>/deps/mingw-w64. zlib comes from libz-mingw-w64-dev.
#
# Usage: scripts/build-windows-deps.sh [build-dir]   (default: <repo>/build)
#
# A stamp in the prefix records the source versions and a hash of this recipe;
# while it matches, the script exits at once without touching apt. To pick up
# a newer Debian revision, delete <build>/deps (or just <build>/deps/src).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
top="$(dirname "$here")"
build="${1:-$top/build}"
mkdir -p "$build"
build="$(cd "$build" && pwd)"

deps="$build/deps"
prefix="$deps/mingw-w64"
src="$deps/src"
work="$deps/work"
logs="$deps/logs"
stamp="$prefix/.velmora-deps-stamp"
toolchain="$top/cmake/mingw-w64-x86_64.cmake"
triplet=x86_64-w64-mingw32
mingw_root="/usr/$triplet"
packages=(libpng1.6 libjpeg-turbo libwebp)

say() { echo "build-windows-deps: $*"; }
die() { echo "build-windows-deps: error: $*" >&2; exit 1; }

# Any change to the build recipe or the toolchain must invalidate the stamp.
recipe="$(cat "${BASH_SOURCE[0]}" "$toolchain" | sha256sum)"
recipe="${recipe%% *}"

# Prints the unpacked source tree of a package (highest version if several).
tree_of() {
  local pkg="$1" best="" bestv="" d v
  for d in "$src/$pkg"-*/; do
    [ -f "$d/debian/changelog" ] || continue
    v="$(tree_version "$d")" || continue
    if [ -z "$best" ] || dpkg --compare-versions "$v" gt "$bestv"; then
      best="${d%/}"; bestv="$v"
    fi
  done
  [ -n "$best" ] && echo "$best"
}

# Reads "pkg (version) ..." from the changelog's first line, in pure bash.
tree_version() {
  local line name="${1%/}"
  name="${name##*/}"
  read -r line <"$1/debian/changelog" || return 1
  [[ "$line" =~ ^([^ ]+)\ \(([^\)]+)\) ]] || return 1
  [ "${BASH_REMATCH[1]}" = "${name%-*}" ] || return 1
  echo "${BASH_REMATCH[2]}"
}

# --- Fast path: nothing to do --------------------------------------------
stamp_ok() {
  [ -f "$stamp" ] && [ -f "$prefix/lib/libjpeg.a" ] && [ -f "$prefix/lib/libwebp.a" ] || return 1
  compgen -G "$prefix/lib/libpng*.a" >/dev/null || return 1
  local key val want_recipe="" pkg t
  declare -A have=()
  while read -r key val; do
    if [ "$key" = recipe ]; then want_recipe="$val"; else have[$key]="$val"; fi
  done <"$stamp"
  [ "$want_recipe" = "$recipe" ] || return 1
  for pkg in "${packages[@]}"; do
    [ -n "${have[$pkg]:-}" ] || return 1
    # A tree unpacked since (e.g. a newer revision) means a rebuild.
    if [ -d "$src" ] && t="$(tree_of "$pkg")"; then
      [ "$(tree_version "$t")" = "${have[$pkg]}" ] || return 1
    fi
  done
}

if stamp_ok; then
  say "up to date in $prefix ($(grep -v '^recipe ' "$stamp" | paste -sd, | sed 's/,/, /g'))"
  exit 0
fi

# --- Slow path --------------------------------------------------------------
for tool in cmake ninja nasm dpkg-source "$triplet-gcc-posix" "$triplet-nm"; do
  command -v "$tool" >/dev/null || die "$tool not found (run scripts/setup.sh)"
done
[ -f "$mingw_root/lib/libz.a" ] || die "$mingw_root/lib/libz.a missing (apt-get install libz-mingw-w64-dev)"

mkdir -p "$src" "$work" "$logs"
exec 9>"$deps/.lock"
flock 9  # two concurrent runs would trample each other's build trees

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Runs a step with its output in a log; on failure shows the log's tail.
run_logged() {
  local log="$logs/$1.log"; shift
  if ! "$@" >"$log" 2>&1; then
    echo "build-windows-deps: step failed, last lines of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# Adds deb-src entries mirroring the machine's Debian deb entries.
# Returns 0 only when it changed the apt configuration.
ensure_deb_src() {
  local d822=/etc/apt/sources.list.d/debian.sources
  local ours_d822=/etc/apt/sources.list.d/velmora-deb-src.sources
  local ours_list=/etc/apt/sources.list.d/velmora-deb-src.list
  local ours content f
  # Somebody else already provides deb-src: duplicates would only cause warnings.
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
    if [ ! -f "$f" ] || [ "$f" = "$ours_d822" ] || [ "$f" = "$ours_list" ]; then continue; fi
    if grep -qiE '^[[:space:]]*deb-src[[:space:]]|^types:.*deb-src' "$f"; then return 1; fi
  done
  if [ -f "$d822" ]; then
    ours="$ours_d822"
    # Copy each enabled "deb" stanza with Types rewritten (comments dropped).
    content="$(awk '
      function flush(  i) {
        if (n && isdeb && enabled) { if (out) print ""; for (i = 1; i <= n; i++) print buf[i]; out = 1 }
        n = 0; isdeb = 0; enabled = 1
      }
      BEGIN { enabled = 1 }
      /^[[:space:]]*$/ { flush(); next }
      /^#/ { next }
      tolower($0) ~ /^types:/ { isdeb = ($0 ~ /[[:space:]]deb([[:space:]]|$)/); buf[++n] = "Types: deb-src"; next }
      tolower($0) ~ /^enabled:[[:space:]]*no/ { enabled = 0 }
      { buf[++n] = $0 }
      END { flush() }' "$d822")"
  else
    ours="$ours_list"
    content="$(sed -n 's/^[[:space:]]*deb\([[:space:]]\)/deb-src\1/p' /etc/apt/sources.list 2>/dev/null || true)"
  fi
  [ -n "$content" ] || die "found no Debian 'deb' entries in /etc/apt to derive deb-src entries from"
  content="# Added by Velmora's scripts/build-windows-deps.sh for 'apt-get source'.
$content"
  if [ -f "$ours" ] && [ "$(cat "$ours")" = "$content" ]; then return 1; fi
  say "adding deb-src entries in $ours"
  printf '%s\n' "$content" | as_root tee "$ours" >/dev/null
}

apt_updated=0
apt_update() {
  say "apt-get update"
  run_logged apt-update as_root apt-get update
  apt_updated=1
}

tmp_dirs=()
cleanup() { [ "${#tmp_dirs[@]}" -eq 0 ] || rm -rf "${tmp_dirs[@]}"; }
trap cleanup EXIT

# Lists the source versions apt knows for a package, newest first.
source_versions() {
  local v vs=() sorted=() i best
  while read -r v; do vs+=("$v"); done < <(apt-cache showsrc --only-source "$1" 2>/dev/null | sed -n 's/^Version: *//p' | sort -u)
  while [ "${#vs[@]}" -gt 0 ]; do
    best=0
    for i in "${!vs[@]}"; do
      dpkg --compare-versions "${vs[$i]}" gt "${vs[$best]}" && best=$i
    done
    sorted+=("${vs[$best]}"); unset "vs[$best]"; vs=("${vs[@]}")
  done
  [ "${#sorted[@]}" -gt 0 ] && printf '%s\n' "${sorted[@]}"
}

# Downloads the newest source of a package that the mirror really serves
# (some mirrors carry a newer version in the index than in the pool).
download_source() {
  local pkg="$1" log="$logs/source-$1.log" versions v dl first="" round
  : >"$log"
  # A second round after "apt-get update" covers stale or missing indexes.
  for round in 1 2; do
    versions="$(source_versions "$pkg")" || true
    while read -r v; do
      [ -n "$v" ] || continue
      first="${first:-$v}"
      dl="$(mktemp -d)"; tmp_dirs+=("$dl")
      # apt fetches as the sandbox user _apt; let it write here so it does not
      # fall back to an unsandboxed download with a warning.
      if [ "$(id -u)" -eq 0 ] && id _apt >/dev/null 2>&1; then chown _apt "$dl"; fi
      say "apt-get source $pkg=$v"
      if (cd "$dl" && apt-get source --download-only "$pkg=$v") >>"$log" 2>&1; then
        [ "$v" = "$first" ] || say "note: $pkg $first is not downloadable here, using $v"
        cp -p "$dl"/* "$src"/
        return 0
      fi
    done <<<"$versions"
    if [ "$round" -eq 1 ] && [ "$apt_updated" -eq 0 ]; then apt_update; else break; fi
  done
  if [ -s "$log" ]; then
    echo "build-windows-deps: last lines of $log:" >&2
    tail -n 20 "$log" >&2
  fi
  die "could not download the source of $pkg (deb-src entries missing or mirror unreachable?)"
}

# Unpacks a package's source into $src, downloading it only if no .dsc is kept.
fetch_source() {
  local pkg="$1" dsc ver upver dir
  if ! compgen -G "$src/${pkg}_*.dsc" >/dev/null; then download_source "$pkg"; fi
  dsc="$(printf '%s\n' "$src/${pkg}"_*.dsc | sort -V | tail -n 1)"
  ver="$(sed -n 's/^Version: *//p' "$dsc" | head -n 1)"
  upver="${ver#*:}"; upver="${upver%-*}"
  dir="$src/$pkg-$upver"
  # Unpack aside and rename, so an interrupted unpack is never reused.
  rm -rf "$src/.partial-$pkg"
  run_logged "unpack-$pkg" dpkg-source -x "$dsc" "$src/.partial-$pkg"
  rm -rf "$dir"
  mv "$src/.partial-$pkg" "$dir"
}

need_fetch=()
for pkg in "${packages[@]}"; do
  tree_of "$pkg" >/dev/null || need_fetch+=("$pkg")
done
if [ "${#need_fetch[@]}" -gt 0 ]; then
  # Kept .dsc files can be unpacked without apt at all.
  need_apt=0
  for pkg in "${need_fetch[@]}"; do
    compgen -G "$src/${pkg}_*.dsc" >/dev/null || need_apt=1
  done
  if [ "$need_apt" -eq 1 ] && ensure_deb_src; then apt_update; fi
  for pkg in "${need_fetch[@]}"; do fetch_source "$pkg"; done
fi

png_tree="$(tree_of libpng1.6)" || die "no libpng1.6 source tree in $src"
jpeg_tree="$(tree_of libjpeg-turbo)" || die "no libjpeg-turbo source tree in $src"
webp_tree="$(tree_of libwebp)" || die "no libwebp source tree in $src"
png_ver="$(tree_version "$png_tree")"
webp_ver="$(tree_version "$webp_tree")"
jpeg_ver="$(tree_version "$jpeg_tree")"

# Start from an empty prefix so nothing stale from an older build survives.
rm -rf "$prefix" "$stamp"
mkdir -p "$prefix"

# Both projects default to lib/ and include/ here. (An untyped relative
# CMAKE_INSTALL_LIBDIR on the command line makes libjpeg-turbo resolve it
# against the current directory, so leave those alone.)
common=(
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG"
  -DCMAKE_INSTALL_PREFIX="$prefix"
)
cd "$work"

# Passes -D$1 only when the project's CMakeLists knows the option.
opt_if() {
  local cml="$1" name="$2" value="$3"
  if grep -q "$name" "$cml"; then echo "-D$name=$value"; fi
}

cmake_build() {
  local name="$1" tree="$2"; shift 2
  local bdir="$work/$name"
  rm -rf "$bdir"
  run_logged "$name-configure" cmake -S "$tree" -B "$bdir" "${common[@]}" "$@"
  run_logged "$name-build" cmake --build "$bdir"
  run_logged "$name-install" cmake --install "$bdir"
}

say "building libpng $png_ver"
# libpng only enables its SSE2 filter code for a processor spelled x86_64,
# while the project toolchain says AMD64 (which libjpeg-turbo wants as is).
cat >"$work/libpng-toolchain.cmake" <<EOF
include("$toolchain")
set(CMAKE_SYSTEM_PROCESSOR x86_64)
EOF
png_opts=(
  -DCMAKE_TOOLCHAIN_FILE="$work/libpng-toolchain.cmake"
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF
  -DZLIB_LIBRARY="$mingw_root/lib/libz.a" -DZLIB_INCLUDE_DIR="$mingw_root/include"
)
mapfile -t -O "${#png_opts[@]}" png_opts < <(opt_if "$png_tree/CMakeLists.txt" PNG_EXECUTABLES OFF)
cmake_build libpng "$png_tree" "${png_opts[@]}"

say "building libjpeg-turbo $jpeg_ver"
jpeg_opts=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=ON)
mapfile -t -O "${#jpeg_opts[@]}" jpeg_opts < <(
  opt_if "$jpeg_tree/CMakeLists.txt" WITH_TURBOJPEG OFF
  opt_if "$jpeg_tree/CMakeLists.txt" REQUIRE_SIMD ON)
cmake_build libjpeg-turbo "$jpeg_tree" "${jpeg_opts[@]}"

say "building libwebp $webp_ver"
# Only the decoder and the demuxer are linked; no tools, no image libraries.
webp_opts=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DBUILD_SHARED_LIBS=OFF)
for o in WEBP_BUILD_ANIM_UTILS WEBP_BUILD_CWEBP WEBP_BUILD_DWEBP WEBP_BUILD_GIF2WEBP \
         WEBP_BUILD_IMG2WEBP WEBP_BUILD_VWEBP WEBP_BUILD_WEBPINFO WEBP_BUILD_WEBPMUX \
         WEBP_BUILD_EXTRAS WEBP_BUILD_LIBWEBPMUX; do
  mapfile -t -O "${#webp_opts[@]}" webp_opts < <(opt_if "$webp_tree/CMakeLists.txt" "$o" OFF)
done
cmake_build libwebp "$webp_tree" "${webp_opts[@]}"

# --- Checks -------------------------------------------------------------------
png_lib=""
for f in "$prefix"/lib/libpng16.a "$prefix"/lib/libpng.a; do
  if [ -f "$f" ]; then png_lib="$f"; break; fi
done
[ -n "$png_lib" ] || die "no libpng static library in $prefix/lib"
[ -f "$prefix/lib/libjpeg.a" ] || die "no libjpeg.a in $prefix/lib"
for f in libwebp.a libwebpdemux.a; do
  [ -f "$prefix/lib/$f" ] || die "no $f in $prefix/lib"
done
# (Captured first: "nm | grep -q" trips pipefail when grep quits early.)
syms="$("$triplet-nm" "$prefix/lib/libjpeg.a" 2>/dev/null)"
grep -q 'jsimd_.*_avx2' <<<"$syms" || die "libjpeg.a has no SIMD code (was nasm used?)"
syms="$("$triplet-nm" "$png_lib" 2>/dev/null)"
grep -q 'png_init_filter_functions_sse2' <<<"$syms" || die "$png_lib has no SSE2 filter code"

png_up="$(sed -n 's/^#define PNG_LIBPNG_VER_STRING *"\(.*\)"/\1/p' "$prefix"/include/png.h)"
jpeg_up="$(sed -n 's/^#define LIBJPEG_TURBO_VERSION[[:space:]]\+\([0-9][0-9.]*\)$/\1/p' "$prefix"/include/jconfig.h)"

printf 'libpng1.6 %s\nlibjpeg-turbo %s\nlibwebp %s\nrecipe %s\n' "$png_ver" "$jpeg_ver" "$webp_ver" "$recipe" \
  >"$stamp.tmp"
mv "$stamp.tmp" "$stamp"

say "installed in $prefix:"
say "  libpng $png_up (Debian $png_ver) -> ${png_lib#"$prefix"/}"
say "  libjpeg-turbo $jpeg_up with SIMD (Debian $jpeg_ver) -> lib/libjpeg.a"
say "  libwebp (Debian $webp_ver) -> lib/libwebp.a, lib/libwebpdemux.a"

#!/usr/bin/env bash
# Installs what Pellavo's build, tests and benchmarks need on Debian 12, as root.
# Returns at once when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ file python3
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine64
    googletest libstb-dev libjpeg62-turbo-dev libwebp-dev libspng-dev pkg-config nasm patch xz-utils
    nsis zip p7zip-full
    e2fsprogs
    clang libclang-rt-14-dev
    imagemagick libvips-tools libjpeg-turbo-progs time bc
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# The sources of the libraries the Windows builds make themselves
# (cmake/libjpeg-turbo.cmake, cmake/libwebp.cmake, cmake/libspng.cmake), from
# Debian's source packages: the upstream tarballs and Debian's patches, kept
# outside the source tree. A package=version entry fetches that version rather
# than the newest: zlib's security revision is not on every mirror.
deb_sources=/var/cache/pellavo/deb-src
source_packages=(libjpeg-turbo libwebp libspng zlib=1:1.2.13.dfsg-1)
source_tarballs=(
    libjpeg-turbo_2.1.5.orig.tar.gz libjpeg-turbo_2.1.5-2.debian.tar.xz
    libwebp_1.2.4.orig.tar.gz libwebp_1.2.4-0.2+deb12u1.debian.tar.xz
    libspng_0.7.3.orig.tar.gz libspng_0.7.3-3.debian.tar.xz
    zlib_1.2.13.dfsg.orig.tar.bz2 zlib_1.2.13.dfsg-1.debian.tar.xz
)
# Whether a tarball of the given source package (of any, when none is given) is missing.
source_missing() {
    local tarball
    for tarball in "${source_tarballs[@]}"; do
        [[ -n ${1:-} && $tarball != "$1"_* ]] && continue
        [ -f "$deb_sources/$tarball" ] || return 0
    done
    return 1
}
[ ${#missing[@]} -eq 0 ] && ! source_missing && exit 0

export DEBIAN_FRONTEND=noninteractive
# Source packages come from the same suites as the binary ones.
source_entries=/etc/apt/sources.list.d/pellavo-deb-src.sources
if source_missing && [ ! -f "$source_entries" ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$source_entries.tmp"
    mv "$source_entries.tmp" "$source_entries"
fi
apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get install -y -q "${missing[@]}"
fi
for entry in "${source_packages[@]}"; do
    package=${entry%%=*}
    source_missing "$package" || continue
    mkdir -p "$deb_sources"
    (cd "$deb_sources" && apt-get source -q --download-only "$entry")
    for tarball in "${source_tarballs[@]}"; do
        [[ $tarball == "$package"_* && ! -f "$deb_sources/$tarball" ]] || continue
        echo "Debian's $entry source package holds no $deb_sources/$tarball" >&2
        exit 1
    done
done

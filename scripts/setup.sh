#!/usr/bin/env bash
# Installs what Pellavo's build, tests and benchmarks need on Debian 12, as root.
# Returns at once when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ file
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine64
    googletest libstb-dev libjpeg62-turbo-dev nasm patch xz-utils
    nsis zip p7zip-full
    e2fsprogs
    clang libclang-rt-14-dev
    imagemagick libvips-tools libjpeg-turbo-progs time bc
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# libjpeg-turbo's source for the Windows builds (cmake/libjpeg-turbo.cmake),
# from Debian's source package: the upstream tarball and Debian's patches,
# kept outside the source tree.
jpeg_sources=/var/cache/pellavo/deb-src
jpeg_tarballs=("$jpeg_sources/libjpeg-turbo_2.1.5.orig.tar.gz" "$jpeg_sources/libjpeg-turbo_2.1.5-2.debian.tar.xz")
jpeg_source_missing() {
    local tarball
    for tarball in "${jpeg_tarballs[@]}"; do [ -f "$tarball" ] || return 0; done
    return 1
}
[ ${#missing[@]} -eq 0 ] && ! jpeg_source_missing && exit 0

export DEBIAN_FRONTEND=noninteractive
# Source packages come from the same suites as the binary ones.
source_entries=/etc/apt/sources.list.d/pellavo-deb-src.sources
if jpeg_source_missing && [ ! -f "$source_entries" ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$source_entries.tmp"
    mv "$source_entries.tmp" "$source_entries"
fi
apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get install -y -q "${missing[@]}"
fi
if jpeg_source_missing; then
    mkdir -p "$jpeg_sources"
    (cd "$jpeg_sources" && apt-get source -q --download-only libjpeg-turbo)
    for tarball in "${jpeg_tarballs[@]}"; do
        [ -f "$tarball" ] || { echo "Debian's libjpeg-turbo source package holds no $tarball" >&2; exit 1; }
    done
fi

#!/usr/bin/env bash
# Installs what Pellavo's build, tests and benchmarks need on Debian 12, as root.
# Returns at once when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ file
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine64
    googletest libstb-dev libjpeg62-turbo-dev nasm
    nsis zip p7zip-full
    e2fsprogs
    clang libclang-rt-14-dev
    imagemagick libvips-tools time bc
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# libjpeg-turbo's source for the Windows builds (cmake/libjpeg-turbo.cmake),
# from Debian's source package, kept outside the source tree.
jpeg_sources=/var/cache/pellavo/deb-src
jpeg_tarball=$jpeg_sources/libjpeg-turbo_2.1.5.orig.tar.gz
[ ${#missing[@]} -eq 0 ] && [ -f "$jpeg_tarball" ] && exit 0

export DEBIAN_FRONTEND=noninteractive
# Source packages come from the same suites as the binary ones.
source_entries=/etc/apt/sources.list.d/pellavo-deb-src.sources
if [ ! -f "$jpeg_tarball" ] && [ ! -f "$source_entries" ]; then
    sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$source_entries.tmp"
    mv "$source_entries.tmp" "$source_entries"
fi
apt-get update -q
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get install -y -q "${missing[@]}"
fi
if [ ! -f "$jpeg_tarball" ]; then
    mkdir -p "$jpeg_sources"
    (cd "$jpeg_sources" && apt-get source -q --download-only libjpeg-turbo)
    [ -f "$jpeg_tarball" ] || { echo "Debian's libjpeg-turbo source package holds no $jpeg_tarball" >&2; exit 1; }
fi

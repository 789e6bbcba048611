#!/usr/bin/env bash
# Installs what Pellavo's build, tests and benchmarks need on Debian 12, as root.
# Returns at once when everything is already there.
set -euo pipefail

packages=(
    cmake make g++ file python3 curl
    g++-mingw-w64-i686 g++-mingw-w64-x86-64
    wine wine64
    googletest libstb-dev nasm patch xz-utils
    nsis zip p7zip-full
    e2fsprogs
    clang libclang-rt-14-dev
    imagemagick libvips-tools libjpeg-turbo-progs time bc libimage-exiftool-perl
    libgs-common
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# The sources of the libraries every preset builds itself (cmake/*.cmake):
# Debian 13's source packages, the upstream tarballs and Debian's packaging
# with its patches, kept outside the source tree. They are fetched from the
# archive's pool by name, since Debian 12's apt knows no Debian 13 sources;
# the build checks each against the SHA-256 that Debian 13's Sources index
# gives it.
deb_sources=/var/cache/pellavo/deb-src
pool=http://deb.debian.org/debian/pool/main
source_tarballs=(
    libj/libjpeg-turbo/libjpeg-turbo_2.1.5.orig.tar.gz libj/libjpeg-turbo/libjpeg-turbo_2.1.5-4.debian.tar.xz
    libw/libwebp/libwebp_1.5.0.orig.tar.gz libw/libwebp/libwebp_1.5.0-0.1.debian.tar.xz
    libs/libspng/libspng_0.7.4.orig.tar.gz
    z/zlib/zlib_1.3.dfsg+really1.3.1.orig.tar.gz z/zlib/zlib_1.3.dfsg+really1.3.1-1.debian.tar.xz
    l/lcms2/lcms2_2.16.orig.tar.gz l/lcms2/lcms2_2.16-2+deb13u2.debian.tar.xz
)
missing_tarballs=()
for tarball in "${source_tarballs[@]}"; do
    [ -f "$deb_sources/${tarball##*/}" ] || missing_tarballs+=("$tarball")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_tarballs[@]} -eq 0 ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if [ ${#missing[@]} -gt 0 ]; then
    apt-get update -q
    echo "Installing: ${missing[*]}"
    apt-get install -y -q "${missing[@]}"
fi
mkdir -p "$deb_sources"
for tarball in "${missing_tarballs[@]}"; do
    echo "Fetching Debian 13's ${tarball##*/}"
    curl -fsS --retry 3 -o "$deb_sources/${tarball##*/}.part" "$pool/$tarball"
    mv "$deb_sources/${tarball##*/}.part" "$deb_sources/${tarball##*/}"
done

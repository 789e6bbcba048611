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
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q "${missing[@]}"

#!/usr/bin/env bash
# Installs, uses and uninstalls Pellavo as a Windows user would, in a fresh
# Wine prefix of its own: a silent installation, a verb carried out through
# the shell, a silent uninstallation; then a silent Russian installation over
# a size list kept from before, and its uninstallation, which keeps the list.
# Usage: installer_test.sh SETUP_EXE PELLAVO_EXE HELPER_DIR WORK_DIR SAMPLE_JPG
# (HELPER_DIR holds run_to_end.exe; WORK_DIR is deleted at the start and at
# the end.)
set -euo pipefail
setup=$1
pellavo=$2
helpers=$3
work=$4
sample=$5

prefix=$work/prefix
pictures=$work/pictures
run=("$(dirname "$0")/../wine/run-in-wine.sh" "$prefix")
install=$prefix/drive_c/Program\ Files/Pellavo
shortcut=$prefix/drive_c/ProgramData/Microsoft/Windows/Start\ Menu/Programs/Pellavo.lnk
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellavo'
exe_path='C:\Program Files\Pellavo\pellavo.exe'
english='Resize @...'
russian='Изменить размер до @...'
default_sizes=(640x480 800x600 1024x768 1280x720 1920x1080)

cleanup() {
    # The launcher leaves a persistent wineserver behind; this prefix's goes too.
    WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
cleanup
mkdir -p "$pictures"

failures=0
expect() {
    local what=$1 actual=$2 expected=$3
    if [ "$actual" == "$expected" ]; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        diff <(echo "$expected") <(echo "$actual") | sed 's/^/    /' || true
        failures=$((failures + 1))
    fi
}
windows_path() { echo "Z:${1//\//\\}"; }

# A key as text: reg export writes UTF-16, which keeps the Russian verb names
# that reg query's console output turns into question marks. Empty when the
# key is missing.
key_text() {
    local file=$work/key.reg
    rm -f "$file"
    "${run[@]}" reg export "$1" "$(windows_path "$file")" /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
}

# The verbs of a key with commands, as "NAME -> COMMAND", sorted; the
# shell's own "open" left out.
verbs_of() {
    key_text "HKCR\\$1\\shell" | awk '
        /^\[.*\\command\]$/ { name = $0; sub(/\\command\]$/, "", name); sub(/^.*\\shell\\/, "", name); next }
        /^@="/ && name != "" { print name " -> " substr($0, 4, length($0) - 4) }
        /^\[/ { name = "" }' | sed 's/\\"/"/g; s/\\\\/\\/g' | grep -v '^open -> ' | sort || true
}

# The verbs pellavo.exe registers for a name format ("@" for the size) and sizes.
expected_verbs() {
    local format=$1 size
    shift
    for size in "$@"; do
        printf '%s -> "%s" -size %s %%1\n' "${format/@/$size}" "$exe_path" "$size"
    done | sort
}

# Where the verbs go under Wine 8: the program's own JPEG and WebP extensions
# and those of Wine's WIC decoders; and where earlier versions put them.
extensions=(.jpg .jpeg .jpe .jfif .webp .gif .png .bmp .dib .rle .dds .jxr .hdp .wdp .tga .tpic .tif .tiff .ico)
old_classes=(jpegfile giffile pngfile)
all_verbs() {
    local key
    for key in "${extensions[@]/#/SystemFileAssociations\\}" "${old_classes[@]}"; do echo "$key:"; verbs_of "$key"; done
}
expected_all_verbs() {
    local key
    for key in "${extensions[@]/#/SystemFileAssociations\\}"; do echo "$key:"; expected_verbs "$@"; done
    printf '%s:\n' "${old_classes[@]}"
}
no_verbs() { printf '%s:\n' "${extensions[@]/#/SystemFileAssociations\\}" "${old_classes[@]}"; }
installed_files() { [ -d "$install" ] && (cd "$install" && find . -type f | sed 's|^\./||' | sort); }
same_file() { cmp -s "$1" "$2" && echo same || echo different; }

uninstall() {
    local quiet
    quiet=$("${run[@]}" reg query "$uninstall_key" /v QuietUninstallString | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
    expect "the Add/Remove entry names a quiet uninstallation" "$quiet" "\"${exe_path%\\*}\\uninstall.exe\" /S"
    # Uninstallers return at once and finish from a copy; run_to_end waits for that.
    "${run[@]}" "$helpers/run_to_end.exe" "$quiet"
}

echo "== a fresh prefix whose .jpg files open with something harmless"
"${run[@]}" reg add 'HKCR\.jpg' /ve /d jpegfile /f >/dev/null
"${run[@]}" reg add 'HKCR\jpegfile\shell\open\command' /ve /d 'C:\windows\system32\cmd.exe /c rem "%1"' /f >/dev/null

echo "== silent installation"
"${run[@]}" "$setup" /S
expect "installed files" "$(installed_files)" "$(printf '%s\n' LICENSE.txt current_translate.txt help_en.html \
    help_ru.html local/en_translate.txt local/rus_translate.txt pellavo.exe settings.txt uninstall.exe)"
expect "pellavo.exe is the build's" "$(same_file "$install/pellavo.exe" "$pellavo")" same
expect "the language is English" "$(same_file "$install/current_translate.txt" "$install/local/en_translate.txt")" same
expect "the first size list" "$(cat "$install/settings.txt")" "$(printf '%s\r\n' "${default_sizes[@]}")"
expect "English verbs for the five sizes" "$(all_verbs)" "$(expected_all_verbs "$english" "${default_sizes[@]}")"
entry=$(key_text "$uninstall_key")
for value in '"DisplayName"="Pellavo"' '"DisplayVersion"="1.0"' '"Publisher"="Pellavo developers"' \
             '"DisplayIcon"="C:\\Program Files\\Pellavo\\pellavo.exe,0"' \
             '"UninstallString"="\"C:\\Program Files\\Pellavo\\uninstall.exe\""' '"Language"="1033"'; do
    expect "Add/Remove entry has $value" "$(grep -Fx "$value" <<<"$entry" || true)" "$value"
done
expect "Add/Remove entry has an EstimatedSize" "$(grep -c '^"EstimatedSize"=dword:0*[1-9a-f]' <<<"$entry" || true)" 1
# The shortcut holds its target as ANSI text and its working folder as UTF-16.
expect "shortcut target" "$(strings "$shortcut" 2>/dev/null | grep -Fx "$exe_path" || true)" "$exe_path"
expect "shortcut working folder" "$(strings -el "$shortcut" 2>/dev/null | grep -Fx "${exe_path%\\*}" || true)" \
    "${exe_path%\\*}"
# SLDF_RUNAS_USER, bit 0x2000 of the LinkFlags at offset 0x14.
expect "the shortcut runs as administrator" "$(( $(od -An -tu1 -j21 -N1 "$shortcut") & 0x20 ))" 32

echo "== the verb, as Explorer starts it"
# Wine's shell does not look under SystemFileAssociations: the registered
# command is started whole, with the picture in place of %1.
cp "$sample" "$pictures/sunset.jpg"
command=$("${run[@]}" reg query 'HKCR\SystemFileAssociations\.jpg\shell\Resize 800x600...\command' /ve |
    sed -n 's/.*REG_SZ *//p' | tr -d '\r')
"${run[@]}" "$helpers/run_to_end.exe" "${command/\%1/$(windows_path "$pictures/sunset.jpg")}"
expect "the verb wrote the copy" "$(ls "$pictures")" "$(printf '%s\n' sunset.jpg sunset_800x450.jpg)"
expect "the copy is 800x450" "$(file -b "$pictures/sunset_800x450.jpg" 2>/dev/null | grep -o ', 800x450,' || true)" \
    ", 800x450,"

echo "== silent uninstallation"
uninstall
# The files first: looked at straight away, they show whether the wait was real.
expect "no install folder (the size list was the first one)" "$([ -e "$install" ] && echo there || echo gone)" gone
expect "no shortcut" "$([ -e "$shortcut" ] && echo there || echo gone)" gone
expect "no verbs left" "$(all_verbs)" "$(no_verbs)"
expect "no Add/Remove entry" "$(key_text "$uninstall_key")" ""

echo "== silent Russian installation over a size list kept from before"
mkdir -p "$install"
printf '320x240\r\n1024x768\r\n' >"$install/settings.txt"
"${run[@]}" "$setup" /S /LANG=RUS
expect "the kept size list" "$(cat "$install/settings.txt")" "$(printf '320x240\r\n1024x768\r\n')"
expect "the language is Russian" "$(same_file "$install/current_translate.txt" "$install/local/rus_translate.txt")" same
expect "Russian verbs for the kept sizes" "$(all_verbs)" "$(expected_all_verbs "$russian" 320x240 1024x768)"

echo "== silent uninstallation keeps the changed list"
uninstall
expect "only settings.txt is left" "$(installed_files)" settings.txt
expect "no verbs left" "$(all_verbs)" "$(no_verbs)"
expect "no Add/Remove entry" "$(key_text "$uninstall_key")" ""

[ "$failures" -eq 0 ] && echo "installer test passed"
exit "$failures"

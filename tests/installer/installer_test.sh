#!/usr/bin/env bash
# Installs, uses and uninstalls Pellavo as a Windows user would, in a fresh
# Wine prefix of its own, as the 64-bit Windows it is: a silent installation
# for everyone, a verb carried out through the shell, a silent uninstallation;
# one for the user alone, then one for everyone beside it, each uninstalled
# leaving the other whole; then a silent Russian installation over a size list
# kept from before, and its uninstallation, which keeps the list; an upgrade
# into another folder; an uninstaller run without its mode.
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
# The same for the user alone: Wine names the user's folder after the Unix user.
user=$(id -un)
user_install=$prefix/drive_c/users/$user/AppData/Local/Programs/Pellavo
user_shortcut=$prefix/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs/Pellavo.lnk
user_uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pellavo'
user_exe_path="C:\\users\\$user\\AppData\\Local\\Programs\\Pellavo\\pellavo.exe"
machine_classes='HKLM\Software\Classes'
user_classes='HKCU\Software\Classes'
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

# shellcheck source=../wine/expect.sh
source "$(dirname "$0")/../wine/expect.sh"
windows_path() { echo "Z:${1//\//\\}"; }

# A key as text: reg export writes UTF-16, which keeps the Russian verb names
# that reg query's console output turns into question marks. Empty when the
# key is missing, which reg says (on the emulated PC it says nothing). Any
# other failure, seen now and then on a loaded machine, is tried again, and
# reported when it stays, so that it never reads as a missing key.
key_text() {
    local file=$work/key.reg errors=$work/key.err attempt
    for attempt in 1 2 3; do
        rm -f "$file"
        if "${run[@]}" reg export "$1" "$(windows_path "$file")" /y >/dev/null 2>"$errors" && [ -s "$file" ]; then
            iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r'
            return 0
        fi
        [ -s "$errors" ] && ! grep -q 'Unable to find the specified registry key' "$errors" || return 0
        echo "reg export of $1 failed (attempt $attempt): $(tr -d '\r' <"$errors")" >&2
    done
}

# The verbs in an exported tree that stand below KEY\shell (KEY a path
# below the classes, as "SystemFileAssociations\.jpg"), as "NAME -> COMMAND",
# sorted; the shell's own "open" left out.
verbs_below() {
    shell="\\$2\\shell\\" awk '
        /^\[.*\\command\]$/ {
            name = ""; at = index($0, ENVIRON["shell"])
            if (at) { name = substr($0, at + length(ENVIRON["shell"])); sub(/\\command\]$/, "", name) }
            next
        }
        /^@="/ && name != "" { print name " -> " substr($0, 4, length($0) - 4) }
        /^\[/ { name = "" }' <<<"$1" | sed 's/\\"/"/g; s/\\\\/\\/g' | grep -v '^open -> ' | sort || true
}

# The verbs pellavo.exe at a path registers for a name format ("@" for the size) and sizes.
expected_verbs() {
    local exe=$1 format=$2 size
    shift 2
    for size in "$@"; do
        printf '%s -> "%s" -size %s %%1\n' "${format/@/$size}" "$exe" "$size"
    done | sort
}

# Where the verbs go under Wine 8: the program's own JPEG, WebP and PNG extensions
# and those of Wine's WIC decoders; and where earlier versions put them.
extensions=(.jpg .jpeg .jpe .jfif .webp .gif .png .bmp .dib .rle .dds .jxr .hdp .wdp .tga .tpic .tif .tiff .ico)
old_classes=(jpegfile giffile pngfile)
# all_verbs CLASSES: every verb there, key by key. The types' key is read in
# one export: each Wine process costs seconds on the emulated PC.
all_verbs() {
    local key types
    types=$(key_text "$1\\SystemFileAssociations")
    for key in "${extensions[@]/#/SystemFileAssociations\\}"; do echo "$key:"; verbs_below "$types" "$key"; done
    for key in "${old_classes[@]}"; do echo "$key:"; verbs_below "$(key_text "$1\\$key\\shell")" "$key"; done
}
# expected_all_verbs EXE FORMAT SIZE...
expected_all_verbs() {
    local key
    for key in "${extensions[@]/#/SystemFileAssociations\\}"; do echo "$key:"; expected_verbs "$@"; done
    printf '%s:\n' "${old_classes[@]}"
}
no_verbs() { printf '%s:\n' "${extensions[@]/#/SystemFileAssociations\\}" "${old_classes[@]}"; }
# The drop-target class the verbs name, whole, from the key of the given classes.
drop_target_server() {
    local clsid
    clsid=$(key_text "$1\\SystemFileAssociations\\.jpg\\shell\\Resize 800x600...\\DropTarget" |
        sed -n 's/^"Clsid"="\(.*\)"$/\1/p')
    [ -n "$clsid" ] && key_text "$1\\CLSID\\$clsid\\LocalServer32" | sed -n 's/^@="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g; s/\\"/"/g'
}
files_in() { [ -d "$1" ] && (cd "$1" && find . -type f | sed 's|^\./||' | sort); }
# Read with od and grep alone, which the emulated PC of scripts/test-x86.sh has too.
# "PE32+" or "PE32" by the optional header's magic.
pe_kind() {
    local header magic
    header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
    magic=$(od -An -tx2 -j$((header + 24)) -N2 "$1" | tr -d ' ')
    case $magic in 020b) echo PE32+ ;; 010b) echo PE32 ;; *) echo "not a PE image" ;; esac
}
# holds_text FILE TEXT ENCODING: "yes" when the file holds the text in that encoding.
holds_text() {
    local file text
    file=$(od -An -tx1 -v "$1" | tr -d ' \n')
    text=$(printf '%s' "$2" | iconv -t "$3" | od -An -tx1 -v | tr -d ' \n')
    [[ $file == *"$text"* ]] && echo yes || echo no
}
# A baseline JPEG's size, WIDTHxHEIGHT, from its frame header.
jpeg_size() {
    local frame
    frame=$(LC_ALL=C grep -obUaP '\xFF\xC0' "$1" 2>/dev/null | head -n 1 | cut -d: -f1) || true
    [ -n "$frame" ] || return 0
    echo "$(od -An -tu1 -j$((frame + 7)) -N2 "$1" | awk '{ print $1 * 256 + $2 }')x$(od -An -tu1 -j$((frame + 5)) -N2 "$1" |
        awk '{ print $1 * 256 + $2 }')"
}
installed_files() { files_in "$install"; }
same_file() { cmp -s "$1" "$2" && echo same || echo different; }
gone() { [ -e "$1" ] && echo there || echo gone; }
expected_files=$(printf '%s\n' LICENSE.txt THIRD-PARTY-NOTICES.txt current_translate.txt help_en.html help_ru.html local/en_translate.txt \
    local/rus_translate.txt pellavo.exe settings.txt uninstall.exe)

# uninstall KEY EXE_PATH MODE: the quiet uninstallation its Add/Remove entry names.
uninstall() {
    local quiet
    quiet=$("${run[@]}" reg query "$1" /v QuietUninstallString | sed -n 's/.*REG_SZ *//p' | tr -d '\r')
    expect "the Add/Remove entry names a quiet uninstallation" "$quiet" "\"${2%\\*}\\uninstall.exe\" /$3 /S"
    # Uninstallers return at once and finish from a copy; run_to_end waits for that.
    "${run[@]}" "$helpers/run_to_end.exe" "$quiet"
}

# check_entry KEY EXE_PATH: the Add/Remove entry of an installation.
check_entry() {
    local entry value folder=${2%\\*}
    entry=$(key_text "$1")
    for value in '"DisplayName"="Pellavo"' '"DisplayVersion"="1.0"' '"Publisher"="Pellavo developers"' \
                 "\"DisplayIcon\"=\"${2//\\/\\\\},0\"" \
                 "\"UninstallString\"=\"\\\"${folder//\\/\\\\}\\\\uninstall.exe\\\" /$3\"" '"Language"="1033"'; do
        expect "Add/Remove entry has $value" "$(grep -Fx "$value" <<<"$entry" || true)" "$value"
    done
    expect "Add/Remove entry has an EstimatedSize" "$(grep -c '^"EstimatedSize"=dword:0*[1-9a-f]' <<<"$entry" || true)" 1
}

# check_shortcut LINK EXE_PATH RUNAS_BIT: the Start-menu shortcut; the bit is
# SLDF_RUNAS_USER, 0x2000 of the LinkFlags at offset 0x14 (32 when set).
check_shortcut() {
    # The shortcut holds its target as ANSI text and its working folder as UTF-16.
    expect "shortcut target" "$(holds_text "$1" "$2" ASCII)" yes
    expect "shortcut working folder" "$(holds_text "$1" "${2%\\*}" UTF-16LE)" yes
    expect "the shortcut's run-as-administrator bit" "$(( $(od -An -tu1 -j21 -N1 "$1") & 0x20 ))" "$3"
}

# run_verb CLASSES EXE_PATH: the 800x600 verb, as Explorer starts it. Wine's
# shell does not look under SystemFileAssociations: the registered command is
# started whole, with the picture in place of %1.
run_verb() {
    local command
    rm -rf "$pictures" && mkdir -p "$pictures"
    cp "$sample" "$pictures/sunset.jpg"
    command=$("${run[@]}" reg query "$1\\SystemFileAssociations\\.jpg\\shell\\Resize 800x600...\\command" /ve |
        sed -n 's/.*REG_SZ *//p' | tr -d '\r')
    expect "the verb runs the installed program" "${command%% -size*}" "\"$2\""
    "${run[@]}" "$helpers/run_to_end.exe" "${command/\%1/$(windows_path "$pictures/sunset.jpg")}"
    expect "the verb wrote the copy" "$(ls "$pictures")" "$(printf '%s\n' sunset.jpg sunset_800x450.jpg)"
    expect "the copy is 800x450" "$(jpeg_size "$pictures/sunset_800x450.jpg")" 800x450
}

echo "== a fresh prefix whose .jpg files open with something harmless"
"${run[@]}" reg add 'HKCR\.jpg' /ve /d jpegfile /f >/dev/null
"${run[@]}" reg add 'HKCR\jpegfile\shell\open\command' /ve /d 'C:\windows\system32\cmd.exe /c rem "%1"' /f >/dev/null

echo "== silent installation for everyone"
"${run[@]}" "$setup" /S /AllUsers
expect "installed files" "$(installed_files)" "$expected_files"
expect "pellavo.exe is the 64-bit build" "$(same_file "$install/pellavo.exe" "$pellavo")" same
expect "pellavo.exe is a PE32+ program" "$(pe_kind "$install/pellavo.exe")" PE32+
expect "the language is English" "$(same_file "$install/current_translate.txt" "$install/local/en_translate.txt")" same
expect "the first size list" "$(cat "$install/settings.txt")" "$(printf '%s\r\n' "${default_sizes[@]}")"
expect "English verbs for the five sizes, for everyone" "$(all_verbs "$machine_classes")" \
    "$(expected_all_verbs "$exe_path" "$english" "${default_sizes[@]}")"
expect "their drop target, for everyone" "$(drop_target_server "$machine_classes")" "\"$exe_path\" -serve 800x600"
expect "no verbs for the user" "$(all_verbs "$user_classes")" "$(no_verbs)"
check_entry "$uninstall_key" "$exe_path" AllUsers
expect "no Add/Remove entry of the user's" "$(key_text "$user_uninstall_key")" ""
check_shortcut "$shortcut" "$exe_path" 32
run_verb "$machine_classes" "$exe_path"

echo "== silent uninstallation for everyone"
uninstall "$uninstall_key" "$exe_path" AllUsers
# The files first: looked at straight away, they show whether the wait was real.
expect "no install folder (the size list was the first one)" "$(gone "$install")" gone
expect "no shortcut" "$(gone "$shortcut")" gone
expect "no verbs left" "$(all_verbs "$machine_classes")" "$(no_verbs)"
expect "no Add/Remove entry" "$(key_text "$uninstall_key")" ""

echo "== silent installation for the user alone"
"${run[@]}" "$setup" /S /CurrentUser
expect "installed files, in the user's programs" "$(files_in "$user_install")" "$expected_files"
expect "nothing in Program Files" "$(gone "$install")" gone
expect "pellavo.exe is the 64-bit build" "$(same_file "$user_install/pellavo.exe" "$pellavo")" same
expect "English verbs for the five sizes, for the user" "$(all_verbs "$user_classes")" \
    "$(expected_all_verbs "$user_exe_path" "$english" "${default_sizes[@]}")"
expect "their drop target, for the user" "$(drop_target_server "$user_classes")" "\"$user_exe_path\" -serve 800x600"
expect "no verbs for everyone" "$(all_verbs "$machine_classes")" "$(no_verbs)"
check_entry "$user_uninstall_key" "$user_exe_path" CurrentUser
expect "no Add/Remove entry for everyone" "$(key_text "$uninstall_key")" ""
expect "no shortcut for everyone" "$(gone "$shortcut")" gone
check_shortcut "$user_shortcut" "$user_exe_path" 0
run_verb "$user_classes" "$user_exe_path"

echo "== silent installation for everyone beside it, which keeps the user's"
"${run[@]}" "$setup" /S /AllUsers
expect "installed files" "$(installed_files)" "$expected_files"
expect "the user's files stay" "$(files_in "$user_install")" "$expected_files"
expect "verbs for everyone" "$(all_verbs "$machine_classes")" \
    "$(expected_all_verbs "$exe_path" "$english" "${default_sizes[@]}")"
expect "the user's verbs stay" "$(all_verbs "$user_classes")" \
    "$(expected_all_verbs "$user_exe_path" "$english" "${default_sizes[@]}")"

echo "== silent uninstallation for the user, which keeps everyone's"
uninstall "$user_uninstall_key" "$user_exe_path" CurrentUser
expect "no user's install folder" "$(gone "$user_install")" gone
expect "no user's shortcut" "$(gone "$user_shortcut")" gone
expect "no verbs for the user" "$(all_verbs "$user_classes")" "$(no_verbs)"
expect "no user's Add/Remove entry" "$(key_text "$user_uninstall_key")" ""
expect "everyone's files stay" "$(installed_files)" "$expected_files"
expect "everyone's verbs stay" "$(all_verbs "$machine_classes")" \
    "$(expected_all_verbs "$exe_path" "$english" "${default_sizes[@]}")"
expect "everyone's drop target stays" "$(drop_target_server "$machine_classes")" "\"$exe_path\" -serve 800x600"
uninstall "$uninstall_key" "$exe_path" AllUsers
expect "nothing left for everyone" "$(gone "$install"); $(all_verbs "$machine_classes")" "gone; $(no_verbs)"

echo "== silent Russian installation over a size list kept from before, for everyone as the installer is elevated"
mkdir -p "$install"
printf '320x240\r\n1024x768\r\n' >"$install/settings.txt"
"${run[@]}" "$setup" /S /LANG=RUS
expect "the kept size list" "$(cat "$install/settings.txt")" "$(printf '320x240\r\n1024x768\r\n')"
expect "the language is Russian" "$(same_file "$install/current_translate.txt" "$install/local/rus_translate.txt")" same
expect "Russian verbs for the kept sizes" "$(all_verbs "$machine_classes")" \
    "$(expected_all_verbs "$exe_path" "$russian" 320x240 1024x768)"

echo "== silent uninstallation keeps the changed list"
uninstall "$uninstall_key" "$exe_path" AllUsers
expect "only settings.txt is left" "$(installed_files)" settings.txt
expect "no verbs left" "$(all_verbs "$machine_classes")" "$(no_verbs)"
expect "no Add/Remove entry" "$(key_text "$uninstall_key")" ""

echo "== an upgrade into another folder takes the earlier installation's place, and its size list"
"${run[@]}" "$setup" /S /AllUsers
moved=$prefix/drive_c/Program\ Files/Pellavo\ Moved
moved_exe_path='C:\Program Files\Pellavo Moved\pellavo.exe'
# /D= must stand last and unquoted: the whole command line, as given.
"${run[@]}" "$helpers/run_to_end.exe" "\"$(windows_path "$setup")\" /S /AllUsers /D=C:\Program Files\Pellavo Moved"
expect "the earlier folder is gone" "$(gone "$install")" gone
expect "installed files, in the new folder" "$(files_in "$moved")" "$expected_files"
expect "the kept size list came along" "$(cat "$moved/settings.txt")" "$(printf '320x240\r\n1024x768\r\n')"
expect "verbs of the new folder only" "$(all_verbs "$machine_classes")" \
    "$(expected_all_verbs "$moved_exe_path" "$english" 320x240 1024x768)"
expect "one Add/Remove entry, of the new folder" \
    "$(key_text "$uninstall_key" | sed -n 's/^"InstallLocation"="\(.*\)"$/\1/p')" 'C:\\Program Files\\Pellavo Moved'
uninstall "$uninstall_key" "$moved_exe_path" AllUsers
expect "only the changed list is left of it" "$(files_in "$moved"); $(all_verbs "$machine_classes")" \
    "settings.txt; $(no_verbs)"
rm -rf "$moved"

echo "== the user's uninstaller, run bare by an administrator, removes the user's installation only"
"${run[@]}" "$setup" /S /CurrentUser
"${run[@]}" "$setup" /S /AllUsers
"${run[@]}" "$helpers/run_to_end.exe" "\"${user_exe_path%\\*}\\uninstall.exe\" /S"
expect "no user's install folder" "$(gone "$user_install")" gone
expect "no user's Add/Remove entry" "$(key_text "$user_uninstall_key")" ""
expect "no verbs for the user" "$(all_verbs "$user_classes")" "$(no_verbs)"
expect "everyone's files stay" "$(installed_files)" "$expected_files"
expect "everyone's verbs stay" "$(all_verbs "$machine_classes")" \
    "$(expected_all_verbs "$exe_path" "$english" "${default_sizes[@]}")"
uninstall "$uninstall_key" "$exe_path" AllUsers

echo "== a silent installation for everyone outside Program Files installs nothing"
"${run[@]}" "$setup" /S /AllUsers '/D=C:\Tools\Pellavo' && status=0 || status=$?
expect "the installer's exit code" "$status" 2
expect "no folder" "$(gone "$prefix/drive_c/Tools/Pellavo")" gone
expect "no Add/Remove entry" "$(key_text "$uninstall_key")" ""

[ "$failures" -eq 0 ] && echo "installer test passed"
exit "$failures"

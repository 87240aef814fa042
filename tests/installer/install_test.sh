#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine in a Wine prefix of its
# own: a silent install, the installed files, the Start-menu shortcut, the
# entry in Windows' list of installed apps, Dalvero started from the shortcut
# making its backup folder in the user's folder, and a silent uninstall that leaves
# the user's files alone. Also: nothing installed on a Windows older than 10,
# an earlier installation in another folder replaced, neither install nor
# uninstall while Dalvero runs (nor an install when it starts after the first
# check), and, when a certificate was given (DALVERO_SIGN_CA), every program
# file signed; the portable zip's files, and its backup folder kept in its folder
# when started there.
#   tests/installer/install_test.sh INSTALLER PORTABLE_ZIP
# Needs wine, xvfb-run (when there is no display), od, unzip and
# x86_64-w64-mingw32-gcc.
set -uo pipefail
installer=$(realpath "${1:?usage: install_test.sh INSTALLER PORTABLE_ZIP}")
zip=$(realpath "${2:?usage: install_test.sh INSTALLER PORTABLE_ZIP}")
# The backup folder Dalvero makes beside the user's files.
copies=UNI_KOP

# Dalvero shows its window with Qt's real Windows platform, which needs a display.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi

work=$(mktemp -d)
# Wine links the user's Desktop and Documents to the Linux home folder: a home
# of the test's own keeps the shortcuts out of the real one.
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all
# No .NET or HTML engine offered, and no Linux menu entries for the shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# Only what the installer put in place may be found.
unset WINEPATH
mkdir -p "$HOME"
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT

failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then
        echo "ok   - $1"
    else
        echo "FAIL - $1"
        failures=$((failures + 1))
    fi
}
finish() {
    if [ "$failures" -eq 0 ]; then
        echo "Installer test: PASS"
        exit 0
    fi
    echo "Installer test: FAIL ($failures)"
    exit 1
}

# A shortcut's fields, as "name=value" lines: the target's path and the
# string data (Windows' shell link format; Wine counts a closing NUL in each
# string's length, Windows does not).
uint() { od -An -tu"$3" -j"$2" -N"$3" --endian=little "$1" | tr -d ' '; }
link_fields() {
    local file=$1 flags offset info base count name
    flags=$(uint "$file" 20 4)
    offset=76
    ((flags & 0x1)) && offset=$((offset + 2 + $(uint "$file" "$offset" 2)))
    if ((flags & 0x2)); then
        base=$(uint "$file" $((offset + 16)) 4)
        echo "target=$(tail -c +$((offset + base + 1)) "$file" | tr '\0' '\n' | head -n 1)"
        offset=$((offset + $(uint "$file" "$offset" 4)))
    fi
    ((flags & 0x80)) || return 0
    for name in 4:description 8:relative_path 16:working_folder 32:arguments 64:icon; do
        ((flags & ${name%%:*})) || continue
        count=$(uint "$file" "$offset" 2)
        echo "${name#*:}=$(tail -c +$((offset + 3)) "$file" | head -c $((2 * count)) |
            iconv -f UTF-16LE -t UTF-8 | tr -d '\0')"
        offset=$((offset + 2 + 2 * count))
    done
}
field() { link_fields "$1" | sed -n "s/^$2=//p"; }

echo "Installing $installer into a fresh Wine prefix"
wineboot -i >/dev/null 2>&1
drive_c=$WINEPREFIX/drive_c
program=$drive_c/"Program Files"/Dalvero
earlier=$drive_c/Gammel/Dalvero
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Dalvero'

wine reg add 'HKCU\Software\Wine' /v Version /d win7 /f >/dev/null 2>&1
wine "$installer" /S
status=$?
wineserver -w
check "on Windows 7 the silent install fails ($status)" test "$status" -eq 4
check "and installs nothing" test ! -e "$program"
wine reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
wineserver -w

# NSIS takes a folder (/D=, _?=) only unquoted and last on its command line,
# which a batch file passes on as it stands.
run_raw() { # run_raw PROGRAM ARGUMENTS: the exit status is the program's
    printf '@"%s" %s\r\n@exit /b %%errorlevel%%\r\n' "$(winepath -w "$1")" "$2" >"$work/run.bat"
    wine cmd /c "$(winepath -w "$work/run.bat")"
}
run_raw "$installer" '/S /D=C:\Gammel\Dalvero'
wineserver -w
check "an earlier installation in another folder" test -f "$earlier/dalvero.exe"
# Dalvero started after the installer's own check, while the earlier
# installation's uninstaller runs: a stand-in holds Dalvero's mark around it.
cat >"$work/hold.c" <<'EOF_C'
#include <windows.h>
int main(void) {
    CreateMutexW(NULL, FALSE, L"Global\\dk.dalvero.Dalvero.running");
    wchar_t line[1024] = L"C:\\Gammel\\Dalvero\\Afinstaller-gammel.exe";
    lstrcatW(line, wcschr(GetCommandLineW() + 1, L'"') + 1);
    STARTUPINFOW start = {sizeof start};
    PROCESS_INFORMATION child;
    DWORD code = 1;
    if (CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &start, &child))
        WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &code);
    return (int)code;
}
EOF_C
mv "$earlier/Afinstaller.exe" "$earlier/Afinstaller-gammel.exe"
x86_64-w64-mingw32-gcc -o "$work/hold.exe" "$work/hold.c"
cp "$work/hold.exe" "$earlier/Afinstaller.exe"
before=$(cd "$earlier" && find . | sort)
run_raw "$installer" '/S /D=C:\Program Files\Dalvero'
status=$?
wineserver -w
check "Dalvero started after the first check: the silent install fails ($status)" \
    test "$status" -eq 3 -a ! -e "$program"
check "and the earlier installation is whole" test "$(cd "$earlier" && find . | sort)" = "$before"
mv -f "$earlier/Afinstaller-gammel.exe" "$earlier/Afinstaller.exe"
# A DLL of the earlier installation held open, sharing nothing, by another
# program for as long as the install runs.
cat >"$work/held.c" <<'EOF_C'
#include <windows.h>
int main(void) {
    wchar_t *file = wcschr(GetCommandLineW() + 1, L'"') + 2, *line = wcschr(file, L' ');
    *line++ = 0;
    STARTUPINFOW start = {sizeof start};
    PROCESS_INFORMATION child;
    DWORD code = 1;
    if (CreateFileW(file, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL) != INVALID_HANDLE_VALUE &&
        CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &start, &child))
        WaitForSingleObject(child.hProcess, INFINITE), GetExitCodeProcess(child.hProcess, &code);
    return (int)code;
}
EOF_C
x86_64-w64-mingw32-gcc -o "$work/held.exe" "$work/held.c"
before=$(cd "$earlier" && find . -type f -exec md5sum {} + | sort)
run_raw "$work/held.exe" "C:\\Gammel\\Dalvero\\Qt6Core.dll \"$(winepath -w "$installer")\" /S /D=C:\\Program Files\\Dalvero"
status=$?
wineserver -w
check "a file of the earlier installation held: the silent install fails ($status)" \
    test "$status" -ne 0 -a ! -e "$program"
check "and the earlier installation is whole" \
    test "$(cd "$earlier" && find . -type f -exec md5sum {} + | sort)" = "$before"
run_raw "$installer" '/S /D=C:\Program Files\Dalvero'
installed=$?
wineserver -w
check "the silent install ends well" test "$installed" -eq 0
check "the earlier installation is gone" test ! -e "$earlier"
check "one entry among installed apps" \
    test "$(wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        grep -c 'DisplayName.*Dalvero')" -eq 1
check "installed under Program Files\\Dalvero" test -f "$program/dalvero.exe"
for file in dalvero-restore.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll \
    licenser/Qt/LGPL-3.txt licenser/Qt/GPL-3.txt Afinstaller.exe \
    qtbase_da.qm licenser/Qt/translations-copyright.txt brugervejledning.html; do
    check "installs $file" test -f "$program/$file"
done
# The program's DLLs and no others: nothing of the test build's Qt comes along.
dlls=$(cd "$program" && find . -iname '*.dll' | sort | tr '\n' ' ')
check "no DLL beyond those the program loads" test "$dlls" = \
    "./Qt6Core.dll ./Qt6Gui.dll ./Qt6Widgets.dll ./libgcc_s_seh-1.dll ./libstdc++-6.dll ./libwinpthread-1.dll ./platforms/qwindows.dll ./styles/qwindowsvistastyle.dll "

profile_windows=$(wine cmd /c echo %USERPROFILE% | tr -d '\r')
profile=$(winepath -u "$profile_windows")
unzip -q "$zip" -d "$profile"
portable=$profile/$(basename "$zip" .zip)
files() { (cd "$1" && find . -type f ! -name Afinstaller.exe ! -name dalvero-portable.ini | sort); }
check "the zip: the installed files, in one folder of its own name, and the portable marker" \
    test "$(files "$portable")" = "$(files "$program")" -a -f "$portable/dalvero-portable.ini" \
    -a ! -e "$program/dalvero-portable.ini"
start_menu=$drive_c/ProgramData/Microsoft/Windows/"Start Menu"/Programs
shortcut=$start_menu/Dalvero.lnk
desktop=$drive_c/users/Public/Desktop/Dalvero.lnk
check "a Start-menu entry Dalvero for all users" test -f "$shortcut"
check "a desktop shortcut for all users" test -f "$desktop"
target=$(field "$shortcut" target)
check "the shortcut starts the installed dalvero.exe ($target)" \
    test "$(winepath -u "$target" 2>/dev/null)" -ef "$program/dalvero.exe"
check "the shortcut starts in the user's own folder" \
    test "$(field "$shortcut" working_folder)" = "%USERPROFILE%"
check "the shortcut shows dalvero.exe's icon" \
    test "$(field "$shortcut" icon)" = 'C:\Program Files\Dalvero\dalvero.exe'
check "the desktop shortcut starts in the user's own folder" \
    test "$(field "$desktop" working_folder)" = "%USERPROFILE%"
# The program that puts a backup back looks for the backups where Dalvero keeps it.
restore=$start_menu/"Dalvero – læg kopi tilbage.lnk"
check "a Start-menu entry for putting a backup back" test -f "$restore"
check "it starts the installed dalvero-restore.exe" \
    test "$(winepath -u "$(field "$restore" target)" 2>/dev/null)" -ef "$program/dalvero-restore.exe"
check "it starts in the user's own folder" \
    test "$(field "$restore" working_folder)" = "%USERPROFILE%"

entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
value() { sed -n "s/^ *$1 *REG_[A-Z_]* *//p" <<<"$entry"; }
check "listed among installed apps as Dalvero" test "$(value DisplayName)" = Dalvero
check "with its version" test "$(value DisplayVersion)" = 3.1
check "with its publisher" test "$(value Publisher)" = Dalvero
check "with its icon" test "$(value DisplayIcon)" = 'C:\Program Files\Dalvero\dalvero.exe,0'
check "with its uninstaller" \
    test "$(value UninstallString)" = '"C:\Program Files\Dalvero\Afinstaller.exe"'

# Started as the Start menu starts it: through the shortcut, so that its
# working folder is Windows' reading of the shortcut's.
echo "UNIKON" >"$profile/users_own_file.txt"
WINEDEBUG=-all,+loaddll wine start "$(winepath -w "$shortcut")" 2>"$work/loaded.log"
wait_for() { for _ in $(seq 1 60); do [ -d "$1" ] && return; sleep 1; done; }
wait_for "$profile/$copies"
check "started from the shortcut, Dalvero makes $copies in the user's folder" \
    test -d "$profile/$copies"
check "and nothing in Program Files" test ! -e "$program/$copies"
sleep 2
running() {
    local process
    for process in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$process/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            tr '\0' ' ' 2>/dev/null <"$process/cmdline" | grep -qF 'Dalvero\dalvero.exe' &&
            return 0
    done
    return 1
}
check "Dalvero keeps running with its window open" running
loaded=$(grep -o 'Loaded L"[^"]*"' "$work/loaded.log" |
    grep -E 'Qt6|libstdc\+\+|libgcc_s|libwinpthread|\\platforms\\|\\styles\\' | sort -u)
check "Qt's Windows platform comes from the installation" \
    grep -qF 'Dalvero\\platforms\\qwindows.dll' <<<"$loaded"
check "Qt's Windows style too" grep -qF 'Dalvero\\styles\\qwindowsvistastyle.dll' <<<"$loaded"
stray=$(grep -vF 'Program Files\\Dalvero\\' <<<"$loaded")
check "every Qt and runtime DLL loaded comes from the installation" test -z "$stray"
[ -z "$stray" ] || echo "$stray"

# While Dalvero runs, its files stay as they are.
run_raw "$program/Afinstaller.exe" '/S _?=C:\Program Files\Dalvero'
status=$?
# As Windows' own list of apps starts it: it goes on in a copy of itself.
wine "$program/Afinstaller.exe" /S
sleep 5
check "a silent uninstall while Dalvero runs fails ($status)" test "$status" -eq 3
check "and leaves the program" test -f "$program/dalvero.exe" -a -f "$program/Qt6Core.dll"
check "and its entry among installed apps" wine reg query "$key" >/dev/null 2>&1
wine "$installer" /S
status=$?
check "a silent install while Dalvero runs fails ($status)" test "$status" -eq 3
check "Dalvero still runs" running

if [ -n "${DALVERO_SIGN_CA:-}" ]; then
    unsigned=
    untimed=
    for file in "$installer" {"$program","$portable"}/{*.exe,*.dll,*/*.dll}; do
        verified=$(osslsigncode verify -CAfile "$DALVERO_SIGN_CA" -in "$file" 2>&1) ||
            unsigned="$unsigned $(basename "$file")"
        ! grep -q "Timestamp is not available" <<<"$verified" || untimed="$untimed $file"
    done
    check "the installer, the uninstaller, the programs and every DLL, in the zip too, are signed" \
        test -z "$unsigned"
    [ -z "$unsigned" ] || echo "unsigned:$unsigned"
    # sign.sh fails rather than sign without the timestamp it was given.
    url=$("$(dirname "$0")"/../../dist/windows/sign.sh --timestamp-url)
    if [ -n "$url" ]; then
        check "every signature has a timestamp from $url" test -z "$untimed"
    else
        echo "skip - timestamps: signed without one on purpose (DALVERO_SIGN_TIMESTAMP_URL=\"\")"
    fi
    cp "$work/hold.exe" "$work/unsigned.exe"
    check "no signature when the time-stamping server does not answer; without one on purpose" \
        bash -c '! DALVERO_SIGN_TIMESTAMP_URL=http://127.0.0.1:9 "$1" "$2" 2>/dev/null &&
            cmp -s "$2" "$3" && DALVERO_SIGN_TIMESTAMP_URL= "$1" "$2"' - \
        "$(dirname "$0")/../../dist/windows/sign.sh" "$work/unsigned.exe" "$work/hold.exe"
fi
wineserver -k
wineserver -w

echo "Uninstalling"
# The uninstaller runs on from a copy of itself: wait for the copy too.
wine "$program/Afinstaller.exe" /S
wineserver -w
check "Qt's Danish texts are gone" test ! -e "$program/qtbase_da.qm"
check "nothing of Dalvero is left in Program Files" test ! -e "$program"
check "nor in the Start menu" test ! -e "$shortcut"
check "nor the entry for putting a backup back" test ! -e "$restore"
check "nor on the desktop" test ! -e "$desktop"
check "nor among installed apps" bash -c "! wine reg query '$key' >/dev/null 2>&1"
check "$copies stays" test -d "$profile/$copies"
check "the user's own files stay" test -f "$profile/users_own_file.txt"

# Explorer starts a double-clicked program in its own folder.
wine start /d "$(winepath -w "$portable")" "$(winepath -w "$portable/dalvero.exe")"
wait_for "$portable/$copies"
check "started in its folder, the portable Dalvero makes $copies there" test -d "$portable/$copies"
check "and is seen running: a silent install fails" test "$(wine "$installer" /S; echo $?)" -eq 3
finish

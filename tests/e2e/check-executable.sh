#!/usr/bin/env bash
# Checks what config.exe carries without running it: it imports only DLLs
# that come with Windows, and its resources hold icon 1, the dialog
# templates 5 to 11 and the version block of VERSION (e.g. 1.00).
#   check-executable.sh CONFIG_EXE TOOL_PREFIX VERSION
set -u
exe=$1
prefix=$2
version=$3
status=0
fail() { echo "FAILED: $*"; status=1; }

# msvcrt.dll is the C runtime that ships with every Windows.
allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll "
imports=$("$prefix-objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || fail "no import table read from $exe"
for dll in $imports; do
  [[ "$allowed" == *" $dll "* ]] || fail "imports $dll"
done
echo "imports: $(echo $imports)"

rc=$("$prefix-windres" -i "$exe" -O rc 2>/dev/null)
grep -q '^1 14 ' <<<"$rc" || fail "no icon group 1"
for id in 5 6 7 8 9 10 11; do
  grep -q "^$id DIALOG" <<<"$rc" || fail "no dialog template $id"
done
# The numbers of "1.00" are 1, 0, 0, 0.
numbers="${version%%.*}, $((10#${version#*.})), 0, 0"
for key in FILEVERSION PRODUCTVERSION; do
  grep -qx "[[:space:]]*$key $numbers" <<<"$rc" || fail "version block lacks $key $numbers"
done
while IFS='|' read -r key value; do
  grep -qF "VALUE \"$key\", \"$value\"" <<<"$rc" || fail "version block lacks $key \"$value\""
done <<VERSION
FileVersion|$version
ProductVersion|$version
FileDescription|DNX8 configuration tool
ProductName|DNX8 config
InternalName|DNX8 config
OriginalFilename|config.exe
VERSION
[ $status -eq 0 ] && echo "config.exe: imports, icon, dialog templates and version block as expected"
exit $status

#!/usr/bin/env bash
# Builds the download into dist/: the programs optimised and stripped
# (config.exe, dnx8sim, and dnx8 and dnx8.exe where the build has them), a
# README, SHA256SUMS, a zip of the Windows programs and the Debian package
# of the Linux ones (packaging/make-deb.sh). Every program that a
# release tree lists in its release-programs.txt goes in (see
# cmake/Dnx8Release.cmake). Can be run again at any time: the release trees
# are kept and dist/ is made anew.
#   scripts/release.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release-native release-windows

version=$(sed -n 's/^#define DNX8_VERSION_TEXT "\(.*\)"$/\1/p' build/release-native/generated/dnx8_version.h)
[ -n "$version" ] || { echo "release: no version in the release build" >&2; exit 1; }

rm -rf dist
mkdir dist
programs=()
for tree in build/release-native build/release-windows; do
  while IFS= read -r file; do
    [ -n "$file" ] || continue
    cp "$file" dist/
    programs+=("$(basename "$file")")
  done <"$tree/release-programs.txt"
done
has() { [ -f "dist/$1" ]; }
has config.exe || { echo "release: the Windows build made no config.exe" >&2; exit 1; }

# What goes out is checked: config.exe as the tests check it, and small
# enough for a download; the Linux programs tell their version.
bash tests/e2e/check-executable.sh dist/config.exe x86_64-w64-mingw32 "$version"
limit=$((1024 * 1024))
size=$(stat -c %s dist/config.exe)
if [ "$size" -ge "$limit" ]; then
  echo "release: config.exe has $size bytes, 1 MiB at most (iostreams, locales or std::filesystem::path linked in?)" >&2
  exit 1
fi
linux=()
windows=()
for program in "${programs[@]}"; do
  if [[ "$program" == *.exe ]]; then
    windows+=("$program")
  else
    linux+=("$program")
  fi
done
for program in "${linux[@]}"; do
  said=$(timeout 10 "dist/$program" --version </dev/null 2>&1) || said=""
  if [ -z "$said" ]; then
    echo "release: warning: $program --version failed" >&2
  elif [[ "$said" != *"$version"* ]]; then
    echo "release: $program --version says \"$said\", the build is $version" >&2
    exit 1
  fi
done
# The newest C library version that a Linux program asks for.
glibc=$(for program in "${linux[@]}"; do objdump -T "dist/$program"; done |
  sed -n 's/.*GLIBC_\([0-9.]*\).*/\1/p' | sort -V | tail -n 1)

zip_name="dnx8-config-$version-windows.zip"
linux_note="x86-64 Linux with the GNU C library ${glibc:-2.34} or later"
{
  cat <<EOF
DNX8 config $version

Programs for setting up a DNX8 process-signal converter over a serial port.
None needs installing: copy the file anywhere and run it.

EOF
  cat <<EOF
config.exe
  The configuration tool (Czech user interface) for 64-bit Windows. Start
  it, pick the converter's COM port in "Port:", and it reads the
  converter's configuration; tick "Číst" for live values. It needs no DLLs
  beyond those that come with Windows.

EOF
  has dnx8.exe && cat <<EOF
dnx8.exe
  The command-line companion for the Windows console: the same converter
  commands as the window, for scripts and logs. "dnx8.exe --help" lists the
  commands, "dnx8.exe COMMAND --help" explains one.

EOF
  has dnx8 && cat <<EOF
dnx8
  The same command-line program for $linux_note.
  "./dnx8 --help" lists the commands; the port is a device path such as
  /dev/ttyUSB0.

EOF
  has dnx8sim && cat <<EOF
dnx8sim
  A simulated converter for $linux_note,
  to train with or to try the programs without a converter. It prints the
  path of a pseudo-terminal and answers the converter's protocol there
  until Ctrl+C: "./dnx8sim --preset pt100". "./dnx8sim --help" lists the
  presets, the faults it can inject and its control commands.

EOF
  has dnx8 && has dnx8sim && cat <<EOF
dnx8_${version}_amd64.deb
  dnx8 and dnx8sim as a Debian package, with man pages, bash completion
  and a systemd unit for "dnx8 serve" (not enabled):
  "sudo apt install ./dnx8_${version}_amd64.deb".

EOF
  cat <<EOF
Version
  Every program here is version $version: config.exe shows it in its file
  properties (Details), the others print it with --version.

Windows zip
  $zip_name holds the Windows programs, this file, dnx8.md (every dnx8
  command) and backup-format.md (the backup file).

Checksums
  SHA256SUMS holds the SHA-256 sum of every file here. On Linux:
  "sha256sum -c SHA256SUMS"; on Windows: "certutil -hashfile config.exe
  SHA256", compared with the line of config.exe.
EOF
} >dist/README.txt

# The documents the programs' help refers to.
docs=(dnx8.md backup-format.md)
for doc in "${docs[@]}"; do
  cp "docs/$doc" dist/
done

# The zip for Windows users: their programs and the README with Windows
# line ends. Fixed times (the last commit's) make the same files give the
# same zip.
stamp=$(git log -1 --format=%ct 2>/dev/null || echo 315532800)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
for program in "${windows[@]}"; do
  cp "dist/$program" "$stage/"
done
for doc in "${docs[@]}"; do
  sed 's/$/\r/' "docs/$doc" >"$stage/$doc"
done
# A byte order mark, so that older Notepads read it as UTF-8.
{ printf '\357\273\277'; sed 's/$/\r/' dist/README.txt; } >"$stage/README.txt"
touch -d "@$stamp" "$stage"/*
(cd "$stage" && zip -q -X "$zip_name" "${windows[@]}" README.txt "${docs[@]}")
mv "$stage/$zip_name" dist/

# The Debian package of the Linux programs.
deb="dnx8_${version}_amd64.deb"
if has dnx8 && has dnx8sim; then
  packaging/make-deb.sh dist "$version" "dist/$deb"
fi

(cd dist && sha256sum -- * >SHA256SUMS)

echo "release $version in dist/:"
(cd dist && stat -c '  %n  %s bytes' -- *)

#!/usr/bin/env bash
# Makes the Debian package of the Linux programs: dnx8 and dnx8sim, their
# man pages (help2man, from the programs' own --help), a bash completion
# (from dnx8's --help), the systemd unit dnx8-serve@.service (not enabled)
# and the docs. Dependencies from dpkg-shlibdeps; lintian must report no
# error.
#   packaging/make-deb.sh BIN-FOLDER VERSION OUT.deb
set -euo pipefail
bin=$(realpath "$1")
version=$2
out=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
top=$(dirname "$here")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root=$work/root
install -d -m 755 "$root/DEBIAN" "$root/usr/bin" "$root/usr/share/man/man1" \
  "$root/usr/share/bash-completion/completions" "$root/lib/systemd/system" "$root/usr/share/doc/dnx8"
install -m 755 "$bin/dnx8" "$bin/dnx8sim" "$root/usr/bin/"
# The release build strips already; a package from another tree is too.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$root/usr/bin/dnx8" "$root/usr/bin/dnx8sim"

# Man pages: each command's own --help becomes a section of dnx8(1).
{
  echo "[COMMANDS]"
  for command in $("$bin/dnx8" --help | sed -n '/^subcommands:/I,$p' | sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p'); do
    echo ".SS \"dnx8 $command\""
    echo ".nf"
    "$bin/dnx8" "$command" --help | sed '/^Exit codes:/,$d; s/\\/\\e/g; s/^\./\\\&./'
    echo ".fi"
  done
  cat <<'EOF2'
[PORTS]
PORT is a serial device (/dev/ttyUSB0), a stable name under /dev/serial/by-id
or /dev/serial/by-path, tcp://HOST:PORT (a raw stream of a serial device
server) or rfc2217://HOST:PORT (a device server with RFC 2217 COM port
control; dnx8 sets the line to 9600 8N1). Give --timeout MS when a slow
network delays the replies. dnx8 doctor PORT says why a port cannot be used.
[SEE ALSO]
.BR dnx8sim (1),
.BR ser2net (8).
The full documentation is in /usr/share/doc/dnx8.
EOF2
} >"$work/dnx8.h2m"
printf '[SEE ALSO]\n.BR dnx8 (1).\n' >"$work/dnx8sim.h2m"
help2man --no-info --no-discard-stderr --include "$work/dnx8.h2m" \
  --name "configure DNX8 process-signal converters from the command line" \
  --output "$work/dnx8.1" "$bin/dnx8"
help2man --no-info --no-discard-stderr --include "$work/dnx8sim.h2m" \
  --name "a simulated DNX8 converter on a pseudo-terminal" \
  --output "$work/dnx8sim.1" "$bin/dnx8sim"
for page in dnx8 dnx8sim; do
  gzip -9n -c "$work/$page.1" >"$root/usr/share/man/man1/$page.1.gz"
done

bash "$here/make-completion.sh" "$bin/dnx8" >"$root/usr/share/bash-completion/completions/dnx8"
install -m 644 "$here/dnx8-serve@.service" "$root/lib/systemd/system/"

doc=$root/usr/share/doc/dnx8
install -m 644 "$top/README.md" "$doc/"
for page in dnx8 serial-ports simulator backup-format; do
  [ -f "$top/docs/$page.md" ] && install -m 644 "$top/docs/$page.md" "$doc/"
done
install -m 644 "$here/copyright" "$doc/copyright"
stamp=$(git -C "$top" log -1 --format=%cD 2>/dev/null || date -R)
printf 'dnx8 (%s) unstable; urgency=medium\n\n  * Release %s.\n\n -- DNX8 config developers <dnx8@example.com>  %s\n' \
  "$version" "$version" "$stamp" | gzip -9n >"$doc/changelog.gz"

# Dependencies of the programs as the C and C++ libraries they link.
mkdir -p "$work/source/debian"
printf 'Source: dnx8\n\nPackage: dnx8\nArchitecture: amd64\n' >"$work/source/debian/control"
depends=$(cd "$work/source" && dpkg-shlibdeps -O "$root/usr/bin/dnx8" "$root/usr/bin/dnx8sim" 2>/dev/null |
  sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "make-deb: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
size=$(du -sk --exclude=DEBIAN "$root" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@DEPENDS@/$depends/" -e "s/@SIZE@/$size/" "$here/control.in" >"$root/DEBIAN/control"
(cd "$root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"
find "$root" -type d -exec chmod 755 {} +

dpkg-deb --root-owner-group -Zxz --build "$root" "$out" >/dev/null
# lintian refuses nothing here but says so when run as root.
if ! lintian --fail-on error --allow-root --tag-display-limit 0 "$out" >"$work/lintian" 2>&1; then
  cat "$work/lintian" >&2
  echo "make-deb: lintian reports errors" >&2
  exit 1
fi
grep -E '^[EW]:' "$work/lintian" >&2 || true

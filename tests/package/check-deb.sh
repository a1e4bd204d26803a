#!/usr/bin/env bash
# Checks the Debian package release.sh made: its metadata, that it holds
# what it should, and that the programs in it run (unpacked with dpkg-deb
# -x into a temporary folder): versions, man pages that render, the
# completion, and dnx8 reading a dnx8sim converter.
#   tests/package/check-deb.sh dist/dnx8_VERSION_amd64.deb VERSION
set -euo pipefail
deb=$1
version=$2
fail() { echo "check-deb: $*" >&2; exit 1; }

[ -f "$deb" ] || fail "no package $deb"
[ "$(dpkg-deb -f "$deb" Package)" = dnx8 ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not $version"
[ "$(dpkg-deb -f "$deb" Architecture)" = amd64 ] || fail "architecture"
dpkg-deb -f "$deb" Depends | grep -q 'libc6 (>= ' || fail "no libc6 dependency from dpkg-shlibdeps"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/dnx8 ./usr/bin/dnx8sim ./usr/share/man/man1/dnx8.1.gz ./usr/share/man/man1/dnx8sim.1.gz \
  ./usr/share/bash-completion/completions/dnx8 ./lib/systemd/system/dnx8-serve@.service \
  ./usr/share/doc/dnx8/copyright ./usr/share/doc/dnx8/changelog.gz ./usr/share/doc/dnx8/dnx8.md; do
  grep -qxF "$path" <<<"$contents" || fail "$path missing"
done
dpkg-deb -c "$deb" | awk '$2 != "root/root" {exit 1}' || fail "files not owned by root"

work=$(mktemp -d)
sim=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$work/root"
bin=$work/root/usr/bin
"$bin/dnx8" --version | grep -qF "$version" || fail "dnx8 --version"
"$bin/dnx8sim" --version | grep -qF "$version" || fail "dnx8sim --version"

# The man pages render and hold every command's help.
page=$(MANWIDTH=100 man -l "$work/root/usr/share/man/man1/dnx8.1.gz" 2>/dev/null) || fail "dnx8.1 does not render"
for command in ports info backup restore doctor; do
  grep -q "dnx8 $command" <<<"$page" || fail "dnx8.1 lacks the command $command"
done
grep -q -- "--timeout" <<<"$page" || fail "dnx8.1 lacks --timeout"
man -l "$work/root/usr/share/man/man1/dnx8sim.1.gz" >/dev/null 2>&1 || fail "dnx8sim.1 does not render"

# The completion completes commands and a command's options.
completion=$work/root/usr/share/bash-completion/completions/dnx8
bash -c "source '$completion'
COMP_WORDS=(dnx8 ba); COMP_CWORD=1; _dnx8; printf '%s\n' \"\${COMPREPLY[@]}\"" | grep -qx backup ||
  fail "completion of commands"
bash -c "source '$completion'
COMP_WORDS=(dnx8 backup /dev/ttyS0 --par); COMP_CWORD=3; _dnx8; printf '%s\n' \"\${COMPREPLY[@]}\"" |
  grep -qx -- --partial || fail "completion of a command's options"

# The unit names the installed program and is a valid unit.
grep -q '^ExecStart=/usr/bin/dnx8 serve ' "$work/root/lib/systemd/system/dnx8-serve@.service" || fail "unit ExecStart"
if command -v systemd-analyze >/dev/null; then
  systemd-analyze verify "$work/root/lib/systemd/system/dnx8-serve@.service" 2>&1 | grep -i 'error' && fail "unit"
fi

# The packaged programs work together.
"$bin/dnx8sim" --preset pt100 --link "$work/port" >"$work/sim.out" &
sim=$!
for _ in $(seq 1 500); do [ -s "$work/sim.out" ] && break; sleep 0.02; done
[ -s "$work/sim.out" ] || fail "dnx8sim did not start"
"$bin/dnx8" info "$work/port" </dev/null | grep -q DNX8 || fail "dnx8 info against dnx8sim"
echo "check-deb: $deb is complete and its programs run"

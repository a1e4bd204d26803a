#!/usr/bin/env bash
# Installs what the build, the tests and the demo need (Debian packages) and
# the locales the tests run under. Quiet and quick when all is
# there already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest
  mingw-w64 wine wine64
  xvfb x11-utils x11-apps xdotool imagemagick
  fonts-wine fonts-liberation locales procps python3 zip
  nlohmann-json3-dev libcli11-dev libboost-dev
  ser2net iproute2 util-linux
  dpkg-dev fakeroot lintian help2man man-db bash-completion
)

# The fuzz targets need Clang and its sanitizer runtimes.
[ "${1:-}" = "--fuzz" ] && packages+=(clang libclang-rt-14-dev)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# en_US.UTF-8: the Windows tests run Wine under it, so a wrong code page
# shows. cs_CZ.UTF-8: a locale with a decimal comma, under which the number
# readers must still take only the point.
need_locales=()
for l in en_US cs_CZ; do
  locale -a 2>/dev/null | grep -qix "$l.utf8" || need_locales+=("$l")
done
if [ ${#need_locales[@]} -gt 0 ]; then
  echo "setup: generating the locales ${need_locales[*]/%/.UTF-8}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  for l in "${need_locales[@]}"; do
    "${sudo_cmd[@]}" sed -i "s/^# *\($l.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$l.UTF-8 UTF-8" /etc/locale.gen || echo "$l.UTF-8 UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

# --- dnx8 serve's page: Node's packages (the chart library built into the
# program, playwright-core for the browser tests) from package-lock.json,
# and Debian's Chromium for those tests. No browser is ever downloaded.
page_packages=()
command -v node >/dev/null 2>&1 || page_packages+=(nodejs)
command -v npm >/dev/null 2>&1 || page_packages+=(npm)
[ -x /usr/bin/chromium ] || page_packages+=(chromium)
if [ ${#page_packages[@]} -gt 0 ]; then
  echo "setup: installing ${page_packages[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${page_packages[@]}" >/dev/null
fi
root=$(cd "$(dirname "$0")/.." && pwd)
if ! cmp -s "$root/package-lock.json" "$root/node_modules/.dnx8-package-lock.json"; then
  echo "setup: npm ci"
  (cd "$root" && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error >/dev/null)
  cp "$root/package-lock.json" "$root/node_modules/.dnx8-package-lock.json"
fi
# --- end of dnx8 serve's page

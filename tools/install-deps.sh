#!/usr/bin/env bash
# Installs the Debian packages Quillday needs to build, run and test, but only those that
# are missing; apt-get update runs only when something is to be installed. Needs root (or
# sudo) only then. With --fuzz, also clang and its sanitizer and libFuzzer run-times, which
# only "make fuzz" needs.
set -euo pipefail
packages=(g++ cmake make pkgconf qt6-base-dev qt6-translations-l10n libsqlite3-dev libical-dev fonts-nanum
          fonts-dejavu-core libgtest-dev libbenchmark-dev
          dpkg-dev file desktop-file-utils appstream lintian python3
          qtkeychain-qt6-dev radicale apache2-utils xandikos python3-caldav curl
          dbus dunst xvfb openssl gnome-keyring libsecret-tools git)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
elif command -v sudo >/dev/null 2>&1; then
  SUDO=(sudo)
else
  echo "install-deps: these packages are missing and installing them needs root: ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

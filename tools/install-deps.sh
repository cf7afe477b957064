#!/usr/bin/env bash
# Installs the Debian packages Quillday needs to build, run and test, but only those that
# are missing; apt-get update runs only when something is to be installed.
set -euo pipefail
packages=(g++ cmake make qt6-base-dev libsqlite3-dev libical-dev fonts-nanum fonts-dejavu-core
          libgtest-dev libbenchmark-dev pkgconf)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

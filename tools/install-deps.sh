#!/usr/bin/env bash
# Installs the Debian packages named on the command line that are missing.
# Run as root it installs them; otherwise it names them and fails. Nothing
# happens when everything is present. The pseudo-package "node" stands for a
# working `node` and `npm`, from whatever source the machine has them.
set -euo pipefail

missing=()
for package in "$@"; do
  if [ "$package" = node ]; then
    if ! command -v node >/dev/null || ! command -v npm >/dev/null; then missing+=(nodejs npm); fi
    continue
  fi
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]} -- install them, or run this as root." >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs the Debian 12 packages Belmora needs; quiet, and quick when all are there.
#   scripts/deps.sh          what building and running the program needs
#   scripts/deps.sh --test   also what the tests need (GoogleTest, the reference
#                            .xls reader freexl, the peer spreadsheet, and
#                            Python for the layer check)
set -euo pipefail

# fonts-wine: Tahoma, the font every window of the program shows its text in.
pkgs=(build-essential cmake pkg-config qt6-base-dev qt6-translations-l10n libgsf-1-dev libsdl2-mixer-dev
      fluid-soundfont-gm fonts-wine)
if [[ "${1:-}" == "--test" ]]; then
  pkgs+=(libgtest-dev libgmock-dev libfreexl-dev libreoffice-calc-nogui python3)
fi

missing=()
for p in "${pkgs[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

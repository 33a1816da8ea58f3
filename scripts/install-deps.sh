#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those missing.
set -euo pipefail
pkgs=(build-essential cmake qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev fonts-wqy-microhei xvfb xauth
      clang libclang-rt-14-dev file)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then echo "need root to install: ${missing[*]}" >&2; exit 1; fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the benchmarks and the
# fuzzing need, only those missing.
set -euo pipefail
pkgs=(build-essential cmake qt6-base-dev libgtest-dev libbenchmark-dev
      libxcb1-dev  # the view asks the X server whether a window manager runs
      fonts-wqy-microhei  # the sample's pictures
      fonts-arphic-uming  # a Song face for the view's text
      xvfb openbox metacity xfwm4 mutter dbus-daemon  # window-manager tests: X server, window managers (xfwm4's and mutter's settings come over a session bus; kwin-x11, large, only for WM_TEST_KWIN=1)
      imagemagick  # window-manager tests: the screen of a failed case (WM_TEST_SCREENSHOTS)
      xdotool wmctrl x11-utils  # window-manager tests: real input, requests to the window manager, window queries
      clang libclang-rt-14-dev file)  # fuzzing: libFuzzer and the sanitizers; seeds picked by content
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

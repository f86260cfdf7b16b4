#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run its demo.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev
  time strace
  libfbclient2 firebird-dev firebird3.0-server-core firebird3.0-utils firebird3.0-server
  qt6-base-dev fonts-dejavu-core fonts-liberation
  nlohmann-json3-dev librsvg2-bin icoutils osslsigncode openssl zip unzip
  g++-mingw-w64-x86-64-posix libz-mingw-w64-dev wine xvfb xauth imagemagick locales
  wine64-tools libwine-dev  # winegcc, winebuild: the stand-in Firebird client of the Wine tests
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=600 update
  apt-get -o DPkg::Lock::Timeout=600 install -y "${missing[@]}"
fi

# The Windows program's tests run under a Russian locale (code page 1251).
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf8$'; then
  sed -i 's/^# *ru_RU.UTF-8 UTF-8/ru_RU.UTF-8 UTF-8/' /etc/locale.gen
  locale-gen >/dev/null
fi

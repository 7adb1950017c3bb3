#!/usr/bin/env bash
# Installs what the builds, the tests and the release need where it is missing (Debian 12 or
# Ubuntu, as root): the native and cross compilers, GoogleTest sources, Google Benchmark, Wine,
# Xvfb, a German locale for Wine's date formats, and the installer builder and zip tools.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
          g++-mingw-w64-i686-posix wine wine32:i386 xvfb xauth locales nsis zip unzip)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" >/dev/null 2>&1 || missing+=("${package%:i386}")
done
# The calendar check runs on Node.js; a machine that has it from elsewhere keeps its own.
command -v node >/dev/null && command -v npm >/dev/null || missing+=(nodejs npm)

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

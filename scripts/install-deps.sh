#!/usr/bin/env bash
# Installs what the builds, the tests and the release need where it is missing (Debian 12 or
# Ubuntu, as root): the native and cross compilers, GoogleTest sources, Google Benchmark, Wine,
# Xvfb, a German locale for Wine's date formats, the installer builder and zip tools, the
# calendar server the sync tests talk to, libcurl, and the XML parser's sources.
set -euo pipefail

packages=(cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
          g++-mingw-w64-i686-posix wine wine32:i386 xvfb xauth locales nsis zip unzip
          radicale libcurl4-openssl-dev dpkg-dev)
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

# The XML parser is built from its sources for both targets (the cross build has no
# package of it), as GoogleTest is: Debian ships them as a source package.
pugixml_source=/usr/src/pugixml
if [[ ! -f $pugixml_source/src/pugixml.cpp ]]; then
  if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    # The same archives as the binary packages, for sources.
    for list in /etc/apt/sources.list.d/*.sources; do
      [[ -f $list ]] || continue
      sed 's/^Types: deb$/Types: deb-src/' "$list" >"${list%.sources}-src.sources"
    done
    if [[ -f /etc/apt/sources.list ]]; then
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/reminder-src.list
    fi
  fi
  apt-get update -q
  unpack=$(mktemp -d)
  (cd "$unpack" && apt-get source -q pugixml >/dev/null)
  mkdir -p "$pugixml_source"
  cp -r "$unpack"/pugixml-*/. "$pugixml_source"/
  rm -rf "$unpack"
fi

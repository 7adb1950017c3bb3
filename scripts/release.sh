#!/usr/bin/env bash
# Builds the Windows release in build/release and writes to dist/: the portable folder as
# Zelto-Reminder-<version>-win32.zip, the per-user installer Zelto-Reminder-<version>-setup.exe
# and SHA256SUMS of both. The version is the one set in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/release
dist=$root/dist
programs=(Reminder.exe Reminder.dll ReminderHost.exe reminderctl.exe)
# Libraries every Windows has; the runtime is linked in statically.
system_libraries='^(advapi32|comctl32|comdlg32|crypt32|gdi32|kernel32|msvcrt|shell32|user32|uxtheme|version|winhttp|winmm)\.dll$'

bash scripts/install-deps.sh

mkdir -p "$build" "$dist"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DREMINDER_WERROR=ON \
  -DREMINDER_STRIP=ON -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32-toolchain.cmake" \
  >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j "$(nproc)" --target Reminder ReminderDll ReminderHost reminderctl

version_text() {
  sed -n "s/^#define $1 \"\\(.*\\)\"\$/\\1/p" "$build/generated/Version.h"
}
version=$(version_text REMINDER_VERSION_TEXT)
release=$(version_text REMINDER_RELEASE_TEXT)
[[ -n $version && -n $release ]] || { echo "No version in $build/generated/Version.h"; exit 1; }

for program in "${programs[@]}"; do
  while read -r library; do
    if ! grep -qiE "$system_libraries" <<<"$library"; then
      echo "$program needs $library, which Windows does not bring along"
      exit 1
    fi
  done < <(i686-w64-mingw32-objdump -p "$build/$program" | sed -n 's/^\tDLL Name: //p')
done

# Notepad of every Windows version reads UTF-8 with a byte-order mark and CR LF line ends.
windows_text() {
  printf '\xef\xbb\xbf'
  sed 's/$/\r/' "$1"
}

name=Zelto-Reminder-$release-win32
zip=$name.zip
setup=Zelto-Reminder-$release-setup.exe
stage=$build/package/$name
rm -rf "$build/package"
mkdir -p "$stage"
for program in "${programs[@]}"; do cp "$build/$program" "$stage/"; done
windows_text packaging/LIESMICH.txt >"$stage/LIESMICH.txt"
windows_text LICENSE >"$stage/LICENSE.txt"

rm -f "$dist/$zip" "$dist/$setup" "$dist/SHA256SUMS"
(cd "$build/package" && zip -q -X -r "$dist/$zip" "$name")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DRELEASE="$release" -DSTAGE="$stage" \
  -DICON="$root/src/win32/resources/MainIcon.ico" -DOUTFILE="$dist/$setup" packaging/Reminder.nsi
(cd "$dist" && sha256sum "$zip" "$setup" >SHA256SUMS)

echo "Release $version in $dist:"
for file in "$dist/$zip" "$dist/$setup" "${programs[@]/#/$stage/}"; do
  printf '  %-32s %9d bytes\n' "${file##*/}" "$(stat -c %s "$file")"
done

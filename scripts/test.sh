#!/usr/bin/env bash
# Builds everything and runs every test: the core natively under AddressSanitizer and
# UBSan, the data-file loader and the calendar reader under libFuzzer for a short while,
# the Windows build under Wine, and the release's zip and installer under Wine. Ends with
# one line "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${REMINDER_BUILD_DIR:-$root/build}
fuzz_seconds=${REMINDER_FUZZ_SECONDS:-20}

bash scripts/install-deps.sh || exit 1

passed=0
failed=0
step_failed() {
  echo "FAILED: $1"
  failed=$((failed + 1))
}

# Counts the results of each test program from its XML report; a program that left no
# report (it crashed or hung) counts as one failure.
count_results() {
  local dir=$1
  shift
  local name report tests failures errors disabled
  for name in "$@"; do
    report=$dir/test-results/$name.xml
    if [[ ! -s $report ]]; then
      step_failed "$name left no report"
      continue
    fi
    read -r tests failures errors disabled < <(
      sed -n 's/.*<testsuites tests="\([0-9]*\)" failures="\([0-9]*\)" disabled="\([0-9]*\)" errors="\([0-9]*\)".*/\1 \2 \4 \3/p' \
        "$report" | head -n1)
    if [[ -z ${tests:-} ]]; then
      step_failed "$name report unreadable"
      continue
    fi
    passed=$((passed + tests - failures - errors - disabled))
    failed=$((failed + failures + errors))
  done
}

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DREMINDER_WERROR=ON "$@" >"$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; return 1; }
  cmake --build "$dir" -j "$(nproc)"
}

mkdir -p "$build"

echo "== a calendar server for the sync tests, on 127.0.0.1"
# The sync tests (native and under Wine) find it in REMINDER_TEST_CALDAV_URL.
source "$root/scripts/caldav-server.sh"
start_caldav_server || step_failed "calendar server"
trap stop_caldav_server EXIT
export REMINDER_TEST_CALDAV_URL=$CALDAV_URL

echo "== native tests (AddressSanitizer, UBSan)"
if configure_and_build "$build/native-asan" -DCMAKE_BUILD_TYPE=Debug -DREMINDER_SANITIZE=ON; then
  rm -rf "$build/native-asan/test-results"
  (cd "$build/native-asan" && ctest --output-on-failure --timeout 600)
  count_results "$build/native-asan" core_tests sync_tests
else
  step_failed "native build"
fi

echo "== calendar export read by an independent parser"
if [[ -x $build/native-asan/reminderctl ]] &&
   (cd tests/ical && npm ci --no-audit --no-fund --loglevel=error >/dev/null); then
  node tests/ical/check.mjs "$build/native-asan/reminderctl" "$build/native-asan/ical-scratch" \
    >"$build/native-asan/ical-check.log" 2>&1
  grep '^not ok' "$build/native-asan/ical-check.log"
  ical_passed=$(grep -c '^ok' "$build/native-asan/ical-check.log")
  ical_failed=$(grep -c '^not ok' "$build/native-asan/ical-check.log")
  echo "$ical_passed checks passed, $ical_failed failed"
  passed=$((passed + ical_passed))
  failed=$((failed + ical_failed))
  if ((ical_passed + ical_failed == 0)); then
    tail -n 20 "$build/native-asan/ical-check.log"
    step_failed "calendar check ran nothing"
  fi
else
  step_failed "calendar check setup"
fi

echo "== fuzzing the data-file loader, the calendar reader and the server's replies (${fuzz_seconds}s each)"
# Runs one fuzz target on its working corpus, after the seeds in the tree if it has some.
run_fuzzer() {
  local name=$1
  shift
  mkdir -p "$build/fuzz/corpus-$name"
  if "$build/fuzz/$name" -max_total_time="$fuzz_seconds" -rss_limit_mb=1024 \
       -print_final_stats=1 -artifact_prefix="$build/fuzz/$name-" "$@" \
       >"$build/fuzz/$name.log" 2>&1; then
    tail -n 3 "$build/fuzz/$name.log"
    passed=$((passed + 1))
  else
    tail -n 40 "$build/fuzz/$name.log"
    step_failed "$name"
  fi
}
if configure_and_build "$build/fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DREMINDER_FUZZ=ON \
     -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++; then
  run_fuzzer fuzz_loader "$build/fuzz/corpus-fuzz_loader"
  run_fuzzer fuzz_ical -dict="$root/fuzz/ical.dict" "$build/fuzz/corpus-fuzz_ical" \
    "$root/fuzz/corpus/ical"
  run_fuzzer fuzz_multistatus "$build/fuzz/corpus-fuzz_multistatus" "$root/fuzz/corpus/multistatus"
else
  step_failed "fuzz build"
fi

echo "== Windows tests under Wine"
if configure_and_build "$build/win32" -DCMAKE_BUILD_TYPE=Release \
     -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw32-toolchain.cmake"; then
  rm -rf "$build/win32/test-results"
  # Without a window manager Wine waits for every window it hides unless it manages them
  # itself. The native reminderctl writes beside the module in the test of their common lock.
  run_wine_tests="export WINEPREFIX='$build/win32/wineprefix' WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
                  REMINDER_NATIVE_CTL='$build/native-asan/reminderctl';
                  wine reg add 'HKCU\\Software\\Wine\\X11 Driver' /v Managed /d N /f >/dev/null 2>&1;
                  cd '$build/win32' && ctest --output-on-failure --timeout 600;
                  wineserver -w"
  if [[ -n ${DISPLAY:-} ]]; then
    bash -c "$run_wine_tests"
  else
    xvfb-run -a bash -c "$run_wine_tests"
  fi
  mapfile -t wine_tests < <(cd "$build/win32" && ctest -N | sed -n 's/^ *Test *#[0-9]*: //p')
  count_results "$build/win32" "${wine_tests[@]}"
else
  step_failed "Windows build"
fi

echo "== the release: its zip and its installer under Wine"
release_log=$build/release-test.log
bash scripts/release-test.sh >"$release_log" 2>&1
release_status=$?
grep '^not ok' "$release_log"
release_passed=$(grep -c '^ok' "$release_log")
release_failed=$(grep -c '^not ok' "$release_log")
echo "$release_passed checks passed, $release_failed failed"
passed=$((passed + release_passed))
failed=$((failed + release_failed))
if ((release_passed + release_failed == 0 || (release_status != 0 && release_failed == 0))); then
  tail -n 20 "$release_log"
  step_failed "release test"
fi

echo "$passed passed, $failed failed"
((failed == 0))

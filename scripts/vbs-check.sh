#!/usr/bin/env bash
# Checks of the VBScript engine that normal builds skip.
#   vbs-check.sh sanitize        ASan+UBSan build in build-asan/, runs the vbs tests
#   vbs-check.sh fuzz [SECONDS]  libFuzzer build in build-fuzz/, fuzzes for SECONDS (default 600);
#                                findings land in build-fuzz/findings/
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mode=${1:-sanitize}
jobs=${JOBS:-2}
san="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
case "$mode" in
sanitize)
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$san -O1" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  nice -n 10 cmake --build build-asan -j "$jobs" --target mdr_vbscript vbsrun tst_vbs_engine tst_vbs_scripts \
    tst_vbs_fuzz tst_vbs_values tst_vbs_limits
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build-asan -R vbs --output-on-failure
  ;;
fuzz)
  secs=${2:-600}
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVBS_FUZZER=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="$san -fsanitize=fuzzer-no-link" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
  nice -n 10 cmake --build build-fuzz -j "$jobs" --target vbs_fuzzer
  mkdir -p build-fuzz/corpus build-fuzz/findings
  cp tests/vbscript/*.vbs build-fuzz/corpus/
  rm -f build-fuzz/corpus/objects.vbs # writes files
  cd build-fuzz
  # fork mode keeps going after a finding, so one run collects several
  nice -n 10 ./bin/vbs_fuzzer -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$secs" -timeout=10 -rss_limit_mb=3072 -max_len=8192 \
    -artifact_prefix=findings/ corpus 2>&1 | tee fuzz.log | grep -E "^#|INFO: fuzzed|crash|timeout|oom" | tail -n 40
  ;;
*)
  echo "usage: $0 sanitize|fuzz [SECONDS]" >&2
  exit 2
  ;;
esac

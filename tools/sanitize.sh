#!/usr/bin/env bash
# Builds Vekanto with clang under AddressSanitizer and UndefinedBehaviorSanitizer in a build
# folder of its own, then runs the whole test suite with leak checking (docs/sanitizers.md).
# Run by hand; neither ./test.sh nor CI runs it.
# Usage: tools/sanitize.sh [ctest arguments, e.g. -R document]
# Environment: VEK_SANITIZE_DIR (build folder, default build-sanitize),
#              VEK_SANITIZE_JOBS (parallel compile jobs, default 3; also the tests run at once).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build_dir=${VEK_SANITIZE_DIR:-build-sanitize}
jobs=${VEK_SANITIZE_JOBS:-3}

tools/setup.sh sanitize

# Every library, plug-in and program shares one sanitizer runtime (-shared-libsan): the
# plug-ins are shared libraries linked with --no-undefined, which a runtime linked statically
# into the executables alone would leave unresolved. The rpath finds that runtime.
runtime_dir=$(dirname "$(clang-16 -print-file-name=libclang_rt.asan-x86_64.so)")
# -O1 and line tables: what the sanitizers' reports need, at about half the compile time of
# an optimised build with full debug information.
sanitize="-fsanitize=address,undefined -fno-omit-frame-pointer -shared-libsan -O1 -gline-tables-only"
link="$sanitize -Wl,-rpath,$runtime_dir"

if [ ! -f "$build_dir/build.ninja" ]; then
  CC=clang-16 CXX=clang++-16 cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DVEK_BUILD_BENCHMARKS=OFF \
    -DCMAKE_C_FLAGS="$sanitize" -DCMAKE_CXX_FLAGS="$sanitize" \
    -DCMAKE_EXE_LINKER_FLAGS="$link" -DCMAKE_SHARED_LINKER_FLAGS="$link" \
    -DCMAKE_MODULE_LINKER_FLAGS="$link"
fi
cmake --build "$build_dir" -j "$jobs"

# Leak checking is on by default with AddressSanitizer; the suppressions name the leaks
# inside Debian's libraries that are not ours, each with its reason. Every report, also one
# from a child process whose test still passed, lands in its own file under the log folder.
logs=$root/$build_dir/sanitizer-reports
rm -rf "$logs" && mkdir -p "$logs"
symbolizer=$(command -v llvm-symbolizer-16 || command -v llvm-symbolizer)
export ASAN_OPTIONS=detect_leaks=1:log_path=$logs/asan:external_symbolizer_path=$symbolizer
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:log_path=$logs/ubsan:external_symbolizer_path=$symbolizer
export QT_QPA_PLATFORM=offscreen
status=0
ctest --test-dir "$build_dir" --output-on-failure -j "$jobs" "$@" || status=$?
# The log files also hold notes that are no reports (a symbolizer warning, for one).
reports=$(grep -lE 'ERROR: (Address|Leak)Sanitizer|runtime error:' "$logs"/* 2>/dev/null || true)
if [ -n "$reports" ]; then
  echo "Sanitizer reports:" >&2
  for report in $reports; do cat "$report" >&2; done
  [ "$status" -eq 0 ] && status=1
fi
exit "$status"

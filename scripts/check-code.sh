#!/usr/bin/env bash
# CI's checks beyond the tests, after scripts/test.sh has built build/: the layers, the format,
# every test again built with AddressSanitizer and UndefinedBehaviorSanitizer (any report fails
# it), and clang-tidy over src/ with the root .clang-tidy (any warning fails it).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh clang-tidy clang-format

scripts/check-layers.sh
find src tests bench -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run -Werror

options=()
[ -z "${NUBIRA_WERROR:-}" ] || options+=(-DNUBIRA_WERROR="$NUBIRA_WERROR")
cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNUBIRA_SANITIZE=ON \
    -DNUBIRA_BUILD_BENCHMARKS=OFF "${options[@]}"
cmake --build build-sanitize
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"

find src -name '*.cpp' -print0 | sort -z |
    xargs -0 -P "$(nproc)" -n 4 clang-tidy -p build --quiet
echo "Layers, format, sanitized tests and clang-tidy passed."

#!/usr/bin/env bash
# Installs what is missing, builds Kaleidra and its tests in build/, and runs every test headless;
# then builds the toolkit-free core alone in build-core/ (no Qt) and runs its tests; then builds
# the tests again in build-asan/ with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# them there too.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" >/dev/null
cmake --build build
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
ctest --test-dir build --output-on-failure -j "$(nproc)"

cmake -S . -B build-core -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALEIDRA_WITH_QT=OFF >/dev/null
cmake --build build-core
ctest --test-dir build-core --output-on-failure -j "$(nproc)"

# Any sanitizer report fails its test; only the toolkit's own leaks are forgiven (lsan.supp).
# The standard library checks its own bounds too (an index one past a std::array aborts).
sanitize="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
      -DCMAKE_CXX_FLAGS="-O1 -D_GLIBCXX_ASSERTIONS $sanitize" -DCMAKE_EXE_LINKER_FLAGS="$sanitize" >/dev/null
cmake --build build-asan
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

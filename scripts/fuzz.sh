#!/usr/bin/env bash
# Fuzzes the document reader with libFuzzer (clang, AddressSanitizer) for a bounded time.
#   bash scripts/fuzz.sh [SECONDS]      (default 300)
# The corpus starts from the documents in tests/app/corpus and grows in build-fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-300}"
bash scripts/setup.sh
command -v clang++ >/dev/null || { echo "fuzz: clang++ is needed (apt-get install clang)" >&2; exit 1; }
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ -DKALEIDRA_FUZZ=ON >/dev/null
cmake --build build-fuzz --target document_fuzz
mkdir -p build-fuzz/corpus
export QT_QPA_PLATFORM=offscreen
./build-fuzz/document_fuzz -max_total_time="$seconds" -max_len=200000 -timeout=10 \
    -rss_limit_mb=4096 build-fuzz/corpus tests/app/corpus

#!/usr/bin/env bash
# coverage.sh [CORPUS_DIR...]: which lines and branches of the decoder the fuzz corpus reaches.
# Builds bmp_fuzz with clang's source-based coverage into build-coverage/, runs every file of the
# corpus (fuzz/corpus/ unless directories are given) through it once, and prints llvm-cov's summary
# for the decoder's sources, then each line and each branch direction that no file reaches.
# Needs llvm-profdata and llvm-cov, from Debian's llvm package (scripts/setup.sh installs it).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
cd "$repo"
build=$repo/build-coverage
cmake --preset fuzz -B "$build" -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
  -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate" >/dev/null
cmake --build "$build" --target bmp_fuzz --parallel "$(nproc)" >/dev/null

corpora=("$@")
if [ ${#corpora[@]} -eq 0 ]; then corpora=("$repo/fuzz/corpus"); fi
rm -f "$build"/coverage.prof*
# -runs=0: each file is run once as the fuzzer loads it, and nothing is mutated.
LLVM_PROFILE_FILE="$build/coverage.profraw" "$build/fuzz/bmp_fuzz" -runs=0 "${corpora[@]}" 2>&1 | grep -E "INITED|ERROR" || true
llvm-profdata merge -sparse "$build/coverage.profraw" -o "$build/coverage.profdata"

# The decoder: what decodeBmpImage runs. loadBmpImage (file mapping and the message box) is not
# reached by the fuzzer, which hands it bytes in memory.
sources=("$repo"/image/bmp_*.cpp "$repo/image/bmp_reader.h")
cov=(-instr-profile="$build/coverage.profdata" "$build/fuzz/bmp_fuzz")
llvm-cov report "${cov[@]}" "${sources[@]}"
echo
echo "Lines no file reaches:"
llvm-cov show "${cov[@]}" -show-line-counts -show-branches=count "${sources[@]}" |
  awk -F'|' '/^\/.*:$/ { file = $0; sub(/:$/, "", file); next }
             $2 ~ /^ *0$/ { printf "  %s:%d:%s\n", file, $1, $3 }'
echo "Branch directions no file takes:"
llvm-cov show "${cov[@]}" -show-branches=count "${sources[@]}" |
  awk '/^\/.*:$/ { file = $0; sub(/:$/, "", file); next }
       /Branch \(/ && /(True|False): 0[],]/ { sub(/^[ |]*/, ""); printf "  %s: %s\n", file, $0 }'

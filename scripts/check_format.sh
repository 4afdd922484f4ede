#!/usr/bin/env bash
# Fails when any C++ file in the tree differs from what .clang-format makes of it; --fix rewrites them.
# It also fails, saying why, when it cannot check: no git, no clang-format, not in a git clone, no files.
# The files are written so that clang-format 14 (Debian 12) and 19 (Debian 13) agree on them.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in git clang-format; do
  command -v "$tool" >/dev/null || { echo "check_format.sh: $tool is not installed, nothing was checked" >&2; exit 2; }
done
list=$(git ls-files '*.cpp' '*.h') || { echo "check_format.sh: git cannot list the files, nothing was checked" >&2; exit 2; }
mapfile -t files <<<"$list"
[ -n "${files[0]}" ] || { echo "check_format.sh: no C++ files found, nothing was checked" >&2; exit 2; }
if [ "${1:-}" = --fix ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run -Werror "${files[@]}"
fi

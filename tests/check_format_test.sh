#!/usr/bin/env bash
# scripts/check_format.sh in a scratch clone: it passes formatted code, fails misformatted code, and
# fails saying why (exit 2) when it cannot check at all, rather than passing having checked nothing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A PATH with only what the script needs, less the tools a case takes away.
toolsWithout() {
  local bin=$work/bin-$1
  mkdir -p "$bin"
  for tool in bash dirname git clang-format; do
    [ "$tool" = "$1" ] || ln -sf "$(command -v "$tool")" "$bin/$tool"
  done
  echo "$bin"
}

# A scratch tree holding the script, the settings and one C++ file; a git clone unless asked not to.
tree() {
  local dir=$work/tree-$1
  mkdir -p "$dir/scripts"
  cp "$root/scripts/check_format.sh" "$dir/scripts/"
  cp "$root/.clang-format" "$dir/"
  printf '%s\n' "$2" >"$dir/main.cpp"
  if [ "$3" = git ]; then git -C "$dir" init -q && git -C "$dir" add -A; fi
  echo "$dir"
}

formatted=$'int main() {\n    return 0;\n}'
misformatted='int  main( ) {return 0;}'
failures=0
# name | tool taken away | file | git clone or not | expected exit status | expected message
while IFS='|' read -r name missing file kind status message; do
  dir=$(tree "$name" "${!file}" "$kind")
  set +e
  output=$(env -i PATH="$(toolsWithout "$missing")" bash "$dir/scripts/check_format.sh" </dev/null 2>&1)
  actual=$?
  set -e
  if [ "$actual" != "$status" ] || ! grep -q -F -- "$message" <<<"$output"; then
    echo "FAIL $name: exit $actual (expected $status), output: $output"
    failures=$((failures + 1))
  else
    echo "ok   $name"
  fi
done <<'CASES'
formatted|none|formatted|git|0|
misformatted|none|misformatted|git|1|code should be clang-formatted
no git|git|formatted|git|2|git is not installed, nothing was checked
no clang-format|clang-format|formatted|git|2|clang-format is not installed, nothing was checked
not a git clone|none|formatted|plain|2|git cannot list the files, nothing was checked
CASES
[ "$failures" -eq 0 ]

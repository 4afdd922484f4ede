#!/usr/bin/env bash
# Static analysis of the program's own code (app/ scene/ render/ input/ image/ platform/ web/) with Debian's
# clang-tidy and cppcheck: the Linux files as the default preset compiles them, the Win32 files against
# mingw-w64's headers, the browser files against Emscripten's. Any finding fails; every suppression carries its reason on its own line.
# Tests, tools, benchmarks and fuzz targets are not checked, nor product files of any other system
# (listed at the end as not checked).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc)

scripts/setup.sh g++-mingw-w64-x86-64-posix emscripten
# Emscripten puts its headers into its sysroot the first time it compiles.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
em++ -E -x c++ /dev/null >/dev/null 2>&1
cmake --preset default -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
product='(app|scene|render|input|image|platform|web)/'

checks=(
  '-*' 'bugprone-*' 'cert-*' 'performance-*' 'clang-analyzer-*'
  '-bugprone-easily-swappable-parameters' # GLUT's callbacks take runs of int and OpenGL's calls runs of float: the order is theirs
  '-bugprone-implicit-widening-of-multiplication-result' # decoder offsets stay far below int's range (maxBmpPixelCount, 16-bit colour counts)
)
tidy=(-config="{Checks: '$(IFS=,; echo "${checks[*]}")', WarningsAsErrors: '*', HeaderFilterRegex: '^$root/$product'}" -quiet)

# The Linux build's own compile commands, cut down to the program's files.
python3 - "$root" "$product" build/compile_commands.json "$work/compile_commands.json" <<'PY'
import json, re, sys
root, product, source, target = sys.argv[1:]
commands = json.load(open(source))
json.dump([c for c in commands if re.match(re.escape(root) + "/" + product, c["file"])], open(target, "w"))
PY
mapfile -t linuxFiles < <(python3 -c 'import json, sys; print("\n".join(c["file"] for c in json.load(open(sys.argv[1]))))' \
  "$work/compile_commands.json")

echo "clang-tidy: ${#linuxFiles[@]} Linux files"
run-clang-tidy -p "$work" -j "$jobs" "${tidy[@]}" "${linuxFiles[@]}" >"$work/tidy.log" 2>&1 || {
  grep -v '^clang-tidy\|warnings generated\|^Suppressed\|^Use -header-filter\|^Error while processing' "$work/tidy.log"
  exit 1
}

# The Win32 files against the headers mingw-w64's compiler uses.
# The C++ files of a port's list (platform/sources.cmake, web/sources.cmake); headers are checked
# through them.
platformFiles() { cmake -DASTROLUME_PLATFORM_LIST="$1" -P platform/sources.cmake | grep '\.cpp$'; }
webFiles() { cmake -DASTROLUME_WEB_LIST="$1" -P web/sources.cmake | grep '\.cpp$'; }
# Stops here, naming the file, when a port's folder and its list disagree.
platformFiles all >/dev/null
webFiles all >/dev/null
mapfile -t win32Files < <(platformFiles win32)
mapfile -t win32Includes < <(x86_64-w64-mingw32-g++-posix -E -x c++ - -v </dev/null 2>&1 |
  sed -n '/#include <...> search starts here/,/End of search/s/^ \(\/.*\)/\1/p' | grep -v '/include\(-fixed\)\?$')
echo "clang-tidy: ${#win32Files[@]} Win32 files"
printf '%s\n' "${win32Files[@]}" | xargs -P "$jobs" -I{} clang-tidy "${tidy[@]}" {} -- -std=c++17 -I. \
  --target=x86_64-w64-mingw32 -nostdinc++ "${win32Includes[@]/#/-isystem}" >"$work/win32.log" 2>&1 || {
  grep -v 'warnings generated' "$work/win32.log"
  exit 1
}

# The browser files against the headers Emscripten's compiler uses, with its GLUT header stand-in.
mapfile -t webFiles < <(platformFiles web; webFiles stand_ins; webFiles program)
webSysroot=/usr/share/emscripten/cache/sysroot
webFlags=(-std=c++17 -I. -Iweb/include --target=wasm32-unknown-emscripten --sysroot="$webSysroot"
          -nostdinc++ -isystem "$webSysroot/include/compat" -isystem "$webSysroot/include/c++/v1"
          -isystem "$webSysroot/include" -DEMSCRIPTEN -D__EMSCRIPTEN__ -D_LIBCPP_ABI_VERSION=2)
echo "clang-tidy: ${#webFiles[@]} browser files"
printf '%s\n' "${webFiles[@]}" | xargs -P "$jobs" -I{} clang-tidy "${tidy[@]}" {} -- "${webFlags[@]}" \
  >"$work/web.log" 2>&1 || {
  grep -v 'warnings generated' "$work/web.log"
  exit 1
}

echo "cppcheck: the same files"
cppcheckOptions=(--enable=warning,style,performance,portability --inline-suppr --error-exitcode=1 --quiet -j "$jobs"
                 --template='{file}:{line}: {severity} [{id}] {message}')
# cppcheck 2.11 and later limit the branches they follow unless told otherwise, and say so as a finding;
# every branch, as cppcheck 2.10 follows them, costs well under a second more here.
if cppcheck --help | grep -- --check-level >/dev/null; then cppcheckOptions+=(--check-level=exhaustive); fi
cppcheck "${cppcheckOptions[@]}" --project="$work/compile_commands.json"
cppcheck "${cppcheckOptions[@]}" --std=c++17 --platform=win64 -D_WIN32 -I. "${win32Files[@]}"
# Emscripten's macros that write functions in JavaScript, as the declarations they make.
cppcheck "${cppcheckOptions[@]}" --std=c++17 -D__EMSCRIPTEN__ --library=scripts/cppcheck-emscripten.cfg -I. \
  -Iweb/include "${webFiles[@]}"

mapfile -t notChecked < <({ printf '%s\n' {app,scene,render,input,image}/*.cpp && platformFiles all && webFiles all; } |
  grep -v -x -F -f <(printf '%s\n' "${linuxFiles[@]#"$root"/}" "${win32Files[@]}" "${webFiles[@]}"))
[ ${#notChecked[@]} -eq 0 ] || echo "not checked (no compile commands or headers here): ${notChecked[*]}"
echo "no findings"

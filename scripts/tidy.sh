#!/usr/bin/env bash
# Static analysis: checks the formatting of every source file against
# .clang-format, then runs clang-tidy (.clang-tidy) over every translation unit
# of the program, its tests and benchmarks, using the compile commands of the
# test build (bash scripts/test.sh makes it). Any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
[[ -f "$build/compile_commands.json" ]] || { echo "tidy: no $build/compile_commands.json; run bash scripts/test.sh first" >&2; exit 2; }

start=$SECONDS
mapfile -t sources < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'bench/*.cpp' 'bench/*.h' 'fuzz/*.cpp' 'fuzz/*.h')
if ! clang-format-14 --dry-run -Werror "${sources[@]}"; then
    echo "tidy: formatting differs from .clang-format (bash scripts/format.sh applies it)" >&2
    exit 1
fi
echo "tidy: formatting of ${#sources[@]} files checked in $((SECONDS - start)) s"

# Every translation unit of ours in the build (the generated moc files are not).
units=$(python3 - "$build" <<'PY'
import json, os, sys
root = os.getcwd() + "/"
for entry in json.load(open(os.path.join(sys.argv[1], "compile_commands.json"))):
    f = entry["file"]
    rel = f[len(root):] if f.startswith(root) else f
    if rel.split("/")[0] in ("src", "tests", "bench"):
        print(f)
PY
)
start=$SECONDS
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# shellcheck disable=SC2086
if ! run-clang-tidy-14 -quiet -p "$build" -j "$(nproc)" $units >"$log" 2>&1; then
    grep -E "(warning|error):" "$log" | sort -u >&2 || cat "$log" >&2
    echo "tidy: clang-tidy found problems ($((SECONDS - start)) s)" >&2
    exit 1
fi
echo "tidy: clang-tidy clean on $(wc -w <<<"$units") translation units in $((SECONDS - start)) s"

#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ with clang and runs each for a short
# while, seeded from the demo library. Usage: scripts/fuzz.sh [seconds-per-target]
# A crash leaves its input in build-fuzz/artifacts/ and fails the run; replay
# it with: build-fuzz/fuzz_<name> build-fuzz/artifacts/<file>
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
[[ "$seconds" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [seconds-per-target]" >&2; exit 2; }
bash scripts/setup.sh
if ! command -v clang++ >/dev/null; then
  echo "fuzz: clang++ not found, fuzz targets not built" >&2
  exit 0
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE= \
      "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j"$(nproc)"

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
artifacts="$PWD/build-fuzz/artifacts"
mkdir -p "$artifacts"

# Seeds: the demo library's own files, and a few small ones kept in fuzz/seeds.
targets=(album legacylist indexfile lyrics id3v1 profile registry m3u)
for t in "${targets[@]}"; do
  mkdir -p "$corpus/$t"
  if [[ -d fuzz/seeds/$t ]]; then cp fuzz/seeds/"$t"/* "$corpus/$t/"; fi
done
cp data/demo/albums/*.mdt "$corpus/album/"
cp data/demo/albums/*.mdt "$corpus/legacylist/"
cp data/demo/tunovia.ini "$corpus/indexfile/"
cp data/demo/tunovia.ini data/tunovia.gnr "$corpus/profile/"
n=0
for f in data/demo/music/*/*; do
  n=$((n + 1))
  case "$f" in
    *.txt) cp -- "$f" "$corpus/lyrics/$n.txt" ;;
    *.mp3) tail -c 128 -- "$f" >"$corpus/id3v1/$n.tag" ;;
  esac
done

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen
# One target: its log and, on a crash, a mark beside it.
run() {
  local t=$1 log="$corpus/$1.log"
  # -max_total_time ends the run; timeout ends it if that does not.
  if timeout -k 10 $((seconds + 60)) "build-fuzz/fuzz_$t" "$corpus/$t" \
       -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$artifacts/$t-" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units' "$log" | sed "s/^/fuzz: $t: /" || true
  else
    touch "$corpus/$t.failed"
  fi
}
# As many targets at a time as there are cores.
echo "fuzz: every target for ${seconds}s"
for t in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= $(nproc))); do wait -n || true; done
  run "$t" &
done
wait
failed=()
for t in "${targets[@]}"; do
  if [[ -e "$corpus/$t.failed" ]]; then
    echo "---- fuzz_$t"; tail -n 60 "$corpus/$t.log"
    failed+=("$t")
  fi
done

passed=$((${#targets[@]} - ${#failed[@]}))
if ((${#failed[@]})); then
  echo "fuzz: crashed: ${failed[*]} (inputs in $artifacts)" >&2
  echo "fuzz: $passed passed, ${#failed[@]} failed"
  exit 1
fi
echo "fuzz: $passed passed, 0 failed"

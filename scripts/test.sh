#!/usr/bin/env bash
# Builds Tunovia with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test headless on a private D-Bus session bus.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
werror=OFF
[[ "${CI:-}" == "true" ]] && werror=ON
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTUNOVIA_SANITIZE=ON -DTUNOVIA_WERROR=$werror -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
cmake --build build-test -j"$(nproc)"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Nothing a test does may reach the user's own settings or registry.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TUNOVIA_CONFIG_DIR="$scratch/config"
export TUNOVIA_REGISTRY_FILE="$scratch/none.reg"
export XDG_RUNTIME_DIR="$scratch/run"
mkdir -p "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
cd build-test
dbus-run-session -- ctest --output-on-failure -j"$(nproc)" "$@"

#!/usr/bin/env bash
# Builds Tunovia and starts it on the bundled demo library, with a settings
# folder of its own so that the user's settings are never touched.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNOVIA_BUILD_TESTS=OFF -DTUNOVIA_BUILD_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"

demo_config="$PWD/build/demo-config"
mkdir -p "$demo_config"
export TUNOVIA_CONFIG_DIR="$demo_config"
export TUNOVIA_REGISTRY_FILE="$demo_config/none.reg"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "No display found: running under a virtual X server."
  exec xvfb-run -a ./build/bin/tunovia "$PWD/data/demo/tunovia.ini" "$@"
fi
exec ./build/bin/tunovia "$PWD/data/demo/tunovia.ini" "$@"

#!/usr/bin/env bash
# Sets up a fresh Debian machine (as root), builds the game with its content, then either plays
# it or runs the whole test suite.
#   scripts/setup.sh play [game flags...]   build, generate base/, start the game
#   scripts/setup.sh test                   build, generate base/, run every test under Xvfb,
#                                           then every fuzz target briefly (scripts/fuzz.sh)
set -euo pipefail
mode=${1:-play}
shift || true
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"

# What the game needs to build and run; the tests need more.
packages=(build-essential cmake ninja-build pkg-config
  libsdl2-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  libopenal-dev libopenal1 libalut-dev libvorbis-dev libogg-dev
  libbullet-dev libfreetype-dev fonts-dejavu-core xdg-utils)
if [ "$mode" = test ]; then
  # imagemagick: an independent bitmap encoder whose files the image reader's tests must read,
  # and the window pictures of the menu play-through;
  # xdotool: real pointer and key input for the menu play-through;
  # clang with its runtime libraries: libFuzzer and the sanitizers of the fuzz targets.
  packages+=(clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth
    imagemagick xdotool)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

jobs=$(nproc)
build() { # dir, extra cmake args...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
}

case "$mode" in
play)
  build build -DBUILD_TESTING=OFF
  cd build
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting the game in a virtual display is only useful for tests."
    echo "Run this from a desktop session to play."
    exit 1
  fi
  exec ./cobalt-overdrive "$@"
  ;;
test)
  # Line tables only: enough for every backtrace a failing test prints, and an eighth less
  # build time than full debug information.
  build build -DBUILD_TESTING=ON -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
  # The sanitizer build checks the unit tests for memory and undefined-behaviour faults: only
  # those programs are built there (each test program is the target of its own name).
  cmake -S . -B build-asan -G Ninja -DCOBALT_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug -DCOBALT_CONTENT=OFF >/dev/null
  mapfile -t unit < <(ctest --test-dir build-asan -N -L unit | awk '/Test +#/ {print $3}')
  cmake --build build-asan -j "$jobs" --target "${unit[@]}"
  export LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_LOGLEVEL=0
  # One virtual display for everything that opens a window; xvfb-run starts and ends it.
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    ctest --test-dir build --output-on-failure -j 2
    ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-asan --output-on-failure -L unit -j 2
  '
  # Every file reader fuzzed for a few seconds on its seeds: enough to catch a reader that has
  # started to crash on the kinds of file it was once fuzzed with.
  scripts/fuzz.sh 2
  ;;
*)
  echo "usage: scripts/setup.sh play|test" >&2
  exit 2
  ;;
esac

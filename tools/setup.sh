#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then runs the demo or every test.
#   tools/setup.sh demo   build and start glimmerboard
#   tools/setup.sh test   build and run all tests (starts its own Xvfb when no display is set)
# Package and build chatter goes to standard error, so the demo's standard output is only
# what the program itself prints.
set -euo pipefail
mode=${1:-demo}
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config freeglut3-dev libglew-dev libglu1-mesa-dev
          libgl1-mesa-dri libgl-dev xvfb xauth x11-utils libgtest-dev libgmock-dev
          libbenchmark-dev libstb-dev libtinyobjloader-dev clang libclang-rt-14-dev
          libspng-dev libjpeg62-turbo-dev libgif-dev libwebp-dev)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}" >&2
    $sudo apt-get update -qq >&2
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >&2
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >&2
cmake --build build -j"$(nproc)" >&2

with_display() {
    if [ -n "${DISPLAY:-}" ]; then
        "$@"
    else
        # -noreset: by default the server resets whenever its last client leaves, and a test that
        # connects during that reset finds no display.
        xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$@"
    fi
}

case "$mode" in
    demo)
        [ -n "${DISPLAY:-}" ] || echo "No display set: running under a virtual X server." >&2
        with_display ./build/glimmerboard
        ;;
    test)
        with_display ctest --test-dir build --output-on-failure -j"$(nproc)"
        ;;
    *)
        echo "usage: tools/setup.sh demo|test" >&2
        exit 2
        ;;
esac

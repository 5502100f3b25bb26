#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, then runs the demo or every test.
#   tools/setup.sh demo   build and start glimmerboard
#   tools/setup.sh test   build and run all tests (starts its own Xvfb when no display is set),
#                         then build them again with AddressSanitizer and UndefinedBehaviorSanitizer
#                         in build-asan and run them again; any sanitizer report fails the run
# Package and build chatter goes to standard error, so the demo's standard output is only
# what the program itself prints.
set -euo pipefail
mode=${1:-demo}
cd "$(dirname "$0")/.."

packages=(build-essential cmake pkg-config freeglut3-dev libglew-dev libglu1-mesa-dev
          libgl1-mesa-dri libgl-dev xvfb xauth x11-utils libgtest-dev libgmock-dev
          libbenchmark-dev libstb-dev libtinyobjloader-dev clang libclang-rt-14-dev
          libspng-dev libjpeg62-turbo-dev libgif-dev libwebp-dev
          libavformat-dev libavcodec-dev libswscale-dev libavutil-dev ffmpeg)
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

# The whole suite again with the sanitizers, every process of it (the program and tools that
# tests start included). Reports go to log files, so one that a test does not look at still
# fails the run. Only leaks inside the GL driver and X libraries are suppressed.
run_sanitized_tests() {
    local flags="-O1 -g -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
    cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS="$flags" \
          -DCMAKE_C_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >&2
    cmake --build build-asan -j"$(nproc)" >&2
    local logs=$PWD/build-asan/sanitizer-logs
    rm -rf "$logs"
    mkdir -p "$logs"
    # The GL driver is unloaded when a process closes its display, before the leak check runs,
    # which would leave the driver's own blocks without a module to suppress them by; loaded
    # up front it stays. The sanitizer runtime still sees every allocation first.
    local driver
    driver=/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so
    [ -e "$driver" ] || driver=""
    local status=0
    with_display env LD_PRELOAD="$driver" \
        ASAN_OPTIONS="log_path=$logs/asan:detect_leaks=1:verify_asan_link_order=0" \
        UBSAN_OPTIONS="log_path=$logs/ubsan:print_stacktrace=1:halt_on_error=1" \
        LSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0" \
        ctest --test-dir build-asan --output-on-failure -j"$(nproc)" || status=$?
    if compgen -G "$logs/*" >/dev/null; then
        echo "Sanitizer reports:" >&2
        cat "$logs"/* >&2
        return 1
    fi
    return "$status"
}

case "$mode" in
    demo)
        [ -n "${DISPLAY:-}" ] || echo "No display set: running under a virtual X server." >&2
        with_display ./build/glimmerboard
        ;;
    test)
        with_display ctest --test-dir build --output-on-failure -j"$(nproc)"
        run_sanitized_tests
        ;;
    *)
        echo "usage: tools/setup.sh demo|test" >&2
        exit 2
        ;;
esac

#!/usr/bin/env bash
# Sets up, builds and runs Vellumor on Debian 12.
#   ./vellumor.sh run    install what is missing, build, start the editor
#   ./vellumor.sh test   install what is missing, build, run the whole test suite
#                        (plain build, then again with AddressSanitizer and UBSan)
#   ./vellumor.sh bench  install what is missing, build, run the benchmarks
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6test6 libgl-dev
    fonts-dejavu-core
    clang libclang-rt-14-dev libbenchmark-dev
    desktop-file-utils appstream
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$p")
        fi
    done
    if ((${#missing[@]})); then
        echo "Installing: ${missing[*]}"
        local sudo=()
        [[ $(id -u) -eq 0 ]] || sudo=(sudo)
        "${sudo[@]}" apt-get update -q
        DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
    fi
}

build() { # build DIR [cmake options...]
    local dir="$1"
    shift
    cmake -S "$here" -B "$here/$dir" "$@" >/dev/null
    cmake --build "$here/$dir" --parallel "$jobs"
}

run_tests() { # run_tests DIR
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$here/$1" --output-on-failure --parallel "$jobs"
}

case "${1:-}" in
run)
    install_missing
    build build
    exec "$here/build/src/vellumor"
    ;;
test)
    install_missing
    build build
    run_tests build
    build build-sanitize -DVELLUMOR_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS="suppressions=$here/tests/lsan.supp" run_tests build-sanitize
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# Sets up, builds and runs Vellumor on Debian 12.
#   ./vellumor.sh run    install what is missing, build, start the editor
#   ./vellumor.sh test   install what is missing, check the formatting, then build the
#                        whole tree and run the whole test suite twice: with g++, and
#                        with clang++ under AddressSanitizer and UBSan; then a minute
#                        each of fuzzing the map file reader and the CSV, TMX and TMJ
#                        readers
#   ./vellumor.sh fuzz [SECONDS]  fuzz each of them longer (default an hour each)
#   ./vellumor.sh bench  install what is missing, build in Release, run the benchmarks and
#                        print each figure beside its floor (docs/performance.md)
#   ./vellumor.sh format format every source file with clang-format 14
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6test6 libgl-dev
    fonts-dejavu-core
    clang libclang-rt-14-dev clang-format-14 libbenchmark-dev
    desktop-file-utils appstream
    zlib1g-dev tiled poppler-utils help2man man-db bash-completion
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

# Both compilers build everything, benchmarks included, with warnings as errors.
test_with_gcc() {
    build build -DVELLUMOR_WERROR=ON -DVELLUMOR_BUILD_BENCH=ON
    run_tests build
}

# The Clang build carries both sanitizers and builds the fuzz targets as well.
test_with_clang() {
    build build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DVELLUMOR_FUZZ=ON -DVELLUMOR_WERROR=ON \
        -DVELLUMOR_BUILD_BENCH=ON
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS="suppressions=$here/tests/lsan.supp" run_tests build-fuzz
}

# The clang-format that matches the Clang of the builds: major version 14.
clang_format() {
    local candidate
    for candidate in clang-format-14 clang-format; do
        if command -v "$candidate" >/dev/null && "$candidate" --version | grep -q ' version 14\.'; then
            echo "$candidate"
            return
        fi
    done
    echo "clang-format 14 is missing: apt-get install clang-format-14" >&2
    return 1
}

source_files() {
    find "$here/src" "$here/tests" "$here/tools" "$here/bench" -name '*.cpp' -o -name '*.h' | sort
}

format_sources() {
    local formatter
    formatter="$(clang_format)" || return 1
    source_files | xargs "$formatter" -i --style=file
}

# Fails, listing them, when files differ from what ./vellumor.sh format makes of them.
check_format() {
    local formatter file unformatted=()
    formatter="$(clang_format)" || return 1
    while IFS= read -r file; do
        "$formatter" --style=file "$file" | cmp -s - "$file" || unformatted+=("${file#"$here"/}")
    done < <(source_files)
    if ((${#unformatted[@]})); then
        echo "Not formatted as .clang-format asks (./vellumor.sh format fixes them):" >&2
        printf '  %s\n' "${unformatted[@]}" >&2
        return 1
    fi
}

run_fuzzer() { # run_fuzzer TARGET SECONDS MAX_LEN DICT CORPUS: findings land in build-fuzz/findings
    local target="$1" seconds="$2" max_len="$3" dict="$4" corpus="$5"
    cmake -S "$here" -B "$here/build-fuzz" -DVELLUMOR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
    cmake --build "$here/build-fuzz" --parallel "$jobs" --target "$target"
    mkdir -p "$here/build-fuzz/$target-corpus" "$here/build-fuzz/findings"
    # A small quarantine and short allocation stacks more than double the speed.
    ASAN_OPTIONS=quarantine_size_mb=8:malloc_context_size=2 \
        "$here/build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" \
            -timeout=5 -dict="$here/tests/fuzz/$dict" \
            -artifact_prefix="$here/build-fuzz/findings/$target-" -print_final_stats=1 \
            "$here/build-fuzz/$target-corpus" "$here/tests/fuzz/$corpus"
}

# The map file reader, and the CSV, TMX and TMJ readers of imported maps (whose
# inputs are long enough for a whole Tiled map; far larger files are refused unread).
fuzz_readers() { # fuzz_readers SECONDS
    run_fuzzer fuzz_mapfile "$1" 8192 mapfile.dict corpus
    run_fuzzer fuzz_imports "$1" 16384 imports.dict imports
}

case "${1:-}" in
run)
    install_missing
    build build
    exec "$here/build/src/vellumor"
    ;;
test)
    install_missing
    check_format
    test_with_gcc
    test_with_clang
    fuzz_readers 60
    ;;
fuzz)
    install_missing
    fuzz_readers "${2:-3600}"
    ;;
bench)
    install_missing
    build build-release -DCMAKE_BUILD_TYPE=Release -DVELLUMOR_BUILD_TESTS=OFF -DVELLUMOR_BUILD_BENCH=ON
    shift
    exec "$here/build-release/bench/vellumor_bench" "$@"
    ;;
format)
    install_missing
    format_sources
    ;;
*)
    echo "usage: $0 run|test|fuzz [SECONDS]|bench [BENCHMARK OPTIONS]|format" >&2
    exit 2
    ;;
esac

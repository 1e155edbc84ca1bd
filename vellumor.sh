#!/usr/bin/env bash
# Sets up, builds and runs Vellumor on Debian 12.
#   ./vellumor.sh run    install what is missing, build, start the editor
#   ./vellumor.sh test   install what is missing (the browser test's npm packages too),
#                        check the formatting, then build the
#                        whole tree and run the whole test suite twice: with g++, and
#                        with clang++ under AddressSanitizer and UBSan; then a minute
#                        each of fuzzing the map file reader, the CSV, TMX and TMJ
#                        readers, the table's HTTP front and the GM's messages; then
#                        build the Debian package and check it as Debian does:
#                        lintian, autopkgtest and piuparts in a Debian 12 chroot
#   ./vellumor.sh package [--twice] [--check]  build the Debian package from the
#                        committed tree and its uncommitted changes into dist/; --twice
#                        builds it again elsewhere and checks that both give the same
#                        bytes; --check checks it as the test command does
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
    qt6-websockets-dev libqrencode-dev
    fonts-dejavu-core
    clang libclang-rt-14-dev clang-format-14 libbenchmark-dev
    desktop-file-utils appstream
    zlib1g-dev tiled poppler-utils help2man man-db bash-completion
    shared-mime-info libglib2.0-bin
)

# What building and checking the Debian package needs besides.
packaging_packages=(
    build-essential debhelper dpkg-dev devscripts lintian
    autopkgtest piuparts debootstrap uidmap bubblewrap
    git # exports the tree the package is built from
)

# The table's browser test: Debian's chromium, zbar-tools to read the QR code it
# shows, and node with npm for its driver,
# puppeteer-core, pinned by tests/table/browser/package-lock.json. A node that
# brings its own npm (as NodeSource's does) is kept: Debian's npm conflicts with it.
install_browser_test() {
    local wanted=(chromium zbar-tools)
    command -v node >/dev/null || wanted+=(nodejs)
    command -v npm >/dev/null || wanted+=(npm)
    install_missing "${wanted[@]}"
    (cd "$here/tests/table/browser" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefer-offline --no-audit --no-fund)
}

install_missing() { # install_missing [PACKAGE...]: the build's packages when none named
    (($#)) || set -- "${packages[@]}"
    local missing=()
    for p in "$@"; do
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
    run_fuzzer fuzz_table_http "$1" 9000 table.dict table-http
    run_fuzzer fuzz_table_messages "$1" 17000 table.dict table-messages
}

# The Debian package. It is built from an export of the tree (export_tree), never
# from the working tree and its build folders, under build-deb/, and lands in
# dist/ with its source package.
version="$(sed -n '1s/^vellumor (\([^)]*\)).*/\1/p' "$here/debian/changelog")"
arch="$(dpkg --print-architecture 2>/dev/null || echo amd64)"
changes="$here/dist/vellumor_${version}_${arch}.changes"
deb="$here/dist/vellumor_${version}_${arch}.deb"

as_root() { # as_root COMMAND...: debootstrap, piuparts and usermod need root
    if [[ $(id -u) -eq 0 ]]; then
        "$@"
    else
        sudo "$@"
    fi
}

# The tree the package is built from, as a tar stream under PREFIX: the committed
# tree with the uncommitted changes to tracked files; in a copy of the project
# without its history (a release tarball, a `git archive`), every file that
# .gitignore keeps (no build folders, no dist/), staged in a throwaway index.
export_tree() { # export_tree PREFIX
    if [[ -e $here/.git ]]; then
        local tree
        tree="$(git -C "$here" stash create)"
        git -C "$here" archive --prefix="$1" "${tree:-HEAD}"
        return
    fi
    local index status=0
    index="$(mktemp -d)"
    {
        git --git-dir="$index" init -q &&
            git --git-dir="$index" --work-tree="$here" -c core.excludesFile=/dev/null add -A &&
            git --git-dir="$index" archive --prefix="$1" "$(git --git-dir="$index" write-tree)"
    } || status=$?
    rm -rf "$index"
    return $status
}

build_package() { # build_package DIR: builds into DIR/, leaves the results there
    local dir="$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    export_tree "vellumor-$version/" | tar -x -C "$dir"
    (cd "$dir/vellumor-$version" &&
        DEB_BUILD_OPTIONS="parallel=$jobs ${DEB_BUILD_OPTIONS:-}" nice dpkg-buildpackage -us -uc) \
        2>&1 | tee "$dir/build.log"
}

package() {
    build_package "$here/build-deb/one"
    rm -rf "$here/dist"
    mkdir -p "$here/dist"
    find "$here/build-deb/one" -maxdepth 1 -type f -exec cp {} "$here/dist/" \;
    echo "The package: $deb"
}

# A second build from the same tree, in another folder, must give the same bytes;
# its tests are left out, as they change nothing in the package.
package_again() {
    DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}" build_package "$here/build-deb/two"
    local file different=0
    for file in "$here"/dist/*.deb; do
        if ! cmp "$file" "$here/build-deb/two/${file##*/}"; then
            different=1
        fi
    done
    if ((different)); then
        echo "Two builds of the same tree differ: diffoscope (apt-get install diffoscope-minimal)" \
            "shows where, as in: diffoscope dist/vellumor_${version}_$arch.deb" \
            "build-deb/two/vellumor_${version}_$arch.deb" >&2
        return 1
    fi
    echo "Two builds gave the same packages, byte for byte"
}

# A Debian 12 minimal system, made once by debootstrap and kept for later runs
# on this machine: autopkgtest and piuparts each unpack a fresh copy of it.
testbed_tarball() {
    local cache="${XDG_CACHE_HOME:-$HOME/.cache}/vellumor"
    local tarball="$cache/bookworm-$arch.tar.gz"
    if [[ ! -f $tarball ]]; then
        local root
        root="$(mktemp -d)"
        as_root debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian >&2
        mkdir -p "$cache"
        as_root tar -C "$root" -czf "$tarball.part" . && as_root mv "$tarball.part" "$tarball"
        as_root rm -rf "$root"
    fi
    echo "$tarball"
}

# autopkgtest's unshare testbed maps IDs through `unshare --map-auto`, which in
# Debian 12 (util-linux 2.38) takes the first range of /etc/subuid and
# /etc/subgid, whoever it belongs to, and newuidmap refuses it to anyone else.
# True when this user's ranges come first; where nobody has a range yet, the
# user is given the first one. Other users' lines are never touched.
own_first_subordinate_ids() {
    local user file
    user="$(id -un)"
    for file in /etc/subuid /etc/subgid; do
        if ! grep -q . "$file" 2>/dev/null; then
            echo "Giving $user the subordinate IDs 100000-165535 ($file)"
            as_root usermod "--add-sub${file#/etc/sub}s" 100000-165535 "$user"
        fi
        [[ $(head -n 1 "$file") == "$user:"* ]] || return 1
    done
}

# How long each packaging step takes, for the log.
timed() { # timed NAME COMMAND...
    local name="$1" start=$SECONDS
    shift
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}

# piuparts installs the package into a fresh copy of the testbed, purges it,
# and fails on any file left behind. It logs every command it runs: the log is
# kept, and its end shown on failure.
install_and_purge() { # install_and_purge TARBALL
    local log="$here/build-deb/piuparts.log"
    if ! as_root piuparts --basetgz="$1" --distribution=bookworm \
        --mirror="http://deb.debian.org/debian main" "$deb" >"$log" 2>&1; then
        tail -n 60 "$log" >&2
        echo "piuparts failed: $log" >&2
        return 1
    fi
    grep 'INFO: PASS' "$log"
}

# Both programs are hardened. hardening-check looks for fortified calls in the
# binaries, which a program may lack with nothing to fortify; that the compiler
# was asked to fortify is checked on every compiler call of the build instead.
# Its control-flow check fails every program of Debian 12 (/usr/bin/ls too),
# whose C start files carry no CET mark, and is left out.
check_hardening() {
    local root="$here/build-deb/unpacked" compiled unfortified
    hardening-check --nofortify --nocfprotection "$root/usr/bin/vellumor" \
        "$root/usr/bin/vellumor-map"
    compiled="$(grep -cE '/usr/bin/c\+\+ .* -o \S+\.o -c ' "$here/build-deb/one/build.log")"
    unfortified="$(grep -E '/usr/bin/c\+\+ .* -o \S+\.o -c ' "$here/build-deb/one/build.log" \
        | grep -vc -- '-D_FORTIFY_SOURCE=2' || true)"
    ((compiled > 0 && unfortified == 0)) || {
        echo "$unfortified of $compiled compiler calls without -D_FORTIFY_SOURCE=2" >&2
        return 1
    }
    echo "All $compiled compiler calls fortify: -D_FORTIFY_SOURCE=2"
}

# autopkgtest's testbeds are chroots, where bwrap cannot make the
# namespaces of its sandbox: the thumbnailer's test runs here too, on the
# package unpacked, in the same sandbox, which sees this system's /usr.
sandboxed_thumbnailer() {
    local tmp status=0
    tmp="$(mktemp -d)"
    AUTOPKGTEST_TMP="$tmp" VELLUMOR_UNPACKED="$here/build-deb/unpacked" \
        sh "$here/debian/tests/thumbnailer" || status=$?
    rm -rf "$tmp"
    ((status != 77)) || { echo "bwrap cannot run on this machine: thumbnailer not checked"; return 0; }
    return $status
}

# What a Debian system expects mounted, on the testbed copy at $1, then the rest
# of the command line. It runs in mount and PID namespaces of its own: the
# mounts, and any daemon a test leaves running, end with it however it ends
# (unshare kills the namespace when it is itself killed).
# shellcheck disable=SC2016 # expanded by the shell that runs it
testbed_mounts='root=$1
shift
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount -t devpts -o newinstance,gid=5,mode=620,ptmxmode=666 devpts "$root/dev/pts"
ln -sfT pts/ptmx "$root/dev/ptmx"
mount -t tmpfs tmpfs "$root/dev/shm"
"$@"'

# One test of debian/tests through autopkgtest's chroot back end, as root, in a
# fresh copy of the testbed that is deleted after it. As in the unshare testbed,
# a test that does not need root runs as an ordinary user of the copy.
chroot_autopkgtest() { # chroot_autopkgtest TARBALL TEST
    local root status=0
    root="$(mktemp -d)"
    # The tarball's / is debootstrap's private temporary folder: the copy's
    # ordinary user must be able to enter it.
    {
        as_root tar -x -z -f "$1" -C "$root" &&
            as_root chmod 755 "$root" &&
            { [[ ! -e /etc/resolv.conf ]] ||
                as_root cp -L --remove-destination /etc/resolv.conf "$root/etc/"; } &&
            as_root useradd --root "$root" --create-home tester &&
            as_root unshare --mount --pid --kill-child --propagation private -- \
                sh -euc "$testbed_mounts" sh "$root" \
                autopkgtest --user tester --test-name "$2" "$changes" -- chroot "$root"
    } || status=$?
    as_root rm -rf --one-file-system "$root"
    # Run alone, a skipped test is all the tests skipped: exit status 8.
    ((status == 0 || status == 2 || status == 8))
}

# The tests of debian/tests on the installed package, in a fresh copy of the
# testbed for each: autopkgtest's unshare testbed for an ordinary user whose
# subordinate IDs come first, a chroot for each test otherwise (through sudo when
# not root). autopkgtest exits with 2 when a test was skipped and none failed:
# the thumbnailer's, whose sandbox cannot run in this testbed.
run_autopkgtest() { # run_autopkgtest TARBALL
    if (($(id -u) != 0)) && own_first_subordinate_ids; then
        local status=0
        autopkgtest "$changes" -- unshare --release bookworm --arch "$arch" --tarball "$1" ||
            status=$?
        ((status == 0 || status == 2))
        return
    fi
    local tests test failed=0
    read -ra tests <<<"$(sed -n 's/^Tests://p' "$here/debian/tests/control" | tr ',\n' '  ')"
    for test in "${tests[@]}"; do
        chroot_autopkgtest "$1" "$test" || failed=1
    done
    ((!failed))
}

check_package() {
    local tarball
    tarball="$(testbed_tarball)"
    rm -rf "$here/build-deb/unpacked"
    dpkg-deb -x "$deb" "$here/build-deb/unpacked"
    timed hardening check_hardening
    timed thumbnailer sandboxed_thumbnailer
    timed lintian lintian -EvIL +pedantic --fail-on error,warning,info "$changes"
    timed autopkgtest run_autopkgtest "$tarball"
    timed piuparts install_and_purge "$tarball"
}

case "${1:-}" in
run)
    install_missing
    build build
    exec "$here/build/src/vellumor"
    ;;
test)
    install_missing
    install_browser_test
    check_format
    test_with_gcc
    test_with_clang
    fuzz_readers 60
    install_missing "${packaging_packages[@]}"
    # The GCC build above ran the whole suite on this same tree already.
    DEB_BUILD_OPTIONS=nocheck timed package package
    check_package
    ;;
package)
    install_missing
    install_missing "${packaging_packages[@]}"
    shift
    package
    for option in "$@"; do
        case $option in
        --twice) package_again ;;
        --check) check_package ;;
        *) echo "unknown option $option: package [--twice] [--check]" >&2 && exit 2 ;;
        esac
    done
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
    echo "usage: $0 run|test|package [--twice] [--check]|fuzz [SECONDS]|bench [BENCHMARK OPTIONS]|format" >&2
    exit 2
    ;;
esac

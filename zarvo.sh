#!/usr/bin/env bash
# Sets a Debian 12 machine up for Zarvo, builds it, and plays or tests it.
#
#   ./zarvo.sh play   install what is missing, build, write the demo installation, start the game
#   ./zarvo.sh test   install what is missing, build, run every test (plain, sanitized, fuzzed)
#
# Environment: ZARVO_JOBS (parallel jobs, default: all cores), ZARVO_FUZZ_SECONDS (time per
# fuzz target, default 20, 10 with two cores or fewer), CI=true (warnings are errors).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cd "$root"
jobs=${ZARVO_JOBS:-$(nproc)}
# Fewer cores, shorter fuzzing: the whole run must stay within half an hour on two.
fuzz_seconds=${ZARVO_FUZZ_SECONDS:-$(( jobs > 2 ? 20 : 10 ))}
# Cache hits across clones in other folders.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=true

packages=(
    build-essential cmake ninja-build ccache git pkg-config
    clang libclang-rt-14-dev
    libsdl2-dev libjpeg62-turbo-dev zlib1g-dev
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
    libgtest-dev libgmock-dev libbenchmark-dev libosmesa6-dev
)

say() { printf '\n== %s (%ds)\n' "$*" "$SECONDS"; }

install_packages() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if ((${#missing[@]})); then
        say "installing ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo=sudo
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

# configure DIR [cmake options...]
configure() {
    local dir=$1
    shift
    local werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZARVO_WERROR=$werror "$@" >/dev/null
}

build() {
    local dir=$1
    shift
    cmake --build "$dir" --parallel "$jobs" "$@"
}

run_tests() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" "$@"
}

# build_release [targets...]: everything when none are named.
build_release() {
    say "building ${*:-everything}"
    configure build/release
    if (($#)); then
        build build/release --target "$@"
    else
        build build/release
    fi
}

play() {
    # The game, the kit that writes its installation and the render library it loads.
    build_release zarvo zarvo-kit ZarvoGlide2
    say "writing the demo installation into demo/"
    rm -rf demo
    build/release/bin/zarvo-kit demo demo
    say "starting the game"
    cd demo
    exec ../build/release/bin/zarvo
}

# fuzz_one TARGET: runs one fuzz target for its time; prints its log when it finds something.
fuzz_one() {
    local target=$1 name corpus
    name=$(basename "$target")
    corpus=$(mktemp -d)
    local seeds=()
    [ -d "fuzz/corpus/$name" ] && seeds=("fuzz/corpus/$name")
    if ! "$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 -rss_limit_mb=2048 \
        "$corpus" "${seeds[@]}" 2>"$corpus.log"; then
        echo "-- $name found a fault"
        tail -n 60 "$corpus.log"
        return 1
    fi
    echo "-- $name: $(grep -oE 'number_of_executed_units: *[0-9]+' "$corpus.log" | grep -oE '[0-9]+$') runs"
    rm -rf "$corpus" "$corpus.log"
}

fuzz() {
    say "fuzzing (${fuzz_seconds}s per target, $jobs side by side)"
    CC=clang CXX=clang++ configure build/fuzz -DZARVO_FUZZ=ON
    build build/fuzz --target fuzzers
    local targets=(build/fuzz/bin/fuzz_*)
    if [ ! -x "${targets[0]}" ]; then
        echo "no fuzz targets"
        return
    fi
    export -f fuzz_one
    export fuzz_seconds
    printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'fuzz_one "$1"' _ {}
}

test_all() {
    build_release
    # One demo installation for every test program of every build: writing one takes seconds,
    # and many times that under the sanitizers.
    say "writing the demo installation the tests copy"
    rm -rf build/demo
    build/release/bin/zarvo-kit demo build/demo
    export ZARVO_DEMO_INSTALLATION="$root/build/demo"

    say "tests"
    run_tests build/release

    say "tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    # Line tables are all a sanitizer report needs; less optimisation builds faster.
    configure build/asan -DZARVO_SANITIZE=address -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
    build build/asan
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build/asan

    say "threaded tests under ThreadSanitizer"
    CC=clang CXX=clang++ configure build/tsan -DZARVO_SANITIZE=thread \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1"
    build build/tsan --target threaded-tests
    TSAN_OPTIONS=halt_on_error=1 run_tests build/tsan -L threaded --no-tests=ignore

    fuzz
    say "all tests passed"
}

case "${1:-}" in
play) install_packages && play ;;
test) install_packages && test_all ;;
*)
    echo "usage: $0 play|test" >&2
    exit 2
    ;;
esac

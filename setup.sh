#!/usr/bin/env bash
# Sets Karvel up on Debian 12 and then starts it (run) or runs every test (test).
# Safe to repeat: only missing packages are installed and the build is incremental.
set -euo pipefail
here=$(cd -- "$(dirname -- "$0")" && pwd -P)

packages=(
    g++ cmake ninja-build pkg-config
    qt6-base-dev libgl-dev qt6-translations-l10n
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    fonts-ipafont-gothic tzdata
    desktop-file-utils appstream dpkg-dev man-db tidy
    clang libclang-rt-14-dev clang-format
    exfat-fuse exfatprogs mount strace
    libexiv2-dev libheif-dev libavformat-dev libavutil-dev libimage-exiftool-perl
)

install_missing() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build PRESET [TARGET...]: every target when none is named.
build() {
    local targets=()
    [ $# -gt 1 ] && targets=(--target "${@:2}")
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" -j "$(nproc)" "${targets[@]}"
}

case "${1:-}" in
    run)
        # Only what starts is built, in the repository; the program starts in the caller's
        # folder, which karvel reads relative names against: every argument goes on as given.
        (
            cd "$here"
            install_missing
            build default karvel karvel-window
        )
        exec "$here/build/app/karvel" "${@:2}"
        ;;
    test)
        cd "$here"
        install_missing
        # The style is held, not only declared.
        git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
        build default
        ctest --preset default -j "$(nproc)" --timeout 600
        # Once more with AddressSanitizer and UndefinedBehaviorSanitizer: any report fails.
        build asan
        ctest --preset asan -j "$(nproc)" --timeout 900 --label-exclude install
        # Each fuzz target for a minute, after its kept crash inputs.
        tests/fuzz/run-fuzzers.sh 60
        ;;
    *)
        echo "usage: $0 run [FILE...] | test" >&2
        exit 2
        ;;
esac

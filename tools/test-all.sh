#!/bin/sh
# Installs what is missing, then builds and runs every test twice: in the normal build
# (build/) and in the build under AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/, without the benchmarks), where a memory error, a leak or undefined behaviour
# fails the test that met it. A compiler launcher such as ccache is taken from the
# environment (CMAKE_CXX_COMPILER_LAUNCHER=ccache). The normal build is also packaged and
# the package installed and checked (tools/package-check.sh).
set -eu
cd "$(dirname "$0")/.."
sh tools/install-deps.sh

cmake -S . -B build -G Ninja
cmake --build build
ctest --test-dir build --output-on-failure -j2
sh tools/package-check.sh build

cmake -S . -B build-asan -G Ninja -DBELMO_SANITIZE=ON -DBELMO_BUILD_BENCH=OFF
cmake --build build-asan
ctest --test-dir build-asan --output-on-failure -j2

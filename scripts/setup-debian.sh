#!/usr/bin/env bash
# Installs from Debian's packages everything the build, the tests, the fuzzers, the benchmarks and
# the web page need. Safe to run again; uses sudo only when not run as root.
set -euo pipefail

packages=(
  cmake g++ pkg-config                      # the build
  libgtest-dev libbenchmark-dev             # tests and benchmarks
  libmimalloc-dev                           # the host's block allocator
  libcli11-dev nlohmann-json3-dev libcpp-httplib-dev   # the viewer: options, JSON, web server
  libjs-three libjs-chart.js                # drawing and charts in the web page
  chromium                                  # the web page's tests
  clang libclang-rt-14-dev clang-format clang-tidy valgrind   # fuzzing, format, lint, memcheck
  python3                                   # test scripts
)

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${packages[@]}"

#!/usr/bin/env bash
# Installs from Debian's packages everything the build, the tests, the fuzzers, the benchmarks and
# the web page need: the one list of the project's packages (CI runs this script too). Safe to run
# again; does nothing when every package is there; uses sudo only when not run as root.
set -euo pipefail

packages=(
  cmake g++ pkg-config                                  # the build
  libgtest-dev libbenchmark-dev                         # tests and benchmarks
  libmimalloc-dev                                       # the host's block allocator
  libcli11-dev nlohmann-json3-dev libcpp-httplib-dev    # the viewer: options, JSON, web server
  libssl-dev                                            # the viewer: hashes of the written page's scripts
  libjs-three libjs-chart.js zlib1g-dev gzip            # drawing and charts in the web page, compressed
  chromium libpng-dev python3                           # the web page's tests: browser, screenshots
  clang libclang-rt-14-dev clang-format clang-tidy      # fuzzing, format and lint
  valgrind                                              # memcheck of the demo
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

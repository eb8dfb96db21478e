#!/usr/bin/env bash
# Do the schema round trips catch a field wired to the wrong getter? Applies such faults one at a
# time to the module's schema sources, rebuilds the schema suites, runs them and expects them to
# fail. Prints one line per fault (caught or missed) and a total; exits 1 when a fault is missed.
# The touched file is restored from git after each fault, also when the script is interrupted,
# and the build is brought back to the sources at the end.
#
#   tests/mutants.sh [TEXT]     from any directory of a checkout whose schema sources are unchanged:
#                               every fault, or those whose description holds TEXT; builds with the
#                               default preset (configures it when needed)
#   tests/mutants.sh -l         lists the faults
set -euo pipefail
cd "$(dirname "$0")/.."

schemas=akdebug/src/schemas
suites=(test_tels_schema test_telr_state test_telr_objects test_telr_draw test_app_schema test_env_schema
        test_fx_schema)

names=() files=() froms=() tos=()
# fault DESCRIPTION FILE FROM TO: FROM, found exactly once in the schema file, becomes TO.
fault() { names+=("$1"); files+=("$schemas/$2"); froms+=("$3"); tos+=("$4"); }

fault "olFont: Italic read from the bold getter" telr/akdebugtelrdraw.h \
  'io.value("Italic", [&] { return h->getItalic(); });' \
  'io.value("Italic", [&] { return h->getBold(); });'
fault "olFont: Bold read from the underline getter" telr/akdebugtelrdraw.h \
  'io.value("Bold", [&] { return h->getBold(); });' \
  'io.value("Bold", [&] { return h->getUnderline(); });'
fault "emMemBase: Size Requested read from the allocated size" telu/akdebugtelu.h \
  '"Size Requested", [&] { return h->getSizeRequested(); }' \
  '"Size Requested", [&] { return h->getSizeAllocated(); }'
fault "kiCullRecord: Channel Id read from the decal offset" tels/akdebugtels.h \
  'io.value("Channel Id", [&] { return h->channelId; });' \
  'io.value("Channel Id", [&] { return h->decalOffset; });'
fault "kiCullRecord: the option names' tip table one bit off" tels/akdebugtels.h \
  'BitNames{s_cullRecordOptionNames, 8}' \
  'BitNames{s_cullRecordOptionNames + 1, 7}'
fault "kiLightPoint::CullRecord: Enable and Render read from each other's fields" tels/akdebugtels.h \
  $'io.value("Enable", [&] { return h->enable; });\n            io.value("Render", [&] { return h->render; });' \
  $'io.value("Enable", [&] { return h->render; });\n            io.value("Render", [&] { return h->enable; });'
fault "olMultiSample::Element: Enable Alpha To One read from the coverage flag" telr/akdebugtelrstate.h \
  'io.value("Enable Alpha To One", [&] { return h->enableAlphaToOne; });' \
  'io.value("Enable Alpha To One", [&] { return h->enableAlphaToCoverage; });'
fault "olFog: range onset and opaque read in the wrong order" telr/akdebugtelrobjects.h \
  'h->getRange(&v[0], &v[1]);' \
  'h->getRange(&v[1], &v[0]);'
fault "olLight: red and green of the colours swapped" telr/akdebugtelrobjects.h \
  $'for (int c = 0; c < 3; ++c)\n            io.vector(RGBA, colors[c], [&](float* v) { h->getColor(c, &v[0], &v[1], &v[2], &v[3]); });' \
  $'for (int c = 0; c < 3; ++c)\n            io.vector(RGBA, colors[c], [&](float* v) { h->getColor(c, &v[1], &v[0], &v[2], &v[3]); });'
fault "akGeometryPageable: Create Animations read from the Combine Light Points option" app/akdebugapp.h \
  'loader("Loader Option, Create Animations", Data::LOADER_OPTION_CREATE_ANIMATIONS);' \
  'loader("Loader Option, Create Animations", Data::LOADER_OPTION_COMBINE_LIGHT_POINTS);'
fault "akEnvCloudVolume: Lightning Severity read from the intra-cloud getter" env/akdebugenv.h \
  'io.value("Lightning Severity", [&] { return h->getLightningSeverity(); });' \
  'io.value("Lightning Severity", [&] { return h->getIntraCloudLightningSeverity(); });'
fault "akFx: Configured read from the repeat getter" fx/akdebugfx.h \
  '"Configured", [&] { return h->isConfigured(); }' \
  '"Configured", [&] { return h->getRepeatEnable(); }'

if [ "${1:-}" = "-l" ]; then
  for i in "${!names[@]}"; do printf '%s (%s)\n' "${names[$i]}" "${files[$i]#"$schemas"/}"; done
  exit 0
fi
chosen=()
for i in "${!names[@]}"; do
  [[ "${names[$i]}" == *"${1:-}"* ]] && chosen+=("$i")
done
if [ ${#chosen[@]} -eq 0 ]; then
  echo "mutants.sh: no fault's description holds \"$1\"" >&2
  exit 2
fi

if ! git diff --quiet HEAD -- "$schemas"; then
  echo "mutants.sh: the schema sources have changes of their own; commit or stash them first" >&2
  exit 2
fi

touched=""
restore() {
  if [ -n "$touched" ]; then
    git checkout -q -- "$touched"
    touched=""
  fi
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

log=$(mktemp)
build() { cmake --build --preset default --target "${suites[@]}" >"$log" 2>&1; }
# True when every schema suite passes.
suitesPass() {
  local suite
  for suite in "${suites[@]}"; do
    TELU_BIN_DIR="$PWD/build/default/bin" timeout 600 "build/default/bin/$suite" >/dev/null 2>&1 || return 1
  done
}
# Replaces the one occurrence of FROM in FILE by TO.
apply() {
  FROM="$2" TO="$3" python3 - "$1" <<'EOF'
import os, sys
path, old, new = sys.argv[1], os.environ["FROM"], os.environ["TO"]
text = open(path).read()
if text.count(old) != 1:
    sys.exit(f"{path}: the fault's text is there {text.count(old)} times, not once")
open(path, "w").write(text.replace(old, new))
EOF
}

start=$SECONDS
[ -f build/default/CMakeCache.txt ] || cmake --preset default >"$log" 2>&1
if ! build || ! suitesPass; then
  echo "mutants.sh: the schema suites do not build or pass without a fault (see $log)" >&2
  exit 2
fi

caught=0
for i in "${chosen[@]}"; do
  began=$SECONDS
  touched=${files[$i]}
  apply "${files[$i]}" "${froms[$i]}" "${tos[$i]}"
  if ! build; then
    result=broken  # the fault no longer compiles: mend the list
    cp "$log" "$log.$i"
    echo "mutants.sh: build log of the broken fault: $log.$i" >&2
  elif suitesPass; then
    result=missed
  else
    result=caught
    caught=$((caught + 1))
  fi
  restore
  printf '%-7s %s (%s, %ds)\n' "$result" "${names[$i]}" "${files[$i]#"$schemas"/}" $((SECONDS - began))
done

build
rm -f "$log"
printf '%d of %d faults caught in %ds\n' "$caught" "${#chosen[@]}" $((SECONDS - start))
[ "$caught" -eq "${#chosen[@]}" ]

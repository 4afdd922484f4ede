#!/usr/bin/env bash
# run_differential.sh SECONDS: decodes each fuzzed input with the program's decoder and with stb_image
# for SECONDS and stops at the first pixel they disagree on. At the end it prints how many inputs both
# decoders accepted, and why the others were accepted by one decoder only.
set -euo pipefail
exec "$(dirname "$0")/run_fuzz.sh" "${1:?usage: run_differential.sh SECONDS}" bmp_differential

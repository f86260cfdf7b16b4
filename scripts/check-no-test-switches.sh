#!/usr/bin/env bash
# Fails when a shipped program carries the name of a test switch (KV_TEST_...)
# in its text, narrow or UTF-16: only the test build reads them.
#   check-no-test-switches.sh [--test-build FILE] PROGRAM...
# --test-build names a build that must carry them, so that a check which finds
# nothing anywhere (no strings, a renamed switch) does not pass unnoticed.
set -euo pipefail
carries() { { strings -a "$1"; strings -a -el "$1"; } | grep KV_TEST_ >/dev/null; }
if [[ ${1:-} == --test-build ]]; then
  carries "$2" || { echo "check-no-test-switches: the test build $2 names no test switch" >&2; exit 1; }
  shift 2
fi
status=0
for program in "$@"; do
  if carries "$program"; then
    echo "check-no-test-switches: $program names test switches:" >&2
    { strings -a "$program"; strings -a -el "$program"; } | grep KV_TEST_ >&2
    status=1
  fi
done
exit $status

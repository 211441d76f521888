#!/usr/bin/env bash
# Runs the tests that drive a screen or a real player (labels e2e, display
# and player) N times in a row at -j2 while every core is kept busy by a
# burner of our own, then says how many runs passed and, for each failure,
# the test and its message. A race that a quiet machine hides shows here.
# usage: stress-tests.sh [N]  (default 10; builds first when build/ is missing)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
[[ "$runs" =~ ^[1-9][0-9]*$ ]] || { echo "usage: $0 [N]" >&2; exit 2; }
[ -f build/build.ninja ] || bash scripts/build.sh -DTRELVANE_WERROR=ON >/dev/null

logs=$(mktemp -d /tmp/trelvane-stress.XXXXXX)
burners=()
stop_burners() {
  local pid
  for pid in "${burners[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${burners[@]}"; do
    wait "$pid" 2>/dev/null || true
  done
  burners=()
}
trap 'stop_burners; rm -rf "$logs"' EXIT
for _ in $(seq "$(nproc)"); do
  bash -c 'while :; do :; done' &
  burners+=("$!")
done

# failures JUNIT: one line per failed test, its name and its message: the
# lines a test writes when it fails (e2e "FAILED:", GoogleTest, Qt Test), or
# else the last line of its output.
failures() {
  python3 - "$1" <<'EOF'
import re, sys, xml.etree.ElementTree as ET
marks = re.compile(r"FAILED:|Failure|FAIL!|Expected|Actual|Which is|Timeout|Loc:")
for case in ET.parse(sys.argv[1]).iter("testcase"):
    if case.get("status") in ("run", "notrun", "disabled") or case.find("failure") is None:
        continue
    out = (case.findtext("system-out") or "").splitlines()
    lines = [l.strip() for l in out if marks.search(l)][:4] or [l.strip() for l in out[-1:]]
    print(f"  {case.get('name')}: {' | '.join(lines) or case.find('failure').get('message')}")
EOF
}

suite=(ctest --test-dir build -L 'e2e|display|player' -j2)
screen=()
# The display and player tests need a screen; the e2e tests make their own.
[ -n "${DISPLAY:-}" ] || screen=(xvfb-run -a -s "-screen 0 1280x1024x24 -br -nolisten tcp")

passed=0
report=()
for run in $(seq "$runs"); do
  junit="$logs/run-$run.xml"
  log="$logs/run-$run.log"
  started=$SECONDS
  status=0
  "${screen[@]}" "${suite[@]}" --output-junit "$junit" >"$log" 2>&1 || status=$?
  summary=$(grep -E 'tests passed' "$log" || echo "no summary (ctest status $status)")
  echo "run $run of $runs: $summary, $((SECONDS - started)) s"
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
  else
    lines=$(failures "$junit" 2>/dev/null || true)
    [ -n "$lines" ] || lines="  (no test reported a failure; see the log: $(tail -n 3 "$log" | tr '\n' ' '))"
    echo "$lines"
    report+=("run $run:" "$lines")
  fi
done
stop_burners

echo "stress: $passed of $runs runs passed (labels e2e, display, player; -j2; $(nproc) burners)"
if [ "${#report[@]}" -gt 0 ]; then
  echo "failures:"
  printf '%s\n' "${report[@]}"
  exit 1
fi

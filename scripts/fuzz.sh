#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and
# UndefinedBehaviorSanitizer on) into build-fuzzers/ and runs each for a
# bounded time, starting from its seed corpus in tests/fuzz/corpus/<name>.
# Fails on the first crash, sanitizer report, leak or hang; the input that
# caused it is left in build-fuzzers/findings/.
#
# usage: fuzz.sh [SECONDS_EACH] [FUZZER...]   (default 60 s, every fuzzer)
# TRELVANE_FUZZ_SEED sets the fuzzers' seed (default 1; 0 for a random one).
# Inputs found along the way are kept in build-fuzzers/corpus/<name>, so a
# later run goes on from them; the seed corpus in the repo is left alone.
# ifo_fuzzer needs a title set, made here with dvdauthor (a 24 s one, kept in
# build-fuzzers/ifo-set); its own information file is the seed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
fuzzers=("$@")
[ "${#fuzzers[@]}" -gt 0 ] || fuzzers=(command_fuzzer answer_fuzzer ifo_fuzzer)
build=build-fuzzers

cmake -S . -B "$build" -G Ninja -DTRELVANE_FUZZ=ON -DTRELVANE_WERROR=ON \
  -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${fuzzers[@]}"

# Absolute paths: a fuzzer may change its working directory.
root=$PWD
findings=$root/$build/findings
mkdir -p "$findings"
# The information file fuzzer reads its inputs beside a real title set's
# first part, and starts from that set's own file.
set_dir=$root/$build/ifo-set
for name in "${fuzzers[@]}"; do
  [ "$name" = ifo_fuzzer ] || continue
  bash tests/media/make-title-set.sh "$set_dir" 24 >/dev/null
  mkdir -p "$root/$build/corpus/ifo_fuzzer"
  own=$root/$build/corpus/ifo_fuzzer/own-set.ifo
  cp "$set_dir/VIDEO_TS/VTS_01_0.IFO" "$own"
  # The same file with its program chain table claiming 2.4 GB.
  claim=$root/$build/corpus/ifo_fuzzer/table-claims-gigabytes.ifo
  cp "$own" "$claim"
  sector=$((16#$(od -An -tx1 -j$((0xCC)) -N4 "$own" | tr -d ' \n')))
  printf '\x92\x00\x00\x00' | dd of="$claim" bs=1 seek=$((sector * 2048 + 4)) conv=notrunc status=none
done
export TRELVANE_IFO_FUZZ_SET=$set_dir/VIDEO_TS
# The leaks of other libraries that the sanitizer build tolerates, no more.
export LSAN_OPTIONS=suppressions=$root/tests/sanitize/lsan.supp:print_suppressions=0
for name in "${fuzzers[@]}"; do
  work=$root/$build/corpus/$name
  mkdir -p "$work" "$root/tests/fuzz/corpus/$name"
  echo "== $name: ${seconds} s"
  dict=()
  [ -f "tests/fuzz/$name.dict" ] && dict=(-dict="$root/tests/fuzz/$name.dict")
  # -timeout catches a hang on one input; a run over the total time is cut.
  # One seed unless told otherwise, so that a run that gates a change can be
  # repeated; TRELVANE_FUZZ_SEED=0 lets the fuzzer pick one, to explore.
  "$root/$build/tests/fuzz/$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -seed="${TRELVANE_FUZZ_SEED:-1}" \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" "${dict[@]}" \
    "$work" "$root/tests/fuzz/corpus/$name"
done

#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz, clang) and runs them one at a time, each from
# its seeds: the shipped files and the unit tests' cases.
#   scripts/fuzz.sh                  a short pass, 30 s per target
#   scripts/fuzz.sh --seconds N      N seconds per target
#   scripts/fuzz.sh --runs N         N executions per target, at most an hour each (or
#                                    --seconds, given after it)
#   scripts/fuzz.sh ... TARGET...    only the named targets (fuzz_m3u, ...)
# The corpus a run grows stays in build-fuzz/corpus/<target>; a finding (crash-*, leak-*,
# timeout-*) is written to build-fuzz/findings/<target>/ and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=30 runs=-1
targets=(fuzz_settings fuzz_favorites fuzz_playlists_file fuzz_language_pack fuzz_channel_catalogue
    fuzz_m3u fuzz_stream_table fuzz_xmltv)
chosen=()
while [ $# -gt 0 ]; do
    case "$1" in
    --seconds) seconds=$2 && shift ;;
    --runs) runs=$2 && shift && [ "$seconds" = 30 ] && seconds=3600 ;;
    fuzz_*) chosen+=("$1") ;;
    *) echo "usage: $0 [--seconds N] [--runs N] [TARGET...]" >&2; exit 2 ;;
    esac
    shift
done
[ ${#chosen[@]} -eq 0 ] || targets=("${chosen[@]}")

export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)"

out=$PWD/build-fuzz # absolute: the targets change into a working folder of their own
# Every input is written to a file and read back; in memory that costs no disk syncs.
[ -d /dev/shm ] && export TMPDIR=/dev/shm
data=$out/share/korvanta/Languages
seed() { # target, then seed files; a file already in the corpus stays as it is
    local target=$1 file
    shift
    mkdir -p "$out/corpus/$target" "$out/findings/$target"
    for file in "$@"; do
        [ -e "$out/corpus/$target/$(basename "$file")" ] || cp "$file" "$out/corpus/$target/"
    done
}
seed fuzz_settings fuzz/seeds/settings/*
seed fuzz_favorites fuzz/seeds/favorites/*
seed fuzz_m3u fuzz/seeds/m3u/*
seed fuzz_playlists_file fuzz/seeds/playlists/*
seed fuzz_xmltv fuzz/seeds/xmltv/*
seed fuzz_language_pack
for pack in resources/Languages/*/; do # every pack is called Main.xml: name each by its language
    cp "$pack/Main.xml" "$out/corpus/fuzz_language_pack/$(basename "$pack").xml"
done
seed fuzz_channel_catalogue "$data"/*/Channels.xml
# The stream decoder's seeds: the list's addresses as the table stores them once decrypted.
seed fuzz_stream_table
python3 - "$out/corpus/fuzz_stream_table" data/channels.tsv <<'PY'
import csv, os, sys
with open(sys.argv[2], encoding="utf-8", newline="") as f:
    urls = sorted({row["url"] for row in csv.DictReader(f, delimiter="\t")})
for n, url in enumerate(urls[:64]):
    data = url.encode() + b"\0"
    with open(os.path.join(sys.argv[1], f"address-{n}"), "wb") as out:
        out.write(data + b"\0" * (-len(data) % 8))
PY

status=0
for target in "${targets[@]}"; do
    log=$out/findings/$target/run.log
    if "$out/fuzz/$target" -runs="$runs" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$out/findings/$target/" "$out/corpus/$target" >"$log" 2>&1; then
        result=ok
    else
        result=FINDING
        status=1
    fi
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1 || true) # none when the first input fails
    echo "fuzz: $target: $result, $executed runs, $coverage"
    [ "$result" = ok ] || tail -40 "$log"
done
exit $status

#!/bin/bash
# The tie-breaks compared with an independent calculator, one tournament per seed, every
# player and every tie-break of three lists (the ranking by each list included):
#   swiss  ladya-cli generate makes the tournament (forfeits, and for every other seed
#          absences and half-point byes), tiebreak_compare swiss imports it and ranks it
#          through the Swiss adapter;
#   rr     tiebreak_compare rr makes a round-robin from the seed (Berger tables, forfeits,
#          withdrawals, odd fields with the bye row) and writes its TRF.
# The reference runs as REFERENCE -i FILE -s|-p -u 1400 -t PTS LIST -d T (unrated
# players count 1400, as the program counts them).
#
# Every third seed's tournament starts on 1 April 2026 (C.07's 2026 edition applies),
# the others' on 1 January 2026 (the 2024 edition); TIEBREAK_START=dd.MM.yyyy in the
# environment gives every tournament that start.
#
# Usage: scripts/tiebreak-proof.sh swiss|rr FIRST LAST LADYA_CLI TIEBREAK_COMPARE REFERENCE OUTDIR [JOBS]
# Prints one line per seed, "SEED PLAYERS ROUNDS ok|differs VALUES DIFFERENCES START", and a
# summary: tournaments, players, values compared, differences.
set -u
if [ $# -lt 7 ]; then
    sed -n '2,16p' "$0" >&2
    exit 2
fi
kind=$1 first=$2 last=$3 ladya=$(realpath "$4") compare=$(realpath "$5") reference=$6 out=$7
jobs=${8:-2}
mkdir -p "$out"
out=$(realpath "$out")
# SB comes before FB: the reference's fore-Buchholz leaves the last round's forfeits
# turned into games for the tie-breaks computed after it.
lists=("DE BH BH/C1 BH/C2 BH/M1 BH/M2 SB SB/C1 FB FB/C1"
    "PS PS/C1 KS KS/L40 AOB WIN WON BPG BWG GE"
    "ARO ARO/C1 ARO/M1 TPR PTP APRO APPO DE SB/M1 FB/M2")

one() {
    local kind=$1 ladya=$2 compare=$3 reference=$4 out=$5 s=$6
    local file=$out/$kind-$s.trf p r
    local start=${TIEBREAK_START:-}
    if [ -z "$start" ]; then
        start=01.01.2026
        [ $((s % 3)) -eq 0 ] && start=01.04.2026
    fi
    export TIEBREAK_START=$start
    if [ "$kind" = swiss ]; then
        p=$((8 + (s * 7919) % 60))
        r=$((4 + (s * 104729) % 8))
        local flags="--forfeit-rate 0.0$((s % 5))"
        [ $((s % 2)) -eq 0 ] && flags="$flags --absence-rate 0.04 --half-bye-rate 0.04"
        # shellcheck disable=SC2086
        if ! "$ladya" generate --players "$p" --rounds "$r" --seed "$s" $flags -o "$file" \
            >/dev/null 2>&1; then
            echo "$s $p $r not-generated"
            return
        fi
        sed -i "s|^042 .*|042 ${start:6:4}/${start:3:2}/${start:0:2}|" "$file"
    fi
    local values=0 diffs=0 k=0 mode=-s
    [ "$kind" = rr ] && mode=-p
    for list in "${lists[@]}"; do
        k=$((k + 1))
        # shellcheck disable=SC2086
        if [ "$kind" = swiss ]; then
            "$compare" swiss "$file" $list >"$file.$k.ours" 2>&1
        else
            "$compare" rr "$s" "$file" $list >"$file.$k.ours" 2>&1
        fi
        # shellcheck disable=SC2086
        python3 "$reference" -i "$file" $mode -u 1400 -t PTS $list -d T >"$file.$k.ref" 2>&1
        # A field the reference cannot read (it stops with "### Error") is left out.
        if grep -q '^### Error' "$file.$k.ref"; then
            echo "$s - - reference-error"
            return
        fi
        local counts
        counts=$(awk -F'\t' 'NR == FNR { ours[FNR] = $0; n = FNR; next }
            { ref[FNR] = $0; m = FNR }
            END {
                if (n != m) { print 0, 1; exit }
                v = 0; d = 0
                for (i = 2; i <= n; ++i) {
                    a = split(ours[i], x, "\t"); b = split(ref[i], y, "\t")
                    if (a != b) { d++; continue }
                    for (j = 2; j <= a; ++j) { v++; if (x[j] != y[j] && x[j] + 0 != y[j] + 0) d++ }
                }
                print v, d
            }' "$file.$k.ours" "$file.$k.ref")
        values=$((values + ${counts% *}))
        diffs=$((diffs + ${counts#* }))
    done
    p=$(grep -c '^001' "$file")
    r=$(awk '/^001/ { print int((length($0) - 89) / 10); exit }' "$file")
    if [ "$diffs" -eq 0 ]; then
        echo "$s $p $r ok $values 0 $start"
        rm -f "$file".*.ours "$file".*.ref
    else
        echo "$s $p $r differs $values $diffs $start"
    fi
}
export -f one
export lists_text="${lists[*]}"
seq "$first" "$last" | xargs -P "$jobs" -I{} bash -c "$(declare -p lists); $(declare -f one); one $kind $ladya $compare $reference $out {}" |
    tee "$out/$kind-$first-$last.log" |
    awk '{ print } $4 == "ok" || $4 == "differs" { t++; p += $2; v += $5; d += $6; if ($4 == "differs") f++ }
        END { printf "tournaments %d, players %d, values compared %d, differences %d (in %d tournaments)\n", t, p, v, d, f }'

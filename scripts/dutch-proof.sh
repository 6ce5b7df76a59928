#!/bin/bash
# Both directions of the Dutch engine's comparison with a reference engine, one
# tournament per seed, each seed's settings drawn from the seed alone (so any range can
# be run again, split or continued):
#   own   ladya-cli generate makes the tournament, the reference re-pairs every round
#         (REFERENCE --dutch FILE -c lists a round only when its pairing differs);
#   ref   the reference generates it (REFERENCE --dutch -g CONFIG -o FILE -s SEED),
#         ladya-cli check re-pairs every round (exit 0 when all agree).
# Players 10 to 300, spread evenly over the logarithm (as many fields of 10-20 as of
# 150-300), rounds 5 to 11. Own tournaments: every third with absences and half-point
# byes, every fourth with three forbidden pairs, every fifth with Baku acceleration.
#
# Usage: scripts/dutch-proof.sh own|ref FIRST LAST LADYA_CLI REFERENCE OUTDIR [JOBS]
# Prints one line per seed: "SEED PLAYERS ROUNDS [FLAGS] ok|differs|...".
set -u
if [ $# -lt 6 ]; then
    sed -n '2,14p' "$0" >&2
    exit 2
fi
direction=$1 first=$2 last=$3 ladya=$(realpath "$4") reference=$(realpath "$5") out=$6
jobs=${7:-2}
mkdir -p "$out"
out=$(realpath "$out")

one() {
    local direction=$1 ladya=$2 reference=$3 out=$4 s=$5
    # log-uniform players: 10 * 30^u, u from the seed
    local u=$(((s * 2654435761) % 10007))
    local p=$(awk -v u="$u" 'BEGIN { p = int(10 * 30 ^ (u / 10006)); print (p < 10 ? 10 : (p > 300 ? 300 : p)) }')
    local r=$((5 + (s * 40503) % 7))
    local file=$out/$direction-$s.trf
    if [ "$direction" = own ]; then
        local flags=""
        [ $((s % 3)) -eq 0 ] && flags="$flags --absence-rate 0.02 --half-bye-rate 0.02"
        [ $((s % 4)) -eq 0 ] && flags="$flags --forbidden 3"
        [ $((s % 5)) -eq 0 ] && flags="$flags --baku"
        local draw
        draw=$(printf '0.%02d' $((10 + (s * 7919) % 41)))
        local forfeit
        forfeit=$(printf '0.%03d' $(((s * 104729) % 41)))
        # shellcheck disable=SC2086
        if ! "$ladya" generate --players "$p" --rounds "$r" --seed "$s" --draw-rate "$draw" \
            --forfeit-rate "$forfeit" $flags -o "$file" >"$file.log" 2>&1; then
            echo "$s $p $r [${flags# }] not generated"
            return
        fi
        "$reference" --dutch "$file" -c >"$file.check" 2>&1
        local rc=$?
        # Anything but the "NAME: Round #N" progress lines and blank lines is a finding.
        if [ $rc -eq 0 ] && ! grep -q -v -E '^[^ ]*: Round #[0-9]+$|^$' "$file.check"; then
            echo "$s $p $r [${flags# }] ok"
            rm -f "$file.check" "$file.log"
        else
            echo "$s $p $r [${flags# }] differs (status $rc)"
        fi
    else
        printf 'PlayersNumber=%s\nRoundsNumber=%s\nDrawPercentage=%s\nForfeitRate=%s\n' \
            "$p" "$r" $(((s * 7919) % 50)) $((2 + (s * 104729) % 40)) >"$file.cfg"
        if ! "$reference" --dutch -g "$file.cfg" -o "$file" -s "$s" >/dev/null 2>&1; then
            echo "$s $p $r [] not generated"
            rm -f "$file" "$file.cfg"
            return
        fi
        rm -f "$file.cfg"
        "$ladya" check "$file" >"$file.check" 2>&1
        local rc=$?
        if [ $rc -eq 0 ]; then
            echo "$s $p $r [] ok"
            rm -f "$file.check"
        else
            echo "$s $p $r [] differs (status $rc)"
        fi
    fi
}
export -f one
seq "$first" "$last" | xargs -P "$jobs" -I{} bash -c 'one "$@"' _ "$direction" "$ladya" "$reference" "$out" {}

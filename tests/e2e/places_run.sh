# Where the game finds its data and keeps the record. A record an older build left in its run
# folder moves to the player's data folder once, and the game says so; a classic game folder
# keeps its own record; with no data anywhere the message names every place looked at.
source "$(dirname "$0")/lib.sh"
export HOME="$WORK/home"
mkdir -p "$HOME"
RECORD="$XDG_DATA_HOME/kalvento/Score.dtf"
printf '2 click Button4\n' > "$WORK/show.txt"
# Started in folder $1 with program $2, the score display names the holder $3.
shows() {
  (cd "$1" && "$2" --headless --frames 3 --input "$WORK/show.txt" --log "$WORK/show.jsonl") 2> "$WORK/err.txt" \
    || fail "the run in $1 failed: $(cat "$WORK/err.txt")"
  events "$WORK/show.jsonl" message > "$WORK/shown.txt"
  grep -qF "$3" "$WORK/shown.txt"
}
data_links() { ln -s "$RUN_DIR/Pictures.dxg" "$RUN_DIR/Sounds.dxg" "$1/"; }

# A build's run folder from before, with the record the build used to keep there.
OLD="$WORK/oldbuild/run"
mkdir -p "$OLD"
cp "$KV" "$OLD/kalvento"
data_links "$OLD"
ln -s "$RUN_DIR/musics" "$OLD/musics"
touch "$OLD/.kalvento-build"
printf 'Old\r\n500\r\nhi\r\n1\r\n' > "$OLD/Score.dtf"
cp "$OLD/Score.dtf" "$WORK/old.dtf"
OLD="$(cd "$OLD" && pwd -P)"
shows "$OLD" ./kalvento "Oldさんの500点" || fail "the moved record was not the one shown"
grep -qF "moved the record $OLD/Score.dtf to $RECORD" "$WORK/err.txt" || fail "the move was not told: $(cat "$WORK/err.txt")"
cmp -s "$WORK/old.dtf" "$RECORD" || fail "the record did not arrive whole in $RECORD"
[ ! -e "$OLD/Score.dtf" ] || fail "the old record is still in the build folder"
# Once: started from anywhere afterwards, nothing more to say, the same record.
shows / "$OLD/kalvento" "Oldさんの500点" || fail "the record was not found again"
[ ! -s "$WORK/err.txt" ] || fail "a second start complained: $(cat "$WORK/err.txt")"
# A leftover that finds a record already there is left alone, and neither replaces it nor is used.
printf 'Stale\r\n9\r\n\r\n0\r\n' > "$OLD/Score.dtf"
shows "$OLD" ./kalvento "Oldさんの500点" || fail "a second leftover took the record's place"
grep -qF "$OLD/Score.dtf is a record left by an earlier build" "$WORK/err.txt" || fail "the leftover was not told: $(cat "$WORK/err.txt")"
cmp -s "$WORK/old.dtf" "$RECORD" || fail "the record changed"
[ -f "$OLD/Score.dtf" ] || fail "the second leftover was lost"

# A classic folder keeps its record; a folder with the data alone uses the player's.
mkdir -p "$WORK/classic" "$WORK/half"
data_links "$WORK/classic"
data_links "$WORK/half"
printf 'Taro\r\n800\r\nHello\r\n1\r\n' > "$WORK/classic/Score.dtf"
shows "$WORK/classic" "$KV" "Taroさんの800点" || fail "the classic folder's record was not used"
shows "$WORK/half" "$KV" "Oldさんの500点" || fail "the player's record was not used beside data without one"

# Nowhere to be found.
mkdir -p "$WORK/bare/bin" "$WORK/empty"
cp "$KV" "$WORK/bare/bin/kalvento"
BARE="$(cd "$WORK/bare" && pwd -P)"
EMPTY="$(cd "$WORK/empty" && pwd -P)"
(cd "$EMPTY" && "$BARE/bin/kalvento" --headless --frames 3 --log "$WORK/none.jsonl") 2> "$WORK/err.txt" \
  || fail "a run without data stopped: $(cat "$WORK/err.txt")"
for said in "$EMPTY (the current folder)" "$BARE/share/kalvento (the installed data)" "$BARE/bin (beside the program)" \
            "make play" "--data DIR"; do
  grep -qF -- "$said" "$WORK/err.txt" || fail "the message lacks '$said': $(cat "$WORK/err.txt")"
done
[ "$(events "$WORK/none.jsonl" error | wc -l)" -eq 1 ] || fail "the error was not reported once: $(events "$WORK/none.jsonl" error)"
events "$WORK/none.jsonl" error | grep -qF "$BARE/share/kalvento" || fail "the error report does not name the places"
echo ok

# The Debian package: CPack makes kalvento_VERSION_ARCH.deb with the libraries' packages and
# the font as dependencies; unpacked, its program runs headless from an unrelated folder with
# a fresh home, finds its data and music, and plays.
# $3: the build folder.
source "$(dirname "$0")/lib.sh"
BUILD="$3"
cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/out" > "$WORK/cpack.txt" 2>&1 || fail "cpack failed: $(cat "$WORK/cpack.txt")"
debs=("$WORK"/out/kalvento_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no kalvento_*.deb: $(ls "$WORK/out")"
DEB="${debs[0]}"
want="kalvento_$(dpkg-deb -f "$DEB" Version)_$(dpkg-deb -f "$DEB" Architecture).deb"
[ "$(basename "$DEB")" = "$want" ] || fail "the package is named $(basename "$DEB"), not $want"
depends="$(dpkg-deb -f "$DEB" Depends)"
for p in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libsdl2-ttf-2.0-0 libc6 fonts-ipafont-gothic; do
  echo "$depends" | grep -qE "(^|, )$p( |,|$)" || fail "Depends lacks $p: $depends"
done

dpkg-deb -x "$DEB" "$WORK/x"
[ -f "$WORK/x/usr/share/applications/io.github.kalvento.kalvento.desktop" ] || fail "the package has no menu entry"
mkdir -p "$WORK/elsewhere" "$WORK/home"
printf '5 click Button1\n6 press shot\n' > "$WORK/in.txt"
(cd "$WORK/elsewhere" && env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$WORK/home" \
   "$WORK/x/usr/bin/kalvento" --headless --seed 2 --frames 600 --input "$WORK/in.txt" --log "$WORK/run.jsonl") \
   2> "$WORK/err.txt" || fail "the packaged game failed: $(cat "$WORK/err.txt")"
[ ! -s "$WORK/err.txt" ] || fail "the packaged game complained: $(cat "$WORK/err.txt")"
[ -n "$(events "$WORK/run.jsonl" start)" ] || fail "no game started"
[ -z "$(events "$WORK/run.jsonl" error)" ] || fail "errors: $(events "$WORK/run.jsonl" error)"
[ -z "$(ls -A "$WORK/elsewhere")" ] || fail "the game wrote into the current folder: $(ls -A "$WORK/elsewhere")"
echo ok

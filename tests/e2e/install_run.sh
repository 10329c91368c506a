# The installed game: `cmake --install` into a DESTDIR lays out the GNU directories, the desktop
# files pass their validators, and the tree runs where it lies, started from / with a fresh
# home: a game to its name entry writes the record into the XDG data folder and nothing into
# the install (in English, from the catalogue the install holds). Then the uninstall takes away every file it put there.
# $3: the build folder.
source "$(dirname "$0")/lib.sh"
BUILD="$3"
ROOT="$WORK/root"
ID=io.github.kalvento.kalvento
# A component of its own, so the manifest of the player's `make install` is left alone.
DESTDIR="$ROOT" cmake --install "$BUILD" --prefix /usr --component Unspecified > "$WORK/install.txt" \
  || fail "the install failed: $(cat "$WORK/install.txt")"
MANIFEST="$BUILD/install_manifest_Unspecified.txt"
for f in bin/kalvento share/kalvento/Pictures.dxg share/kalvento/Sounds.dxg share/kalvento/musics/1-0.mp3 \
         share/kalvento/musics/5-1.mp3 share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml \
         share/icons/hicolor/scalable/apps/$ID.svg share/man/man6/kalvento.6 \
         share/locale/en/LC_MESSAGES/kalvento.mo; do
  [ -f "$ROOT/usr/$f" ] || fail "the install lacks $f"
done
for size in 48 128 256; do
  png="$ROOT/usr/share/icons/hicolor/${size}x${size}/apps/$ID.png"
  got="$(python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]) if d[:8]==b"\x89PNG\r\n\x1a\n" else "not a PNG")' "$png" 2>&1)"
  [ "$got" = "${size}x${size}" ] || fail "$png is $got"
done
grep -qx "Icon=$ID" "$ROOT/usr/share/applications/$ID.desktop" || fail "the desktop entry does not name the icon $ID"
desktop-file-validate "$ROOT/usr/share/applications/$ID.desktop" > "$WORK/dfv.txt" 2>&1 || fail "desktop-file-validate: $(cat "$WORK/dfv.txt")"
[ ! -s "$WORK/dfv.txt" ] || fail "desktop-file-validate: $(cat "$WORK/dfv.txt")"
appstreamcli validate --no-net --pedantic --no-color "$ROOT/usr/share/metainfo/$ID.metainfo.xml" > "$WORK/as.txt" 2>&1 \
  || fail "appstreamcli: $(cat "$WORK/as.txt")"
! grep -qE '^[EWIP]:' "$WORK/as.txt" || fail "appstreamcli: $(cat "$WORK/as.txt")"

snapshot() { (cd "$ROOT" && find . -printf '%p %y %s %T@ %m\n' | sort); }
snapshot > "$WORK/before.txt"
mkdir -p "$WORK/home"
(cd / && env -u XDG_DATA_HOME -u XDG_CONFIG_HOME HOME="$WORK/home" \
   "$ROOT/usr/bin/kalvento" --headless --lang en --seed 1 --autopilot --frames 100000 --exit-on menu --log "$WORK/run.jsonl") \
   2> "$WORK/err.txt" || fail "the installed game failed: $(cat "$WORK/err.txt")"
[ ! -s "$WORK/err.txt" ] || fail "the installed game complained: $(cat "$WORK/err.txt")"
[ -z "$(events "$WORK/run.jsonl" error)" ] || fail "errors: $(events "$WORK/run.jsonl" error)"
[ -n "$(events "$WORK/run.jsonl" name_entry)" ] || fail "the game did not reach the name entry"
RECORD="$WORK/home/.local/share/kalvento/Score.dtf"
[ -f "$RECORD" ] || fail "no record in $RECORD: $(find "$WORK/home")"
head -c 9 "$RECORD" | grep -qx "Autopilot" || fail "the record is not the pilot's: $(od -c "$RECORD" | head -3)"
snapshot > "$WORK/after.txt"
diff "$WORK/before.txt" "$WORK/after.txt" > "$WORK/changed.txt" || fail "the run wrote into the install: $(cat "$WORK/changed.txt")"

DESTDIR="$ROOT" "$(dirname "$0")/../../scripts/uninstall.sh" "$MANIFEST" > /dev/null || fail "the uninstall failed"
left="$(find "$ROOT" -type f)"
[ -z "$left" ] || fail "the uninstall left: $left"
[ ! -d "$ROOT/usr/share/kalvento" ] || fail "the uninstall left the data folder"
echo ok

# The message catalogues: the template holds every text the code marks (and the code shows no
# Japanese text it does not mark, bar the asset names and a few keys), and each language's
# catalogue is whole — nothing untranslated or fuzzy, every format as its id has it.
source "$(dirname "$0")/lib.sh"
SRC="$(cd "$(dirname "$0")/../.." && pwd)"
POT="$SRC/po/kalvento.pot"

msgids() { msgcat --no-wrap --sort-output "$1" | sed -n 's/^msgid //p' | sort; }
cp "$POT" "$WORK/fresh.pot"
(cd "$SRC" && scripts/update-pot.sh "$WORK/fresh.pot") || fail "xgettext failed"
msgids "$POT" > "$WORK/kept.txt"
msgids "$WORK/fresh.pot" > "$WORK/fresh.txt"
diff "$WORK/kept.txt" "$WORK/fresh.txt" > "$WORK/pot.diff" \
  || fail "po/kalvento.pot is not the code's (run make pot, then msgmerge): $(cat "$WORK/pot.diff")"

python3 - "$SRC" "$WORK/fresh.pot" > "$WORK/unmarked.txt" <<'PY' || fail "texts the code shows but the template lacks: $(cat "$WORK/unmarked.txt")"
import pathlib, re, subprocess, sys
src = pathlib.Path(sys.argv[1])
ids, cur = set(), None
for l in pathlib.Path(sys.argv[2]).read_text(encoding="utf-8").split("\n") + [""]:
    if l.startswith("msgid "):
        cur = eval(l[6:])
    elif l.startswith('"') and cur is not None:
        cur += eval(l)
    else:
        if cur is not None:
            ids.add(cur)
        cur = None
keys = set()  # picture and sound names: keys into the asset files, never shown
for m in (src / "assets").glob("*/*.manifest"):
    keys |= set(re.findall(r"^\[(.+)\]$", m.read_text(encoding="utf-8"), re.M))
# Font faces the window asks for, the laser's course and colour codes, the picker's characters.
keys |= {"HGPｺﾞｼｯｸM", "ＭＳ Ｐゴシック", "HGSｺﾞｼｯｸM", "縦", "左右", "右左", "斜右左", "斜左右", "赤", "青",
         "高彩小弾", "高彩弾", "アイウエオカキクケコサシス", "セソタチツテトナニヌネノー",
         "　", "日本語"}
bad = []
for f in sorted(list(src.glob("src/**/*.cpp")) + list(src.glob("src/**/*.h"))):
    for n, line in enumerate(f.read_text(encoding="utf-8").split("\n"), 1):
        code = re.sub(r"//.*$", "", re.sub(r'"(?:[^"\\]|\\.)*"', lambda m: m.group(0).replace("//", "\0"), line))
        for lit in re.findall(r'"((?:[^"\\]|\\.)*)"', code):
            lit = lit.replace("\0", "//").replace("\\n", "\n").replace('\\"', '"')
            if re.search(r"[\u3000-\u9fff\uff00-\uffef]", lit) and lit not in ids and lit not in keys:
                bad.append(f"{f.relative_to(src)}:{n}: {lit}")
print("\n".join(bad))
sys.exit(1 if bad else 0)
PY

for lang in $(grep -v '^#' "$SRC/po/LINGUAS"); do
  po="$SRC/po/$lang.po"
  msgfmt --check --statistics -o /dev/null "$po" > "$WORK/$lang.txt" 2>&1 || fail "$lang.po: $(cat "$WORK/$lang.txt")"
  ! grep -qE 'untranslated|fuzzy' "$WORK/$lang.txt" || fail "$lang.po is not whole: $(cat "$WORK/$lang.txt")"
  msgcmp "$po" "$WORK/fresh.pot" > "$WORK/$lang.cmp" 2>&1 || fail "$lang.po lacks texts of the code: $(cat "$WORK/$lang.cmp")"
done
echo ok

#!/usr/bin/env bash
# Checks the built asset pack in a run directory: every picture the game looks up is in
# Pictures.dxg at the size its sprite positions assume, every sound is in Sounds.dxg as 16-bit
# PCM, and every music track is in musics/ and lasts at least a minute.
#
# Usage: check-assets.sh RUN_DIR DXGTOOL
set -uo pipefail

run=$1
dxgtool=$2
fail=0
bad() { echo "check-assets: $*" >&2; fail=1; }

# name and size (width x height) of every picture
pictures=(
  "Title 321x481" "GameOver 280x90" "GameClear 250x90" "Ziki 50x50" "ShadowZiki 50x50"
  "SmallBullet3 8x8" "Fire1 10x24" "Fire2 10x24" "Kekkai1 118x118" "Kekkai2 118x118"
  "HPItem 20x20" "BombItem 20x20" "Enemy1-2 30x30" "Enemy2-1 50x50" "Enemy2-2 50x50"
  "Enemy2-5 50x50" "Ring1 30x30" "Ring2 30x30" "Ring3 30x30" "32Star1 32x32" "Sign 50x50"
  "Bullet1 20x20" "Bullet2 20x20" "Bullet3 20x20" "Bullet4 20x20" "Bullet5 20x20"
  "Star1-1 30x30" "BigBullet1 30x30" "BigBullet2 30x30" "BigBullet3 30x30"
  "アールワン 50x50" "マルコ 60x60" "ヴェルス 60x60" "衛兵ガドニック 50x50" "ガドニック 80x70"
  "ダガー 80x60" "Ghost 321x481" "lazer1 14x480" "lazer2 480x14"
  "高彩小弾1 10x10" "高彩小弾2 10x10" "高彩小弾3 10x10" "高彩小弾4 10x10"
  "高彩弾1 20x20" "高彩弾2 20x20" "高彩弾3 20x20"
)
sounds=(Pingpong ZikiHit Dead)
tracks=(1-0 1-1 2-0 2-1 3-0 3-1 4-0 4-1 1-0-1 5-1)

# `dxgtool list` prints one item a line: "  N  NAME  WxH  ..."; keep NAME and the next field.
list_items() { "$dxgtool" list "$1" | awk -F'  ' '/^  [0-9]/ { print $3 " " $4 }'; }

if pics=$(list_items "$run/Pictures.dxg"); then
  for entry in "${pictures[@]}"; do
    name=${entry% *}
    if ! grep -qxF "$entry" <<<"$pics"; then
      if grep -q "^$name " <<<"$pics"; then
        bad "picture \"$name\" is $(grep "^$name " <<<"$pics" | head -n1 | cut -d' ' -f2), expected ${entry##* }"
      else
        bad "picture \"$name\" is missing from $run/Pictures.dxg"
      fi
    fi
  done
else
  bad "cannot list $run/Pictures.dxg"
fi

if snds=$("$dxgtool" list "$run/Sounds.dxg"); then
  for name in "${sounds[@]}"; do
    line=$(awk -F'  ' -v n="$name" '/^  [0-9]/ && $3 == n' <<<"$snds")
    if [ -z "$line" ]; then
      bad "sound \"$name\" is missing from $run/Sounds.dxg"
    elif ! grep -Eq '(22050|44100) Hz 16-bit' <<<"$line"; then
      bad "sound \"$name\" is not 16-bit PCM at 22050 or 44100 Hz: $line"
    fi
  done
else
  bad "cannot list $run/Sounds.dxg"
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for t in "${tracks[@]}"; do
  f=$run/musics/$t.mp3
  if [ ! -s "$f" ]; then
    bad "music track $f is missing"
    continue
  fi
  if ! lame --quiet --decode "$f" "$tmp/t.wav" >/dev/null 2>&1; then
    bad "music track $f does not decode"
    continue
  fi
  secs=$(sox --i -D "$tmp/t.wav")
  if ! awk -v s="$secs" 'BEGIN { exit !(s >= 60) }'; then
    bad "music track $f lasts $secs s, less than 60 s"
  fi
done

[ $fail -eq 0 ] && echo "check-assets: ${#pictures[@]} pictures, ${#sounds[@]} sounds, ${#tracks[@]} tracks ok"
exit $fail

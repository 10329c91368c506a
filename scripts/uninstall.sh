#!/usr/bin/env bash
# Removes the files a `make install` listed in its manifest, then the game's own folders when
# they are left empty. Never touches anything the manifest does not name. The manifest lists
# the paths without DESTDIR: give the same DESTDIR as the install.
#
# Usage: [DESTDIR=DIR] uninstall.sh MANIFEST
set -euo pipefail
manifest="${1:?usage: uninstall.sh BUILD/install_manifest.txt}"
[ -f "$manifest" ] || { echo "uninstall: $manifest not found: nothing was installed from this build (make install first)" >&2; exit 1; }
removed=0
root="${DESTDIR:-}"
while IFS= read -r f || [ -n "$f" ]; do  # the last line has no line end
  [ -n "$f" ] || continue
  f="$root$f"
  if [ -e "$f" ] || [ -L "$f" ]; then
    rm -f -- "$f"
    removed=$((removed + 1))
  fi
done < "$manifest"
# share/kalvento/musics, then share/kalvento, when nothing else is in them.
{ grep -E '/kalvento/musics/[^/]+$' "$manifest" || true; } | head -1 | sed "s|/[^/]*\$||; s|^|$root|" | while IFS= read -r d; do
  rmdir --ignore-fail-on-non-empty -- "$d" 2>/dev/null || true
  rmdir --ignore-fail-on-non-empty -- "$(dirname "$d")" 2>/dev/null || true
done
echo "uninstall: removed $removed files"

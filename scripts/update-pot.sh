#!/usr/bin/env bash
# Writes the message template (default po/kalvento.pot) from every text the code marks:
# Tr("…") where it is shown, N_("…") where it is kept as it is and looked up later.
# Run from the source folder; `make pot` does.
set -euo pipefail
out=${1:-po/kalvento.pot}
cd "$(dirname "$0")/.."
find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort > "${TMPDIR:-/tmp}/kalvento-pot-files.$$"
trap 'rm -f "${TMPDIR:-/tmp}/kalvento-pot-files.$$"' EXIT
xgettext --from-code=UTF-8 --language=C++ --keyword=Tr --keyword=N_ \
  --add-comments=TRANSLATORS: --add-location=file --sort-by-file \
  --package-name=Kalvento --package-version=1.0 --msgid-bugs-address=kalvento@users.noreply.github.com \
  --files-from="${TMPDIR:-/tmp}/kalvento-pot-files.$$" -o "$out"

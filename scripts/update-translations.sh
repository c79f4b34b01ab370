#!/usr/bin/env bash
# Brings translations/mirudex_*.ts up to date with the texts of the program:
# new texts are added unfinished, texts no longer used are marked obsolete.
# Then translate the unfinished ones (Qt Linguist, or any text editor).
set -euo pipefail
cd "$(dirname "$0")/.."
LUPDATE="${LUPDATE:-$(command -v lupdate || echo /usr/lib/qt6/bin/lupdate)}"
"$LUPDATE" -locations none -no-ui-lines -extensions cpp,h src/ui src/platform/qt src/app -ts translations/mirudex_*.ts

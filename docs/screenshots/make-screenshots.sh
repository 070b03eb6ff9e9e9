#!/usr/bin/env bash
# Makes again the pictures of docs/screenshots/ that the README shows: the start screen, then in
# English and in French the main menu, the industry selection and the firm values screen of the
# desktop program as a window manager frames them, and the ratios' page of the comparison
# report as ventrolux-cli draws it. Run it from the source folder after `make build` when a
# screen or a report changes, look at the pictures, and commit them:
#
#   docs/screenshots/make-screenshots.sh [BUILD_DIR]
#
# It works in its own X server (Xvfb, on a display number of its own) with openbox, and in a
# copy of the program directory holding one saved firm, so the build tree's user database and
# any running desktop are left alone.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
out="$source_dir/docs/screenshots"
build=$(cd "${1:-$source_dir/build}" && pwd)

cmake --build "$build" --target ventrolux-cli ventrolux-screenshots sample-data help-files

work=$(mktemp -d)
server=""
manager=""
cleanup() {
  [ -n "$manager" ] && kill "$manager" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The program directory: the programs copied (they find their files beside them), the
# read-only files linked, a user database of its own with the example firm saved in it.
cp "$build/bin/ventrolux-screenshots" "$build/bin/ventrolux-cli" "$work/"
for f in "$build"/bin/*; do
  case "$(basename "$f")" in
    ventrolux* | make-sample-data | myData*) ;;
    *) ln -s "$f" "$work/" ;;
  esac
done
"$work/ventrolux-cli" --data-dir "$work" firms save "$source_dir/examples/firm.json" >/dev/null

# A display number no other X server holds.
for _ in $(seq 50); do
  display=$((RANDOM % 400 + 500))
  [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] || break
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
server=$!
export DISPLAY=":$display"
for _ in $(seq 100); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
openbox >/dev/null 2>&1 &
manager=$!
sleep 1

export QT_QPA_PLATFORM=xcb LANG=C.UTF-8 HOME="$work"
for language in en fr; do
  "$work/ventrolux-screenshots" "$language" "$out"
done

# The report page: the example firm compared with its industry, the PDF's page of the ratios
# and their place among the industry's quarters, at a size a README shows whole.
for language in en fr; do
  lang=E
  [ "$language" = fr ] && lang=F
  "$work/ventrolux-cli" --data-dir "$work" --lang "$lang" compare --dataset 3:NS --naics 448140 \
    --firm "$source_dir/examples/firm.json" --pdf "$work/report-$language.pdf" >/dev/null
  pdftoppm -png -r 80 -f 2 -l 2 -singlefile "$work/report-$language.pdf" "$out/report-$language"
  echo "$out/report-$language.png"
done

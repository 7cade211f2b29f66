#!/usr/bin/env bash
# tidetool report's page in a real browser: the sample table's report, and
# that of Debian's Wubi 86 when it is at hand, rendered by headless Chromium
# into PNGs kept in OUT for a person to look at. A page that would fetch
# anything, or that renders blank, fails. Without Chromium the rendering is
# skipped with its reason, never counted as passed.
# Usage: report-render.sh TIDETOOL SOURCE_DIR OUT [WUBI86_DICT_YAML]
set -euo pipefail
tool=$1
source=$2
out=$3
wubi=${4:-}
mkdir -p "$out"
out=$(cd "$out" && pwd)
# shellcheck source=check-lib.sh
. "$(dirname "$0")/check-lib.sh"
skipped=0

# Nothing the page names is fetched: no script, no address, no import.
self_contained() { # page.html
    ! grep -qiE '<script|https?:|src=|@import|<link' "$1"
}
# Chromium's picture of the page: as wide as the window, and not blank (a
# page of text and charts has hundreds of colours once smoothed).
renders() { # page.html picture.png
    rm -f "$2"
    timeout 120 chromium --headless=new --no-sandbox --disable-gpu --hide-scrollbars \
        --window-size=1100,2600 --screenshot="$2" "file://$1" >/dev/null 2>&1 || return 1
    [ "$(identify -format '%w' "$2")" = 1100 ] && [ "$(identify -format '%k' "$2")" -gt 200 ]
}

pages=("$out/sample.html")
"$tool" report "$source/data/dict/Tide-sample.txt" "$out/sample.html" >/dev/null
if [ -n "$wubi" ]; then
    "$tool" report --from rime "$wubi" "$out/wubi86.html" >/dev/null
    pages+=("$out/wubi86.html")
fi
for page in "${pages[@]}"; do
    check "$(basename "$page") fetches nothing" self_contained "$page"
done
if command -v chromium >/dev/null; then
    for page in "${pages[@]}"; do
        check "$(basename "$page") renders in Chromium" renders "$page" "${page%.html}.png"
    done
else
    echo "skipped: no chromium here: the reports are not rendered"
    skipped=$((skipped + 1))
fi
echo "$passed passed, 0 failed, $skipped skipped"

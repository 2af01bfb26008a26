#!/usr/bin/env bash
# Exports a listing as paged HTML and opens the pages in headless Chromium: the listed markup and
# script stay text, nothing in them runs, and the navigation bars link the pages in order.
set -u
exe="$(realpath "$1")"
sample="$(realpath "$2")"
browser="$(command -v chromium || command -v chromium-browser || true)"
if [ -z "$browser" ]; then
  echo "FAILED: chromium is not installed; scripts/install-deps installs it"
  exit 1
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
passes=0

check() { # description, then a command that must succeed
  local what="$1"; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# The DOM Chromium builds from a file, after any script in it would have run.
dom() {
  timeout 120 "$browser" --headless --no-sandbox --disable-gpu --no-first-run \
    --disable-background-networking --user-data-dir="$work/profile" --dump-dom "file://$1" 2>/dev/null
}

# The link targets of a DOM's anchors in order, "-" for an anchor that is no link.
hrefs() {
  grep -o '<a[^>]*>' "$1" | sed -E 's/.* href="([^"]*)".*/\1/; t; s/.*/-/' | tr '\n' ' '
}

# A page whose script does run: proves the browser and the title check can see script at work.
printf '<!DOCTYPE html><title>quiet</title><script>document.title="PWNED"</script>\n' > control.html
dom "$work/control.html" > control.dom
check "the control page's script runs" grep -q '<title>PWNED</title>' control.dom

# A page that tries to run script in every way a listing could carry it.
mkdir -p site
cat > hostile.asp <<'EOF'
<html>
<head><title>Hostile</title></head>
<body>
<script>document.title='PWNED'</script>
<img src=x onerror="document.title='PWNED'">
<p onclick="document.title='PWNED'">Fish &amp; chips</p>
</body>
</html>
EOF
# A stale page of an earlier, longer export, and a file that only looks like one.
echo stale > site/site99.html
echo keep > site/sitemap.html

"$exe" -f html-paged -o site/site.html --set Columns=1 --set PrintToc=0 --set ScaleOutput=100 \
  --set PageOrientation=0 "$sample" hostile.asp 2> export.err
check "paged export exits 0" test $? = 0
pages=$(ls site | grep -cE '^site[1-9][0-9]*\.html$')
check "the sample spans at least three pages ($pages)" test "$pages" -ge 3
check "stale page removed" test ! -e site/site99.html
check "look-alike file kept" grep -q keep site/sitemap.html
check "no page beyond the last" test ! -e "site/site$((pages + 1)).html"

# Every page in the browser: the title is the program's, no element or handler of the listing.
for ((k = 1; k <= pages; k++)); do
  dom "$work/site/site$k.html" > "page$k.dom"
  check "page $k renders" grep -q '<div class="page">' "page$k.dom"
  check "page $k title" grep -q '<title>Folionix</title>' "page$k.dom"
  check "page $k says Page $k of $pages" grep -q "Page $k of $pages" "page$k.dom"
  check "page $k has no script element" bash -c "! grep -qi '<script' page$k.dom"
  check "page $k has no img element" bash -c "! grep -qi '<img' page$k.dom"
  check "page $k has no handler attribute" bash -c "! grep -qiE '<[a-z][^>]* on[a-z]+=' page$k.dom"
done

# The hostile page's markup is on some page, shown as text.
hostile=$(grep -l 'PWNED' page*.dom | head -n 1)
check "the hostile source is listed" test -n "$hostile"
if [ -n "$hostile" ]; then
  check "its script tag is text" grep -q "&lt;script&gt;document.title=" "$hostile"
  check "its img tag is text" grep -qi "&lt;img" "$hostile"
  check "its handler is text" grep -qi "onerror" "$hostile"
fi

# The bars link first, previous, next and last, at the top and again at the bottom.
check "page 1 links" test "$(hrefs page1.dom)" = "- - site2.html site$pages.html - - site2.html site$pages.html "
check "page 2 links" test "$(hrefs page2.dom)" = \
  "site1.html site1.html site3.html site$pages.html site1.html site1.html site3.html site$pages.html "
check "last page links" test "$(hrefs "page$pages.dom")" = \
  "site1.html site$((pages - 1)).html - - site1.html site$((pages - 1)).html - - "
for target in $(hrefs page2.dom); do
  k="${target//[!0-9]/}"
  check "link $target exists" test -f "site/$target"
  check "link $target is page $k" grep -q "Page $k of $pages" "page$k.dom"
done
check "arrows in a face that has them" grep -q '⇦⇦' page2.dom
check "no symbol-font letters left" bash -c "! grep -q 'Wingdings' page2.dom"

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]

#!/usr/bin/env bash
# Runs folionix-export the way a user does and checks what comes out.
set -u
exe="$1"
sample="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
passes=0

check() { # description, then a command that must succeed
  local what="$1"; shift
  if "$@"; then passes=$((passes + 1)); else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
status_of() { "$@" >/dev/null 2>&1; echo $?; }

# Usage errors are 2, help is 0.
check "help exits 0" test "$(status_of "$exe" --help)" = 0
check "unknown format exits 2" test "$(status_of "$exe" -f docx "$sample")" = 2
check "unknown setting exits 2" test "$(status_of "$exe" --set NoSuch=1 "$sample")" = 2
check "bad setting value exits 2" test "$(status_of "$exe" --set Columns=two "$sample")" = 2
check "no input exits 2" test "$(status_of "$exe")" = 2

# The sample as PDF, by default named after the input in the current folder.
check "sample to pdf exits 0" test "$(status_of "$exe" "$sample")" = 0
check "default output name" test -s Folionix.pdf
if command -v pdftotext >/dev/null; then
  pdftotext -layout Folionix.pdf sample.txt
  check "gutter numbers in the PDF text" grep -q "00001" sample.txt
  check "numbering goes on" grep -q "00020" sample.txt
  check "source text in the PDF" grep -qi "<html" sample.txt
  pdffonts Folionix.pdf > fonts.txt
  check "fonts are embedded" bash -c "tail -n +3 fonts.txt | awk '{ if (\$(NF-4) != \"yes\") bad=1 } END { exit bad }'"
  check "Courier New prints with its metric twin" grep -q "LiberationMono" fonts.txt
fi

# JSON dump and plain text of the same sample.
check "json exits 0" test "$(status_of "$exe" -f json -o out.json "$sample")" = 0
check "json has pages" grep -q '"pages"' out.json
check "json text items carry styles" grep -q '"style":"Line Numbers"' out.json
check "text exits 0" test "$(status_of "$exe" -f text -o out.txt "$sample")" = 0
check "text has numbered lines" grep -q "^[ VJ]00001  " out.txt

# Settings for one run.
"$exe" -f text -o step.txt --set LineNumberStep=5 "$sample" 2>/dev/null
check "step 5 numbers line 5" grep -q "^[ VJ]00005  " step.txt
check "step 5 leaves line 4 bare" bash -c "! grep -q '^[ VJ]00004' step.txt"

# A missing file fails the run (1) but the others are still printed.
printf '<p>kept</p>\r\n' > good.asp
"$exe" -f text -o partial.txt missing.asp good.asp 2> partial.err
status=$?
check "missing input exits 1" test "$status" = 1
check "missing input is named" grep -q "missing.asp" partial.err
check "other files still printed" grep -q "kept" partial.txt

# Folders by the file filter, recursively with -r.
mkdir -p site/sub
printf '<p>top</p>' > site/index.asp
printf '<p>deep</p>' > site/sub/inner.asp
printf 'not listed' > site/notes.txt
"$exe" -f text -o flat.txt site 2>/dev/null
"$exe" -f text -r -o deep.txt site 2>/dev/null
check "folder takes filtered files" grep -q "top" flat.txt
check "folder skips other files" bash -c "! grep -q 'not listed' flat.txt"
check "folder without -r stays flat" bash -c "! grep -q 'deep' flat.txt"
check "-r descends" grep -q "deep" deep.txt

# A page in a legacy Chinese code page prints its characters.
if command -v iconv >/dev/null && command -v pdftotext >/dev/null; then
  printf '<html><body><p>欢迎光临我们的网站。这是一个用于测试的页面，包含中文字符和标点符号。</p>\r\n<p>产品介绍：本公司提供各种电子产品。</p></body></html>\r\n' \
    | iconv -f UTF-8 -t GBK > gbk.asp
  check "GBK page exits 0" test "$(status_of "$exe" -o gbk.pdf gbk.asp)" = 0
  pdftotext gbk.pdf gbk.txt
  check "GBK characters reach the PDF" grep -q "欢迎光临" gbk.txt
fi

# An output folder that cannot be written: exit 1 and no file.
mkdir -p locked && chmod 500 locked
if [ "$(id -u)" != 0 ]; then
  check "unwritable output exits 1" test "$(status_of "$exe" -o locked/out.pdf "$sample")" = 1
fi
check "output into a missing folder exits 1" test "$(status_of "$exe" -o nowhere/at/all.pdf "$sample")" = 1
check "no file left behind" test ! -e nowhere/at/all.pdf

# Export formats: RTF, plain HTML and paged HTML (a file per page).
check "rtf exits 0" test "$(status_of "$exe" -f rtf -o out.rtf "$sample")" = 0
check "rtf is RTF" bash -c "head -c 6 out.rtf | grep -q '^{.rtf1'"
check "html exits 0" test "$(status_of "$exe" -f html -o out.html "$sample")" = 0
check "html shows the source's tags as text" grep -qi "&lt;html" out.html
check "paged html exits 0" test "$(status_of "$exe" -f html-paged -o site.html "$sample")" = 0
check "paged html writes numbered pages" test -s site1.html -a -s site2.html
check "paged html writes no unnumbered page" test ! -e site.html

# --open hands the result to the desktop: the first page of a paged export.
mkdir -p fakebin
printf '#!/bin/sh\necho viewer.desktop\n' > fakebin/xdg-mime
printf '#!/bin/sh\necho "$1" >> "%s/opened.log"\n' "$work" > fakebin/xdg-open
chmod +x fakebin/xdg-mime fakebin/xdg-open
PATH="$work/fakebin:$PATH" "$exe" -f html-paged --open -o site.html "$sample" 2>/dev/null
for _ in 1 2 3 4 5 6 7 8 9 10; do [ -s opened.log ] && break; sleep 0.5; done
check "--open opens the first page" grep -q "/site1.html$" opened.log
# No application for the type: the user is told, nothing is opened.
printf '#!/bin/sh\nexit 0\n' > fakebin/xdg-mime
rm -f opened.log
PATH="$work/fakebin:$PATH" "$exe" -f rtf --open -o open.rtf "$sample" 2> open.err
check "no application is told" grep -q "no application associated with this file type" open.err
sleep 1
check "nothing opened without an application" test ! -e opened.log

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]

#!/usr/bin/env bash
# Drives the installed program's command line as a shell script would: installs the build
# into a private prefix, converts files without a display and checks the files written, the
# exit codes and the messages.
# Usage: command_line_test.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cmake --install "$build" --prefix "$work/prefix" >/dev/null || { echo "install failed"; exit 1; }
vek="$work/prefix/bin/vekanto"
example="$work/prefix/share/vekanto/help/example.vek"
export HOME="$work/home"
mkdir -p "$HOME"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
cd "$work"

passed=0
failed=0
check() {   # check NAME COMMAND...: counts and reports one case
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name"
  fi
}
png_width() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print(struct.unpack(">I", d[16:20])[0] if d[:8]==b"\x89PNG\r\n\x1a\n" else -1)' "$1"; }
pdf_pages() { pdfinfo "$1" 2>/dev/null | awk '/^Pages:/ {print $2}'; }
starts_with() { [ "$(head -c "${#2}" "$1" 2>/dev/null)" = "$2" ]; }

cat > drawing.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="200" height="100" viewBox="0 0 200 100">
  <rect x="10" y="10" width="80" height="40" fill="#c03030" stroke="black"/>
  <circle cx="150" cy="60" r="30" fill="rgb(40,90,200)"/>
  <text x="20" y="90" font-size="14">Batch text</text>
</svg>
SVG
printf '{\\rtf1\\ansi{\\fonttbl\\f0 Helvetica;}\\f0 Hello from the command line.\\par}' > note.rtf

# Version and help need no display and no file.
check "version" bash -c '"$0" --version | grep -q "^Vekanto [0-9]"' "$vek"
check "help lists --export" bash -c '"$0" --help | grep -q -- "--export OUT IN"' "$vek"

# One call, several files: each --export takes the input in its place.
"$vek" --export drawing.png drawing.svg --export drawing.pdf drawing.svg --export note.txt note.rtf \
  --export drawing.eps drawing.svg --export again.svg drawing.svg 2> several.err
check "several files exit 0" test $? -eq 0
check "several files say nothing" test ! -s several.err
check "png of the svg at one pixel a point" test "$(png_width drawing.png)" = 200
check "pdf of the svg" test "$(pdf_pages drawing.pdf)" = 1
check "pdf text is searchable" bash -c 'pdftotext drawing.pdf - | grep -q "Batch text"'
check "text of the rtf" grep -q "Hello from the command line." note.txt
check "eps of the svg" starts_with drawing.eps "%!PS-Adobe"
check "svg of the svg is well-formed" xmllint --noout again.svg
check "svg keeps the text as text" grep -q ">Batch text</text>" again.svg

# Pixels: --dpi and --width.
"$vek" --export big.png drawing.svg --dpi 144
check "dpi 144 doubles the pixels" test "$(png_width big.png)" = 400
"$vek" --width 50 --export small.png drawing.svg
check "width sets the pixels" test "$(png_width small.png)" = 50
cat > corner.svg <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="200" height="100" viewBox="0 0 200 100">
  <rect x="20" y="20" width="50" height="30" fill="green"/>
</svg>
SVG
"$vek" --export drawn.png corner.svg --area drawing
w=$(png_width drawn.png)
check "drawing area is what the objects cover, with their redraw margin" test "$w" -ge 50 -a "$w" -le 64

# Pages: a PDF of two pages opens as a document of two pages (Ghostscript writes it).
cat > two.ps <<'PS'
%!PS
<< /PageSize [200 100] >> setpagedevice
/Helvetica findfont 20 scalefont setfont
20 40 moveto (First page) show showpage
20 40 moveto (Second page) show showpage
PS
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile=two.pdf two.ps
"$vek" --export both.pdf two.pdf
"$vek" --export second.pdf two.pdf --pages 2
check "whole document to pdf" test "$(pdf_pages both.pdf)" = 2
check "chosen page to pdf" test "$(pdf_pages second.pdf)" = 1
check "chosen page is the second" bash -c 'pdftotext second.pdf - | grep -q "Second page"'
"$vek" --export page.png two.pdf --pages 1-2
check "pages to numbered bitmaps" test -s page-1.png -a -s page-2.png -a ! -e page.png
"$vek" --export bad.pdf two.pdf --pages 3 2> pages.err
check "a page not in the document fails" test $? -eq 1
check "and says which" grep -q "names no page" pages.err
"$vek" --export example.pdf "$example"
check "the example document converts" test "$(pdf_pages example.pdf)" -ge 1

# Images and PDF open as a page background; RTF as text.
"$vek" --export drawing.tiff drawing.png --export again.png drawing.pdf
check "image and pdf inputs" test -s drawing.tiff -a -s again.png

# Failures: a message on standard error naming the file, exit 1; the other files are still written.
head -c 300 "$example" > damaged.vek
"$vek" --export out1.pdf damaged.vek --export out2.png drawing.svg --export out3.pdf missing.vek \
  --export out4.xyz drawing.svg --export no/such/folder/out5.pdf drawing.svg 2> failures.err
check "failures exit 1" test $? -eq 1
check "damaged file named" grep -q "damaged.vek" failures.err
check "missing file named" grep -q "missing.vek: it could not be opened" failures.err
check "unknown kind named" grep -q "out4.xyz: files of this kind cannot be written" failures.err
check "unwritable output named" grep -q "out5.pdf could not be written" failures.err
check "good file among failures written" test -s out2.png
check "no output for a failed input" test ! -e out1.pdf -a ! -e out3.pdf

# A wrong command line: exit 2 with a hint.
"$vek" --export only.pdf 2> usage.err
check "missing input exits 2" test $? -eq 2
check "usage hint" grep -q "vekanto --help" usage.err
"$vek" --frobnicate 2>/dev/null
check "unknown option exits 2" test $? -eq 2

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

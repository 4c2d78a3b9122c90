#!/bin/bash
# kelu-shot: renders a text file to a PNG picture, refuses binary and
# unreadable files with a message, and rejects bad options.
set -u
shot="$KELU_SHOT"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# "abc", then 日本語 in Shift-JIS, with a tab.
printf 'abc\r\n\x93\xfa\x96\x7b\t\x8c\xea\r\n' > "$dir/a.txt"
if "$shot" "$dir/a.txt" "$dir/a.png" --width 300 --height 120 --ruler --leftbar --marks \
    --wrap 20 --row-mark 0:1 --select 0,1,1,3 --box 2> "$dir/err"; then
  [ "$(head -c 8 "$dir/a.png" | od -An -tx1 | tr -d ' \n')" = "89504e470d0a1a0a" ] ||
    fail "the picture is not a PNG file"
else
  fail "rendering a text file failed: $(cat "$dir/err")"
fi

printf '\x00\x01\x02\x03binary\x00\x00' > "$dir/b.bin"
if "$shot" "$dir/b.bin" "$dir/b.png" 2> "$dir/err"; then
  fail "a binary file was rendered"
fi
grep -q 'バイナリ' "$dir/err" || fail "no message for a binary file: $(cat "$dir/err")"
[ -e "$dir/b.png" ] && fail "a picture was written for a binary file"

if "$shot" "$dir/missing.txt" "$dir/c.png" 2> "$dir/err"; then
  fail "a missing file was rendered"
fi
grep -q 'missing.txt' "$dir/err" || fail "the message does not name the missing file"

if "$shot" "$dir/a.txt" "$dir/d.png" --select 1,2 2> "$dir/err"; then
  fail "a bad --select was accepted"
fi

# The page editor's marks, hits and guide lines: a hit is drawn in the hit
# colour (yellow here) somewhere in the picture.
"$shot" "$dir/a.txt" "$dir/e.png" --width 300 --height 100 --ex-marks --find a --guide 4 \
  2> "$dir/err" || fail "--ex-marks/--find/--guide failed: $(cat "$dir/err")"
yellow=$(convert "$dir/e.png" -fill black +opaque '#FFFF00' -fill white -opaque '#FFFF00' \
  -format '%[fx:mean>0?1:0]' info: 2>/dev/null)
[ "$yellow" = 1 ] || fail "no hit colour in the picture with --find"

[ "$failures" -eq 0 ] && echo "kelu-shot: all checks passed"
exit "$failures"

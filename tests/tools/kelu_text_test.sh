#!/usr/bin/env bash
# kelu-text detect and convert on real files in every encoding.
set -u
KT=${KELU_TEXT:?}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() {  # description, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1: expected [$2], got [$3]"
    fail=1
  fi
}

printf '\x93\xfa\x96\x7b\x8c\xea\r\nabc \xb1\xb2\r\n' > "$dir/sjis.txt"
check "detect sjis" "SJIS	jcSjis	$dir/sjis.txt" "$("$KT" detect "$dir/sjis.txt")"

for name in 'UTF8N' 'UTF8(BOM)' 'UNICODE(LE)' 'UNICODE(BE)' 'EUC' 'JIS'; do
  "$KT" convert --to "$name" "$dir/sjis.txt" "$dir/out-$name"
  check "convert to $name exit" 0 $?
  got=$("$KT" detect "$dir/out-$name" | cut -f1)
  check "detect $name" "$name" "$got"
  "$KT" convert --to SJIS "$dir/out-$name" "$dir/back-$name"
  cmp -s "$dir/sjis.txt" "$dir/back-$name" || { echo "FAIL: round trip through $name"; fail=1; }
done

# UTF-8 written by other programs, checked against iconv.
printf 'caf\xc3\xa9 \xe3\x81\x82\n' > "$dir/latin.txt"
"$KT" convert --to SJIS "$dir/latin.txt" "$dir/latin-sjis.txt" 2> "$dir/err"
check "lossy exit" 3 $?
grep -q '1 文字' "$dir/err" || { echo "FAIL: lossy count not reported"; cat "$dir/err"; fail=1; }
check "lossy text" "caf? あ" "$(iconv -f CP932 -t UTF-8 < "$dir/latin-sjis.txt")"

# Bad input: missing file, binary file, unknown name; OUT is never left behind.
"$KT" convert --to SJIS "$dir/missing" "$dir/o1" 2>/dev/null
[ $? -ne 0 ] && [ ! -e "$dir/o1" ] || { echo "FAIL: missing input"; fail=1; }
printf '\x00\x01\x02binary' > "$dir/bin"
check "detect binary" "BINARY" "$("$KT" detect "$dir/bin" | cut -f1)"
"$KT" convert --to SJIS "$dir/bin" "$dir/o2" 2>/dev/null
[ $? -ne 0 ] && [ ! -e "$dir/o2" ] || { echo "FAIL: binary input"; fail=1; }
"$KT" convert --to KOI8 "$dir/sjis.txt" "$dir/o3" 2>/dev/null
[ $? -ne 0 ] && [ ! -e "$dir/o3" ] || { echo "FAIL: unknown name"; fail=1; }
"$KT" convert --to SJIS "$dir/sjis.txt" "$dir/no/such/dir/out" 2>/dev/null
[ $? -ne 0 ] || { echo "FAIL: unwritable output"; fail=1; }
"$KT" detect "$dir/missing" 2>/dev/null
[ $? -ne 0 ] || { echo "FAIL: detect of a missing file"; fail=1; }

exit $fail

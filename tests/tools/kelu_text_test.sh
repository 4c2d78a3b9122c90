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

# Characters without a Shift-JIS form come back byte for byte in the Unicode
# encodings (UTF-16 checked against iconv) and are found by search.
printf 'smile \xf0\x9f\x98\x80 caf\xc3\xa9 \xed\x95\x9c e\xcc\x81 \xee\x80\x80\r\n\xf0\x9f\x98\x80!\r\n' > "$dir/emoji.txt"
"$KT" convert --to UTF8N "$dir/emoji.txt" "$dir/emoji-out.txt"
check "emoji convert exit" 0 $?
cmp -s "$dir/emoji.txt" "$dir/emoji-out.txt" || { echo "FAIL: emoji not byte for byte"; fail=1; }
"$KT" convert --to "UNICODE(BE)" "$dir/emoji.txt" "$dir/emoji-be.txt"
check "emoji to UTF-16 exit" 0 $?
check "emoji to UTF-16" "$(xxd -p "$dir/emoji-be.txt")" \
  "$( (printf '\xfe\xff'; iconv -f UTF-8 -t UTF-16BE "$dir/emoji.txt") | xxd -p)"
"$KT" convert --to UTF8N "$dir/emoji-be.txt" "$dir/emoji-back.txt"
cmp -s "$dir/emoji.txt" "$dir/emoji-back.txt" || { echo "FAIL: emoji back from UTF-16"; fail=1; }
"$KT" convert --to SJIS "$dir/emoji.txt" "$dir/emoji-sjis.txt" 2> "$dir/err"
check "emoji to SJIS exit" 3 $?
grep -q '5 文字' "$dir/err" || { echo "FAIL: lost emoji not counted"; cat "$dir/err"; fail=1; }
check "emoji search" "$(printf '1\t7\t\xf0\x9f\x98\x80\n2\t1\t\xf0\x9f\x98\x80')" \
  "$("$KT" search "$(printf '\xf0\x9f\x98\x80')" "$dir/emoji.txt")"
check "emoji tokens" "$(printf '\xed\x95\x9c')" \
  "$("$KT" tokens "$dir/emoji.txt" | sed -n 5p | cut -f3)"

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

# kelu-text tokens: the editor fountain's tokens, the state carried from row
# to row (a bracket across lines), Japanese options and text in UTF-8.
printf 'x := \x81\x75a\x81\x75\x81\x75b\x81\x75 \x81\x97 y\r\n/* \x8a\xbf\r\n*/ me@a.jp 12.5\r\n' > "$dir/tokens.txt"
got=$("$KT" tokens --quotation '「' --commenter '＠' --mail --bracket '/*' '*/' "$dir/tokens.txt")
expected=$(printf '1\tttAnk\tx\n1\tttSymbol\t:\n1\tttSymbol\t=\n1\tttQuotation\t「a「「b「\n1\tttComment\t＠ y\n2\tttBracket\t/* 漢\n3\tttBracket\t*/\n3\tttMail\tme@a.jp\n3\tttFloat\t12.5')
check "tokens" "$expected" "$got"
"$KT" tokens --quotation 2>/dev/null
check "tokens without option value" 2 $?
"$KT" tokens --no-such-option "$dir/tokens.txt" 2>"$dir/err"
check "tokens with unknown option" 2 $?
grep -q '使い方' "$dir/err" || { echo "FAIL: tokens usage not shown"; fail=1; }
"$KT" tokens "$dir/missing" 2>/dev/null
check "tokens of a missing file" 1 $?

# kelu-text search agrees with grep on a UTF-8 copy for literal patterns.
# In Shift-JIS a backslash is the second byte of 表 and ソ and an 'A' the
# second byte of ア: matched bytewise they would be found there too.
printf '%s\n' '表示\テスト ソース\n の表' 'アイテム ABC abc Abc' '漢字かな漢字、カナダ カナー' \
  'path\to\file 表\ソ\ aAa' 'ここには何もない' > "$dir/search-utf8.txt"
iconv -f UTF-8 -t CP932 "$dir/search-utf8.txt" | sed 's/$/\r/' > "$dir/search-sjis.txt"
for p in '\' 'A' 'abc' 'a' '表' 'ソ' 'カナ' '漢字' 'の表' 'ない' 'テスト ソース'; do
  got=$("$KT" search --match-case -- "$p" "$dir/search-sjis.txt")
  check "search exit for $p" 0 $?
  check "search -c $p" "$(grep -c -F -- "$p" "$dir/search-utf8.txt")" \
    "$(printf '%s\n' "$got" | cut -f1 | uniq | wc -l)"
  check "search -o $p" "$(grep -n -o -F -- "$p" "$dir/search-utf8.txt" | sed 's/:/\t/')" \
    "$(printf '%s\n' "$got" | cut -f1,3)"
  check "search of the UTF-8 file for $p" "$got" \
    "$("$KT" search --match-case -- "$p" "$dir/search-utf8.txt")"
done
check "search without case" "$(grep -n -o -i -F 'abc' "$dir/search-utf8.txt" | sed 's/:/\t/')" \
  "$("$KT" search abc "$dir/search-sjis.txt" | cut -f1,3)"
# Byte offsets in the Shift-JIS line, whole words, a line-spanning pattern.
check "search offsets" "$(printf '1\t5\t\\\n1\t19\t\\')" \
  "$("$KT" search '\' "$dir/search-sjis.txt" | head -n 2)"
check "search whole word" "$(printf '3\t22\tカナ')" \
  "$("$KT" search --whole-word 'カナ' "$dir/search-sjis.txt")"
check "search across lines" "$(printf '1\t22\tの表\\r\\nアイ')" \
  "$("$KT" search --regexp --esc-seq 'の表\r\nアイ' "$dir/search-sjis.txt")"
"$KT" search 'zzz' "$dir/search-sjis.txt"
check "search finding nothing" 1 $?
"$KT" search --regexp 'a(b' "$dir/search-sjis.txt" 2> "$dir/err"
check "search with a bad pattern" 2 $?
grep -q 'unmatched parenthesis' "$dir/err" || { echo "FAIL: bad pattern not reported"; fail=1; }
"$KT" search --no-such-option a "$dir/search-sjis.txt" 2>/dev/null
check "search with an unknown option" 2 $?
KELU_REGEX_LIBRARY=libkelu-no-such-regex.so.0 "$KT" search a "$dir/search-sjis.txt" 2> "$dir/err"
check "search without the library" 2 $?
grep -q '正規表現ライブラリ' "$dir/err" || { echo "FAIL: missing library not reported"; fail=1; }

# wrap: rows as the editor makes them.
printf '%s\r\n' "$(printf 'x%.0s' $(seq 45))" > "$dir/long.txt"
check "wrap rows" "$(printf 'raWrap\t%s\nraWrap\t%s\nraBreak\t%s' "$(printf 'x%.0s' $(seq 20))" "$(printf 'x%.0s' $(seq 20))" xxxxx)" \
  "$("$KT" wrap --width 20 "$dir/long.txt")"
printf '%s\x81\x75abcdef\r\n' "$(printf 'x%.0s' $(seq 18))" > "$dir/kagi.txt"
check "wrap leading" "「abcdef" "$("$KT" wrap --width 20 --leading "$dir/kagi.txt" | sed -n 2p | cut -f2)"
"$KT" wrap --width 2>/dev/null
[ $? -eq 2 ] || { echo "FAIL: wrap usage"; fail=1; }

exit $fail

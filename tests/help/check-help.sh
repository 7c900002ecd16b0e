#!/usr/bin/env bash
# The help page is UTF-8 HTML that tidy finds nothing to say about, loads nothing from
# elsewhere, and names every control, menu item and key of the window as the window shows it.
set -uo pipefail
page=$1
failed=0
fail() {
    echo "$page: $*"
    failed=1
}

iconv -f UTF-8 -t UTF-8 "$page" >/dev/null 2>&1 || fail "not UTF-8"
grep -qi '<meta charset="utf-8">' "$page" || fail "no UTF-8 charset declared"
report=$(tidy -e -q -utf8 "$page" 2>&1) || fail "tidy: $report"
# A page opened from the disk, maybe offline: links only within itself.
outside=$(grep -Eion '(src|href|action)="[^#"][^"]*"|<link|url\(|@import' "$page")
[ -z "$outside" ] || fail "loads from elsewhere: $outside"

# Object name (or where it shows) and the text the page must hold for it, not as part of a
# longer word: "mmdd" inside "yyyymmdd" does not count.
while IFS='|' read -r name text; do
    LC_ALL=C grep -qP -- "(?<![A-Za-z0-9])\\Q$text\\E(?![A-Za-z0-9])" "$page" ||
        fail "$name: \"$text\" not named"
done <<'NAMES'
ListVi column 1|Before Name
ListVi column 2|After Name
ListVi column 3|更新日時
LblDirName|対象のフォルダー
MonthView1|カレンダー
CmbType|yyyymmdd
CmbType|yymmdd
CmbType|mmdd
CmbType|yyyymm
CmbType|yymm
Label1 (CmbCol)|桁の連番にする
Label2 (TxtStartNo)|連番開始番号
ChkTime|更新日付も合わせる
ChkOpt|オプションを引継ぐ
BtnStart|ReName Start
BtnStart question|File の ReName を開始します  よろしいですか？
BtnALLClear|ALL Clear
BtnEnd|End
MenuFILE|ﾌｧｲﾙ(F)
MenuOpen|ファイルを開く(O)...
MenuOpen key|Ctrl+O
MenuStart|開始(S)
MenuUndo|元に戻す(U)
MenuChkOpt1|常に最前面表示(F)
MenuEnd|終了(C)
MenuDEL|対象から外す
ListVi Delete key|Delete
ListVi menu key|Shift+F10
F1 key|F1
MenuHELP|ヘルプ(H)
MenuHelpPage|Karvel のヘルプ(H)
MenuAbout|バージョン情報(A)...
StsBarLeftOut|除外
After Name tooltip|変換後の名前が空です
After Name tooltip|変換後の名前が他の行と重複しています
After Name tooltip|同じ名前のファイルが既に存在します
After Name tooltip|変換後の名前が長すぎます
After Name tooltip|元のファイルが見つからないか通常のファイルではありません
StsBar|ステータスバー
StsBarText|対象ﾌｧｲﾙをﾄﾞﾛｯﾌﾟして下さい
StsBarText|Startボタンを押下してください
RunProgress|進み具合
File manager item|Karvel で名前を変更
NAMES

exit $failed

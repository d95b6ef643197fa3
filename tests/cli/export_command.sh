#!/usr/bin/env bash
# export member list in both formats: the rows come through, the account and
# holder columns only with the institution's permission, hostile names
# stay text, and a folder that cannot be written leaves no file.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"

new_institution 57000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
printf '[V1]\r\nVIEW=12/34/36\r\n' >>"$app/Login.ini"
add() {  # name account holder outstanding
  run "${head[@]}" --yes member add --set "username=$1" --set payday=10 --set inday=15 \
    --set pay_monthdefault=12345 --set bank_code=0040000 --set "account_no=$2" \
    --set "account_jumin=$3" --set "account_name=$1" --set certificate_kind=4 >/dev/null
}
add 홍길동 01234567890 800101
add '<b>A&B</b>' 99988877766 900202
out="$app/out"
mkdir -p "$out"

sql "update quorisdex.admin_company set xls_acnt_permit='0' where inx=$inx"
res=$(run "${head[@]}" export member list --out "$out/m.xls"); status=$?
check "xls written" 0 $status "rows=2" "$res"
check "closing question" 0 0 $'[확인] 총 2건 중 2건의 엑셀파일 생성을 완료했습니다.\r' "$res"
page=$(iconv -f CP949 -t UTF-8 "$out/m.xls")
check "amount as number" 0 0 "yes" "$(grep -q 'x:num="12345"' <<<"$page" && echo yes)"
check "no account column" 0 0 "absent" "$(grep -q '계좌번호\|예금주번호\|01234567890' <<<"$page" && echo present || echo absent)"
check "name escaped" 0 0 "yes" "$(grep -qF '&lt;b&gt;A&amp;B&lt;/b&gt;' <<<"$page" && echo yes)"
check "CR LF lines" 0 0 "0" "$(grep -c $'[^\r]$' "$out/m.xls")"

sql "update quorisdex.admin_company set xls_acnt_permit='1' where inx=$inx"
res=$(run "${head[@]}" export member list --out "$out/m.xlsx" --columns 고객명,계좌번호,매출예정액); status=$?
check "xlsx written" 0 $status "rows=2" "$res"
sheet=$(unzip -p "$out/m.xlsx" xl/worksheets/sheet1.xml)
check "account kept with permission" 0 0 "yes" "$(grep -q '<t>01234567890</t>' <<<"$sheet" && echo yes)"
check "amount is a number" 0 0 "yes" "$(grep -q '<v>12345</v>' <<<"$sheet" && echo yes)"

res=$(run "${head[@]}" export member list --out "$out/c.xls" --columns 고객명,없는열); status=$?
check "unknown column" 1 $status "[확인] 목록에 없는 항목입니다: 없는열" "$res"
sql "update quorisdex.admin_company set xls_acnt_permit='0' where inx=$inx"
res=$(run "${head[@]}" export member list --out "$out/c.xls" --columns 계좌번호); status=$?
check "only forbidden columns" 1 $status "[확인] 하나 이상의 항목을 체크 하십시오." "$res"
res=$(run "${head[@]}" export member list --out "$out/m.xls/x.xls"); status=$?
check "unwritable folder" 2 $status "[확인] Excel파일을 생성할 수 없습니다.(Excel미설치 등)" "$res"

# Any read-only list command exports its printed rows; amounts become
# numbers, dates and numbers that name something stay text.
m=$(sql "select member_inx+0 from $schema.member_user where username='홍길동'")
run "${head[@]}" --yes ledger add "$m" --sale --amount 1234567 --date 2026-12-05 --item 회비 >/dev/null
run "${head[@]}" --yes ledger add "$m" --collection --amount 4567 --date 2026-12-06 >/dev/null
res=$(run "${head[@]}" export ledger list "$m" --out "$out/l.xls"); status=$?
check "ledger list exported" 0 $status "rows=2" "$res"
page=$(iconv -f CP949 -t UTF-8 "$out/l.xls")
check "sale amount as number" 0 0 "yes" "$(grep -q 'x:num="1234567"[^>]*>1,234,567<' <<<"$page" && echo yes)"
check "date stays text" 0 0 "yes" "$(grep -q 'class=xl24 *>26-12-05<' <<<"$page" && echo yes)"
res=$(run "${head[@]}" export ledger list "$m" --out "$out/l.xlsx" --columns 일자,금액); status=$?
check "ledger list as workbook" 0 $status "rows=2" "$res"
sheet=$(unzip -p "$out/l.xlsx" xl/worksheets/sheet1.xml)
check "workbook amount is a number" 0 0 "yes" "$(grep -q '<v>4567</v>' <<<"$sheet" && echo yes)"
res=$(run "${head[@]}" export ledger list 99999999 --out "$out/n.xls"); status=$?
check "a refused list writes nothing" 1 $status "yes" "$([ ! -e "$out/n.xls" ] && echo yes)"

# Commands that write are never run by an export.
res=$(run "${head[@]}" --yes export ledger add "$m" --sale --amount 1 --out "$out/z.xls"); status=$?
check "a writing command is refused" 1 $status "yes" "$(grep -q '내보낼 수 있는 목록이 아닙니다' <<<"$res" && echo yes)"
check "nothing booked by it" 0 0 "2" "$(sql "select count(*) from $schema.pay_pross where userlink_inx=$m")"
res=$(run "${head[@]}" export ledger nothing --out "$out/z.xls"); status=$?
check "not a list" 1 $status "yes" "$(grep -q '내보낼 수 있는 목록이 아닙니다. (member list, ' <<<"$res" && echo yes)"
check "no stray files" 0 0 "l.xls l.xlsx m.xls m.xlsx" "$(ls "$out" | tr '\n' ' ' | sed 's/ $//')"
finish

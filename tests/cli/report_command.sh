#!/usr/bin/env bash
# report channel / channel-detail / monthly / member / annual from the
# command line: the grids agree with the ledger and the file, bad input is
# refused with nothing printed, a report exports to Excel and prints to a
# PDF whose text carries the Korean title, and the annual report asks the
# service web stand-in to fill its monthly table.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2

new_institution 72000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
export QUORISDEX_NO_VIEWER=1
sql "update quorisdex.admin_company set ok_commission=200, no_commission=50 where inx=$inx"
sql "insert into $schema.member_user (username, client_manager, settle_accounts, remove,
  pay_monthdefault, pay_nonpayment) values ('김회원','김','1','1',10000,15000),
  ('이회원','','1','1',0,0), ('박삭제','김','1','4',0,0)"
m1=$(sql "select member_inx+0 from $schema.member_user where username='김회원'")
m2=$(sql "select member_inx+0 from $schema.member_user where username='이회원'")
m3=$(sql "select member_inx+0 from $schema.member_user where username='박삭제'")
sql "insert into $schema.ea21 (makedate, filename, total_cnt, total_money, rtnok_money,
  rtnfalse_money, ok_commission, false_commission, pross_stat)
  values (unix_timestamp('2026-12-04 10:00:00'),'EB21261204',4,45000,22000,23000,500,50,'1')"
sql "insert into $schema.file_ea21 (seq_num, reg_date, amount, user_no, result, result_code,
  div_amount) values (1,'261204',10000,$m1,'',  '',0), (2,'261204',20000,$m1,'N','0011',0),
  (3,'261204',30000,$m1,'P','',12000), (4,'261204',5000,$m2,'N','Q999',0),
  (5,'261204',9000,$m3,'N','Q999',0)"
sql "insert into $schema.pay_pross (userlink_inx, input_pay, paystat, settle_code, settle_title,
  signdate) values ($m1,10000,'0','1','CMS출금','26-03-05'), ($m1,7000,'1','1','CMS','26-03-25'),
  ($m1,2000,'1','1','대체수금','26-03-31'), ($m3,99000,'0','1','CMS출금','26-03-05')"

out=$(run "${head[@]}" report channel --from 2026-12-01 --to 2026-12-31); status=$?
check "stored totals" 0 $status "$(printf '26-12-04\tEB21261204\t4\t45,000\t2\t22,000\t3\t23,000\t500\t50\t550\t21,450')" "$out"
out=$(run "${head[@]}" report channel --from 2026-12-01 --to 2026-12-31 --manager 김); status=$?
check "computed for a manager" 0 $status "$(printf '26-12-04\tEB21261204\t3\t60,000\t2\t22,000\t1\t38,000\t500\t0\t500\t21,500')" "$out"
out=$(run "${head[@]}" report channel-detail EB21261204 --show failed); status=$?
check "failed items" 0 $status "2 건" "$out"

out=$(run "${head[@]}" report monthly --from 2026-03 --to 2026-03); status=$?
check "monthly split" 0 $status "$(printf '26-03\tCMS출금\t10,000\t7,000\t2,000\t9,000')" "$out"

# Bad input: a clear message, nothing printed, no PDF.
pdfdir="$app/print"
mkdir -p "$pdfdir"
out=$(run "${head[@]}" report member --from 2026-03-31 --to 2026-03-01 --print "$pdfdir/x.pdf"); status=$?
check "reversed period" 1 $status "[확인] 조회기간의 시작일이 종료일보다 늦습니다." "$out"
out=$(run "${head[@]}" report annual --year 26); status=$?
check "not a year" 1 $status "[확인] 조회년도가 잘못 되었습니다: 26" "$out"
out=$(run "${head[@]}" report daily --from 2026-03-01 --to 2026-03-31 --branch 99); status=$?
check "unknown branch" 1 $status "[확인] 조회할 수 없는 지사입니다: 99" "$out"
out=$(run "${head[@]}" report daily --from 2026-03-01 --to 2026-03-31 --manager 박); status=$?
check "unknown manager" 1 $status "[확인] 조회할 수 없는 담당자입니다: 박" "$out"
check "nothing printed" 0 0 "0" "$(ls "$pdfdir" | wc -l)"
out=$(run "${head[@]}" report member --from 2020-01-01 --to 2020-01-31 --print "$pdfdir/empty.pdf"); status=$?
check "empty grid" 1 $status "[확인] 인쇄할 데이타가 없습니다." "$out"
check "no empty PDF" 0 0 "absent" "$([ -e "$pdfdir/empty.pdf" ] && echo present || echo absent)"

out=$(run "${head[@]}" report member --from 2026-03-01 --to 2026-03-31 --print "$pdfdir/member.pdf"); status=$?
check "printed" 0 $status "인쇄: $pdfdir/member.pdf" "$out"
check "print list beside it" 0 0 "Quorisdex Print File" "$(head -1 "$pdfdir/prnlist.prn" | tr -d '\r')"
check "Korean title in the PDF" 0 0 "yes" "$(pdftotext "$pdfdir/member.pdf" - | grep -q '보고서_고객별' && echo yes)"
check "deleted member never shown" 0 0 "0" "$(pdftotext "$pdfdir/member.pdf" - | grep -c '박삭제')"

res=$(run "${head[@]}" export report monthly --from 2026-03 --to 2026-03 --out "$app/monthly.xlsx"); status=$?
check "exported" 0 $status "rows=1" "$res"

# The annual report through the service web stand-in.
"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
trap 'kill $web_pid 2>/dev/null; rm -rf "$app"' EXIT
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"
out=$(run "${head[@]}" report annual --year 2026); status=$?
check "annual row" 0 $status "2 건" "$out"
check "annual rate" 0 0 "150" "$(grep "김회원" <<<"$out" | awk -F'\t' '{print $NF}')"
check "monthdiv filled" 0 0 "10000 9000" "$(sql "select sg3, st3 from $schema.monthdiv where member_inx=$m1" | tr '\t' ' ')"
finish

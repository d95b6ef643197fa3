#!/usr/bin/env bash
# eb21 targets / eb21 create against the test database and the web stand-in
# on loopback: a failed preparation stops the search, the grid and the
# month's figures, a refused exclusion value, a Saturday refused, the file
# written and recorded without the deselected member, a second file for the
# day refused.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2

new_institution 60000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
# Current-month billing, no automatic sale, a limit of 1,000,000.
sql "update quorisdex.admin_company set monthdivide='Y', cms_set='000000100000001',
  month_out_limit=1000000, ok_commission=250, no_commission=50, bank_code='88',
  account_code='110123456789', account_title='hanbit' where inx=$inx"
sql "insert into $schema.member_user (username, cms_status, pay_nonpayment, bank_code, account_no,
  account_jumin) values ('김하나', '3', 15000, '0040000', '12345678901', '8001011234567'),
  ('이둘', '7', 20000, '0881234', '11122233344', '1234567890')"
m1=$(sql "select member_inx+0 from $schema.member_user where username='김하나'")
m2=$(sql "select member_inx+0 from $schema.member_user where username='이둘'")
sql "insert into $schema.pay_pross (userlink_inx, input_pay, paystat, signdate) values
  ($m1, 5000, '0', '30-02-10'), ($m1, 10000, '0', '30-03-02'), ($m2, 20000, '0', '30-03-02')"
p1=$(printf '%010d' "$m1")
p2=$(printf '%010d' "$m2")

# Without WEBHOST the preparation cannot be asked for.
out=$(run "${head[@]}" eb21 targets --date 2030-03-05); status=$?
check "no web host" 1 $status "쿼리스CMS(0000-0000)로 문의주시기 바랍니다." "$out"
check "failure logged" 0 0 "1" \
  "$(sql "select count(*) from $schema.pross_log where prostxt='DB_WebSend rtn :[]'")"

"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
trap 'kill $web_pid 2>/dev/null; rm -rf "$app"' EXIT
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"

out=$(run "${head[@]}" eb21 targets --date 2030-03-05 --method item --kind unpaid-partial); status=$?
check "grid header" 0 $status "$(printf '선택\t납부자번호\t고객명/상호\t출금신청액\t매출일자\t회차\t구분\tCMS상태\tCMS에러\t은행명\t계좌번호\t통장기장내역\t은행코드\t예금주번호\t완전부분\tCMS상태코드\t지사\t대리점\t이체예정일\t매출예정액\t현금영수발행정보\t담당자')" "$out"
check "unpaid item" 0 $status "$p1	5000	2030-02-10	1	미납분	2" \
  "$(grep -F "$p1" <<<"$out" | grep -F 미납분 | cut -f2,4-7,15)"
check "regular item" 0 $status "$p1	10000	2030-03-02	2	정기분	1" \
  "$(grep -F "$p1" <<<"$out" | grep -F 정기분 | cut -f2,4-7,15)"
check "selection" 0 $status "신청금액 : ( 35,000 원)  / 신청건수 : ( 3 건)" "$out"
check "figures" 0 $status "월출금한도 : 1,000,000 / 금월사용액 : 0 / 잔여한도 : 1,000,000" "$out"

out=$(run "${head[@]}" eb21 targets --date 2030-03-05 --exclude '출금액(이상)='); status=$?
check "empty exclusion value" 1 $status "[확인] 제외금액을 입력하십시오." "$out"
out=$(run "${head[@]}" eb21 targets --date 2030-03-05 --amounts regular --method monthly); status=$?
check "method not offered" 1 $status "[확인] 정기분에는 월단위청구를 쓸 수 없습니다." "$out"

# 2030-03-09 is a Saturday.
out=$(run "${head[@]}" --yes eb21 create --date 2030-03-09 --method sum); status=$?
check "saturday refused" 1 $status "[확인] 토,일 (지정휴일) 인경우 파일을 생성 할 수 없습니다." "$out"
check "nothing recorded" 0 0 "0" "$(sql "select count(*) from $schema.ea21")"

out=$(run "${head[@]}" --answers y,n,n eb21 create --date 2030-03-05 --method sum --kind full \
  --deselect "$p2"); status=$?
file="$QUORISDEX_DRIVE/vornadir/h$inx/EB21/EB210305"
check "question" 0 $status "진행하시겠습니까? -> y" "$out"
check "created" 0 $status "file=$file" "$out"
check "count" 0 $status "count=1" "$out"
check "three records" 0 0 "450" "$(stat -c %s "$file" 2>/dev/null || echo 0)"
check "data record" 0 0 "R0000000199000${inx}0040000" "$(head -c 300 "$file" | tail -c 150 | cut -c1-26)"
check "amount and holder" 0 0 "0000000015000800101       " \
  "$(head -c 300 "$file" | tail -c 150 | cut -c43-68)"
check "trailer" 0 0 "0000000100000001$(printf '%013d%021d' 15000 0)" \
  "$(tail -c 150 "$file" | cut -c28-77)"
check "file row" 0 0 "EB21300305	1	15000	250	50	0" \
  "$(sql "select filename, total_cnt, total_money, ok_commission, false_commission, pross_stat from $schema.ea21")"
check "request row" 0 0 "1	300305	15000	800101	$m1	1	3" \
  "$(sql "select seq_num, reg_date, amount, id_no, user_no, amount_kind, oldcms_status from $schema.file_ea21")"
check "members" 0 0 "6,7" \
  "$(sql "select group_concat(cms_status order by member_inx) from $schema.member_user")"

out=$(run "${head[@]}" --yes eb21 create --date 2030-03-05 --method sum); status=$?
check "second file refused" 1 $status \
  "[확인] 선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다." "$out"
check "nothing more written" 0 0 "1" "$(sql "select count(*) from $schema.file_ea21")"

finish

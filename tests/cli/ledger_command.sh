#!/usr/bin/env bash
# ledger / sales / collect / remove against the test database and the web
# stand-in on loopback: rows booked and cancelled, a batch sale run, shown
# and cancelled, a batch collection, bulk removal, and after every writer
# each member's totals agree with the ledger. Bad input is refused with its
# message and exit status 1 and changes nothing.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2

new_institution 55000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
sql "insert into $schema.member_user (username, pay_monthdefault, pay_nonpayment, payday)
  values ('김하나', 10000, 0, 10), ('이둘', 13000, 2000, 10), ('박셋', 5000, 0, 10)"
m1=$(sql "select member_inx+0 from $schema.member_user where username='김하나'")
m2=$(sql "select member_inx+0 from $schema.member_user where username='이둘'")
m3=$(sql "select member_inx+0 from $schema.member_user where username='박셋'")
sql "insert into $schema.user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment) values
  ($m1, '회비', 10000, 1, 10000), ($m2, '교육비', 10000, 1, 10000), ($m2, '교재', 3000, 1, 3000),
  ($m3, '후원', 500, 1, 500)"

# Members whose outstanding amount and totals differ from what the ledger implies.
disagreeing() {
  sql "select count(*) from $schema.member_user m where m.member_inx in ($m1,$m2,$m3) and
    (m.total_prosspay <> (select ifnull(sum(input_pay),0) from $schema.pay_pross p
       where p.userlink_inx=m.member_inx and paystat='0')
     or m.total_payment <> (select ifnull(sum(input_pay),0) from $schema.pay_pross p
       where p.userlink_inx=m.member_inx and paystat='1')
     or m.pay_nonpayment <> (if(m.member_inx=$m2,2000,0) + m.total_prosspay - m.total_payment))"
}
agree() { check "$1: totals agree" 0 0 "0" "$(disagreeing)"; }

# Without WEBHOST the server-backed steps stop with their message.
out=$(run "${head[@]}" --yes sales run --date 2026-12-25); status=$?
check "no web host" 1 $status "[확인] 미수금을 정리하던중 오류가 발생 하였습니다.(인터넷연결 상태를 확인하여 주십시오.)" "$out"
check "nothing staged" 0 0 "0" "$(sql "select count(*) from $schema.payadd")"

"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
trap 'kill $web_pid 2>/dev/null; rm -rf "$app"' EXIT
echo "$app" > /tmp/qx_ledger_app
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
# The first runs may have added sections after [SYSTEM].
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"

# One member's ledger.
out=$(run "${head[@]}" --yes ledger add "$m1" --sale --amount 5000 --date 2026-12-05 --item "O'회비"); status=$?
check "sale booked" 0 $status "[확인] 26-12-05 일자로 매출을 발생하시겠습니까? -> y" "$out"
pay=$(sed -n 's/^pay_inx=//p' <<<"$out")
out=$(run "${head[@]}" ledger list "$m1"); status=$?
check "ledger header" 0 $status "$(printf '원장번호\t일자\t구분\t금액\t미수금\t수금방식\t품목\t메모\t일괄번호')" "$out"
check "ledger row" 0 $status "$(printf '%s\t26-12-05\t매출\t5000\t5000\tCMS출금\tO회비\t\t0' "$pay")" "$out"
agree "single sale"
for bad in "abc" "-5" ""; do
  out=$(run "${head[@]}" --yes ledger add "$m1" --collection --amount "$bad"); status=$?
  [ -z "$bad" ] && want="[확인]  처리할 금액을 입력하십시오." || want="[확인] 처리할 금액이 잘못 되었습니다.(1원 이상 숫자)"
  check "amount '$bad' refused" 1 $status "$want" "$out"
done
out=$(run "${head[@]}" --yes ledger add "$m1" --collection --amount 100 --date 2026-02-30); status=$?
check "bad date refused" 1 $status "[확인] 일자가 잘못 되었습니다.(yyyy-mm-dd)" "$out"
out=$(run "${head[@]}" --yes ledger add 999999 --collection --amount 100); status=$?
check "unknown member" 1 $status "[확인] 회원정보를 찾을 수 없습니다." "$out"
out=$(run "${head[@]}" --yes ledger cancel "$pay"); status=$?
check "sale cancelled" 0 $status "[확인]  매출액(5,000)원을 취소 하시겠습니까? -> y" "$out"
out=$(run "${head[@]}" --yes ledger cancel "$pay"); status=$?
check "second cancel refused" 1 $status "[확인] 취소할 원장내역을 찾을 수 없습니다." "$out"
check "ledger empty" 0 0 "0" "$(sql "select count(*) from $schema.pay_pross")"
agree "single cancel"

# Batch sale.
out=$(run "${head[@]}" sales candidates --day 10); status=$?
check "candidate count" 0 $status "3 건" "$out"
check "expected sum" 0 $status "$(printf '매출예정액\t28000')" "$out"
out=$(run "${head[@]}" sales candidates --where "client_manager=x' or '1'='1"); status=$?
check "hostile filter refused" 1 $status "[확인] 조회 조건 값이 잘못 되었습니다: client_manager=x' or '1'='1" "$out"
out=$(run "${head[@]}" --yes sales run --date 2026-12-01 --day 10); status=$?
check "sale run" 0 $status "[확인] 26-12-10일자로 일괄매출(정상: 3 건/불능: 1 건) 을 완료 하였습니다." "$out"
key=$(sed -n 's/^runkey=//p' <<<"$out")
agree "batch sale"
out=$(run "${head[@]}" sales runs --from 2026-12-01 --to 2026-12-31); status=$?
check "run listed" 0 $status "$(printf '%s\t26-12-10\t23000\t500\t23500\t3\t4\t3\t1' "$key")" "$out"
out=$(run "${head[@]}" sales show "$key" --filter refused); status=$?
check "refused row" 0 $status "$(printf '26-12-10\t%010d\t\t\t박셋\t500\t0\t500\t매출예정액 1000원 이하 / ' "$m3")" "$out"
out=$(run "${head[@]}" sales show 32000); status=$?
check "unknown run" 1 $status "[확인] 해당 일괄작업 내역이 없습니다." "$out"
out=$(run "${head[@]}" --yes sales cancel "$key"); status=$?
check "run cancelled" 0 $status "[확인] 일괄매출취소 작업이 완료 되었습니다." "$out"
check "sales gone" 0 0 "0" "$(sql "select count(*) from $schema.pay_pross")"
agree "run cancel"

# Batch collection of the whole outstanding amount, then its cancellation.
out=$(run "${head[@]}" --yes collect run --mode outstanding --date 2026-12-20 --item 회비); status=$?
check "collection run" 0 $status "[확인] 26-12-20일자로 일괄수금(정상: 1 건/불능: 2 건) 을 완료 하였습니다." "$out"
ckey=$(sed -n 's/^runkey=//p' <<<"$out")
agree "batch collection"
out=$(run "${head[@]}" --yes collect cancel "$ckey"); status=$?
check "collection cancelled" 0 $status "[확인] 일괄수금취소 작업이 완료 되었습니다." "$out"
check "outstanding back" 0 0 "2000" "$(sql "select pay_nonpayment from $schema.member_user where member_inx=$m2")"
agree "collection cancel"
out=$(run "${head[@]}" --yes collect run --mode sometimes --date 2026-12-20 --item 회비); status=$?
check "bad mode" 1 $status "[확인] --mode 는 outstanding 또는 expected 입니다: sometimes" "$out"

# Bulk removal: a "no" changes nothing, a "yes" clears.
out=$(run "${head[@]}" --no remove outstanding); status=$?
check "removal declined" 1 $status "[확인] 조회된 회원의 미수금을 일괄 제거 합니다. 처리하시겠습니까? -> n" "$out"
out=$(run "${head[@]}" --yes remove outstanding); status=$?
check "removal done" 0 $status "1 건" "$out"
check "outstanding cleared" 0 0 "0" "$(sql "select pay_nonpayment from $schema.member_user where member_inx=$m2")"

finish

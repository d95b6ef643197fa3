#!/usr/bin/env bash
# giro check / apply / files / detail against the test database with
# generated GR15 files: rows shown, applied once, the ledger and the member
# totals agree, refused files change nothing, and an apply killed with
# SIGKILL in the middle of its transaction leaves nothing half-booked.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
generate=$2

new_institution 57000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
sql "update quorisdex.admin_company set giro_account='7001234' where inx=$inx"
sql "insert into $schema.member_user (username, settle_accounts, account_name, pay_nonpayment)
  values ('김지로', '3', '12345', 20000), ('이지로', '3', '678', 0), ('박삭제', '3', '999', 0)"
sql "update $schema.member_user set remove='4' where username='박삭제'"
m1=$(sql "select member_inx+0 from $schema.member_user where username='김지로'")
m2=$(sql "select member_inx+0 from $schema.member_user where username='이지로'")
files="$app/files"

disagreeing() {
  sql "select count(*) from $schema.member_user m where
    m.total_payment <> (select ifnull(sum(input_pay),0) from $schema.pay_pross p
       where p.userlink_inx=m.member_inx and paystat='1')
     or m.pay_nonpayment <> (if(m.member_inx=$m1,20000,0) - m.total_payment)"
}

file=$("$generate" --giro-code 7001234 --date 261207 --out "$files" \
  --line 0000012345:10000 --line 0000012345:5000 --line 0000000678:7000 \
  --line 0000000999:3000 --line 0000000678:2000:R)
out=$(run "${head[@]}" giro check "$file"); status=$?
check "check counts" 0 $status "[확인] 5 건이 조회 되었습니다." "$out"
check "check row" 0 $status "$(printf '4\t20261204\t20261207\t0880123\t0880456\t000000000001\t0000000999\t3,000\t0\t정상분\t정상분\t')" "$out"
check "check total" 0 $status "( 5 건)" "$out"
check "check stores nothing" 0 0 "0" "$(sql "select count(*) from $schema.file_gr15")"

out=$(run "${head[@]}" --no giro apply "$file"); status=$?
check "declined" 1 $status "[확인] GR15261207 을 적용 하시겠습니까? -> n" "$out"
check "declined stores nothing" 0 0 "0" "$(sql "select count(*) from $schema.file_gr15")"

out=$(run "${head[@]}" --yes giro apply "$file"); status=$?
check "applied" 0 $status "[확인] 파일내역을 정상 적용 하였습니다." "$out"
check "applied members" 0 $status "members=2" "$out"
check "applied amount" 0 $status "booked=22000" "$out"
check "applied unmatched" 0 $status "unmatched=1" "$out"
check "one collection of the sum" 0 0 "15000	5000	OCR지로" \
  "$(sql "select input_pay, pros_nonpayment, settle_title from $schema.pay_pross where userlink_inx=$m1")"
check "totals agree" 0 0 "0" "$(disagreeing)"

out=$(run "${head[@]}" --yes giro apply "$file"); status=$?
check "applied twice" 1 $status "[확인] 이미 처리한 파일입니다." "$out"
check "booked once" 0 0 "2" "$(sql "select count(*) from $schema.pay_pross")"

out=$(run "${head[@]}" giro files --from 2026-01-01 --to 2099-12-31); status=$?
check "files row" 0 $status "1 건" "$out"
grep -q "^GR15261207	" <<<"$out" && passed=$((passed + 1)) || { failed=$((failed + 1)); echo "FAIL files: $out"; }
out=$(run "${head[@]}" giro detail GR15261207); status=$?
check "detail title" 0 $status "[GR15261207] 파일 상세 내역" "$out"
check "detail unbooked" 0 $status "5 건, 1 건 처리불능 (3,000원)" "$out"

# Refused files: the message and exit 1, nothing stored.
crlf="$app/crlf/GR15261208"
mkdir -p "$app/crlf"
"$generate" --giro-code 7001234 --date 261208 --out "$app/crlf" --line 12345:1000 >/dev/null
python3 -c "import sys; b=open(sys.argv[1],'rb').read(); open(sys.argv[1],'wb').write(b'\r\n'.join(b[i:i+120] for i in range(0,len(b),120)))" "$crlf"
out=$(run "${head[@]}" --yes giro apply "$crlf"); status=$?
check "crlf refused" 1 $status "파일 다운로드시 LF 또는 CR 을 제외 하고 받으셔야 합니다." "$out"
other=$("$generate" --giro-code 7009999 --date 261209 --out "$app/other" --line 12345:1000)
out=$(run "${head[@]}" --yes giro apply "$other"); status=$?
check "other institution" 1 $status "[확인] 이용기관코드가 다른 파일입니다." "$out"
cp "$other" "$app/other/EB22261209"
out=$(run "${head[@]}" --yes giro apply "$app/other/EB22261209"); status=$?
check "not a GR15" 1 $status "[확인] 처리불가능한 파일입니다." "$out"
check "refused store nothing" 0 0 "1" "$(sql "select count(*) from $schema.gr15")"

# SIGKILL in the middle: a session of ours holds one giro member, so the
# apply waits inside its transaction after storing the rows.
numbers=$(sql "select account_name from $schema.member_user where settle_accounts='3' and remove<>'4'")
big=$("$generate" --giro-code 7001234 --date 261210 --out "$app/big" --count 3000 $numbers)
entry=$QUORISDEX_TEST_DB
mariadb -h "${entry%:*}" -P "${entry##*:}" -u "${QUORISDEX_TEST_DB_USER:-quorisdex}" \
  -p"${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" -N -e "begin;
  select member_inx from $schema.member_user where member_inx=$m2 for update;
  select sleep(60);" >/dev/null 2>&1 &
holder=$!
sleep 1
"$cli" --app-path "$app" "${head[@]}" --yes giro apply "$big" >"$app/big.out" 2>"$app/big.err" &
apply=$!
for _ in $(seq 300); do grep -q "파일내역을 저장중입니다. 3000/3000" "$app/big.err" && break; sleep 0.1; done
sleep 1
kill -0 $apply 2>/dev/null && alive=yes || alive=no
check "apply waits inside its transaction" 0 0 "yes" "$alive"
kill -9 $apply
wait $apply 2>/dev/null
kill $holder 2>/dev/null
wait $holder 2>/dev/null
check "killed: no file row" 0 0 "0" "$(sql "select count(*) from $schema.gr15 where filename='GR15261210'")"
check "killed: no stored rows" 0 0 "0" "$(sql "select count(*) from $schema.file_gr15 where filename='GR15261210'")"
check "killed: nothing booked" 0 0 "2" "$(sql "select count(*) from $schema.pay_pross")"
check "killed: totals agree" 0 0 "0" "$(disagreeing)"
out=$(run "${head[@]}" --yes giro apply "$big"); status=$?
check "applied after the kill" 0 $status "[확인] 파일내역을 정상 적용 하였습니다." "$out"
check "after the kill: booked once" 0 0 "4" "$(sql "select count(*) from $schema.pay_pross")"
check "after the kill: totals agree" 0 0 "0" "$(disagreeing)"

finish

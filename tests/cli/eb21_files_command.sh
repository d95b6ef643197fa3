#!/usr/bin/env bash
# eb21 files / eb21 detail / rollback eb21 against the test database and the
# web stand-in on loopback: an EB21 made by the CLI is listed as not sent,
# an applied file with a refusal and a partial withdrawal shows its figures
# and requests, filters and search work, a bad filter is refused, and the
# unapplied file is taken back only with the maintenance password.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2

new_institution 60000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
sql "update quorisdex.admin_company set monthdivide='Y', cms_set='000000100000001',
  month_out_limit=1000000, ok_commission=250, no_commission=50, bank_code='88',
  account_code='110123456789',
  account_title='hanbit' where inx=$inx"
sql "insert into $schema.member_user (username, cms_status, pay_nonpayment, bank_code, account_no,
  account_jumin, ext_key) values ('김하나', '3', 15000, '0040000', '12345678901', '8001011234567',
  'K-1')"
m1=$(sql "select member_inx+0 from $schema.member_user where username='김하나'")
p1=$(printf '%010d' "$m1")
sql "insert into $schema.pay_pross (userlink_inx, input_pay, paystat, signdate) values
  ($m1, 15000, '0', '30-03-02')"

"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
trap 'kill $web_pid 2>/dev/null; rm -rf "$app"' EXIT
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"

out=$(run "${head[@]}" --answers y,n,n eb21 create --date 2030-03-05 --method sum --kind full); status=$?
check "created" 0 $status "count=1" "$out"
file="$QUORISDEX_DRIVE/vornadir/h$inx/EB21/EB210305"

# An applied file of another day: withdrawn, refused (charged code) and partly
# withdrawn (12,000 of 30,000).
sql "insert into $schema.ea21 (makedate, filename, total_cnt, total_money, rtnok_money,
  rtnfalse_money, ok_commission, false_commission, pross_stat, send_stat) values
  (unix_timestamp(), 'EB21300304', 3, 60000, 22000, 38000, 500, 50, '1', '5')"
sql "insert into $schema.file_ea21 (seq_num, reg_date, account_no, amount, id_no, user_no, result,
  result_code, div_amount) values (1, '300304', '111', 10000, '800101', $m1, '', '', 0),
  (2, '300304', '222', 20000, '1234567890', $m1, 'N', '0012', 0),
  (3, '300304', '333', 30000, '8001011234567', $m1, 'P', '', 12000)"

out=$(run "${head[@]}" eb21 files); status=$?
check "waiting" 0 $status "미처리: 1건 / 미수신: 0건" "$out"
check "header" 0 $status "$(printf '파일명\t청구건수\t청구금액\t출금건수\t출금액\t불능건수\t불능금액\t출금수수료\t불능수수료\t수수료합계\t실입금액\t처리상태\t생성일자\tpross_stat')" "$out"
check "unsent file" 0 $status "$(printf 'EB21300305\t1\t15,000\t\t\t\t\t\t\t\t\t파일송신전')" \
  "$(grep -F EB21300305 <<<"$out" | cut -f1-12)"
check "applied file" 0 $status "$(printf 'EB21300304\t3\t60,000\t2\t22,000\t1\t38,000\t500\t50\t550\t21,450\t파일처리 완료')" \
  "$(grep -F EB21300304 <<<"$out" | cut -f1-12)"
out=$(run "${head[@]}" eb21 files --from 2020-01-01 --to 2020-01-02); status=$?
check "empty range" 0 $status "0 건" "$out"
# A search lists the files and then every matching request of the period.
out=$(run "${head[@]}" eb21 files --from 2000-01-01 --to 2099-12-31 --search 1234567890); status=$?
check "searched request" 0 $status "1" "$(grep -cF '출금한도 초과' <<<"$out")"
out=$(run "${head[@]}" eb21 files --from 2026-13-01); status=$?
check "bad date" 1 $status "[확인] 날짜를 YYYY-MM-DD 로 입력하십시오: 2026-13-01" "$out"

out=$(run "${head[@]}" eb21 detail EB21300304); status=$?
check "detail title" 0 $status "[EB21300304] 파일 상세 내역" "$out"
check "partial row" 0 $status "$(printf '30,000\t12,000\t18,000\t부분출금\t%s\t\t333\t800101*******' "$p1")" \
  "$(grep -F $'\t333\t' <<<"$out" | cut -f6-13)"
check "refused row" 0 $status "$(printf '20,000\t0\t20,000\t출금한도 초과')" \
  "$(grep -F $'\t222\t' <<<"$out" | cut -f6-9)"
out=$(run "${head[@]}" eb21 detail EB21300304 --filter partial); status=$?
check "partial filter" 0 $status "1 건" "$out"
out=$(run "${head[@]}" eb21 detail EB21300304 --filter failed --search 1234567890); status=$?
check "failed and searched" 0 $status "1 건" "$out"
out=$(run "${head[@]}" eb21 detail EB21300304 --search "' or 1=1 -- "); status=$?
check "hostile search" 0 $status "0 건" "$out"
out=$(run "${head[@]}" eb21 detail EB21300304 --filter refused); status=$?
check "bad filter" 1 $status "[확인] --filter 는 all, open, failed, partial 입니다: refused" "$out"
out=$(run "${head[@]}" eb21 detail EB21300305); status=$?
check "unanswered request" 0 $status "$(printf '15,000\t\t\t')" "$(grep -F "$p1" <<<"$out" | cut -f6-9)"

out=$(run "${head[@]}" rollback eb21 EB21300305 --maintenance-password wrongword); status=$?
check "wrong password" 1 $status "[비밀번호 확인] 암호가 잘못되었습니다. 다시 시도하십시오" "$out"
check "still there" 0 0 "1|6" "$(sql "select concat(count(*),'|',(select cms_status from
  $schema.member_user where member_inx=$m1)) from $schema.ea21 where filename='EB21300305'")"
out=$(run "${head[@]}" rollback eb21 EB21300305 --maintenance-password vornadesk); status=$?
check "rolled back" 0 $status "0" "$(sql "select count(*) from $schema.ea21 where filename='EB21300305'")"
check "member restored" 0 0 "3" "$(sql "select cms_status from $schema.member_user where member_inx=$m1")"
check "requests gone" 0 0 "0" "$(sql "select count(*) from $schema.file_ea21 where reg_date='300305'")"
check "disk file gone" 0 0 "gone" "$([ -e "$file" ] && echo there || echo gone)"
check "logged" 0 0 "1" "$(sql "select count(*) from $schema.pross_log where prostxt='EB21300305 파일롤백'")"
out=$(run "${head[@]}" rollback eb21 EB21300304 --maintenance-password vornadesk); status=$?
check "applied file kept" 1 $status "[확인] [EB21300304] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다." "$out"
check "applied rows kept" 0 0 "3" "$(sql "select count(*) from $schema.file_ea21 where reg_date='300304'")"

finish

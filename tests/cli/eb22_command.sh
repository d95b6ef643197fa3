#!/usr/bin/env bash
# eb22 apply and the month end to end against the test database, the web
# stand-in and the simulated clearing house: a batch sale, an EB21 sent, the
# center's EB22 (two refusals and one partial withdrawal by its rules)
# received and applied; the collections, the file's totals and every
# member's outstanding amount reconcile. Then the process is killed (-9) at
# several points of applying a file, and damaged files are refused.
#   eb22_command.sh CLI WEB LIBRARY CENTER MONTH_CYCLE
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2 library=$(realpath "$3") center=$4 cycle=$5

new_institution 62000
schema="tps_$inx"
org="99000$inx"
head=(--id "h$inx" --password hpw)
sql "update quorisdex.admin_company set monthdivide='Y', cms_set='000000100000001',
  month_out_limit=100000000, ok_commission=200, no_commission=400, bank_code='88',
  account_code='110123456789', account_title='hanbit', cmsrunprg='1', TOLVEX_abled='1',
  add_info6='pw' where inx=$inx"
# Five CMS members billed on the 5th; 박넷 owes 3,000 from before, 최다섯 is an
# instalment member.
sql "insert into $schema.member_user (username, cms_status, pay_monthdefault, pay_nonpayment,
  payday, bank_code, account_no, account_jumin, account_divide, pay_agreement) values
  ('김하나', '3', 10000, 0, 5, '0040000', '10000000001', '800101', '1', 0),
  ('이둘', '3', 20000, 0, 5, '0040000', '10000000002', '800102', '1', 0),
  ('박셋', '3', 30000, 0, 5, '0880000', '10000000003', '800103', '1', 0),
  ('박넷', '7', 40000, 3000, 5, '0880000', '10000000004', '800104', '1', 0),
  ('최다섯', '3', 50000, 0, 5, '0200000', '10000000005', '800105', '3', 500000)"
sql "insert into $schema.user_item (ui_perinx, ui_name, ui_pay, ui_cnt, ui_payment)
  select member_inx, '회비', pay_monthdefault, 1, pay_monthdefault from $schema.member_user"
sql "create table $schema.before_cycle as select member_inx, pay_nonpayment from $schema.member_user"

"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
trap 'kill $web_pid 2>/dev/null; rm -rf "$app"' EXIT
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"
ln -s "$library" "$app/libCMSCommDLL.so"
printf 'center=%s\n' "$app/center" >"$app/cmscomm.ini"
"$center" --dir "$app/center" rule "withdraw-refuse 10000000002 0011"
"$center" --dir "$app/center" rule "withdraw-refuse 10000000003 0012"
"$center" --dir "$app/center" rule "withdraw-partial 10000000005 20000"

out=$("$cycle" "$cli" "$app" "h$inx" hpw 2030-03-05 2>&1); status=$?
out=${out//$'\r'/}
check "cycle ran" 0 $status "[확인] 처리결과 : 전체파일 1 건중 (1 건 성공, 0 건 실패)" "$out"
check "file figures" 0 $status "$(printf 'EB220305\t출금 3건 73000원\t불능 2건 80000원\t수수료 1000원\t실입금 72000원')" "$out"
check "file row" 0 0 "1	5	153000	73000	80000	600	400" "$(sql "select pross_stat, total_cnt,
  total_money, rtnok_money, rtnfalse_money, ok_commission, false_commission from $schema.ea21")"
# The CMS collections booked = the withdrawn total of the file = rtnok_money.
check "collections = withdrawn = rtnok_money" 0 0 "73000	73000	73000" "$(sql "select
  (select sum(input_pay) from $schema.pay_pross where paystat='1' and settle_title='CMS'),
  (select sum(case result when 'P' then div_amount when 'N' then 0 else amount end)
     from $schema.file_ea21), rtnok_money from $schema.ea21")"
# Every member: outstanding = before + the month's sales - its collections.
check "members reconcile" 0 0 "0" "$(sql "select count(*) from $schema.member_user m join
  $schema.before_cycle b on b.member_inx=m.member_inx where m.pay_nonpayment <> b.pay_nonpayment
  + (select ifnull(sum(input_pay),0) from $schema.pay_pross p where p.userlink_inx=m.member_inx
     and p.paystat='0' and p.signdate like '30-03%')
  - (select ifnull(sum(input_pay),0) from $schema.pay_pross p where p.userlink_inx=m.member_inx
     and p.paystat='1')")"
check "member states" 0 0 "7|,8|잔액부족,8|출금한도 초과,7|,7|부분출금" "$(sql "select
  group_concat(concat(cms_status,'|',cms_error) order by member_inx) from $schema.member_user")"
check "instalment collected" 0 0 "20000" \
  "$(sql "select pay_prossagreement from $schema.member_user where username='최다섯'")"
out=$(run "${head[@]}" eb22 apply); status=$?
check "nothing left" 1 $status "[확인] EB22(출금의뢰결과) 파일이 없습니다." "$out"
check "archived" 0 0 "yes" "$([ -e "$QUORISDEX_DRIVE/vornadir/h$inx/EB22/EB220305" ] && echo no || echo yes)"

# --- kill -9 while applying: an EB21 of 2030-04-05 for two members at 6.
eb22dir="$QUORISDEX_DRIVE/vornadir/h$inx/EB22"
m1=$(sql "select member_inx+0 from $schema.member_user where username='김하나'")
m4=$(sql "select member_inx+0 from $schema.member_user where username='박넷'")
prepare() {  # a fresh EB21 of 300405 waiting and its EB22 in the folder
  sql "delete from $schema.ea21 where filename='EB21300405'"
  sql "delete from $schema.file_ea21 where reg_date='300405'"
  sql "delete from $schema.pay_pross where signdate='30-04-05'"
  sql "update $schema.member_user set cms_status='6', cms_error='', pay_nonpayment=8000,
    total_payment=0 where member_inx in ($m1,$m4)"
  sql "insert into $schema.ea21 (makedate, filename, total_cnt, total_money, ok_commission,
    false_commission, pross_stat) values (unix_timestamp(), 'EB21300405', 3, 16000, 200, 300, '0')"
  sql "insert into $schema.file_ea21 (seq_num, reg_date, amount, user_no) values
    (1, '300405', 5000, $m1), (2, '300405', 3000, $m1), (3, '300405', 8000, $m4)"
  mkdir -p "$eb22dir"
  {
    printf 'H00000000%-10s%-8s%-6s%-117s' "$org" EB220405 300405 ""
    printf 'R%08d%-10s%-7s%-16s%013d%-13s%1s%-4s%-77s' 1 "$org" 0040000 10000000001 5000 800101 " " 0000 ""
    printf 'R%08d%-10s%-7s%-16s%013d%-13s%1s%-4s%-77s' 2 "$org" 0040000 10000000001 3000 800101 " " 0000 ""
    printf 'R%08d%-10s%-7s%-16s%013d%-13s%1s%-4s%-77s' 3 "$org" 0880000 10000000004 8000 800104 N 0012 ""
    printf 'T99999999%-10s%-8s%-123s' "$org" EB220405 ""
  } >"$eb22dir/EB220405"
}
state() {  # file state | collections | member outstanding amounts | fees
  sql "select concat(e.pross_stat,'|',(select count(*) from $schema.pay_pross where
    signdate='30-04-05'),'|',(select group_concat(pay_nonpayment order by member_inx) from
    $schema.member_user where member_inx in ($m1,$m4)),'|',e.ok_commission,'|',e.false_commission)
    from $schema.ea21 e where e.filename='EB21300405'"
}
# kill_while_blocked NAME SQL-TO-HOLD PATTERN: holds a lock with SQL in a second
# connection, starts the apply, kills it (-9) once it waits on PATTERN.
kill_while_blocked() {
  local entry=$QUORISDEX_TEST_DB
  mariadb -h "${entry%:*}" -P "${entry##*:}" -u "${QUORISDEX_TEST_DB_USER:-quorisdex}" \
    -p"${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" -N \
    -e "set session transaction isolation level repeatable read; begin; $2; select sleep(6);
    commit;" >/dev/null 2>&1 &
  local locker=$!
  sleep 1
  "$cli" --app-path "$app" "${head[@]}" eb22 apply >/dev/null 2>&1 &
  local pid=$! waited=0
  for _ in $(seq 50); do
    waited=$(sql "select count(*) from information_schema.processlist where info rlike '$3'")
    [ "$waited" -gt 0 ] && break
    sleep 0.1
  done
  [ "$waited" -gt 0 ] || sql "select state, left(info,100) from information_schema.processlist
    where info is not null"
  kill -9 "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  wait "$locker"
  check "$1: blocked where wanted" 0 0 "1" "$([ "$waited" -gt 0 ] && echo 1 || echo 0)"
}

# 1. Killed waiting for the claim: the server still runs the claim, which is
#    one statement; nothing is booked and a second run is refused.
prepare
kill_while_blocked "at the claim" "select * from $schema.ea21 where filename='EB21300405' for update" \
  "^update $schema\\.ea21 set pross_stat=9"
check "at the claim: claimed, nothing booked" 0 0 "9|0|8000,8000|200|300" "$(state)"
out=$(run "${head[@]}" eb22 apply); status=$?
check "at the claim: second run refused" 1 $status "[[EB21300405] 파일 적용 처리불가] [EB21300405] 파일이 적용 진행 중이므로 적용작업을 중단합니다." "${out//$'\r'/}"
check "at the claim: still nothing booked" 0 0 "9|0|8000,8000|200|300" "$(state)"

# 2. Killed while staging: claimed at 9, nothing booked, fees untouched.
prepare
kill_while_blocked "while staging" "insert into $schema.file_ea21_run values (99,'','',0)" \
  "^delete from $schema\\.file_ea21_run"
check "while staging: claimed, nothing booked" 0 0 "9|0|8000,8000|200|300" "$(state)"

# The server's booking waits while a second connection holds the ledger's
# last gap; by then it has written the request rows in its transaction.
booking="^insert into $schema\\.pay_pross"
hold_ledger="select count(*) from $schema.pay_pross for update"
# 3. Killed while the server books: the server finishes on its own and the
#    file is whole: booked, totals, fees once.
prepare
kill_while_blocked "while the server books" "$hold_ledger" "$booking"
sleep 1
check "while the server books: whole" 0 0 "1|2|0,8000|400|300" "$(state)"
check "while the server books: totals" 0 0 "8000	8000" \
  "$(sql "select rtnok_money, rtnfalse_money from $schema.ea21 where filename='EB21300405'")"

# 4. The server killed (-9) in the middle of its transaction: nothing booked.
prepare
entry=$QUORISDEX_TEST_DB
mariadb -h "${entry%:*}" -P "${entry##*:}" -u "${QUORISDEX_TEST_DB_USER:-quorisdex}" \
  -p"${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" -N \
  -e "set session transaction isolation level repeatable read; begin; $hold_ledger;
  select sleep(5); commit;" \
  >/dev/null 2>&1 &
locker=$!
sleep 1
out=$(run "${head[@]}" eb22 apply 2>&1 &
  for _ in $(seq 50); do
    [ "$(sql "select count(*) from information_schema.processlist where info rlike
      '$booking'")" -gt 0 ] && break
    sleep 0.1
  done
  kill -9 $web_pid
  wait)
wait "$locker"
check "server killed: claimed, nothing booked" 0 0 "9|0|8000,8000|200|300" "$(state)"
check "server killed: the reply is shown" 0 0 "[EB220405] 파일처리 실패" \
  "$(grep -o '\[EB220405\] 파일처리 실패' <<<"$out" | head -1)"

# --- Damaged files: the message, the file deleted, the EB21 left at 9, nothing booked.
for case in "name|EB220404|300405|R|승인의뢰(EB22) 헤더의 파일명이 다른 파일 입니다.(처리불가능)" \
            "type|EB220405|300405|X|잘못된 승인의뢰(EB22)파일 입니다.(처리불가능)"; do
  IFS='|' read -r what name day type message <<<"$case"
  prepare
  {
    printf 'H00000000%-10s%-8s%-6s%-117s' "$org" "$name" "$day" ""
    printf '%s%08d%-10s%-7s%-16s%013d%-13s%1s%-4s%-77s' "$type" 1 "$org" 0040000 1 5000 800101 " " 0000 ""
    printf 'T99999999%-10s%-8s%-123s' "$org" EB220405 ""
  } >"$eb22dir/EB220405"
  out=$(run "${head[@]}" eb22 apply); status=$?
  check "bad $what: message" 1 $status "[[EB220405] 처리불가] $message" "$out"
  check "bad $what: file deleted" 0 0 "gone" "$([ -e "$eb22dir/EB220405" ] && echo there || echo gone)"
  check "bad $what: nothing booked" 0 0 "9|0|8000,8000|200|300" "$(state)"
done

finish

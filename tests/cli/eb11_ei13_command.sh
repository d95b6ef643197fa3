#!/usr/bin/env bash
# eb11 / eb12 / ei13 / rollback ei13 against the test database and the
# simulated clearing house: an EB11 issued by the center is received and
# applied with its outcomes, its EB12 written, sent and marked; an agreement
# file is attached, packed into an EI13 (leaving the folder), taken back (and
# returned to the folder), packed again and sent,
# and the EB13 of the day then requests that member.
#   eb11_ei13_command.sh CLI LIBRARY CENTER
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
library=$(realpath "$2")
center=$3

new_institution 66000
schema="tps_$inx"
org="99000$inx"
head=(--id "h$inx" --password hpw)
sql "update quorisdex.admin_company set cmsrunprg='1', bank_receipt='Y', TOLVEX_abled='1',
  add_info6='pw' where inx=$inx"
ln -s "$library" "$app/libCMSCommDLL.so"
printf 'center=%s\n' "$app/center" >"$app/cmscomm.ini"

# A member at a bank that has merged into another (006 -> 004).
sql "insert into $schema.member_user (member_inx, username, bank_code, account_no, account_jumin)
  values (777, '정해지', '0060000', '11112222', '800101')"

# The center issues the day's EB11: a new payer, a payer number too high and
# the cancellation of member 777 sent with the successor's code.
records="$app/eb11.txt"
{
  printf '%-6s%s%-20s%-7s%-16s%-16s%-4s\n' 261204 1 0000012345 0040000 12345678 900101 CNCL
  printf '%-6s%s%-20s%-7s%-16s%-16s%-4s\n' 261204 1 9000000001 0040000 12345678 900101 CNCL
  printf '%-6s%s%-20s%-7s%-16s%-16s%-4s\n' 261204 3 0000000777 0040000 11112222 800101 CNCL
} >"$records"
"$center" --dir "$app/center" issue-eb11 "$org" 20261204 MACVALUE01 "$records" \
  || { echo "issue-eb11 failed"; exit 1; }

out=$(run "${head[@]}" transmit receive EB111204 --date 2026-12-04); status=$?
check "received" 0 $status "received=EB111204" "$out"
out=$(run "${head[@]}" eb11 list); status=$?
check "listed" 0 $status "$(printf 'EB111204\t파일 미적용')" "$out"

# kill -9 halfway: a second connection holds the day's rows (all of them, so
# that no new one can be stored), and the apply waits with member 12345
# already created in its transaction. Killed there, it leaves nothing of the
# file; the file then applies once.
entry=$QUORISDEX_TEST_DB
mariadb -h "${entry%:*}" -P "${entry##*:}" -u "${QUORISDEX_TEST_DB_USER:-quorisdex}" \
  -p"${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" -N \
  -e "set session transaction isolation level repeatable read; begin;
  select * from $schema.file_ea11 for update; select sleep(6); commit;" >/dev/null 2>&1 &
locker=$!
sleep 1
"$cli" --app-path "$app" "${head[@]}" eb11 apply >/dev/null 2>&1 &
applier=$!
waited=0
for _ in $(seq 50); do
  waited=$(sql "select count(*) from information_schema.processlist
    where info rlike '^insert into $schema\\.file_ea11'")
  [ "$waited" -gt 0 ] && break
  sleep 0.1
done
check "kill -9: blocked storing the first record" 0 0 "1" "$([ "$waited" -gt 0 ] && echo 1 || echo 0)"
check "kill -9: the member and its item written, not committed" 0 0 "1|0" \
  "$(sql "select concat((select count(*) from information_schema.innodb_trx where
    trx_rows_modified >= 2), '|', (select count(*) from $schema.member_user where member_inx=12345))")"
kill -9 "$applier" 2>/dev/null
wait "$applier" 2>/dev/null
wait "$locker"
check "kill -9: no rows" 0 0 "0|0" "$(sql "select concat((select count(*) from $schema.file_ea11),
  '|', (select count(*) from $schema.member_user where member_inx=12345))")"
check "kill -9: member 777 untouched" 0 0 "1|0" \
  "$(sql "select concat(remove,'|',cms_status) from $schema.member_user where member_inx=777")"
out=$(run "${head[@]}" eb11 list); status=$?
check "kill -9: still to apply" 0 $status "$(printf 'EB111204\t파일 미적용')" "$out"

out=$(run "${head[@]}" eb11 apply); status=$?
check "applied" 0 $status "$(printf 'EB111204\t20261204\trecords=3\trefused=1')" "$out"
out=$(run "${head[@]}" eb11 detail 2026-12-04); status=$?
check "detail new" 0 $status "$(printf '신규\t0000012345\t0040000\t12345678\t900101\t신규처리 완료')" \
  "$(cut -f1-6 <<<"$out")"
check "detail refused" 0 $status \
  "$(printf '신규\t9000000001\t0040000\t12345678\t900101\t신규등록 불가 납부자번호 (9000000000 이상임)')" \
  "$(cut -f1-6 <<<"$out")"
check "detail cancelled" 0 $status "$(printf '해지\t0000000777\t0040000\t11112222\t800101\t해지 처리 완료')" \
  "$(cut -f1-6 <<<"$out")"
check "member created" 0 0 "1|3|25|은행접수 (2026-12-04)" \
  "$(sql "select concat(remove,'|',cms_status,'|',payday,'|',comment) from $schema.member_user where member_inx=12345")"
check "member cancelled" 0 0 "2|13" \
  "$(sql "select concat(remove,'|',cms_status) from $schema.member_user where member_inx=777")"

out=$(run "${head[@]}" eb11 apply EB111204); status=$?
check "second application" 1 $status "[확인] 이미 처리된 파일입니다.(처리불가)" "$out"
out=$(run "${head[@]}" eb11 apply ../EB11/EB111204); status=$?
check "no paths" 1 $status "[확인] 처리할 파일이 없습니다." "$out"
out=$(run "${head[@]}" eb11 detail 2026-13-04); status=$?
check "bad date" 1 $status "[확인] 날짜를 YYYY-MM-DD 로 입력하십시오: 2026-13-04" "$out"

out=$(run "${head[@]}" eb12 create 2026-12-04); status=$?
eb12="$QUORISDEX_DRIVE/vornadir/h$inx/EB12/EB121204"
check "eb12 written" 0 $status "path=$eb12" "$out"
check "eb12 size" 0 0 "360" "$(stat -c %s "$eb12")"
check "eb12 refusal" 0 0 "NA013" "$(head -c 216 "$eb12" | tail -c 5)"
check "eb12 trailer" 0 0 "0000000100000001000000000000000000000000" "$(tail -c 93 "$eb12" | head -c 40)"
check "eb12 mac" 0 0 "MACVALUE01" "$(tail -c 10 "$eb12")"
out=$(run "${head[@]}" eb12 create 2026-12-04); status=$?
check "eb12 once" 1 $status \
  "[확인] 해당일자에 EB12파일이 이미 생성되어 있습니다. 재생성시 해당파일 삭제 후 다시 생성하시기 바랍니다." "$out"
out=$(run "${head[@]}" transmit send EB121204); status=$?
check "eb12 sent" 0 $status "[파일송신 결과확인] 파일명 : EB121204" "$(tr -d '\r' <<<"$out")"
out=$(run "${head[@]}" eb12 mark-sent 2026-12-04); status=$?
check "already marked by the send" 1 $status "[확인] 해당일자에 EB12완료처리를 할 수 없습니다." "$out"

# Agreement evidence for a new member, then its EB13.
sql "insert into $schema.member_user (member_inx, username, bank_code, account_no, account_jumin)
  values (888, '김동의', '0040000', '55556666', '800202')"
head -c 500 /dev/urandom >"$app/scan.jpg"
head -c 10 /dev/urandom >"$app/tiny.jpg"
out=$(run "${head[@]}" ei13 attach 888 "$app/tiny.jpg"); status=$?
check "tiny refused" 1 $status "[확인] 30Byte 이상의 출금동의자료 파일을 선택 하십시오." "$(tr -d '\r' <<<"$out")"
out=$(run "${head[@]}" ei13 attach 888 "$app/scan.jpg" --kind 4); status=$?
check "voice kind refused" 1 $status "[확인] 선택한 출금동의자료의 확장자가 자료구분값[4]과 맞지 않습니다." \
  "$(tr -d '\r' <<<"$out")"
out=$(run "${head[@]}" ei13 attach 888 "$app/scan.jpg"); status=$?
check "attached" 0 $status "1" \
  "$(sql "select cms_agree_status from $schema.member_user where member_inx=888")"
out=$(run "${head[@]}" ei13 status); status=$?
check "figures" 0 $status "설정함: 1건 (PC: 1 건)" "$out"

out=$(run "${head[@]}" --answers y,n ei13 create --date 2030-03-05); status=$?
check "ei13 created" 0 $status "count=1" "$out"
check "ei13 size" 0 0 "3072" "$(stat -c %s "$QUORISDEX_DRIVE/vornadir/h$inx/EI13/EI130305")"
out=$(run "${head[@]}" rollback ei13 EI13300305 --maintenance-password vornadesk); status=$?
check "rolled back" 0 $status "1|0" "$(sql "select concat(cms_agree_status,'|',(select count(*) from
  $schema.ei13)) from $schema.member_user where member_inx=888")"
check "file back in the folder" 0 0 "설정함: 1건 (PC: 1 건)" "$(run "${head[@]}" ei13 status)"
out=$(run "${head[@]}" --answers y,n ei13 create --date 2030-03-05); status=$?
check "ei13 again" 0 $status "count=1" "$out"
out=$(run "${head[@]}" transmit send EI130305); status=$?
check "ei13 sent" 0 $status "[파일송신 결과확인] 파일명 : EI130305" "$(tr -d '\r' <<<"$out")"
check "agreement sent" 0 0 "3" "$(sql "select cms_agree_status from $schema.member_user where member_inx=888")"
out=$(run "${head[@]}" --no eb13 create --date 2030-03-05); status=$?
check "eb13 requests the member" 0 $status "new=1" "$out"
check "member in eb13" 0 0 "888" "$(sql "select user_no from $schema.file_ea13 where reg_date='300305'")"

finish

#!/usr/bin/env bash
# The relay agent applying an EB21 result it carries: killed (-9) in the
# middle of its transaction it leaves nothing applied and the run taken;
# the next pass applies once; two agents at once apply once.
#   relay_results_command.sh CLI RELAY_AGENT
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
agent=$2

new_institution 64000
schema="tps_$inx"
org="99000$inx"
sql "update quorisdex.admin_company set cmsrunprg='2' where inx=$inx"
agent_once() { "$agent" --app-path "$app" --once --now "$1" 2>&1; }

# A Friday's EB21 of two members owing 8,000 each, taken by the relay (5);
# its result is due on Monday at 13:00.
prepare() {
  sql "delete from sdsi.filerun where id='$org'"
  sql "delete from $schema.member_user; delete from $schema.pay_pross; delete from $schema.ea21;
    delete from $schema.file_ea21; delete from $schema.file_ea21_run"
  sql "insert into $schema.member_user (username, cms_status, pay_nonpayment) values
    ('김하나','6',8000),('이둘','6',8000)"
  sql "insert into $schema.ea21 (makedate, filename, total_cnt, total_money, ok_commission,
    false_commission, pross_stat) values (unix_timestamp(), 'EB21300405', 2, 16000, 200, 400, '0')"
  sql "insert into $schema.file_ea21 (seq_num, reg_date, amount, user_no, amount_kind)
    select member_inx, '300405', 8000, member_inx, '2' from $schema.member_user"
  sql "insert into sdsi.filerun (filename, filediv, id, company, stat, senddate, recvdate)
    values ('21300405', 'PAY', '$org', '중계기관', 5, '30040517', '30040517')"
  sql "insert into sdsi.filedetail (u_inx, u_seq, u_detail) select r.inx,
    rpad(f.seq_num,10,' '), concat('D', rpad('$org',10,' '), 'N', rpad(f.user_no,20,' '),
    'zelmor', space(14), lpad(f.seq_num,6,'0'), space(6), rpad(f.amount,10,' '), space(169))
    from sdsi.filerun r join $schema.file_ea21 f where r.id='$org'"
}
state() {  # run | file | collections | outstanding amounts
  sql "select concat((select stat from sdsi.filerun where id='$org'),'|',pross_stat,'|',
    (select count(*) from $schema.pay_pross where paystat='1'),'|',
    (select group_concat(pay_nonpayment order by member_inx) from $schema.member_user))
    from $schema.ea21 where filename='EB21300405'"
}
# hold SECONDS: a second connection holds the members' rows meanwhile.
hold() {
  local entry=$QUORISDEX_TEST_DB
  mariadb -h "${entry%:*}" -P "${entry##*:}" -u "${QUORISDEX_TEST_DB_USER:-quorisdex}" \
    -p"${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" -N \
    -e "begin; select * from $schema.member_user for update; select sleep($1); commit;" \
    >/dev/null 2>&1 &
  locker=$!
  sleep 1
}

prepare
out=$(agent_once "2030-04-08 12:59:59")
check "not yet due" 0 0 "5|0|0|8000,8000" "$(state)"

# Killed while its booking waits for the members: nothing of it stays.
hold 6
"$agent" --app-path "$app" --once --now "2030-04-08 13:00:00" >/dev/null 2>&1 &
pid=$!
waited=0
for _ in $(seq 50); do
  waited=$(sql "select count(*) from information_schema.processlist where info rlike
    '^insert into $schema\\\\.pay_pross'")
  [ "$waited" -gt 0 ] && break
  sleep 0.1
done
kill -9 "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
wait "$locker"
check "killed: blocked in the booking" 0 0 "1" "$waited"
check "killed: nothing applied, the run still taken" 0 0 "5|0|0|8000,8000" "$(state)"
out=$(agent_once "2030-04-08 13:00:00")
check "next pass applies" 0 0 "applied=1" "$out"
check "next pass: run done, file applied, booked once" 0 0 "11|1|2|0,0" "$(state)"
out=$(agent_once "2030-04-09 13:00:00")
check "a later pass applies nothing" 0 0 "11|1|2|0,0" "$(state)"

# Two agents at once, both waiting for the same rows: one applies.
prepare
hold 3
a=$(mktemp) b=$(mktemp)
"$agent" --app-path "$app" --once --now "2030-04-08 13:00:00" >"$a" 2>&1 &
pa=$!
"$agent" --app-path "$app" --once --now "2030-04-08 13:00:00" >"$b" 2>&1 &
pb=$!
wait "$pa" "$pb" "$locker"
check "two agents: one applied" 0 0 "1" "$(cat "$a" "$b" | grep -c '^applied=1$')"
check "two agents: booked once" 0 0 "11|1|2|0,0" "$(state)"
rm -f "$a" "$b"
finish

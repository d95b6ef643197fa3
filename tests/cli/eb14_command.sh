#!/usr/bin/env bash
# eb14 apply / eb13 files / eb13 detail / rollback eb13 against the test
# database and the web stand-in on loopback: an EB13 made by the CLI gets a
# hand-written EB14 applied, members registered or refused with their
# reasons, the result shown; a second EB13 is taken back only with the
# maintenance password.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2

new_institution 60000
schema="tps_$inx"
org="99000$inx"
head=(--id "h$inx" --password hpw)
sql "insert into $schema.member_user (username, bank_code, account_no, account_jumin,
  cms_agree_status) values ('김하나', '0040000', '12345678901', '8001011234567', '2'),
  ('이둘', '0881234', '11122233344', '800202', '2')"
sql "insert into $schema.member_user (username, remove, cms_status, bank_code, account_no,
  account_jumin) values ('박셋', '2', '11', '0200000', '55566677788', '1234567890')"
out=$(run "${head[@]}" --no eb13 create --date 2030-03-05); status=$?
check "eb13 created" 0 $status "new=2" "$out"
serial() { sql "select f.seq_num from $schema.file_ea13 f join $schema.member_user m on
  m.member_inx=f.user_no where m.username='$1'"; }
member() { sql "select concat(cms_status,'|',cms_error) from $schema.member_user where username='$1'"; }

eb14="$QUORISDEX_DRIVE/vornadir/h$inx/EB14"
mkdir -p "$eb14"
{
  printf 'H00000000%-10s%-8s%-6s%-87s' "$org" EB140305 300305 ""
  printf 'R%08d%-82s%s%-4s%-24s' "$(serial 김하나)" "" Y 0000 ""
  printf 'R%08d%-82s%s%-4s%-24s' "$(serial 이둘)" "" N 0013 ""
  printf 'R%08d%-82s%s%-4s%-24s' "$(serial 박셋)" "" N 0014 ""
  printf 'T99999999%-10s%-8s%-93s' "$org" EB140305 ""
} >"$eb14/EB140305"
echo "not a result" >"$eb14/readme.txt"

"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
trap 'kill $web_pid 2>/dev/null; rm -rf "$app"' EXIT
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"

out=$(run "${head[@]}" eb14 apply); status=$?
out=${out//$'\r'/}  # the summary's line breaks are CRLF
check "applied" 0 $status "[확인] 처리결과 : 전체파일 1 건중 (1 건 성공, 0 건 실패)" "$out"
check "foreign file deleted" 0 0 "gone" "$([ -e "$eb14/readme.txt" ] && echo there || echo gone)"
check "new accepted" 0 0 "3|" "$(member 김하나)"
check "new refused" 0 0 "2|계좌번호 오류(해당계좌 없음)" "$(member 이둘)"
check "cancellation refused" 0 0 "14|해지된 계좌" "$(member 박셋)"
check "counts" 0 0 "1	1	0	2" \
  "$(sql "select pross_stat, createok_cnt, deleteok_cnt, false_cnt from $schema.ea13")"

out=$(run "${head[@]}" eb13 files --from 2000-01-01 --to 2099-12-31); status=$?
check "file list" 0 $status "$(printf 'EB13300305\t2\t1\t3\t1\t0\t2\t파일처리 완료')" \
  "$(grep -F EB13300305 <<<"$out" | cut -f1-8)"
out=$(run "${head[@]}" eb13 detail EB13300305 --filter refused); status=$?
check "detail title" 0 $status "[EB13300305] 파일 상세 내역" "$out"
check "detail refused only" 0 $status "2 건" "$out"
check "detail reason" 0 $status "계좌번호 오류(해당계좌 없음)" "$(grep -F 이둘 <<<"$out" | cut -f9)"
out=$(run "${head[@]}" eb13 detail EB13300305 --filter bogus); status=$?
check "bad filter" 1 $status "[확인] --filter 는 all, open, refused 입니다: bogus" "$out"

out=$(run "${head[@]}" eb14 apply); status=$?
check "nothing left" 1 $status "[확인] EB14(승인의뢰결과) 파일이 없습니다." "$out"

# A second file, taken back.
sql "insert into $schema.member_user (username, bank_code, account_no, account_jumin,
  cms_agree_status) values ('최넷', '0040000', '99988877766', '800303', '3')"
out=$(run "${head[@]}" --no eb13 create --date 2030-03-06); status=$?
check "second eb13" 0 $status "new=1" "$out"
eb13="$QUORISDEX_DRIVE/vornadir/h$inx/EB13/EB130306"
out=$(run "${head[@]}" rollback eb13 EB13300306 --maintenance-password wrongword); status=$?
check "wrong password" 1 $status "[비밀번호 확인] 암호가 잘못되었습니다. 다시 시도하십시오" "$out"
check "still there" 0 0 "1|1" "$(sql "select concat(count(*),'|',(select cms_status from $schema.member_user
  where username='최넷')) from $schema.ea13 where filename='EB13300306'")"
out=$(run "${head[@]}" rollback eb13 EB13300306 --maintenance-password vornadesk); status=$?
check "rolled back" 0 $status "0" "$(sql "select count(*) from $schema.ea13 where filename='EB13300306'")"
check "member restored" 0 0 "0|" "$(member 최넷)"
check "rows gone" 0 0 "0" "$(sql "select count(*) from $schema.file_ea13 where reg_date='300306'")"
check "disk file gone" 0 0 "gone" "$([ -e "$eb13" ] && echo there || echo gone)"
out=$(run "${head[@]}" rollback eb13 EB13300305 --maintenance-password vornadesk); status=$?
check "applied file kept" 1 $status "[확인] [EB13300305] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다." "$out"

finish

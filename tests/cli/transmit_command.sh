#!/usr/bin/env bash
# transmit against the test database and a simulated clearing house: an EB13
# made by the program is sent, its EB14 listed and received into the EB14
# folder, a second send counts as sent, and the gates hold.
#   transmit_command.sh CLI LIBRARY
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
library=$(realpath "$2")

new_institution 56000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
sql "update quorisdex.admin_company set cmsrunprg='1', TOLVEX_abled='1', add_info6='pw'
  where inx=$inx"
sql "insert into $schema.member_user (username, bank_code, account_no, account_jumin,
  cms_agree_status) values ('김하나', '0040000', '12345678901', '800101', '2')"

out=$(run "${head[@]}" transmit list); status=$?
check "library missing" 1 $status "[확인] 송수신모듈을 찾을 수 없습니다." "$(tr -d '\r' <<<"$out")"

ln -s "$library" "$app/libCMSCommDLL.so"
printf 'center=%s\n' "$app/center" >"$app/cmscomm.ini"

out=$(run "${head[@]}" --no eb13 create --date 2030-03-05); status=$?
check "created" 0 $status "new=1" "$out"

out=$(run "${head[@]}" transmit send EB130305); status=$?
check "evidence first" 1 $status \
  "[확인] EB130305 파일의 동의자료인 EI130305 파일이 송신되지 않았습니다." "$out"
sql "insert into $schema.ei13 (filename, send_stat) values ('EI13300305', '5')"

out=$(run "${head[@]}" transmit list); status=$?
check "listed to send" 0 $status "$(printf 'EB130305\tEB13\t360 byte')" "$(cut -f1-3 <<<"$out")"

out=$(run "${head[@]}" transmit send EB130305); status=$?
check "sent" 0 $status "[파일송신 결과확인] 파일명 : EB130305" "$(tr -d '\r' <<<"$out")"
check "send_stat 5" 0 0 "5" "$(sql "select send_stat from $schema.ea13 where filename='EB13300305'")"

out=$(run "${head[@]}" transmit send EB130305); status=$?
check "second send counts as sent" 0 $status "에러메세지 : 파일이 이미 송신되었습니다." \
  "$(tr -d '\r' <<<"$out")"

out=$(run "${head[@]}" transmit receivable --from 2030-03-01 --to 2030-03-31 --kind new)
status=$?
check "result listed" 0 $status "EB140305	미수신" "$(cut -f2,6 <<<"$out")"
out=$(run "${head[@]}" transmit receivable --from 2030-03-01 --to 2030-3-31x); status=$?
check "bad period" 1 $status "[확인] --to 날짜를 YYYY-MM-DD 로 입력하십시오: 2030-3-31x" "$out"

out=$(run "${head[@]}" transmit receive EB140305 --date 2030-03-05); status=$?
check "received" 0 $status "received=EB140305" "$out"
check "EB14 in its folder" 0 0 "360" \
  "$(stat -c %s "$QUORISDEX_DRIVE/vornadir/h$inx/EB14/EB140305" 2>/dev/null)"

out=$(run "${head[@]}" --yes transmit cancel EB130305 --date 2030-03-05); status=$?
check "cancel refused once answered" 1 $status "에러코드 : 12" "$(tr -d '\r' <<<"$out")"

finish

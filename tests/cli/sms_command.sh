#!/usr/bin/env bash
# sms settings / send / file / history against the test database, with the
# messaging agent as a process: a personalised SMS and an LMS to the member
# list's rows, the members of an EB21 file, the refusals that queue nothing,
# and the history after the agent delivered them.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
agent=$2

new_institution 57000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
queued() { sql "select count(*) from bizclient.BIZ_MSG where CINFO='$inx'"; }
sql "delete from bizclient.BIZ_MSG where CINFO='$inx'; delete from bizclient.BIZ_SEND where CINFO='$inx'"
for name in 김하나 이둘 박셋; do
  sql "insert into $schema.member_user (username, private_tel, pay_nonpayment, pay_monthdefault, inday)
       values ('$name', '010-2000-000${#name}', 1234567, 20000, 25)"
done
sql "update $schema.member_user set private_tel='02-333-4444' where username='박셋'"

# No sender number yet: refused, nothing queued.
out=$(run "${head[@]}" sms send --message "[@U]님 안내"); status=$?
check "no sender" 1 $status "[확인] 지정된 발신번호가 없거나 잘못된 번호입니다." "$out"
out=$(run "${head[@]}" sms settings --phone 02-12a-3456); status=$?
check "sender with a letter" 1 $status "[확인] 지정된 발신번호가 없거나 잘못된 번호입니다." "$out"
out=$(run "${head[@]}" sms settings --phone 02-1234-5678 --name 한빛); status=$?
check "sender saved" 0 $status "sendphone=02-1234-5678" "$out"
check "default template" 0 $status "MSG0=[@C] [@U]님 [@D]일에 미납된 금액을 재출금 합니다." "$out"
# Login.ini is kept in the Korean code page, as the desktop writes it.
check "templates written" 0 0 "MSG3=[@C] [@P]원이 CMS신청됩니다. 잔액 확인바랍니다" \
  "$(iconv -f CP949 -t UTF-8 "$app/Login.ini" | tr -d '\r')"

out=$(run "${head[@]}" sms send --message ""); status=$?
check "empty message" 1 $status "[확인] 전송할 메시지가 없습니다." "$out"
out=$(run "${head[@]}" sms send --message "안내" --where username=없는사람); status=$?
check "no rows" 1 $status "[확인] 발송할 대상이 없습니다." "$out"
check "nothing queued" 0 0 "0" "$(queued)"

# SMS: the landline is skipped and counted.
out=$(run "${head[@]}" sms send --message "[@C] [@U]님 미수금 [@P0]원 ([@P])"); status=$?
check "sms sent" 0 $status "[확인] 3건 중 2 건을 전송 하였습니다." "$out"
check "sms kind" 0 $status "kind=SMS" "$out"
check "sms body" 0 0 "한빛 김하나님 미수금 1,234,567원 (1234567)" \
  "$(sql "select MSG_BODY from bizclient.BIZ_MSG where CINFO='$inx' and DEST_NAME='김하나'")"

# LMS: a long text asks to switch; the title over 64 bytes is refused.
long="[@U]님 $(printf '가%.0s' $(seq 1 50))"
out=$(run "${head[@]}" --yes sms send --message "$long" --title "$(printf '나%.0s' $(seq 1 33))" --where username=이둘); status=$?
check "lms title too long" 1 $status "[확인] LMS 제목의 길이가 제한 길이 보다 깁니다." \
  "$(tr -d '\r' <<<"$out")"
out=$(run "${head[@]}" --yes sms send --message "$long" --title "청구 안내" --where username=이둘); status=$?
check "lms question" 0 $status "kind=LMS" "$out"
check "lms sent" 0 $status "[확인] 1건 중 1 건을 전송 하였습니다." "$out"
check "lms row" 0 0 "5	청구 안내" \
  "$(sql "select MSG_TYPE, SUBJECT from bizclient.BIZ_MSG where CINFO='$inx' and MSG_TYPE='5'")"
check "queued" 0 0 "3" "$(queued)"

# The members of an EB21 file, with the failed amount for [@PM].
member=$(sql "select member_inx from $schema.member_user where username='김하나'")
sql "insert into $schema.file_ea21 (reg_date, user_no, amount, result) values ('261201', $member, 30000, 'N')"
out=$(run "${head[@]}" sms file EB21261201 --amount 불능금액 --message "[@U]님 [@PM0]원 불능"); status=$?
check "file members" 0 $status "[확인] 총 1 건 중 1 건 선택됨" "$out"
check "file sent" 0 $status "[확인] 1건 중 1 건을 전송 하였습니다." "$out"
out=$(run "${head[@]}" sms file EB99261201 --message x); status=$?
check "file name refused" 1 $status "[확인] [EB99261201] 결과 파일 이름이 아닙니다. (예: EB13261207)" "$out"

# The agent delivers; a number ruled to fail shows as 오류번호.
printf 'status 01020000003 4410\n' >"$app/rules.txt"
"$agent" --app-path "$app" --rules "$app/rules.txt" --until-empty --interval 0.1 >/dev/null; status=$?
check "agent ran" 0 $status "0" "$(queued)"
month=$(sql "select date_format(now(),'%Y-%m')")
out=$(run "${head[@]}" sms history --month "$month"); status=$?
check "history count" 0 $status "4 건 " "$out"
check "history failed" 0 $status "오류번호" "$(cut -f2 <<<"$out" | sort -u)"
out=$(run "${head[@]}" sms history --month "$month" --kind LMS); status=$?
check "history lms" 0 $status "1 건 " "$out"
out=$(run "${head[@]}" sms history --month "$month" --field DEST_NAME); status=$?
check "history search without text" 1 $status "[확인] 조회할 값을 입력하세요." "$out"
finish

#!/usr/bin/env bash
# login from the command line: typed blanks are dropped as in the login
# window, the session takes the id as stored, input the database cannot hold
# and ids that cannot name a folder are refused, a relative backup folder
# lies under the program folder.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"

new_institution 46000
app_real=$(cd "$app" && pwd)

out=$(run --id " h$inx " --password " hpw " login); status=$?
check "blanks around id and password" 0 $status "LoginId=h$inx" "$out"
out=$(run --id "H$inx" --password hpw login); status=$?
check "id as stored" 0 $status "LoginId=h$inx" "$out"
out=$(run --id "   " --password hpw login); status=$?
check "blank id" 1 $status "[확인] 로그인 아이디를 입력하십시오." "$out"
out=$(run --id "h$inx" --password "  " login); status=$?
check "blank password" 1 $status "[확인] 로그인 비밀번호를 입력하십시오." "$out"
out=$(run --id "h${inx}😀" --password hpw login); status=$?
check "emoji in the id" 1 $status \
  "[확인] 아이디에 저장할 수 없는 문자(이모지 등)가 있습니다. 해당 문자를 지우고 다시 입력하십시오." "$out"
out=$(run --id "h$inx" --password "hpw😀" login); status=$?
check "emoji in the password" 1 $status \
  "[확인] 비밀번호에 저장할 수 없는 문자(이모지 등)가 있습니다. 해당 문자를 지우고 다시 입력하십시오." "$out"

out=$(run admin create-branch --inx "$inx" --brinx "${inx}7" --id "../esc$inx" --password bpw); status=$?
check "id with a path refused" 1 $status \
  "[확인] 로그인 아이디에는 '/', '\\', '..' 와 제어문자를 사용할 수 없습니다: ../esc$inx" "$out"
if [ -n "$(sql "select id from quorisdex.company_branch where brinx=${inx}7")" ]; then
  failed=$((failed + 1)); echo "FAIL refused branch stored"
else
  passed=$((passed + 1))
fi

printf '[FILEFOLDER]\r\nFILEBACK=back\r\n' >>"$app/Login.ini"
out=$(cd / && run --id "h$inx" --password hpw login); status=$?
check "relative backup folder" 0 $status "FILEBACK=$app_real/back" "$out"

finish

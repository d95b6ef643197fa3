#!/usr/bin/env bash
# settings show / settings cms-set against the test database: a head-office
# change is stored and printed, a branch user and bad positions or entries
# are refused with their message and exit status and change nothing.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"

new_institution 45000
out=$(run admin create-branch --inx "$inx" --brinx "${inx}1" --id "b$inx" --password bpw) ||
  { echo "create-branch failed: $out"; exit 1; }
head=(--id "h$inx" --password hpw settings)
branch=(--id "b$inx" --password bpw settings)

out=$(run "${head[@]}" cms-set 4 1); status=$?
check "head office change" 0 $status "cms_set=000100000000001" "$out"
out=$(run "${head[@]}" show); status=$?
check "show flag string" 0 $status "cms_set=000100000000001" "$out"
check "show position 4" 0 $status "cms_set[4] 완전/부분 (정기분+미납분) = 1 부분출금" "$out"
check "show position 15" 0 $status "cms_set[15] 신규등록/변경시 품목 사용안함. = 1 체크 안함 (품목 사용)" "$out"

# The rule between positions 1 and 4: position 4 falls back to "완전출금".
run "${head[@]}" cms-set 1 2 >/dev/null
out=$(run "${head[@]}" cms-set 4 2); status=$?
check "summed billing refuses unpaid-only partial" 1 $status \
  "[확인] 정기+미납분을 합산청구하는경우 미납분만 부분출금 하실 수 없습니다." "$out"
check "position 4 stored as 0" 1 $status "cms_set=200000000000001" "$out"

out=$(run "${branch[@]}" cms-set 4 1); status=$?
check "branch refused" 1 $status "[확인] 지사/대리점은 프로그램 설정을 하실 수 없습니다." "$out"
out=$(run "${branch[@]}" show); status=$?
check "branch show refused" 1 $status "[확인] 지사/대리점은 프로그램 설정을 하실 수 없습니다." "$out"

out=$(run "${head[@]}" cms-set 12 1); status=$?
check "position 12 refused" 1 $status "[확인] 설정할 수 없는 위치입니다: 12" "$out"
out=$(run "${head[@]}" cms-set 2 2); status=$?
check "entry out of range refused" 1 $status "[확인] 선택 항목이 잘못되었습니다: 2" "$out"
out=$(run "${head[@]}" cms-set 2 -1); status=$?
check "negative entry refused" 1 $status "[확인] 선택 항목이 잘못되었습니다: -1" "$out"
out=$(run "${head[@]}" cms-set x 1); status=$?
if [ $status -ne 0 ]; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL non-numeric position accepted"; fi

# Nothing of the refused runs reached the database.
out=$(run "${head[@]}" show); status=$?
check "unchanged after refusals" 0 $status "cms_set=200000000000001" "$out"

# While billing takes the previous month, automatic sales read "미사용" as on
# the screen, whatever an older program stored.
sql "update quorisdex.admin_company set monthdivide='N' where inx=$inx"
out=$(run "${head[@]}" show); status=$?
check "position 7 forced off" 0 $status "cms_set[7] 출금신청시 자동매출 = 1 미사용" "$out"
check "month setting" 0 $status "monthdivide 정기분 선택 = N 전월" "$out"

finish

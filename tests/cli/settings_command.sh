#!/usr/bin/env bash
# settings show / settings cms-set against the test database: a head-office
# change is stored and printed, a branch user and bad positions or entries
# are refused with their message and exit status and change nothing.
set -u
cli=$1
if [ -z "${QUORISDEX_TEST_DB:-}" ]; then
  echo "QUORISDEX_TEST_DB is not set: run the tests through scripts/test"
  exit 1
fi
app=$(mktemp -d)
trap 'rm -rf "$app"' EXIT
export QUORISDEX_DRIVE="$app/drive"
mkdir -p "$QUORISDEX_DRIVE"
printf '[SYSTEM]\r\nDBCONNIP=%s\r\nDBCONNUSER=%s\r\nDBCONNPW=%s\r\n' "$QUORISDEX_TEST_DB" \
  "${QUORISDEX_TEST_DB_USER:-quorisdex}" "${QUORISDEX_TEST_DB_PASSWORD:-quorisdex-demo}" \
  >"$app/Login.ini"

passed=0
failed=0
check() {  # name, expected status, actual status, expected line, output
  if [ "$3" -eq "$2" ] && grep -qxF -- "$4" <<<"$5"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s: status %s (expected %s), wanted line "%s" in:\n%s\n' "$1" "$3" "$2" "$4" "$5"
  fi
}
run() { "$cli" --app-path "$app" "$@" 2>&1; }

# A fresh institution with a branch; the number only has to be unused.
inx=$((45000 + $$ % 5000))
run admin init-db >/dev/null || { echo "init-db failed"; exit 1; }
out=$(run admin create-institution --inx "$inx" --id "h$inx" --password hpw --org-code "99000$inx" \
  --stat-company 1) || { echo "create-institution failed: $out"; exit 1; }
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

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

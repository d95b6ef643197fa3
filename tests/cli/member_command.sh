#!/usr/bin/env bash
# member add / change / bank-cancel / list against the test database: values
# no screen offers are refused with their message and write nothing, a
# cancelled member comes back only under a new payer number, a period member
# needs its months, and the name filter matches % and _ as typed.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"

new_institution 55000
schema="tps_$inx"
head=(--id "h$inx" --password hpw --yes)
valid=(--set username=홍길동 --set payday=10 --set inday=15 --set pay_monthdefault=10000
  --set bank_code=0040000 --set account_no=12345678901 --set account_jumin=800101
  --set account_name=홍길동 --set certificate_kind=4)
members() { sql "select count(*) from $schema.member_user"; }

out=$(run "${head[@]}" member add "${valid[@]}"); status=$?
check "registered" 0 $status "$(grep -x 'member_inx=[0-9]*' <<<"$out")" "$out"
first=$((10#${out##*member_inx=}))
before=$(members)

# Values the screens never offer.
refused() {  # name, expected message, --set arguments...
  local name=$1 text=$2; shift 2
  out=$(run "${head[@]}" member add "${valid[@]}" "$@"); status=$?
  check "$name" 1 $status "[확인] $text" "$out"
}
bank_text="거래은행 코드가 잘못되었습니다. 은행 목록의 은행을 선택하십시오. (은행 3자리 + 지점 4자리)"
refused "bank 999" "$bank_text" --set bank_code=999
refused "bank ab" "$bank_text" --set bank_code=ab
refused "bank 가나다" "$bank_text" --set bank_code=가나다
refused "method 77" "수금방식이 잘못되었습니다." --set settle_accounts=77
refused "method 00" "수금방식이 잘못되었습니다." --set settle_accounts=00
refused "receipt kind 9" "영수처리방식이 잘못되었습니다." --set p_tax=9
refused "passbook text 9" "통장기장내역이 잘못되었습니다." --set cms_printkey=9
refused "branch 99" "지사가 잘못되었습니다: 99 (이 기관의 지사가 아닙니다.)" --set branch_inx=99
refused "agency 7" "대리점이 잘못되었습니다: 7 (해당 지사의 대리점이 아닙니다.)" --set agency_inx=7
refused "negative outstanding" "초기미수금이 잘못 되었습니다. (0원 이상만 입력할 수 있습니다.)" \
  --set initial_nonpayment=-50000
out=$(run "${head[@]}" member add "${valid[@]}" --set "username=$(printf '홍\n길동')"); status=$?
check "newline in name" 1 $status "[확인] 고객명에 줄바꿈이나 탭 같은 제어문자는 입력할 수 없습니다." "$out"
check "nothing written" 0 0 "$before" "$(members)"

# A period sale needs its months, on change too.
out=$(run "${head[@]}" member change "$first" --set account_divide=4); status=$?
check "period without months" 1 $status "[확인] 1개월 이상 999개월 미만의 값만 입력할 수 있습니다." "$out"
out=$(run "${head[@]}" member change "$first" --set account_divide=4 --set period_months=900); status=$?
check "period past 2099" 1 $status "[확인] 기간이 너무 깁니다. 기간 종료월은 2099년 12월을 넘을 수 없습니다." "$out"

# Registered, cancelled, on hold, then normal again: a new payer number.
sql "update $schema.member_user set cms_status='3' where member_inx=$first"
run "${head[@]}" member change "$first" --set remove=2 >/dev/null
run "${head[@]}" member change "$first" --set remove=3 >/dev/null
out=$(run "${head[@]}" member change "$first" --set remove=1); status=$?
check "re-issue notice" 0 $status "[확인] 해지고객을 정상으로 변경시 새 납부자번호가 발급됩니다." "$out"
second=$((10#${out##*member_inx=}))
check "new number" 0 0 "yes" "$([ "$second" -gt "$first" ] && echo yes || echo "no: $second")"
check "old row owes its cancellation" 0 0 "4 11" \
  "$(sql "select concat(remove,' ',cms_status) from $schema.member_user where member_inx=$first")"
check "new row is new" 0 0 "1 0" \
  "$(sql "select concat(remove,' ',cms_status) from $schema.member_user where member_inx=$second")"

# A cancellation at the bank is recorded once.
sql "update $schema.member_user set cms_status='3' where member_inx=$second"
run "${head[@]}" member bank-cancel "$second" >/dev/null
out=$(run "${head[@]}" member bank-cancel "$second"); status=$?
check "second bank cancellation refused" 1 $status "[확인] 이미 해지된 회원입니다." "$out"

# % and _ are matched as typed.
run "${head[@]}" member add "${valid[@]}" --set username=100%할인 >/dev/null
run "${head[@]}" member add "${valid[@]}" --set username=100원 >/dev/null
out=$(run "${head[@]}" member list --where username=100%); status=$?
check "percent literal" 0 $status "1건" "$out"

finish

#!/usr/bin/env bash
# eb13 targets / eb13 create / cms status against the test database: the
# targets listed, a holiday refused, the file written and recorded, a second
# file for the day refused, and the status screen's panel showing the file.
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"

new_institution 50000
schema="tps_$inx"
# New members whose agreement evidence has been filed, and a cancellation.
sql "insert into $schema.member_user (username, bank_code, account_no, account_jumin,
  cms_agree_status) values ('김하나', '0040000', '12345678901', '8001011234567', '2'),
  ('이둘', '0881234', '11122233344', '800202', '2')"
sql "insert into $schema.member_user (username, remove, cms_status, bank_code, account_no,
  account_jumin) values ('박셋', '2', '11', '0200000', '55566677788', '1234567890')"
head=(--id "h$inx" --password hpw)
# Branch and agency numbers are unique across institutions.
run admin create-branch --inx "$inx" --brinx "${inx}1" --id "b$inx" --password bpw >/dev/null ||
  { echo "create-branch failed"; exit 1; }
run admin create-agency --inx "$inx" --brinx "${inx}1" --aginx "${inx}1" --id "a$inx" \
  --password apw >/dev/null || { echo "create-agency failed"; exit 1; }

# Branch and agency logins neither list, create nor tidy: nothing is marked,
# written or moved.
gate="[확인] 지사/대리점인 경우 파일생성을 하실 수 없습니다.(본사만 처리가능)"
for who in "b$inx bpw" "a$inx apw"; do
  set -- $who
  for cmd in "eb13 targets" "eb13 create --date 2030-03-05" "cms status"; do
    out=$(run --id "$1" --password "$2" --no $cmd); status=$?
    check "$1 $cmd refused" 1 $status "$gate" "$out"
  done
done
check "no file row after refusals" 0 0 "0" "$(sql "select count(*) from $schema.ea13")"
check "members untouched" 0 0 "0,0,11" \
  "$(sql "select group_concat(cms_status order by member_inx) from $schema.member_user")"
made=none
for d in "$QUORISDEX_DRIVE"/vornadir/*/EB1[134]; do [ -e "$d" ] && made=$d; done
check "no exchange folder made" 0 0 "none" "$made"

out=$(run "${head[@]}" eb13 targets); status=$?
check "grid header" 0 $status "$(printf '고객명\t상호\t이체예정일\t은행명\t계좌번호\t예금주명\t예금주번호\t신청구분\t납부자번호\tCMS에러\t등록일자')" "$out"
check "three targets" 0 $status "3 건" "$out"

# 2030-03-09 is a Saturday; 2030-03-05 a Tuesday.
out=$(run "${head[@]}" --no eb13 create --date 2030-03-09); status=$?
check "saturday refused" 1 $status "[확인] 토,일 (지정휴일) 인경우 파일을 생성 할 수 없습니다." "$out"
out=$(run "${head[@]}" --no eb13 create --date 2030-3-5x); status=$?
check "bad date refused" 1 $status "[확인] 날짜를 YYYY-MM-DD 로 입력하십시오: 2030-3-5x" "$out"

out=$(run "${head[@]}" --no eb13 create --date 2030-03-05); status=$?
file="$QUORISDEX_DRIVE/vornadir/h$inx/EB13/EB130305"
check "created" 0 $status "file=$file" "$out"
check "new count" 0 $status "new=2" "$out"
check "cancel count" 0 $status "cancel=1" "$out"
size=$(stat -c %s "$file" 2>/dev/null || echo 0)
check "five records" 0 0 "600" "$size"
check "trailer counts" 0 0 "000000030000000200000000000000010000000" \
  "$(tail -c 120 "$file" | cut -c28-66)"
check "row recorded" 0 0 "EB13300305	2	1	3	0" \
  "$(sql "select filename, create_cnt, delete_cnt, total_cnt, pross_stat from $schema.ea13")"
check "members requested" 0 0 "1,1,12" \
  "$(sql "select group_concat(cms_status order by member_inx) from $schema.member_user")"

sql "insert into $schema.member_user (username, bank_code, account_no, account_jumin,
  cms_agree_status) values ('최넷', '0040000', '99988877766', '800303', '3')"
out=$(run "${head[@]}" --no eb13 create --date 2030-03-05); status=$?
check "second file refused" 1 $status \
  "[확인] 선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다." "$out"
check "nothing more written" 0 0 "3" "$(sql "select count(*) from $schema.file_ea13")"

out=$(run "${head[@]}" cms status); status=$?
row=$(grep -F "EB13300305" <<<"$out" | cut -f2-)
check "status panel" 0 $status "$(printf 'EB13300305\t30-03-07\t2\t1\t파일송신전')" "$row"

finish

#!/usr/bin/env bash
# A card month from the command line, with the web stand-in and the relay
# agent (the card company) running: the card member targets with the bad
# card data put aside, the CMEM request sent and answered; an earlier
# payment scheduled for cancellation, the CPAY request (with that
# cancellation) sent and answered; the collections and the reversal in the
# ledger, the fee; the rollbacks.
#   card_command.sh CLI WEB RELAY_AGENT
set -u
. "$(dirname "$0")/cli_test_lib.sh" "$1"
web=$2
agent=$3

new_institution 41000
schema="tps_$inx"
head=(--id "h$inx" --password hpw)
org="HS$(printf '%06d' "$inx")"
sql "update quorisdex.admin_company set org_code='$org', credit_id='card$inx',
  credit_account_title='한빛카드결제', credit_month_out_limit=1000000, monthdivide='Y',
  cms_set='000000100000001' where inx=$inx"
sql "insert into $schema.member_user (username, settle_accounts, remove, cms_status, account_no,
  account_jumin, account_name, certificate_number, pay_nonpayment, card_cancel_status) values
  ('카드신규', '5', '1', '0', '4111222233334444', '2912', '카드신규', '010-1234-5678', 0, '0'),
  ('거절카드', '5', '1', '0', '9999888877776666', '2912', '', '01098765432', 0, '0'),
  ('유효오류', '5', '1', '0', '4111222233335555', '123', '유효오류', '01011112222', 0, '0'),
  ('전화오류', '5', '1', '0', '4111222233336666', '2912', '전화오류', '07012345678', 0, '0'),
  ('청구회원', '5', '1', '3', '4222333344445555', '3001', '청구회원', '01022223333', 10000, '0'),
  ('취소회원', '5', '1', '7', '4333444455556666', '3001', '취소회원', '01033334444', 0, '0')"
id_of() { sql "select member_inx+0 from $schema.member_user where username='$1'"; }
m_new=$(id_of 카드신규); m_declined=$(id_of 거절카드); m_expiry=$(id_of 유효오류)
m_phone=$(id_of 전화오류); m_bill=$(id_of 청구회원); m_cancel=$(id_of 취소회원)
sql "insert into $schema.pay_pross (userlink_inx, input_pay, paystat, signdate) values
  ($m_bill, 10000, '0', '30-03-02')"
# An approved payment of an earlier request, to be cancelled.
sql "insert into $schema.cdpay_detail (seq_num, reg_date, card_no, amount, valid_yymm, user_no,
  account_name, purchase_kind, approval_no, cancel_status, title) values
  (1, '300301', '4333444455556666', 7000, '3001', $m_cancel, '취소회원', '0', '00004321', 'N', '한빛카드')"
paid=$(sql "select cdp_inx from $schema.cdpay_detail where approval_no='00004321'")

"$web" --app-path "$app" --port 0 --log "$app/web.log" >"$app/web.out" 2>&1 &
web_pid=$!
printf 'decline-card 9999888877776666 거래정지카드\n' >"$app/rules.txt"
"$agent" --app-path "$app" --rules "$app/rules.txt" --interval 1 >"$app/agent.out" 2>&1 &
agent_pid=$!
trap 'kill $web_pid $agent_pid 2>/dev/null; rm -rf "$app"' EXIT
for _ in $(seq 100); do grep -q '^PORT=' "$app/web.out" 2>/dev/null && break; sleep 0.1; done
port=$(sed -n 's/^PORT=//p' "$app/web.out")
sed -i "s|^\[SYSTEM\]\r\?$|&\nWEBHOST=http://127.0.0.1:$port\r|" "$app/Login.ini"

# Members: the bad card data goes to state 2 and is not listed.
out=$(run "${head[@]}" card members targets); status=$?
check "member grid" 0 $status "$(printf '고객명\t상호\t이체예정일\t카드번호\t예금주명\t유효년월\t신청구분\t납부자번호\tCMS에러\tCMS상태\t카드주휴대폰\t이메일_영수증\t상품명_영수증')" "$out"
check "two listed" 0 $status "count=2" "$out"
check "mobile without dashes" 0 $status "01012345678" "$(grep -F 카드신규 <<<"$out" | cut -f11)"
check "expiry error" 0 0 "2|카드자릿수오류 또는 유효년월 오류" \
  "$(sql "select concat(cms_status,'|',cms_error) from $schema.member_user where member_inx=$m_expiry")"
check "mobile error" 0 0 "2|카드주휴대폰오류" \
  "$(sql "select concat(cms_status,'|',cms_error) from $schema.member_user where member_inx=$m_phone")"

out=$(run "${head[@]}" --answers n,n card members create --date 2020-01-01); status=$?
check "past date" 1 $status "[확인] 파일생성을 할수 없는 일자입니다.(파일일자를 재조정 합니다.)" "$out"
out=$(run "${head[@]}" --answers n,n card members create --date 2030-03-05); status=$?
check "members created" 0 $status "file=CMEM300305" "$out"
check "members closing" 0 $status "작성한 파일을 송신 하시겠습니까? -> n" "$(tr -d '\r' <<<"$out")"
check "members at 1" 0 0 "1,1" \
  "$(sql "select group_concat(cms_status order by member_inx) from $schema.member_user where member_inx in ($m_new,$m_declined)")"
out=$(run "${head[@]}" --answers n,n card members create --date 2030-03-05); status=$?
check "duplicate refused" 1 $status "[확인] 선택한 일자로 이미 파일이 생성 되었습니다. 중복생성은 할 수 없습니다." "$out"

out=$(run "${head[@]}" card send CMEM300305 --wait 30); status=$?
check "members sent" 0 $status "[확인] 파일전송을 완료 하였습니다." "$out"
for _ in $(seq 60); do
  [ "$(sql "select pross_stat from $schema.cdmem")" = "1" ] && break; sleep 0.5
done
out=$(run "${head[@]}" card members files --from 2020-01-01 --to 2031-01-01); status=$?
check "members answered" 0 $status "CMEM300305	2	0	2	1	0	1	파일처리 완료" \
  "$(grep -F CMEM300305 <<<"$out" | cut -f1-8)"
out=$(run "${head[@]}" card members detail CMEM300305 --filter failed); status=$?
check "refusal shown" 0 $status "$(printf '%010d' "$m_declined")	거래정지카드" \
  "$(grep -F 거래정지카드 <<<"$out" | cut -f4,8)"
check "member states" 0 0 "3,2" \
  "$(sql "select group_concat(cms_status order by member_inx) from $schema.member_user where member_inx in ($m_new,$m_declined)")"

# Payments: one earlier payment cancelled, the owing member billed.
out=$(run "${head[@]}" card cancel list --date 2030-03-01); status=$?
check "payment offered" 0 $status "$paid" "$(grep -F 00004321 <<<"$out" | cut -f1)"
out=$(run "${head[@]}" --answers n card cancel add "$paid"); status=$?
check "cancellation added" 0 $status "[확인] 총 '1' 건의 출금취소내역을 추가하였습니다." "$out"
out=$(run "${head[@]}" card pay targets --date 2030-03-05); status=$?
check "payment grid" 0 $status "$(printf '%010d' "$m_bill")	10000	4222333344445555	3001	출금" \
  "$(grep -F 4222333344445555 <<<"$out" | cut -f1,3,9,10,12)"
sql "update quorisdex.admin_company set credit_month_out_limit=9999 where inx=$inx"
out=$(run "${head[@]}" --answers y,n,n card pay create --date 2030-03-05); status=$?
check "limit refused" 1 $status "[확인] 해당월의 총 출금액과 현재 출금예정액의 합계가 월출금한도를 초과 하였습니다." "$out"
check "nothing written" 0 0 "0" "$(sql "select count(*) from $schema.cdpay")"
sql "update quorisdex.admin_company set credit_month_out_limit=1000000 where inx=$inx"
out=$(run "${head[@]}" --answers y,n,n card pay create --date 2030-03-05); status=$?
check "payments created" 0 $status "file=CPAY300305" "$out"
check "with the cancellation" 0 $status "cancellations=1" "$out"
check "payment written" 0 0 "C" \
  "$(sql "select cancel_status from $schema.cdpay_detail where cdp_inx=$paid")"

out=$(run "${head[@]}" card send CPAY300305 --wait 30); status=$?
check "payments sent" 0 $status "[확인] 파일전송을 완료 하였습니다." "$out"
for _ in $(seq 60); do
  [ "$(sql "select pross_stat from $schema.cdpay")" = "1" ] && break; sleep 0.5
done
out=$(run "${head[@]}" card pay files --from 2020-01-01 --to 2031-01-01); status=$?
check "payments answered" 0 $status \
  "CPAY300305	2	17000	1	10000	1	7000	10000	0	7000	0	308	9692	결과처리 완료" \
  "$(grep -F CPAY300305 <<<"$out" | cut -f1-14)"
check "collection booked" 0 0 "10000	5	7" \
  "$(sql "select p.input_pay, p.settle_code, m.cms_status from $schema.pay_pross p join $schema.member_user m on m.member_inx=p.userlink_inx where p.paystat='1' and p.settle_title='신용카드결제' and p.userlink_inx=$m_bill")"
check "reversal booked" 0 0 "-7000	3" \
  "$(sql "select p.input_pay, m.card_cancel_status from $schema.pay_pross p join $schema.member_user m on m.member_inx=p.userlink_inx where p.paystat='1' and p.userlink_inx=$m_cancel")"
out=$(run "${head[@]}" card pay detail CPAY300305); status=$?
check "detail kinds" 0 $status "출금취소" "$(grep -F 00004321 <<<"$out" | cut -f12)"

# Rollback: an applied request is refused; a new one goes back.
out=$(run "${head[@]}" rollback cpay CPAY300305 --maintenance-password wrong); status=$?
check "wrong password" 1 $status "[비밀번호 확인] 암호가 잘못되었습니다. 다시 시도하십시오" "$out"
sql "update $schema.member_user set cms_status='0' where member_inx=$m_declined"
out=$(run "${head[@]}" --answers n,n card members create --date 2030-03-06); status=$?
check "second request" 0 $status "file=CMEM300306" "$out"
out=$(run "${head[@]}" rollback cmem CMEM300305 --maintenance-password vornadesk); status=$?
check "applied not taken back" 1 $status "[확인] [CMEM300305] 결과가 적용되었거나 없는 파일이므로 롤백할 수 없습니다." "$out"
out=$(run "${head[@]}" rollback cmem CMEM300306 --maintenance-password vornadesk); status=$?
check "taken back" 0 $status "" "$out"
check "member restored" 0 0 "0" \
  "$(sql "select cms_status from $schema.member_user where member_inx=$m_declined")"
check "request gone" 0 0 "0" "$(sql "select count(*) from $schema.cdmem_detail where reg_date='300306'")"

finish

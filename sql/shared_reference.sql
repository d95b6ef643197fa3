-- Reference rows of the shared schema. Explicit keys with INSERT IGNORE, so a replay
-- adds what is missing and never overwrites a row an operator has edited.

-- Member CMS states. The withdrawal texts (6, 7, 8) contain 출금: card members see
-- 출금승인 in their place. 14 is the refused cancellation the server may set.
INSERT IGNORE INTO quorisdex.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (1, 'cmsstat', '신규', '0'),
  (2, 'cmsstat', '신규신청중', '1'),
  (3, 'cmsstat', '신규신청불능', '2'),
  (4, 'cmsstat', '신규신청완료', '3'),
  (5, 'cmsstat', '출금신청중', '6'),
  (6, 'cmsstat', '출금완료', '7'),
  (7, 'cmsstat', '출금불능', '8'),
  (8, 'cmsstat', '해지', '11'),
  (9, 'cmsstat', '해지신청중', '12'),
  (10, 'cmsstat', '해지완료', '13'),
  (11, 'cmsstat', '해지불능', '14'),
  (12, 'cmsstat', '계좌변경', '15');

-- Participating banks of the KFTC relay (3-digit codes).
INSERT IGNORE INTO quorisdex.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (101, 'bank', '산업', '002'),
  (102, 'bank', '기업', '003'),
  (103, 'bank', '국민', '004'),
  (104, 'bank', '수협', '007'),
  (105, 'bank', '농협', '011'),
  (106, 'bank', '농협(단위)', '012'),
  (107, 'bank', '우리', '020'),
  (108, 'bank', 'SC제일', '023'),
  (109, 'bank', '한국씨티', '027'),
  (110, 'bank', '수협중앙회', '030'),
  (111, 'bank', 'iM뱅크(대구)', '031'),
  (112, 'bank', '부산', '032'),
  (113, 'bank', '광주', '034'),
  (114, 'bank', '제주', '035'),
  (115, 'bank', '전북', '037'),
  (116, 'bank', '경남', '039'),
  (117, 'bank', '새마을금고', '045'),
  (118, 'bank', '신협', '048'),
  (119, 'bank', '저축은행', '050'),
  (120, 'bank', '산림조합', '064'),
  (121, 'bank', '우체국', '071'),
  (122, 'bank', '하나', '081'),
  (123, 'bank', '신한', '088'),
  (124, 'bank', '케이뱅크', '089'),
  (125, 'bank', '카카오뱅크', '090'),
  (126, 'bank', '토스뱅크', '092'),
  (127, 'bank', '유안타증권', '209'),
  (128, 'bank', 'KB증권', '218'),
  (129, 'bank', '미래에셋증권', '238'),
  (130, 'bank', '삼성증권', '240'),
  (131, 'bank', '한국투자증권', '243'),
  (132, 'bank', 'NH투자증권', '247'),
  (133, 'bank', '키움증권', '264'),
  (134, 'bank', '대신증권', '267'),
  (135, 'bank', '하나증권', '270'),
  (136, 'bank', '신한투자증권', '278');

-- The same banks as listed by the Hyosung relay (relay prefix bank2).
INSERT IGNORE INTO quorisdex.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (201, 'bank2', '산업', '002'),
  (202, 'bank2', '기업', '003'),
  (203, 'bank2', '국민', '004'),
  (204, 'bank2', '수협', '007'),
  (205, 'bank2', '농협', '011'),
  (206, 'bank2', '농협(단위)', '012'),
  (207, 'bank2', '우리', '020'),
  (208, 'bank2', 'SC제일', '023'),
  (209, 'bank2', '한국씨티', '027'),
  (210, 'bank2', '수협중앙회', '030'),
  (211, 'bank2', 'iM뱅크(대구)', '031'),
  (212, 'bank2', '부산', '032'),
  (213, 'bank2', '광주', '034'),
  (214, 'bank2', '제주', '035'),
  (215, 'bank2', '전북', '037'),
  (216, 'bank2', '경남', '039'),
  (217, 'bank2', '새마을금고', '045'),
  (218, 'bank2', '신협', '048'),
  (219, 'bank2', '저축은행', '050'),
  (220, 'bank2', '산림조합', '064'),
  (221, 'bank2', '우체국', '071'),
  (222, 'bank2', '하나', '081'),
  (223, 'bank2', '신한', '088'),
  (224, 'bank2', '케이뱅크', '089'),
  (225, 'bank2', '카카오뱅크', '090'),
  (226, 'bank2', '토스뱅크', '092'),
  (227, 'bank2', '유안타증권', '209'),
  (228, 'bank2', 'KB증권', '218'),
  (229, 'bank2', '미래에셋증권', '238'),
  (230, 'bank2', '삼성증권', '240'),
  (231, 'bank2', '한국투자증권', '243'),
  (232, 'bank2', 'NH투자증권', '247'),
  (233, 'bank2', '키움증권', '264'),
  (234, 'bank2', '대신증권', '267'),
  (235, 'bank2', '하나증권', '270'),
  (236, 'bank2', '신한투자증권', '278');

-- Card issuers.
INSERT IGNORE INTO quorisdex.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (301, 'creditcard', 'BC카드', '01'),
  (302, 'creditcard', 'KB국민카드', '02'),
  (303, 'creditcard', '하나카드', '03'),
  (304, 'creditcard', '삼성카드', '04'),
  (305, 'creditcard', '신한카드', '06'),
  (306, 'creditcard', '현대카드', '07'),
  (307, 'creditcard', '롯데카드', '08'),
  (308, 'creditcard', '씨티카드', '11'),
  (309, 'creditcard', 'NH농협카드', '12'),
  (310, 'creditcard', '수협카드', '13'),
  (311, 'creditcard', '우리카드', '15'),
  (312, 'creditcard', '광주카드', '21'),
  (313, 'creditcard', '전북카드', '22'),
  (314, 'creditcard', '제주카드', '23');

-- Legal forms of a payer.
INSERT IGNORE INTO quorisdex.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (401, 'lawcode', '개인', '1'),
  (402, 'lawcode', '개인사업자', '2'),
  (403, 'lawcode', '법인사업자', '3'),
  (404, 'lawcode', '비영리법인·단체', '4'),
  (405, 'lawcode', '국가기관·지방자치단체', '5');

-- Bank holidays on weekdays and weekends alike (weekends are closed anyway).
-- Substitute days: Seollal and Chuseok only when they meet a Sunday or another holiday,
-- the national days, Children Day, Buddha Birthday and Christmas when they meet a weekend.
-- 05-01 and 12-31 are not public holidays but banks are closed and debits are not run.
INSERT IGNORE INTO quorisdex.holiday (`inday`, `holiname`) VALUES
  ('2026-01-01', '신정'),
  ('2026-02-16', '설날 연휴'),
  ('2026-02-17', '설날'),
  ('2026-02-18', '설날 연휴'),
  ('2026-03-01', '삼일절'),
  ('2026-03-02', '삼일절 대체공휴일'),
  ('2026-05-01', '근로자의날(은행휴무)'),
  ('2026-05-05', '어린이날'),
  ('2026-05-24', '부처님오신날'),
  ('2026-05-25', '부처님오신날 대체공휴일'),
  ('2026-06-03', '전국동시지방선거일'),
  ('2026-06-06', '현충일'),
  ('2026-08-15', '광복절'),
  ('2026-08-17', '광복절 대체공휴일'),
  ('2026-09-24', '추석 연휴'),
  ('2026-09-25', '추석'),
  ('2026-09-26', '추석 연휴'),
  ('2026-10-03', '개천절'),
  ('2026-10-05', '개천절 대체공휴일'),
  ('2026-10-09', '한글날'),
  ('2026-12-25', '성탄절'),
  ('2026-12-31', '연말 은행휴무'),
  ('2027-01-01', '신정'),
  ('2027-02-06', '설날 연휴'),
  ('2027-02-07', '설날'),
  ('2027-02-08', '설날 연휴'),
  ('2027-02-09', '설날 대체공휴일'),
  ('2027-03-01', '삼일절'),
  ('2027-05-01', '근로자의날(은행휴무)'),
  ('2027-05-05', '어린이날'),
  ('2027-05-13', '부처님오신날'),
  ('2027-06-06', '현충일'),
  ('2027-08-15', '광복절'),
  ('2027-08-16', '광복절 대체공휴일'),
  ('2027-09-14', '추석 연휴'),
  ('2027-09-15', '추석'),
  ('2027-09-16', '추석 연휴'),
  ('2027-10-03', '개천절'),
  ('2027-10-04', '개천절 대체공휴일'),
  ('2027-10-09', '한글날'),
  ('2027-10-11', '한글날 대체공휴일'),
  ('2027-12-25', '성탄절'),
  ('2027-12-27', '성탄절 대체공휴일'),
  ('2027-12-31', '연말 은행휴무');

-- Result codes of registration (EB14, EB12) and withdrawal (EB22) records.
-- A-codes: refusals of a registration or of a record that is not registered,
-- D-codes: clearing-house side failures; 0xxx: answers of the paying bank.
INSERT IGNORE INTO quorisdex.error_code (`code`, `errtext`) VALUES
  ('0000', '정상처리'),
  ('0011', '잔액부족'),
  ('0012', '출금한도 초과'),
  ('0013', '계좌번호 오류(해당계좌 없음)'),
  ('0014', '해지된 계좌'),
  ('0015', '예금주 실명번호 불일치'),
  ('0016', '압류·가압류 계좌'),
  ('0017', '법적 지급정지 계좌'),
  ('0018', '출금이체 미신청 계좌'),
  ('0019', '출금이체 해지 계좌'),
  ('0021', '통장 분실·도난 신고 계좌'),
  ('0022', '예금주 사망'),
  ('0023', '휴면계좌'),
  ('0024', '비실명·가명 계좌'),
  ('0025', '장기미사용 거래중지 계좌'),
  ('0061', '납부자번호 오류'),
  ('0062', '이용기관코드 오류'),
  ('0068', '출금일자 오류'),
  ('0075', '출금금액 오류'),
  ('0081', '이중 출금의뢰'),
  ('0087', '은행코드 오류'),
  ('0088', '파일 형식 오류'),
  ('0089', '레코드 형식 오류'),
  ('0090', '처리기한 경과'),
  ('0096', '금융기관 전산장애'),
  ('0098', '금융기관 미처리'),
  ('9999', '기타 오류'),
  ('A001', '계좌번호 오류'),
  ('A002', '예금주 실명번호 불일치'),
  ('A003', '해지된 계좌'),
  ('A004', '등록불가 계좌(법적 제한)'),
  ('A005', '기 등록된 계좌'),
  ('A006', '등록되지 않은 계좌(해지불가)'),
  ('A007', '출금동의 증빙자료 미제출'),
  ('A012', '출금이체 미등록 납부자번호'),
  ('A013', '이용기관 접수불가(납부자 정보 불일치)'),
  ('A017', '삭제된 납부자번호'),
  ('D096', '금융결제원 전산장애'),
  ('D098', '금융결제원 미처리');

-- Representative codes (branch part 0000) of the main banks.
INSERT IGNORE INTO quorisdex.bank_branch (`bankcode`, `bankname`) VALUES
  ('0020000', '한국산업은행'),
  ('0030000', 'IBK기업은행'),
  ('0040000', 'KB국민은행'),
  ('0070000', 'Sh수협은행'),
  ('0110000', 'NH농협은행'),
  ('0120000', '지역농축협'),
  ('0200000', '우리은행'),
  ('0230000', 'SC제일은행'),
  ('0710000', '우체국'),
  ('0810000', '하나은행'),
  ('0880000', '신한은행'),
  ('0900000', '카카오뱅크');

-- Real-time account service answers.
INSERT IGNORE INTO quorisdex.addservice_code (`rescode`, `restext`, `resdetail`, `sel`, `register`, `fee`) VALUES
  ('0000', '정상처리', '요청이 정상 처리되었습니다.', 'Y', 'Y', 'Y'),
  ('0013', '계좌번호 오류', '해당 계좌가 없습니다. 은행과 계좌번호를 확인하십시오.', 'N', 'N', 'Y'),
  ('0014', '해지된 계좌', '해지된 계좌는 출금이체를 신청할 수 없습니다.', 'N', 'N', 'Y'),
  ('0015', '예금주 실명번호 불일치', '예금주 생년월일 또는 사업자번호를 확인하십시오.', 'N', 'N', 'Y'),
  ('0016', '기 등록된 출금이체 계좌', '이미 출금이체가 등록된 계좌입니다.', 'N', 'Y', 'Y'),
  ('0017', '출금동의자료 미수신', '출금동의자료가 접수되지 않아 등록할 수 없습니다.', 'N', 'N', 'N'),
  ('0018', '출금이체 미신청 계좌', '출금이체가 등록되지 않은 계좌는 해지할 수 없습니다.', 'N', 'N', 'Y'),
  ('0096', '금융기관 전산장애', '은행 전산장애로 처리하지 못했습니다. 잠시 후 다시 요청하십시오.', 'N', 'N', 'N'),
  ('9999', '기타 오류', '처리하지 못했습니다. 고객센터로 문의하십시오.', 'N', 'N', 'N');

-- Shared template texts for bills, kept under their own code so that no institution
-- picks them up as its current set.
INSERT IGNORE INTO quorisdex.cash_title (`inx`, `prg_code`, `title1`, `title2`, `title3`, `title4`) VALUES
  (1, 'TEMPLATE', '청구서', '아래와 같이 청구하오니 납부하여 주시기 바랍니다.', '자동이체 출금일 전일까지 통장 잔액을 확인하여 주십시오.', '문의사항은 담당자에게 연락 주시기 바랍니다.'),
  (2, 'TEMPLATE', '회비 납부 안내', '이번 달 회비 납부 내역을 알려 드립니다.', '미납금액이 있는 경우 다음 출금일에 함께 청구됩니다.', '항상 함께해 주셔서 감사합니다.');

-- Donation types of the year-end tax settlement.
INSERT IGNORE INTO quorisdex.donation_regulations (`dr_inx`, `dr_code`, `dr_title`, `dr_law`, `dr_use`) VALUES
  (1, '10', '특례기부금', '소득세법 제34조제2항제1호', 'Y'),
  (2, '20', '정치자금기부금', '조세특례제한법 제76조', 'Y'),
  (3, '40', '일반기부금(종교단체 외)', '소득세법 제34조제3항제1호', 'Y'),
  (4, '41', '일반기부금(종교단체)', '소득세법 제34조제3항제1호', 'Y'),
  (5, '42', '우리사주조합기부금', '조세특례제한법 제88조의4제13항', 'Y');

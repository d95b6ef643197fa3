-- Schema of one institution. The loader replaces {schema} with tps_<inx>.
-- Every statement is safe to run again: init-db replays this file.
-- Unless a column says otherwise, text defaults to the empty text and numbers to 0.

CREATE DATABASE IF NOT EXISTS {schema}
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

-- Members. member_inx is the payer number written into every CMS file; numbers from
-- 9000000000 on are issued only after the reserved bank-receipt row exists.
CREATE TABLE IF NOT EXISTS {schema}.member_user (
  `member_inx` bigint(10) unsigned zerofill NOT NULL AUTO_INCREMENT,
  `ext_key` varchar(32) DEFAULT '',
  `branch_inx` int(5) DEFAULT 0,
  `agency_inx` int(5) DEFAULT 0,
  `client_manager` varchar(32) DEFAULT '',
  `client_info1` varchar(32) DEFAULT '',
  `client_info2` varchar(32) DEFAULT '',
  `client_info3` varchar(32) DEFAULT '',
  `client_info4` varchar(32) DEFAULT '',
  `client_info5` varchar(32) DEFAULT '',
  `client_info6` varchar(32) DEFAULT '',
  `client_company` varchar(32) DEFAULT '',
  `president` varchar(32) DEFAULT '',
  `company_number` varchar(20) DEFAULT '',
  `jumin` varchar(16) DEFAULT '',
  `business_condition` varchar(60) DEFAULT '',
  `industry` varchar(60) DEFAULT '',
  `username` varchar(32) DEFAULT '',
  `zipcode` varchar(7) DEFAULT '',
  `address` varchar(60) DEFAULT '',
  `addressDetail` varchar(60) DEFAULT '',
  `tel` varchar(14) DEFAULT '',
  `fax` varchar(14) DEFAULT '',
  `private_tel` varchar(14) DEFAULT '',
  `comment` varchar(255) DEFAULT '',
  `user_email` varchar(30) DEFAULT '',
  `signdate` int(10) unsigned NOT NULL DEFAULT 0,
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `account_name` varchar(32) DEFAULT '',
  `account_jumin` varchar(16) DEFAULT '',
  `start_date` varchar(7) DEFAULT '',
  `remove` char(1) DEFAULT '1',
  `cms_status` varchar(2) DEFAULT '0',
  `cms_error` varchar(250) DEFAULT '',
  `pay_nonpayment` bigint(20) DEFAULT 0,
  `total_prosspay` bigint(20) DEFAULT 0,
  `total_payment` bigint(20) DEFAULT 0,
  `userdate` varchar(9) DEFAULT '',
  `cms_printkey` char(1) NOT NULL DEFAULT '0',
  `payday` int(2) DEFAULT 0,
  `inday` int(2) DEFAULT 0,
  `pay_monthdefault` int(11) DEFAULT 0,
  `pay_agreement` int(11) DEFAULT 0,
  `pay_prossagreement` int(11) DEFAULT 0,
  `settle_accounts` varchar(2) DEFAULT '1',
  `account_divide` char(1) DEFAULT '1',
  `p_tax` char(1) DEFAULT '0',
  `p_seday` varchar(6) DEFAULT '',
  `virtual_bank` varchar(4) DEFAULT '',
  `virtual_no` varchar(16) DEFAULT '',
  `virtual_code` varchar(12) DEFAULT '',
  `month_max` int(11) DEFAULT 0,
  `nownonpay` bigint(20) DEFAULT 0,
  `certificate_kind` varchar(1) DEFAULT '0',
  `certificate_number` varchar(16) DEFAULT '',
  `certificate_status` varchar(1) DEFAULT '0',
  `certificate_error` text DEFAULT '',
  `cash_receipt_info` varchar(20) DEFAULT '',
  `cms_agree_status` char(1) DEFAULT '0',
  `card_cancel_status` char(1) DEFAULT '0',
  `pmserror` varchar(255) DEFAULT '',
  `ui_name` varchar(64) DEFAULT '',
  `ui_stan` varchar(64) DEFAULT '',
  `ui_cnt` int(11) DEFAULT 0,
  `ui_pay` int(11) DEFAULT 1000,
  `ui_payment` int(11) DEFAULT 0,
  PRIMARY KEY (`member_inx`),
  KEY `user` (`remove`),
  KEY `ext_key` (`ext_key`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Ledger: paystat 0 sale, 1 collection; signdate is yy-mm-dd text.
CREATE TABLE IF NOT EXISTS {schema}.pay_pross (
  `pay_inx` bigint(20) unsigned NOT NULL AUTO_INCREMENT,
  `userlink_inx` bigint(10) DEFAULT 0,
  `userbrlink_inx` int(5) DEFAULT 0,
  `input_pay` bigint(20) DEFAULT 0,
  `pros_nonpayment` bigint(20) DEFAULT 0,
  `paystat` char(1) DEFAULT '0',
  `settle_code` varchar(2) DEFAULT '',
  `settle_title` varchar(32) DEFAULT '',
  `signdate` varchar(8) DEFAULT '',
  `memo` varchar(60) DEFAULT '',
  `regdate` int(10) unsigned DEFAULT 0,
  `pay_prossag` bigint(20) DEFAULT 0,
  `item_name` varchar(64) DEFAULT '',
  `item_stan` varchar(64) DEFAULT '',
  `item_cnt` int(11) DEFAULT 1,
  `addmuskey` int(10) DEFAULT 0,
  `addkey` int(10) unsigned DEFAULT 0,
  PRIMARY KEY (`pay_inx`),
  KEY `userlink_inx` (`userlink_inx`, `paystat`),
  KEY `signdate` (`signdate`),
  KEY `addmuskey` (`addmuskey`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Processing log; prostxt keeps the operation text with quotes already replaced.
CREATE TABLE IF NOT EXISTS {schema}.pross_log (
  `pross_inx` bigint(20) unsigned NOT NULL AUTO_INCREMENT,
  `regdate` int(10) unsigned DEFAULT 0,
  `prosnum` int(3) DEFAULT 0,
  `prostxt` text DEFAULT '',
  PRIMARY KEY (`pross_inx`),
  KEY `regdate` (`regdate`),
  KEY `prosnum` (`prosnum`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- The institution code lists: settleacnt, tallysheet, c_info.
CREATE TABLE IF NOT EXISTS {schema}.comboload (
  `cboinx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `combodivide` varchar(32) NOT NULL DEFAULT '',
  `combotext` varchar(64) NOT NULL DEFAULT '',
  `combodata` varchar(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`cboinx`),
  KEY `combodivide` (`combodivide`, `combodata`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Member history notes; ilstat 1 to do, 2 in progress, 3 done.
CREATE TABLE IF NOT EXISTS {schema}.iltable (
  `ilkey` bigint(10) unsigned zerofill NOT NULL AUTO_INCREMENT,
  `illinkinx` bigint(10) DEFAULT 0,
  `usrname` varchar(32) DEFAULT '',
  `ildate` varchar(16) DEFAULT '',
  `ilcombo` varchar(128) DEFAULT '',
  `ilsang` text DEFAULT '',
  `ilstat` char(1) DEFAULT '1',
  PRIMARY KEY (`ilkey`),
  KEY `illinkinx` (`illinkinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Extra member fields; row 1 (extlinkinx 0) holds the captions.
CREATE TABLE IF NOT EXISTS {schema}.iltable_ext (
  `extkey` bigint(10) unsigned NOT NULL AUTO_INCREMENT,
  `extlinkinx` bigint(10) DEFAULT 0,
  `extcbo1` varchar(32) DEFAULT '',
  `extcbo2` varchar(32) DEFAULT '',
  `extcbo3` varchar(32) DEFAULT '',
  `extcbo4` varchar(32) DEFAULT '',
  `ext1` varchar(32) DEFAULT '',
  `ext2` varchar(32) DEFAULT '',
  `ext3` varchar(32) DEFAULT '',
  `ext4` varchar(32) DEFAULT '',
  `ext5` varchar(32) DEFAULT '',
  `ext6` varchar(32) DEFAULT '',
  `ext7` varchar(32) DEFAULT '',
  `ext8` varchar(32) DEFAULT '',
  `ext9` varchar(32) DEFAULT '',
  `ext10` varchar(32) DEFAULT '',
  `ext11` varchar(32) DEFAULT '',
  `ext12` varchar(32) DEFAULT '',
  PRIMARY KEY (`extkey`),
  KEY `extlinkinx` (`extlinkinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Item catalogue. item_agreement is the instalment total for instalment items and the
-- number of months for period items. Deleted items stay with remove_item Y.
CREATE TABLE IF NOT EXISTS {schema}.item (
  `item_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `item_name` varchar(64) DEFAULT '',
  `item_stan` varchar(64) DEFAULT '',
  `item_pay` int(11) DEFAULT 0,
  `item_tax` int(11) DEFAULT 0,
  `item_agreement` int(11) DEFAULT 0,
  `item_memo` varchar(255) DEFAULT '',
  `item_saleday` int(2) DEFAULT 0,
  `item_collday` int(2) DEFAULT 0,
  `settle_accounts` varchar(2) DEFAULT '1',
  `account_divide` char(1) DEFAULT '1',
  `p_tax` char(1) DEFAULT '0',
  `remove_item` char(1) DEFAULT 'N',
  PRIMARY KEY (`item_inx`),
  KEY `remove_item` (`remove_item`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Items of each member; ui_payment is the amount billed per sale.
CREATE TABLE IF NOT EXISTS {schema}.user_item (
  `ui_inx` bigint(20) unsigned NOT NULL AUTO_INCREMENT,
  `ui_perinx` bigint(10) DEFAULT 0,
  `ui_name` varchar(64) DEFAULT '',
  `ui_pay` int(11) DEFAULT 0,
  `ui_cnt` int(11) DEFAULT 1,
  `ui_payment` int(11) DEFAULT 0,
  `ui_stan` varchar(64) DEFAULT '',
  PRIMARY KEY (`ui_inx`),
  KEY `ui_perinx` (`ui_perinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Payer number written in CMS files for institutions with their own numbering.
CREATE TABLE IF NOT EXISTS {schema}.cmsinx_list (
  `cl_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `cl_meminx` bigint(10) DEFAULT 0,
  `cl_cmsinx` varchar(20) DEFAULT '',
  PRIMARY KEY (`cl_inx`),
  KEY `cl_meminx` (`cl_meminx`),
  KEY `cl_cmsinx` (`cl_cmsinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Batch sale rows, one per member item and run. The amount may be NULL for a member
-- without items, which the error marks then report.
-- add_errcode holds two characters while a cancellation sets rows of other branches aside.
CREATE TABLE IF NOT EXISTS {schema}.payadd (
  `payadd_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `add_usrnum` bigint(10) DEFAULT 0,
  `create_date` varchar(8) DEFAULT '',
  `add_runkey` int(10) DEFAULT 0,
  `add_startdate` varchar(7) DEFAULT '',
  `add_accountdivide` char(1) DEFAULT '',
  `add_monthdefault` bigint(20) DEFAULT 0,
  `add_nonpayment` bigint(20) DEFAULT 0,
  `add_agreement` bigint(20) DEFAULT 0,
  `add_prossagreement` bigint(20) DEFAULT 0,
  `add_create` int(10) unsigned DEFAULT 0,
  `item_name` varchar(64) DEFAULT '',
  `item_stan` varchar(64) DEFAULT '',
  `item_cnt` int(11) DEFAULT 0,
  `add_err` varchar(255) DEFAULT '',
  `add_errcode` varchar(2) DEFAULT '0',
  PRIMARY KEY (`payadd_inx`),
  KEY `add_runkey` (`add_runkey`),
  KEY `add_usrnum` (`add_usrnum`),
  KEY `create_date` (`create_date`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Batch collection rows, the same layout as the batch sale rows.
CREATE TABLE IF NOT EXISTS {schema}.paymus (
  `payadd_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `add_usrnum` bigint(10) DEFAULT 0,
  `create_date` varchar(8) DEFAULT '',
  `add_runkey` int(10) DEFAULT 0,
  `add_startdate` varchar(7) DEFAULT '',
  `add_accountdivide` char(1) DEFAULT '',
  `add_monthdefault` bigint(20) DEFAULT 0,
  `add_nonpayment` bigint(20) DEFAULT 0,
  `add_agreement` bigint(20) DEFAULT 0,
  `add_prossagreement` bigint(20) DEFAULT 0,
  `add_create` int(10) unsigned DEFAULT 0,
  `item_name` varchar(64) DEFAULT '',
  `item_stan` varchar(64) DEFAULT '',
  `item_cnt` int(11) DEFAULT 0,
  `add_err` varchar(255) DEFAULT '',
  `add_errcode` varchar(2) DEFAULT '0',
  PRIMARY KEY (`payadd_inx`),
  KEY `add_runkey` (`add_runkey`),
  KEY `add_usrnum` (`add_usrnum`),
  KEY `create_date` (`create_date`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Billable items prepared for a withdrawal file; repmon 0 regular, 1 unpaid.
CREATE TABLE IF NOT EXISTS {schema}.newpay (
  `tbinx` bigint(10) NOT NULL AUTO_INCREMENT,
  `userinx` bigint(10) DEFAULT 0,
  `rep_day` varchar(8) DEFAULT '',
  `firstpay` int(11) DEFAULT 0,
  `addcount` int(11) DEFAULT 0,
  `repmon` char(1) DEFAULT '0',
  PRIMARY KEY (`tbinx`),
  KEY `userinx` (`userinx`),
  KEY `repmon` (`repmon`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Merged billable items for the billing methods that sum regular and unpaid apart.
CREATE TABLE IF NOT EXISTS {schema}.newpay2 (
  `tbinx` bigint(10) NOT NULL AUTO_INCREMENT,
  `userinx` bigint(10) DEFAULT 0,
  `rep_day` varchar(8) DEFAULT '',
  `firstpay` int(11) DEFAULT 0,
  `addcount` int(11) DEFAULT 0,
  `repmon` char(1) DEFAULT '0',
  PRIMARY KEY (`tbinx`),
  KEY `userinx` (`userinx`),
  KEY `repmon` (`repmon`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Monthly sales (sg) and collections (st) of one year per member, for the annual report.
CREATE TABLE IF NOT EXISTS {schema}.monthdiv (
  `member_inx` bigint(10) NOT NULL,
  `sg1` bigint(20) DEFAULT 0,
  `sg2` bigint(20) DEFAULT 0,
  `sg3` bigint(20) DEFAULT 0,
  `sg4` bigint(20) DEFAULT 0,
  `sg5` bigint(20) DEFAULT 0,
  `sg6` bigint(20) DEFAULT 0,
  `sg7` bigint(20) DEFAULT 0,
  `sg8` bigint(20) DEFAULT 0,
  `sg9` bigint(20) DEFAULT 0,
  `sg10` bigint(20) DEFAULT 0,
  `sg11` bigint(20) DEFAULT 0,
  `sg12` bigint(20) DEFAULT 0,
  `st1` bigint(20) DEFAULT 0,
  `st2` bigint(20) DEFAULT 0,
  `st3` bigint(20) DEFAULT 0,
  `st4` bigint(20) DEFAULT 0,
  `st5` bigint(20) DEFAULT 0,
  `st6` bigint(20) DEFAULT 0,
  `st7` bigint(20) DEFAULT 0,
  `st8` bigint(20) DEFAULT 0,
  `st9` bigint(20) DEFAULT 0,
  `st10` bigint(20) DEFAULT 0,
  `st11` bigint(20) DEFAULT 0,
  `st12` bigint(20) DEFAULT 0,
  PRIMARY KEY (`member_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EB13 files. pross_stat 0 created, 9 result being applied, 1 applied,
-- send_stat 0, 1, 2, 4, 5 as kept by the transmission.
CREATE TABLE IF NOT EXISTS {schema}.ea13 (
  `ea13_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `create_cnt` int(11) DEFAULT 0,
  `delete_cnt` int(11) DEFAULT 0,
  `total_cnt` int(11) DEFAULT 0,
  `createok_cnt` int(11) DEFAULT 0,
  `deleteok_cnt` int(11) DEFAULT 0,
  `false_cnt` int(11) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  `send_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`ea13_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EB13 records; reg_date YYMMDD ties them to their file, oldcms_status allows rollback.
CREATE TABLE IF NOT EXISTS {schema}.file_ea13 (
  `ea13_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `reg_kind` char(1) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `id_no` varchar(16) DEFAULT '',
  `account_name` varchar(32) DEFAULT '',
  `oldcms_status` varchar(2) DEFAULT '',
  `user_phone` varchar(16) DEFAULT '',
  `certifi_kind` char(1) DEFAULT '',
  `result` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  `certifi_result` char(1) DEFAULT '',
  `certifi_errmsg` varchar(255) DEFAULT '',
  `rp_err` varchar(100) DEFAULT '',
  PRIMARY KEY (`ea13_inx`),
  KEY `reg_date` (`reg_date`, `seq_num`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Refused EB14 records handed to the server that applies the result.
CREATE TABLE IF NOT EXISTS {schema}.file_ea13_run (
  `seq_num` int(8) NOT NULL,
  `result` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  PRIMARY KEY (`seq_num`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EB21 files. The commissions are per-item fees on creation and amounts once applied.
CREATE TABLE IF NOT EXISTS {schema}.ea21 (
  `ea21_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `total_cnt` int(11) DEFAULT 0,
  `total_money` bigint(20) DEFAULT 0,
  `ok_commission` bigint(20) DEFAULT 0,
  `false_commission` bigint(20) DEFAULT 0,
  `rtnok_money` bigint(20) DEFAULT 0,
  `rtnfalse_money` bigint(20) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  `send_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`ea21_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EB21 requests; result blank withdrawn, N refused, P partly withdrawn (div_amount).
CREATE TABLE IF NOT EXISTS {schema}.file_ea21 (
  `ea21_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `amount` bigint(13) DEFAULT 0,
  `id_no` varchar(16) DEFAULT '',
  `title` varchar(16) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `money_kind` char(2) DEFAULT '',
  `result` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  `rp_err` varchar(30) DEFAULT '',
  `result_pay` int(4) DEFAULT 0,
  `amount_kind` char(1) DEFAULT '2',
  `oldcms_status` char(2) DEFAULT '',
  `div_amount` bigint(13) DEFAULT 0,
  `user_phone` varchar(16) DEFAULT '',
  `cash_rcpt_info` varchar(20) DEFAULT '',
  PRIMARY KEY (`ea21_inx`),
  KEY `reg_date` (`reg_date`, `seq_num`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EB22 results staged for the server, one row per request answered.
CREATE TABLE IF NOT EXISTS {schema}.file_ea21_run (
  `seq_num` int(8) NOT NULL,
  `result` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  `div_amount` bigint(13) DEFAULT 0,
  PRIMARY KEY (`seq_num`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EB11 records received from the banks with their outcome. user_no keeps the payer
-- number as received, which may not be numeric. pross_stat turns 1 once the EB12 is sent.
CREATE TABLE IF NOT EXISTS {schema}.file_ea11 (
  `ea11_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `reg_kind` char(1) DEFAULT '',
  `user_no` varchar(20) DEFAULT '',
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `id_no` varchar(16) DEFAULT '',
  `money_kind` char(2) DEFAULT '',
  `result` varchar(100) DEFAULT '',
  `user_phone` varchar(12) DEFAULT '',
  `result_char` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  `pros_date` varchar(8) DEFAULT '',
  `file_orig_msg` varchar(150) DEFAULT '',
  `mac_value` varchar(10) DEFAULT '',
  `pross_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`ea11_inx`),
  KEY `reg_date` (`reg_date`, `pross_stat`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- EI13 agreement-evidence files.
CREATE TABLE IF NOT EXISTS {schema}.ei13 (
  `ei13_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `total_cnt` int(11) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  `send_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`ei13_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Members packed into an EI13 file; sign_date is the agreement date yyyymmdd.
CREATE TABLE IF NOT EXISTS {schema}.file_ei13 (
  `ei13_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `sign_date` varchar(8) DEFAULT '',
  PRIMARY KEY (`ei13_inx`),
  KEY `reg_date` (`reg_date`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Card member requests (CMEM + YYMMDD); results are applied by the card relay.
CREATE TABLE IF NOT EXISTS {schema}.cdmem (
  `cdmem_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `create_cnt` int(11) DEFAULT 0,
  `delete_cnt` int(11) DEFAULT 0,
  `total_cnt` int(11) DEFAULT 0,
  `createok_cnt` int(11) DEFAULT 0,
  `deleteok_cnt` int(11) DEFAULT 0,
  `false_cnt` int(11) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`cdmem_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS {schema}.cdmem_detail (
  `cdm_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `reg_kind` char(1) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `account_name` varchar(32) DEFAULT '',
  `card_no` varchar(16) DEFAULT '',
  `valid_yymm` varchar(4) DEFAULT '',
  `oldcms_status` varchar(2) DEFAULT '',
  `user_phone` varchar(16) DEFAULT '',
  `user_email` varchar(64) DEFAULT '',
  `goods_name` varchar(30) DEFAULT '',
  `result` char(1) DEFAULT '',
  `rp_err` varchar(100) DEFAULT '',
  PRIMARY KEY (`cdm_inx`),
  KEY `reg_date` (`reg_date`, `seq_num`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Card payment requests (CPAY + YYMMDD) with payments and cancellations.
CREATE TABLE IF NOT EXISTS {schema}.cdpay (
  `cdpay_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `total_cnt` int(11) DEFAULT 0,
  `total_money` bigint(20) DEFAULT 0,
  `sale_cnt` int(11) DEFAULT 0,
  `sale_money` bigint(20) DEFAULT 0,
  `cancel_cnt` int(11) DEFAULT 0,
  `cancel_money` bigint(20) DEFAULT 0,
  `commission` bigint(20) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  `rtnok_money` bigint(20) DEFAULT 0,
  `rtnfalse_money` bigint(20) DEFAULT 0,
  `cancel_rtnok_money` bigint(20) DEFAULT 0,
  `cancel_rtnfalse_money` bigint(20) DEFAULT 0,
  PRIMARY KEY (`cdpay_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- purchase_kind 0 payment, 1 cancellation of the payment cancel_cdp_inx (0 = none),
-- cancel_status N, Y scheduled, C written into a request.
CREATE TABLE IF NOT EXISTS {schema}.cdpay_detail (
  `cdp_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `card_no` varchar(16) DEFAULT '',
  `amount` bigint(13) DEFAULT 0,
  `valid_yymm` varchar(4) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `account_name` varchar(32) DEFAULT '',
  `purchase_kind` char(1) DEFAULT '0',
  `oldcms_status` varchar(2) DEFAULT '',
  `title` varchar(16) DEFAULT '',
  `oldcard_cancel_status` char(1) DEFAULT '0',
  `approval_no` varchar(16) DEFAULT '',
  `cancel_status` char(1) DEFAULT 'N',
  `cancel_cdp_inx` int(10) unsigned DEFAULT 0,
  `cancel_date` varchar(8) DEFAULT '',
  `result` char(1) DEFAULT '',
  `rp_err` varchar(100) DEFAULT '',
  PRIMARY KEY (`cdp_inx`),
  KEY `reg_date` (`reg_date`, `seq_num`),
  KEY `user_no` (`user_no`),
  KEY `cancel_status` (`cancel_status`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Applied OCR giro receipt files, one row per file.
CREATE TABLE IF NOT EXISTS {schema}.gr15 (
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` char(25) NOT NULL,
  `a_cnt` bigint(14) DEFAULT 0,
  `a_money` bigint(14) DEFAULT 0,
  `a_commi` bigint(14) DEFAULT 0,
  `a_fmoney` bigint(14) DEFAULT 0,
  `total_money` bigint(14) DEFAULT 0,
  PRIMARY KEY (`filename`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Giro receipts; su_stat blank booked, R and A shown only, X not matched (su_err).
-- filename ties each row to the file it came with (gr15.filename).
CREATE TABLE IF NOT EXISTS {schema}.file_gr15 (
  `ea15_inx` int(10) unsigned zerofill NOT NULL AUTO_INCREMENT,
  `seq_num` int(7) DEFAULT 0,
  `wondate` varchar(8) DEFAULT '',
  `filedate` varchar(8) DEFAULT '',
  `bank_code` varchar(7) DEFAULT '',
  `bank_code_ext` varchar(7) DEFAULT '',
  `giro_idx` varchar(12) DEFAULT '',
  `giro_no` varchar(20) DEFAULT '',
  `amount` bigint(13) DEFAULT 0,
  `su_title` varchar(32) DEFAULT '',
  `su_commi` int(10) DEFAULT 0,
  `su_stat` char(1) DEFAULT '',
  `su_err` varchar(64) DEFAULT '',
  `lnk_inx` bigint(10) DEFAULT 0,
  `filename` char(25) DEFAULT '',
  PRIMARY KEY (`ea15_inx`),
  KEY `filename` (`filename`),
  KEY `filedate` (`filedate`),
  KEY `giro_no` (`giro_no`),
  KEY `lnk_inx` (`lnk_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Phone-payment registration files, shaped like the EB13 tables. For these members
-- bank_code holds the carrier, account_no the telephone number and id_no the
-- resident number of the line holder.
CREATE TABLE IF NOT EXISTS {schema}.phn13 (
  `phn13_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `create_cnt` int(11) DEFAULT 0,
  `delete_cnt` int(11) DEFAULT 0,
  `total_cnt` int(11) DEFAULT 0,
  `createok_cnt` int(11) DEFAULT 0,
  `deleteok_cnt` int(11) DEFAULT 0,
  `false_cnt` int(11) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  `send_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`phn13_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS {schema}.file_phn13 (
  `phn13_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `reg_kind` char(1) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `account_name` varchar(32) DEFAULT '',
  `id_no` varchar(16) DEFAULT '',
  `oldcms_status` varchar(2) DEFAULT '',
  `result` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  `rp_err` varchar(100) DEFAULT '',
  PRIMARY KEY (`phn13_inx`),
  KEY `reg_date` (`reg_date`, `seq_num`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Phone-payment withdrawal files, shaped like the EB21 tables.
CREATE TABLE IF NOT EXISTS {schema}.phn21 (
  `phn21_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `makedate` int(10) unsigned DEFAULT 0,
  `filename` varchar(12) DEFAULT '',
  `total_cnt` int(11) DEFAULT 0,
  `total_money` bigint(20) DEFAULT 0,
  `ok_commission` bigint(20) DEFAULT 0,
  `false_commission` bigint(20) DEFAULT 0,
  `rtnok_money` bigint(20) DEFAULT 0,
  `rtnfalse_money` bigint(20) DEFAULT 0,
  `pross_stat` char(1) DEFAULT '0',
  `send_stat` char(1) DEFAULT '0',
  PRIMARY KEY (`phn21_inx`),
  KEY `filename` (`filename`),
  KEY `makedate` (`makedate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS {schema}.file_phn21 (
  `phn21_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `seq_num` int(8) DEFAULT 0,
  `reg_date` varchar(8) DEFAULT '',
  `bank_code` varchar(7) DEFAULT '',
  `account_no` varchar(16) DEFAULT '',
  `amount` bigint(13) DEFAULT 0,
  `title` varchar(16) DEFAULT '',
  `user_no` bigint(10) DEFAULT 0,
  `oldcms_status` varchar(2) DEFAULT '',
  `result` char(1) DEFAULT '',
  `result_code` varchar(4) DEFAULT '',
  `rp_err` varchar(100) DEFAULT '',
  PRIMARY KEY (`phn21_inx`),
  KEY `reg_date` (`reg_date`, `seq_num`),
  KEY `user_no` (`user_no`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Real-time account service requests; kas_divcode 50 inquiry, 51 registration,
-- 52 cancellation.
CREATE TABLE IF NOT EXISTS {schema}.kftc_addserv (
  `kas_inx` bigint(20) NOT NULL AUTO_INCREMENT,
  `kas_member_inx` bigint(20) DEFAULT 0,
  `kas_extkey` varchar(32) DEFAULT '',
  `kas_bank_code` varchar(7) DEFAULT '',
  `kas_account_no` varchar(16) DEFAULT '',
  `kas_account_name` varchar(32) DEFAULT '',
  `kas_account_jumin` varchar(13) DEFAULT '',
  `kas_remove` char(1) DEFAULT '',
  `kas_cms_status` varchar(2) DEFAULT '',
  `kas_post_cms_status` varchar(2) DEFAULT '',
  `kas_divcode` varchar(2) DEFAULT '',
  `kas_resultcode` varchar(20) DEFAULT '',
  `kas_responsecode` varchar(4) DEFAULT '',
  `kas_responsestr` varchar(250) DEFAULT '',
  `kas_stime` int(10) unsigned DEFAULT 0,
  `kas_etime` int(10) unsigned DEFAULT 0,
  PRIMARY KEY (`kas_inx`),
  KEY `kas_member_inx` (`kas_member_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Batch member changes: one row per member and changed column of a run.
CREATE TABLE IF NOT EXISTS {schema}.edit_meminfo (
  `em_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `em_runkey` int(10) DEFAULT 0,
  `em_meminx` bigint(10) DEFAULT 0,
  `em_column` varchar(32) DEFAULT '',
  `em_oldvalue` varchar(255) DEFAULT '',
  `em_newvalue` varchar(255) DEFAULT '',
  `em_err` varchar(255) DEFAULT '',
  `em_errcode` char(1) DEFAULT '0',
  `em_regdate` int(10) unsigned DEFAULT 0,
  `em_loginid` varchar(32) DEFAULT '',
  PRIMARY KEY (`em_inx`),
  KEY `em_runkey` (`em_runkey`),
  KEY `em_meminx` (`em_meminx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Donation receipts: one row per receipt issued to a member for a year.
CREATE TABLE IF NOT EXISTS {schema}.giftbill (
  `gb_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `gb_serial` varchar(20) DEFAULT '',
  `gb_year` varchar(4) DEFAULT '',
  `gb_meminx` bigint(10) DEFAULT 0,
  `gb_name` varchar(32) DEFAULT '',
  `gb_jumin` varchar(16) DEFAULT '',
  `gb_address` varchar(128) DEFAULT '',
  `gb_code` varchar(4) DEFAULT '',
  `gb_amount` bigint(20) DEFAULT 0,
  `gb_issuedate` varchar(10) DEFAULT '',
  `gb_regdate` int(10) unsigned DEFAULT 0,
  `gb_loginid` varchar(32) DEFAULT '',
  PRIMARY KEY (`gb_inx`),
  KEY `gb_year` (`gb_year`, `gb_meminx`),
  KEY `gb_meminx` (`gb_meminx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Donation lines of a receipt (date, kind, content, amount).
CREATE TABLE IF NOT EXISTS {schema}.giftsubbill (
  `gsb_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `gsb_gbinx` int(10) unsigned DEFAULT 0,
  `gsb_date` varchar(10) DEFAULT '',
  `gsb_kind` varchar(16) DEFAULT '',
  `gsb_content` varchar(64) DEFAULT '',
  `gsb_amount` bigint(20) DEFAULT 0,
  PRIMARY KEY (`gsb_inx`),
  KEY `gsb_gbinx` (`gsb_gbinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Issue history of donation receipts (every print or reissue).
CREATE TABLE IF NOT EXISTS {schema}.giftbill_l01 (
  `gl_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `gl_gbinx` int(10) unsigned DEFAULT 0,
  `gl_regdate` int(10) unsigned DEFAULT 0,
  `gl_loginid` varchar(32) DEFAULT '',
  `gl_memo` varchar(255) DEFAULT '',
  PRIMARY KEY (`gl_inx`),
  KEY `gl_gbinx` (`gl_gbinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Bills mailed to members; all bills of one issue share crdate.
CREATE TABLE IF NOT EXISTS {schema}.cashrender (
  `crinx` int(10) unsigned zerofill NOT NULL AUTO_INCREMENT,
  `cryymm` varchar(10) DEFAULT '',
  `crdate` varchar(30) DEFAULT '',
  `mailcnt` int(10) DEFAULT 0,
  `cr0` bigint(10) DEFAULT 0,
  `cr1` varchar(32) DEFAULT '',
  `cr2` varchar(13) DEFAULT '',
  `cr3` bigint(20) DEFAULT 0,
  `cr4` bigint(20) DEFAULT 0,
  `cr5` bigint(20) DEFAULT 0,
  `cr6` varchar(32) DEFAULT '',
  `cr7` varchar(32) DEFAULT '',
  `cr8` varchar(32) DEFAULT '',
  `cr9` varchar(32) DEFAULT '',
  `cr10` varchar(32) DEFAULT '',
  `cashtitle_code` int(10) DEFAULT 0,
  PRIMARY KEY (`crinx`),
  KEY `cr0` (`cr0`, `cryymm`),
  KEY `crdate` (`crdate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Lines of text-file batch sales or collections; bcm_kind 0 sale, 1 collection.
CREATE TABLE IF NOT EXISTS {schema}.txtadd (
  `bcmkey` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `bcm_runkey` int(10) DEFAULT 0,
  `bcm_filename` varchar(128) DEFAULT '',
  `bcm_regdate` int(10) unsigned DEFAULT 0,
  `bcm_kind` char(1) DEFAULT '0',
  `bcm_line` int(10) DEFAULT 0,
  `bcm_meminx` bigint(10) DEFAULT 0,
  `bcm_extkey` varchar(32) DEFAULT '',
  `bcm_date` varchar(8) DEFAULT '',
  `bcm_amount` bigint(20) DEFAULT 0,
  `bcm_item` varchar(64) DEFAULT '',
  `bcm_memo` varchar(60) DEFAULT '',
  `bcm_err` varchar(255) DEFAULT '',
  `bcm_errcode` char(1) DEFAULT '0',
  PRIMARY KEY (`bcmkey`),
  KEY `bcm_runkey` (`bcm_runkey`),
  KEY `bcm_meminx` (`bcm_meminx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Captions of the extra member fields, seeded once as the member screen expects.
INSERT IGNORE INTO {schema}.iltable_ext
  (`extkey`, `extlinkinx`, `extcbo1`, `extcbo2`, `extcbo3`, `extcbo4`,
   `ext1`, `ext2`, `ext3`, `ext4`, `ext5`, `ext6`, `ext7`, `ext8`, `ext9`, `ext10`, `ext11`, `ext12`)
VALUES
  (1, 0, '정보-1', '정보-2', '정보-3', '정보-4',
   '정보-5', '정보-6', '정보-7', '정보-8', '정보-9', '정보-10', '정보-11', '정보-12',
   '정보-13', '정보-14', '정보-15', '정보-16');

-- Built-in collection methods (codes below 10 cannot be deleted; users add 10 to 99).
INSERT IGNORE INTO {schema}.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (1, 'settleacnt', 'CMS출금', '1'),
  (2, 'settleacnt', '직접수납', '2'),
  (3, 'settleacnt', 'OCR지로', '3'),
  (4, 'settleacnt', '전화결제', '4'),
  (5, 'settleacnt', '신용카드', '5');

-- Built-in receipt kinds. 0 means no receipt; 3 is the receipt that card members get
-- by e-mail; the cash-receipt and receipt codes are found by these texts.
INSERT IGNORE INTO {schema}.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (11, 'tallysheet', '미발행', '0'),
  (12, 'tallysheet', '세금계산서', '1'),
  (13, 'tallysheet', '계산서', '2'),
  (14, 'tallysheet', '영수증', '3'),
  (15, 'tallysheet', '입금표', '4'),
  (16, 'tallysheet', '고지서', '5'),
  (17, 'tallysheet', '기부금영수증', '6'),
  (18, 'tallysheet', '현금영수증', '7');

-- Display names of the free member fields client_info1 to client_info6.
INSERT IGNORE INTO {schema}.comboload (`cboinx`, `combodivide`, `combotext`, `combodata`) VALUES
  (21, 'c_info', '추가정보1', '1'),
  (22, 'c_info', '추가정보2', '2'),
  (23, 'c_info', '추가정보3', '3'),
  (24, 'c_info', '추가정보4', '4'),
  (25, 'c_info', '추가정보5', '5'),
  (26, 'c_info', '추가정보6', '6');

-- Relay schema of the file relay: one filerun row per transmission run and its
-- records in filedetail. The client writes the run with stat 0, hands it over
-- with stat 1; the relay moves stat on (3 send error, 5 taken, 6-8 receipt,
-- 9 refused, 10-12 result applied) and sets recvdate to the receipt date.
-- Every statement is safe to run again.

CREATE DATABASE IF NOT EXISTS sdsi
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS sdsi.filerun (
  `inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `filename` varchar(8) NOT NULL DEFAULT '',
  `filediv` varchar(10) NOT NULL DEFAULT '',
  `id` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `recvdate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  `sdsiver` varchar(10) NOT NULL DEFAULT '',
  PRIMARY KEY (`inx`),
  KEY `filename` (`filename`, `id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- u_seq is the record's serial number left-aligned in 10 (blanks for the start,
-- header and trailer records); u_end is d_inx in 10 followed by CR LF.
CREATE TABLE IF NOT EXISTS sdsi.filedetail (
  `d_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `u_inx` int(10) unsigned NOT NULL DEFAULT 0,
  `u_seq` varchar(10) NOT NULL DEFAULT '',
  `u_detail` varchar(255) NOT NULL DEFAULT '',
  `u_rtn` varchar(35) NOT NULL DEFAULT '',
  `c_rtn` varchar(61) NOT NULL DEFAULT '',
  `u_end` varchar(12) NOT NULL DEFAULT '',
  PRIMARY KEY (`d_inx`),
  KEY `u_inx` (`u_inx`, `d_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Runs taken back by a file rollback, with the point they were taken back at.
CREATE TABLE IF NOT EXISTS sdsi.filerun_rollback (
  `inx` int(10) unsigned NOT NULL DEFAULT 0,
  `filename` varchar(8) NOT NULL DEFAULT '',
  `filediv` varchar(10) NOT NULL DEFAULT '',
  `id` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `recvdate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  `stat_txt` varchar(64) NOT NULL DEFAULT '',
  `sdsiver` varchar(10) NOT NULL DEFAULT '',
  KEY `filename` (`filename`, `id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Agreement evidence (EI13) handed to the relay: one agreefilerun row per
-- file (stat 0 written, 1 handed over) and its content in agreefiledetail.
-- u_detail: the sender id in 20, a kind code ("S" start, "01" header block,
-- "02" data, "03" trailer block) in 2, then the bytes as hexadecimal text.
CREATE TABLE IF NOT EXISTS sdsi.agreefilerun (
  `inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `filename` varchar(12) NOT NULL DEFAULT '',
  `cominx` int(10) NOT NULL DEFAULT 0,
  `id` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `userno` int(11) NOT NULL DEFAULT 0,
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`inx`),
  KEY `filename` (`filename`, `cominx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS sdsi.agreefiledetail (
  `d_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `u_inx` int(10) unsigned NOT NULL DEFAULT 0,
  `u_seq` varchar(10) NOT NULL DEFAULT '',
  `u_detail` varchar(255) NOT NULL DEFAULT '',
  `u_rtn` varchar(35) NOT NULL DEFAULT '',
  `u_end` varchar(12) NOT NULL DEFAULT '',
  PRIMARY KEY (`d_inx`),
  KEY `u_inx` (`u_inx`, `d_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Agreement runs taken back by a file rollback.
CREATE TABLE IF NOT EXISTS sdsi.agreefilerun_rollback (
  `inx` int(10) unsigned NOT NULL DEFAULT 0,
  `filename` varchar(12) NOT NULL DEFAULT '',
  `cominx` int(10) NOT NULL DEFAULT 0,
  `id` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `userno` int(11) NOT NULL DEFAULT 0,
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  `stat_txt` varchar(64) NOT NULL DEFAULT '',
  KEY `filename` (`filename`, `cominx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Account-change and cancellation notices the relay takes from the EB11 files
-- it receives for an institution (read by the institution's EB11 screen and
-- the main window's EB11 panel).
--   asc_reg_date      the EB11 day, yyyymmdd (its last four are the file's MMDD)
--   asc_reg_kind      'C' account change, 'D' cancellation
--   asc_user_no       payer number as the record carries it
--   asc_bank_code ... the account the notice names (the new one for 'C')
--   asc_channel       receiving channel of the record ("CHNG", "CNCL", blank)
--   asc_pross_status  0 not yet, 1 in progress, 2 waiting for the institution,
--                     3 done, 4 refused
--   asc_result        '' none yet, 'W' waiting for the institution's answer,
--                     'Y' applied, 'N' refused; asc_result_msg says why
CREATE TABLE IF NOT EXISTS sdsi.acnt_status_check (
  `asc_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `asc_cominx` int(10) NOT NULL DEFAULT 0,
  `asc_reg_date` varchar(8) NOT NULL DEFAULT '',
  `asc_reg_kind` char(1) NOT NULL DEFAULT '',
  `asc_user_no` varchar(20) NOT NULL DEFAULT '',
  `asc_bank_code` varchar(7) NOT NULL DEFAULT '',
  `asc_account_no` varchar(16) NOT NULL DEFAULT '',
  `asc_id_no` varchar(16) NOT NULL DEFAULT '',
  `asc_channel` varchar(4) NOT NULL DEFAULT '',
  `asc_pross_status` char(1) NOT NULL DEFAULT '0',
  `asc_result` char(1) NOT NULL DEFAULT '',
  `asc_result_msg` varchar(255) NOT NULL DEFAULT '',
  `asc_signdate` datetime NULL DEFAULT NULL,
  PRIMARY KEY (`asc_inx`),
  KEY `asc_cominx` (`asc_cominx`, `asc_reg_date`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;
-- Authentication re-queries: a desk inserts a row (a_stat '1') and polls it;
-- the relay answers with a_stat '2' and a_rtn = the result letter (Y success,
-- I in progress, F failed, Z returned) followed by its message, or a_stat '3'
-- when the row cannot be answered. a_record: "A", the institution code in
-- 10, the file date YYMMDD, the request's serial in 8 (zero-padded), the
-- payer number in 20 and the holder's mobile number in 15 (both padded with
-- blanks): 60 characters.
CREATE TABLE IF NOT EXISTS sdsi.rsch_auth (
  `auth_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `a_org_code` varchar(10) NOT NULL DEFAULT '',
  `a_company` varchar(64) NOT NULL DEFAULT '',
  `a_com_inx` int(10) NOT NULL DEFAULT 0,
  `a_user_inx` bigint(10) NOT NULL DEFAULT 0,
  `a_file13_inx` int(10) NOT NULL DEFAULT 0,
  `a_stat` char(1) NOT NULL DEFAULT '1',
  `a_sendtime` varchar(14) NOT NULL DEFAULT '',
  `a_recvtime` varchar(14) NOT NULL DEFAULT '',
  `a_record` varchar(255) NOT NULL DEFAULT '',
  `a_rtn` varchar(255) NOT NULL DEFAULT '',
  `a_end` varchar(12) NOT NULL DEFAULT '',
  PRIMARY KEY (`auth_inx`),
  KEY `a_stat` (`a_stat`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

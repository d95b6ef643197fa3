-- Shared schema: institutions, their branches and agencies, login records and the
-- reference tables every institution reads.
-- Every statement is safe to run again: init-db replays this file.

CREATE DATABASE IF NOT EXISTS quorisdex
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

-- One row per institution (head office). inx names the schema tps_<inx>.
-- Numbering starts at 10001, the service operator itself.
-- Switch columns hold Y/N letters, flag strings hold one digit per position.
CREATE TABLE IF NOT EXISTS quorisdex.admin_company (
  `inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `id` varchar(32) NOT NULL DEFAULT '',
  `pw_org` varchar(32) NOT NULL DEFAULT '',
  `pw` varchar(64) NOT NULL DEFAULT '',
  `usetag` char(1) NOT NULL DEFAULT 'Y',
  `company` varchar(64) NOT NULL DEFAULT '',
  `master_name` varchar(32) NOT NULL DEFAULT '',
  `company_number` varchar(20) NOT NULL DEFAULT '',
  `company_acntno` varchar(20) NOT NULL DEFAULT '',
  `zipcode` varchar(7) NOT NULL DEFAULT '',
  `address` varchar(100) NOT NULL DEFAULT '',
  `addressdetail` varchar(100) NOT NULL DEFAULT '',
  `business_condition` varchar(60) NOT NULL DEFAULT '',
  `industry` varchar(60) NOT NULL DEFAULT '',
  `company_phone` varchar(20) NOT NULL DEFAULT '',
  `company_fax` varchar(20) NOT NULL DEFAULT '',
  `master_phone` varchar(20) NOT NULL DEFAULT '',
  `accept_zipcode` varchar(7) NOT NULL DEFAULT '',
  `accept_address` varchar(100) NOT NULL DEFAULT '',
  `accept_addressdetail` varchar(100) NOT NULL DEFAULT '',
  `master_email` varchar(64) NOT NULL DEFAULT '',
  `admin_name` varchar(32) NOT NULL DEFAULT '',
  `admin_phone` varchar(20) NOT NULL DEFAULT '',
  `admin_email` varchar(64) NOT NULL DEFAULT '',
  `org_code` varchar(10) NOT NULL DEFAULT '',
  `stat_company` char(1) NOT NULL DEFAULT '0',
  `branch_name` varchar(32) NOT NULL DEFAULT '',
  `cmsrunprg` varchar(2) NOT NULL DEFAULT '1',
  `TOLVEX_abled` char(1) NOT NULL DEFAULT '0',
  `add_info6` varchar(32) NOT NULL DEFAULT '',
  -- fourteen zeros and a 1 at position 15: default billing choices, items in use
  `cms_set` varchar(20) NOT NULL DEFAULT '000000000000001',
  `monthdivide` char(1) NOT NULL DEFAULT 'Y',
  `month_max` int(11) NOT NULL DEFAULT 0,
  -- a new institution is created at the current structure version
  `alter_db_structure` varchar(4) NOT NULL DEFAULT '67',
  `ei_date` varchar(6) NOT NULL DEFAULT '',
  `cash_receipt_use` char(1) NOT NULL DEFAULT 'N',
  `bank_receipt` char(1) NOT NULL DEFAULT 'N',
  `vir_prgcre` char(1) NOT NULL DEFAULT '0',
  `acntphn_use` char(1) NOT NULL DEFAULT 'N',
  `fast_sel_use` char(1) NOT NULL DEFAULT 'N',
  `installment_chk_use` char(1) NOT NULL DEFAULT 'N',
  `checkexcept_use` char(1) NOT NULL DEFAULT 'N',
  `ignorenonpay_use` char(1) NOT NULL DEFAULT 'N',
  `welfare_use` char(1) NOT NULL DEFAULT 'N',
  `cmsinx_style` varchar(10) NOT NULL DEFAULT 'N-10',
  `giro_account` varchar(20) NOT NULL DEFAULT '',
  `phn_account` varchar(20) NOT NULL DEFAULT '',
  `credit_id` varchar(32) NOT NULL DEFAULT '',
  `credit_pw` varchar(32) NOT NULL DEFAULT '',
  `credit_bank_code` varchar(7) NOT NULL DEFAULT '',
  `credit_account` varchar(20) NOT NULL DEFAULT '',
  `credit_month_out_limit` bigint(20) NOT NULL DEFAULT 0,
  `credit_one_out_limit` bigint(20) NOT NULL DEFAULT 0,
  `credit_account_title` varchar(32) NOT NULL DEFAULT '',
  `one_out_limit` bigint(20) NOT NULL DEFAULT 0,
  `month_out_limit` bigint(20) NOT NULL DEFAULT 0,
  `ok_commission` int(11) NOT NULL DEFAULT 0,
  `no_commission` int(11) NOT NULL DEFAULT 0,
  `vir_commision` int(11) NOT NULL DEFAULT 0,
  `bank_code` varchar(7) NOT NULL DEFAULT '',
  `account_code` varchar(20) NOT NULL DEFAULT '',
  `account_title` varchar(32) NOT NULL DEFAULT '',
  `cms_print` varchar(255) NOT NULL DEFAULT '',
  -- 0 keeps account and identity numbers out of exports until the institution allows them
  `xls_acnt_permit` char(1) NOT NULL DEFAULT '0',
  `eb11chk` varchar(255) NOT NULL DEFAULT '',
  `sendphone` varchar(20) NOT NULL DEFAULT '',
  `sendname` varchar(64) NOT NULL DEFAULT '',
  -- auto-withdrawal days: five bracketed selector indexes, [0] meaning none
  `autofirtday` varchar(64) NOT NULL DEFAULT '[0],[0],[0],[0],[0]',
  `autosectday` varchar(64) NOT NULL DEFAULT '',
  `autoopt` varchar(16) NOT NULL DEFAULT '',
  `credit_autoday` varchar(64) NOT NULL DEFAULT '[0],[0],[0],[0],[0]',
  `credit_autoopt` varchar(16) NOT NULL DEFAULT '',
  `kftc_autoday` varchar(64) NOT NULL DEFAULT '[0],[0],[0],[0],[0]',
  `kftc_autoopt` varchar(16) NOT NULL DEFAULT '',
  `kftc_auto_use` char(1) NOT NULL DEFAULT 'N',
  `kftc_autofileflags` varchar(16) NOT NULL DEFAULT '',
  `settle_div` varchar(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`inx`),
  UNIQUE KEY `id` (`id`),
  KEY `org_code` (`org_code`)
) ENGINE=InnoDB AUTO_INCREMENT=10001 DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Branches. brinx is looked up on its own, so it is unique across institutions.
-- perinx stays NULL for a branch that has lost its head office (refused at login).
CREATE TABLE IF NOT EXISTS quorisdex.company_branch (
  `tbinx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `brinx` int(5) NOT NULL DEFAULT 0,
  `perinx` int(10) unsigned DEFAULT NULL,
  `id` varchar(32) NOT NULL DEFAULT '',
  `pw` varchar(64) NOT NULL DEFAULT '',
  `usetag` char(1) NOT NULL DEFAULT 'Y',
  `company` varchar(64) NOT NULL DEFAULT '',
  `master_name` varchar(32) NOT NULL DEFAULT '',
  `company_number` varchar(20) NOT NULL DEFAULT '',
  `company_acntno` varchar(20) NOT NULL DEFAULT '',
  `zipcode` varchar(7) NOT NULL DEFAULT '',
  `address` varchar(100) NOT NULL DEFAULT '',
  `addressdetail` varchar(100) NOT NULL DEFAULT '',
  `business_condition` varchar(60) NOT NULL DEFAULT '',
  `industry` varchar(60) NOT NULL DEFAULT '',
  `company_phone` varchar(20) NOT NULL DEFAULT '',
  `company_fax` varchar(20) NOT NULL DEFAULT '',
  `master_phone` varchar(20) NOT NULL DEFAULT '',
  `accept_zipcode` varchar(7) NOT NULL DEFAULT '',
  `accept_address` varchar(100) NOT NULL DEFAULT '',
  `accept_addressdetail` varchar(100) NOT NULL DEFAULT '',
  `master_email` varchar(64) NOT NULL DEFAULT '',
  `admin_name` varchar(32) NOT NULL DEFAULT '',
  `admin_phone` varchar(20) NOT NULL DEFAULT '',
  `admin_email` varchar(64) NOT NULL DEFAULT '',
  `month_max` int(11) NOT NULL DEFAULT 0,
  `sendphone` varchar(20) NOT NULL DEFAULT '',
  `sendname` varchar(64) NOT NULL DEFAULT '',
  PRIMARY KEY (`tbinx`),
  UNIQUE KEY `brinx` (`brinx`),
  UNIQUE KEY `id` (`id`),
  KEY `perinx` (`perinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Agencies hang under a head office (rootinx) and one of its branches (rootbrinx).
CREATE TABLE IF NOT EXISTS quorisdex.company_agency (
  `tbinx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `aginx` int(5) NOT NULL DEFAULT 0,
  `rootinx` int(10) unsigned DEFAULT NULL,
  `rootbrinx` int(5) NOT NULL DEFAULT 0,
  `id` varchar(32) NOT NULL DEFAULT '',
  `pw` varchar(64) NOT NULL DEFAULT '',
  `usetag` char(1) NOT NULL DEFAULT 'Y',
  `company` varchar(64) NOT NULL DEFAULT '',
  `master_name` varchar(32) NOT NULL DEFAULT '',
  `company_number` varchar(20) NOT NULL DEFAULT '',
  `company_acntno` varchar(20) NOT NULL DEFAULT '',
  `zipcode` varchar(7) NOT NULL DEFAULT '',
  `address` varchar(100) NOT NULL DEFAULT '',
  `addressdetail` varchar(100) NOT NULL DEFAULT '',
  `business_condition` varchar(60) NOT NULL DEFAULT '',
  `industry` varchar(60) NOT NULL DEFAULT '',
  `company_phone` varchar(20) NOT NULL DEFAULT '',
  `company_fax` varchar(20) NOT NULL DEFAULT '',
  `master_phone` varchar(20) NOT NULL DEFAULT '',
  `accept_zipcode` varchar(7) NOT NULL DEFAULT '',
  `accept_address` varchar(100) NOT NULL DEFAULT '',
  `accept_addressdetail` varchar(100) NOT NULL DEFAULT '',
  `master_email` varchar(64) NOT NULL DEFAULT '',
  `admin_name` varchar(32) NOT NULL DEFAULT '',
  `admin_phone` varchar(20) NOT NULL DEFAULT '',
  `admin_email` varchar(64) NOT NULL DEFAULT '',
  `month_max` int(11) NOT NULL DEFAULT 0,
  `sendphone` varchar(20) NOT NULL DEFAULT '',
  `sendname` varchar(64) NOT NULL DEFAULT '',
  PRIMARY KEY (`tbinx`),
  UNIQUE KEY `aginx` (`aginx`),
  UNIQUE KEY `id` (`id`),
  KEY `rootinx` (`rootinx`, `rootbrinx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- One row per institution, login id and public IP; status 6 head office, 7 branch, 8 agency.
CREATE TABLE IF NOT EXISTS quorisdex.saveip (
  `sip_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `login_db` varchar(10) NOT NULL DEFAULT '',
  `login_id` varchar(32) NOT NULL DEFAULT '',
  `login_ip` varchar(45) NOT NULL DEFAULT '',
  `login_company` varchar(64) NOT NULL DEFAULT '',
  `login_begin_time` int(10) unsigned NOT NULL DEFAULT 0,
  `login_last_time` int(10) unsigned NOT NULL DEFAULT 0,
  `status` tinyint(2) NOT NULL DEFAULT 0,
  `login_prg_ver` varchar(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`sip_inx`),
  KEY `login` (`login_db`, `login_id`, `login_ip`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Shared code lists. combodata is text so that bank codes keep their leading zeros.
CREATE TABLE IF NOT EXISTS quorisdex.comboload (
  `cboinx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `combodivide` varchar(32) NOT NULL DEFAULT '',
  `combotext` varchar(64) NOT NULL DEFAULT '',
  `combodata` varchar(16) NOT NULL DEFAULT '',
  PRIMARY KEY (`cboinx`),
  KEY `combodivide` (`combodivide`, `combodata`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Bank holidays besides weekends, as yyyy-mm-dd; holiname is for people reading the table.
CREATE TABLE IF NOT EXISTS quorisdex.holiday (
  `inday` varchar(10) NOT NULL,
  `holiname` varchar(32) NOT NULL DEFAULT '',
  PRIMARY KEY (`inday`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Bank and branch codes: 3-digit bank code followed by the 4-digit branch part.
CREATE TABLE IF NOT EXISTS quorisdex.bank_branch (
  `bankcode` varchar(7) NOT NULL,
  `bankname` varchar(64) NOT NULL DEFAULT '',
  PRIMARY KEY (`bankcode`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Texts of the clearing-house result codes shown beside refused records.
CREATE TABLE IF NOT EXISTS quorisdex.error_code (
  `code` varchar(4) NOT NULL,
  `errtext` varchar(100) NOT NULL DEFAULT '',
  PRIMARY KEY (`code`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Its auto-number names the scratch tables back_<n>, so two desktops never share one.
CREATE TABLE IF NOT EXISTS quorisdex.back_table (
  `back_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `back_loginid` varchar(32) NOT NULL DEFAULT '',
  `back_regdate` datetime NOT NULL DEFAULT current_timestamp(),
  PRIMARY KEY (`back_inx`),
  KEY `back_loginid` (`back_loginid`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Bill texts; the newest row of an institution (prg_code) is the set in use.
CREATE TABLE IF NOT EXISTS quorisdex.cash_title (
  `inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `prg_code` varchar(16) NOT NULL DEFAULT '',
  `title1` varchar(255) NOT NULL DEFAULT '',
  `title2` varchar(255) NOT NULL DEFAULT '',
  `title3` varchar(255) NOT NULL DEFAULT '',
  `title4` varchar(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`inx`),
  KEY `prg_code` (`prg_code`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Donation types printed on donation receipts with their legal basis.
CREATE TABLE IF NOT EXISTS quorisdex.donation_regulations (
  `dr_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `dr_code` varchar(4) NOT NULL DEFAULT '',
  `dr_title` varchar(64) NOT NULL DEFAULT '',
  `dr_law` varchar(128) NOT NULL DEFAULT '',
  `dr_use` char(1) NOT NULL DEFAULT 'Y',
  PRIMARY KEY (`dr_inx`),
  UNIQUE KEY `dr_code` (`dr_code`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Postal code lookup for the address fields.
CREATE TABLE IF NOT EXISTS quorisdex.zipcode (
  `zc_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `zipcode` varchar(7) NOT NULL DEFAULT '',
  `sido` varchar(20) NOT NULL DEFAULT '',
  `sigungu` varchar(30) NOT NULL DEFAULT '',
  `road_address` varchar(120) NOT NULL DEFAULT '',
  `jibun_address` varchar(120) NOT NULL DEFAULT '',
  PRIMARY KEY (`zc_inx`),
  KEY `zipcode` (`zipcode`),
  KEY `road_address` (`road_address`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Address-label sheet layouts, sizes in millimetres.
CREATE TABLE IF NOT EXISTS quorisdex.paper_label (
  `pl_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `pl_name` varchar(64) NOT NULL DEFAULT '',
  `pl_cols` int(3) NOT NULL DEFAULT 0,
  `pl_rows` int(3) NOT NULL DEFAULT 0,
  `pl_width` decimal(6,2) NOT NULL DEFAULT 0,
  `pl_height` decimal(6,2) NOT NULL DEFAULT 0,
  `pl_top` decimal(6,2) NOT NULL DEFAULT 0,
  `pl_left` decimal(6,2) NOT NULL DEFAULT 0,
  `pl_hgap` decimal(6,2) NOT NULL DEFAULT 0,
  `pl_vgap` decimal(6,2) NOT NULL DEFAULT 0,
  PRIMARY KEY (`pl_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Response codes of the real-time account services: sel = inquiry answered,
-- register = registration or cancellation took effect, fee = the request is charged.
CREATE TABLE IF NOT EXISTS quorisdex.addservice_code (
  `rescode` varchar(4) NOT NULL,
  `restext` varchar(64) NOT NULL DEFAULT '',
  `resdetail` varchar(255) NOT NULL DEFAULT '',
  `sel` char(1) NOT NULL DEFAULT 'N',
  `register` char(1) NOT NULL DEFAULT 'N',
  `fee` char(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (`rescode`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Relay schema of the virtual-account bank: the shared pool of virtual accounts.
-- A free account has user_key 0 and empty end dates; user_dbname names the
-- institution schema the account belongs to.
-- Every statement is safe to run again.

CREATE DATABASE IF NOT EXISTS kib
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS kib.virinfo (
  `r_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `vir_bank` varchar(4) NOT NULL DEFAULT '',
  `vir_account` varchar(16) NOT NULL DEFAULT '',
  `user_dbname` varchar(32) NOT NULL DEFAULT '',
  `user_key` bigint(10) NOT NULL DEFAULT 0,
  `user_name` varchar(32) NOT NULL DEFAULT '',
  `user_date` varchar(12) NOT NULL DEFAULT '',
  `userend_date` varchar(12) NOT NULL DEFAULT '',
  `end_date` varchar(12) NOT NULL DEFAULT '',
  `start_date` varchar(12) NOT NULL DEFAULT '',
  `prt_recipient` varchar(32) NOT NULL DEFAULT '',
  `div_chkpay` char(1) NOT NULL DEFAULT '0',
  PRIMARY KEY (`r_inx`),
  KEY `user_dbname` (`user_dbname`, `user_key`),
  KEY `vir_account` (`vir_account`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Deposits received on virtual accounts: out_dbname and out_userkey name the
-- institution schema and the member, info11 the amount deposited, savetime
-- "yyyy-mm-dd hh:mm:ss"; p_cancel 'Y' once the deposit was cancelled.
CREATE TABLE IF NOT EXISTS kib.kibpay (
  `p_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `out_dbname` varchar(32) NOT NULL DEFAULT '',
  `out_userkey` bigint(10) NOT NULL DEFAULT 0,
  `vir_bank` varchar(4) NOT NULL DEFAULT '',
  `vir_account` varchar(16) NOT NULL DEFAULT '',
  `info11` bigint(20) NOT NULL DEFAULT 0,
  `p_cancel` char(1) NOT NULL DEFAULT 'N',
  `savetime` varchar(19) NOT NULL DEFAULT '',
  PRIMARY KEY (`p_inx`),
  KEY `out_dbname` (`out_dbname`, `savetime`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Relay schema of the clearing-house path: one filerun row per file handed to
-- the clearing-house transmission, and the runs taken back by a file
-- rollback (stat_txt says at which point). Every statement is safe to run again.

CREATE DATABASE IF NOT EXISTS kftc
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS kftc.filerun (
  `kftc_fr_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `filename` varchar(12) NOT NULL DEFAULT '',
  `cominx` int(10) unsigned NOT NULL DEFAULT 0,
  `orgcode` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `recvdate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`kftc_fr_inx`),
  KEY `filename` (`filename`, `orgcode`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS kftc.filerun_rollback (
  `kftc_fr_inx` int(10) unsigned NOT NULL DEFAULT 0,
  `filename` varchar(12) NOT NULL DEFAULT '',
  `cominx` int(10) unsigned NOT NULL DEFAULT 0,
  `orgcode` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `recvdate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  `stat_txt` varchar(64) NOT NULL DEFAULT '',
  KEY `filename` (`filename`, `orgcode`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

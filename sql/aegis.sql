-- Relay schema of the card relay: one filerun row per card file handed over
-- (filename as stored in cdmem/cdpay) and its records in filedetail. The
-- client writes the run with stat 0 and hands it over with stat 1; the relay
-- moves stat on (3 send error, 4 and 9 refused, 5 taken). Every statement is
-- safe to run again.

CREATE DATABASE IF NOT EXISTS aegis
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

CREATE TABLE IF NOT EXISTS aegis.filerun (
  `inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `filename` varchar(12) NOT NULL DEFAULT '',
  `filediv` varchar(10) NOT NULL DEFAULT '',
  `id` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `recvdate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  PRIMARY KEY (`inx`),
  KEY `filename` (`filename`, `id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- u_detail holds the whole record (card records run past 255 bytes);
-- u_end is d_inx in 10 followed by CR LF.
CREATE TABLE IF NOT EXISTS aegis.filedetail (
  `d_inx` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `u_inx` int(10) unsigned NOT NULL DEFAULT 0,
  `u_seq` varchar(10) NOT NULL DEFAULT '',
  `u_detail` varchar(400) NOT NULL DEFAULT '',
  `u_rtn` varchar(35) NOT NULL DEFAULT '',
  `u_approval_rtn` varchar(61) NOT NULL DEFAULT '',
  `u_end` varchar(12) NOT NULL DEFAULT '',
  PRIMARY KEY (`d_inx`),
  KEY `u_inx` (`u_inx`, `d_inx`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Card runs taken back with their request (the rollback screens), with the
-- last state they had and a text saying why they left.
CREATE TABLE IF NOT EXISTS aegis.filerun_rollback (
  `inx` int(10) unsigned NOT NULL DEFAULT 0,
  `filename` varchar(12) NOT NULL DEFAULT '',
  `filediv` varchar(10) NOT NULL DEFAULT '',
  `id` varchar(20) NOT NULL DEFAULT '',
  `company` varchar(64) NOT NULL DEFAULT '',
  `stat` int(2) NOT NULL DEFAULT 0,
  `senddate` varchar(12) NOT NULL DEFAULT '',
  `recvdate` varchar(12) NOT NULL DEFAULT '',
  `err_code` varchar(10) NOT NULL DEFAULT '',
  `err_msg` varchar(255) NOT NULL DEFAULT '',
  `stat_txt` varchar(64) NOT NULL DEFAULT '',
  KEY `filename` (`filename`, `id`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

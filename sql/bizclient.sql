-- Messaging database: the client queues one BIZ_MSG row per text message;
-- the messaging agent delivers it, writes it with its result code into the
-- log table of its send month, BIZ_LOG_<yyyymm> (made from BIZ_LOG_TEMPLATE),
-- and removes it from BIZ_MSG.
-- Every statement is safe to run again.

CREATE DATABASE IF NOT EXISTS bizclient
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

-- CMID is unique: a message is queued once.
CREATE TABLE IF NOT EXISTS bizclient.BIZ_MSG (
  `MSG_SEQ` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `MSG_TYPE` char(1) NOT NULL DEFAULT '0',
  `CMID` varchar(32) NOT NULL,
  `REQUEST_TIME` datetime DEFAULT NULL,
  `SEND_TIME` datetime DEFAULT NULL,
  `DEST_PHONE` varchar(16) NOT NULL DEFAULT '',
  `DEST_NAME` varchar(64) NOT NULL DEFAULT '',
  `SEND_PHONE` varchar(16) NOT NULL DEFAULT '',
  `SEND_NAME` varchar(64) NOT NULL DEFAULT '',
  `SUBJECT` varchar(64) NOT NULL DEFAULT '',
  `MSG_BODY` text,
  `CINFO` varchar(20) NOT NULL DEFAULT '',
  PRIMARY KEY (`MSG_SEQ`),
  UNIQUE KEY `CMID` (`CMID`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- One row per send: its key (send stamp + institution number) is taken once,
-- and DONE_SEQ is the last message sequence queued, moved in the same
-- transaction as each batch, so that a send repeated after a failure
-- continues after its last queued message and never queues one twice.
CREATE TABLE IF NOT EXISTS bizclient.BIZ_SEND (
  `SEND_KEY` varchar(32) NOT NULL,
  `CINFO` varchar(20) NOT NULL DEFAULT '',
  `DONE_SEQ` int(10) NOT NULL DEFAULT 0,
  `CREATED` datetime DEFAULT NULL,
  PRIMARY KEY (`SEND_KEY`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Shape of every monthly log table. CALL_STATUS '' = result pending;
-- 4100/6600 delivered, 4400/6603 out of coverage, 4410/6606 wrong number.
CREATE TABLE IF NOT EXISTS bizclient.BIZ_LOG_TEMPLATE (
  `MSG_SEQ` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `MSG_TYPE` char(1) NOT NULL DEFAULT '0',
  `CMID` varchar(32) NOT NULL,
  `REQUEST_TIME` datetime DEFAULT NULL,
  `SEND_TIME` datetime DEFAULT NULL,
  `REPORT_TIME` datetime DEFAULT NULL,
  `CALL_STATUS` varchar(4) NOT NULL DEFAULT '',
  `DEST_PHONE` varchar(16) NOT NULL DEFAULT '',
  `DEST_NAME` varchar(64) NOT NULL DEFAULT '',
  `SEND_PHONE` varchar(16) NOT NULL DEFAULT '',
  `SEND_NAME` varchar(64) NOT NULL DEFAULT '',
  `SUBJECT` varchar(64) NOT NULL DEFAULT '',
  `MSG_BODY` text,
  `CINFO` varchar(20) NOT NULL DEFAULT '',
  PRIMARY KEY (`MSG_SEQ`),
  UNIQUE KEY `CMID` (`CMID`),
  KEY `CINFO` (`CINFO`, `SEND_TIME`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

-- Legacy schema that still carries the service notice board read by the login window.
-- Every statement is safe to run again: init-db replays this file.

CREATE DATABASE IF NOT EXISTS quorisdex_old
  DEFAULT CHARACTER SET utf8mb3 COLLATE utf8mb3_unicode_ci;

-- Notices: the login window lists the newest six, the board page shows one by no.
CREATE TABLE IF NOT EXISTS quorisdex_old.quorboard1 (
  `no` int(10) unsigned NOT NULL AUTO_INCREMENT,
  `subject` varchar(255) NOT NULL DEFAULT '',
  `content` text DEFAULT NULL,
  `signdate` int(10) unsigned NOT NULL DEFAULT 0,
  PRIMARY KEY (`no`),
  KEY `signdate` (`signdate`)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb3 COLLATE=utf8mb3_unicode_ci;

// Scripts that people really have leave the same database behind as the DBMS's own client.
#include "BatchHarness.h"
#include "ProgramRun.h"
#include "TestDatabases.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

namespace veltro {
namespace {

using test::BatchHarness;

// The program of that name on the PATH; empty when there is none.
std::string programPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

// Runs a client, failing the test when it fails; its standard output.
std::string client(const std::string& name, const std::vector<std::string>& args,
                   const std::filesystem::path& folder, const std::string& input = "") {
    const std::string program = programPath(name);
    EXPECT_FALSE(program.empty()) << name << " is not installed";
    const test::ProgramResult result = test::runProgram(program, args, folder, input);
    EXPECT_EQ(result.exitCode, 0) << name << ": " << result.err;
    return result.out;
}

std::string demoScript() {
    return test::readWholeFile(VELTRO_DEMO_SCRIPT);
}

TEST(ScriptParity, TheDemoScriptOnSqlite) {
    const auto folder = test::workFolder("parity-sqlite");
    {
        BatchHarness h(test::sqliteConnectString(folder / "veltro.db"));
        ASSERT_TRUE(h.connected);
        h.run(demoScript());
        EXPECT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    }
    client("sqlite3", {"-bail", (folder / "client.db").string()}, folder, demoScript());
    const std::string ours = client("sqlite3", {(folder / "veltro.db").string(), ".dump"}, folder);
    EXPECT_GT(ours.size(), 100000u);
    EXPECT_EQ(ours, client("sqlite3", {(folder / "client.db").string(), ".dump"}, folder));
}

// As pg_dump --inserts writes it, with a plpgsql trigger function, a function of the
// standard's BEGIN ATOMIC form, a rule of several actions and a DO block.
const char* const postgresDump = R"sql(--
-- PostgreSQL database dump
--

\restrict Qx7dUmpK3yOfThisRun

SET statement_timeout = 0;
SET client_encoding = 'UTF8';
SET standard_conforming_strings = on;
SELECT pg_catalog.set_config('search_path', '', false);
SET check_function_bodies = false;
SET client_min_messages = warning;

CREATE FUNCTION script_parity.touch() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
    NEW.changed := NEW.changed + 1; -- counts; each change
    RETURN NEW;
END;
$$;

CREATE FUNCTION script_parity.total(a integer, b integer) RETURNS integer
    LANGUAGE sql IMMUTABLE
    BEGIN ATOMIC
 SELECT CASE WHEN a > b THEN a + b ELSE b + a END;
 SELECT (a + b);
END;

CREATE TABLE script_parity.items (
    id integer NOT NULL,
    name text,
    changed integer DEFAULT 0 NOT NULL
);

CREATE TABLE script_parity.gone (id integer);

CREATE SEQUENCE script_parity.items_id_seq
    AS integer
    START WITH 1
    INCREMENT BY 1
    NO MINVALUE
    NO MAXVALUE
    CACHE 1;

ALTER SEQUENCE script_parity.items_id_seq OWNED BY script_parity.items.id;
ALTER TABLE ONLY script_parity.items ALTER COLUMN id SET DEFAULT nextval('script_parity.items_id_seq'::regclass);

INSERT INTO script_parity.items VALUES (1, 'semi;colon', 0);
INSERT INTO script_parity.items VALUES (2, E'back\\slash \'quoted\';', 0);
INSERT INTO script_parity.items VALUES (3, '/* not a comment; */ -- nor this', 0);
INSERT INTO script_parity.items VALUES (4, $q$dollar; 'quoted'$q$, 0);

SELECT pg_catalog.setval('script_parity.items_id_seq', 4, true);

ALTER TABLE ONLY script_parity.items
    ADD CONSTRAINT items_pkey PRIMARY KEY (id);
CREATE INDEX items_name ON script_parity.items USING btree (name);
CREATE TRIGGER items_touch BEFORE UPDATE ON script_parity.items FOR EACH ROW EXECUTE FUNCTION script_parity.touch();
CREATE RULE items_keep AS ON DELETE TO script_parity.items
    DO ALSO (INSERT INTO script_parity.gone VALUES (old.id); INSERT INTO script_parity.gone VALUES (-old.id));

/* done with the schema; /* nested */ now the data changes */
DO $do$
DECLARE
    r record;
BEGIN
    FOR r IN SELECT id FROM script_parity.items ORDER BY id LOOP
        UPDATE script_parity.items SET name = name || '!' WHERE id = r.id;
    END LOOP;
    RAISE NOTICE 'updated %', (SELECT count(*) FROM script_parity.items);
END
$do$;
DELETE FROM script_parity.items WHERE id = 3;
INSERT INTO script_parity.items (name) VALUES (script_parity.total(40, 2)::text);

\unrestrict Qx7dUmpK3yOfThisRun
)sql";

TEST(ScriptParity, ADumpWithFunctionsAndADoBlockOnPostgres) {
    const std::string connectString = test::postgresConnectString();
    VELTRO_REQUIRE_POSTGRES_OR_SKIP(connectString);
    const auto folder = test::workFolder("parity-postgres");
    const std::vector<std::string> server{"-h", "127.0.0.1", "-p", std::getenv("VELTRO_PG_PORT"),
                                          "-U", "veltro",    "-d", "veltro_test"};
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    const auto freshSchema = [&h] {
        h.run("DROP SCHEMA IF EXISTS script_parity CASCADE;\nCREATE SCHEMA script_parity");
        ASSERT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    };
    // Without the lines that hold a key of the run's own.
    const auto dump = [&] {
        std::vector<std::string> args = server;
        args.insert(args.end(), {"--schema=script_parity", "--inserts", "--no-owner"});
        std::istringstream lines(client("pg_dump", args, folder));
        std::string kept;
        for (std::string line; std::getline(lines, line);) {
            if (!line.starts_with("\\restrict ") && !line.starts_with("\\unrestrict ")) {
                kept += line + '\n';
            }
        }
        return kept;
    };

    freshSchema();
    h.run(postgresDump);
    EXPECT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    const std::string ours = dump();
    EXPECT_NE(ours.find("semi;colon!"), std::string::npos) << ours;

    freshSchema();
    std::vector<std::string> args = server;
    args.insert(args.end(), {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-f", "-"});
    client("psql", args, folder, postgresDump);
    EXPECT_EQ(ours, dump());
    h.run("DROP SCHEMA script_parity CASCADE");
}

// As mariadb-dump writes it, with triggers and routines behind DELIMITER lines, then used:
// a CALL whose result a SELECT follows.
const char* const mariadbDump = R"sql(/*M!999999\- enable the sandbox mode */ 
-- MariaDB dump 10.19  Distrib 10.11.19-MariaDB, for debian-linux-gnu (x86_64)
--
-- Host: 127.0.0.1    Database: veltro_test
-- ------------------------------------------------------
/*!40101 SET @OLD_CHARACTER_SET_CLIENT=@@CHARACTER_SET_CLIENT */;
/*!40101 SET NAMES utf8mb4 */;
/*!40014 SET @OLD_UNIQUE_CHECKS=@@UNIQUE_CHECKS, UNIQUE_CHECKS=0 */;
/*!40101 SET @OLD_SQL_MODE=@@SQL_MODE, SQL_MODE='NO_AUTO_VALUE_ON_ZERO' */;

--
-- Table structure for table `parity_items`
--

DROP TABLE IF EXISTS `parity_items`;
/*!40101 SET @saved_cs_client     = @@character_set_client */;
/*!40101 SET character_set_client = utf8mb4 */;
CREATE TABLE `parity_items` (
  `id` int(11) NOT NULL AUTO_INCREMENT,
  `name` varchar(60) DEFAULT NULL,
  `changed` int(11) NOT NULL DEFAULT 0,
  PRIMARY KEY (`id`)
) ENGINE=InnoDB AUTO_INCREMENT=5 DEFAULT CHARSET=utf8mb4;
/*!40101 SET character_set_client = @saved_cs_client */;
DROP TABLE IF EXISTS `parity_gone`;
CREATE TABLE `parity_gone` (
  `id` int(11) DEFAULT NULL
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;

LOCK TABLES `parity_items` WRITE;
/*!40000 ALTER TABLE `parity_items` DISABLE KEYS */;
INSERT INTO `parity_items` VALUES
(1,'semi;colon',0),
(2,'it\'s \\ back; \"quoted\"',0),
(3,'# not; a comment',0),
(4,'-- nor;this /* nor; this */',0);
/*!40000 ALTER TABLE `parity_items` ENABLE KEYS */;
UNLOCK TABLES;
/*!50003 SET @saved_sql_mode       = @@sql_mode */ ;
/*!50003 SET sql_mode              = 'STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_AUTO_CREATE_USER,NO_ENGINE_SUBSTITUTION' */ ;
DELIMITER ;;
/*!50003 CREATE*/ /*!50003 TRIGGER parity_touch BEFORE UPDATE ON parity_items FOR EACH ROW BEGIN
  SET NEW.changed = NEW.changed + 1;
END */;;
/*!50003 CREATE*/ /*!50003 TRIGGER parity_keep AFTER DELETE ON parity_items FOR EACH ROW BEGIN
  INSERT INTO parity_gone VALUES (OLD.id);
  INSERT INTO parity_gone VALUES (-OLD.id);
END */;;
DELIMITER ;
/*!50003 SET sql_mode              = @saved_sql_mode */ ;
/*!50003 DROP FUNCTION IF EXISTS `parity_twice` */;
DELIMITER ;;
CREATE FUNCTION `parity_twice`(x INT) RETURNS int(11)
    DETERMINISTIC
BEGIN
  DECLARE y INT;
  SET y = x * 2; -- doubled; here
  RETURN y;
END
;;
DELIMITER ;
/*!50003 DROP PROCEDURE IF EXISTS `parity_add` */;
DELIMITER $$
CREATE PROCEDURE `parity_add`(IN n VARCHAR(40))
BEGIN
  INSERT INTO parity_items (name) VALUES (n);
  SELECT COUNT(*) AS items FROM parity_items;
END$$
DELIMITER ;
/*!40101 SET SQL_MODE=@OLD_SQL_MODE */;
/*!40014 SET UNIQUE_CHECKS=@OLD_UNIQUE_CHECKS */;
/*!40101 SET CHARACTER_SET_CLIENT=@OLD_CHARACTER_SET_CLIENT */;

-- Dump completed
CALL parity_add('from; call');
SELECT name FROM parity_items ORDER BY id;
SET @suffix = '!', @after = 1;
UPDATE parity_items SET name = CONCAT(name, @suffix) WHERE id > @after;
DELETE FROM parity_items WHERE id = 3;
INSERT INTO parity_items (name) VALUES (parity_twice(21));
)sql";

TEST(ScriptParity, ADumpWithTriggersAndProceduresOnMariadb) {
    const std::string connectString = test::mariadbConnectString();
    VELTRO_REQUIRE_MARIADB_OR_SKIP(connectString);
    const auto folder = test::workFolder("parity-mariadb");
    const std::vector<std::string> server{"--no-defaults",
                                          "--protocol=TCP",
                                          "-h",
                                          "127.0.0.1",
                                          std::string("-P") + std::getenv("VELTRO_MARIADB_PORT"),
                                          "-uveltro",
                                          "-pveltro"};
    BatchHarness h(connectString);
    ASSERT_TRUE(h.connected);
    const auto fresh = [&h] {
        h.run("DROP TABLE IF EXISTS parity_items, parity_gone;\n"
              "DROP PROCEDURE IF EXISTS parity_add;\nDROP FUNCTION IF EXISTS parity_twice");
        ASSERT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    };
    const auto dump = [&] {
        std::vector<std::string> args = server;
        args.insert(args.end(), {"--skip-dump-date", "--routines", "--triggers", "veltro_test",
                                 "parity_items", "parity_gone"});
        return client("mariadb-dump", args, folder);
    };

    fresh();
    h.run(mariadbDump);
    EXPECT_EQ(h.session.statusText, "Query batch completed") << h.batch().messageBuffer;
    ASSERT_EQ(h.batch().gridCount(), 2);
    EXPECT_EQ(BatchHarness::cells(h.grid(0)),
              (std::vector<std::vector<std::string>>{{"items"}, {"5"}}));
    const std::string ours = dump();
    EXPECT_NE(ours.find("'semi;colon'"), std::string::npos) << ours;

    fresh();
    // The client drops comments inside routine bodies unless told to keep them, as we do.
    std::vector<std::string> args = server;
    args.insert(args.end(), {"--comments", "veltro_test"});
    client("mariadb", args, folder, mariadbDump);
    EXPECT_EQ(ours, dump());
    fresh();
}

} // namespace
} // namespace veltro

// The engine a test of data access, start-up, saving or opening runs on.
// SQLite by default. With VELMORA_TEST_ENGINE=postgres the demonstration
// database is made on the PostgreSQL server that VELMORA_POSTGRES names (a
// libpq connection string; tools/test starts a throwaway one), in a schema
// of the test's own, so that tests running at once do not meet.
#pragma once

#include "db/Command.h"
#include "db/Connection.h"
#include "db/DataLinkFile.h"
#include "db/Query.h"
#include "startup/DemoDatabase.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

inline bool onPostgres()
{
    const char* engine = std::getenv("VELMORA_TEST_ENGINE");
    // "postgres-roles": the same, with every user a role of the server.
    return engine && (std::string(engine) == "postgres" || std::string(engine) == "postgres-roles");
}

// Whether a test that needs a PostgreSQL server is to be skipped here, as
// `if (needsPostgres()) GTEST_SKIP() << why;`. Off the server, its suite
// must be one that tests/CMakeLists.txt runs on the server; a suite that
// no server run names would never run at all, and fails saying so.
inline bool needsPostgres()
{
    if (onPostgres()) return false;
#ifdef VELMORA_SERVER_SUITES
    const char* suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    if (std::string(VELMORA_SERVER_SUITES).find("," + std::string(suite) + ",") == std::string::npos)
        ADD_FAILURE() << "The suite " << suite
                      << " needs a PostgreSQL server, but no server run names it: add it to POSTGRES_SUITES in "
                         "tests/CMakeLists.txt";
#endif
    return true;
}

// Why a PostgreSQL run is skipped: no server was named.
inline constexpr const char* postgresSkipReason =
    "no PostgreSQL server: VELMORA_POSTGRES is not set (tools/test starts one)";
inline constexpr int postgresSkipStatus = 77;

// The server's connection string; fails the test when none is given.
inline std::string testServer()
{
    const char* server = std::getenv("VELMORA_POSTGRES");
    if (!server || !*server)
        throw std::runtime_error(
            "VELMORA_POSTGRES names no server: run the tests with tools/test, or start one "
            "with tools/pg-server and set it to the connection string printed");
    return server;
}

// Runs `script` (one statement or several) on an open connection.
inline void runScript(db::TADOConnection& c, const std::string& script)
{
    db::TADOCommand cmd(nullptr);
    cmd.setConnection(&c);
    cmd.setCommandText(script);
    cmd.executeScript();
}

// A connection string for a new, empty schema of its own on the server.
inline std::string freshServerSchema()
{
    static int made = 0;
    std::string schema = "t" + std::to_string(getpid()) + "_" + std::to_string(++made);
    db::TADOConnection admin(nullptr);
    admin.setConnectionString(db::postgresDataLinkLine(testServer(), true));
    admin.open();
    runScript(admin, "DROP SCHEMA IF EXISTS " + schema + " CASCADE; CREATE SCHEMA " + schema);
    return testServer() + " options='-csearch_path=" + schema + "'";
}

// The demonstration database and FOLDER/VelmoraDSC.udl, on the test's engine.
inline void makeDemoDatabase(const std::string& folder)
{
    if (onPostgres()) velmora::createDemoDatabaseOnServer(folder, freshServerSchema());
    else velmora::createDemoDatabase(folder);
}

// Opens `c` on the database a data-link file names, as the program does.
inline void openDataLink(db::TADOConnection& c, const std::string& dataLinkFile)
{
    c.setConnectionString("FILE NAME=" + dataLinkFile);
    c.open();
}

// Opens `q` on one group's row of UserGroup, reading `columns`.
inline void openGroupRow(db::TADOQuery& q, db::TADOConnection& c, const std::string& columns, int group)
{
    q.setConnection(&c);
    q.setSqlText("Select " + columns + " from UserGroup where UserGroupID = " + std::to_string(group));
    q.open();
}

// Stores `bytes` as a group's FormData, as saving stores a design.
inline void storeFormData(const std::string& dataLinkFile, int group, const std::string& bytes)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, dataLinkFile);
    db::TADOQuery q(nullptr);
    openGroupRow(q, c, "*", group);
    q.edit();
    q.createBlobStream(q.fieldByName("FormData"), db::BlobMode::Write)->write(bytes);
    q.post();
}

// Runs a script in the engine's own SQL, untranslated: `sqlite` on SQLite,
// `postgres` on PostgreSQL (for what the program's dialect cannot say,
// such as a trigger).
inline void nativeScript(const std::string& dataLinkFile, const std::string& sqlite, const std::string& postgres)
{
    if (!onPostgres()) {
        db::TADOConnection c(nullptr);
        openDataLink(c, dataLinkFile);
        runScript(c, sqlite);
        return;
    }
    std::string conninfo = db::postgresConninfo(db::readDataLinkFile(dataLinkFile).values);
    PGconn* conn = PQconnectdb(conninfo.c_str());
    PGresult* r = PQexec(conn, postgres.c_str());
    std::string error = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK
                            ? std::string()
                            : PQerrorMessage(conn);
    PQclear(r);
    PQfinish(conn);
    if (!error.empty()) throw std::runtime_error(error);
}

// The rows a statement reads, each as its values joined by "|" ("null"
// for null), through a connection of its own, as another program sees them.
inline std::vector<std::string> readRows(db::TADOConnection& connection, const std::string& sql)
{
    db::TADOQuery q(nullptr);
    q.setConnection(&connection);
    q.setSqlText(sql);
    q.open();
    std::vector<std::string> out;
    for (; !q.eof(); q.next()) {
        std::string row;
        for (int i = 0; i < q.fieldCount(); ++i)
            row += (i ? "|" : "") + (q.field(i)->isNull() ? std::string("null") : q.field(i)->asString());
        out.push_back(row);
    }
    return out;
}

// The same through a connection of its own to the data-link file's database.
inline std::vector<std::string> readRows(const std::string& dataLinkFile, const std::string& sql)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, dataLinkFile);
    return readRows(c, sql);
}

// A group's stored design as the next login reads it; none when null.
inline std::optional<std::string> storedDesign(const std::string& dataLinkFile, int group)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, dataLinkFile);
    db::TADOQuery q(nullptr);
    openGroupRow(q, c, "FormData", group);
    db::TField* data = q.fieldByName("FormData");
    if (data->isNull()) return std::nullopt;
    return data->asString();
}

// Every user a role of the PostgreSQL server, tried as someone with psql
// would: connections straight through libpq as a user's own role, and the
// administrator's velmora-admin beside the database.
#pragma once

#include "EntryTest.h"
#include "RolesMode.h"

#include <libpq-fe.h>

#include <memory>

using Connection = std::unique_ptr<PGconn, void (*)(PGconn*)>;

class ServerRoles : public EntryTest {
protected:
    void SetUp() override
    {
        if (needsPostgres()) GTEST_SKIP() << "roles of a PostgreSQL server";
        if (!rolesRun()) putUnderServerRoles(udl());
    }

    // A connection straight through libpq as a user's role.
    Connection connectAs(const std::string& login, const std::string& password)
    {
        std::string conninfo = db::postgresConninfo(db::readDataLinkFile(udl()).values);
        std::string role = prefix() + "." + login;
        const char* keywords[] = {"dbname", "user", "password", nullptr};
        const char* values[] = {conninfo.c_str(), role.c_str(), password.c_str(), nullptr};
        return Connection(PQconnectdbParams(keywords, values, 1), PQfinish);
    }
    std::string prefix() { return db::readDataLinkFile(udl()).value("Login Role Prefix"); }

    // The server's error for a statement, empty when it ran.
    static std::string refusal(PGconn* conn, const std::string& sql)
    {
        PGresult* r = PQexec(conn, sql.c_str());
        ExecStatusType status = PQresultStatus(r);
        std::string error = status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK ? "" : PQerrorMessage(conn);
        PQclear(r);
        return error;
    }
    static std::string value(PGconn* conn, const std::string& sql)
    {
        PGresult* r = PQexec(conn, sql.c_str());
        bool read = PQresultStatus(r) == PGRES_TUPLES_OK && PQntuples(r) > 0;
        std::string out = read ? PQgetvalue(r, 0, 0) : "error: " + std::string(PQerrorMessage(conn));
        PQclear(r);
        return out;
    }

    std::string admin(const std::string& arguments, const std::string& input = "")
    {
        if (!std::filesystem::exists(folder.file("velmora-admin"))) {
            std::filesystem::copy_file(VELMORA_ADMIN_EXECUTABLE, folder.file("velmora-admin"));
            std::filesystem::permissions(folder.file("velmora-admin"), std::filesystem::perms::owner_all);
        }
        std::ofstream(folder.file("admin-input.txt")) << input << "\n";
        return commandOutput("cd '" + folder.path() + "' && ./velmora-admin " + arguments + " < admin-input.txt 2>&1");
    }
};


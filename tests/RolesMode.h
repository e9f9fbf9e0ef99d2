// The suites of the clerk's program and the designer run once more with
// every user a role of the PostgreSQL server
// (VELMORA_TEST_ENGINE=postgres-roles): the demonstration database is put under
// roles as velmora-initdb --roles puts it, and the programs log in as the
// users' roles. The test's own connections go on as the server's
// superuser, whom the data-link file then no longer names.
#pragma once

#include "TestDatabase.h"
#include "admin/UsersAndGroups.h"
#include "registry/ServerRoles.h"

#include <cstdlib>
#include <string>

inline bool rolesRun()
{
    const char* engine = std::getenv("VELMORA_TEST_ENGINE");
    return engine && std::string(engine) == "postgres-roles";
}

// Puts the database of `dataLinkFile` under roles, the demonstration's
// designer group of the designer's kind.
inline void putUnderServerRoles(const std::string& dataLinkFile)
{
    std::string superuser = db::parseKeyValues(db::postgresDataLinkLine(testServer()))["user"];
    if (!superuser.empty()) setenv("PGUSER", superuser.c_str(), 1);
    db::TADOConnection c(nullptr);
    openDataLink(c, dataLinkFile);
    velmora::enableServerRoles(c);
    {
        velmora::ActingAsOwner owner(c);
        velmora::setGroupKind(c, velmora::demoDesignerGroup, velmora::designerKind);
    }
    std::string prefix = velmora::rolePrefixOf(c);
    c.close();
    velmora::rewriteDataLinkForRoles(dataLinkFile, prefix);
}

inline void putUnderServerRolesInRolesRun(const std::string& dataLinkFile)
{
    if (rolesRun()) putUnderServerRoles(dataLinkFile);
}

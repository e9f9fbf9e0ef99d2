// Runs a piece of work in one transaction of a connection: all of it
// stays, or none of it.
#pragma once

#include "db/Connection.h"

namespace db {

template <class F>
void inTransaction(TADOConnection& connection, F work)
{
    connection.beginTrans();
    try {
        work();
        connection.commitTrans();
    } catch (...) {
        connection.rollbackTrans();
        throw;
    }
}

}  // namespace db

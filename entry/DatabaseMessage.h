// A database failure as the clerk reads it: a Hungarian sentence saying
// what happened, then the database's own reason after a colon (the full
// disk's message is already the clerk's and stays as it is).
#pragma once

#include "db/DatabaseError.h"
#include "entry/Refusal.h"

#include <string>

namespace velmora {

std::string inClerksWords(const db::EDatabaseError& e);

// Runs `work`; a database failure leaves it as a refusal in the clerk's
// words.
template <class F>
void sayingDatabaseFailures(F&& work)
{
    try {
        work();
    } catch (const db::EDatabaseError& e) {
        throw ERefused(inClerksWords(e));
    }
}

}  // namespace velmora

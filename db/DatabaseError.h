// The error every data-access failure raises; its text says what went wrong.
#pragma once

#include "toolkit/core/Errors.h"

namespace db {

class EDatabaseError : public tk::Error {
    using tk::Error::Error;
};

// A row refused because a unique key holds its value already (another
// program may have added the same row a moment before).
class EDuplicateKey : public EDatabaseError {
    using EDatabaseError::EDatabaseError;
};

// A row refused by a rule the database keeps (a trigger raising its own
// words, which are the message whole).
class ERefusedByRule : public EDatabaseError {
    using EDatabaseError::EDatabaseError;
};

// The server refused the login name and password it was given as the
// connection's own credentials (a wrong password and an unknown name alike).
class ELoginRefused : public EDatabaseError {
    using EDatabaseError::EDatabaseError;
};

}  // namespace db

// The error every data-access failure raises; its text says what went wrong.
#pragma once

#include "toolkit/Errors.h"

namespace db {

class EDatabaseError : public tk::Error {
    using tk::Error::Error;
};

}  // namespace db

// What the clerk's program tells in a message box, in the clerk's words:
// a refusal (what was asked cannot be done and nothing was written), or a
// save that was stored but could not be read back, which is no refusal.
#pragma once

#include "toolkit/core/Errors.h"

namespace velmora {

class ERefused : public tk::Error {
    using Error::Error;
};

// The document is stored; reading it back failed (a busy or lost
// database). The form shows it as saved, with the values written.
class ESavedNotReadBack : public tk::Error {
    using Error::Error;
};

}  // namespace velmora

// A refusal of the clerk's program: what was asked cannot be done, nothing
// was written, and the message box says why in the clerk's words.
#pragma once

#include "toolkit/core/Errors.h"

namespace velmora {

class ERefused : public tk::Error {
    using Error::Error;
};

}  // namespace velmora

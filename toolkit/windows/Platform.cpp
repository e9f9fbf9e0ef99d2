// What every platform shares.
#include "toolkit/windows/Platform.h"

#include "toolkit/core/Errors.h"

namespace tk {

void Platform::printToPdf(const Printout&, const std::string&)
{
    throw EInvalidOperation("Ezen a gépen nem lehet nyomtatni.");
}

bool Platform::printOn(const Printout&, const std::string&)
{
    throw EInvalidOperation("Ezen a gépen nem lehet nyomtatni.");
}

}  // namespace tk

// Exceptions of the toolkit. Every error carries the exact text a user sees
// in the application's message box.
#pragma once

#include <stdexcept>
#include <string>

namespace tk {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A component could not be named, owned or created.
class EComponentError : public Error {
    using Error::Error;
};
// A property that does not exist, or a value that does not suit it.
class EPropertyError : public Error {
    using Error::Error;
};
// A text that cannot be converted to a number, date or boolean.
class EConvertError : public Error {
    using Error::Error;
};
// An operation that is not allowed in the object's present state.
class EInvalidOperation : public Error {
    using Error::Error;
};
// A value outside the range that a property accepts.
class ERangeError : public Error {
    using Error::Error;
};
// Silent error: stops a handler without a message box.
class EAbort : public Error {
    using Error::Error;
};

// printf-style formatting of the user-visible texts ("Property %s does not exist").
std::string format(const char* pattern, const std::string& a);
std::string format(const char* pattern, long long a);

}  // namespace tk

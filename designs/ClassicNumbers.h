// Numbers in form text use "." whatever the user's locale: the C numeric
// conventions hold while a conversion runs and the user's come back after,
// also when it fails. Both directions of the form text take one.
#pragma once

#include <clocale>
#include <locale.h>

namespace velmora {

// The nesting of objects, lists and collections either direction accepts.
constexpr int maxFormTextDepth = 500;

class ClassicNumbers {
public:
    ClassicNumbers() : c_(newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(0))), old_(uselocale(c_)) {}
    ~ClassicNumbers()
    {
        uselocale(old_);
        freelocale(c_);
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t c_;
    locale_t old_;
};

}  // namespace velmora

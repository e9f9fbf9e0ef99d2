// Shared pieces of the field controls.
#include "controls/FieldContract.h"

#include "toolkit/text/Locale.h"

namespace velmora {

std::string variantText(const tk::Value& v)
{
    if (v.type() == tk::Value::Type::Float) {
        std::string s = tk::floatToText(v.toFloat());
        for (char& c : s)
            if (c == '.') c = tk::currentLocale().decimalSeparator;
        return s;
    }
    return v.toString();
}

}  // namespace velmora

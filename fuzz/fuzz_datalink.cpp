// Fuzz target: the data-link file reader must answer every input with a
// data link or a database error, never a crash.
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        db::DataLink link = db::parseDataLink(bytes, "fuzz.udl");
        (void)link.value("Provider");
        (void)link.value("Data Source");
    } catch (const db::EDatabaseError&) {
    }
    (void)db::parseKeyValues(bytes);
    return 0;
}

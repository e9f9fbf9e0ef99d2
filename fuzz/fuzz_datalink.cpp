// Fuzz target: the data-link file reader must answer every input with a
// data link or a database error, never a crash; a PostgreSQL connection
// string made from what it read must carry each value whole, so that no
// value can add a keyword of its own.
#include "db/DataLinkFile.h"
#include "db/DatabaseError.h"

#include <libpq-fe.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    try {
        db::DataLink link = db::parseDataLink(bytes, "fuzz.udl");
        (void)link.value("Provider");
        (void)link.value("Data Source");
        std::string conninfo = db::postgresConninfo(link.values);
        PQconninfoOption* options = PQconninfoParse(conninfo.c_str(), nullptr);
        if (!options) std::abort();
        for (PQconninfoOption* o = options; o->keyword; ++o) {
            auto it = link.values.find(o->keyword);
            bool ours = std::string_view(o->keyword) == "client_encoding" ||
                        std::string_view(o->keyword) == "fallback_application_name" ||
                        std::string_view(o->keyword) == "connect_timeout";
            if (o->val && !ours && (it == link.values.end() || it->second != o->val)) std::abort();
        }
        PQconninfoFree(options);
    } catch (const db::EDatabaseError&) {
    }
    (void)db::parseKeyValues(bytes);
    return 0;
}

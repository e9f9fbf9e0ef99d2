// Database failures in the clerk's words.
#include "entry/DatabaseMessage.h"

#include "db/DatabaseError.h"

namespace velmora {

std::string inClerksWords(const db::EDatabaseError& e)
{
    std::string reason = e.what();
    auto says = [&](const char* words) { return reason.find(words) != std::string::npos; };
    if (reason.rfind("Nincs elég hely", 0) == 0) return reason;
    // A rule of the database refuses in the clerk's words already.
    if (dynamic_cast<const db::ERefusedByRule*>(&e)) return "A mentés nem történt meg. " + reason;
    // The file's write lock: another program (an import, say) is writing.
    if (says("database is locked") || says("database table is locked"))
        return "Az adatbázist most egy másik program (például egy importálás) írja, ezért a művelet nem történt "
               "meg; az űrlapon minden megmaradt, próbálja újra, ha az végzett.";
    if (says("connection to the PostgreSQL server") || says("Cannot connect"))
        return "Nem érhető el az adatbázis-kiszolgáló, ezért a művelet nem történt meg: " + reason;
    return "Adatbázis-hiba, a művelet nem történt meg: " + reason;
}

}  // namespace velmora

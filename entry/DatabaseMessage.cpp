// Database failures in the clerk's words.
#include "entry/DatabaseMessage.h"

#include "startup/NumberingRules.h"

namespace velmora {

std::string inClerksWords(const db::EDatabaseError& e)
{
    std::string reason = e.what();
    auto says = [&](const char* words) { return reason.find(words) != std::string::npos; };
    if (reason.rfind("Nincs elég hely", 0) == 0) return reason;
    // The database's own words, without what the engine puts around them.
    if (size_t at = reason.find(numberGivenByDatabase); at != std::string::npos)
        return "A mentés nem történt meg. " + reason.substr(at, reason.find('.', at) - at + 1);
    if (says("database is locked") || says("database table is locked"))
        return "Az adatbázist most egy másik program írja, ezért a művelet nem történt meg; próbálja újra: " + reason;
    if (says("connection to the PostgreSQL server") || says("Cannot connect"))
        return "Nem érhető el az adatbázis-kiszolgáló, ezért a művelet nem történt meg: " + reason;
    return "Adatbázis-hiba, a művelet nem történt meg: " + reason;
}

}  // namespace velmora

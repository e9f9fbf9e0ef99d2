// The clerk's demonstration: a third group, "Ügyfélszolgálat", with a
// ready-made design over the demonstration Document columns, its user and a
// few documents, added to a new demonstration database; and a dictionary
// field, Ügytípus (a new int column registered for the dictionary
// "Ügytípus", whose entries are Panasz, Árajánlat, Megrendelés, Reklamáció).
#pragma once

#include "startup/DemoDatabase.h"

#include <string>

namespace velmora {

// The relations of the search page's fields: Iktatószám (TZEDit4), Tárgy
// (TZEDit5), Érkezett (TZEDPicker2), Lezárt (TZEDChxBox2), Ügytípus
// (TZEDit6).
struct DemoSearchRelations {
    std::string number = "Egyenlő";
    std::string subject = "Hasonló";
    std::string arrived = "NagyobbEgyenlő";
    std::string closed = "NemÜres";
    std::string kind = "Egyenlő";
};

// The group's design as form text, made with the designer's own classes.
std::string entryDemoDesign(const DemoSearchRelations& relations = {});

// Adds the group, its user, its design and the documents to the database
// the data-link file names.
void addEntryDemo(const std::string& dataLinkFile);

}  // namespace velmora

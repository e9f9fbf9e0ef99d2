// A designer at a headless velmora: logs in, places edit boxes on the
// first page and saves the window for a group, as a person would. Each
// call gives the gestures; the caller sends them with its own question.
#pragma once

#include "Gestures.h"

#include <string>

class Designer {
public:
    // Logs in as `login` (password the same) and finds the palette's edit
    // tool, its Save button and the corner of the pages.
    Designer(ChildProgram& program, const std::string& login);

    // Chooses the first page, then the edit tool, and clicks `offset` from
    // the pages' corner.
    std::string placeEdit(Point offset) const;
    // Save, with the group chosen by the first letters of its name.
    std::string save(const std::string& groupPrefix) const;

    Gestures& gestures() { return gestures_; }

private:
    Gestures gestures_;
    Point tool_, save_, pages_;
};

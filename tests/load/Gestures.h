// A person at a headless program of ours: gestures sent, then questions,
// each answered on one line; the errors the program reported on the way
// ("error: TEXT") are gathered with the answers.
#pragma once

#include "ChildProgram.h"

#include <string>
#include <vector>

struct Answers {
    std::vector<std::string> errors;
    std::vector<std::string> lines;  // one a question
};

struct Point {
    int x = 0, y = 0;
};

class Gestures {
public:
    explicit Gestures(ChildProgram& program) : program_(program) {}

    Answers ask(const std::string& gestures, const std::vector<std::string>& questions);
    // One answer; raises with the errors when any were reported.
    std::string answer(const std::string& gestures, const std::string& question);
    // The middle of a component on the screen (the question "where").
    Point middleOf(const std::string& path);
    Point cornerOf(const std::string& path);

    static std::string login(const std::string& user, const std::string& password);
    static std::string click(Point p, const char* verb = "click");
    // Selects what a text box holds and types `text` over it.
    static std::string retype(const std::string& text);

    ChildProgram& program() { return program_; }

private:
    ChildProgram& program_;
};

// A string in form-text notation ('a''b') as its plain text; only plain
// ASCII is expected back.
std::string plainString(const std::string& literal);

#include "Gestures.h"

#include <cstdio>
#include <stdexcept>

Answers Gestures::ask(const std::string& gestures, const std::vector<std::string>& questions)
{
    std::string text = gestures;
    for (const std::string& q : questions) text += q + "\n";
    program_.send(text);
    Answers a;
    while (a.lines.size() < questions.size()) {
        std::string l = program_.line();
        if (l.rfind("error: ", 0) == 0) a.errors.push_back(l.substr(7));
        else if (l != "message box waits") a.lines.push_back(l);  // a gesture after an error's box came up
    }
    return a;
}

std::string Gestures::answer(const std::string& gestures, const std::string& question)
{
    Answers a = ask(gestures, {question});
    if (!a.errors.empty()) throw std::runtime_error("unexpected error: " + a.errors.front());
    return a.lines.front();
}

namespace {

void readRect(const std::string& line, const std::string& path, int& l, int& t, int& w, int& h)
{
    if (std::sscanf(line.c_str(), "%d %d %d %d", &l, &t, &w, &h) != 4)
        throw std::runtime_error("no place for " + path + ": " + line);
}

}  // namespace

Point Gestures::middleOf(const std::string& path)
{
    int l, t, w, h;
    readRect(answer("", "where " + path), path, l, t, w, h);
    return {l + w / 2, t + h / 2};
}

Point Gestures::cornerOf(const std::string& path)
{
    int l, t, w, h;
    readRect(answer("", "where " + path), path, l, t, w, h);
    return {l, t};
}

std::string Gestures::login(const std::string& user, const std::string& password)
{
    return "type " + user + "\nkey tab\ntype " + password + "\nkey enter\n";
}

std::string Gestures::click(Point p, const char* verb)
{
    return std::string(verb) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
}

std::string Gestures::retype(const std::string& text)
{
    return "key end\nkey home shift\ntype " + text + "\n";
}

std::string plainString(const std::string& literal)
{
    if (literal.size() < 2 || literal.front() != '\'' || literal.back() != '\'')
        throw std::runtime_error("not a plain string: " + literal);
    std::string out;
    for (size_t i = 1; i + 1 < literal.size(); ++i) {
        out += literal[i];
        if (literal[i] == '\'') ++i;
    }
    return out;
}

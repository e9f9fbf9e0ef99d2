// Reading what the headless console printed: its lines, and the rectangle
// a "where" question answers ("left top width height").
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    int cx() const { return left + width / 2; }
    int cy() const { return top + height / 2; }
};

// What a shell command prints on its standard output.
inline std::string commandOutput(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buf[4096];
    for (size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    if (pipe) pclose(pipe);
    return out;
}

inline std::vector<std::string> lines(const std::string& out)
{
    std::vector<std::string> v;
    std::istringstream in(out);
    for (std::string l; std::getline(in, l);) v.push_back(l);
    return v;
}

inline Rect rect(const std::string& line)
{
    Rect r;
    EXPECT_EQ(std::sscanf(line.c_str(), "%d %d %d %d", &r.left, &r.top, &r.width, &r.height), 4) << line;
    return r;
}

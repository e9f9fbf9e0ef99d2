// Holding a program at a named point of a save, for the fault tests.
#include "db/PausePoint.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <unistd.h>

namespace db {

namespace {

struct PauseRequest {
    std::string name;
    std::string file;
};

PauseRequest readRequest()
{
    const char* value = std::getenv("VELMORA_PAUSE");
    if (!value) return {};
    std::string text = value;
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return {};
    return {text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace

void pausePoint(const char* name)
{
    static const PauseRequest request = readRequest();
    static bool held = false;  // only the first time: the next save goes through
    if (held || request.name.empty() || request.name != name) return;
    held = true;
    if (FILE* f = std::fopen(request.file.c_str(), "w")) std::fclose(f);
    else return;  // nowhere to signal: do not hold the program forever
    while (access(request.file.c_str(), F_OK) == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
}

}  // namespace db

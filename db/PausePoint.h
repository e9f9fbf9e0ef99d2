// A named place inside a write where a fault test can hold the program:
// with VELMORA_PAUSE=NAME:FILE in the environment, the first time the
// program reaches pausePoint(NAME) it creates FILE and waits until the
// test removes it, so that the test can kill the program, cut its
// connection or fill the disk at exactly that step. Without the variable a
// pause point does nothing.
#pragma once

namespace db {

void pausePoint(const char* name);

}  // namespace db

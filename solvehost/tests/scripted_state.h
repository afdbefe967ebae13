#pragma once
// What the scripted kernel received, read by the binding's tests through
// the library's scripted_state().
#include <string>

struct ScriptedState {
    int initCalls = 0;
    std::string libraryPath;
    std::string arguments;
    int getresCalls = 0;
    int lastCode = 0;
    int lastHandle = 0;
    int removed = 0;
    int lastZero = -1;
};

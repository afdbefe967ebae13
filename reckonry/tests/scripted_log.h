#pragma once
// What the solver's scripted kernel received and handed out, and what it is
// told to answer; read and set by the tests through scripted_log().
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct ScriptedLog {
    std::string initArguments;
    // Every request as (text, code), in order.
    std::vector<std::pair<std::string, int>> requests;
    int repliesGiven = 0;
    int repliesRemoved = 0;
    // Answers by request code; a code not listed gets "echo" + the code.
    std::map<int, std::string> answers;
    // Codes whose call fails (no reply).
    std::set<int> failing;

    void reset() { *this = ScriptedLog(); }
};

#pragma once
// The context passed down while normalising a tree and building its
// operation tree: the current priority level of the signs, the invalid flag
// (any fault sets it and the caller discards the result) and whether a
// relation sign is permitted at this place.
namespace formula {

struct ParseContext {
    int level = 57;
    bool invalid = false;
    bool relationsPermitted = false;

    // A fresh context for one row of the operation tree: the statement
    // level, no fault, relations only where asked (the lines of a system or
    // union, the formula's own line).
    static ParseContext Fresh(bool relationsPermitted) { return {57, false, relationsPermitted}; }
};

}  // namespace formula

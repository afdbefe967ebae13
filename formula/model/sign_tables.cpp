#include "formula/model/sign_tables.h"

namespace formula {

const OperatorSignInfo* FindOperatorSign(char c)
{
    for (const OperatorSignInfo& info : kOperatorSigns) {
        if (info.ch == c) {
            return &info;
        }
    }
    return nullptr;
}

bool IsOperatorSignChar(char c)
{
    return FindOperatorSign(c) != nullptr;
}

std::string_view GetAtomName(int code)
{
    for (const AtomInfo& atom : kAtoms) {
        if (atom.code == code) {
            return atom.name;
        }
    }
    return "Unknown";
}

int GetAtomCode(std::string_view name)
{
    for (const AtomInfo& atom : kAtoms) {
        if (atom.name == name) {
            return atom.code;
        }
    }
    return symbol::Unknown;
}

std::string_view GetRelationName(int code)
{
    for (const RelationInfo& relation : kRelations) {
        if (relation.code == code) {
            return relation.name;
        }
    }
    for (int atomCode : kRelationAtomCodes) {
        if (atomCode == code) {
            return GetAtomName(code);
        }
    }
    return "???";
}

int GetRelationCode(std::string_view name)
{
    if (name == "<=") {
        return symbol::LessOrEqual;
    }
    if (name == ">=") {
        return symbol::GreaterOrEqual;
    }
    if (name.size() == 2 && name[1] == '=') {
        return 95;
    }
    for (const RelationInfo& relation : kRelations) {
        if (relation.name == name) {
            return relation.code;
        }
    }
    // The atom names a relation sign is written with read back to their codes
    // ("inf", "real" and "eset" would otherwise come back as 'i', 'r', 'e').
    for (int atomCode : kRelationAtomCodes) {
        if (GetAtomName(atomCode) == name) {
            return atomCode;
        }
    }
    if (name.empty()) {
        return symbol::Unknown;
    }
    return static_cast<unsigned char>(name.front());
}

int GetRelationClass(int code)
{
    for (const RelationInfo& relation : kRelations) {
        if (relation.code == code) {
            return relation.priorityClass;
        }
    }
    return priority::Relation;
}

}  // namespace formula

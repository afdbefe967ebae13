#pragma once
// Sets of real numbers as sorted, disjoint pieces (intervals and points) with
// exact ends: the solution sets of equations and inequalities in one letter.
#include <vector>

#include "solvekernel/surd.h"

namespace solvekernel {

struct Piece {
    bool fromMinusInfinity = false;
    bool toPlusInfinity = false;
    Surd low;
    Surd high;
    bool lowClosed = false;
    bool highClosed = false;

    bool isPoint() const;
};

class RealSet {
public:
    static RealSet all();
    static RealSet empty() { return {}; }
    static RealSet point(const Surd& value);
    // An interval; an infinite end is open.
    static RealSet interval(const Piece& piece);

    const std::vector<Piece>& pieces() const { return m_pieces; }
    bool isEmpty() const { return m_pieces.empty(); }
    bool isAll() const;

    RealSet unite(const RealSet& other) const;
    RealSet intersect(const RealSet& other) const;
    RealSet complement() const;
    bool operator==(const RealSet& other) const;

    // Adds a piece and merges touching ones.
    void add(const Piece& piece);

private:
    void normalize();
    std::vector<Piece> m_pieces;
};

// The set as the reply of a solution: "x=2", "union(x=2,x=3)", "x<2",
// "spec_equ(eqmr,x,2)", "spec_equ(nequ,x,2)",
// "spec_equ(blng,x,Interval(0,1,minus_inf,2))", "spec_equ(blng,x,EmptySet)",
// "spec_equ(blng,x,spec_atom(real))".
NodePtr setNode(const RealSet& set, const std::string& letter, const PrintStyle& style);

}  // namespace solvekernel

#include "solvekernel/realset.h"

#include <algorithm>

namespace solvekernel {

namespace {

// Orders pieces by their left end; a closed end before an open one at the
// same place.
bool startsBefore(const Piece& a, const Piece& b)
{
    if (a.fromMinusInfinity || b.fromMinusInfinity)
        return a.fromMinusInfinity && !b.fromMinusInfinity;
    const int c = compare(a.low, b.low);
    if (c != 0)
        return c < 0;
    return a.lowClosed && !b.lowClosed;
}

bool isEmptyPiece(const Piece& piece)
{
    if (piece.fromMinusInfinity || piece.toPlusInfinity)
        return false;
    const int c = compare(piece.low, piece.high);
    return c > 0 || (c == 0 && !(piece.lowClosed && piece.highClosed));
}

// Grows `into` to the right end of `piece`.
void extend(Piece& into, const Piece& piece)
{
    if (into.toPlusInfinity)
        return;
    if (piece.toPlusInfinity) {
        into.toPlusInfinity = true;
        into.highClosed = false;
        return;
    }
    const int c = compare(piece.high, into.high);
    if (c > 0) {
        into.high = piece.high;
        into.highClosed = piece.highClosed;
    } else if (c == 0) {
        into.highClosed = into.highClosed || piece.highClosed;
    }
}

NodePtr letterNode(const std::string& letter) { return makeSymbol(letter); }

NodePtr pieceNode(const Piece& piece, const std::string& letter, const PrintStyle& style)
{
    if (piece.fromMinusInfinity && piece.toPlusInfinity)
        return makeNode(NodeKind::Member, letterNode(letter), makeNode(NodeKind::RealSet));
    if (piece.isPoint())
        return makeRelation(RelOp::Eq, letterNode(letter), surdNode(piece.low, style));
    if (piece.fromMinusInfinity)
        return makeRelation(piece.highClosed ? RelOp::Le : RelOp::Lt, letterNode(letter),
                            surdNode(piece.high, style));
    if (piece.toPlusInfinity)
        return makeRelation(piece.lowClosed ? RelOp::Ge : RelOp::Gt, letterNode(letter),
                            surdNode(piece.low, style));
    auto interval = makeNode(NodeKind::Interval, surdNode(piece.low, style), surdNode(piece.high, style));
    interval->leftClosed = piece.lowClosed;
    interval->rightClosed = piece.highClosed;
    return makeNode(NodeKind::Member, letterNode(letter), std::move(interval));
}

}  // namespace

bool Piece::isPoint() const
{
    return !fromMinusInfinity && !toPlusInfinity && lowClosed && highClosed && compare(low, high) == 0;
}

RealSet RealSet::all()
{
    RealSet set;
    Piece piece;
    piece.fromMinusInfinity = true;
    piece.toPlusInfinity = true;
    set.m_pieces.push_back(piece);
    return set;
}

RealSet RealSet::point(const Surd& value)
{
    Piece piece;
    piece.low = piece.high = value;
    piece.lowClosed = piece.highClosed = true;
    RealSet set;
    set.m_pieces.push_back(piece);
    return set;
}

RealSet RealSet::interval(const Piece& piece)
{
    RealSet set;
    set.add(piece);
    return set;
}

bool RealSet::isAll() const
{
    return m_pieces.size() == 1 && m_pieces[0].fromMinusInfinity && m_pieces[0].toPlusInfinity;
}

void RealSet::add(const Piece& piece)
{
    Piece p = piece;
    if (p.fromMinusInfinity)
        p.lowClosed = false;
    if (p.toPlusInfinity)
        p.highClosed = false;
    if (isEmptyPiece(p))
        return;
    m_pieces.push_back(p);
    normalize();
}

void RealSet::normalize()
{
    std::sort(m_pieces.begin(), m_pieces.end(), startsBefore);
    std::vector<Piece> merged;
    for (const Piece& piece : m_pieces) {
        if (merged.empty()) {
            merged.push_back(piece);
            continue;
        }
        Piece& last = merged.back();
        bool joins = last.toPlusInfinity || piece.fromMinusInfinity;
        if (!joins) {
            const int c = compare(piece.low, last.high);
            joins = c < 0 || (c == 0 && (last.highClosed || piece.lowClosed));
        }
        if (joins)
            extend(last, piece);
        else
            merged.push_back(piece);
    }
    m_pieces = std::move(merged);
}

RealSet RealSet::unite(const RealSet& other) const
{
    RealSet set = *this;
    for (const Piece& piece : other.m_pieces)
        set.m_pieces.push_back(piece);
    set.normalize();
    return set;
}

RealSet RealSet::complement() const
{
    RealSet set;
    bool fromMinusInfinity = true;
    Surd low;
    bool lowClosed = false;
    for (const Piece& piece : m_pieces) {
        if (!piece.fromMinusInfinity) {
            Piece gap;
            gap.fromMinusInfinity = fromMinusInfinity;
            gap.low = low;
            gap.lowClosed = lowClosed;
            gap.high = piece.low;
            gap.highClosed = !piece.lowClosed;
            if (!isEmptyPiece(gap))
                set.m_pieces.push_back(gap);
        }
        if (piece.toPlusInfinity)
            return set;
        fromMinusInfinity = false;
        low = piece.high;
        lowClosed = !piece.highClosed;
    }
    Piece tail;
    tail.fromMinusInfinity = fromMinusInfinity;
    tail.toPlusInfinity = true;
    tail.low = low;
    tail.lowClosed = lowClosed;
    set.m_pieces.push_back(tail);
    return set;
}

RealSet RealSet::intersect(const RealSet& other) const
{
    return complement().unite(other.complement()).complement();
}

bool RealSet::operator==(const RealSet& other) const
{
    if (m_pieces.size() != other.m_pieces.size())
        return false;
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
        const Piece& a = m_pieces[i];
        const Piece& b = other.m_pieces[i];
        if (a.fromMinusInfinity != b.fromMinusInfinity || a.toPlusInfinity != b.toPlusInfinity)
            return false;
        if (!a.fromMinusInfinity && (a.lowClosed != b.lowClosed || compare(a.low, b.low) != 0))
            return false;
        if (!a.toPlusInfinity && (a.highClosed != b.highClosed || compare(a.high, b.high) != 0))
            return false;
    }
    return true;
}

NodePtr setNode(const RealSet& set, const std::string& letter, const PrintStyle& style)
{
    const auto& pieces = set.pieces();
    if (pieces.empty())
        return makeNode(NodeKind::Member, letterNode(letter), makeNode(NodeKind::EmptySet));
    // Everything but one point: x <> a.
    if (pieces.size() == 2 && pieces[0].fromMinusInfinity && pieces[1].toPlusInfinity &&
        !pieces[0].highClosed && !pieces[1].lowClosed && compare(pieces[0].high, pieces[1].low) == 0)
        return makeRelation(RelOp::Ne, letterNode(letter), surdNode(pieces[0].high, style));
    if (pieces.size() == 1)
        return pieceNode(pieces[0], letter, style);
    auto node = makeNode(NodeKind::Union);
    for (const Piece& piece : pieces)
        node->kids.push_back(pieceNode(piece, letter, style));
    return node;
}

}  // namespace solvekernel

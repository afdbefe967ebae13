#pragma once
// The leaves of the tree: characters, letters, bracket characters, operator
// signs, relation and set signs, special atoms. The cursor never stays inside
// a leaf: PlaceCursor pushes it (the caret then stands after it), MoveCursor
// leaves it. Relation signs and atoms are known by their Symbol-font code
// (sign_tables.h).
#include <string_view>

#include "formula/model/lexem.h"

namespace formula {

enum class BracketKind : int { None = 0, Round = 1, Square = 2, Figure = 3, Abs = 4 };
enum class BracketSide : int { None = 0, Opening = 1, Closing = 2 };

class CCharLexem : public CLexem {
public:
    explicit CCharLexem(char ch);
    char Char() const { return m_char; }
    void GetLexemText(std::string& out) const override;

protected:
    CCharLexem(char ch, LexemKind kind, TemplateType type);
    void SetChar(char ch) { m_char = ch; }

private:
    char m_char;
};

// A letter of the formula.
class CSymbolChar : public CCharLexem {
public:
    explicit CSymbolChar(char ch);

protected:
    CSymbolChar(char ch, TemplateType type);
};

// "(" ")" round, "[" "]" square, "{" "}" figure; any other character is kept
// as "?" with no kind.
class CBracketChar : public CCharLexem {
public:
    explicit CBracketChar(char ch);
    BracketKind GetBracketKind() const { return m_bracketKind; }
    BracketSide GetSide() const { return m_side; }

private:
    BracketKind m_bracketKind = BracketKind::None;
    BracketSide m_side = BracketSide::None;
};

class COperatorSign : public CCharLexem {
public:
    explicit COperatorSign(char ch);
    // Sets the character, its priority class and its Symbol code.
    void SetSign(char ch);
    int PriorityClass() const { return m_priorityClass; }
    int SymbolCode() const { return m_symbolCode; }
    bool IsCommutative() const;
    // The sign of the inverse operation ("*" for "/" and ":"), else empty.
    std::string_view GetInverseText() const;
    // The sign has no left operand.
    bool IsUnary() const;

protected:
    COperatorSign(int code, int priorityClass, LexemKind kind);
    int m_priorityClass = 0;
    int m_symbolCode = 0;
};

class CRelationSign : public COperatorSign {
public:
    explicit CRelationSign(int code);
    explicit CRelationSign(std::string_view name);
    void GetLexemText(std::string& out) const override;
};

class CSpecAtom : public CSymbolChar {
public:
    explicit CSpecAtom(int code);
    explicit CSpecAtom(std::string_view name);
    int AtomCode() const { return m_code; }
    void GetLexemText(std::string& out) const override;

private:
    int m_code;
};

// The character lexeme the readers make from a plain character: an operator
// sign, a bracket character, a letter or a plain character.
std::unique_ptr<CLexem> MakeCharLexem(char ch);

inline bool IsDigitChar(char c)
{
    return c >= '0' && c <= '9';
}
inline bool IsLatinLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Typed views of a lexeme; null when it is of another class.
const CCharLexem* AsCharLexem(const CLexem* lexem);
const COperatorSign* AsOperatorSign(const CLexem* lexem);
COperatorSign* AsOperatorSign(CLexem* lexem);
const CBracketChar* AsBracketChar(const CLexem* lexem);
const CSpecAtom* AsSpecAtom(const CLexem* lexem);
// A digit character '0'-'9'.
bool IsDigitLexem(const CLexem* lexem);

}  // namespace formula

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
    // Measured in the current font, centred on the axis; drawn centred in its box.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void GetLexemText(std::string& out) const override;
    // The character (";" as ","); bracket characters included.
    void GetAplanText(std::string& out, AplanContext& context) const override;
    // A letter "mi", an operator-sign or bracket character "mo", any other "mi".
    void GetMathMLText(std::string& out) const override;

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
    // Weight 800, italic.
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

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
    // Weight 100, upright.
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

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
    // "-" for minus, "/!" for ':', any other sign followed by "!".
    void GetAplanText(std::string& out, AplanContext& context) const override;
    // In the "Symbol" face ('*', ':' and '?' keep the current face), weight
    // 400, in the sign colour unless selected; widened by sign, drawn as its
    // Symbol code centred in its box.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void RestoreFont(Canvas& canvas) override;

protected:
    COperatorSign(int code, int priorityClass, LexemKind kind);
    int m_priorityClass = 0;
    int m_symbolCode = 0;
};

class CRelationSign : public COperatorSign {
public:
    explicit CRelationSign(int code);
    explicit CRelationSign(std::string_view name);
    // Always the "Symbol" face; padded on both sides by its own width less a
    // margin of the sign (never below 0), drawn at its box's top-left corner.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void GetLexemText(std::string& out) const override;
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;
};

class CSpecAtom : public CSymbolChar {
public:
    explicit CSpecAtom(int code);
    explicit CSpecAtom(std::string_view name);
    int AtomCode() const { return m_code; }
    // The "Symbol" face, weight 400 (600 for the real set), in the atom colour
    // unless selected; a third of its width of space on its left.
    void Layout(Canvas& canvas, int x, int axisY) override;
    void Draw(Canvas& canvas) override;
    void SelectFont(Canvas& canvas) override;
    void GetLexemText(std::string& out) const override;
    void GetAplanText(std::string& out, AplanContext& context) const override;
    void GetMathMLText(std::string& out) const override;

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

// Leaves: operator signs, relation signs, atoms, bracket characters, and the
// name and code tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/lexem_row.h"
#include "formula/model/sign_tables.h"
#include "formula/notation/lexem_parser.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

TEST(SignTables, RelationNamesAndCodes)
{
    for (const RelationInfo& relation : kRelations) {
        EXPECT_EQ(GetRelationName(relation.code), relation.name);
        EXPECT_EQ(GetRelationCode(relation.name), relation.code) << relation.name;
        EXPECT_EQ(GetRelationClass(relation.code), relation.priorityClass);
    }
    EXPECT_EQ(GetRelationCode("<="), 163);
    EXPECT_EQ(GetRelationCode(">="), 179);
    EXPECT_EQ(GetRelationCode("!="), 95);
    EXPECT_EQ(GetRelationCode("=="), 95);
    EXPECT_EQ(GetRelationCode("zz"), 'z');
    EXPECT_EQ(GetRelationCode("pi"), 112);
    EXPECT_EQ(GetRelationCode("inf"), 165);
    EXPECT_EQ(GetRelationCode(""), 63);
    EXPECT_EQ(GetRelationName(112), "pi");
    EXPECT_EQ(GetRelationName(198), "eset");
    EXPECT_EQ(GetRelationName(68), "???");
    EXPECT_EQ(GetRelationName(95), "???");
}

TEST(SignTables, AtomNamesAndCodes)
{
    for (const AtomInfo& atom : kAtoms) {
        EXPECT_EQ(GetAtomName(atom.code), atom.name);
        EXPECT_EQ(GetAtomCode(atom.name), atom.code);
    }
    EXPECT_EQ(GetAtomCode("beta"), 63);
    EXPECT_EQ(GetAtomName(63), "Unknown");
    EXPECT_EQ(CSpecAtom("real").AtomCode(), 194);
    EXPECT_EQ(CSpecAtom("nothing").AtomCode(), 63);
}

TEST(OperatorSigns, Table)
{
    struct Row {
        char ch;
        int priorityClass;
        int symbolCode;
        bool commutative;
        std::string inverse;
    };
    const std::vector<Row> rows = {
        {'%', 54, 37, true, ""},   {'*', 56, 183, true, "/"}, {'+', 57, 43, true, "-"},
        {'-', 57, 45, false, "+"}, {'/', 55, 47, false, "*"}, {':', 55, 58, false, "*"},
        {'<', 58, '<', true, ""},  {'=', 58, '=', true, ""},  {'>', 58, '>', true, ""},
        {'?', 58, 63, true, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.ch);
        COperatorSign sign(row.ch);
        EXPECT_EQ(sign.Kind(), LexemKind::Character);
        EXPECT_EQ(sign.Type(), TemplateType::OperatorSign);
        EXPECT_EQ(sign.PriorityClass(), row.priorityClass);
        EXPECT_EQ(sign.SymbolCode(), row.symbolCode);
        EXPECT_EQ(sign.IsCommutative(), row.commutative);
        EXPECT_EQ(sign.GetInverseText(), row.inverse);
        EXPECT_TRUE(IsOperatorSignChar(row.ch));
    }
    EXPECT_FALSE(IsOperatorSignChar('^'));
    COperatorSign sign('+');
    sign.SetSign('-');
    EXPECT_EQ(sign.Char(), '-');
    EXPECT_EQ(sign.SymbolCode(), 45);
    EXPECT_FALSE(sign.IsCommutative());
}

TEST(OperatorSigns, Unary)
{
    struct Case {
        std::string row;
        int pos;
        bool unary;
    };
    const std::vector<Case> cases = {
        {"-a", 1, true},   {"(-a", 2, true},  {"a--b", 3, true}, {"a=-b", 3, true},
        {"a;-b", 3, true}, {"a+ -b", 4, true}, {"a-b", 2, false}, {"2-b", 2, false},
        {"x)-1", 3, false}, {"@hor_frac$1$2#-1", 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        CArgRow row;
        row.InsertLexems(CLexemParser().Parse(c.row));
        const COperatorSign* sign = AsOperatorSign(row.Child(c.pos));
        ASSERT_NE(sign, nullptr);
        EXPECT_EQ(sign->IsUnary(), c.unary);
    }
}

TEST(RelationSigns, KindAndPredicates)
{
    CRelationSign less("<=");
    EXPECT_EQ(less.Kind(), LexemKind::RelationSign);
    EXPECT_EQ(less.Type(), TemplateType::OperatorSign);
    EXPECT_EQ(less.PriorityClass(), 58);
    EXPECT_TRUE(less.IsLessSign());
    EXPECT_FALSE(less.IsGreaterSign());
    EXPECT_TRUE(CRelationSign(179).IsGreaterSign());
    EXPECT_TRUE(COperatorSign('<').IsLessSign());
    EXPECT_TRUE(COperatorSign('>').IsGreaterSign());
    EXPECT_FALSE(COperatorSign('=').IsLessSign());
    EXPECT_TRUE(CRelationSign("blng").IsBelongSign());
    EXPECT_TRUE(CRelationSign(207).IsBelongSign());
    EXPECT_FALSE(CRelationSign(200).IsBelongSign());
    EXPECT_EQ(CRelationSign(200).PriorityClass(), 3);
    EXPECT_EQ(CRelationSign(199).PriorityClass(), 2);
    EXPECT_EQ(CRelationSign(206).PriorityClass(), 4);
}

TEST(BracketChars, KindAndSide)
{
    struct Row {
        char ch;
        BracketKind kind;
        BracketSide side;
    };
    for (const Row& row : std::vector<Row>{{'(', BracketKind::Round, BracketSide::Opening},
                                           {')', BracketKind::Round, BracketSide::Closing},
                                           {'[', BracketKind::Square, BracketSide::Opening},
                                           {']', BracketKind::Square, BracketSide::Closing},
                                           {'{', BracketKind::Figure, BracketSide::Opening},
                                           {'}', BracketKind::Figure, BracketSide::Closing}}) {
        CBracketChar bracket(row.ch);
        EXPECT_EQ(bracket.Char(), row.ch);
        EXPECT_EQ(bracket.GetBracketKind(), row.kind);
        EXPECT_EQ(bracket.GetSide(), row.side);
        EXPECT_EQ(bracket.Type(), TemplateType::BracketChar);
    }
    CBracketChar unknown('x');
    EXPECT_EQ(unknown.Char(), '?');
    EXPECT_EQ(unknown.GetBracketKind(), BracketKind::None);
    EXPECT_EQ(unknown.LexemText(), "?");
}

TEST(Leaves, CharacterFactoryAndPredicates)
{
    EXPECT_EQ(test::Describe(*MakeCharLexem('x')), "x");
    EXPECT_EQ(test::Describe(*MakeCharLexem('Q')), "Q");
    EXPECT_EQ(test::Describe(*MakeCharLexem('-')), "-");
    EXPECT_EQ(test::Describe(*MakeCharLexem(']')), "br]");
    EXPECT_EQ(test::Describe(*MakeCharLexem(';')), "';'");
    EXPECT_TRUE(MakeCharLexem('x')->IsLetter());
    EXPECT_FALSE(MakeCharLexem('1')->IsLetter());
    EXPECT_TRUE(MakeCharLexem(' ')->IsSpace());
    EXPECT_FALSE(MakeCharLexem('x')->IsSpace());
    EXPECT_TRUE(MakeCharLexem('x')->IsOperandLike());
    EXPECT_TRUE(CRelationSign(163).IsOperandLike());
    EXPECT_TRUE(CSpecAtom(112).IsOperandLike());
    EXPECT_FALSE(CArgRow().IsOperandLike());
    EXPECT_FALSE(CRowHead().IsOperandLike());
    EXPECT_EQ(CSpecAtom(112).Type(), TemplateType::SpecAtom);
    EXPECT_EQ(MakeCharLexem('x')->CharCode(), 'x');
}

}  // namespace
}  // namespace formula

// The lexeme text: reader structure, writer round trips, reader errors.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "formula/model/chars.h"
#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/all.h"
#include "formula/notation/lexem_parser.h"
#include "formula/tests/formula_test_util.h"

namespace formula {
namespace {

using test::Describe;
using test::DescribeRoot;
using test::Read;
using test::ReadWrite;

struct StructureCase {
    std::string text;
    std::string tree;
};

TEST(LexemTextReader, BuildsTheTree)
{
    const std::vector<StructureCase> cases = {
        {"", ""},
        {"x+1", "x + num1"},
        {"3,25", "num3,25"},
        {"0,1(6)", "period0,1(6)"},
        {"1,(3)", "period1,(3)"},
        {"12(3)", "num12 br( num3 br)"},
        {"x2", "x num2"},
        {"1,2,3", "num1,2 ',' num3"},
        {"5,", "num5 ','"},
        {"a b;", "a ' ' b ';'"},
        {"(x)[y]{z}", "br( x br) br[ y br] br{ z br}"},
        {"%*+-/:<=>?", "% * + - / : < = > ?"},
        {"@ hor _frac$1$2#", "hor_frac[num1;num2]"},
        {"@diag_frac$a$b#", "diag_frac[a;b]"},
        {"@func$SIN$x#", "func:sin[x]"},
        {"@func$arcctg$x#", "func:arcctg[x]"},
        {"@index_up$@index_dn$@func$sin$x#$1#$2#", "indexfunc:sin[x;num2;num1]"},
        {"@index_dn$@index_up$@func$tg$x#$2#$1#", "indexfunc:tg[x;num2;num1]"},
        {"@index_up$@func$cos$x#$2#", "indexfunc:cos[x;num2;-]"},
        {"@index_up$@index_up$@func$cos$x#$2#$3#", "index_up[indexfunc:cos[x;num2;-];num3;-]"},
        {"@index$@func$cos$x#$$#", "index[func:cos[x];-;-]"},
        {"@subsup$@func$sin$x#$1$2#", "subsup[func:sin[x];num1;num2]"},
        {"@interval$1$0$a$b#", "interval[)[a;b]"},
        {"@interval$ 0$7$a$b#", "interval(][a;b]"},
        {"@index$x$$#", "index[x;-;-]"},
        {"@index$x$2$#", "index_up[x;num2;-]"},
        {"@index$x$$1#", "index_dn[x;-;num1]"},
        {"@index_updn$x$2$1#", "index_updn[x;num2;num1]"},
        {"@progmem$a$n#", "progmem[a;-;n]"},
        {"@deriv$x#", "deriv[x;''']"},
        {"@deriv$x$2#", "nderiv[x;num2]"},
        {"@integral$f$a$b#", "integral[f;b;a]"},
        {"@integral_undef$f#", "integral_undef[f;-;-]"},
        {"@summa$k$n$1#", "summa[k;n;num1]"},
        {"@lim$f$x$0#", "lim[f;x;num0]"},
        {"@root$3$x#", "root[num3;x]"},
        {"@sqrroot$x#@sqrtcan$y#", "sqrroot[x] sqrtcan[y]"},
        {"@spec$<=#@spec$>=#@spec$nequ#", "rel163 rel179 rel185"},
        {"@spec$!=#", "rel95"},
        {"@spec$pi#@spec$inf#", "rel112 rel165"},
        {"@spec$qq#", "rel113"},
        {"@spec_atom$pi#@spec_atom$foo#", "atom112 atom63"},
        {"@mixed_frac$2$1$3#", "mixed_frac['2';'1';'3']"},
        {"@simple_frac$(12)$(5)#", "simple_frac[-;'1' '2';'5']"},
        {"@simple_frac$$#", "simple_frac[-;;]"},
        {"@system$x+y=1$x-y=3#", "system[x + y = num1;x - y = num3]"},
        {"@union$x=1$x=2#", "union[x = num1;x = num2]"},
        {"@system$a@#b$c#", "system[a;b;c]"},
        {"@bool$1#@bool$0#@bool$abc#@bool$ -2#", "true[] false[] false[] true[]"},
        {"@br_row_round$x#@br_persist_rr$y#", "br_row_round[x] br_persist_rr[y]"},
        {"@br_row_abs$x#@br_row_square$y#@br_row_figur$1;2#",
         "br_row_abs[x] br_row_square[y] br_row_figur[num1 ';' num2]"},
        {"a@#b", "a / b"},
        {"@#", " / "},
        {"a@#@#b", "a /  / b"},
    };
    for (const StructureCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DescribeRoot(*Read(c.text)), c.tree);
    }
}

TEST(LexemTextReader, ListsLexemsAndLineBreaks)
{
    CLexemParser parser;
    EXPECT_TRUE(parser.Parse("").empty());

    LexemList breakOnly = parser.Parse("@#");
    ASSERT_EQ(breakOnly.size(), 1u);
    EXPECT_EQ(breakOnly[0], nullptr);

    LexemList list = parser.Parse("a@#b");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(Describe(*list[0]), "a");
    EXPECT_EQ(list[1], nullptr);
    EXPECT_EQ(Describe(*list[2]), "b");

    std::string text = "x+1";
    LexemList appended;
    parser.Parse(text, appended);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(appended.size(), 3u);
}

TEST(LexemTextReader, FormulaCharacters)
{
    EXPECT_TRUE(IsFormulaChar(' '));
    EXPECT_TRUE(IsFormulaChar('!'));
    EXPECT_TRUE(IsFormulaChar('z'));
    EXPECT_TRUE(IsFormulaChar('\x7f'));
    EXPECT_FALSE(IsFormulaChar('\x1f'));
    EXPECT_FALSE(IsFormulaChar('\n'));
    EXPECT_FALSE(IsFormulaChar('\0'));
    EXPECT_FALSE(IsFormulaChar('\x80'));
    EXPECT_FALSE(IsFormulaChar('\xff'));
}

struct ErrorCase {
    std::string text;
    int code;
    int messageId;
};

std::string Nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i) {
        text += "@sqrroot$";
    }
    text += "x";
    for (int i = 0; i < depth; ++i) {
        text += "#";
    }
    return text;
}

TEST(LexemTextReader, RefusesMalformedTexts)
{
    const std::vector<ErrorCase> cases = {
        {"@hor_frac$1$2", 3, 1016},
        {"@hor_frac$1#", 3, 1014},
        {"@hor_frac$1$2$3#", 3, 1015},
        {"@hor_frac$1", 3, 1013},
        {"@hor_frac", 3, 1013},
        {"x@", 3, 1013},
        {"@system$x", 3, 1016},
        {"@deriv$x$1$2#", 3, 1015},
        {"@foo$x#", 3, 1011},
        {"@func$sinus$x#", 3, 1011},
        {"@indexfunc$x#", 3, 1011},
        {"@aggregat$x#", 3, 1011},
        {"@spec$#", 3, 1011},
        {"@spec_atom$#", 3, 1011},
        {"@hor_frac#1$2#", 3, 1011},
        {"@$x", 3, 1011},
        {"@hor_frac$a@#b$2#", 3, 1011},
        {"@mixed_frac$a$1$2#", 3, 1018},
        {"@simple_frac$1,5$2#", 3, 1018},
        {"@simple_frac$1$x+1#", 3, 1018},
        {"a$b", 5, 1036},
        {"$", 5, 1036},
        {"#", 5, 1036},
        {"x#", 5, 1036},
        {"@hor_frac$1$2##", 5, 1036},
        {"x\xd0\xb0", 5, 1036},
        {"\xd0\x90+1", 5, 1036},
        {"x\tb", 5, 1036},
        {"@hor_frac$\x80$2#", 5, 1036},
        {"@spec$\x80#", 5, 1036},
        {Nested(65), 3, 1035},
    };
    CLexemParser parser;
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parser.Parse(c.text);
            ADD_FAILURE() << "no error";
        } catch (const CMEException& error) {
            EXPECT_EQ(error.Code(), c.code);
            EXPECT_EQ(error.MessageId(), c.messageId);
            EXPECT_EQ(error.Message(), GetMessageText(c.messageId, 0));
        }
    }
}

TEST(LexemTextReader, TemplateNameReader)
{
    std::string_view text = "@ hor _frac$1$2#";
    char terminator = 0;
    EXPECT_EQ(CLexemParser::ReadTemplateName(text, terminator), "hor_frac");
    EXPECT_EQ(terminator, '$');
    EXPECT_EQ(text, "1$2#");
    std::string_view lineBreak = "@#x";
    EXPECT_EQ(CLexemParser::ReadTemplateName(lineBreak, terminator), "");
    EXPECT_EQ(terminator, '#');
    EXPECT_EQ(lineBreak, "x");

    for (std::string_view bad : {"hor_frac$1$2#", "", " @x#"}) {
        try {
            CLexemParser::ReadTemplateName(bad, terminator);
            ADD_FAILURE() << "no error for " << bad;
        } catch (const CMEException& error) {
            EXPECT_EQ(error.Code(), 3);
            EXPECT_EQ(error.MessageId(), 1012);
            EXPECT_EQ(error.Message(), "Syntax error: the template must start from left template symbol.");
        }
    }
    std::string_view endless = "@hor_frac";
    EXPECT_THROW(CLexemParser::ReadTemplateName(endless, terminator), CMEException);
}

TEST(LexemTextReader, ReadsSixtyFourLevels)
{
    EXPECT_EQ(ReadWrite(Nested(64)), Nested(64));
}

TEST(LexemTextReader, MessageFollowsTheLanguage)
{
    SetMessageLanguage(1);
    try {
        CLexemParser().Parse("@foo$x#");
        ADD_FAILURE() << "no error";
    } catch (const CMEException& error) {
        EXPECT_EQ(error.Message(), "Синтаксическая ошибка.");
    }
    SetMessageLanguage(0);
}

struct RoundTripCase {
    std::string text;
    std::vector<TemplateType> covers;
    bool nestable = true;
};

const std::vector<RoundTripCase>& RoundTrips()
{
    using T = TemplateType;
    static const std::vector<RoundTripCase> cases = {
        {"x+1-y*2:z/3", {T::Char}},
        {"3,25+0,1(6)-1,(3)", {T::RealNum}},
        {"5%", {}},
        {"(a+b)*[c]", {}},
        {"@func$sin$x#", {T::Func}},
        {"@func$ln$x+1#", {T::Func}},
        {"@index_up$@func$cos$x#$2#", {T::IndexFunc}},
        {"@index_dn$@func$log$x#$2#", {T::IndexFunc}},
        {"@index_up$@index_dn$@func$sin$x#$1#$2#", {T::IndexFunc}},
        {"a@spec$<=#b", {T::OperatorSign}},
        {"x@spec$blng#@spec_atom$real#", {T::OperatorSign, T::SpecAtom}},
        {"@hor_frac$1$2#+@index_up$x$2#", {T::HorFrac, T::IndexUp}},
        {"@diag_frac$a$b#", {T::DiagFrac}},
        {"@index_dn$x$1#", {T::IndexDn}},
        {"@index_updn$x$2$1#", {T::IndexUpDn}},
        {"@index$x$$#", {T::Index}},
        {"@progmem$a$n+1#", {T::ProgMem}},
        {"a@#b", {T::Aggregate}, false},
        {"@#", {T::Aggregate}, false},
        {"@system$x+y=1$x-y=3#", {T::System}},
        {"@system$#", {T::System}},
        {"@union$x=1$x=2$x=3#", {T::Union}},
        {"@mixed_frac$2$1$3#", {T::MixedFrac}},
        {"@simple_frac$12$5#", {T::SimpleFrac}},
        {"@simple_frac$$#", {T::SimpleFrac}},
        {"@deriv$x+1#", {T::Deriv}},
        {"@deriv$y$2#", {T::Deriv}},
        {"@br_row_round$x+1#", {T::BrRound}},
        {"@br_persist_rr$x#", {T::BrPersistRound}},
        {"@br_row_abs$x#", {T::BrAbs}},
        {"@br_row_figur$1;-2#", {T::BrFigure}},
        {"@br_row_square$a#", {T::BrSquare}},
        {"@sqrroot$x#", {T::SqrRoot}},
        {"@sqrtcan$x#", {T::SqrtCan}},
        {"@spec_atom$pi#", {T::SpecAtom}},
        {"x@spec$blng#@interval$1$0$a$b#", {T::Interval}},
        {"@interval$0$1$-@spec_atom$inf#$5#", {T::Interval}},
        {"@bool$1#+@bool$0#", {T::Bool}},
        {"@root$3$x#", {T::Root}},
        {"@lim$f$x$@spec_atom$inf##", {T::Lim}},
        {"@integral$f$a$b#", {T::Integral}},
        {"@integral_undef$f#", {T::IntegralUndef}},
        {"@subsup$x$1$2#", {T::SubSup}},
        {"@integrationLimit$F$a$b#", {T::IntegrationLimit}},
        {"@summa$k$n$1#", {T::Summa}},
        {"@hor_frac$$#", {T::HorFrac}},
    };
    return cases;
}

TEST(LexemTextWriter, EveryTextReadsBackUnchanged)
{
    for (const RoundTripCase& c : RoundTrips()) {
        SCOPED_TRACE(c.text);
        const std::string written = ReadWrite(c.text);
        EXPECT_EQ(written, c.text);
        EXPECT_EQ(ReadWrite(written), c.text);
    }
}

// Each kind inside five other kinds: "@hor_frac$@sqrroot$...T...#$2#".
TEST(LexemTextWriter, NestedFiveDeepReadsBack)
{
    const std::vector<std::pair<std::string, std::string>> wrappers = {
        {"@hor_frac$", "$2#"},     {"@sqrroot$", "#"},          {"@index_up$", "$n#"},
        {"@system$", "$y=1#"},     {"@br_row_abs$", "#"},       {"@lim$", "$x$0#"},
        {"@integral$", "$a$b#"},   {"@func$tg$", "#"},          {"@root$3$", "#"},
    };
    for (const RoundTripCase& c : RoundTrips()) {
        if (!c.nestable) {
            continue;
        }
        for (std::size_t first = 0; first < wrappers.size(); ++first) {
            std::string text = c.text;
            for (std::size_t level = 0; level < 5; ++level) {
                const auto& wrapper = wrappers[(first + level) % wrappers.size()];
                text = wrapper.first + text + wrapper.second;
            }
            SCOPED_TRACE(text);
            EXPECT_EQ(ReadWrite(text), text);
        }
    }
}

TEST(LexemTextWriter, EveryTemplateKindHasARoundTrip)
{
    std::set<TemplateType> covered;
    for (const RoundTripCase& c : RoundTrips()) {
        covered.insert(c.covers.begin(), c.covers.end());
    }
    covered.insert(TemplateType::OperatorSign);
    for (const TemplateKind& kind : kTemplateKinds) {
        EXPECT_TRUE(covered.count(kind.type)) << kind.name;
    }
    EXPECT_TRUE(covered.count(TemplateType::Index));
}

TEST(LexemTextWriter, SignsAndAtomsReadBack)
{
    for (const RelationInfo& relation : kRelations) {
        SCOPED_TRACE(relation.name);
        const std::string text = CRelationSign(relation.code).LexemText();
        EXPECT_EQ(text, "@spec$" + std::string(relation.name) + "#");
        EXPECT_EQ(DescribeRoot(*Read(text)), "rel" + std::to_string(relation.code));
    }
    for (int code : kRelationAtomCodes) {
        const std::string text = CRelationSign(code).LexemText();
        EXPECT_EQ(DescribeRoot(*Read(text)), "rel" + std::to_string(code)) << text;
    }
    for (const AtomInfo& atom : kAtoms) {
        const std::string text = CSpecAtom(atom.code).LexemText();
        EXPECT_EQ(text, "@spec_atom$" + std::string(atom.name) + "#");
        EXPECT_EQ(DescribeRoot(*Read(text)), "atom" + std::to_string(atom.code));
    }
    EXPECT_EQ(CRelationSign(95).LexemText(), "@spec$???#");
    EXPECT_EQ(CSpecAtom(50).LexemText(), "@spec_atom$Unknown#");
    EXPECT_EQ(ReadWrite("@spec_atom$Unknown#"), "@spec_atom$Unknown#");
}

TEST(LexemTextWriter, NormalisesNonCanonicalForms)
{
    const std::vector<StructureCase> cases = {
        {"@ hor _frac$1$2#", "@hor_frac$1$2#"},
        {"@func$SIN$x#", "@func$sin$x#"},
        {"@index$x$2$#", "@index_up$x$2#"},
        {"@index$x$2$1#", "@index_updn$x$2$1#"},
        {"@index_dn$@index_up$@func$tg$x#$2#$1#", "@index_up$@index_dn$@func$tg$x#$1#$2#"},
        {"@simple_frac$(12)$(5)#", "@simple_frac$12$5#"},
        {"@bool$7#", "@bool$1#"},
        {"@interval$5$-3$a$b#", "@interval$1$1$a$b#"},
        {"@system$a@#b$c#", "@system$a$b$c#"},
        {"@spec$!=#", "@spec$???#"},
        {"@spec$qq#", "@spec$???#"},
    };
    for (const StructureCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string written = ReadWrite(c.text);
        EXPECT_EQ(written, c.tree);
        EXPECT_EQ(ReadWrite(written), written);
    }
}

TEST(LexemTextWriter, IndexedFunctionWithoutIndexWritesAPlainFunction)
{
    CIndexFuncTemplate func(2);
    func.Base()->AddChild(MakeCharLexem('x'));
    EXPECT_EQ(func.LexemText(), "@func$cos$x#");
    func.SetUpper(true);
    func.Upper()->AddChild(MakeCharLexem('2'));
    EXPECT_EQ(func.LexemText(), "@index_up$@func$cos$x#$2#");
    EXPECT_EQ(func.Type(), TemplateType::IndexFunc);
}

}  // namespace
}  // namespace formula

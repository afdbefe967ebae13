// Reader of the MathML text: the document goes through the XML layer
// (libxml2 DOM) and its element tree is translated into lexeme text, which
// CLexemParser::Parse then turns into lexemes. It reads everything the
// writer writes (mathml_writer.h), and the forms of other writers the
// extension knows:
//   - element children are counted, whitespace-only text between them is
//     skipped (inside the token elements mi, mo, mn... text is kept as is);
//   - a function is a name ("mi", possibly under "msub"/"msup" for its
//     indexes) followed by its argument, whose own round "mfenced" are the
//     function's brackets; every other "mfenced" is a bracket template;
//   - an integral or a sum is its sign ("munderover" with the limits, or a
//     bare "mo" for the indefinite integral) followed by its body;
//   - an "mfenced" straight under "msup" or "msub" is the brackets of the
//     index base and is dropped (except the absolute value);
//   - unknown elements are read through, their children in order.
// A text never brings "@", "$" or "#" into the lexeme text: those are refused
// as unsupported characters.
#include <optional>
#include <vector>

#include "formula/model/errors.h"
#include "formula/model/messages.h"
#include "formula/model/sign_tables.h"
#include "formula/model/templates/functions.h"
#include "formula/notation/lexem_parser.h"
#include "formula/notation/mathml_names.h"
#include "platform/xml.h"

namespace formula {
namespace {

namespace xml = platform::xml;

// Element nesting allowed: several elements stand for one template level
// (the XML layer itself stops at 256 levels).
constexpr int kMaxElementDepth = 8 * CLexemParser::kMaxDepth;

[[noreturn]] void Untranslatable()
{
    throw CMEException(3, msg::MathMLTranslation);
}

bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsToken(std::string_view name)
{
    for (std::string_view token : {"mi", "mo", "mn", "mtext", "ms", "mtint", "mtnum", "mtden"}) {
        if (name == token) {
            return true;
        }
    }
    return false;
}

enum class BigOperator { None, Integral, IndefiniteIntegral, Summa };

class Translator {
public:
    explicit Translator(std::string& out)
        : m_out(out)
    {
    }
    void Element(const xml::Node& node, int depth);

private:
    // The nodes that count: elements, and text that is not whitespace
    // between elements.
    static std::vector<xml::Node> Items(const xml::Node& node);
    static bool HasText(const xml::Node& node);
    static std::vector<xml::Node> Fixed(const xml::Node& node, std::size_t count);
    static bool IsPrime(const xml::Node& node);
    static bool IsRoundFence(const xml::Node& node);
    static std::optional<std::string> CharType(const xml::Node& node);
    static int FunctionHead(const xml::Node& node);
    static BigOperator BigOperatorHead(const xml::Node& node);

    void Sequence(const xml::Node& node, int depth);
    void Text(std::string_view text);
    void Char(const xml::Node& node);
    void Row(const xml::Node& node, int depth);
    void Fenced(const xml::Node& node, int depth);
    void IndexPart(const xml::Node& node, int depth);
    void Power(const xml::Node& node, int depth);
    void SubSup(const xml::Node& node, int depth);
    bool Lim(const xml::Node& node, int depth);
    void Function(const xml::Node& head, const xml::Node& argument, int depth);
    void Argument(const xml::Node& node, int depth);
    void BigOperatorWithBody(BigOperator kind, const xml::Node& head, const xml::Node* body, int depth);
    void Table(const xml::Node& table, std::string_view separator, int depth);

    std::string& m_out;
};

std::vector<xml::Node> Translator::Items(const xml::Node& node)
{
    const bool token = IsToken(node.localName());
    std::vector<xml::Node> items;
    for (const xml::Node& child : node.childNodes()) {
        if (child.type() == xml::NodeType::Element || (child.type() == xml::NodeType::Text && (token || !IsBlank(child.text())))) {
            items.push_back(child);
        }
    }
    return items;
}

bool Translator::HasText(const xml::Node& node)
{
    for (const xml::Node& child : Items(node)) {
        if (child.type() == xml::NodeType::Text) {
            return true;
        }
    }
    return false;
}

// The element children of an element that must have exactly so many.
std::vector<xml::Node> Translator::Fixed(const xml::Node& node, std::size_t count)
{
    std::vector<xml::Node> children = node.children();
    if (children.size() != count) {
        Untranslatable();
    }
    return children;
}

bool Translator::IsPrime(const xml::Node& node)
{
    return node.localName() == "mn" && node.children().empty() && Trimmed(node.text()) == "'";
}

bool Translator::IsRoundFence(const xml::Node& node)
{
    const std::string open = node.attribute("open").value_or("");
    return node.localName() == "mfenced" && (open.empty() || open == "(");
}

// The type of a "char" element, or of the one "char" an "mo" holds.
std::optional<std::string> Translator::CharType(const xml::Node& node)
{
    if (node.localName() == "char") {
        return node.attribute("type").value_or("");
    }
    if (node.localName() == "mo" && !HasText(node)) {
        const std::vector<xml::Node> children = node.children();
        if (children.size() == 1 && children.front().localName() == "char") {
            return children.front().attribute("type").value_or("");
        }
    }
    return std::nullopt;
}

// The function id of a function name, possibly with indexes; 0 when the
// element is no function head.
int Translator::FunctionHead(const xml::Node& node)
{
    const std::string name = node.localName();
    if (name == "mi") {
        if (!node.children().empty()) {
            return 0;
        }
        const int id = GetFuncId(Trimmed(node.text()));
        return id > 0 ? id : 0;
    }
    if (name == "msub" || name == "msup") {
        const std::vector<xml::Node> children = node.children();
        if (children.size() != 2 || (name == "msup" && IsPrime(children[1]))) {
            return 0;
        }
        return FunctionHead(children[0]);
    }
    return 0;
}

BigOperator Translator::BigOperatorHead(const xml::Node& node)
{
    if (node.localName() == "munderover") {
        const std::vector<xml::Node> children = node.children();
        const std::optional<std::string> type = children.size() == 3 ? CharType(children[0]) : std::nullopt;
        if (type == mathml::kIntegralType) {
            return BigOperator::Integral;
        }
        if (type == mathml::kSummaType) {
            return BigOperator::Summa;
        }
        return BigOperator::None;
    }
    if (node.localName() == "mo" && CharType(node) == mathml::kIntegralType) {
        return BigOperator::IndefiniteIntegral;
    }
    return BigOperator::None;
}

void Translator::Element(const xml::Node& node, int depth)
{
    if (depth > kMaxElementDepth) {
        throw CMEException(3, msg::TooDeep);
    }
    const std::string name = node.localName();
    if (name == "mfrac") {
        const std::vector<xml::Node> parts = Fixed(node, 2);
        m_out += "@hor_frac$";
        Element(parts[0], depth + 1);
        m_out += '$';
        Element(parts[1], depth + 1);
        m_out += '#';
    } else if (name == "mtsf" || name == "mtmf") {
        const std::vector<xml::Node> parts = Fixed(node, name == "mtsf" ? 2 : 3);
        m_out += name == "mtsf" ? "@simple_frac" : "@mixed_frac";
        for (const xml::Node& part : parts) {
            m_out += '$';
            Element(part, depth + 1);
        }
        m_out += '#';
    } else if (name == "msup" || name == "msub") {
        Power(node, depth);
    } else if (name == "msq") {
        const std::vector<xml::Node> parts = Fixed(node, 2);
        m_out += "@progmem$";
        Element(parts[0], depth + 1);
        m_out += '$';
        Element(parts[1], depth + 1);
        m_out += '#';
    } else if (name == "msubsup") {
        SubSup(node, depth);
    } else if (name == "mroot") {
        // One child: the square root; two: radicand, then degree.
        const std::vector<xml::Node> parts = node.children();
        if (parts.size() == 1) {
            m_out += "@sqrroot$";
            Element(parts[0], depth + 1);
        } else if (parts.size() == 2) {
            m_out += "@root$";
            Element(parts[1], depth + 1);
            m_out += '$';
            Element(parts[0], depth + 1);
        } else {
            Untranslatable();
        }
        m_out += '#';
    } else if (name == "mrow") {
        Row(node, depth);
    } else if (name == "mfenced") {
        Fenced(node, depth);
    } else if (name == "char") {
        Char(node);
    } else if (name == "interval") {
        const std::vector<xml::Node> ends = Fixed(node, 2);
        m_out += "@interval$";
        m_out += node.attribute("open") == "[" ? '1' : '0';
        m_out += '$';
        m_out += node.attribute("close") == "]" ? '1' : '0';
        m_out += '$';
        Element(ends[0], depth + 1);
        m_out += '$';
        Element(ends[1], depth + 1);
        m_out += '#';
    } else if (name != "munder" || !Lim(node, depth)) {
        Sequence(node, depth);
    }
}

// The children in order; a function name takes the element after it as its
// argument, a big operator's sign takes it as its body.
void Translator::Sequence(const xml::Node& node, int depth)
{
    const std::vector<xml::Node> items = Items(node);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const xml::Node& item = items[i];
        if (item.type() == xml::NodeType::Text) {
            Text(item.text());
            continue;
        }
        const xml::Node* next =
            i + 1 < items.size() && items[i + 1].type() == xml::NodeType::Element ? &items[i + 1] : nullptr;
        if (next && FunctionHead(item) > 0) {
            Function(item, *next, depth + 1);
            ++i;
            continue;
        }
        const BigOperator big = BigOperatorHead(item);
        if (big != BigOperator::None) {
            BigOperatorWithBody(big, item, next, depth + 1);
            i += next ? 1 : 0;
            continue;
        }
        Element(item, depth + 1);
    }
}

// "<=" and ">=" are the relation signs, the middle dot (U+00B7) the product.
void Translator::Text(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '@' || ch == '$' || ch == '#') {
            throw CMEException(5, msg::UnsupportedSymbol);
        }
        const std::string_view rest = text.substr(i);
        if (rest.substr(0, 2) == "<=" || rest.substr(0, 2) == ">=") {
            m_out += ch == '<' ? "@spec$<=#" : "@spec$>=#";
            ++i;
        } else if (rest.substr(0, 2) == "\xC2\xB7") {
            m_out += '*';
            ++i;
        } else {
            m_out += ch;
        }
    }
}

void Translator::Char(const xml::Node& node)
{
    const std::string type = node.attribute("type").value_or("");
    if (type == mathml::kTrueType || type == mathml::kFalseType) {
        m_out += type == mathml::kTrueType ? "@bool$1#" : "@bool$0#";
        return;
    }
    if (type == "less" || type == "more") {
        m_out += type == "less" ? '<' : '>';
        return;
    }
    int sign = type == mathml::kPerpendicularAlias ? 94 : mathml::CodeOf(mathml::kSignTypes, type);
    int atom = type == mathml::kUnknownAtomType ? symbol::Unknown : mathml::CodeOf(mathml::kAtomTypes, type);
    // Inside "mo" an atom's type is a relation sign carrying the atom's code.
    const std::optional<xml::Node> parent = node.parent();
    if (atom >= 0 && parent && parent->localName() == "mo") {
        sign = atom;
    }
    if (type == mathml::kUnknownSignType) {
        sign = symbol::Unknown;
    }
    if (sign >= 0) {
        m_out += "@spec$";
        m_out += GetRelationName(sign);
        m_out += '#';
    } else if (atom >= 0) {
        m_out += "@spec_atom$";
        m_out += GetAtomName(atom);
        m_out += '#';
    } else {
        Untranslatable();
    }
}

// "[" or "{" and a table: a union or a system; a table alone: lines.
void Translator::Row(const xml::Node& node, int depth)
{
    const std::vector<xml::Node> children = node.children();
    if (!HasText(node) && children.size() == 2 && children[0].localName() == "mo" &&
        children[1].localName() == "mtable") {
        const std::string text = children[0].text();
        const std::string_view sign = Trimmed(text);
        if (sign == "[" || sign == "{") {
            m_out += sign == "[" ? "@union$" : "@system$";
            Table(children[1], "$", depth + 1);
            m_out += '#';
            return;
        }
    }
    if (!HasText(node) && children.size() == 1 && children[0].localName() == "mtable") {
        Table(children[0], "@#", depth + 1);
        return;
    }
    Sequence(node, depth);
}

void Translator::Table(const xml::Node& table, std::string_view separator, int depth)
{
    bool first = true;
    for (const xml::Node& line : table.children()) {
        if (!first) {
            m_out += separator;
        }
        first = false;
        Element(line, depth + 1);
    }
}

void Translator::Fenced(const xml::Node& node, int depth)
{
    const std::string open = node.attribute("open").value_or("");
    if (open == "|") {
        m_out += "@br_row_abs$";
    } else if (open == "[") {
        m_out += "@br_row_square$";
    } else if (open == "{") {
        m_out += "@br_row_figur$";
    } else {
        m_out += "@br_persist_rr$";
    }
    Sequence(node, depth);
    m_out += '#';
}

// A part of "msup" or "msub": an "mfenced" there holds the index base.
void Translator::IndexPart(const xml::Node& node, int depth)
{
    if (node.localName() == "mfenced" && node.attribute("open") != "|") {
        Sequence(node, depth + 1);
    } else {
        Element(node, depth + 1);
    }
}

// x^2, f' (the order of an n-th derivative in "order"), x_1.
void Translator::Power(const xml::Node& node, int depth)
{
    const std::vector<xml::Node> parts = Fixed(node, 2);
    if (node.localName() == "msub") {
        m_out += "@index_dn$";
    } else if (IsPrime(parts[1])) {
        m_out += "@deriv$";
        IndexPart(parts[0], depth);
        if (const std::optional<std::string> order = node.attribute("order")) {
            // The order is lexeme text: it must read on its own, on one line.
            try {
                for (const auto& lexem : CLexemParser().Parse(*order)) {
                    if (!lexem) {
                        Untranslatable();
                    }
                }
            } catch (const CMEException&) {
                Untranslatable();
            }
            m_out += '$';
            m_out += *order;
        }
        m_out += '#';
        return;
    } else {
        m_out += "@index_up$";
    }
    IndexPart(parts[0], depth);
    m_out += '$';
    IndexPart(parts[1], depth);
    m_out += '#';
}

// Base, lower, upper: the integration limits (the fenced base and a bar in an
// "mrow"), the sub- and superscript (a fenced base) or an index with both.
void Translator::SubSup(const xml::Node& node, int depth)
{
    const std::vector<xml::Node> parts = Fixed(node, 3);
    const xml::Node& base = parts[0];
    const std::vector<xml::Node> baseParts = base.children();
    if (base.localName() == "mrow" && !HasText(base) && baseParts.size() == 2 && IsRoundFence(baseParts[0]) &&
        baseParts[1].localName() == "mo" && Trimmed(baseParts[1].text()) == "|") {
        m_out += "@integrationLimit$";
        Sequence(baseParts[0], depth + 1);
    } else if (IsRoundFence(base)) {
        m_out += "@subsup$";
        Sequence(base, depth + 1);
    } else {
        m_out += "@index_updn$";
        Element(base, depth + 1);
    }
    m_out += '$';
    Element(parts[2], depth + 1);
    m_out += '$';
    Element(parts[1], depth + 1);
    m_out += '#';
}

// "lim" with its fenced body over the line "variable -> value".
bool Translator::Lim(const xml::Node& node, int depth)
{
    const std::vector<xml::Node> parts = node.children();
    if (parts.size() != 2 || parts[0].localName() != "mrow" || parts[1].localName() != "mrow") {
        return false;
    }
    const std::vector<xml::Node> head = parts[0].children();
    const std::vector<xml::Node> line = parts[1].children();
    if (head.empty() || head.size() > 2 || head[0].localName() != "mo" || Trimmed(head[0].text()) != "lim" ||
        line.size() != 3) {
        return false;
    }
    m_out += "@lim$";
    if (head.size() == 2) {
        if (IsRoundFence(head[1])) {
            Sequence(head[1], depth + 1);
        } else {
            Element(head[1], depth + 1);
        }
    }
    m_out += '$';
    Element(line[0], depth + 1);
    m_out += '$';
    Element(line[2], depth + 1);
    m_out += '#';
    return true;
}

// sin x, with indexes: "@index_up$@index_dn$@func$sin$x#$1#$2#".
void Translator::Function(const xml::Node& head, const xml::Node& argument, int depth)
{
    if (depth > kMaxElementDepth) {
        throw CMEException(3, msg::TooDeep);
    }
    const std::string name = head.localName();
    if (name == "mi") {
        m_out += "@func$";
        m_out += GetFuncName(FunctionHead(head));
        m_out += '$';
        Argument(argument, depth + 1);
        m_out += '#';
        return;
    }
    const std::vector<xml::Node> parts = head.children();
    m_out += name == "msub" ? "@index_dn$" : "@index_up$";
    Function(parts[0], argument, depth + 1);
    m_out += '$';
    IndexPart(parts[1], depth);
    m_out += '#';
}

// The round brackets around a function's argument are the function's own.
void Translator::Argument(const xml::Node& node, int depth)
{
    const xml::Node* fence = IsRoundFence(node) ? &node : nullptr;
    const std::vector<xml::Node> children = node.children();
    if (node.localName() == "mrow" && !HasText(node) && children.size() == 1 && IsRoundFence(children[0])) {
        fence = &children[0];
    }
    if (fence) {
        Sequence(*fence, depth + 1);
    } else {
        Element(node, depth + 1);
    }
}

void Translator::BigOperatorWithBody(BigOperator kind, const xml::Node& head, const xml::Node* body, int depth)
{
    const auto writeBody = [&] {
        if (body) {
            Element(*body, depth + 1);
        }
    };
    switch (kind) {
    case BigOperator::None:
        break;
    case BigOperator::IndefiniteIntegral:
        m_out += "@integral_undef$";
        writeBody();
        break;
    case BigOperator::Integral:
    case BigOperator::Summa: {
        // munderover: the sign, the lower limit, the upper limit.
        const std::vector<xml::Node> parts = head.children();
        const bool integral = kind == BigOperator::Integral;
        m_out += integral ? "@integral$" : "@summa$";
        writeBody();
        m_out += '$';
        Element(parts[integral ? 1 : 2], depth + 1);
        m_out += '$';
        Element(parts[integral ? 2 : 1], depth + 1);
        break;
    }
    }
    m_out += '#';
}

}  // namespace

void CLexemParser::ConvertMathMLText(std::string_view mathml, std::string& out)
{
    std::optional<xml::Document> document;
    try {
        xml::LoadOptions options;
        options.preserveWhiteSpace = true;
        document = xml::Document::loadText(mathml, options);
    } catch (const xml::Error&) {
        throw CMEException(2, msg::XmlLoad);
    }
    const std::optional<xml::Node> root = document->root();
    if (!root) {
        throw CMEException(2, msg::XmlLoad);
    }
    std::string text;
    try {
        Translator(text).Element(*root, 0);
    } catch (const CMEException&) {
        throw;
    } catch (const std::exception&) {
        Untranslatable();
    }
    out += text;
}

}  // namespace formula

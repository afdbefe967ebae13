#include "solvekernel/lexer.h"

#include <array>
#include <cctype>

#include "solvekernel/parser.h"

namespace solvekernel {

namespace {

// Words read as they stand (case matters).
constexpr std::array<std::string_view, 17> kWords = {
    "RealNum", "PeriodNum", "System", "Union", "Interval", "_range", "_abs", "_sqrt", "i_name",
    "Derive", "Sets", "EmptySet", "InfSet", "NumLine", "PlusInfSet", "MinusInfSet", "pi",
};
// Words the notation has but the kernel cannot work with: read, then refused.
constexpr std::array<std::string_view, 7> kRefusedWords = {
    "belongSet", "belongEquSet", "integral", "integral_undef", "True", "False", "NotImplemented",
};
// Refused words that the writer always puts after a space; without one they
// are letters side by side ("mu" is m times u).
constexpr std::array<std::string_view, 7> kSpacedWords = {
    "mu", "perp", "deg", "corn", "dbarrow", "rlarrow", "lrarrow",
};
// Function names, found without regard to case before "(".
constexpr std::array<std::string_view, 11> kFunctions = {
    "sin", "cos", "tg", "ctg", "arcsin", "arccos", "arctg", "arcctg", "log", "lg", "ln",
};

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool nextNonSpaceIs(std::string_view text, std::size_t at, char wanted)
{
    while (at < text.size() && text[at] == ' ')
        ++at;
    return at < text.size() && text[at] == wanted;
}

// Operators with "!" or alone, longest first.
struct OpSpelling {
    std::string_view text;
    Tok kind;
};
constexpr std::array<OpSpelling, 28> kOps = {{
    {"<=!", Tok::Le}, {">=!", Tok::Ge}, {"<>!", Tok::Ne}, {"||!", Tok::NotIn},
    {"<=", Tok::Le},  {">=", Tok::Ge},  {"<>", Tok::Ne},  {"||", Tok::In},
    {"+!", Tok::Plus}, {"-!", Tok::Minus}, {"*!", Tok::Times}, {"/!", Tok::Divide},
    {"//", Tok::FracBar}, {"#!", Tok::MixedBar}, {"^!", Tok::Power}, {"%!", Tok::Percent},
    {"=!", Tok::Eq}, {"<!", Tok::Lt}, {">!", Tok::Gt}, {"&!", Tok::And}, {"|!", Tok::Or},
    {"+", Tok::Plus}, {"-", Tok::Minus}, {"*", Tok::Times}, {"/", Tok::Divide}, {"=", Tok::Eq},
    {"<", Tok::Lt}, {">", Tok::Gt},
}};

}  // namespace

std::vector<Token> tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ') {
            ++i;
            continue;
        }
        if (isDigit(c)) {
            std::size_t end = i;
            while (end < text.size() && isDigit(text[end]))
                ++end;
            if (end - i > static_cast<std::size_t>(kMaxDigits))
                throw ParseError("number too long");
            tokens.push_back({Tok::Number, std::string(text.substr(i, end - i))});
            i = end;
            continue;
        }
        if (isLetter(c) || c == '_') {
            std::size_t end = i;
            while (end < text.size() && (isLetter(text[end]) || text[end] == '_'))
                ++end;
            const std::string_view run = text.substr(i, end - i);
            bool known = false;
            for (auto word : kWords)
                known = known || word == run;
            for (auto word : kRefusedWords) {
                if (word == run)
                    throw ParseError("word not supported");
            }
            for (auto word : kSpacedWords) {
                if (word == run && i > 0 && text[i - 1] == ' ')
                    throw ParseError("word not supported");
            }
            if (!known && nextNonSpaceIs(text, end, '(')) {
                const std::string low = lower(run);
                for (auto name : kFunctions) {
                    if (name == low) {
                        tokens.push_back({Tok::Word, low});
                        i = end;
                        known = true;
                        break;
                    }
                }
                if (known)
                    continue;
            }
            if (known) {
                tokens.push_back({Tok::Word, std::string(run)});
                i = end;
                continue;
            }
            if (run.find('_') != std::string_view::npos)
                throw ParseError("unknown word");
            // Letters side by side: one letter each; digits right after the
            // last one are its index.
            for (std::size_t k = 0; k < run.size(); ++k)
                tokens.push_back({Tok::Letter, std::string(1, run[k])});
            std::size_t digitsEnd = end;
            while (digitsEnd < text.size() && isDigit(text[digitsEnd]))
                ++digitsEnd;
            if (digitsEnd - end > static_cast<std::size_t>(kMaxDigits))
                throw ParseError("index too long");
            tokens.back().text += std::string(text.substr(end, digitsEnd - end));
            i = digitsEnd;
            continue;
        }
        if (c == '"') {
            const std::size_t close = text.find('"', i + 1);
            if (close == std::string_view::npos)
                throw ParseError("unclosed quote");
            tokens.push_back({Tok::String, std::string(text.substr(i + 1, close - i - 1))});
            i = close + 1;
            continue;
        }
        if (c == '(' || c == ')' || c == ',') {
            tokens.push_back({c == '(' ? Tok::LParen : c == ')' ? Tok::RParen : Tok::Comma, {}});
            ++i;
            continue;
        }
        bool matched = false;
        for (const auto& op : kOps) {
            if (text.substr(i, op.text.size()) == op.text) {
                // "+-" is the plus-minus sign, which the kernel does not read.
                if (op.kind == Tok::Plus && op.text.size() == 1 && i + 1 < text.size() &&
                    text[i + 1] == '-')
                    throw ParseError("plus-minus");
                tokens.push_back({op.kind, {}});
                i += op.text.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            throw ParseError("unexpected character");
    }
    tokens.push_back({Tok::End, {}});
    return tokens;
}

}  // namespace solvekernel

#include "kernel_fixture.h"

#include <dlfcn.h>

#include <ginac/ginac.h>

#include <cctype>
#include <cmath>
#include <stdexcept>

namespace kerneltest {

const Library& Library::get()
{
    static const Library library = [] {
        Library lib;
        void* handle = ::dlopen(TARVIK_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            throw std::runtime_error(std::string("cannot load the kernel: ") + ::dlerror());
        lib.init = reinterpret_cast<ExecInit>(::dlsym(handle, "exec_init"));
        lib.getres = reinterpret_cast<ExecGetRes>(::dlsym(handle, "exec_getres"));
        lib.remove = reinterpret_cast<ExecRemove>(::dlsym(handle, "exec_remove"));
        return lib;
    }();
    return library;
}

std::string rulesPath(const std::string& file) { return std::string(TARVIK_RULES_DIR) + "/" + file; }

void Kernel::start(const std::string& ruleFile)
{
    const Library& lib = Library::get();
    ASSERT_NE(lib.init, nullptr);
    ASSERT_EQ(lib.init(TARVIK_LIBRARY, ("-l " + rulesPath(ruleFile)).c_str(), &m_handle, nullptr), 1);
}

std::string Kernel::ask(std::int32_t code, const std::string& request) const
{
    const Library& lib = Library::get();
    char* reply = nullptr;
    const int ok = lib.getres(request.c_str(), code, &reply, m_handle);
    std::string text = ok && reply ? std::string(reply) : std::string("<false>");
    lib.remove(reply, 0);
    return text;
}

namespace {

// Splits "a,b" at the commas outside brackets.
std::vector<std::string> arguments(const std::string& text)
{
    std::vector<std::string> args;
    int depth = 0;
    std::string current;
    for (char c : text) {
        if (c == '(')
            ++depth;
        if (c == ')')
            --depth;
        if (c == ',' && depth == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    args.push_back(current);
    return args;
}

// The reply forms in the algebra library's syntax.
std::string plainSyntax(const std::string& reply)
{
    static const std::pair<std::string, int> kTemplates[] = {
        {"hor_frac(", 2}, {"index_up(", 2}, {"sqrroot(", 1}, {"br_row_abs(", 1},
    };
    std::string out;
    std::size_t i = 0;
    while (i < reply.size()) {
        bool matched = false;
        for (const auto& [word, arity] : kTemplates) {
            if (reply.compare(i, word.size(), word) != 0)
                continue;
            std::size_t j = i + word.size();
            int depth = 1;
            while (j < reply.size() && depth > 0) {
                if (reply[j] == '(')
                    ++depth;
                if (reply[j] == ')')
                    --depth;
                ++j;
            }
            const auto args = arguments(reply.substr(i + word.size(), j - 1 - i - word.size()));
            if (static_cast<int>(args.size()) != arity)
                throw std::runtime_error("bad template");
            if (word == "hor_frac(")
                out += "((" + plainSyntax(args[0]) + ")/(" + plainSyntax(args[1]) + "))";
            else if (word == "index_up(")
                out += "((" + plainSyntax(args[0]) + ")^(" + plainSyntax(args[1]) + "))";
            else if (word == "sqrroot(")
                out += "sqrt(" + plainSyntax(args[0]) + ")";
            else
                out += "abs(" + plainSyntax(args[0]) + ")";
            i = j;
            matched = true;
            break;
        }
        if (matched)
            continue;
        if (reply.compare(i, 9, "mrk_comma") == 0) {
            out += '.';
            i += 9;
        } else if (reply.compare(i, 2, "pi") == 0) {
            out += "Pi";
            i += 2;
        } else {
            out += reply[i++];
        }
    }
    return out;
}

double evaluate(const std::string& plain, const std::map<std::string, double>& at)
{
    GiNaC::symtab table;
    GiNaC::lst substitutions;
    for (const auto& [name, value] : at) {
        GiNaC::symbol s(name);
        table[name] = s;
        substitutions.append(s == value);
    }
    GiNaC::parser reader(table);
    const GiNaC::ex e = GiNaC::evalf(reader(plain).subs(substitutions));
    if (!GiNaC::is_a<GiNaC::numeric>(e))
        return std::nan("");
    return GiNaC::ex_to<GiNaC::numeric>(e).to_double();
}

}  // namespace

double replyValue(const std::string& reply, const std::map<std::string, double>& at)
{
    try {
        return evaluate(plainSyntax(reply), at);
    } catch (const std::exception&) {
        return std::nan("");
    }
}

double plainValue(const std::string& expression, const std::map<std::string, double>& at)
{
    try {
        return evaluate(expression, at);
    } catch (const std::exception&) {
        return std::nan("");
    }
}

::testing::AssertionResult sameFunction(const std::string& reply, const std::string& plain)
{
    static const std::map<std::string, double> kPoints[] = {
        {{"x", 1.5}, {"y", -2.25}, {"a", 3.0}, {"b", 0.5}, {"c", 1.25}, {"d", -0.5}},
        {{"x", -0.75}, {"y", 4.0}, {"a", -1.5}, {"b", 2.0}, {"c", -2.0}, {"d", 3.5}},
        {{"x", 2.6}, {"y", 0.3}, {"a", 0.7}, {"b", -3.1}, {"c", 0.2}, {"d", 1.1}},
    };
    for (const auto& at : kPoints) {
        const double r = replyValue(reply, at);
        const double p = plainValue(plain, at);
        if (std::isnan(r) || std::isnan(p) || std::fabs(r - p) > 1e-9 * (1 + std::fabs(p)))
            return ::testing::AssertionFailure() << "\"" << reply << "\" is " << r << " but \"" << plain
                                                 << "\" is " << p;
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult wellFormedReply(const std::string& reply, bool indexed)
{
    std::string text = reply;
    for (std::size_t at; (at = text.find("mrk_comma")) != std::string::npos;)
        text.replace(at, 9, ",");
    int depth = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 32 || c > 126 || c == '!' || c == '"' || c == '#' || c == '$' || c == '@' || c == ';')
            return ::testing::AssertionFailure() << "character " << int(c) << " in " << reply;
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
        if (depth < 0)
            return ::testing::AssertionFailure() << "unbalanced " << reply;
        if (!indexed && std::isalpha(c) && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])))
            return ::testing::AssertionFailure() << "letter before a digit in " << reply;
    }
    if (depth != 0)
        return ::testing::AssertionFailure() << "unbalanced " << reply;
    return ::testing::AssertionSuccess();
}

}  // namespace kerneltest

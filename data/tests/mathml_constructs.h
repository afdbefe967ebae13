#pragma once
// One formula of every construct the formula control writes in MathML, as
// lexeme text, with the characters the MathML sheet must show for it, in
// order (white space aside).
#include <string>
#include <utility>
#include <vector>

namespace moduledata {

inline const std::vector<std::pair<std::string, std::string>>& mathmlConstructs()
{
    static const std::vector<std::pair<std::string, std::string>> constructs = {
        {"x+1-y", "x+1-y"},
        {"a*b:c", "a\xC2\xB7" "b:c"},
        {"3,25+0,1(6)", "3,25+0,1(6)"},
        {"(a+b)*[c]", "(a+b)\xC2\xB7[c]"},
        {"@hor_frac$1$x+1#", "1x+1"},
        {"@index_up$x+1$2#", "(x+1)2"},
        {"@index_dn$x$1#", "x1"},
        {"@index_updn$x$2$1#", "x12"},
        {"@subsup$x$2$1#", "(x)12"},
        {"@integrationLimit$F$b$a#", "(F)|ab"},
        {"@system$x+y=1$x-y=3#", "{x+y=1x-y=3"},
        {"@union$x=1$x=2#", "[x=1x=2"},
        {"a@#b", "ab"},
        {"@mixed_frac$2$1$3#", "213"},
        {"@simple_frac$12$5#", "125"},
        {"x@spec$blng#@interval$1$0$a$b#", "x\xE2\x88\x88[a;b)"},
        {"@root$3$x#", "\xE2\x88\x9Ax3"},
        {"@sqrroot$x+1#", "\xE2\x88\x9Ax+1"},
        {"@deriv$x+1#", "(x+1)'"},
        {"@deriv$y$2#", "y(2)"},
        {"@progmem$a$n+1#", "an+1"},
        {"@br_row_abs$x#", "|x|"},
        {"@br_row_figur$1;-2#", "{1;-2}"},
        {"@br_row_square$a#", "[a]"},
        {"@func$sin$x#", "sin(x)"},
        {"@index_up$@func$cos$x#$2#", "cos2(x)"},
        {"@lim$f$x$0#", "lim(f)x\xE2\x86\x92" "0"},
        {"@integral$f$a$b#", "\xE2\x88\xAB" "abf"},
        {"@integral_undef$f#", "\xE2\x88\xAB" "f"},
        {"@summa$k$n$1#", "\xE2\x88\x91" "1nk"},
        {"@bool$1#+@bool$0#", "істина+хиба"},
    };
    return constructs;
}

}  // namespace moduledata

#include "formula/tests/canvas_samples.h"

namespace formula {

const std::vector<SampleFormula>& SampleFormulas()
{
    static const std::vector<SampleFormula> samples = {
        {kSampleSystem},
        {"@union$x<1$x>@hor_frac$5$2##"},
        {"@hor_frac$a+b$c#+@hor_frac$1$x-y#-@diag_frac$3$4#"},
        {"@mixed_frac$2$1$3#+@simple_frac$5$12#=3,25-0,1(6)"},
        {"@index_up$a$@index_up$b$@index_up$c$@index_up$d$e####"},
        {"@index_updn$x$2$1#+@index_dn$a$12#+@progmem$a$n+1#"},
        {"@index_up$(x+1)$@hor_frac$1$2##"},
        {"@index_dn$@hor_frac$@hor_frac$a$b#$c#$1#+@func$sin$@hor_frac$@hor_frac$a$b#$c##"},
        {"@func$sin$x#+@func$cos$2x+1#=@func$lg$100#"},
        {"@index_up$@func$sin$x#$2#+@index_dn$@func$log$x#$2#"},
        {"@sqrroot$x+1#+@sqrtcan$2#-@root$3$@hor_frac$a$b##"},
        {"@br_row_round$a+b#@br_row_square$x#@br_row_figur$1;2;3#@br_row_abs$x-1#"},
        {"x@spec$blng#@interval$1$0$-2$5#@spec$unite#@interval$0$1$7$@spec_atom$inf##"},
        {"@deriv$f#+@deriv$x+1#+@deriv$y$3#"},
        {"@integral$@hor_frac$@index_up$x$2#+1$x-1#dx$0$1#"},
        {"@integral_undef$@hor_frac$1$@index_up$x$2##dx#=-@hor_frac$1$x#+C"},
        {"@integral_undef$@system$a$b$c$d#dx#"},
        {"@subsup$@hor_frac$1$2#$0$1#+@integrationLimit$F$2$1#"},
        {"@summa$@index_up$k$2#$n$k=1#"},
        {"@lim$@hor_frac$@func$sin$x#$x#$x$0#=1"},
        {"@spec_atom$alpha#+@spec_atom$betta#@spec$<=#@spec_atom$pi#@spec$nequ#@spec_atom$gamma#"},
        {"A@spec$intsct#B=@spec_atom$eset#@spec$belongSet#@spec_atom$real#"},
        {"a*b:c/d%@spec$+-#e@spec$>=#f@spec$dbarrow#g"},
        {"@bool$1#;@bool$0#"},
        {"@hor_frac$$#+@sqrroot$#+@index_up$x$#", true},
    };
    return samples;
}

}  // namespace formula

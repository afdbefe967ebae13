#pragma once
// Every template kind, for code that builds templates by type.
#include "formula/model/templates/big_operators.h"
#include "formula/model/templates/bool_template.h"
#include "formula/model/templates/brackets.h"
#include "formula/model/templates/derivatives.h"
#include "formula/model/templates/fractions.h"
#include "formula/model/templates/functions.h"
#include "formula/model/templates/index.h"
#include "formula/model/templates/lim.h"
#include "formula/model/templates/multi_row.h"
#include "formula/model/templates/roots.h"
#include "formula/model/templates/template.h"
#include "formula/model/templates/template_kinds.h"

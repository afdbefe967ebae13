#include "bench/formula_bench_support.h"

#include <QGuiApplication>

#include <cstdlib>

#include "formula/model/lexem_row.h"
#include "formula/model/templates/template.h"

namespace bench {

void EnsureGuiApplication()
{
    if (QGuiApplication::instance()) {
        return;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    static int argc = 1;
    static char name[] = "tessaly_bench";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

int CountLexemes(const formula::CLexem& lexem)
{
    int count = lexem.Kind() == formula::LexemKind::RowHead ? 0 : 1;
    if (const formula::CLexemRow* row = formula::AsRow(&lexem)) {
        for (int pos = 0; pos < row->Count(); ++pos) {
            count += CountLexemes(*row->Child(pos));
        }
    } else if (const formula::CTemplate* tmpl = formula::AsTemplate(&lexem)) {
        for (const formula::CLexem* part : tmpl->Parts()) {
            count += CountLexemes(*part);
        }
    }
    return count;
}

}  // namespace bench

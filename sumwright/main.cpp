// Sumwright: the pupil's calculator, the solver's frame with its own
// differences.
#include <QApplication>

#include "reckonry/app.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    return reckonry::RunProgram(reckonry::Program::Sumwright);
}

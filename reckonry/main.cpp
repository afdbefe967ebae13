// Reckonry: the pupil's equation solver.
#include <QApplication>

#include "platform/html/html_view.h"
#include "reckonry/app.h"
#include "reckonry/guide_anim.h"

int main(int argc, char** argv)
{
    platform::html::prepareApplication();
    QApplication application(argc, argv);
    reckonry::InstallGuideAnimation();
    return reckonry::RunProgram(reckonry::Program::Reckonry);
}

// Stepwell: the pupil's step-by-step solving program.
#include <QApplication>

#include "platform/html/html_view.h"
#include "stepwell/app/stepwell_app.h"

int main(int argc, char** argv)
{
    platform::html::prepareApplication();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stepwell"));
    stepwell::CStepwellApp stepwell;
    if (const std::optional<int> code = stepwell.InitInstance())
        return *code;
    return QApplication::exec();
}

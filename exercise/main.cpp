// Rivodadi, the pupil's drill: "Rivodadi /t:<exercise number>".
#include <QApplication>

#include "exercise/exercise_app.h"
#include "exercise/exercise_command_line.h"
#include "exercise/exercise_frame.h"

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    exercise::CExerciseApp app;
    const auto frame = app.InitInstance(exercise::CommandLineOf(argc, argv));
    if (!frame)
        return 0;
    return application.exec();
}

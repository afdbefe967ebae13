#include "reckonry/guide_anim.h"

#include <QGuiApplication>
#include <QScreen>

#include "reckonry/main_frame.h"
#include "shared/language.h"
#include "solvehost/anim/task_anim_frame.h"

namespace reckonry {
namespace {

constexpr int kWidth = 850;
constexpr int kCreatedHeight = 600;
constexpr int kPlacedHeight = 650;

QWidget* showHowTodo(QWidget*, QWidget* existing, const std::string& text)
{
    auto* frame = dynamic_cast<solvehost::CTaskAnimFrame*>(existing);
    if (!frame) {
        frame = new solvehost::CTaskAnimFrame("guideanim.xslt");
        frame->Create();
        frame->setWindowTitle(QString::fromStdString(shared::GetLangString("guideHowtodoExt")));
        frame->resize(kWidth, kCreatedHeight);
        QScreen* screen = QGuiApplication::primaryScreen();
        const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, kWidth, kPlacedHeight);
        frame->setGeometry(work.x() + (work.width() - kWidth) / 2, work.y() + (work.height() - kPlacedHeight) / 2,
                           kWidth, kPlacedHeight);
    }
    frame->SetAnimFile(text);
    frame->raise();
    frame->show();
    frame->showNormal();
    frame->activateWindow();
    return frame;
}

}  // namespace

void InstallGuideAnimation() { CReckonryMainFrame::SetHowTodoPresenter(&showHowTodo); }

}  // namespace reckonry

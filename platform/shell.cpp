#include "platform/shell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "platform/paths.h"
#include "platform/text.h"

namespace platform::shell {

namespace {
Recorder* g_recorder = nullptr;

QString toQt(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
}  // namespace

void setRecorder(Recorder* recorder) { g_recorder = recorder; }

std::string programFileName(std::string_view program)
{
    std::string out = paths::toSlashes(program);
    if (out.size() >= 4 && text::equalsIgnoreCase(std::string_view(out).substr(out.size() - 4), ".exe"))
        out.resize(out.size() - 4);
    return out;
}

bool openDocument(std::string_view path)
{
    const std::string file = paths::toSlashes(path);
    if (g_recorder) {
        g_recorder->calls.push_back({Call::Kind::OpenDocument, file, {}, {}});
        return g_recorder->result;
    }
    const std::string found = paths::resolve(file);
    if (!paths::fileExists(found) && !paths::folderExists(found))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQt(found)));
}

bool startProgram(std::string_view program, const std::vector<std::string>& arguments,
                  std::string_view workingFolder, std::int64_t* processId)
{
    if (processId)
        *processId = 0;
    const std::string file = programFileName(program);
    const std::string folder = paths::toSlashes(workingFolder);
    if (g_recorder) {
        g_recorder->calls.push_back({Call::Kind::StartProgram, file, arguments, folder});
        return g_recorder->result;
    }
    const std::string found = paths::resolve(file);
    if (!paths::fileExists(found))
        return false;
    QStringList args;
    for (const std::string& argument : arguments)
        args << toQt(argument);
    qint64 pid = 0;
    if (!QProcess::startDetached(toQt(found), args, toQt(folder), &pid))
        return false;
    if (processId)
        *processId = pid;
    return true;
}

}  // namespace platform::shell

#include "stepwell/model/saved_task_name.h"

#include <QString>

#include <exception>
#include <optional>

#include "platform/xml.h"

namespace stepwell {

namespace {

constexpr int kTitleLength = 60;

// The title as XML reads it; a task text that is not XML gives its raw
// attribute text with the predefined entities read.
std::string taskTitle(std::string_view taskText)
{
    try {
        const platform::xml::Document document = platform::xml::Document::loadText(taskText);
        if (const std::optional<platform::xml::Node> root = document.root())
            return root->attribute("title").value_or("");
        return {};
    } catch (const std::exception&) {
    }
    constexpr std::string_view kTitle = " title=\"";
    const std::size_t tagEnd = taskText.find('>');
    const std::size_t at = taskText.substr(0, tagEnd).find(kTitle);
    if (at == std::string_view::npos)
        return {};
    const std::size_t begin = at + kTitle.size();
    const std::size_t end = taskText.find('"', begin);
    if (end == std::string_view::npos || end > tagEnd)
        return {};
    return platform::xml::unescape(taskText.substr(begin, end - begin));
}

QString fileNamePart(const std::string& text)
{
    QString part;
    for (const QChar c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) {
        const bool forbidden = c.unicode() < 0x20 || c.unicode() == 0x7F || QStringLiteral("/\\:*?\"<>|").contains(c);
        part += forbidden ? QChar(u'_') : c;
    }
    part.truncate(kTitleLength);
    // A surrogate pair cut in half would not be written.
    if (!part.isEmpty() && part.back().isHighSurrogate())
        part.chop(1);
    while (!part.isEmpty() && (part.front() == u' ' || part.front() == u'.'))
        part.remove(0, 1);
    while (!part.isEmpty() && (part.back() == u' ' || part.back() == u'.'))
        part.chop(1);
    return part;
}

}  // namespace

std::string SavedTaskFileName(std::string_view taskText, const QDateTime& time, std::string_view fallback)
{
    QString title = fileNamePart(taskTitle(taskText));
    if (title.isEmpty())
        title = fileNamePart(std::string(fallback));
    return (title + u' ' + time.toString(QStringLiteral("yyyy-MM-dd HH-mm-ss")) + QStringLiteral(".xml"))
        .toStdString();
}

}  // namespace stepwell

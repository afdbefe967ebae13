#pragma once
// The name of the pupil's own copy of a task document, kept when the
// solution cannot be sent.
#include <QDateTime>

#include <string>
#include <string_view>

namespace stepwell {

// The task's title (the `title` of its TASK element; `fallback` when it has
// none or nothing of it is left), a blank, the time as "YYYY-MM-DD HH-MM-SS"
// and ".xml". Characters a file name cannot hold on any of the pupils'
// systems (/ \ : * ? " < > | and control characters) become "_"; the title is
// cut to 60 characters and loses blanks and dots at its ends.
std::string SavedTaskFileName(std::string_view taskText, const QDateTime& time, std::string_view fallback);

}  // namespace stepwell

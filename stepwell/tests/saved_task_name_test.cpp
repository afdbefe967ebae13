#include <gtest/gtest.h>

#include "stepwell/model/saved_task_name.h"

namespace stepwell {
namespace {

TEST(SavedTaskName, TitleAndTimeTable)
{
    const QDateTime time(QDate(2024, 3, 7), QTime(9, 5, 30));
    const std::string at = " 2024-03-07 09-05-30.xml";
    const std::pair<std::string, std::string> cases[] = {
        {"<TASK id=\"1\" title=\"Лінійне рівняння\"><CONDITION/></TASK>", "Лінійне рівняння"},
        {"<TASK title=\"a &amp; b &quot;c&quot; &#1072;\"/>", "a & b _c_ а"},
        {"<TASK title=\"1/2: x*y? &lt;ok&gt; | \\ end\"/>", "1_2_ x_y_ _ok_ _ _ end"},
        {"<TASK title=\" ..tab&#9;line&#10;.. \"/>", "tab_line_"},
        {"<TASK title=\"\"/>", "Задача"},
        {"<TASK id=\"1\"/>", "Задача"},
        {"<TASK title=\"...\"/>", "Задача"},
        // Not XML: the attribute as written, the entities read.
        {"<TASK title=\"Від'ємне &amp; число\"><CONDITION>", "Від'ємне & число"},
        {"<TASK id=\"1\"><X title=\"not the task's\">", "Задача"},
        {std::string("<TASK title=\"\xFF\x01x\">"), "\xEF\xBF\xBD_x"},
        {"<TASK title=\"" + std::string(70, 'a') + "\"/>", std::string(60, 'a')},
        {"<TASK title=\"" + std::string(59, 'a') + "\xF0\x9F\x98\x80\"/>", std::string(59, 'a')},
    };
    for (const auto& [task, title] : cases)
        EXPECT_EQ(SavedTaskFileName(task, time, "Задача"), title + at) << task;
}

}  // namespace
}  // namespace stepwell

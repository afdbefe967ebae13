#pragma once
// The program's configuration file (stepwellcfg.xml of the module): the task
// types with their guide content, kernel code and check type, and the tree of
// the new-task menu.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace platform::xml {
class Document;
}

namespace stepwell {

// The new-task commands: 31 ids from 32750; an item past them has no command
// (32781 and later would reach other commands of the frame).
inline constexpr int kFirstNewTaskCommand = 32750;
inline constexpr int kLastNewTaskCommand = 32780;

struct NewTaskItem {
    std::string caption;
    std::string taskType;
    std::string content;  // the inner XML of MENUITEM: the condition text a new task starts with
    int commandId = 0;    // 0: past the last new-task command, shown greyed
};

// A popup of the menu: its groups come before its items.
struct NewTaskGroup {
    std::string caption;
    std::vector<NewTaskGroup> groups;
    std::vector<NewTaskItem> items;
};

struct TaskTypeRecord {
    std::string guideContent;  // the whole GUIDE element, its tags included
    std::string checkType;
    int aplan = -1;  // kernel function code; -1 when the attribute is absent
};

struct StepwellConfig {
    NewTaskGroup menu;                            // the children of NEWTASKMENU
    std::map<std::string, TaskTypeRecord> taskTypes;  // a later TASKTYPE with the same id wins
    std::map<int, NewTaskItem> itemsByCommand;

    const NewTaskItem* FindItem(int commandId) const;
    const TaskTypeRecord* FindTaskType(std::string_view id) const;
};

// Reads the configuration from a loaded document; a document without CONFIG
// gives an empty configuration.
StepwellConfig ReadStepwellConfig(const platform::xml::Document& document);
// Loads and reads a file or a text. Throws platform::xml::Error (NotFound,
// Malformed) with the reader's reason.
StepwellConfig LoadStepwellConfig(const std::string& path);
StepwellConfig ParseStepwellConfig(std::string_view text);

}  // namespace stepwell

#include "stepwell/model/stepwell_config.h"

#include <optional>

#include "platform/xml.h"
#include "stepwell/model/received_task.h"

namespace stepwell {

namespace xml = platform::xml;

namespace {

xml::LoadOptions configOptions()
{
    xml::LoadOptions options;
    options.preserveWhiteSpace = true;  // a condition text keeps the blanks between its formulas
    return options;
}

std::string innerXml(const xml::Node& node)
{
    std::string out;
    for (const xml::Node& child : node.childNodes())
        out += child.xml();
    return out;
}

// Groups first, then items, at each level; one running counter numbers the
// items of the whole tree.
void appendMenuGroup(NewTaskGroup& menu, const xml::Node& node, int& counter, StepwellConfig& config)
{
    for (const xml::Node& child : node.children()) {
        if (child.name() != "MENUGROUP")
            continue;
        NewTaskGroup group;
        group.caption = child.attribute("caption").value_or("");
        appendMenuGroup(group, child, counter, config);
        menu.groups.push_back(std::move(group));
    }
    for (const xml::Node& child : node.children()) {
        if (child.name() != "MENUITEM")
            continue;
        NewTaskItem item;
        item.caption = child.attribute("caption").value_or("");
        item.taskType = child.attribute("tasktype").value_or("");
        item.content = innerXml(child);
        const int id = kFirstNewTaskCommand + counter++;
        if (id <= kLastNewTaskCommand) {
            item.commandId = id;
            config.itemsByCommand[id] = item;
        }
        menu.items.push_back(std::move(item));
    }
}

}  // namespace

const NewTaskItem* StepwellConfig::FindItem(int commandId) const
{
    const auto it = itemsByCommand.find(commandId);
    return it == itemsByCommand.end() ? nullptr : &it->second;
}

const TaskTypeRecord* StepwellConfig::FindTaskType(std::string_view id) const
{
    const auto it = taskTypes.find(std::string(id));
    return it == taskTypes.end() ? nullptr : &it->second;
}

StepwellConfig ReadStepwellConfig(const xml::Document& document)
{
    StepwellConfig config;
    const std::optional<xml::Node> root = document.root();
    if (!root)
        return config;
    int counter = 0;
    if (const std::optional<xml::Node> menu = xml::selectSingle(document.node(), "/CONFIG/NEWTASKMENU"))
        appendMenuGroup(config.menu, *menu, counter, config);
    for (const xml::Node& node : xml::selectList(document.node(), "/CONFIG/TASKTYPES/TASKTYPE")) {
        TaskTypeRecord record;
        for (const xml::Node& child : node.children())
            if (child.name() == "GUIDE") {
                record.guideContent = child.xml();
                break;
            }
        if (const std::optional<std::string> aplan = node.attribute("aplan"))
            record.aplan = ParseDecimal(*aplan);
        record.checkType = node.attribute("checkType").value_or("");
        config.taskTypes[node.attribute("id").value_or("")] = std::move(record);
    }
    return config;
}

StepwellConfig LoadStepwellConfig(const std::string& path)
{
    return ReadStepwellConfig(xml::Document::loadFile(path, configOptions()));
}

StepwellConfig ParseStepwellConfig(std::string_view text)
{
    return ReadStepwellConfig(xml::Document::loadText(text, configOptions(), "stepwellcfg.xml"));
}

}  // namespace stepwell

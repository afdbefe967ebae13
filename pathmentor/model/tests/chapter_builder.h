#pragma once
// Chapters built in memory for the content and recommendation tests.
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "pathmentor/model/guide_records.h"

namespace pathmentor::testing {

inline std::unique_ptr<TransformationItem> item(std::string guid, int aplan, int type = 1,
                                                ItemView view = ItemView::Formula,
                                                std::vector<GuideFormula> formulas = {})
{
    auto result = std::make_unique<TransformationItem>();
    result->guid = std::move(guid);
    result->aplan = aplan;
    result->type = type;
    result->view = view;
    result->formulas = std::move(formulas);
    return result;
}

inline std::unique_ptr<GuideGroup> group(std::string guid, std::vector<std::unique_ptr<TransformationItem>> items)
{
    auto result = std::make_unique<GuideGroup>();
    result->guid = std::move(guid);
    result->items = std::move(items);
    return result;
}

inline std::unique_ptr<GuideChapter> chapter(int id, std::vector<std::unique_ptr<GuideGroup>> groups = {})
{
    auto result = std::make_unique<GuideChapter>();
    result->id = id;
    result->guid = "ch" + std::to_string(id);
    result->tabName = "tab " + std::to_string(id);
    result->groups = std::move(groups);
    return result;
}

// Vectors of move-only values cannot come from an initializer list.
template <typename T, typename... Rest>
std::vector<std::unique_ptr<T>> list(std::unique_ptr<T> first, Rest... rest)
{
    std::vector<std::unique_ptr<T>> result;
    result.push_back(std::move(first));
    (result.push_back(std::move(rest)), ...);
    return result;
}

inline std::vector<std::string> guidsOf(const std::vector<TransformationItem*>& items)
{
    std::vector<std::string> guids;
    for (const auto* it : items)
        guids.push_back(it ? it->guid : "<null>");
    return guids;
}

}  // namespace pathmentor::testing

#include "pathmentor/model/recommendation.h"

#include "platform/message_box.h"

namespace pathmentor {

bool offersOwnStep(int sign)
{
    switch (sign) {
    case 0:
    case 8:
    case 9:
    case 12:
    case 17: return false;
    default: return true;
    }
}

namespace {

// A copy of the item as a formula item with the given formulas.
std::unique_ptr<TransformationItem> formulaCopy(const TransformationItem& item, std::vector<GuideFormula> formulas)
{
    auto copy = std::make_unique<TransformationItem>(item);
    if (item.view != ItemView::Formula)
        copy->formulaChoice = false;
    copy->view = ItemView::Formula;
    copy->formulas = std::move(formulas);
    copy->graphText.clear();
    return copy;
}

template <typename Visit>
void forEachItem(std::span<GuideChapter* const> chapters, Visit&& visit)
{
    for (const GuideChapter* chapter : chapters) {
        if (!chapter)
            continue;
        for (const auto& group : chapter->groups)
            for (const auto& item : group->items)
                if (!visit(*item))
                    return;
    }
}

}  // namespace

std::vector<std::unique_ptr<TransformationItem>> selectRecommendedItems(std::span<GuideChapter* const> shownChapters,
                                                                        int sign)
{
    std::vector<std::unique_ptr<TransformationItem>> copies;

    const TransformationItem* ownStep = nullptr;
    forEachItem(shownChapters, [&](const TransformationItem& item) {
        if (item.type == 1 && item.aplan == kOwnStepAplan)
            ownStep = &item;
        return ownStep == nullptr;
    });
    if (!ownStep) {
        platform::showMessage("Error fill of the recomending common chapter", "");
    } else if (offersOwnStep(sign)) {
        // Only its first formula; an own-step item without formulas (or of
        // another view) still gives its copy, with no formula.
        std::vector<GuideFormula> first;
        if (ownStep->view == ItemView::Formula && !ownStep->formulas.empty())
            first.push_back(ownStep->formulas.front());
        copies.push_back(formulaCopy(*ownStep, std::move(first)));
    }

    forEachItem(shownChapters, [&](const TransformationItem& item) {
        if (item.view != ItemView::Formula)
            return true;
        if (sign != 17 && !(item.type == 1 && item.aplan < 5000))
            return true;
        std::vector<GuideFormula> matching;
        for (const GuideFormula& formula : item.formulas)
            if (formula.sign1 == sign || formula.sign2 == sign)
                matching.push_back(formula);
        if (!matching.empty())
            copies.push_back(formulaCopy(item, std::move(matching)));
        return true;
    });
    return copies;
}

}  // namespace pathmentor

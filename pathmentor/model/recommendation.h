#pragma once
// Which transformations the recommended chapter offers for a sign of the
// pupil's selection: copies of the shown chapters' items, each carrying only
// the formulas that answer to the sign.
#include <memory>
#include <span>
#include <vector>

#include "pathmentor/model/guide_records.h"

namespace pathmentor {

// The pupil's own step: the item offered first for most signs.
inline constexpr int kOwnStepAplan = 5351;

// Whether a sign is offered the copy of the own-step item (all but 0, 8, 9,
// 12 and 17).
bool offersOwnStep(int sign);

// The item copies for a sign, in order, searched through every group of
// every shown chapter (in tab order):
//  1. the first item with type 1 and aplan 5351, copied as a formula item
//     with only its first formula (none when it has no formulas or is not a
//     formula item), unless the sign is 0, 8, 9, 12 or 17; when no such item
//     exists the message "Error fill of the recomending common chapter" is
//     shown and the rest still runs;
//  2. every formula item with type 1 and aplan < 5000 (for sign 17: every
//     formula item) that has formulas whose sign1 or sign2 equals the sign,
//     copied as a formula item with exactly those formulas.
// Copies keep every other field of their item. Every group of the shown
// chapters is searched as it stands, so the recommended chapter's own
// records should hold no copies (release them first) and no answer items.
std::vector<std::unique_ptr<TransformationItem>> selectRecommendedItems(
    std::span<GuideChapter* const> shownChapters, int sign);

}  // namespace pathmentor

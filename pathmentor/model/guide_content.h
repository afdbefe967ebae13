#pragma once
// The guide content a host gives for each task, scanned as text (no XML
// parser): which chapters get tabs and which answer transformations are
// offered. For example
//   <GUIDE version="1.0" cch=";1;3;" answers="5351;815;"/>
// Each marker is matched exactly, with its leading blank and its quotation
// mark, and only its first occurrence counts; its value runs to the next
// quotation mark.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pathmentor/model/guide_records.h"

namespace pathmentor {

// The three values of a content text; nullopt when the marker or its
// closing quotation mark is missing.
struct GuideContentText {
    std::optional<std::string> version;   // after `<GUIDE version="`
    std::optional<std::string> chapters;  // after ` cch="`: ids each enclosed in semicolons
    std::optional<std::string> answers;   // after ` answers="`: aplan codes each followed by a semicolon
};

GuideContentText scanGuideContent(std::string_view content);

// How far a content text could be applied, in the order its checks run.
enum class ContentOutcome {
    NoVersion,     // no version marker: the tabs stay as they are
    WrongVersion,  // version other than "1.0": no tabs, nothing shown
    NoChapters,    // no chapters marker: no tabs, nothing shown
    NoAnswers,     // no answers marker: the shown chapters are chosen, but no tabs
    Applied,       // one tab per shown chapter; the answers go to the answers group
};

struct ContentSelection {
    ContentOutcome outcome = ContentOutcome::NoVersion;
    // The chapters that get tabs, in tab order (chosen from NoAnswers on).
    std::vector<GuideChapter*> shownChapters;
    // The answer items, in the order the content names them (Applied only);
    // they stay owned by their home groups.
    std::vector<TransformationItem*> answers;

    bool applied() const { return outcome == ContentOutcome::Applied; }
    // Whether the old tabs are gone (every outcome but NoVersion).
    bool tabsRemoved() const { return outcome != ContentOutcome::NoVersion; }
};

// Runs the content's checks and choices against the guide's chapter list
// (sorted, the recommended chapter at its head when there is one). Shows
// "Answer transformation not Found" for each answer id without an item.
ContentSelection selectGuideContent(std::string_view content, const ChapterList& chapters,
                                    bool showRecommended);

// The chapters whose id, written as ";%d;", occurs in the chapters text, in
// list order; with showRecommended, the chapter with id 0 goes to the head
// whatever the text says.
std::vector<GuideChapter*> selectShownChapters(const ChapterList& chapters, std::string_view chaptersText,
                                               bool showRecommended);

// The answer items of the answers text: each id that a semicolon ends (read
// as atoi reads it; text after the last semicolon is not read) is looked up
// among the groups of the LAST chapter of the list, where each group's first
// item with that aplan is taken, a later group's replacing an earlier one's.
// An id without an item shows "Answer transformation not Found" and adds
// nothing; an item already in the list is not added twice.
std::vector<TransformationItem*> findAnswerItems(const ChapterList& chapters, std::string_view answersText);

}  // namespace pathmentor

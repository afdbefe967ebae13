#pragma once
// The task a condition viewer shows, read from the task's XML: the caption
// number, the items of the statement (words, formulas as MathML, line
// breaks) in the order the layout takes them, and the answers about the
// task's job. No windows here: the control turns the items into its layout.
//
// Every query runs relative to the document element, whatever its name; the
// job is the first "CONDITION/JOBSLIST/JOB[@asTask='yes']". Ids reach the
// formula store as XPath variables, never spliced into a query, and names
// given by a caller must be XML names.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml.h"

namespace premiscope {

struct ConditionItem {
    enum class Kind { Words, Formula, LineBreak };
    Kind kind = Kind::Words;
    std::string text;  // the words, or the formula's MathML; "" for a line break

    bool operator==(const ConditionItem&) const = default;
};

class CConditionReader {
public:
    // Replaces the document with the text (white space kept). False, and no
    // document, when the text is not XML or has no document element.
    bool Load(std::string_view text);
    bool IsLoaded() const { return m_root.has_value(); }

    // The caption: "Завдання " + num + "." with a `num` attribute, else
    // "Завдання."; "Завдання" while nothing is loaded.
    std::string Caption() const;

    // The condition's text, then the job, appended to items. False when a
    // FORMULALINK names no stored FORMULA with `math`, or a FORMULA has no
    // `math`; items then hold what was read before the failure.
    bool ReadStatement(std::vector<ConditionItem>& items) const;

    // The job's start formula as MathML, or "".
    std::string GetStartFormula() const;
    // True when the job's `check` attribute is "yes".
    bool IsNeedUserInputToBegin() const;
    // The job's attribute of that name, or "" (also for a name that is no XML name).
    std::string GetTaskJobAttribute(std::string_view name) const;
    // The formula of the job's child element of that name, or "".
    std::string GetTaskJobFormulaByType(std::string_view name) const;

    // Whether the text is an XML name (no "/", "@", blanks, quotes...).
    static bool IsXmlName(std::string_view name);

private:
    std::optional<platform::xml::Node> job() const;
    std::optional<platform::xml::Node> storedFormula(const std::string& id) const;
    // The stored FORMULA's `math`, or its first child's XML; "" without either.
    std::string storedFormulaText(const std::string& id) const;
    // The formula text of a node: a FORMULALINK's stored `math`, a FORMULA's
    // `math` or its own text, "" for anything else.
    std::string formulaTextOf(const platform::xml::Node& node) const;
    // Adds a node's item; false on a broken formula. `added` tells whether
    // the node gave an item.
    bool readNode(const platform::xml::Node& node, bool mathAllowed, std::vector<ConditionItem>& items,
                  bool& added) const;

    platform::xml::Document m_document;
    std::optional<platform::xml::Node> m_root;
};

}  // namespace premiscope

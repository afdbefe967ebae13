#include "premiscope/condition_reader.h"

namespace premiscope {

namespace xml = platform::xml;

namespace {

constexpr char kJobQuery[] = "CONDITION/JOBSLIST/JOB[@asTask='yes']";
constexpr char kStoredFormulaQuery[] = "CONDITION/FSTORAGE/FORMULA[@id=$id]";

std::optional<xml::Node> firstMath(const xml::Node& node)
{
    std::vector<xml::Node> found = xml::childElementsByLocalName(node, "math");
    if (found.empty())
        return std::nullopt;
    return found.front();
}

std::optional<xml::Node> firstChildNode(const xml::Node& node)
{
    std::vector<xml::Node> children = node.childNodes();
    if (children.empty())
        return std::nullopt;
    return children.front();
}

bool isNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

}  // namespace

bool CConditionReader::IsXmlName(std::string_view name)
{
    if (name.empty() || !isNameStart(static_cast<unsigned char>(name.front())))
        return false;
    for (char c : name) {
        if (!isNameChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

bool CConditionReader::Load(std::string_view text)
{
    m_root.reset();
    m_document = xml::Document();
    try {
        m_document = xml::Document::loadText(text, xml::LoadOptions{.preserveWhiteSpace = true});
        m_root = m_document.root();
    } catch (const std::exception&) {
        m_document = xml::Document();
        m_root.reset();
    }
    return m_root.has_value();
}

std::string CConditionReader::Caption() const
{
    if (!m_root)
        return "Завдання";
    if (std::optional<std::string> num = m_root->attribute("num"))
        return "Завдання " + *num + ".";
    return "Завдання.";
}

std::optional<xml::Node> CConditionReader::job() const
{
    if (!m_root)
        return std::nullopt;
    return xml::selectSingle(*m_root, kJobQuery);
}

std::optional<xml::Node> CConditionReader::storedFormula(const std::string& id) const
{
    return xml::selectSingle(*m_root, kStoredFormulaQuery, {{"id", id}});
}

std::string CConditionReader::storedFormulaText(const std::string& id) const
{
    std::optional<xml::Node> formula = storedFormula(id);
    if (!formula)
        return {};
    if (std::optional<xml::Node> math = firstMath(*formula))
        return math->xml();
    if (std::optional<xml::Node> first = firstChildNode(*formula))
        return first->xml();
    return {};
}

std::string CConditionReader::formulaTextOf(const xml::Node& node) const
{
    if (node.type() != xml::NodeType::Element)
        return {};
    const std::string name = node.name();
    if (name == "FORMULALINK") {
        std::optional<std::string> id = node.attribute("id");
        if (!id)
            return {};
        std::optional<xml::Node> formula = storedFormula(*id);
        if (!formula)
            return {};
        std::optional<xml::Node> math = firstMath(*formula);
        return math ? math->xml() : std::string();
    }
    if (name == "FORMULA") {
        if (std::optional<xml::Node> math = firstMath(node))
            return math->xml();
        return node.text();
    }
    return {};
}

bool CConditionReader::readNode(const xml::Node& node, bool mathAllowed, std::vector<ConditionItem>& items,
                                bool& added) const
{
    added = false;
    if (node.type() == xml::NodeType::Text) {
        items.push_back({ConditionItem::Kind::Words, node.text()});
        added = true;
        return true;
    }
    if (node.type() != xml::NodeType::Element)
        return true;
    const std::string name = node.name();
    if (name == "FORMULALINK") {
        std::optional<std::string> id = node.attribute("id");
        if (!id)
            return true;
        std::optional<xml::Node> formula = storedFormula(*id);
        if (!formula)
            return false;
        std::optional<xml::Node> math = firstMath(*formula);
        if (!math)
            return false;
        items.push_back({ConditionItem::Kind::Formula, math->xml()});
        added = true;
        return true;
    }
    if (name == "FORMULA") {
        std::optional<xml::Node> math = firstMath(node);
        if (!math)
            return false;
        items.push_back({ConditionItem::Kind::Formula, math->xml()});
        added = true;
        return true;
    }
    if (mathAllowed && node.localName() == "math") {
        items.push_back({ConditionItem::Kind::Formula, node.xml()});
        added = true;
    }
    return true;
}

bool CConditionReader::ReadStatement(std::vector<ConditionItem>& items) const
{
    if (!m_root)
        return false;
    try {
        bool added = false;
        if (std::optional<xml::Node> text = xml::selectSingle(*m_root, "CONDITION/TEXT")) {
            for (const xml::Node& node : text->childNodes()) {
                if (!readNode(node, true, items, added))
                    return false;
            }
        }
        if (std::optional<xml::Node> theJob = job()) {
            bool first = true;
            for (const xml::Node& node : theJob->childNodes()) {
                std::vector<ConditionItem> read;
                const bool ok = readNode(node, false, read, added);
                if (first && added)
                    items.push_back({ConditionItem::Kind::LineBreak, {}});
                items.insert(items.end(), read.begin(), read.end());
                if (!ok)
                    return false;
                first = false;
            }
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

std::string CConditionReader::GetStartFormula() const
{
    try {
        std::optional<xml::Node> theJob = job();
        if (!theJob)
            return {};
        std::vector<xml::Node> starts;
        for (const xml::Node& child : theJob->children()) {
            if (child.name() == "START") {
                if (std::optional<std::string> id = child.attribute("id"))
                    return storedFormulaText(*id);
                std::optional<xml::Node> first = firstChildNode(child);
                return first ? formulaTextOf(*first) : std::string();
            }
        }
        std::vector<xml::Node> nodes = theJob->childNodes();
        if (nodes.size() == 1)
            return formulaTextOf(nodes.front());
        return {};
    } catch (const std::exception&) {
        return {};
    }
}

bool CConditionReader::IsNeedUserInputToBegin() const
{
    try {
        std::optional<xml::Node> theJob = job();
        return theJob && theJob->attribute("check") == std::optional<std::string>("yes");
    } catch (const std::exception&) {
        return false;
    }
}

std::string CConditionReader::GetTaskJobAttribute(std::string_view name) const
{
    try {
        if (!IsXmlName(name))
            return {};
        std::optional<xml::Node> theJob = job();
        if (!theJob)
            return {};
        return theJob->attribute(name).value_or(std::string());
    } catch (const std::exception&) {
        return {};
    }
}

std::string CConditionReader::GetTaskJobFormulaByType(std::string_view name) const
{
    try {
        if (!IsXmlName(name))
            return {};
        std::optional<xml::Node> theJob = job();
        if (!theJob)
            return {};
        for (const xml::Node& child : theJob->children()) {
            if (child.name() != name)
                continue;
            if (std::optional<std::string> id = child.attribute("id"))
                return storedFormulaText(*id);
            std::optional<xml::Node> first = firstChildNode(child);
            return first ? formulaTextOf(*first) : std::string();
        }
        return {};
    } catch (const std::exception&) {
        return {};
    }
}

}  // namespace premiscope

#include "module_data.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "formula/model/errors.h"
#include "formula/model/parse_context.h"
#include "formula/model/templates/multi_row.h"
#include "formula/notation/aplan_writer.h"
#include "formula/optree/operation_tree.h"
#include "formula/tests/formula_test_util.h"
#include "platform/registry.h"
#include "shared/sax.h"
#include "shared/settings.h"

namespace moduledata {

std::string stageRoot() { return std::string(TESSALY_STAGE_DIR) + "/"; }
std::string stagePath(const std::string& relative) { return stageRoot() + relative; }
std::string modulePath(const std::string& relative) { return stageRoot() + "modules/tessaly/" + relative; }

void installStage()
{
    ASSERT_EQ(platform::registry::writeString(platform::registry::Hive::Machine, shared::kSuiteRegistryKey,
                                              "InstallPath", stageRoot()),
              0);
}

std::vector<const GuideItem*> Guide::items() const
{
    std::vector<const GuideItem*> all;
    for (const auto& chapter : chapters)
        for (const auto& group : chapter.groups)
            for (const auto& item : group.items)
                all.push_back(&item);
    return all;
}

const GuideChapter* Guide::chapter(int id) const
{
    for (const auto& chapter : chapters)
        if (chapter.id == id)
            return &chapter;
    return nullptr;
}

namespace {

[[noreturn]] void refuse(const std::string& why) { throw std::runtime_error(why); }

bool sameGuid(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// An integer attribute as the loader reads it (atoi), but the data must
// write a plain decimal number.
int number(const std::string& text, const std::string& what)
{
    if (text.empty() || !std::all_of(text.begin() + (text[0] == '-' ? 1 : 0), text.end(),
                                     [](char c) { return c >= '0' && c <= '9'; }) ||
        text == "-")
        refuse(what + " is not a decimal number: \"" + text + "\"");
    return std::stoi(text);
}

std::string required(const shared::CSaxAttributes& attributes, const char* name, const std::string& element)
{
    try {
        return attributes.GetAttribute("", name);
    } catch (const shared::CComException&) {
        refuse(element + " lacks the attribute " + name);
    }
}

// "a/b/c" joined with "../../d/" -> "a/d/": each "../" drops one component.
std::string joinRelative(std::string directory, std::string relative)
{
    for (auto up = relative.find("../"); up != std::string::npos; up = relative.find("../")) {
        relative.erase(0, up + 3);
        const auto slash = directory.rfind('/');
        directory = slash == std::string::npos ? std::string() : directory.substr(0, slash);
    }
    return directory + "/" + relative;
}

// One chapter pair. The structure pass (.xcch) makes the records, the text
// pass (.xccl) names them. Besides the loader's own rules the shipped data
// keeps these: known elements only; FORMULAS, FORMULA and GRAPH only in the
// structure file (the text pass would hand them to the last item read);
// FORMULAS only inside a formula item, FORMULA only inside FORMULAS with
// explicit sign1 and sign2; a GRAPH is the only content of a graph item
// (the loader keeps all text since the TR); guids unique in the guide.
class ChapterHandler : public shared::CSaxContentHandler {
public:
    ChapterHandler(GuideChapter& chapter, bool structurePass, std::set<std::string>& guids)
        : m_chapter(chapter), m_structure(structurePass), m_guids(guids)
    {
    }

    void startElement(const std::string&, const std::string& name, const std::string&,
                      const shared::CSaxAttributes& attributes) override
    {
        m_open.push_back(name);
        if (name == "CCH") {
            if (m_structure) {
                m_chapter.id = number(required(attributes, "id", name), "CCH id");
                m_chapter.guid = required(attributes, "guid", name);
                unique(m_chapter.guid);
            } else {
                m_chapter.name = required(attributes, "name", name);
                m_chapter.tabName = required(attributes, "tabname", name);
            }
        } else if (name == "GCH") {
            const std::string guid = required(attributes, "guid", name);
            m_group = findGroup(guid);
            if (m_structure) {
                if (m_group)
                    refuse("group " + guid + " given twice");
                m_chapter.groups.push_back({guid, {}, {}});
                m_group = &m_chapter.groups.back();
                unique(guid);
            } else {
                if (!m_group)
                    refuse("text for the group " + guid + " that the structure file did not make");
                m_group->name = required(attributes, "name", name);
            }
        } else if (name == "TR") {
            itemStart(attributes);
        } else if (name == "FORMULAS") {
            if (!m_structure || !m_item || m_item->view != 1 || parentIs("TR") == false)
                refuse("FORMULAS outside a formula item of the structure file");
            m_item->choice = number(required(attributes, "oneForm", name), "oneForm") == 0;
        } else if (name == "FORMULA") {
            if (!m_structure || !parentIs("FORMULAS"))
                refuse("FORMULA outside FORMULAS of the structure file");
            m_text.clear();
            m_sign1 = number(required(attributes, "sign1", name), "sign1");
            m_sign2 = number(required(attributes, "sign2", name), "sign2");
        } else if (name == "GRAPH") {
            if (!m_structure || !m_item || m_item->view != 2 || !parentIs("TR") || !m_text.empty())
                refuse("GRAPH is not the only content of a graph item of the structure file");
        } else {
            refuse("unknown element " + name);
        }
    }

    void endElement(const std::string&, const std::string& name, const std::string&) override
    {
        if (name == "FORMULA") {
            m_item->formulas.push_back({m_text, m_sign1, m_sign2});
        } else if (name == "GRAPH") {
            m_item->graph = m_text;
        } else if (name == "TR" && m_item && m_item->view == 2 && m_structure && m_item->graph.empty()) {
            refuse("graph item " + m_item->guid + " without a GRAPH");
        }
        m_open.pop_back();
    }

    void characters(const std::string& text) override { m_text += text; }

private:
    void itemStart(const shared::CSaxAttributes& attributes)
    {
        const std::string guid = required(attributes, "guid", "TR");
        if (!m_group)
            refuse("TR " + guid + " outside a group");
        m_item = nullptr;
        for (auto& item : m_group->items)
            if (sameGuid(item.guid, guid))
                m_item = &item;
        if (!m_structure) {
            if (!m_item)
                refuse("text for the item " + guid + " that the structure file did not make");
            m_item->name = required(attributes, "name", "TR");
            m_item->action = required(attributes, "action", "TR");
            m_item->howtodo = required(attributes, "howtodo", "TR");
            m_item->mathexpl = required(attributes, "mathexpl", "TR");
            return;
        }
        if (m_item)
            refuse("item " + guid + " given twice");
        GuideItem item;
        item.guid = guid;
        unique(guid);
        item.view = number(required(attributes, "view", "TR"), "view");
        if (item.view < 1 || item.view > 3)
            refuse("item " + guid + " of view " + std::to_string(item.view));
        item.type = number(required(attributes, "type", "TR"), "type");
        item.needDialog = number(required(attributes, "needDialog", "TR"), "needDialog") != 0;
        item.needAllExpr = number(required(attributes, "needAllExpr", "TR"), "needAllExpr") != 0;
        item.aplan = number(required(attributes, "aplan", "TR"), "aplan");
        item.howToDoExtended = attributes.GetAttribute("", "howToDoExtended", "");
        m_group->items.push_back(item);
        m_item = &m_group->items.back();
        m_text.clear();
    }

    GuideGroup* findGroup(const std::string& guid)
    {
        for (auto& group : m_chapter.groups)
            if (sameGuid(group.guid, guid))
                return &group;
        return nullptr;
    }

    bool parentIs(const std::string& name) const
    {
        return m_open.size() >= 2 && m_open[m_open.size() - 2] == name;
    }

    void unique(const std::string& guid)
    {
        std::string lower = guid;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (!m_guids.insert(lower).second)
            refuse("guid " + guid + " used twice");
    }

    GuideChapter& m_chapter;
    bool m_structure;
    std::set<std::string>& m_guids;
    GuideGroup* m_group = nullptr;
    GuideItem* m_item = nullptr;
    std::vector<std::string> m_open;
    std::string m_text;
    int m_sign1 = 0;
    int m_sign2 = 0;
};

class GuideHandler : public shared::CSaxContentHandler {
public:
    GuideHandler(Guide& guide, std::string directory, std::set<std::string>& guids)
        : m_guide(guide), m_directory(std::move(directory)), m_guids(guids)
    {
    }

    void startElement(const std::string&, const std::string& name, const std::string&,
                      const shared::CSaxAttributes& attributes) override
    {
        if (name == "guide") {
            if (m_seenGuide)
                refuse("a second guide element");
            m_seenGuide = true;
            if (number(required(attributes, "version", name), "version") != 1)
                refuse("guide version other than 1");
            m_base = joinRelative(m_directory, required(attributes, "basepath", name));
            if (m_base.back() != '/')
                m_base += '/';
            return;
        }
        if (!m_seenGuide)
            refuse(name + " before the guide element");
        if (name != "cchfile")
            refuse("unknown element " + name);
        const std::string file = required(attributes, "fileName", name);
        GuideChapter chapter;
        readPair(chapter, m_base + file + ".xcch", true);
        readPair(chapter, m_directory + "/" + file + ".xccl", false);
        m_guide.chapters.push_back(std::move(chapter));
    }

private:
    void readPair(GuideChapter& chapter, const std::string& path, bool structure)
    {
        ChapterHandler handler(chapter, structure, m_guids);
        shared::CSaxReader reader;
        reader.SetContentHandler(handler);
        try {
            reader.ParseURL(path);
        } catch (const std::exception& error) {
            refuse(path + ": " + error.what());
        }
    }

    Guide& m_guide;
    std::string m_directory;
    std::set<std::string>& m_guids;
    std::string m_base;
    bool m_seenGuide = false;
};

}  // namespace

Guide loadGuide(const std::string& guideFile)
{
    Guide guide;
    std::set<std::string> guids;
    const std::string directory = guideFile.substr(0, guideFile.rfind('/'));
    GuideHandler handler(guide, directory, guids);
    shared::CSaxReader reader;
    reader.SetContentHandler(handler);
    try {
        reader.ParseURL(guideFile);
    } catch (const std::exception& error) {
        throw std::runtime_error(guideFile + ": " + error.what());
    }
    std::stable_sort(guide.chapters.begin(), guide.chapters.end(),
                     [](const GuideChapter& a, const GuideChapter& b) { return a.id < b.id; });
    return guide;
}

std::set<int> ruleCodes(const std::string& ruleFile)
{
    std::ifstream file(modulePath(ruleFile));
    std::set<int> codes;
    std::string line;
    while (std::getline(file, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        int code = 0;
        if (words >> code)
            codes.insert(code);
    }
    return codes;
}

GuideContent scanGuideContent(const std::string& content)
{
    GuideContent result;
    const auto between = [&](const std::string& marker, bool& found) {
        const auto start = content.find(marker);
        if (start == std::string::npos)
            return std::string();
        const auto end = content.find('"', start + marker.size());
        if (end == std::string::npos)
            return std::string();
        found = true;
        return content.substr(start + marker.size(), end - start - marker.size());
    };
    result.version = between("<GUIDE version=\"", result.hasVersion);
    result.chapters = between(" cch=\"", result.hasChapters);
    const std::string answers = between(" answers=\"", result.hasAnswers);
    std::size_t from = 0;
    for (auto semicolon = answers.find(';'); semicolon != std::string::npos; semicolon = answers.find(';', from)) {
        result.answers.push_back(std::atoi(answers.substr(from, semicolon - from).c_str()));
        from = semicolon + 1;
    }
    return result;
}

::testing::AssertionResult usableFormula(const std::string& lexemText)
{
    try {
        auto root = formula::test::Read(lexemText);
        formula::ParseContext context;
        root->Normalize(context);
        if (context.invalid)
            return ::testing::AssertionFailure() << "\"" << lexemText << "\" does not normalise";
        bool incomplete = false;
        const std::string aplan = formula::AplanText(*root, &incomplete);
        if (incomplete)
            return ::testing::AssertionFailure() << "\"" << lexemText << "\" writes incomplete Aplan " << aplan;
        if (!formula::BuildFormulaTree(*root))
            return ::testing::AssertionFailure() << "\"" << lexemText << "\" builds no operation tree";
    } catch (const formula::CMEException& error) {
        return ::testing::AssertionFailure() << "\"" << lexemText << "\": " << error.Message();
    }
    return ::testing::AssertionSuccess();
}

}  // namespace moduledata

#include <filesystem>

#include "formula/notation/lexem_parser.h"
#include "platform/xml.h"
#include "roundtrip_support.h"

namespace moduledata {

std::vector<std::string> taskPages()
{
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(modulePath("lang/ua/taskbook/doc")))
        if (entry.path().extension() == ".xml")
            pages.push_back(entry.path().filename().string());
    std::sort(pages.begin(), pages.end());
    return pages;
}

std::string lexemTextOf(const std::string& mathml)
{
    std::string text;
    formula::CLexemParser::ConvertMathMLText(mathml, text);
    return text;
}

std::string comparable(const std::string& lexemText)
{
    std::string text = kerneltest::normalisedText(lexemText);
    const std::string persistent = "@br_persist_rr$";
    for (auto at = text.find(persistent); at != std::string::npos; at = text.find(persistent, at))
        text.replace(at, persistent.size(), "@br_row_round$");
    return text;
}

std::vector<TaskJob> taskJobs()
{
    namespace xml = platform::xml;
    std::vector<TaskJob> jobs;
    for (const std::string& page : taskPages()) {
        const xml::Document document = xml::Document::loadFile(modulePath("lang/ua/taskbook/doc/" + page));
        for (const xml::Node& task : xml::selectList(*document.root(), "//TASK")) {
            for (const xml::Node& job : xml::selectList(task, "CONDITION/JOBSLIST/JOB")) {
                TaskJob entry;
                entry.page = page;
                entry.task = std::stoi(task.attribute("id").value_or("0"));
                entry.job = std::stoi(job.attribute("id").value_or("0"));
                entry.type = task.attribute("type").value_or("");
                entry.checkType = job.attribute("checkType").value_or("");
                const auto stored = [&](const char* role) {
                    const auto link = xml::selectSingle(job, role);
                    if (!link)
                        return std::string();
                    const auto math = xml::selectSingle(task, "CONDITION/FSTORAGE/FORMULA[@id=$id]/*[local-name()='math']",
                                                        {{"id", link->attribute("id").value_or("")}});
                    return math ? lexemTextOf(math->xml()) : std::string();
                };
                if (const auto math = xml::selectSingle(job, "FORMULA/*[local-name()='math']"))
                    entry.start = lexemTextOf(math->xml());
                entry.hidden = stored("HIDDENFORMULA");
                entry.answer = stored("ANSWER");
                jobs.push_back(entry);
            }
        }
    }
    return jobs;
}

}  // namespace moduledata

#include "pathmentor/model/guide_loader.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "pathmentor/model/model_text.h"
#include "platform/message_box.h"
#include "platform/paths.h"
#include "shared/sax.h"

namespace pathmentor {

namespace {

constexpr std::string_view kLoadingError = "Loading error.";
constexpr std::string_view kUnsupportedVersion = "This version of th guide file is not supported.";

std::string withSlashes(std::string_view path)
{
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}

std::string attribute(const shared::CSaxAttributes& attributes, std::string_view name)
{
    return attributes.GetAttribute("", name);
}

std::string optionalAttribute(const shared::CSaxAttributes& attributes, std::string_view name,
                              std::string_view defaultValue = {})
{
    return attributes.GetAttribute("", name, defaultValue);
}

// The attribute's value when the element has it (even empty), else nothing.
std::optional<std::string> presentAttribute(const shared::CSaxAttributes& attributes, std::string_view name)
{
    try {
        return attributes.GetAttribute("", name);
    } catch (const shared::CComException&) {
        return std::nullopt;
    }
}

[[noreturn]] void fail(std::string reason) { shared::ThrowComException(platform::E_FAIL, std::move(reason)); }

// Reads both files of a chapter pair: the structure file makes the chapter,
// its groups and items (or finds them in an inherited chapter), the text
// file names what the structure file made, found through the guid maps.
class ChapterHandler : public shared::CSaxContentHandler {
public:
    enum class Pass { Structure, Text };

    explicit ChapterHandler(GuideChapter* inherited) : m_chapter(inherited) {}

    void setPass(Pass pass) { m_pass = pass; }
    GuideChapter* chapter() const { return m_chapter; }
    // The chapter this pair made (none for an inherited one).
    std::unique_ptr<GuideChapter> takeNewChapter() { return std::move(m_newChapter); }

    void startElement(const std::string&, const std::string& name, const std::string&,
                      const shared::CSaxAttributes& attributes) override
    {
        if (name == "CCH")
            m_pass == Pass::Structure ? structureChapter(attributes) : textChapter(attributes);
        else if (name == "GCH")
            m_pass == Pass::Structure ? structureGroup(attributes) : textGroup(attributes);
        else if (name == "TR")
            m_pass == Pass::Structure ? structureItem(attributes) : textItem(attributes);
        else if (name == "FORMULAS")
            formulas(attributes);
        else if (name == "FORMULA")
            formulaStart(attributes);
        else if (name == "REMOVETR" && m_pass == Pass::Structure)
            removeItem(attributes);
    }

    void endElement(const std::string&, const std::string& name, const std::string&) override
    {
        if (name == "FORMULA" && m_itemRead && m_formulaItem)
            m_formulaItem->formulas.push_back({m_text, m_sign1, m_sign2});
        else if (name == "GRAPH" && m_graphItem)
            m_graphItem->graphText = m_text;
    }

    void characters(const std::string& text) override { m_text += text; }

private:
    void structureChapter(const shared::CSaxAttributes& attributes)
    {
        const int id = detail::readInt(attribute(attributes, "id"));
        std::string guid = attribute(attributes, "guid");
        if (!m_chapter) {
            m_newChapter = std::make_unique<GuideChapter>();
            m_chapter = m_newChapter.get();
        }
        m_chapter->id = id;
        m_chapter->guid = std::move(guid);
    }

    void textChapter(const shared::CSaxAttributes& attributes)
    {
        std::string name = attribute(attributes, "name");
        std::string tabName = attribute(attributes, "tabname");
        if (!m_chapter)
            fail("CCH outside a chapter");
        if (!name.empty())
            m_chapter->name = std::move(name);
        if (!tabName.empty())
            m_chapter->tabName = std::move(tabName);
    }

    void structureGroup(const shared::CSaxAttributes& attributes)
    {
        std::string guid = attribute(attributes, "guid");
        if (!m_chapter)
            fail("GCH outside a chapter");
        std::string key = detail::foldCase(guid);
        auto& groups = m_chapter->groups;
        auto found = std::find_if(groups.begin(), groups.end(),
                                  [&](const auto& group) { return detail::foldCase(group->guid) == key; });
        if (found == groups.end()) {
            auto group = std::make_unique<GuideGroup>();
            group->guid = std::move(guid);
            groups.push_back(std::move(group));
            found = groups.end() - 1;
        }
        m_group = found->get();
        m_groups[std::move(key)] = m_group;
    }

    void textGroup(const shared::CSaxAttributes& attributes)
    {
        const std::string guid = attribute(attributes, "guid");
        std::string name = attribute(attributes, "name");
        const auto found = m_groups.find(detail::foldCase(guid));
        if (found == m_groups.end())
            fail("unknown group guid \"" + guid + "\"");
        if (!name.empty())
            found->second->name = std::move(name);
    }

    void structureItem(const shared::CSaxAttributes& attributes)
    {
        std::string guid = attribute(attributes, "guid");
        const int type = detail::readInt(attribute(attributes, "type"));
        const bool needDialog = detail::readInt(attribute(attributes, "needDialog")) != 0;
        const bool needAllExpr = detail::readInt(attribute(attributes, "needAllExpr")) != 0;
        const int aplan = detail::readInt(attribute(attributes, "aplan"));
        const std::string view = optionalAttribute(attributes, "view", "0");
        std::optional<std::string> extended = presentAttribute(attributes, "howToDoExtended");
        if (!m_group)
            fail("TR outside a group");

        std::string key = detail::foldCase(guid);
        auto& items = m_group->items;
        auto found = std::find_if(items.begin(), items.end(),
                                  [&](const auto& item) { return detail::foldCase(item->guid) == key; });
        if (found == items.end()) {
            const int kind = detail::readInt(view);
            if (kind < static_cast<int>(ItemView::Formula) || kind > static_cast<int>(ItemView::Plain))
                fail("item \"" + guid + "\" has view " + view);
            auto item = std::make_unique<TransformationItem>();
            item->view = static_cast<ItemView>(kind);
            item->guid = std::move(guid);
            items.push_back(std::move(item));
            found = items.end() - 1;
        }
        TransformationItem* item = found->get();
        m_items[std::move(key)] = item;
        m_itemRead = true;

        // The formulas and graph that follow belong to this item alone.
        m_graphItem = nullptr;
        m_formulaItem = nullptr;
        switch (item->view) {
        case ItemView::Graph:
            m_graphItem = item;
            m_text.clear();
            break;
        case ItemView::Formula:
            m_formulaItem = item;
            item->formulas.clear();
            break;
        case ItemView::Plain: break;
        }

        item->type = type;
        item->needDialog = needDialog;
        item->needAllExpr = needAllExpr;
        item->aplan = aplan;
        if (extended)
            item->howToDoExtended = std::move(*extended);
    }

    void textItem(const shared::CSaxAttributes& attributes)
    {
        const std::string guid = attribute(attributes, "guid");
        std::string name = attribute(attributes, "name");
        std::string action = attribute(attributes, "action");
        std::string howtodo = attribute(attributes, "howtodo");
        std::string mathexpl = attribute(attributes, "mathexpl");
        const auto found = m_items.find(detail::foldCase(guid));
        if (found == m_items.end())
            fail("unknown item guid \"" + guid + "\"");
        TransformationItem& item = *found->second;
        item.name = std::move(name);
        item.action = std::move(action);
        item.howtodo = std::move(howtodo);
        item.mathexpl = std::move(mathexpl);
    }

    void formulas(const shared::CSaxAttributes& attributes)
    {
        if (m_itemRead && m_formulaItem)
            m_formulaItem->formulaChoice = detail::readInt(attribute(attributes, "oneForm")) == 0;
    }

    void formulaStart(const shared::CSaxAttributes& attributes)
    {
        m_text.clear();
        m_sign1 = detail::readInt(optionalAttribute(attributes, "sign1", "0"));
        m_sign2 = detail::readInt(optionalAttribute(attributes, "sign2", "0"));
    }

    void removeItem(const shared::CSaxAttributes& attributes)
    {
        if (!m_itemRead)
            return;
        const std::string key = detail::foldCase(attribute(attributes, "guid"));
        if (!m_group)
            return;
        auto& items = m_group->items;
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&](const auto& item) { return detail::foldCase(item->guid) == key; });
        if (found == items.end())
            return;
        // The guid map and the current items may still point at it: it is
        // kept aside until the pair is read, so the text file can still name
        // it without touching freed memory.
        m_removed.push_back(std::move(*found));
        items.erase(found);
    }

    Pass m_pass = Pass::Structure;
    std::unique_ptr<GuideChapter> m_newChapter;
    GuideChapter* m_chapter = nullptr;
    GuideGroup* m_group = nullptr;
    TransformationItem* m_formulaItem = nullptr;
    TransformationItem* m_graphItem = nullptr;
    std::string m_text;
    int m_sign1 = 0;
    int m_sign2 = 0;
    bool m_itemRead = false;
    std::unordered_map<std::string, GuideGroup*> m_groups;
    std::unordered_map<std::string, TransformationItem*> m_items;
    std::vector<std::unique_ptr<TransformationItem>> m_removed;
};

// A guide file being read; `open` holds the guide files being read at this
// moment (this one and those that include it), so that none is read again
// inside itself.
class GuideHandler : public shared::CSaxContentHandler {
public:
    GuideHandler(const std::string& file, ChapterList& chapters, std::vector<std::string>& open)
        : m_file(file), m_chapters(chapters), m_open(open)
    {
    }

    void startElement(const std::string&, const std::string& name, const std::string&,
                      const shared::CSaxAttributes& attributes) override
    {
        if (name == "guide") {
            m_version = detail::readInt(attribute(attributes, "version"));
            if (m_version != 1) {
                unsupported();
                return;
            }
            m_guideDirectory = guideDirectory(m_file);
            m_baseDirectory = joinGuidePath(m_guideDirectory, withSlashes(attribute(attributes, "basepath")));
            if (m_baseDirectory.empty() || m_baseDirectory.back() != '/')
                m_baseDirectory += '/';
        } else if (name == "include") {
            if (m_version != 1)
                return unsupported();
            const std::string path = joinGuidePath(m_guideDirectory, withSlashes(attribute(attributes, "guide")));
            readGuide(path, m_chapters, m_open);
        } else if (name == "cchfile") {
            if (m_version != 1)
                return unsupported();
            readPair(withSlashes(attribute(attributes, "fileName")), std::nullopt);
        } else if (name == "inheritcch") {
            if (m_version != 1)
                return unsupported();
            const std::string fileName = withSlashes(attribute(attributes, "fileName"));
            readPair(fileName, attribute(attributes, "inheritfromid"));
        }
    }

    // Reads a guide file unless it is being read already; false when it
    // cannot be read or parsed.
    static bool readGuide(const std::string& file, ChapterList& chapters, std::vector<std::string>& open)
    {
        std::string identity = identityOf(file);
        if (std::find(open.begin(), open.end(), identity) != open.end())
            return false;
        open.push_back(std::move(identity));
        bool parsed = true;
        try {
            GuideHandler handler(file, chapters, open);
            shared::CSaxReader reader;
            reader.SetContentHandler(handler);
            reader.ParseURL(file);
        } catch (const std::exception&) {
            parsed = false;
        }
        open.pop_back();
        return parsed;
    }

private:
    void unsupported() const
    {
        platform::showMessage(kUnsupportedVersion, kLoadingError, platform::MessageIcon::Error);
    }

    void readPair(const std::string& fileName, const std::optional<std::string>& inheritGuid)
    {
        if (!readChapterPair(m_baseDirectory + fileName + ".xcch", m_guideDirectory + "/" + fileName + ".xccl",
                             inheritGuid, m_chapters))
            platform::showMessage("Error reading file: " + fileName + ".", kLoadingError,
                                  platform::MessageIcon::Error);
    }

    // The same file reached by different paths has one identity.
    static std::string identityOf(const std::string& file)
    {
        const std::filesystem::path path(platform::paths::resolve(file));
        std::error_code error;
        auto canonical = std::filesystem::weakly_canonical(path, error);
        if (error)
            canonical = std::filesystem::absolute(path, error).lexically_normal();
        return canonical.string();
    }

    std::string m_file;
    ChapterList& m_chapters;
    std::vector<std::string>& m_open;
    int m_version = 0;  // until the guide element is read
    std::string m_guideDirectory;
    std::string m_baseDirectory;
};

// Drops the directory's last component; "" stands for the root.
std::string parentOf(std::string_view directory)
{
    if (directory.empty())
        return {};
    if (directory == ".")
        return "..";
    const auto slash = directory.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? directory : directory.substr(slash + 1);
    if (last == "." || last == "..")
        return std::string(directory) + "/..";
    if (slash == std::string_view::npos)
        return ".";
    return std::string(directory.substr(0, slash));
}

}  // namespace

bool loadGuide(std::string_view guideFile, ChapterList& chapters)
{
    std::vector<std::string> open;
    return GuideHandler::readGuide(withSlashes(guideFile), chapters, open);
}

bool readChapterPair(const std::string& structureFile, const std::string& textFile,
                     const std::optional<std::string>& inheritGuid, ChapterList& chapters)
{
    GuideChapter* inherited = nullptr;
    if (inheritGuid) {
        const auto found = std::find_if(chapters.begin(), chapters.end(),
                                        [&](const auto& chapter) { return chapter->guid == *inheritGuid; });
        if (found != chapters.end())
            inherited = found->get();
    }
    ChapterHandler handler(inherited);
    try {
        shared::CSaxReader reader;
        reader.SetContentHandler(handler);
        handler.setPass(ChapterHandler::Pass::Structure);
        reader.ParseURL(structureFile);
        if (!handler.chapter())
            return true;
        handler.setPass(ChapterHandler::Pass::Text);
        reader.ParseURL(textFile);
    } catch (const std::exception&) {
        return false;
    }
    if (auto chapter = handler.takeNewChapter())
        chapters.push_back(std::move(chapter));
    return true;
}

std::string guideDirectory(std::string_view guideFile)
{
    const std::string file = withSlashes(guideFile);
    const auto slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

std::string joinGuidePath(std::string_view directory, std::string_view relative)
{
    std::string dir(directory);
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (dir == "/")
        dir.clear();
    std::string rest(relative);
    for (auto up = rest.find("../"); up != std::string::npos; up = rest.find("../")) {
        rest.erase(0, up + 3);
        dir = parentOf(dir);
    }
    return dir + "/" + rest;
}

}  // namespace pathmentor

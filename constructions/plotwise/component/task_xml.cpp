// The task's GraphTaskXml: written by format, read by substring searches
// (no XML parser), constructions made from their element names.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <string_view>

#include "constructions/plotwise/component/arbitrary_construction.h"
#include "constructions/plotwise/component/curves.h"
#include "constructions/plotwise/component/line_construction.h"
#include "constructions/plotwise/component/point_circle.h"
#include "constructions/plotwise/component/task.h"
#include "platform/text.h"
#include "platform/xml.h"

namespace constructions::plotwise {

using namespace platform::com;
using platform::E_FAIL;
using platform::Failed;
using platform::E_NOTIMPL;
using platform::E_OUTOFMEMORY;
using platform::E_POINTER;
using platform::S_OK;
namespace text = platform::text;

namespace {

constexpr std::string_view kNamespace = "urn:pelmarin:tessaly:graph";
constexpr std::string_view kTaskHead = "<gr:task ";
constexpr std::string_view kTaskEnd = "</gr:task>";

// The element names of the constructions a task text may hold.
constexpr std::array<std::string_view, 9> kConstructionElements = {
    "gr:pointConstr",   "gr:lineConstr",     "gr:circleConstr",  "gr:absoluteConstr",   "gr:arbitraryConstr",
    "gr:inverslyConstr", "gr:quadricConstr", "gr:segmentConstr", "gr:squareRootConstr",
};

template <class T>
ComPtr<IConstruction> makeConstruction()
{
    return ComPtr<IConstruction>(make<T>().get());
}

std::int32_t narrow32(long long value)
{
    return static_cast<std::int32_t>(
        std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

std::string CTask::writeXml() const
{
    std::string out;
    out += kTaskHead;
    out += "xmlns:gr=\"";
    out += kNamespace;
    out += "\" ";
    out += "abscissName=\"" + platform::xml::escape(m_abscissName) + "\" ";
    out += "ordinateName=\"" + platform::xml::escape(m_ordinateName) + "\" ";
    out += "abscissScale=\"" + text::formatFixed(m_abscissScale, 6) + "\" ";
    out += "ordinateScale=\"" + text::formatFixed(m_ordinateScale, 6) + "\" ";
    out += "gridColor=\"" + text::formatInt(m_gridColor) + "\" ";
    out += "clientOriginPointX=\"" + text::formatInt(m_originX) + "\" ";
    out += "clientOriginPointY=\"" + text::formatInt(m_originY) + "\" ";
    out += "gridWidth=\"" + text::formatInt(m_gridWidth) + "\" ";
    out += "showGrid=\"" + text::formatInt(m_showGrid) + "\">";
    return out;
}

HRESULT CTask::get_xml(std::string* result)
{
    if (!result)
        return E_POINTER;
    try {
        std::string out = writeXml();
        const std::vector<ComPtr<IConstruction>> constructions = m_constructions;
        for (const ComPtr<IConstruction>& construction : constructions) {
            std::string element;
            if (Failed(construction->get_xml(&element)))
                return E_FAIL;
            out += element;
        }
        out += kTaskEnd;
        *result = std::move(out);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

HRESULT CTask::put_xml(const std::string& source)
{
    const std::string_view all(source);
    const std::size_t headAt = all.find(kTaskHead);
    // The attributes are read from the task's own start tag when it is there.
    std::string_view head = all;
    if (headAt != std::string_view::npos) {
        const std::size_t close = all.find('>', headAt);
        head = all.substr(headAt, close == std::string_view::npos ? std::string_view::npos : close - headAt + 1);
    }
    const auto attributes = attributesOf(head);
    const auto valueOf = [&](std::string_view name) -> std::string {
        const auto found = attributes.find(name);
        return found == attributes.end() ? std::string() : found->second;
    };
    m_abscissName = valueOf("abscissName");
    m_ordinateName = valueOf("ordinateName");
    // A scale that is 0 or not finite would divide by zero: the old one stays.
    if (const double scale = text::leadingDouble(valueOf("abscissScale")); usableScaleValue(scale))
        m_abscissScale = scale;
    if (const double scale = text::leadingDouble(valueOf("ordinateScale")); usableScaleValue(scale))
        m_ordinateScale = scale;
    m_gridColor = narrow32(text::leadingInt(valueOf("gridColor")));
    m_originX = narrow32(text::leadingInt(valueOf("clientOriginPointX")));
    m_originY = narrow32(text::leadingInt(valueOf("clientOriginPointY")));
    m_gridWidth = narrow32(text::leadingInt(valueOf("gridWidth")));
    m_showGrid = narrow32(text::leadingInt(valueOf("showGrid")));

    if (headAt == std::string_view::npos)
        return S_OK;
    const std::size_t headClose = all.find('>', headAt);
    if (headClose == std::string_view::npos)
        return S_OK;
    std::size_t position = headClose + 1;
    const std::size_t endTag = all.find(kTaskEnd, position);
    const std::size_t end = endTag == std::string_view::npos ? all.size() : endTag;
    bool allRead = true;
    while (position < end) {
        const std::size_t open = all.find('<', position);
        if (open == std::string_view::npos || open >= end)
            break;
        const std::string_view name = elementName(all.substr(open));
        const std::size_t close = all.find('>', open);
        if (close == std::string_view::npos || close >= end)
            break;
        std::size_t elementEnd = close + 1;
        if (all[close - 1] != '/') {
            const std::string endOfElement = "</" + std::string(name) + ">";
            const std::size_t found = all.find(endOfElement, close);
            if (found == std::string_view::npos || found + endOfElement.size() > end)
                break;
            elementEnd = found + endOfElement.size();
        }
        if (Failed(AddFromXml(std::string(all.substr(open, elementEnd - open)))))
            allRead = false;
        position = elementEnd;
    }
    return allRead ? S_OK : E_FAIL;
}

HRESULT CTask::CreateConstructionFromXml(const std::string& source, IConstruction** construction)
{
    if (!construction)
        return E_POINTER;
    *construction = nullptr;
    const std::string_view name = elementName(source);
    if (std::find(kConstructionElements.begin(), kConstructionElements.end(), name) == kConstructionElements.end())
        return E_NOTIMPL;  // not a construction's element
    ComPtr<IConstruction> made;
    if (name == "gr:arbitraryConstr")
        made = makeConstruction<CArbitraryConstruction>();
    else if (name == "gr:pointConstr")
        made = makeConstruction<CPointConstruction>();
    else if (name == "gr:lineConstr")
        made = makeConstruction<CLineConstruction>();
    else if (name == "gr:segmentConstr")
        made = makeConstruction<CSegment>();
    else if (name == "gr:circleConstr")
        made = makeConstruction<CCircleConstruction>();
    else if (name == "gr:absoluteConstr")
        made = makeConstruction<CAbsoluteConstruction>();
    else if (name == "gr:quadricConstr")
        made = makeConstruction<CQuadricConstruction>();
    else if (name == "gr:inverslyConstr")
        made = makeConstruction<CInverslyConstruction>();
    else if (name == "gr:squareRootConstr")
        made = makeConstruction<CSquareRootConstruction>();
    else
        return E_NOTIMPL;
    if (Failed(made->put_xml(source)))
        return E_FAIL;
    *construction = made.detach();
    return S_OK;
}

HRESULT CTask::AddFromXml(const std::string& source)
{
    ComPtr<IConstruction> construction;
    if (Failed(CreateConstructionFromXml(source, construction.put())) || !construction)
        return E_FAIL;
    if (Failed(Add(construction.get())))
        return E_FAIL;
    return S_OK;
}

}  // namespace constructions::plotwise

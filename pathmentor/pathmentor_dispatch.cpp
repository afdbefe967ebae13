// The dispatch map of _DPathmentor.
#include "pathmentor/pathmentor_ctrl.h"

namespace pathmentor {
namespace {

using namespace platform::com;
using C = CPathmentorCtrl;

constexpr DispatchMember<C> kMembers[] = {
    method<&C::InitializeGuide>(disp::InitializeGuide, "InitializeGuide"),
    method<&C::InitializeGuideContent>(disp::InitializeGuideContent, "InitializeGuideContent"),
    method<&C::FillRecomendedCommonChapter>(disp::FillRecomendedCommonChapter, "FillRecomendedCommonChapter"),
    method<&C::ReleaseRecomendedCommonChapter>(disp::ReleaseRecomendedCommonChapter,
                                               "ReleaseRecomendedCommonChapter"),
    propertyGet<&C::guideDocFile>(disp::GuideDocFile, "GuideDocFile"),
    propertyPut<&C::setGuideDocFile>(disp::GuideDocFile, "GuideDocFile"),
    propertyGet<&C::sendExtendedInformation>(disp::SendExtendedInformation, "SendExtendedInformation"),
    propertyPut<&C::setSendExtendedInformation>(disp::SendExtendedInformation, "SendExtendedInformation"),
    propertyGet<&C::showExtendedTransformationsValue>(disp::ShowExtendedTransformations,
                                                      "ShowExtendedTransformations"),
    propertyPut<&C::setShowExtendedTransformations>(disp::ShowExtendedTransformations,
                                                    "ShowExtendedTransformations"),
    propertyGet<&C::locked>(disp::Locked, "Locked"),
    propertyPut<&C::setLocked>(disp::Locked, "Locked"),
    propertyGet<&C::showRecomendedChapter>(disp::ShowRecomendedChapter, "ShowRecomendedChapter"),
    propertyPut<&C::setShowRecomendedChapter>(disp::ShowRecomendedChapter, "ShowRecomendedChapter"),
    propertyGet<&C::barFrameColor>(disp::BarFrameColor, "BarFrameColor"),
    propertyPut<&C::setBarFrameColor>(disp::BarFrameColor, "BarFrameColor"),
    method<&C::ParseLanguageFile>(disp::ParseLanguageFile, "ParseLanguageFile"),
    propertyGet<&C::backColor>(disp::BackColor, "BackColor"),
    propertyPut<&C::setBackColor>(disp::BackColor, "BackColor"),
    propertyGet<&C::foreColor>(disp::ForeColor, "ForeColor"),
    propertyPut<&C::setForeColor>(disp::ForeColor, "ForeColor"),
};
static_assert(validDispatchTable(kMembers));

}  // namespace

std::span<const DispatchMember<CPathmentorCtrl>> CPathmentorCtrl::dispatchMembers()
{
    return kMembers;
}

}  // namespace pathmentor

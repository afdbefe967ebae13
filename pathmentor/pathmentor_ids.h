#pragma once
// The guide control's identities: class, interfaces, type library, ProgID
// and the dispids of _DPathmentor and _DPathmentorEvents.
#include "platform/com/dispatch.h"
#include "platform/com/guid.h"

namespace pathmentor {

using platform::com::DISPID;
using platform::com::Guid;

constexpr Guid CLSID_Pathmentor = Guid::literal("{3EC1A2EF-01B8-4539-B9E1-417C4818A67A}");
constexpr Guid DIID__DPathmentor = Guid::literal("{D10A83A0-3DF7-4E4F-BA18-15C2A67CB3B9}");
constexpr Guid DIID__DPathmentorEvents = Guid::literal("{853C1D1F-8F69-4F3D-AFA0-227012731A39}");
constexpr Guid LIBID_Pathmentor = Guid::literal("{04C40CC3-063D-4500-98EE-98AAADFDA6E3}");
constexpr const char* kPathmentorProgId = "PathmentorTessaly.PathmentorCtrlTessaly.2";
constexpr const char* kPathmentorDescription = "Pathmentor Control";

namespace disp {
inline constexpr DISPID InitializeGuide = 7;
inline constexpr DISPID InitializeGuideContent = 8;
inline constexpr DISPID FillRecomendedCommonChapter = 9;
inline constexpr DISPID ReleaseRecomendedCommonChapter = 11;
inline constexpr DISPID GuideDocFile = 12;
inline constexpr DISPID SendExtendedInformation = 15;
inline constexpr DISPID ShowExtendedTransformations = 16;
inline constexpr DISPID Locked = 17;
inline constexpr DISPID ShowRecomendedChapter = 18;
inline constexpr DISPID BarFrameColor = 19;
inline constexpr DISPID ParseLanguageFile = 20;
inline constexpr DISPID BackColor = -501;
inline constexpr DISPID ForeColor = -513;
}  // namespace disp

namespace event {
inline constexpr DISPID ApplyingTransformation = 1;
inline constexpr DISPID ApplyingTransformationExt = 2;
inline constexpr DISPID ShowExtendedHowTodo = 3;
}  // namespace event

// The tab control's child id.
inline constexpr int kTabCtrlId = 101;

}  // namespace pathmentor

#pragma once
// What a host knows of the sample component: class ids, ProgIDs, interface
// ids and dispids. No class of the component is visible here.
#include "platform/com/guid.h"

namespace sample {

using platform::com::Guid;

constexpr Guid CLSID_SampleCtrl = Guid::literal("{11FE0C64-3AB1-43E4-998E-9880F2C1BC71}");
constexpr const char* kSampleCtrlProgId = "TessalySample.SampleCtrl.1";
constexpr Guid DIID__DSample = Guid::literal("{518DFA80-551B-4BC9-8347-BD7F16785F01}");
constexpr Guid DIID__DSampleEvents = Guid::literal("{A24AE759-7ACE-4314-A751-20756B2F2482}");

// _DSample
constexpr int kDispCaption = 1;        // property BSTR; a put fires CaptionChanged
constexpr int kDispLocked = 2;         // property VARIANT_BOOL; only VARIANT_TRUE locks
constexpr int kDispAdd = 3;            // long(long, long); error info on overflow
constexpr int kDispDivide = 4;         // double(double, double); error info on a zero divisor
constexpr int kDispGetSize = 5;        // void(long*, long*): 10 by 10 without a window
constexpr int kDispInstanceCount = 6;  // property get long: live controls in the process
constexpr int kDispDescribe = 7;       // BOOL(BSTR*): TRUE is 1 here
constexpr int kDispWorldToClient = 8;  // void(double* x, double* y) in/out: scale 20, origin (200, 150)
// _DSampleEvents
constexpr int kEventCaptionChanged = 1;  // (BSTR caption)
constexpr int kEventClicked = 2;         // (long x, long y)

constexpr Guid CLSID_SampleList = Guid::literal("{6161953D-78EB-452D-8D76-871BDC3A2BED}");
constexpr const char* kSampleListProgId = "TessalySample.List.1";
constexpr const char* kSampleListVersionIndependentProgId = "TessalySample.List";
constexpr Guid IID_ISampleList = Guid::literal("{68412D1F-102A-4964-BB14-EB7EA786EE93}");

// ISampleList (dual)
constexpr int kDispListAdd = 1;    // Add(IDispatch* item); a null item fails with error info
constexpr int kDispListCount = 2;  // property get long
constexpr int kDispListItem = 3;   // IDispatch* Item(long index)

}  // namespace sample

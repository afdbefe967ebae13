// The library's class table and exports.
#include "pathmentor/pathmentor_ctrl.h"

namespace pathmentor {
namespace {

using namespace platform::com;

constexpr ClassEntry kClasses[] = {
    {CLSID_Pathmentor, kPathmentorProgId, "", kPathmentorDescription, &createObject<CPathmentorCtrl>},
};

}  // namespace
}  // namespace pathmentor

TESSALY_COM_EXPORTS(pathmentor::kClasses)

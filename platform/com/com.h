#pragma once
// The whole component layer: objects and interfaces, error info, Variant,
// dispatch (component and host sides), events, controls, fonts, persistence,
// property accessors, component libraries and creation.
#include "platform/com/connection_point.h"
#include "platform/com/control.h"
#include "platform/com/creation.h"
#include "platform/com/dispatch.h"
#include "platform/com/dispatch_driver.h"
#include "platform/com/dispatch_table.h"
#include "platform/com/error_info.h"
#include "platform/com/font.h"
#include "platform/com/guid.h"
#include "platform/com/module.h"
#include "platform/com/persist.h"
#include "platform/com/property.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

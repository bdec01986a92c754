#pragma once
// The whole toolkit: windows, widgets, menus, events, requesters, system seams.
#include "toolkit/events.h"
#include "toolkit/menu.h"
#include "toolkit/requester.h"
#include "toolkit/system.h"
#include "toolkit/widgets.h"
#include "toolkit/window.h"

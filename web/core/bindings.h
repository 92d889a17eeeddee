#pragma once

#include <emscripten/bind.h>

#include "web/core/web_session.h"

namespace halyx::web {

// The Session class is registered once; each binding file adds its own functions to it.
void AddFormFunctions(emscripten::class_<WebSession>& session);
void AddRowAndInterchangeFunctions(emscripten::class_<WebSession>& session);

}  // namespace halyx::web

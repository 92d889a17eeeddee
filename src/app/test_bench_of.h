#pragma once

#include "app/app_context.h"
#include "factory/test_dialog.h"

namespace halyx {

// The application's objects the test and calibration dialog works with.
inline TestBench TestBenchOf(AppContext& context) {
    return {context.runner,      context.document, context.testValues, context.testPoint,
            context.settingFile, context.layout,   context.language};
}

}  // namespace halyx

#pragma once

#include "app/app_settings.h"
#include "app/radio_line.h"
#include "editing/radio_document.h"
#include "factory/test_dialog.h"
#include "link/tuning_data.h"

namespace halyx::test {

// The application's long-lived objects, for tests that open a window without the application
// object; a test puts its in-process radio in the line's place (`line.runner().SetPort`).
struct AppParts {
    AppSettings settings;
    RadioDocument document;
    RadioLine line{settings.settingFile};
    TestValues testValues;
    TestPoint testPoint;

    // What the test dialog works with.
    TestBench Bench() {
        return {line.runner(),        document,        testValues,       testPoint,
                settings.settingFile, settings.layout, settings.language};
    }
};

}  // namespace halyx::test

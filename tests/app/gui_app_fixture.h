#pragma once

#include <memory>

#include "app/halyx_app.h"
#include "app/main_frame.h"
#include "gui_test_support.h"

namespace halyx::test {

// A started application with language files, a default image, a setting file and a fake port.
class RunningApp : public ShellTest {
protected:
    void StartWith(const std::string& settings) {
        WriteLanguageFiles();
        WriteFile(work() / "default.kda", std::vector<std::uint8_t>(607, 0x11));
        WriteSettings(settings);
        app = std::make_unique<CHalyxApp>(prompts);
        app->radioLine().runner().SetPort(&port);
        ASSERT_TRUE(app->InitInstance({}));
        app->FinishStartup();
        frame = app->mainFrame();
    }

    void TearDown() override {
        app.reset();
        ShellTest::TearDown();
    }

    RecordingPrompts prompts;
    FakeLinkPort port;
    std::unique_ptr<CHalyxApp> app;
    CMainFrame* frame = nullptr;
};

}  // namespace halyx::test

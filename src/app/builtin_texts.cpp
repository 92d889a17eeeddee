#include "app/builtin_texts.h"

#include <array>
#include <string_view>

#include "app/command_ids.h"
#include "settings/setting_file.h"

namespace halyx {
namespace {

struct ToolbarTip {
    int commandId;
    std::string_view chinese;
    std::string_view english;
};

constexpr std::array<ToolbarTip, 6> kToolbarTips{{
    {cmd::kFileNew, "新建", "New"},
    {cmd::kFileOpen, "打开", "Open"},
    {cmd::kFileSave, "保存", "Save"},
    {cmd::kReadRadio, "读频", "Read"},
    {cmd::kWriteRadio, "写频", "Write"},
    {cmd::kAppAbout, "关于", "About"},
}};

}  // namespace

bool UsesChineseBuiltinTexts(std::string_view languageValue) {
    return IsChineseLanguageValue(languageValue);
}

std::string ToolbarTipText(int commandId, bool chinese) {
    for (const ToolbarTip& tip : kToolbarTips) {
        if (tip.commandId == commandId) {
            return std::string(chinese ? tip.chinese : tip.english);
        }
    }
    return {};
}

std::string IdleStatusText(bool chinese) {
    return chinese ? "就绪" : "Ready";
}

}  // namespace halyx

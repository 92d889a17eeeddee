#pragma once

#include <array>
#include <span>
#include <string_view>

#include "app/command_ids.h"
#include "app/fleet_texts.h"
#include "app/port_texts.h"
#include "interchange/interchange_texts.h"
#include "ui/common/shell_texts.h"

namespace halyx {

// One entry of a drop-down menu; a command id of 0 is a separator.
struct MenuItemSpec {
    int commandId;
    std::string_view textKey;
    // For items newer than the original key range: shown when the language file lacks the key.
    std::string_view builtinEnglish{};
};

struct MenuSpec {
    std::string_view titleKey;
    std::span<const MenuItemSpec> items;
};

inline constexpr int kSeparator = 0;

namespace menu_layout {
// Items are only ever appended, so every older item keeps its place.
inline constexpr std::array<MenuItemSpec, 12> kFile{{
    {cmd::kFileNew, keys::kMenuNew},
    {cmd::kFileOpen, keys::kMenuOpen},
    {cmd::kFileSave, keys::kMenuSave},
    {kSeparator, {}},
    {cmd::kAppExit, keys::kMenuExit},
    {kSeparator, {}},
    {cmd::kImportCsv, text::kMenuImportCsv.key, text::kMenuImportCsv.english},
    {cmd::kExportCsv, text::kMenuExportCsv.key, text::kMenuExportCsv.english},
    {cmd::kExportPdf, text::kMenuExportPdf.key, text::kMenuExportPdf.english},
    {cmd::kExportHtml, text::kMenuExportHtml.key, text::kMenuExportHtml.english},
    {cmd::kCompareFile, text::kMenuCompare.key, text::kMenuCompare.english},
    {cmd::kOpenBackup, fleet_text::kMenuOpenBackup.key, fleet_text::kMenuOpenBackup.english},
}};
inline constexpr std::array<MenuItemSpec, 5> kProgram{{
    {cmd::kReadRadio, keys::kMenuReadRadio},
    {cmd::kWriteRadio, keys::kMenuWriteRadio},
    {kSeparator, {}},
    {cmd::kTest, keys::kMenuTest},
    {cmd::kFleetWrite, fleet_text::kMenuFleetWrite.key, fleet_text::kMenuFleetWrite.english},
}};
inline constexpr std::array<MenuItemSpec, 2> kSettings{{
    {cmd::kPortSettings, keys::kMenuPortSettings},
    {cmd::kPortDoctor, port_text::kMenuDoctor.key, port_text::kMenuDoctor.english},
}};
inline constexpr std::array<MenuItemSpec, 2> kLanguage{
    {{cmd::kLanguageChinese, keys::kMenuChinese}, {cmd::kLanguageEnglish, keys::kMenuEnglish}}};
inline constexpr std::array<MenuItemSpec, 2> kView{
    {{cmd::kViewToolbar, keys::kMenuToolbar}, {cmd::kViewStatusBar, keys::kMenuStatusBar}}};
inline constexpr std::array<MenuItemSpec, 1> kHelp{{{cmd::kAppAbout, keys::kMenuAbout}}};
}  // namespace menu_layout

// The six drop-down menus in menu-bar order; titles are replaced by position on localisation.
inline constexpr std::array<MenuSpec, 6> kMainMenus{{
    {keys::kMenuFile, menu_layout::kFile},
    {keys::kMenuProgram, menu_layout::kProgram},
    {keys::kMenuSettings, menu_layout::kSettings},
    {keys::kMenuLanguage, menu_layout::kLanguage},
    {keys::kMenuView, menu_layout::kView},
    {keys::kMenuHelp, menu_layout::kHelp},
}};

// Toolbar buttons in order; a command id of 0 is the separator.
inline constexpr std::array<int, 7> kToolbarButtons{
    cmd::kFileNew,   cmd::kFileOpen,   cmd::kFileSave, kSeparator,
    cmd::kReadRadio, cmd::kWriteRadio, cmd::kAppAbout};

}  // namespace halyx

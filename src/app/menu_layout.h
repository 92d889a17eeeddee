#pragma once

#include <array>
#include <span>
#include <string_view>

#include "app/command_ids.h"
#include "app/fleet_texts.h"
#include "app/port_texts.h"
#include "interchange/interchange_texts.h"
#include "ui/common/shell_texts.h"
#include "ui/form/row_command_texts.h"

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
    std::string_view builtinEnglishTitle{};  // as for items
};

// Texts of the menus added after the original key range.
namespace menu_text {
inline constexpr TextKey kEdit{"S0357", "&Edit"};
inline constexpr TextKey kPrintPreview{"S0358", "Print pre&view..."};
inline constexpr TextKey kPrint{"S0359", "&Print..."};
}  // namespace menu_text

inline constexpr int kSeparator = 0;

namespace menu_layout {
// Items are only ever appended, so every older item keeps its place.
inline constexpr std::array<MenuItemSpec, 15> kFile{{
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
    {kSeparator, {}},
    {cmd::kFilePrintPreview, menu_text::kPrintPreview.key, menu_text::kPrintPreview.english},
    {cmd::kFilePrint, menu_text::kPrint.key, menu_text::kPrint.english},
}};
// The channel commands of the rows' context menu, in the words it uses.
inline constexpr std::array<MenuItemSpec, 9> kEdit{{
    {cmd::kEditUndo, row_texts::kUndo.key, row_texts::kUndo.english},
    {cmd::kEditRedo, row_texts::kRedo.key, row_texts::kRedo.english},
    {kSeparator, {}},
    {cmd::kEditCut, row_texts::kCut.key, row_texts::kCut.english},
    {cmd::kEditCopy, row_texts::kCopy.key, row_texts::kCopy.english},
    {cmd::kEditPaste, row_texts::kPaste.key, row_texts::kPaste.english},
    {cmd::kEditClear, row_texts::kClear.key, row_texts::kClear.english},
    {kSeparator, {}},
    {cmd::kEditBulkSet, row_texts::kBulkSet.key, row_texts::kBulkSet.english},
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

// The drop-down menus in menu-bar order; titles are replaced by position on localisation. Edit
// sits between File and Program, where desktop programs keep it.
inline constexpr std::array<MenuSpec, 7> kMainMenus{{
    {keys::kMenuFile, menu_layout::kFile},
    {menu_text::kEdit.key, menu_layout::kEdit, menu_text::kEdit.english},
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

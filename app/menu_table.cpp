#include "menu_table.h"

#include "about_menu.h"

#include "convert/conversion_commands.h"
#include "edit/edit_commands.h"
#include "files/file_commands.h"
#include "search/replace_menu.h"
#include "search/search_menu.h"

#include <array>

namespace orvane {

namespace {

constexpr char none = 0;
constexpr MenuHandler noHandler = nullptr;

// A command over the host services as a row's handler.
template <void (*command)(Host &)> void onHost(MenuTargets &targets) { command(targets.host); }

void searchMenuClick(MenuTargets &targets) { targets.searchMenu.SearchMenu_Click(); }
void replaceMenuClick(MenuTargets &targets) { targets.replaceMenu.ReplaceMenu_Click(); }

constexpr std::array rows {
    MenuRow {1, "FileMenu", u"ファイル(&F)", none, noHandler},
    MenuRow {2, "NewMenu", u"新規作成(&N)", none, onHost<NewMenu_Click>},
    MenuRow {2, "OpenMenu", u"開く(&O)...", none, onHost<OpenMenu_Click>},
    MenuRow {2, "SaveMenu", u"上書き保存(&S)...", none, onHost<SaveMenu_Click>},
    MenuRow {2, "SaveAsMenu", u"名前を付けて保存(&A)...", none, onHost<SaveAsMenu_Click>},
    MenuRow {2, "SpaceMenu", u"-", none, noHandler},
    MenuRow {2, "ExitMenu", u"終了(&X)", none, onHost<ExitMenu_Click>},
    MenuRow {1, "EditMenu", u"編集(&E)", none, noHandler},
    MenuRow {2, "UndoMenu", u"元に戻す(&U)", 'Z', onHost<UndoMenu_Click>},
    MenuRow {2, "SEPARATOR", u"-", none, noHandler},
    MenuRow {2, "CutMenu", u"切り取り(&T)", 'X', onHost<CutMenu_Click>},
    MenuRow {2, "CopyMenu", u"コピー(&C)", 'C', onHost<CopyMenu_Click>},
    MenuRow {2, "PasteMenu", u"貼り付け(&P)", 'V', onHost<PasteMenu_Click>},
    MenuRow {2, "SpaceMenu3", u"-", none, noHandler},
    MenuRow {2, "SearchMenu", u"検索(&S)", none, searchMenuClick},
    MenuRow {2, "ReplaceMenu", u"置換(&E)...", 'R', replaceMenuClick},
    MenuRow {2, "SpaceMenu2", u"-", none, noHandler},
    MenuRow {2, "SelStringChange", u"選択文字列変換(&R)", none, noHandler},
    MenuRow {3, "SelLowerChange", u"小文字変換(&L)", 'L', onHost<SelLowerChange_Click>},
    MenuRow {3, "SelUpperChange", u"大文字変換(&U)", 'U', onHost<SelUpperChange_Click>},
    MenuRow {3, "SelHiraganaChange", u"ひらがな変換(&H)", 'H', onHost<SelHiraganaChange_Click>},
    MenuRow {3, "SelKatakanaChange", u"カタカナ変換(&K)", 'K', onHost<SelKatakanaChange_Click>},
    MenuRow {3, "SelNarrowChange", u"半角変換(&N)", 'N', onHost<SelNarrowChange_Click>},
    MenuRow {3, "SelWideChange", u"全角変換(&W)", 'W', onHost<SelWideChange_Click>},
    MenuRow {1, "StringChange", u"文字列一括変換(&S)", none, noHandler},
    MenuRow {2, "LowerChange", u"小文字変換(&L)", none, onHost<LowerChange_Click>},
    MenuRow {2, "UpperChange", u"大文字変換(&U)", none, onHost<UpperChange_Click>},
    MenuRow {2, "HiraganaChange", u"ひらがな変換(&H)", none, onHost<HiraganaChange_Click>},
    MenuRow {2, "KatakanaChange", u"カタカナ変換(&K)", none, onHost<KatakanaChange_Click>},
    MenuRow {2, "NarrowChange", u"半角変換(&N)", none, onHost<NarrowChange_Click>},
    MenuRow {2, "WideChange", u"全角変換(&W)", none, onHost<WideChange_Click>},
    MenuRow {1, "HelpMenu", u"ヘルプ(&H)", none, noHandler},
    MenuRow {2, "AboutMenu", u"バージョン情報(&A)", none, onHost<AboutMenu_Click>},
};

} // namespace

std::span<const MenuRow> menuTable() { return rows; }

} // namespace orvane

#include "menu_table.h"

#include <array>

namespace orvane {

namespace {

constexpr char none = 0;

constexpr std::array rows {
    MenuRow {1, "FileMenu", u"ファイル(&F)", none},
    MenuRow {2, "NewMenu", u"新規作成(&N)", none},
    MenuRow {2, "OpenMenu", u"開く(&O)...", none},
    MenuRow {2, "SaveMenu", u"上書き保存(&S)...", none},
    MenuRow {2, "SaveAsMenu", u"名前を付けて保存(&A)...", none},
    MenuRow {2, "SpaceMenu", u"-", none},
    MenuRow {2, "ExitMenu", u"終了(&X)", none},
    MenuRow {1, "EditMenu", u"編集(&E)", none},
    MenuRow {2, "UndoMenu", u"元に戻す(&U)", 'Z'},
    MenuRow {2, "SEPARATOR", u"-", none},
    MenuRow {2, "CutMenu", u"切り取り(&T)", 'X'},
    MenuRow {2, "CopyMenu", u"コピー(&C)", 'C'},
    MenuRow {2, "PasteMenu", u"貼り付け(&P)", 'V'},
    MenuRow {2, "SpaceMenu3", u"-", none},
    MenuRow {2, "SearchMenu", u"検索(&S)", none},
    MenuRow {2, "SpaceMenu2", u"-", none},
    MenuRow {2, "SelStringChange", u"選択文字列変換(&R)", none},
    MenuRow {3, "SelLowerChange", u"小文字変換(&L)", 'L'},
    MenuRow {3, "SelUpperChange", u"大文字変換(&U)", 'U'},
    MenuRow {3, "SelHiraganaChange", u"ひらがな変換(&H)", 'H'},
    MenuRow {3, "SelKatakanaChange", u"カタカナ変換(&K)", 'K'},
    MenuRow {3, "SelNarrowChange", u"半角変換(&N)", 'N'},
    MenuRow {3, "SelWideChange", u"全角変換(&W)", 'W'},
    MenuRow {1, "StringChange", u"文字列一括変換(&S)", none},
    MenuRow {2, "LowerChange", u"小文字変換(&L)", none},
    MenuRow {2, "UpperChange", u"大文字変換(&U)", none},
    MenuRow {2, "HiraganaChange", u"ひらがな変換(&H)", none},
    MenuRow {2, "KatakanaChange", u"カタカナ変換(&K)", none},
    MenuRow {2, "NarrowChange", u"半角変換(&N)", none},
    MenuRow {2, "WideChange", u"全角変換(&W)", none},
    MenuRow {1, "HelpMenu", u"ヘルプ(&H)", none},
    MenuRow {2, "AboutMenu", u"バージョン情報(&A)", none},
};

} // namespace

std::span<const MenuRow> menuTable() { return rows; }

} // namespace orvane

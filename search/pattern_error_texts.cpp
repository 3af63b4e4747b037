#include "pattern_error_texts.h"

#include <algorithm>
#include <string_view>

namespace orvane::search_texts {

namespace {

struct Translation {
    std::string_view english;
    const char16_t *japanese;
};

// PCRE2 10.42's compile errors that a typed pattern can meet and Qt's translation does not cover.
constexpr Translation translations[] = {
    {"escape sequence is invalid in character class", u"文字クラスの中では使えないエスケープシーケンスです"},
    {"quantifier does not follow a repeatable item", u"量指定子の前に繰り返せる要素がありません"},
    {"missing closing parenthesis", u"閉じ括弧 ) がありません"},
    {"missing ) after (?# comment", u"コメント (?# の後に ) がありません"},
    {"unmatched closing parenthesis", u"対応する開き括弧 ( のない閉じ括弧 ) があります"},
    {"missing closing parenthesis for condition", u"条件を閉じる括弧 ) がありません"},
    {"a relative value of zero is not allowed", u"相対参照に 0 は使えません"},
    {"conditional subpattern contains more than two branches",
     u"条件付きサブパターンの分岐が 3 つ以上あります"},
    {"assertion expected after (?( or (?(?C)", u"(?( の後にアサーションが必要です"},
    {"digit expected after (?+ or (?-", u"(?+ や (?- の後に数字が必要です"},
    {"character code point value in \\x{} or \\o{} is too large",
     u"\\x{} や \\o{} の文字コードが大きすぎます"},
    {"lookbehind is too complicated", u"戻り読み(lookbehind)が複雑すぎます"},
    {"PCRE2 does not support \\F, \\L, \\l, \\N{name}, \\U, or \\u",
     u"\\F、\\L、\\l、\\N{name}、\\U、\\u は使えません"},
    {"number after (?C is greater than 255", u"(?C の後の数値が 255 を超えています"},
    {"closing parenthesis for (?C expected", u"(?C を閉じる括弧 ) がありません"},
    {"invalid escape sequence in (*VERB) name", u"(*VERB) の名前に使えないエスケープシーケンスがあります"},
    {"syntax error in subpattern name (missing terminator?)",
     u"サブパターンの名前の書き方が正しくありません（閉じ忘れていませんか?）"},
    {"two named subpatterns have the same name (PCRE2_DUPNAMES not set)",
     u"同じ名前のサブパターンが 2 つあります"},
    {"subpattern name must start with a non-digit", u"サブパターンの名前は数字以外で始めてください"},
    {"unknown property after \\P or \\p", u"\\P や \\p の後に未知のプロパティがあります"},
    {"subpattern name is too long (maximum 32 code units)", u"サブパターンの名前が長すぎます（32 文字まで）"},
    {"DEFINE subpattern contains more than one branch", u"DEFINE サブパターンに分岐が 2 つ以上あります"},
    {"(?R (recursive pattern call) must be followed by a closing parenthesis",
     u"(?R の後に閉じ括弧 ) が必要です"},
    {"(*VERB) not recognized or malformed", u"(*VERB) が認識できないか、書き方が正しくありません"},
    {"subpattern number is too big", u"サブパターンの番号が大きすぎます"},
    {"\\c must be followed by a printable ASCII character", u"\\c の後には表示できる ASCII 文字が必要です"},
    {"callout string is too long", u"コールアウトの文字列が長すぎます"},
    {"character code point value in \\u.... sequence is too large", u"\\u.... の文字コードが大きすぎます"},
    {"digits missing in \\x{} or \\o{} or \\N{U+}", u"\\x{}、\\o{}、\\N{U+} の中に数字がありません"},
    {"syntax error or number too big in (?(VERSION condition",
     u"(?(VERSION 条件の書き方が正しくないか、数値が大きすぎます"},
    {"missing terminating delimiter for callout with string argument",
     u"コールアウトの文字列引数を閉じる区切り文字がありません"},
    {"unrecognized string delimiter follows (?C", u"(?C の後に認識できない区切り文字があります"},
    {"(?| and/or (?J: or (?x: parentheses are too deeply nested",
     u"(?|、(?J:、(?x: の括弧のネストが深すぎます"},
    {"regular expression is too complicated", u"正規表現が複雑すぎます"},
    {"lookbehind assertion is too long", u"戻り読み(lookbehind)アサーションが長すぎます"},
    {"invalid hyphen in option setting", u"オプションの設定に使えないハイフンがあります"},
    {"(*alpha_assertion) not recognized", u"(*alpha_assertion) が認識できません"},
    {"too many capturing groups (maximum 65535)", u"キャプチャグループが多すぎます（65535 個まで）"},
    {"atomic assertion expected after (?( or (?(?C)", u"(?( の後にアトミックアサーションが必要です"},
    {"\\K is not allowed in lookarounds (but see PCRE2_EXTRA_ALLOW_LOOKAROUND_BSK)",
     u"先読み・戻り読みの中では \\K は使えません"},
};

bool isAscii(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

QString japanesePatternError(const QString &reason)
{
    const QByteArray english = reason.toLatin1();
    for (const Translation &row : translations) {
        if (row.english == std::string_view(english.constData(), size_t(english.size())))
            return QString::fromUtf16(row.japanese);
    }
    if (!isAscii(reason))
        return reason;
    return QStringLiteral("正規表現を解釈できません（%1）").arg(reason);
}

} // namespace orvane::search_texts

#pragma once
// The host's substring search InStr, 1-based as the search dialog uses it.

#include <QStringView>

#include <memory>

namespace orvane::chars {

enum class CompareMode : int {
    Binary = 0, // equal UTF-16 code units
    Text = 1, // ignores letter case, character width and hiragana/katakana
};

struct Match {
    qsizetype position = 0; // 1-based; 0 when nothing was found
    qsizetype length = 0; // UTF-16 units of the match as it stands in the text
};

// 0 when start exceeds the text's length; start when sought is empty; otherwise the first match that
// begins at or after start.
Match InStr(qsizetype start, QStringView text, QStringView sought, CompareMode mode);

// InStr's text comparison prepared once, for many searches of one non-empty string.
class TextFinder {
public:
    explicit TextFinder(QStringView sought);
    // The first match that begins at or after from (0-based); its position is 1-based, 0 when none.
    Match find(QStringView text, qsizetype from) const;

private:
    struct Prepared;
    std::shared_ptr<const Prepared> m_prepared;
};

} // namespace orvane::chars

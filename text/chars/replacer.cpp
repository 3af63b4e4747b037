#include "text/chars/replacer.h"

#include <algorithm>

namespace orvane::chars {

namespace {

// Line ends are CR, LF or CR LF for ^, $ and . as for \R, whatever PCRE2 was built with.
constexpr QStringView lineEndVerbs = u"(*ANYCRLF)(*BSR_ANYCRLF)";

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

QString lineEndPattern(QStringView pattern, QList<qsizetype> *origin)
{
    QString out(lineEndVerbs.toString());
    QList<qsizetype> from(out.size(), 0);
    const qsizetype n = pattern.size();
    auto copy = [&](qsizetype at, qsizetype count) {
        count = std::min(count, n - at);
        out.append(pattern.mid(at, count));
        for (qsizetype k = 0; k < count; ++k)
            from.append(at + k);
        return count;
    };
    auto put = [&](QStringView text, qsizetype at) {
        out.append(text);
        from.append(QList<qsizetype>(text.size(), at));
    };

    bool inClass = false;
    for (qsizetype i = 0; i < n;) {
        const QChar c = pattern[i];
        if (c == u'\\' && i + 1 < n) {
            const QChar next = pattern[i + 1];
            if (next == u'Q') {
                // Quoted up to \E: nothing inside is an escape.
                const qsizetype end = pattern.indexOf(u"\\E", i + 2);
                i += copy(i, end < 0 ? n - i : end + 2 - i);
            } else if (next == u'n') {
                put(inClass ? u"\\r\\n" : u"\\R", i);
                i += 2;
            } else {
                // \cX takes the character after it, whatever it is.
                i += copy(i, next == u'c' ? 3 : 2);
            }
            continue;
        }
        if (!inClass && c == u'[') {
            inClass = true;
            i += copy(i, 1);
            if (i < n && pattern[i] == u'^')
                i += copy(i, 1);
            // A ] right after the opening bracket is a member, not the end.
            if (i < n && pattern[i] == u']')
                i += copy(i, 1);
            continue;
        }
        if (inClass && c == u'[' && i + 1 < n && pattern[i + 1] == u':') {
            const qsizetype end = pattern.indexOf(u":]", i + 2);
            if (end >= 0) {
                i += copy(i, end + 2 - i);
                continue;
            }
        }
        if (inClass && c == u']')
            inClass = false;
        i += copy(i, 1);
    }
    from.append(n);
    if (origin)
        *origin = std::move(from);
    return out;
}

Replacer::Replacer(const ReplaceCommand &command)
    : m_command(command)
{
    if (!command.regularExpression) {
        if (!command.pattern.isEmpty() && command.compare == CompareMode::Text)
            m_textFinder.emplace(command.pattern);
        return;
    }
    QRegularExpression::PatternOptions options = QRegularExpression::MultilineOption;
    if (command.compare == CompareMode::Text)
        options |= QRegularExpression::CaseInsensitiveOption;
    m_regex.emplace(lineEndPattern(command.pattern, &m_patternOrigin), options);
    if (!m_regex->isValid())
        return;
    m_regex->optimize();

    const QString &r = command.replacement;
    const int groups = m_regex->captureCount();
    Piece literal;
    for (qsizetype i = 0; i < r.size(); ++i) {
        const QChar c = r[i];
        const QChar next = i + 1 < r.size() ? r[i + 1] : QChar();
        if (c == u'\\' && (next == u'n' || next == u't' || next == u'\\')) {
            literal.literal += next == u'n' ? m_command.lineEnd
                : next == u't'              ? QStringLiteral("\t")
                                            : QStringLiteral("\\");
            ++i;
        } else if (c == u'$' && next == u'$') {
            literal.literal += u'$';
            ++i;
        } else if (c == u'$' && isDigit(next) && next.unicode() - u'0' <= groups) {
            m_pieces.append(std::exchange(literal, Piece {}));
            m_pieces.append(Piece {QString(), next.unicode() - u'0'});
            ++i;
        } else {
            literal.literal += c;
        }
    }
    m_pieces.append(literal);
}

QString Replacer::errorText() const { return m_regex ? m_regex->errorString() : QString(); }

qsizetype Replacer::errorOffset() const
{
    if (!m_regex || m_regex->isValid())
        return -1;
    const qsizetype at = std::clamp<qsizetype>(m_regex->patternErrorOffset(), 0, m_patternOrigin.size() - 1);
    return m_patternOrigin[at];
}

void Replacer::appendReplacement(QString &out, const QRegularExpressionMatch &match) const
{
    for (const Piece &piece : m_pieces) {
        if (piece.group >= 0)
            out += match.capturedView(piece.group);
        else
            out += piece.literal;
    }
}

ReplaceMatch Replacer::find(const QString &text, qsizetype from) const
{
    ReplaceMatch found;
    if (m_command.pattern.isEmpty() || !isValid() || from > text.size())
        return found;
    if (m_regex) {
        const QRegularExpressionMatch match = m_regex->match(text, from);
        if (match.hasMatch()) {
            found.start = match.capturedStart();
            found.length = match.capturedLength();
            appendReplacement(found.replacement, match);
        }
        return found;
    }
    if (m_textFinder) {
        const Match match = m_textFinder->find(text, from);
        found.start = match.position - 1;
        found.length = match.length;
    } else if (m_command.pattern.isValidUtf16()) {
        // A lone surrogate would match half of a pair, so such a pattern finds nothing.
        const Match match = InStr(from + 1, text, m_command.pattern, CompareMode::Binary);
        found.start = match.position - 1;
        found.length = match.length;
    }
    if (found.found())
        found.replacement = m_command.replacement;
    return found;
}

ReplaceResult Replacer::replaceAll(const QString &text) const
{
    ReplaceResult result;
    qsizetype copied = 0;
    auto replaceSpan = [&](qsizetype start, qsizetype end) {
        if (result.count++ == 0)
            result.text.reserve(text.size() + text.size() / 16);
        result.text += QStringView(text).mid(copied, start - copied);
        copied = end;
    };
    if (m_regex) {
        if (!isValid() || m_command.pattern.isEmpty())
            return result;
        QRegularExpressionMatchIterator matches = m_regex->globalMatch(text);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            replaceSpan(match.capturedStart(), match.capturedEnd());
            appendReplacement(result.text, match);
            result.lastEnd = result.text.size();
        }
    } else {
        for (ReplaceMatch match = find(text, 0); match.found();
             match = find(text, match.start + match.length)) {
            replaceSpan(match.start, match.start + match.length);
            result.text += m_command.replacement;
            result.lastEnd = result.text.size();
        }
    }
    if (result.count > 0)
        result.text += QStringView(text).mid(copied);
    return result;
}

} // namespace orvane::chars

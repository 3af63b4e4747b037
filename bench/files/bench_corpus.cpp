#include "bench_corpus.h"

#include "text/codec/cp932.h"

#include <QFile>
#include <QList>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <random>

namespace orvane::bench {

namespace {

// Sentences of ordinary modern Japanese with numbers, Latin words and full-width punctuation.
const char16_t *const japaneseSentences[] = {
    u"吾輩は猫である。名前はまだ無い。",
    u"どこで生れたかとんと見当がつかぬ。",
    u"何でも薄暗いじめじめした所でニャーニャー泣いていた事だけは記憶している。",
    u"会議は午前１０時から第３会議室で行います。",
    u"新しいバージョン2.4では、検索と置換の速度が大幅に改善されました。",
    u"東京都千代田区丸の内１－２－３　ＡＢＣビル５階",
    u"お問い合わせは、サポート窓口（support@example.jp）までご連絡ください。",
    u"「今日はいい天気ですね」と彼女は言った。",
    u"ﾃﾞｰﾀの入力には半角ｶﾀｶﾅを使わないでください。",
    u"第一章　春の訪れ",
    u"この文書は、社内の手順を説明するためのものです。",
    u"価格：12,800円（税込）、送料無料。",
    u"",
};

QByteArray makeBytes(qint64 targetBytes)
{
    QList<QByteArray> encoded;
    for (const char16_t *sentence : japaneseSentences) {
        QByteArray bytes;
        codec::cp932::encode(QString::fromUtf16(sentence), bytes);
        encoded.append(bytes);
    }
    std::mt19937 random(7);
    QByteArray out;
    out.reserve(targetBytes + 1024);
    while (out.size() < targetBytes) {
        const int sentences = 1 + int(random() % 3);
        for (int i = 0; i < sentences; ++i)
            out += encoded[random() % encoded.size()];
        out += "\r\n";
    }
    return out;
}

// The corpus files are made before any timing; a failure there ends the run.
QByteArray readOrAbort(const QString &path)
{
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        std::abort();
    return in.readAll();
}

void writeOrAbort(const QString &path, const QByteArray &bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        std::abort();
}

} // namespace

const QString &corpusPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("corpus.txt"));
        writeOrAbort(file, makeBytes(corpusBytes));
        return file;
    }();
    return path;
}

qint64 corpusSize() { return QFile(corpusPath()).size(); }

const QString &utf8CorpusPath()
{
    static const QString path = [] {
        const QString file = scratchPath(QStringLiteral("corpus-utf8.txt"));
        QString text;
        codec::cp932::decode(readOrAbort(corpusPath()), text);
        writeOrAbort(file, text.toUtf8());
        return file;
    }();
    return path;
}

qint64 utf8CorpusSize() { return QFile(utf8CorpusPath()).size(); }

namespace {

// The code page 932 corpus with its line ends changed: all LF, or CR LF, LF and CR in turn.
QString relinedCorpus(const QString &name, bool mixed)
{
    const QString file = scratchPath(name);
    const QByteArray bytes = readOrAbort(corpusPath());
    QByteArray out;
    out.reserve(bytes.size());
    static const char *const ends[] = {"\r\n", "\n", "\r"};
    int line = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf("\r\n", start);
        if (end < 0)
            end = bytes.size();
        out.append(bytes.constData() + start, end - start);
        if (end < bytes.size())
            out.append(mixed ? ends[line++ % 3] : "\n");
        start = end + 2;
    }
    writeOrAbort(file, out);
    return file;
}

} // namespace

const QString &corpusPath(int which)
{
    static const QString lf = relinedCorpus(QStringLiteral("corpus-lf.txt"), false);
    static const QString mixed = relinedCorpus(QStringLiteral("corpus-mixed.txt"), true);
    switch (which) {
    case 1:
        return utf8CorpusPath();
    case 2:
        return lf;
    case 3:
        return mixed;
    default:
        return corpusPath();
    }
}

qint64 corpusSize(int which) { return QFile(corpusPath(which)).size(); }

const char *corpusName(int which)
{
    static const char *const names[] = {"cp932 CR LF", "UTF-8 CR LF", "cp932 LF", "cp932 mixed"};
    return names[which];
}

QString scratchPath(const QString &name)
{
    const QString corpus = corpusPath();
    return corpus.left(corpus.lastIndexOf(u'/') + 1) + name;
}

MsgBoxAnswer NoMessageBox::msgBox(const QString &prompt, int, const QString &)
{
    std::fprintf(stderr, "unexpected message box: %s\n", prompt.toUtf8().constData());
    std::abort();
}

} // namespace orvane::bench

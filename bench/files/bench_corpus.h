#pragma once
// The benchmarks' document: about 100 MB of code page 932 Japanese prose with CR LF line ends,
// and the same text in UTF-8, written once into a temporary folder; and the host services the
// commands need around a file.

#include "bench/support/peak_memory.h"
#include "host/host.h"

#include <QString>

#include <memory>

namespace orvane::bench {

constexpr qint64 corpusBytes = 100'000'000;

// The corpus file's path, created on first use.
const QString &corpusPath();
qint64 corpusSize();
// The same text in UTF-8 without a byte-order mark (about 1.5 times the size).
const QString &utf8CorpusPath();
qint64 utf8CorpusSize();
// One of them by a benchmark argument: 0 the code page 932 corpus, 1 the UTF-8 one; 2 the code
// page 932 one with LF line ends, 3 with its line ends mixed (CR LF, LF, CR in turn).
const QString &corpusPath(int which);
qint64 corpusSize(int which);
const char *corpusName(int which);
// A path beside the corpus for writing.
QString scratchPath(const QString &name);

// A dialog that always chooses the same file.
class FixedDialog final : public CommonDialog {
public:
    explicit FixedDialog(QString path)
        : m_path(std::move(path))
    {
    }
    void ShowOpen() override { FileName = m_path; }
    void ShowSave() override { FileName = m_path; }

private:
    QString m_path;
};

// A message box that nothing should show: it aborts the benchmark.
class NoMessageBox final : public MessageBox {
public:
    MsgBoxAnswer msgBox(const QString &prompt, int, const QString &) override;
};

class QuietProgram final : public Program {
public:
    void end() override { }
    void setBusy(bool) override { }
};

class NoClipboard final : public Clipboard {
public:
    QString getText() const override { return {}; }
    void setText(const QString &) override { }
};

} // namespace orvane::bench

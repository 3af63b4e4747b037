#include "qt_common_dialog.h"

#include "ui_texts.h"

#include "host/host_error.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace orvane {

namespace {

// QFileDialog accepts a name in a folder that does not exist; with 0x800 it must not.
class FileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    bool pathMustExist = false;

protected:
    void accept() override
    {
        if (pathMustExist) {
            const QStringList files = selectedFiles();
            if (!files.isEmpty()) {
                const QFileInfo info(files.first());
                if (!info.isDir() && !info.absoluteDir().exists()) {
                    QMessageBox::warning(this, windowTitle(),
                                         uitexts::pathNotFound(QDir::toNativeSeparators(info.absolutePath())));
                    return;
                }
            }
        }
        QFileDialog::accept();
    }
};

} // namespace

QStringList QtCommonDialog::nameFilters(const QString &filter)
{
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        QStringList patterns = parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &pattern : patterns)
            pattern = pattern.trimmed();
        const QString qtPatterns = QLatin1Char('(') + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
        // Windows descriptions usually name their pattern already: "テキストファイル (*.txt)".
        if (description.endsWith(qtPatterns))
            result.append(description);
        else if (description.isEmpty())
            result.append(patterns.join(QLatin1Char(' ')));
        else
            result.append(description + QLatin1Char(' ') + qtPatterns);
    }
    return result;
}

void QtCommonDialog::ShowOpen()
{
    show(false);
}

void QtCommonDialog::ShowSave()
{
    show(true);
}

void QtCommonDialog::show(bool save)
{
    FileDialog dialog(m_parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(save ? uitexts::saveTitle() : uitexts::openTitle());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && (Flags & OFN_OVERWRITEPROMPT)));
    dialog.pathMustExist = (Flags & OFN_PATHMUSTEXIST) != 0;

    const QStringList filters = nameFilters(Filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    QString suffix = DefaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);

    if (!FileName.isEmpty()) {
        const QFileInfo current(QDir::fromNativeSeparators(FileName));
        dialog.setDirectory(current.absolutePath());
        dialog.selectFile(current.fileName());
    }

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        if (CancelError)
            throw HostError(ErrorNumber::DialogCancelled, uitexts::dialogCancelled());
        return;
    }
    FileName = QDir::toNativeSeparators(QFileInfo(dialog.selectedFiles().first()).absoluteFilePath());
}

} // namespace orvane

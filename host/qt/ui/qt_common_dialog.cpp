#include "qt_common_dialog.h"

#include "ui_texts.h"

#include "host/host_error.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace orvane {

namespace {

// QFileDialog accepts a name in a folder that does not exist; with 0x800 it must not.
// Opening, a typed name that exists as typed is taken as it is; QFileDialog would add the
// default suffix to it, and it keeps Open disabled for a file that the name filter hides.
class FileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    bool pathMustExist = false;
    QString typedFile;

    void takeTypedNames()
    {
        if (acceptMode() != AcceptOpen)
            return;
        if (auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))) {
            // Connected after the dialog's own update of the button, so this one decides.
            connect(edit, &QLineEdit::textChanged, this, [this] {
                if (existingTypedFile().isEmpty())
                    return;
                if (auto *buttons = findChild<QDialogButtonBox *>()) {
                    if (QPushButton *open = buttons->button(QDialogButtonBox::Open))
                        open->setEnabled(true);
                }
            });
        }
    }

protected:
    void accept() override
    {
        if (acceptMode() == AcceptOpen) {
            typedFile = existingTypedFile();
            if (!typedFile.isEmpty()) {
                QDialog::accept();
                return;
            }
        }
        if (pathMustExist) {
            const QStringList files = selectedFiles();
            if (!files.isEmpty()) {
                const QFileInfo info(files.first());
                if (!info.isDir() && !info.absoluteDir().exists()) {
                    QMessageBox::warning(
                        this, windowTitle(),
                        ui_texts::pathNotFound(QDir::toNativeSeparators(info.absolutePath())));
                    return;
                }
            }
        }
        QFileDialog::accept();
    }

private:
    // The name in the name box as a path in the dialog's folder, when it is an existing file.
    QString existingTypedFile() const
    {
        const auto *edit = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!edit || edit->text().isEmpty())
            return QString();
        const QFileInfo typed(directory(), QDir::fromNativeSeparators(edit->text()));
        return typed.isFile() ? typed.absoluteFilePath() : QString();
    }
};

// Puts a labelled list below the file types, next in the tab order, its label's access key
// moving the focus to it.
QComboBox *addChoice(QFileDialog &dialog, const QString &label, const QStringList &items, int index)
{
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid)
        return nullptr;
    auto *caption = new QLabel(label, &dialog);
    auto *choice = new QComboBox(&dialog);
    choice->setObjectName(QStringLiteral("choiceCombo"));
    choice->addItems(items);
    choice->setCurrentIndex(std::clamp<qsizetype>(index, 0, items.size() - 1));
    caption->setBuddy(choice);
    const int row = grid->rowCount();
    grid->addWidget(caption, row, 0);
    grid->addWidget(choice, row, 1);
    if (auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
        QWidget::setTabOrder(types, choice);
    return choice;
}

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

void QtCommonDialog::ShowOpen() { show(false); }

void QtCommonDialog::ShowSave() { show(true); }

void QtCommonDialog::show(bool save)
{
    FileDialog dialog(m_parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(save ? ui_texts::saveTitle() : ui_texts::openTitle());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && (Flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && (Flags & OFN_OVERWRITEPROMPT)));
    dialog.pathMustExist = (Flags & OFN_PATHMUSTEXIST) != 0;

    const QStringList filters = nameFilters(Filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.at(std::clamp<qsizetype>(FilterIndex, 1, filters.size()) - 1));
    }
    QString suffix = DefaultExt;
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    dialog.takeTypedNames();
    QComboBox *choice = !Choices.isEmpty() ? addChoice(dialog, ChoiceLabel, Choices, ChoiceIndex) : nullptr;

    if (!FileName.isEmpty()) {
        const QFileInfo current(QDir::fromNativeSeparators(FileName));
        dialog.setDirectory(current.absolutePath());
        dialog.selectFile(current.fileName());
    }

    if (dialog.exec() != QDialog::Accepted
        || (dialog.typedFile.isEmpty() && dialog.selectedFiles().isEmpty())) {
        if (CancelError)
            throw HostError(ErrorNumber::DialogCancelled, ui_texts::dialogCancelled());
        return;
    }
    const QString chosen = dialog.typedFile.isEmpty() ? dialog.selectedFiles().first() : dialog.typedFile;
    FileName = QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath());
    if (!filters.isEmpty())
        FilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (choice)
        ChoiceIndex = choice->currentIndex();
}

} // namespace orvane

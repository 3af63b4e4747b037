#include "replace_dialog.h"

#include "last_search.h"
#include "search_texts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <limits>

namespace orvane {

namespace {

template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

ReplaceDialog::ReplaceDialog(Host &host, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_host(host)
    , m_pattern(named(new QLineEdit(this), "patternBox"))
    , m_replacement(named(new QLineEdit(this), "replacementBox"))
    , m_textCompare(named(new QRadioButton(search_texts::replaceTextOption()), "textCompare"))
    , m_binaryCompare(named(new QRadioButton(search_texts::replaceBinaryOption()), "binaryCompare"))
    , m_regularExpression(
          named(new QCheckBox(search_texts::regularExpressionOption(), this), "regularExpression"))
    , m_selectionOnly(named(new QCheckBox(search_texts::selectionOnlyOption(), this), "selectionOnly"))
    , m_findNext(named(new QPushButton(search_texts::findNextButton(), this), "findNext"))
    , m_replace(named(new QPushButton(search_texts::replaceButton(), this), "replace"))
    , m_replaceAll(named(new QPushButton(search_texts::replaceAllButton(), this), "replaceAll"))
    , m_close(named(new QPushButton(search_texts::closeButton(), this), "close"))
    , m_status(named(new QLabel(this), "status"))
{
    setModal(false);
    setWindowTitle(search_texts::replaceCaption());
    m_pattern->setMaxLength(std::numeric_limits<int>::max());
    m_replacement->setMaxLength(std::numeric_limits<int>::max());

    auto *patternLabel = new QLabel(search_texts::replacePatternLabel(), this);
    patternLabel->setBuddy(m_pattern);
    auto *replacementLabel = new QLabel(search_texts::replacementLabel(), this);
    replacementLabel->setBuddy(m_replacement);

    auto *method = new QGroupBox(search_texts::searchMethodFrame(), this);
    auto *methodLayout = new QVBoxLayout(method);
    methodLayout->addWidget(m_textCompare);
    methodLayout->addWidget(m_binaryCompare);
    m_textCompare->setChecked(true);

    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {m_findNext, m_replace, m_replaceAll, m_close}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    // Enter in either box finds the next match.
    m_findNext->setDefault(true);
    buttons->addStretch();

    auto *grid = new QGridLayout(this);
    grid->addWidget(patternLabel, 0, 0);
    grid->addWidget(m_pattern, 0, 1, 1, 2);
    grid->addWidget(replacementLabel, 1, 0);
    grid->addWidget(m_replacement, 1, 1, 1, 2);
    grid->addWidget(method, 2, 0, 2, 2);
    grid->addWidget(m_regularExpression, 2, 2);
    grid->addWidget(m_selectionOnly, 3, 2);
    grid->addWidget(m_status, 4, 0, 1, 3);
    grid->addLayout(buttons, 0, 3, 5, 1);
    grid->setColumnMinimumWidth(1, 160);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    connect(m_findNext, &QPushButton::clicked, this, &ReplaceDialog::findNextClicked);
    connect(m_replace, &QPushButton::clicked, this, &ReplaceDialog::replaceClicked);
    connect(m_replaceAll, &QPushButton::clicked, this, &ReplaceDialog::replaceAllClicked);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
}

void ReplaceDialog::prepare(const QString &selection)
{
    const bool isPattern = !selection.isEmpty() && selection.size() <= selectionAsPatternBound
        && !selection.contains(u'\r') && !selection.contains(u'\n');
    m_pattern->setText(isPattern ? selection : LastSearch::shared().searchText);
    m_replacement->setText(LastSearch::shared().replacement);
    m_pattern->selectAll();
    m_pattern->setFocus();
    m_status->clear();
}

ReplaceSettings ReplaceDialog::settings() const
{
    ReplaceSettings settings;
    settings.pattern = m_pattern->text();
    settings.replacement = m_replacement->text();
    settings.binaryCompare = m_binaryCompare->isChecked();
    settings.regularExpression = m_regularExpression->isChecked();
    settings.selectionOnly = m_selectionOnly->isChecked();
    return settings;
}

void ReplaceDialog::remember()
{
    LastSearch::shared().searchText = m_pattern->text();
    LastSearch::shared().replacement = m_replacement->text();
}

void ReplaceDialog::findNextClicked()
{
    remember();
    report(findNextMatch(m_host, settings()));
}

void ReplaceDialog::replaceClicked()
{
    remember();
    report(replaceMatch(m_host, settings()));
}

void ReplaceDialog::replaceAllClicked()
{
    remember();
    report(replaceAllMatches(m_host, settings()));
}

void ReplaceDialog::report(const ReplaceOutcome &outcome)
{
    // Inside the dialog, so that nothing needs clicking away: an error, the count of すべて置換, or
    // that nothing (more) was found.
    if (!outcome.error.isEmpty())
        m_status->setText(outcome.error);
    else if (outcome.found)
        m_status->clear();
    else if (outcome.replaced > 0 && outcome.all)
        m_status->setText(search_texts::replacedCount(QLocale(QLocale::Japanese).toString(outcome.replaced)));
    else
        m_status->setText(search_texts::notFound());
}

} // namespace orvane

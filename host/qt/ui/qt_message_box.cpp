#include "qt_message_box.h"

#include "ui_texts.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace orvane {

namespace {

constexpr int buttonMask = 0x7;
constexpr int iconMask = 0x70;
constexpr int questionIcon = 32;

QMessageBox::Icon iconOf(int style)
{
    switch (style & iconMask) {
    case Critical:
        return QMessageBox::Critical;
    case questionIcon:
        return QMessageBox::Question;
    case Exclamation:
        return QMessageBox::Warning;
    case Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QString caption;
    QMessageBox::ButtonRole role;
    MsgBoxAnswer answer;
};

std::vector<ButtonSpec> buttonsOf(int style)
{
    const ButtonSpec ok {ui_texts::ok(), QMessageBox::AcceptRole, MsgBoxAnswer::Ok};
    const ButtonSpec cancel {ui_texts::cancel(), QMessageBox::RejectRole, MsgBoxAnswer::Cancel};
    const ButtonSpec yes {ui_texts::yes(), QMessageBox::YesRole, MsgBoxAnswer::Yes};
    const ButtonSpec no {ui_texts::no(), QMessageBox::NoRole, MsgBoxAnswer::No};
    const ButtonSpec retry {ui_texts::retry(), QMessageBox::AcceptRole, MsgBoxAnswer::Retry};
    switch (style & buttonMask) {
    case 1:
        return {ok, cancel};
    case YesNoCancel:
        return {yes, no, cancel};
    case YesNo:
        return {yes, no};
    case RetryCancel:
        return {retry, cancel};
    default:
        return {ok};
    }
}

// The label shows plain text; a CR before the LF would show as a stray glyph on some styles.
QString displayText(QString prompt)
{
    prompt.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    prompt.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return prompt;
}

} // namespace

MsgBoxAnswer QtMessageBox::msgBox(const QString &prompt, int style, const QString &title)
{
    QMessageBox box(m_parent);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);
    box.setText(displayText(prompt));
    box.setIcon(iconOf(style));

    std::vector<std::pair<QAbstractButton *, MsgBoxAnswer>> answers;
    QAbstractButton *cancelButton = nullptr;
    for (const ButtonSpec &wanted : buttonsOf(style)) {
        QPushButton *button = box.addButton(wanted.caption, wanted.role);
        answers.emplace_back(button, wanted.answer);
        if (wanted.answer == MsgBoxAnswer::Cancel)
            cancelButton = button;
    }
    // The first button is the default one, as on Windows.
    box.setDefaultButton(static_cast<QPushButton *>(answers.front().first));
    if (cancelButton)
        box.setEscapeButton(cancelButton);

    box.exec();

    QAbstractButton *clicked = box.clickedButton();
    for (const auto &[button, answer] : answers) {
        if (button == clicked)
            return answer;
    }
    // Closed without a button (the window closed under it): the safe answer.
    return cancelButton ? MsgBoxAnswer::Cancel : answers.back().second;
}

} // namespace orvane

#include "form2.h"

#include "forward_search.h"
#include "last_search.h"
#include "search_texts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>
#include <limits>

namespace orvane {

namespace {

// Sizes are laid out in twips, 15 to a device-independent pixel.
constexpr int pixels(int twips) { return (twips + 7) / 15; }

QRect twipRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

QPushButton *commandButton(const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    // Neither button reacts to Enter: a search starts only by a click or the access key.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// The caption as drawn: the access key marker removed, "&&" shown as "&".
QString shownCaption(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        shown.append(caption[i]);
    }
    return shown;
}

// The width a control needs to show its whole caption in the given font.
int captionWidth(const QWidget *control, const QFont &font)
{
    const QFontMetrics metrics(font);
    const QStyle *style = control->style();
    if (auto *radio = qobject_cast<const QRadioButton *>(control))
        return metrics.horizontalAdvance(shownCaption(radio->text()))
            + style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, control)
            + style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, control);
    if (auto *check = qobject_cast<const QCheckBox *>(control))
        return metrics.horizontalAdvance(shownCaption(check->text()))
            + style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, control)
            + style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, control);
    if (auto *button = qobject_cast<const QPushButton *>(control))
        return metrics.horizontalAdvance(shownCaption(button->text()))
            + 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, control);
    if (auto *label = qobject_cast<const QLabel *>(control))
        return metrics.horizontalAdvance(shownCaption(label->text()));
    if (auto *frame = qobject_cast<const QGroupBox *>(control))
        return metrics.horizontalAdvance(shownCaption(frame->title()));
    return 0;
}

// The first characters of a long search string, never ending inside a surrogate pair.
QString preview(const QString &text)
{
    qsizetype length = Form2::previewLength;
    if (text[length - 1].isHighSurrogate())
        --length;
    return text.left(length) + search_texts::heldTextEllipsis();
}

} // namespace

Form2::Form2(Host &host, QWidget *owner)
    : QDialog(owner,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
    , m_host(host)
    , Label1(new QLabel(search_texts::searchLabel(), this))
    , Text1(new QLineEdit(this))
    , Frame1(new QGroupBox(search_texts::searchMethodFrame(), this))
    , Option1(new QRadioButton(search_texts::binarySearchOption(), Frame1))
    , Option2(new QRadioButton(search_texts::textSearchOption(), Frame1))
    , Check1(new QCheckBox(search_texts::firstOccurrenceOnly(), this))
    , Command1(commandButton(search_texts::searchButton(), this))
    , Command2(commandButton(search_texts::cancelButton(), this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(search_texts::searchCaption());
    setFixedSize(pixels(5640), pixels(1470));

    Label1->setObjectName(QStringLiteral("Label1"));
    Text1->setObjectName(QStringLiteral("Text1"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2->setObjectName(QStringLiteral("Option2"));
    Check1->setObjectName(QStringLiteral("Check1"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));

    Label1->setGeometry(twipRect(120, 150, 1335, 255));
    Text1->setGeometry(twipRect(1560, 120, 2655, 270));
    Frame1->setGeometry(twipRect(120, 480, 1575, 855));
    Option1->setGeometry(twipRect(120, 240, 1335, 180));
    Option2->setGeometry(twipRect(120, 480, 1335, 180));
    Check1->setGeometry(twipRect(1800, 600, 2415, 255));
    Command1->setGeometry(twipRect(4320, 120, 1215, 255));
    Command2->setGeometry(twipRect(4320, 480, 1215, 255));
    fitFont();

    // The search box takes any length; QLineEdit keeps CR LF in its text and shows them as spaces.
    Text1->setMaxLength(std::numeric_limits<int>::max());
    Option1->setAutoExclusive(true);
    Option2->setAutoExclusive(true);
    Option1->setChecked(true);
    Check1->setChecked(false);

    // The label and the frame take no focus; Tab enters the option group at its selected button.
    setTabOrder(Text1, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Check1);
    setTabOrder(Check1, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    // From the user's first edit on, the box's own text is the search string.
    connect(Text1, &QLineEdit::textEdited, this, &Form2::editPreview);

    Option1->installEventFilter(this);
    Option2->installEventFilter(this);
}

QString Form2::searchText() const { return m_holding ? m_heldText : Text1->text(); }

void Form2::setSearchText(const QString &text)
{
    if (text.size() <= heldTextBound) {
        dropHeldText();
        Text1->setText(text);
        return;
    }
    m_heldText = text;
    m_holding = true;
    Text1->setText(preview(text));
    Text1->setCursorPosition(0);
    Text1->setToolTip(search_texts::heldTextToolTip(QLocale(QLocale::Japanese).toString(text.size())));
}

// The first edit of a preview works on the preview's own characters: its ellipsis, where the
// edit left it, goes, so that it never becomes part of the search string.
void Form2::editPreview(const QString &edited)
{
    if (!m_holding)
        return;
    const QString shown = preview(m_heldText);
    const qsizetype ellipsis = shown.size() - 1;
    qsizetype prefix = 0;
    const qsizetype shorter = std::min(shown.size(), edited.size());
    while (prefix < shorter && shown[prefix] == edited[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix
           && shown[shown.size() - 1 - suffix] == edited[edited.size() - 1 - suffix])
        ++suffix;
    qsizetype at = -1;
    if (ellipsis < prefix)
        at = ellipsis;
    else if (ellipsis >= shown.size() - suffix)
        at = ellipsis + edited.size() - shown.size();
    dropHeldText();
    if (at < 0)
        return;
    const int cursor = Text1->cursorPosition();
    Text1->setText(QString(edited).remove(at, 1));
    Text1->setCursorPosition(cursor > at ? cursor - 1 : cursor);
}

void Form2::dropHeldText()
{
    if (!m_holding)
        return;
    m_holding = false;
    m_heldText = QString();
    Text1->setToolTip(QString());
}

void Form2::Command1_Click()
{
    SearchSettings settings;
    settings.searchText = searchText();
    settings.fromTop = Check1->isChecked();
    settings.binaryCompare = Option1->isChecked();
    LastSearch::shared().searchText = settings.searchText;
    SearchPos = forwardSearch(m_host, settings);
}

void Form2::Command2_Click() { close(); }

void Form2::keyPressEvent(QKeyEvent *event)
{
    // Esc leaves the dialog open and Enter starts nothing: only Cancel and the close box unload it.
    if (event->matches(QKeySequence::Cancel) || event->key() == Qt::Key_Return
        || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Form2::showEvent(QShowEvent *event)
{
    // Placed once per load, when the window exists and its frame is known, so the frame is centred.
    if (!m_placed) {
        m_placed = true;
        centreOnScreen();
    }
    QDialog::showEvent(event);
}

bool Form2::eventFilter(QObject *watched, QEvent *event)
{
    // Tab enters the option group at its selected button, as in any dialog of the system.
    if (event->type() == QEvent::FocusIn && (watched == Option1 || watched == Option2)) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        auto *entered = static_cast<QRadioButton *>(watched);
        QRadioButton *selected = Option1->isChecked() ? Option1 : Option2;
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && !entered->isChecked()
            && selected->isChecked()) {
            selected->setFocus(reason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form2::fitFont()
{
    // The fixed geometry was laid out for a 9-point UI font; at a larger default size the captions
    // would be cut off. Take 9 points, or the largest size below it at which every caption fits.
    const QList<QWidget *> captioned {Label1, Frame1, Option1, Option2, Check1, Command1, Command2};
    QFont fitted = font();
    for (qreal points = 9.0; points >= 6.0; points -= 0.5) {
        fitted.setPointSizeF(points);
        const bool fits = std::all_of(captioned.begin(), captioned.end(), [&](const QWidget *control) {
            return captionWidth(control, fitted) <= control->width();
        });
        if (fits)
            break;
    }
    setFont(fitted);
}

void Form2::centreOnScreen()
{
    const QScreen *screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

} // namespace orvane

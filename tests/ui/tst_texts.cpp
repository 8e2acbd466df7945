// Every text of the fixed-size windows is shown whole, with the desktop's font and a wider
// one. CTest runs it again at 120 dots per inch and with DejaVu alone (no Arial metrics).
#include "game/setup.h"
#include "shell/frmabout.h"
#include "shell/frmoptions.h"
#include "ui/frmmain.h"
#include "windowseams.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>

using namespace tfp;

// The controls whose text needs more room than they have, by the style's own measure.
static QStringList cutTexts(const QWidget& window)
{
    QStringList cut;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(control);
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        const QString text = label ? label->text() : button ? button->text() : QString();
        QRect room = control->contentsRect();
        int flags = Qt::TextShowMnemonic | (label ? int(label->alignment()) : Qt::AlignCenter);
        if (label && label->wordWrap())
            flags |= Qt::TextWordWrap;
        if (qobject_cast<const QPushButton*>(control)) {
            const int margin = control->style()->pixelMetric(QStyle::PM_ButtonMargin);
            room.adjust(margin, 0, -margin, 0);
        } else if (button) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            const bool check = qobject_cast<const QCheckBox*>(control);
            room = control->style()->subElementRect(check ? QStyle::SE_CheckBoxContents
                                                          : QStyle::SE_RadioButtonContents,
                                                    &option, control);
        }
        if (!text.isEmpty() && !qobject_cast<const QToolButton*>(control) &&
            !room.contains(control->fontMetrics().boundingRect(room, flags, text)))
            cut << control->objectName() + QStringLiteral(" \"") + text + u'"';
    }
    return cut;
}

// A new game's confirmation as shown: in how many columns its values start, on how many lines
// its first line lies, and whether it has a scroll bar.
static QString confirmationLayout(ui::frmConfirmSave& dialog)
{
    dialog.setText(confirmationText({"Ridge", "Anna", "Ben", "20", "3", GameType::QuickBattle}));
    dialog.show();
    const auto* text = dialog.findChild<QTextEdit*>();
    QSet<qreal> columns;
    for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
        if (const int tab = block.text().indexOf(u'\t'); tab >= 0)
            columns << block.layout()->lineAt(0).cursorToX(tab + 1);
    }
    return QStringLiteral("confirmation in %1 columns, first line on %2, scroll bar %3")
        .arg(columns.size())
        .arg(text->document()->firstBlock().layout()->lineCount())
        .arg(text->verticalScrollBar()->isVisible());
}

class tst_Texts : public QObject
{
    Q_OBJECT

private slots:
    void everyTextWhole()
    {
        const test::WindowSeams seams;
        QStringList cut;
        const QFont fonts[] = {QApplication::font(), QFont(QStringLiteral("DejaVu Sans"), 11)};
        for (const QFont& font : fonts) {
            QApplication::setFont(font);
            ui::frmMain main;
            main.load();
            ui::frmPassword password;
            ui::frmConfirmSave confirm;
            shell::frmOptions options(nullptr);
            shell::frmAbout about;
            for (const QWidget* window : std::initializer_list<const QWidget*>{
                     &main, &password, &confirm, &options, &about})
                cut << cutTexts(*window);
            if (const QString shown = confirmationLayout(confirm);
                shown != "confirmation in 1 columns, first line on 1, scroll bar 0")
                cut << shown;
            QSet<qreal> sizes; // the password dialog's: one, and in the desktop's font its size
            for (const QWidget* control : password.findChildren<QWidget*>())
                sizes << QFontInfo(control->font()).pointSizeF();
            if (sizes.size() != 1 ||
                (&font == fonts && !sizes.contains(QFontInfo(font).pointSizeF())))
                cut << QStringLiteral("frmPassword in %1 sizes").arg(sizes.size());
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(tst_Texts)
#include "tst_texts.moc"

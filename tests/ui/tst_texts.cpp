// Every text of the fixed-size windows is shown whole, with the desktop's font and a wider
// one. CTest runs it again at 120 dots per inch and with DejaVu alone (no Arial metrics).
#include "shell/frmabout.h"
#include "shell/frmoptions.h"
#include "ui/frmmain.h"
#include "windowseams.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>

using namespace tfp;

// The controls whose text needs more room than they have, by the style's own measure.
static QStringList cutTexts(const QWidget& window)
{
    QStringList cut;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        QString text;
        QRect room = control->contentsRect();
        int flags = Qt::TextShowMnemonic;
        const auto* button = qobject_cast<const QAbstractButton*>(control);
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            text = label->text();
            flags |= int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        } else if (qobject_cast<const QPushButton*>(control)) {
            text = button->text();
            const int margin = control->style()->pixelMetric(QStyle::PM_ButtonMargin);
            room.adjust(margin, 0, -margin, 0);
            flags |= Qt::AlignCenter;
        } else if (button && !qobject_cast<const QToolButton*>(control)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text = button->text();
            room = control->style()->subElementRect(qobject_cast<const QCheckBox*>(control)
                                                        ? QStyle::SE_CheckBoxContents
                                                        : QStyle::SE_RadioButtonContents,
                                                    &option, control);
        }
        if (!text.isEmpty() &&
            !room.contains(control->fontMetrics().boundingRect(room, flags, text)))
            cut << control->objectName() + QStringLiteral(" \"") + text + u'"';
    }
    return cut;
}

class tst_Texts : public QObject
{
    Q_OBJECT

private slots:
    void everyTextWhole_data()
    {
        QTest::addColumn<int>("window"); // main window, password, confirm save, options, About
        QTest::addColumn<bool>("wide");  // the desktop's font as wide as GNOME's at 11 points
        for (int w = 0; w < 10; ++w)
            QTest::addRow("window %d%s", w / 2, w % 2 ? ", wide font" : "") << w / 2 << bool(w % 2);
    }
    void everyTextWhole()
    {
        QFETCH(int, window);
        QFETCH(bool, wide);
        const test::WindowSeams seams;
        const QFont desktop = QApplication::font();
        if (wide)
            QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
        ui::frmMain main;
        main.load();
        ui::frmPassword password;
        password.setUserName(QStringLiteral("Ben"));
        ui::frmConfirmSave confirm;
        shell::frmOptions options(nullptr);
        shell::frmAbout about;
        const QWidget* windows[] = {&main, &password, &confirm, &options, &about};
        const QStringList cut = cutTexts(*windows[window]);
        QApplication::setFont(desktop);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(tst_Texts)
#include "tst_texts.moc"

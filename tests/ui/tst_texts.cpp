// Every text of the fixed-size windows is shown whole, whatever font the system gives
// them: Arial or its metric twin, the desktop's font and a wider one. CTest runs it again
// at 120 dots per inch and on a system whose only fonts are DejaVu, without Arial's metrics.
#include "shell/frmabout.h"
#include "shell/frmoptions.h"
#include "ui/frmmain.h"
#include "uitestsupport.h"

#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

using namespace tfp;

namespace {

// The controls whose text does not fit its room, by the style's own measure of the room.
QStringList cutTexts(const QWidget& window)
{
    QStringList cut;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        QString text;
        QRect room = control->contentsRect();
        int flags = Qt::TextShowMnemonic;
        if (const auto* label = qobject_cast<const QLabel*>(control)) {
            text = label->text();
            flags |= int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
        } else if (qobject_cast<const QCheckBox*>(control) ||
                   qobject_cast<const QRadioButton*>(control)) {
            const auto* button = static_cast<const QAbstractButton*>(control);
            text = button->text();
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = text;
            room = control->style()->subElementRect(qobject_cast<const QCheckBox*>(control)
                                                        ? QStyle::SE_CheckBoxContents
                                                        : QStyle::SE_RadioButtonContents,
                                                    &option, control);
        } else if (const auto* button = qobject_cast<const QPushButton*>(control)) {
            text = button->text();
            const int margin = control->style()->pixelMetric(QStyle::PM_ButtonMargin);
            room.adjust(margin, 0, -margin, 0);
            flags |= Qt::AlignCenter;
        }
        if (text.isEmpty())
            continue;
        if (!room.contains(control->fontMetrics().boundingRect(room, flags, text)))
            cut << control->objectName() + QStringLiteral(" \"") + text + u'"';
    }
    return cut;
}

} // namespace

class tst_Texts : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<test::WindowSeams> seams;
    QFont desktopFont;

    std::unique_ptr<QWidget> makeWindow(const QString& name)
    {
        if (name == QLatin1String("frmMain")) {
            auto window = std::make_unique<ui::frmMain>();
            window->load();
            return window;
        }
        if (name == QLatin1String("frmPassword")) {
            auto dialog = std::make_unique<ui::frmPassword>();
            dialog->setUserName(QStringLiteral("Ben"));
            return dialog;
        }
        if (name == QLatin1String("frmConfirmSave"))
            return std::make_unique<ui::frmConfirmSave>();
        if (name == QLatin1String("frmOptions"))
            return std::make_unique<shell::frmOptions>(nullptr);
        return std::make_unique<shell::frmAbout>();
    }

private slots:
    void initTestCase()
    {
        desktopFont = QApplication::font();
        qInfo("Arial is drawn as %s, the desktop's font is %s",
              qPrintable(QFontInfo(QFont(QStringLiteral("Arial"))).family()),
              qPrintable(QFontInfo(desktopFont).family()));
    }
    void init() { seams = std::make_unique<test::WindowSeams>(); }
    void cleanup()
    {
        QApplication::setFont(desktopFont);
        seams.reset();
    }

    void everyTextWhole_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<qreal>("desktopPoints"); // 0: the desktop's own font
        for (const char* window :
             {"frmMain", "frmPassword", "frmConfirmSave", "frmOptions", "frmAbout"}) {
            QTest::addRow("%s, desktop font", window) << QString::fromLatin1(window) << 0.0;
            QTest::addRow("%s, wide desktop font", window) << QString::fromLatin1(window) << 11.0;
        }
    }
    void everyTextWhole()
    {
        QFETCH(QString, window);
        QFETCH(qreal, desktopPoints);
        if (desktopPoints > 0) {
            // As wide as the widest desktop fonts: GNOME's and Ubuntu's at 11 points.
            QFont wide(QStringLiteral("DejaVu Sans"));
            wide.setPointSizeF(desktopPoints);
            QApplication::setFont(wide);
        }
        const std::unique_ptr<QWidget> shown = makeWindow(window);
        const QStringList cut = cutTexts(*shown);
        QVERIFY2(cut.isEmpty(),
                 qPrintable(QStringLiteral("cut: ") + cut.join(QStringLiteral(", "))));
    }
};

QTEST_MAIN(tst_Texts)
#include "tst_texts.moc"

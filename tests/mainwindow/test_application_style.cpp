#include "mainwindow/ApplicationStyle.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QStyleFactory>
#include <QTest>

#include <memory>

using vellumor::ApplicationStyle;

namespace {

// A group box as the style draws it; with `belowTitle`, only the part under
// its title's line, where the frame is.
QImage paintedGroupBox(QStyle *style, const QString &title, bool belowTitle = false)
{
    QGroupBox box(title);
    box.setStyle(style);
    box.resize(112, 120);
    QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(box.palette().color(QPalette::Window));
    box.render(&image, {}, {}, QWidget::DrawChildren);
    if (!belowTitle)
        return image;
    const int titleLine = QFontMetrics(box.font()).height();
    return image.copy(0, titleLine, image.width(), image.height() - titleLine);
}

// The largest difference in any colour channel between two images of one size.
int largestDifference(const QImage &left, const QImage &right)
{
    int largest = 0;
    for (int y = 0; y < left.height(); ++y) {
        for (int x = 0; x < left.width(); ++x) {
            const QRgb a = left.pixel(x, y);
            const QRgb b = right.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(a) - qRed(b)),
                                std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
        }
    }
    return largest;
}

int threadsOfThisProcess()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

QImage pixels(const QIcon &icon)
{
    return icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestApplicationStyle : public QObject
{
    Q_OBJECT

private slots:
    // Qt spreads translucent fills of more than about a hundred lines over
    // worker threads; a frame should not start any. First, before any other
    // painting has started them.
    void aTallFrameIsDrawnOnThisThread()
    {
        const int before = threadsOfThisProcess();
        ApplicationStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
        QGroupBox box(QStringLiteral("Town"));
        box.setStyle(&ours);
        box.resize(112, 345);
        QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
        box.render(&image);
        QCOMPARE(threadsOfThisProcess(), before);
    }

    // The frame is drawn without Fusion's picture, in the same place and as
    // near to its colours as a person can tell.
    void groupBoxFramesLookAsUnderFusion_data()
    {
        QTest::addColumn<QString>("title");
        QTest::newRow("titled") << QStringLiteral("Terrain 1");
        QTest::newRow("untitled") << QString();
    }
    void groupBoxFramesLookAsUnderFusion()
    {
        QFETCH(QString, title);
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        const std::unique_ptr<QStyle> ours(new ApplicationStyle(QStyleFactory::create(QStringLiteral("fusion"))));
        const QImage expected = paintedGroupBox(fusion.get(), title, true);
        // There is a frame to match: its left edge is darker than the ground.
        const int middle = expected.height() / 2;
        QVERIFY(qGray(expected.pixel(1, middle)) < qGray(expected.pixel(0, middle)));
        QVERIFY(largestDifference(expected, paintedGroupBox(ours.get(), title, true)) <= 3);
    }

    void otherStylesDrawTheirOwnGroupBoxes()
    {
        const std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("windows")));
        const std::unique_ptr<QStyle> ours(new ApplicationStyle(QStyleFactory::create(QStringLiteral("windows"))));
        QCOMPARE(paintedGroupBox(ours.get(), QStringLiteral("Town")),
                 paintedGroupBox(windows.get(), QStringLiteral("Town")));
    }

    // Asked for while widgets are built, read when drawn: the same pictures.
    void titleBarAndOverflowPicturesAreTheStylesOwn()
    {
        const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("fusion")));
        ApplicationStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
        for (const QStyle::StandardPixmap picture :
             {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
              QStyle::SP_TitleBarCloseButton, QStyle::SP_TitleBarNormalButton,
              QStyle::SP_TitleBarMinButton, QStyle::SP_MessageBoxQuestion}) {
            const QIcon icon = ours.standardIcon(picture);
            QVERIFY(!icon.isNull());
            QCOMPARE(pixels(icon), pixels(fusion->standardIcon(picture)));
            QCOMPARE(icon.availableSizes(), fusion->standardIcon(picture).availableSizes());
        }
    }

    // Until the program sets its icon the menu button shows nothing; after, it
    // shows that icon rather than the toolkit's logo.
    void aSubWindowMenuShowsTheProgramIcon()
    {
        ApplicationStyle ours(QStyleFactory::create(QStringLiteral("fusion")));
        const QIcon menu = ours.standardIcon(QStyle::SP_TitleBarMenuButton);
        QVERIFY(!menu.isNull());
        QVERIFY(menu.pixmap(16).isNull());

        QPixmap red(16, 16);
        red.fill(Qt::red);
        QApplication::setWindowIcon(QIcon(red));
        QCOMPARE(pixels(menu), red.toImage().convertToFormat(QImage::Format_ARGB32));
        QApplication::setWindowIcon(QIcon());
    }
};

QTEST_MAIN(TestApplicationStyle)
#include "test_application_style.moc"

#include "mainwindow/frmAbout.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace vellumor;

class TestAbout : public QObject
{
    Q_OBJECT
private slots:
    void showsItsTextsAsStored()
    {
        frmAbout about;
        QCOMPARE(about.windowTitle(), QStringLiteral("About Vellumor v1.1"));
        QCOMPARE(about.size(), QSize(382, 237));
        const auto text = [&](const char *name) {
            return about.findChild<QLabel *>(QLatin1String(name))->text();
        };
        QCOMPARE(text("lblTitle"), QStringLiteral("Vellumor"));
        QCOMPARE(text("lblVersion"), QStringLiteral("Version 1.1 Demo"));
        QVERIFY(text("lblDescription").contains(QStringLiteral("creations  of maps")));
        QVERIFY(text("lblDescription").contains(QStringLiteral("Dungeons & Dragons")));
        QVERIFY(text("lblAuthorCredit").startsWith(QStringLiteral("Programmed by: ")));
        QVERIFY(!about.findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().isNull());
        QVERIFY(!about.findChild<QLabel *>(QStringLiteral("imgCompanyLogo"))->pixmap().isNull());
    }

    // Wrapped texts must show whole, whatever font the desktop gives the box.
    void wrappedTextsFitTheirLabels()
    {
        frmAbout about;
        for (const char *name : {"lblDescription", "lblCompanyCredit"}) {
            auto *label = about.findChild<QLabel *>(QLatin1String(name));
            const QRect needed = label->fontMetrics().boundingRect(
                QRect(QPoint(0, 0), label->size()), Qt::TextWordWrap, label->text());
            QVERIFY2(needed.height() <= label->height(), name);
        }
    }

    void enterAndEscapeClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void enterAndEscapeClose()
    {
        QFETCH(int, key);
        frmAbout about;
        about.show();
        auto *ok = about.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QVERIFY(ok->isDefault());
        QCOMPARE(about.focusWidget(), ok);
        QTest::keyClick(ok, Qt::Key(key));
        QVERIFY(!about.isVisible());
    }
};

QTEST_MAIN(TestAbout)
#include "test_about.moc"

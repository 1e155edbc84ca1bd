#include "pictures/BmpImage.h"

#include <QTest>
#include <QtEndian>

using namespace vellumor;

namespace {

QImage pattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 16, y * 16, (x * 7 + y * 3) % 256));
    }
    return image;
}

quint32 u32(const QByteArray &bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

void put32(QByteArray &bytes, int offset, quint32 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

void put16(QByteArray &bytes, int offset, quint16 value)
{
    qToLittleEndian(value, bytes.data() + offset);
}

} // namespace

class TestBmp : public QObject
{
    Q_OBJECT
private slots:
    void writesTheSymbolLayout()
    {
        const QByteArray bytes = bmp::encode(pattern(15, 15));
        QCOMPARE(bytes.size(), 1798);
        QCOMPARE(bytes.left(2), QByteArray("BM"));
        QCOMPARE(u32(bytes, 2), 1798u);
        QCOMPARE(u32(bytes, 6), 0u);
        QCOMPARE(u32(bytes, 10), 1078u);
        QCOMPARE(u32(bytes, 14), 40u);
        QCOMPARE(u32(bytes, 18), 15u);
        QCOMPARE(u32(bytes, 22), 15u);
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 26), quint16(1));
        QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));
        QCOMPARE(u32(bytes, 30), 0u); // no compression
        QCOMPARE(u32(bytes, 34), 0u); // image size left 0
        QCOMPARE(u32(bytes, 38), 14173u);
        QCOMPARE(u32(bytes, 42), 14173u);
        QCOMPARE(u32(bytes, 46), 0u);
        QCOMPARE(u32(bytes, 50), 256u);
        // rows bottom-up, blue-green-red, padded with zeros to 48 bytes
        const int firstStoredRow = 1078;
        const QImage source = pattern(15, 15);
        QCOMPARE(uchar(bytes[firstStoredRow]), uchar(qBlue(source.pixel(0, 14))));
        QCOMPARE(uchar(bytes[firstStoredRow + 2]), uchar(qRed(source.pixel(0, 14))));
        for (int row = 0; row < 15; ++row) {
            for (int pad = 45; pad < 48; ++pad)
                QCOMPARE(bytes[firstStoredRow + row * 48 + pad], '\0');
        }
    }

    void roundTripsAnyWidth_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        for (int width : {1, 2, 3, 4, 5, 15, 16})
            QTest::addRow("%d wide", width) << width << 3;
    }
    void roundTripsAnyWidth()
    {
        QFETCH(int, width);
        QFETCH(int, height);
        const QImage source = pattern(width, height);
        const auto decoded = bmp::decode(bmp::encode(source));
        QVERIFY(decoded);
        QCOMPARE(decoded->format(), QImage::Format_RGB888);
        QCOMPARE(*decoded, source);
    }

    void takesPixelsFromTheOffsetInTheHeader()
    {
        // a writer may leave a gap after the colour table; the offset says where rows begin
        QByteArray bytes = bmp::encode(pattern(15, 15));
        bytes.insert(1078, QByteArray(64, '\x7f'));
        put32(bytes, 10, 1078 + 64);
        put32(bytes, 2, quint32(bytes.size()));
        QCOMPARE(*bmp::decode(bytes), pattern(15, 15));
    }

    void readsTopDownRows()
    {
        QByteArray bytes = bmp::encode(pattern(4, 3));
        put32(bytes, 22, quint32(-3));
        const QImage flipped = pattern(4, 3).mirrored(false, true);
        QCOMPARE(*bmp::decode(bytes), flipped);
    }

    void refusesMalformedInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = bmp::encode(pattern(15, 15));
        const auto with32 = [&](int offset, quint32 value) {
            QByteArray bytes = good;
            put32(bytes, offset, value);
            return bytes;
        };
        const auto with16 = [&](int offset, quint16 value) {
            QByteArray bytes = good;
            put16(bytes, offset, value);
            return bytes;
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << good.left(14);
        QTest::newRow("one pixel row short") << good.left(good.size() - 48);
        QTest::newRow("one byte short") << good.left(good.size() - 1);
        QTest::newRow("not BM") << QByteArray("XY").append(good.mid(2));
        QTest::newRow("8 bits a pixel") << with16(28, 8);
        QTest::newRow("32 bits a pixel") << with16(28, 32);
        QTest::newRow("two planes") << with16(26, 2);
        QTest::newRow("run-length encoded") << with32(30, 1);
        QTest::newRow("zero width") << with32(18, 0);
        QTest::newRow("negative width") << with32(18, quint32(-15));
        QTest::newRow("zero height") << with32(22, 0);
        QTest::newRow("huge width") << with32(18, 0x7fffffff);
        QTest::newRow("huge top-down height") << with32(22, 0x80000000);
        QTest::newRow("old small header") << with32(14, 12);
        QTest::newRow("header longer than the file") << with32(14, 0xfffffff0);
        QTest::newRow("pixels past the end") << with32(10, 1079);
        QTest::newRow("pixels far past the end") << with32(10, 0xffffffff);
        QTest::newRow("pixels inside the header") << with32(10, 20);
    }
    void refusesMalformedInput()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!bmp::decode(bytes));
    }

    void refusesEveryTruncation()
    {
        const QByteArray good = bmp::encode(pattern(15, 15));
        for (qsizetype length = 0; length < good.size(); ++length)
            QVERIFY2(!bmp::decode(good.left(length)), qPrintable(QString::number(length)));
    }

    void writesNothingForANullImage() { QVERIFY(bmp::encode(QImage()).isEmpty()); }
};

QTEST_GUILESS_MAIN(TestBmp)
#include "test_bmp.moc"

#include "document/MapCodec.h"

#include <QTest>

using namespace vellumor;

namespace {

QByteArray lines(int count, QByteArrayView line, QByteArrayView end = "\r\n")
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += line.toByteArray() + end.toByteArray();
    return bytes;
}

MapCodes filled(SymbolCode code)
{
    MapCodes codes;
    codes.fill(code);
    return codes;
}

} // namespace

class TestMapCodec : public QObject
{
    Q_OBJECT
private slots:
    void encodesExactBytes()
    {
        QCOMPARE(mapfile::encode(filled(0)), lines(875, "0"));
        QCOMPARE(mapfile::encode(filled(0)).size(), 2625);
        QCOMPARE(mapfile::encode(filled(64)).size(), 3500);

        MapCodes codes = filled(0);
        codes[0] = 17;
        const QByteArray bytes = mapfile::encode(codes);
        QCOMPARE(bytes.size(), 2626);
        QVERIFY(bytes.startsWith("17\r\n0\r\n"));
        QVERIFY(bytes.endsWith("0\r\n"));

        codes[874] = -32768;
        QVERIFY(mapfile::encode(codes).endsWith("\r\n-32768\r\n"));
    }

    void decodesWhatItEncodes()
    {
        MapCodes codes;
        for (int i = 0; i < kCellCount; ++i)
            codes[i] = SymbolCode(i % 65);
        const auto decoded = mapfile::decode(mapfile::encode(codes));
        QVERIFY(std::holds_alternative<MapCodes>(decoded));
        QVERIFY(std::get<MapCodes>(decoded) == codes);
    }

    void acceptsLenientLayouts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<SymbolCode>("expected");
        QTest::newRow("LF alone") << lines(875, "7", "\n") << SymbolCode(7);
        QTest::newRow("blanks and tabs") << lines(875, " \t7 \t") << SymbolCode(7);
        QTest::newRow("no last line end") << lines(875, "7").chopped(2) << SymbolCode(7);
        QTest::newRow("no last CR LF, LF file")
            << lines(875, "7", "\n").chopped(1) << SymbolCode(7);
        QTest::newRow("lines after the 875th are not read")
            << lines(875, "7") + QByteArray("garbage\r\n\x01\x02") << SymbolCode(7);
        QTest::newRow("minus zero") << lines(875, "-0") << SymbolCode(0);
        QTest::newRow("leading zeros") << lines(875, "007") << SymbolCode(7);
    }
    void acceptsLenientLayouts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(SymbolCode, expected);
        const auto decoded = mapfile::decode(bytes);
        if (const auto *error = std::get_if<mapfile::DecodeError>(&decoded))
            QFAIL(qPrintable(error->describe()));
        QVERIFY(std::get<MapCodes>(decoded) == filled(expected));
    }

    void refusesWithLineAndFinding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("mentions");
        const QByteArray valid10 = lines(10, "1");
        QTest::newRow("empty file") << QByteArray() << 1 << QStringLiteral("empty");
        QTest::newRow("874 lines") << lines(874, "0") << 875 << QStringLiteral("after 874 lines");
        QTest::newRow("empty line")
            << valid10 + "\r\n" + lines(900, "1") << 11 << QStringLiteral("empty");
        QTest::newRow("blank line")
            << valid10 + "  \r\n" + lines(900, "1") << 11 << QStringLiteral("empty");
        QTest::newRow("letter") << valid10 + "a\r\n"
                                << 11 << QStringLiteral("\"a\" is not a whole number");
        QTest::newRow("plus sign") << valid10 + "+5\r\n" << 11 << QStringLiteral("\"+5\"");
        QTest::newRow("exponent") << valid10 + "1e3\r\n" << 11 << QStringLiteral("\"1e3\"");
        QTest::newRow("hexadecimal") << valid10 + "0x10\r\n" << 11 << QStringLiteral("\"0x10\"");
        QTest::newRow("lone minus") << valid10 + "-\r\n"
                                    << 11 << QStringLiteral("not a whole number");
        QTest::newRow("two numbers") << valid10 + "1 2\r\n" << 11 << QStringLiteral("\"1 2\"");
        QTest::newRow("comma list") << valid10 + "1,2\r\n" << 11 << QStringLiteral("\"1,2\"");
        QTest::newRow("NUL byte") << valid10 + QByteArray("4\0", 2) + "\r\n"
                                  << 11 << QStringLiteral("\"4\\x00\"");
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF") + lines(875, "0") << 1
                                         << QStringLiteral("\\xef\\xbb\\xbf0");
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE"
                                              "0\0\r\0\n\0",
            8) << 1 << QStringLiteral("\\xff\\xfe");
        QTest::newRow("CR alone") << lines(875, "0", "\r") << 1 << QStringLiteral("CR alone");
        QTest::newRow("above 16 bits") << valid10 + "32768\r\n"
                                       << 11 << QStringLiteral("outside -32768 to 32767");
        QTest::newRow("below 16 bits") << valid10 + "-32769\r\n" << 11 << QStringLiteral("outside");
        QTest::newRow("huge") << valid10 + "99999999999999999999\r\n"
                              << 11 << QStringLiteral("outside");
        QTest::newRow("code 65") << valid10 + "65\r\n"
                                 << 11 << QStringLiteral("65 is not a symbol code (0 to 64)");
        QTest::newRow("code -1") << valid10 + "-1\r\n"
                                 << 11 << QStringLiteral("-1 is not a symbol code");
        QTest::newRow("16-bit, no symbol")
            << lines(874, "0") + "-32768" << 875 << QStringLiteral("-32768 is not a symbol");
        QTest::newRow("long line") << valid10 + QByteArray(100, '1') + "\r\n"
                                   << 11 << QStringLiteral("too long");
        QTest::newRow("endless line")
            << QByteArray(1 << 20, '7') << 1 << QStringLiteral("too long");
    }
    void refusesWithLineAndFinding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, line);
        QFETCH(QString, mentions);
        const auto decoded = mapfile::decode(bytes);
        QVERIFY(std::holds_alternative<mapfile::DecodeError>(decoded));
        const auto &error = std::get<mapfile::DecodeError>(decoded);
        QCOMPARE(error.line, line);
        QVERIFY2(error.problem.contains(mentions), qPrintable(error.problem));
        QVERIFY(error.describe().startsWith(QStringLiteral("Line %1: ").arg(line)));
        QVERIFY(error.describe().size() < 120);
    }

    void decoderStopsReadingEarly()
    {
        mapfile::Decoder complete;
        QCOMPARE(complete.feed(lines(875, "3")), mapfile::Decoder::State::Complete);
        QCOMPARE(complete.feed("more"), mapfile::Decoder::State::Complete);

        mapfile::Decoder tooLong;
        QCOMPARE(tooLong.feed(QByteArray(mapfile::kMaxLineLength + 1, '1')),
            mapfile::Decoder::State::Failed);
        QCOMPARE(tooLong.error().line, 1);
    }

    void decoderTakesAnyChunking()
    {
        MapCodes codes;
        for (int i = 0; i < kCellCount; ++i)
            codes[i] = SymbolCode((i * 7) % 65);
        const QByteArray bytes = mapfile::encode(codes);
        for (int chunk : {1, 2, 3, 5, 4096}) {
            mapfile::Decoder decoder;
            for (qsizetype at = 0; at < bytes.size(); at += chunk)
                decoder.feed(QByteArrayView(bytes).sliced(
                    at, std::min<qsizetype>(chunk, bytes.size() - at)));
            QCOMPARE(decoder.finish(), mapfile::Decoder::State::Complete);
            QVERIFY(decoder.codes() == codes);
        }
    }
};

QTEST_GUILESS_MAIN(TestMapCodec)
#include "test_mapcodec.moc"

// The toolkit-free core: code page, hex form, both converters, the code table and the key filter.

#include "ascii_to_hex.h"
#include "code_page.h"
#include "hex_form.h"
#include "hex_to_ascii.h"
#include "key_filter.h"

#include <QtTest>

using namespace quorvale;

namespace {
std::u16string u16(const QString &s)
{
    return s.toStdU16String();
}
QString q(std::u16string_view s)
{
    return QString::fromStdU16String(std::u16string(s));
}
} // namespace

class TestConversion : public QObject
{
    Q_OBJECT

private slots:
    void asciiToHex_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hex");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("one character keeps its blank") << "A"
                                                       << " 41";
        QTest::newRow("two") << "AB"
                             << "41 42";
        QTest::newRow("three") << "ABC"
                               << "41 42 43";
        QTest::newRow("line break is CR LF") << "A\nB"
                                             << "41 D A 42";
        QTest::newRow("paragraph separator is CR LF")
            << QString::fromUtf16(u"A\u2029B") << "41 D A 42";
        QTest::newRow("line separator is CR LF") << QString::fromUtf16(u"A\u2028B") << "41 D A 42";
        QTest::newRow("tab") << "\t"
                             << " 9";
        QTest::newRow("NUL") << QString(QChar(0)) << " 0";
        QTest::newRow("blank") << " "
                               << " 20";
        QTest::newRow("7F 80 FF") << QString::fromUtf16(u"\u007F\u20AC\u00FF") << "7F 80 FF";
        QTest::newRow("NBSP") << QString::fromUtf16(u"\u00A0") << " A0";
        QTest::newRow("outside the page") << QString::fromUtf16(u"\u03B1") << " 3F";
        QTest::newRow("emoji is one character") << QString::fromUtf16(u"\U0001F600A") << "3F 41";
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << " 3F";
        QTest::newRow("C1 control outside the page") << QString(QChar(0x80)) << " 3F";
        QTest::newRow("undefined byte kept") << QString(QChar(0x81)) << " 81";
    }
    void asciiToHex()
    {
        QFETCH(QString, text);
        QFETCH(QString, hex);
        QCOMPARE(q(quorvale::asciiToHex(u16(text))), hex);
    }

    void codePageRoundTripsAllBytes()
    {
        for (int byte = 0; byte < 256; ++byte) {
            const char16_t c = codepage::toChar(static_cast<std::uint8_t>(byte));
            QCOMPARE(int(codepage::fromCodePoint(c)), byte);
            QCOMPARE(q(hexForm(static_cast<unsigned>(byte))), QString::number(byte, 16).toUpper());
        }
        QCOMPARE(int(codepage::toChar(0x80)), 0x20AC);
        QCOMPARE(int(codepage::toChar(0x9F)), 0x0178);
    }

    void lengthAndFittingPrefix_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("fitting");
        QTest::newRow("plain") << "abcd" << 4 << 2 << 2;
        QTest::newRow("line break counts two") << "a\nb" << 4 << 2 << 1;
        QTest::newRow("line break fits") << "a\nb" << 4 << 3 << 2;
        QTest::newRow("surrogate pair never split")
            << QString::fromUtf16(u"a\U0001F600b") << 3 << 2 << 3;
        QTest::newRow("no room") << QString::fromUtf16(u"\U0001F600") << 1 << 0 << 0;
    }
    void lengthAndFittingPrefix()
    {
        QFETCH(QString, text);
        QFETCH(int, length);
        QFETCH(int, room);
        QFETCH(int, fitting);
        QCOMPARE(int(codepage::length(u16(text))), length);
        QCOMPARE(int(codepage::encode(u16(text)).size()), length);
        QCOMPARE(int(codepage::fittingPrefix(u16(text), static_cast<std::size_t>(room))), fitting);
    }

    void placeInArrayKeepsExactBounds()
    {
        InputArray array;
        PlaceInArray(array, "");
        QCOMPARE(array.size(), std::size_t(0)); // untouched, not even created
        PlaceInArray(array, "ABCDE");
        QCOMPARE(array.size(), std::size_t(6));
        PlaceInArray(array, "xy");
        QCOMPARE(array.size(), std::size_t(3));
        QCOMPARE(q(array[1]), QStringLiteral("x"));
        QCOMPARE(q(array[2]), QStringLiteral("y"));
        PlaceInArray(array, "");
        QCOMPARE(array.size(), std::size_t(3));

        PlaceInArray2(array, "41 42");
        QCOMPARE(array.size(), std::size_t(6));
        QCOMPARE(q(array[1]), QStringLiteral("41"));
        QCOMPARE(q(array[3]), QStringLiteral(" 4"));
        QCOMPARE(q(array[5]), QStringLiteral("2"));
    }

    void checkCODE_data()
    {
        QTest::addColumn<QString>("piece");
        QTest::addColumn<QString>("result");
        QTest::newRow("20 is a blank") << "20"
                                       << " ";
        QTest::newRow("41") << "41"
                            << "A";
        QTest::newRow("61") << "61"
                            << "a";
        QTest::newRow("7E") << "7E"
                            << "~";
        QTest::newRow("7F adds nothing") << "7F"
                                         << "";
        QTest::newRow("1F") << "1F"
                            << "[!]";
        QTest::newRow("00") << "00"
                            << "[!]";
        QTest::newRow("80") << "80"
                            << "[!]";
        QTest::newRow("FF") << "FF"
                            << "[!]";
        QTest::newRow("lower case") << "4a"
                                    << "[!]";
        QTest::newRow("7e lower case") << "7e"
                                       << "[!]";
        QTest::newRow("single") << "4"
                                << "[!]";
        QTest::newRow("blank first") << " 4"
                                     << "[!]";
        QTest::newRow("blank last") << "1 "
                                    << "[!]";
        QTest::newRow("empty") << ""
                               << "[!]";
        QTest::newRow("three characters") << "410"
                                          << "[!]";
        QTest::newRow("full-width digits") << QString::fromUtf16(u"\uFF14\uFF11") << "[!]";
    }
    void checkCODE()
    {
        QFETCH(QString, piece);
        QFETCH(QString, result);
        QCOMPARE(q(quorvale::checkCODE(u16(piece))), result);
    }

    void everyPrintableCodeRoundTrips()
    {
        QString printable;
        for (int c = 0x20; c < 0x7F; ++c)
            printable += QChar(c);
        const Decoding back = quorvale::hexToAscii(quorvale::asciiToHex(u16(printable)));
        QCOMPARE(q(back.text), printable);
        QVERIFY(!back.marked);
    }

    void hexToAscii_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("last");
        QTest::newRow("41 42") << "41 42"
                               << "AB" << false << "B";
        QTest::newRow("Hi!") << "48 69 21"
                             << "Hi!" << false << "!";
        QTest::newRow("no blank") << "4142"
                                  << "A[!]" << true << "[!]";
        QTest::newRow("two blanks") << "41  42"
                                    << "A[!]" << true << "[!]";
        QTest::newRow("two blanks shift the rest") << "41  42 43"
                                                   << "A[!][!]" << true << "[!]";
        QTest::newRow("half a code") << "4"
                                     << "[!]" << true << "[!]";
        QTest::newRow("lower case") << "4a"
                                    << "[!]" << true << "[!]";
        QTest::newRow("7F alone") << "7F"
                                  << "" << false << "";
        QTest::newRow("7F between") << "41 7F 42"
                                    << "AB" << false << "B";
        QTest::newRow("00") << "00"
                            << "[!]" << true << "[!]";
        QTest::newRow("20") << "20"
                            << " " << false << " ";
        QTest::newRow("leading blank") << " 41"
                                       << "[!]" << true << "[!]";
        QTest::newRow("second code half typed") << "41 4"
                                                << "A[!]" << true << "[!]";
        QTest::newRow("trailing blank") << "41 42 "
                                        << "AB" << false << "B";
        QTest::newRow("decoded marker text") << "5B 21 5D"
                                             << "[!]" << true << "]";
        QTest::newRow("line break") << "41\n42"
                                    << "A[!]" << true << "[!]";
        QTest::newRow("accented digit look-alike")
            << QString::fromUtf16(u"4\u00B9") << "[!]" << true << "[!]";
    }
    void hexToAscii()
    {
        QFETCH(QString, hex);
        QFETCH(QString, text);
        QFETCH(bool, marked);
        QFETCH(QString, last);
        const Decoding d = quorvale::hexToAscii(u16(hex));
        QCOMPARE(q(d.text), text);
        QCOMPARE(d.marked, marked);
        QCOMPARE(q(d.last), last);
    }

    void longestInputDecodes()
    {
        QString hex = QStringLiteral("41 ").repeated(99) + QStringLiteral("41");
        QCOMPARE(hex.size(), 299);
        const Decoding d = quorvale::hexToAscii(u16(hex));
        QCOMPARE(q(d.text), QString(100, QLatin1Char('A')));
        QVERIFY(!d.marked);
    }

    void keyFilter_data()
    {
        QTest::addColumn<int>("typed");
        QTest::addColumn<int>("asInput");
        QTest::newRow("negative passes") << -5 << -5;
        QTest::newRow("NUL") << 0 << 0;
        QTest::newRow("Ctrl+C") << 3 << 0;
        QTest::newRow("Backspace") << 8 << 8;
        QTest::newRow("Tab") << 9 << 0;
        QTest::newRow("Enter") << 13 << 0;
        QTest::newRow("Ctrl+V") << 22 << 0;
        QTest::newRow("Ctrl+X") << 24 << 0;
        QTest::newRow("Escape") << 27 << 0;
        QTest::newRow("blank") << 32 << 32;
        QTest::newRow("!") << 33 << 0;
        QTest::newRow("minus") << int('-') << 0;
        QTest::newRow("slash") << 47 << 0;
        QTest::newRow("0") << int('0') << int('0');
        QTest::newRow("9") << int('9') << int('9');
        QTest::newRow("colon") << int(':') << 0;
        QTest::newRow("at") << int('@') << 0;
        QTest::newRow("A") << int('A') << int('A');
        QTest::newRow("F") << int('F') << int('F');
        QTest::newRow("G") << int('G') << 0;
        QTest::newRow("backquote") << int('`') << 0;
        QTest::newRow("a becomes A") << int('a') << int('A');
        QTest::newRow("f becomes F") << int('f') << int('F');
        QTest::newRow("g") << int('g') << 0;
        QTest::newRow("z") << int('z') << 0;
        QTest::newRow("DEL") << 127 << 0;
        QTest::newRow("euro") << 128 << 0;
        QTest::newRow("y umlaut") << 255 << 0;
        QTest::newRow("above the page passes") << 256 << 256;
    }
    void keyFilter()
    {
        QFETCH(int, typed);
        QFETCH(int, asInput);
        QCOMPARE(filterHexKey(typed, false), asInput);
        QCOMPARE(filterHexKey(typed, true), 0);
    }

    void checkCASEMapsOnlyAToF()
    {
        for (int c = -1; c < 300; ++c) {
            const int expected = c >= 'a' && c <= 'f' ? c - 32 : c;
            QCOMPARE(quorvale::checkCASE(c), expected);
        }
    }
};

QTEST_APPLESS_MAIN(TestConversion)
#include "test_conversion.moc"

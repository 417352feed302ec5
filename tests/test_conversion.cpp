// The toolkit-free core: code page, hex form, both converters, the code table and the key filter.

#include "ascii_to_hex.h"
#include "code_page.h"
#include "hex_form.h"
#include "hex_to_ascii.h"
#include "key_filter.h"
#include "system_code_page.h"

#include <QtTest>

using namespace quorvale;
using namespace quorvale::testing;

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
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("hex");
        const auto row = [](const char *name, const QString &text, const char *hex,
                            int page = codepage::kWestern) {
            QTest::newRow(name) << page << text << QString::fromLatin1(hex);
        };
        row("empty", "", "");
        row("one character keeps its blank", "A", " 41");
        row("two", "AB", "41 42");
        row("three", "ABC", "41 42 43");
        row("line break is CR LF", "A\nB", "41 D A 42");
        row("paragraph separator is CR LF", QString::fromUtf16(u"A\u2029B"), "41 D A 42");
        row("line separator is CR LF", QString::fromUtf16(u"A\u2028B"), "41 D A 42");
        row("tab", "\t", " 9");
        row("NUL", QString(QChar(0)), " 0");
        row("blank", " ", " 20");
        row("7F 80 FF", QString::fromUtf16(u"\u007F\u20AC\u00FF"), "7F 80 FF");
        row("NBSP", QString::fromUtf16(u"\u00A0"), " A0");
        row("outside the page", QString::fromUtf16(u"\u03B1"), " 3F");
        row("emoji is one character", QString::fromUtf16(u"\U0001F600A"), "3F 41");
        row("lone surrogate", QString(QChar(0xD800)), " 3F");
        row("C1 control outside the page", QString(QChar(0x80)), " 3F");
        row("undefined byte kept", QString(QChar(0x81)), " 81");
        // The user's own page.
        row("Russian",
            QString::fromUtf16(u"\u041F\u0440\u0438\u0432\u0435\u0442, \u043C\u0438\u0440!"),
            "CF F0 E8 E2 E5 F2 2C 20 EC E8 F0 21", 1251);
        row("Polish", QString::fromUtf16(u"Za\u017C\u00F3\u0142\u0107"), "5A 61 BF F3 B3 E6", 1250);
        row("Greek", QString::fromUtf16(u"\u03B1\u03A9"), "E1 D9", 1253);
        row("Latin letter outside the Greek page", QString::fromUtf16(u"\u00E9"), " 3F", 1253);
        row("Hebrew in typed order", QString::fromUtf16(u"\u05E9\u05DC\u05D5\u05DD"), "F9 EC E5 ED",
            1255);
        row("Hebrew letter with its point", QString::fromUtf16(u"\uFB2A"), "F9 D1", 1255);
        row("Arabic in typed order", QString::fromUtf16(u"\u0633\u0644\u0627\u0645"), "D3 E1 C7 E3",
            1256);
        row("Thai marks are characters", QString::fromUtf16(u"\u0E17\u0E35\u0E48"), "B7 D5 E8",
            874);
        row("Vietnamese letter and tone", QString::fromUtf16(u"Vi\u1EC7t"), "56 69 EA F2 74", 1258);
        row("Vietnamese tone already apart", QString::fromUtf16(u"e\u0301"), "65 EC", 1258);
        row("undefined Greek byte", QString(QChar(0xF8F9)), " AA", 1253);
        row("Western page for the rest", QString::fromUtf16(u"\u041F"), " 3F", 932);
    }
    void asciiToHex()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(QString, hex);
        codepage::use(page);
        QCOMPARE(q(quorvale::asciiToHex(u16(text))), hex);
        codepage::use(codepage::kWestern);
    }

    // Every byte of every page as the system's own conversion gives it, and back; every other
    // character of the Basic Multilingual Plane as the system writes it, or "?" where it cannot.
    void codePagesMatchTheSystem()
    {
        for (const int page : codepage::kPages) {
            codepage::use(page);
            for (int byte = 0; byte < 256; ++byte) {
                const auto b = static_cast<std::uint8_t>(byte);
                const char16_t c = codepage::toChar(b);
                QCOMPARE(int(codepage::fromCodePoint(c)), byte);
                if (const auto system = systemChar(page, b))
                    QCOMPARE(int(*system), int(c));
            }
            for (char32_t c = 0x80; c <= 0xFFFF; ++c) {
                if (c >= 0xD800 && c <= 0xDFFF)
                    continue;
                const std::string ours = codepage::encode(std::u16string(1, char16_t(c)));
                const auto system = systemBytes(page, char16_t(c));
                const QString where = QStringLiteral("%1: U+%2").arg(page).arg(uint(c), 4, 16);
                if (codepage::fromCodePoint(c) != '?')
                    QVERIFY2(system ? *system == ours : !systemChar(page, std::uint8_t(ours[0])),
                             qPrintable(where));
                else if (ours != "?") // a letter and its marks, which Windows leaves to "?"
                    QVERIFY2(!system || *system == ours || system->size() != ours.size(),
                             qPrintable(where));
                else // glibc writes a few letters with their marks in another order
                    QVERIFY2(!system || system->size() > 1, qPrintable(where));
            }
        }
        codepage::use(codepage::kWestern);
        QCOMPARE(int(codepage::toChar(0x80)), 0x20AC);
        for (int byte = 0; byte < 256; ++byte)
            QCOMPARE(q(hexForm(static_cast<unsigned>(byte))), QString::number(byte, 16).toUpper());
    }

    void pageOfTheSystem_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("ansiCodePage");
        QTest::addColumn<int>("page");
        QTest::newRow("Russian") << "ru_RU.UTF-8" << 1251 << 1251;
        QTest::newRow("Ukrainian, no codeset") << "uk_UA" << 1251 << 1251;
        QTest::newRow("Serbian is Cyrillic") << "sr_RS" << 1251 << 1251;
        QTest::newRow("Serbian in Latin") << "sr_RS@latin" << 1250 << 1250;
        QTest::newRow("Polish, language alone") << "pl" << 1250 << 1250;
        QTest::newRow("Uzbek in Cyrillic") << "uz_UZ.UTF-8@cyrillic" << 1251 << 1251;
        QTest::newRow("Azerbaijani") << "az_AZ" << 1254 << 1254;
        QTest::newRow("Arabic-script Azerbaijani") << "az_IR" << 1256 << 1256;
        QTest::newRow("Thai") << "th_TH.UTF-8" << 874 << 874;
        QTest::newRow("German, euro modifier") << "de_DE@euro" << 1252 << 1252;
        QTest::newRow("Japanese is multi-byte") << "ja_JP.UTF-8" << 932 << 1252;
        QTest::newRow("UTF-8 for non-Unicode programs") << "C.UTF-8" << 65001 << 1252;
        QTest::newRow("POSIX") << "POSIX" << 437 << 1252;
        QTest::newRow("empty") << "" << 0 << 1252;
    }
    void pageOfTheSystem()
    {
        QFETCH(QString, locale);
        QFETCH(int, ansiCodePage);
        QFETCH(int, page);
        QCOMPARE(codepage::forLocale(locale.toStdString()), page);
        QCOMPARE(codepage::forAnsiCodePage(static_cast<unsigned>(ansiCodePage)), page);
    }

    void lengthAndFittingPrefix_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("room");
        QTest::addColumn<int>("fitting");
        const int western = codepage::kWestern;
        QTest::newRow("plain") << western << "abcd" << 4 << 2 << 2;
        QTest::newRow("line break counts two") << western << "a\nb" << 4 << 2 << 1;
        QTest::newRow("line break fits") << western << "a\nb" << 4 << 3 << 2;
        QTest::newRow("surrogate pair never split")
            << western << QString::fromUtf16(u"a\U0001F600b") << 3 << 2 << 3;
        QTest::newRow("no room") << western << QString::fromUtf16(u"\U0001F600") << 1 << 0 << 0;
        QTest::newRow("letter and tone count two, never split")
            << 1258 << QString::fromUtf16(u"a\u1EC7b") << 4 << 2 << 1;
    }
    void lengthAndFittingPrefix()
    {
        QFETCH(int, page);
        QFETCH(QString, text);
        QFETCH(int, length);
        QFETCH(int, room);
        QFETCH(int, fitting);
        codepage::use(page);
        QCOMPARE(int(codepage::length(u16(text))), length);
        QCOMPARE(int(codepage::encode(u16(text)).size()), length);
        QCOMPARE(int(codepage::fittingPrefix(u16(text), static_cast<std::size_t>(room))), fitting);
        codepage::use(codepage::kWestern);
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

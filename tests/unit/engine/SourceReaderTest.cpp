#include "SourceReader.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using folionix::decodeSource;
using folionix::readSourceFile;
using folionix::SourceText;

namespace {

// A few KB of classic ASP with the phrases dropped into titles, links and messages. The markup is
// ASCII, so the page built from UTF-8 phrases and read with fromUtf8 is what decoding the legacy page
// must give.
QByteArray aspPage(const QList<QByteArray>& phrases)
{
    const auto phrase = [&](int i) { return phrases.at(i % phrases.size()); };
    QByteArray page = "<%@ LANGUAGE=\"VBScript\" %>\r\n<html>\r\n<head>\r\n<title>" + phrase(0) +
                      "</title>\r\n<style>\r\nbody { font-family: Arial; font-size: 9pt }\r\n"
                      ".nav { color: #336699; text-decoration: none }\r\n</style>\r\n</head>\r\n"
                      "<body bgcolor=\"#FFFFFF\" topmargin=0>\r\n<!-- navigation -->\r\n"
                      "<table width=\"100%\" border=0><tr>\r\n"
                      "\t<td><a class=nav href=\"products.asp\">" +
                      phrase(1) + "</a></td>\r\n\t<td><a class=nav href=\"contact.asp\">" + phrase(2) +
                      "</a></td>\r\n</tr></table>\r\n<%\r\nDim strUser, rs, i\r\n"
                      "strUser = Trim(Request.Form(\"user\"))\r\nIf strUser = \"\" Then\r\n"
                      "\tResponse.Write \"<p class=\"\"err\"\">" +
                      phrase(4) +
                      "</p>\"\r\nElse\r\n\tSession(\"user\") = strUser\r\nEnd If\r\n"
                      "Set rs = Server.CreateObject(\"ADODB.Recordset\")\r\n"
                      "rs.Open \"SELECT id, name, price FROM products ORDER BY id\", Application(\"dsn\")\r\n"
                      "%>\r\n<p>" +
                      phrase(3) + "</p>\r\n<table border=1 cellpadding=2 bordercolor=\"#C0C0C0\">\r\n";
    for (int row = 0; row < 30; ++row) {
        const QByteArray id = QByteArray::number(row * 7 + 101);
        page += "<tr><td><a href=\"item.asp?id=" + id + "\">Item " + id +
                "</a></td><td align=right><%= FormatNumber(rs(\"price\"), 2) %></td>"
                "<td><% If rs(\"stock\") > 0 Then Response.Write \"yes\" Else Response.Write \"no\" %>"
                "</td></tr>\r\n";
    }
    page += "</table>\r\n<script language=\"JavaScript\">\r\nfunction check(f) {\r\n"
            "\tif (f.user.value == \"\") { alert(\"?\"); return false; }\r\n\treturn true;\r\n}\r\n"
            "</script>\r\n<div class=\"footer\">" +
            phrase(5) + "</div>\r\n</body>\r\n</html>\r\n";
    return page;
}

QString utf8(const char* text)
{
    return QString::fromUtf8(text);
}

// Not fromUtf16: that would take a leading U+FEFF for a byte order mark and drop it.
QString u16(const char16_t* text)
{
    return QStringView(text).toString();
}

const QList<QByteArray> kSimplifiedUtf8 = {
    "欢迎光临本公司网站",
    "产品介绍",
    "联系我们",
    "新闻中心：公司今年的销售业绩再创新高，感谢广大客户的支持。",
    "用户名或密码错误，请重新输入！",
    "版权所有北京某某科技有限公司",
};
const QList<QByteArray> kSimplifiedGbk = {
    "\xBB\xB6\xD3\xAD\xB9\xE2\xC1\xD9\xB1\xBE\xB9\xAB\xCB\xBE\xCD\xF8\xD5\xBE",
    "\xB2\xFA\xC6\xB7\xBD\xE9\xC9\xDC",
    "\xC1\xAA\xCF\xB5\xCE\xD2\xC3\xC7",
    "\xD0\xC2\xCE\xC5\xD6\xD0\xD0\xC4\xA3\xBA\xB9\xAB\xCB\xBE\xBD\xF1\xC4\xEA\xB5\xC4\xCF\xFA\xCA\xDB\xD2\xB5"
    "\xBC\xA8\xD4\xD9\xB4\xB4\xD0\xC2\xB8\xDF\xA3\xAC\xB8\xD0\xD0\xBB\xB9\xE3\xB4\xF3\xBF\xCD\xBB\xA7\xB5\xC4"
    "\xD6\xA7\xB3\xD6\xA1\xA3",
    "\xD3\xC3\xBB\xA7\xC3\xFB\xBB\xF2\xC3\xDC\xC2\xEB\xB4\xED\xCE\xF3\xA3\xAC\xC7\xEB\xD6\xD8\xD0\xC2\xCA\xE4"
    "\xC8\xEB\xA3\xA1",
    "\xB0\xE6\xC8\xA8\xCB\xF9\xD3\xD0\xB1\xB1\xBE\xA9\xC4\xB3\xC4\xB3\xBF\xC6\xBC\xBC\xD3\xD0\xCF\xDE\xB9\xAB"
    "\xCB\xBE",
};
const QList<QByteArray> kTraditionalUtf8 = {
    "歡迎光臨本公司網站",
    "產品介紹",
    "聯絡我們",
    "最新消息：本公司今年的營業額再創新高，感謝各位客戶的支持。",
    "帳號或密碼錯誤，請重新輸入！",
    "版權所有台北某某科技股份有限公司",
};
const QList<QByteArray> kTraditionalBig5 = {
    "\xC5\x77\xAA\xEF\xA5\xFA\xC1\x7B\xA5\xBB\xA4\xBD\xA5\x71\xBA\xF4\xAF\xB8",
    "\xB2\xA3\xAB\x7E\xA4\xB6\xB2\xD0",
    "\xC1\x70\xB5\xB8\xA7\xDA\xAD\xCC",
    "\xB3\xCC\xB7\x73\xAE\xF8\xAE\xA7\xA1\x47\xA5\xBB\xA4\xBD\xA5\x71\xA4\xB5\xA6\x7E\xAA\xBA\xC0\xE7\xB7\x7E"
    "\xC3\x42\xA6\x41\xB3\xD0\xB7\x73\xB0\xAA\xA1\x41\xB7\x50\xC1\xC2\xA6\x55\xA6\xEC\xAB\xC8\xA4\xE1\xAA\xBA"
    "\xA4\xE4\xAB\xF9\xA1\x43",
    "\xB1\x62\xB8\xB9\xA9\xCE\xB1\x4B\xBD\x58\xBF\xF9\xBB\x7E\xA1\x41\xBD\xD0\xAD\xAB\xB7\x73\xBF\xE9\xA4\x4A"
    "\xA1\x49",
    "\xAA\xA9\xC5\x76\xA9\xD2\xA6\xB3\xA5\x78\xA5\x5F\xAC\x59\xAC\x59\xAC\xEC\xA7\xDE\xAA\xD1\xA5\xF7\xA6\xB3"
    "\xAD\xAD\xA4\xBD\xA5\x71",
};

// A page in English with the legacy phrase as its only non-ASCII text.
QByteArray westernPage(const QByteArray& phrase)
{
    return aspPage({"Order form", "Products", "Contact us", phrase, "Please enter your name.", "(c) 2001"});
}

struct DecodeCase
{
    const char* name;
    QByteArray bytes;
    const char* requested;
    QString expectedEncoding;
    QString expectedText;
};

void PrintTo(const DecodeCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<DecodeCase> decodeCases()
{
    const QByteArray cafe1252 = "<p>Welcome to the \x93"
                                "Caf\xE9 M\xFCller\x94 \x96 fresh cr\xE8me br\xFBl\xE9"
                                "e daily.</p>";
    const char* cafeUtf8 = "<p>Welcome to the “Café Müller” – fresh crème brûlée daily.</p>";
    const QByteArray czech1250 = "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2 \xFAp\xECl \xEF\xE1"
                                 "belsk\xE9 \xF3"
                                 "dy. V\xEDtejte na str\xE1nk\xE1"
                                 "ch na\x9A\xED spole\xE8nosti.";
    const char* czechUtf8 = "Příliš žluťoučký kůň úpěl ďábelské ódy. Vítejte na stránkách naší společnosti.";
    const QByteArray russian1251 =
        "\xC4\xEE\xE1\xF0\xEE \xEF\xEE\xE6\xE0\xEB\xEE\xE2\xE0\xF2\xFC \xED\xE0 "
        "\xED\xE0\xF8 \xF1\xE0\xE9\xF2. \xC2\xE2\xE5\xE4\xE8\xF2\xE5 \xE8\xEC\xFF "
        "\xEF\xEE\xEB\xFC\xE7\xEE\xE2\xE0\xF2\xE5\xEB\xFF \xE8 \xEF\xE0\xF0\xEE\xEB\xFC.";
    const char* russianUtf8 = "Добро пожаловать на наш сайт. Введите имя пользователя и пароль.";
    const QByteArray withNul("<% x = 1 %>\0\0<p>a\0b</p>", 23);

    return {
        // Byte order marks decide, and the mark is not text.
        {"BomUtf8",
         "\xEF\xBB\xBF<% Response.Write \"Gr\xC3\xBC\xC3\x9F"
         "e\" %>\r\n",
         "auto", "UTF-8", utf8("<% Response.Write \"Grüße\" %>\r\n")},
        {"BomUtf8SecondMarkIsText", "\xEF\xBB\xBF\xEF\xBB\xBFx", "auto", "UTF-8", u16(u"\uFEFFx")},
        {"BomUtf8InvalidByte", "\xEF\xBB\xBFok\xFFok", "auto", "UTF-8", u16(u"ok\uFFFDok")},
        {"BomUtf16LE", QByteArray("\xFF\xFE<\0%\0\r\0\n\0\xE4\0\x2D\x4E", 14), "auto", "UTF-16LE",
         u16(u"<%\r\n\u00E4\u4E2D")},
        {"BomUtf16BE", QByteArray("\xFE\xFF\0<\0%\0\r\0\n\0\xE4\x4E\x2D", 14), "auto", "UTF-16BE",
         u16(u"<%\r\n\u00E4\u4E2D")},
        {"BomUtf16LEOddLength",
         QByteArray("\xFF\xFE"
                    "a\0b",
                    5),
         "auto", "UTF-16LE", u16(u"a\uFFFD")},
        {"BomUtf32LE",
         QByteArray("\xFF\xFE\0\0"
                    "A\0\0\0\x00\xF6\x01\0",
                    12),
         "auto", "UTF-32LE", u16(u"A\U0001F600")},
        // Valid UTF-8, pure ASCII and an empty file are UTF-8; line ends stay as they are.
        {"PlainUtf8",
         "<p>Gr\xC3\xBC\xC3\x9F"
         "e \xE4\xBD\xA0\xE5\xA5\xBD</p>\r\n",
         "auto", "UTF-8", utf8("<p>Grüße 你好</p>\r\n")},
        {"Ascii", "<% If a Then %>\r\nb\rc\n\td\r\n", "", "UTF-8", "<% If a Then %>\r\nb\rc\n\td\r\n"},
        {"Empty", "", "auto", "UTF-8", ""},
        {"NulBytesKept", withNul, "auto", "UTF-8", QStringView(u"<% x = 1 %>\0\0<p>a\0b</p>", 23).toString()},
        // Legacy code pages found by detection.
        {"GbkPage", aspPage(kSimplifiedGbk), "auto", "GB18030", QString::fromUtf8(aspPage(kSimplifiedUtf8))},
        {"Big5Page", aspPage(kTraditionalBig5), "AUTO", "Big5", QString::fromUtf8(aspPage(kTraditionalUtf8))},
        {"Windows1252Page", westernPage(cafe1252), "auto", "windows-1252",
         QString::fromUtf8(westernPage(cafeUtf8))},
        {"Windows1252OneAccent", westernPage("Caf\xE9"), "auto", "windows-1252",
         QString::fromUtf8(westernPage("Café"))},
        {"Windows1252SmartQuotesOnly", westernPage("\x93Quoted\x94 and \x93quoted\x94"), "auto",
         "windows-1252", QString::fromUtf8(westernPage("“Quoted” and “quoted”"))},
        {"Iso88591AnswerBecomesWindows1252",
         westernPage("Gr\xFC\xDF"
                     "e aus M\xFCnchen, sch\xF6ne \xDC"
                     "bersicht"),
         "auto", "windows-1252", QString::fromUtf8(westernPage("Grüße aus München, schöne Übersicht"))},
        // Near misses of UTF-8 are not UTF-8: overlong forms and surrogates.
        {"Utf8OverlongIsNotUtf8", westernPage("x\xC1\xBFy"), "auto", "windows-1252",
         QString::fromUtf8(westernPage("xÁ¿y"))},
        {"Utf8Overlong3IsNotUtf8", westernPage("x\xE0\x9F\xBFy"), "auto", "windows-1252",
         QString::fromUtf8(westernPage("xàŸ¿y"))},
        {"Utf8SurrogateIsNotUtf8", westernPage("x\xED\xA0\x80y"), "auto", "windows-1252",
         QString::fromUtf8(westernPage("xí\u00A0€y"))},
        {"Windows1250CzechStaysCzech", westernPage(czech1250), "auto", "windows-1250",
         QString::fromUtf8(westernPage(czechUtf8))},
        {"Windows1251RussianStaysRussian", westernPage(russian1251), "auto", "windows-1251",
         QString::fromUtf8(westernPage(russianUtf8))},
        // An explicit encoding wins over detection, whatever the bytes look like.
        {"OverrideWindows1252OnUtf8", "Caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D", "windows-1252", "windows-1252",
         u16(u"Caf\u00C3\u00A9 \u00E2\u20AC\u0153q\u00E2\u20AC\u009D")},
        {"OverrideShiftJis", "<p>\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD</p>", "Shift_JIS", "Shift_JIS",
         utf8("<p>こんにちは</p>")},
        {"OverrideNameIsTrimmedAndCaseBlind", QByteArray("a\0\xE4\0", 4), " utf-16le ", "UTF-16LE",
         u16(u"a\u00E4")},
        {"OverrideUtf8SkipsBom", "\xEF\xBB\xBFx\xC3\xA9", "UTF-8", "UTF-8", u16(u"x\u00E9")},
        {"OverrideTrailingLeadByteKept", "ab\xC4", "GB18030", "GB18030", u16(u"ab\uFFFD")},
        {"OverrideBig5TrailingLeadByteKept", "\xA4\xA4\xA4", "Big5", "Big5", u16(u"\u4E2D\uFFFD")},
    };
}

class SourceReaderDecode : public ::testing::TestWithParam<DecodeCase>
{};

TEST_P(SourceReaderDecode, DecodesFileAsExpected)
{
    const DecodeCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = testsupport::writeFile(dir, QStringLiteral("page.asp"), c.bytes);

    const SourceText source = readSourceFile(path, QString::fromUtf8(c.requested));

    ASSERT_TRUE(source.ok) << source.error.toStdString();
    EXPECT_TRUE(source.error.isEmpty());
    EXPECT_EQ(source.encoding, c.expectedEncoding);
    EXPECT_EQ(source.bytes, c.bytes.size());
    EXPECT_EQ(source.text, c.expectedText) << source.text.toStdString();
}

TEST_P(SourceReaderDecode, ReportedEncodingDecodesTheSame)
{
    // Naming the encoding that was reported must reproduce the text, so the name is the one really used.
    const DecodeCase& c = GetParam();
    QString used;
    QString error;
    const QString text = decodeSource(c.bytes, QString::fromUtf8(c.requested), &used, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    QString again;
    EXPECT_EQ(decodeSource(c.bytes, used, &again, &error), text);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, SourceReaderDecode, ::testing::ValuesIn(decodeCases()),
                         [](const ::testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

// Deterministic noise so a failure can be replayed.
QByteArray noise(quint32 seed, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    quint32 state = seed * 2654435761U + 1;
    for (char& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = char(state >> 24);
    }
    return bytes;
}

TEST(SourceReader, BinaryFilesDecodeToSomething)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Binary
    {
        const char* name;
        QByteArray bytes;
    };
    const std::vector<Binary> binaries = {
        {"noise1", noise(1, 4096)},
        {"noise2", noise(2, 65536)},
        {"noise3", noise(3, 7)},
        {"png",
         QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x06\0\0\0\x1F\xF3\xFF\x61", 33)},
        {"zeros", QByteArray(1000, '\0')},
        {"highBytes", QByteArray(512, '\xFF')},
    };
    for (const Binary& b : binaries) {
        SCOPED_TRACE(b.name);
        const QString path = testsupport::writeFile(dir, QString::fromLatin1(b.name), b.bytes);
        const SourceText source = readSourceFile(path, QStringLiteral("auto"));
        ASSERT_TRUE(source.ok) << source.error.toStdString();
        EXPECT_FALSE(source.encoding.isEmpty());
        EXPECT_EQ(source.bytes, b.bytes.size());
        // Every byte turns into at least part of a character: nothing silently vanishes.
        EXPECT_GE(source.text.size(), b.bytes.size() / 4);
        EXPECT_EQ(decodeSource(b.bytes, source.encoding, nullptr, nullptr), source.text);
    }
}

TEST(SourceReader, FailuresNameTheFileAndTheReason)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = QDir(dir.path()).filePath(QStringLiteral("site"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString page = testsupport::writeFile(dir, QStringLiteral("default.asp"), "<% x %>");

    struct Failure
    {
        const char* name;
        QString path;
        QString encoding;
        QString reason;
    };
    const std::vector<Failure> failures = {
        {"missing", QDir(dir.path()).filePath(QStringLiteral("nothing.asp")), "auto", "does not exist"},
        {"folder", folder, "auto", "folder"},
        {"device", QStringLiteral("/dev/null"), "auto", "not a regular file"},
        {"emptyPath", QString(), "auto", "no file name"},
        {"unknownEncoding", page, "klingon-8", "klingon-8"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        const SourceText source = readSourceFile(f.path, f.encoding);
        EXPECT_FALSE(source.ok);
        EXPECT_TRUE(source.text.isEmpty());
        EXPECT_TRUE(source.error.contains(QDir::toNativeSeparators(f.path))) << source.error.toStdString();
        EXPECT_TRUE(source.error.contains(f.reason)) << source.error.toStdString();
    }
}

TEST(SourceReader, UnreadableFileFails)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = testsupport::writeFile(dir, QStringLiteral("secret.asp"), "<% x %>");
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::Permissions()));
    QFile probe(path);
    if (probe.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "permissions do not stop this user from reading";

    const SourceText source = readSourceFile(path, QStringLiteral("auto"));
    EXPECT_FALSE(source.ok);
    EXPECT_TRUE(source.error.contains(path)) << source.error.toStdString();
}

TEST(SourceReader, DecodeSourceReportsUnknownEncoding)
{
    QString used = QStringLiteral("stale");
    QString error;
    EXPECT_TRUE(decodeSource("abc", QStringLiteral("no-such-code-page"), &used, &error).isEmpty());
    EXPECT_TRUE(used.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("no-such-code-page"))) << error.toStdString();

    // The out parameters are optional.
    EXPECT_TRUE(decodeSource("abc", QStringLiteral("no-such-code-page"), nullptr, nullptr).isEmpty());
    EXPECT_EQ(decodeSource("abc", QString(), nullptr, nullptr), QStringLiteral("abc"));
}

} // namespace

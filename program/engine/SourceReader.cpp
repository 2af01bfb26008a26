#include "SourceReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <type_traits>

#include <unistd.h>

namespace folionix {
namespace {

using Flag = QStringConverter::Flag;

const QString kWindows1252 = QStringLiteral("windows-1252");

// ---------------------------------------------------------------------------------------------
// Byte order marks

struct Bom
{
    QByteArrayView mark;
    QStringConverter::Encoding encoding;
    const char* name;
};

std::optional<Bom> findBom(QByteArrayView bytes)
{
    // UTF-32LE before UTF-16LE: both start with FF FE.
    static const std::array<Bom, 5> boms = {{
        {QByteArrayView("\xFF\xFE\x00\x00", 4), QStringConverter::Utf32LE, "UTF-32LE"},
        {QByteArrayView("\x00\x00\xFE\xFF", 4), QStringConverter::Utf32BE, "UTF-32BE"},
        {QByteArrayView("\xEF\xBB\xBF", 3), QStringConverter::Utf8, "UTF-8"},
        {QByteArrayView("\xFF\xFE", 2), QStringConverter::Utf16LE, "UTF-16LE"},
        {QByteArrayView("\xFE\xFF", 2), QStringConverter::Utf16BE, "UTF-16BE"},
    }};
    for (const Bom& bom : boms) {
        if (bytes.startsWith(bom.mark))
            return bom;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// UTF-8 validation: one pass, eight ASCII bytes at a time where it can.

bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const uchar lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        // The first trail byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
        int trail = 0;
        uchar lo = 0x80;
        uchar hi = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            lo = lead == 0xE0 ? 0xA0 : 0x80;
            hi = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            lo = lead == 0xF0 ? 0x90 : 0x80;
            hi = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (end - p <= trail || p[1] < lo || p[1] > hi)
            return false;
        for (int i = 2; i <= trail; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += trail + 1;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Windows-1252: the last resort, so it is decoded here and never depends on ICU being there.
// The five unassigned bytes map to the C1 controls of the same value, so no byte is lost.

constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<uchar>(c);
        *out++ = QChar(b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

bool isWindows1252Name(const QString& name)
{
    return name.compare(kWindows1252, Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("cp1252"), Qt::CaseInsensitive) == 0;
}

// ---------------------------------------------------------------------------------------------
// Decoding by name

// Qt's own converters (UTF-*, Latin-1) replace an unfinished trailing sequence when stateless.
QString decodeBuiltin(QByteArrayView bytes, QStringConverter::Encoding encoding,
                      QStringConverter::Flags flags)
{
    QStringDecoder decoder(encoding, flags | Flag::Stateless);
    return decoder.decode(bytes);
}

// Qt 6.4 drops an unfinished trailing sequence held inside ICU, even when stateless. Feeding a line
// feed afterwards pushes it out as U+FFFD; the probe tells what a lone line feed decodes to.
QString decodeWithIcu(QStringDecoder& decoder, QByteArrayView bytes, const QByteArray& name)
{
    QString text = decoder.decode(bytes);
    const QByteArrayView lineFeed("\n", 1);
    const QString probe = QStringDecoder(name.constData()).decode(lineFeed);
    const QString tail = decoder.decode(lineFeed);
    if (tail != probe)
        text += tail.endsWith(probe) ? tail.chopped(probe.size()) : QString(QChar::ReplacementCharacter);
    return text;
}

// Decodes with the named converter; nullopt when no converter of that name exists. Detection passes
// its own curated names, which read better than some ICU standard names ("KSC_5601" for windows-949).
std::optional<QString> decodeNamed(QByteArrayView bytes, const QString& name, QString* usedName,
                                   bool reportGivenName)
{
    if (isWindows1252Name(name)) {
        *usedName = kWindows1252;
        return decodeWindows1252(bytes);
    }
    const QByteArray latin = name.toLatin1();
    if (const auto builtin = QStringConverter::encodingForName(latin.constData())) {
        *usedName = QString::fromLatin1(QStringConverter::nameForEncoding(*builtin));
        return decodeBuiltin(bytes, *builtin, Flag::Default);
    }
    QStringDecoder decoder(latin.constData());
    if (!decoder.isValid())
        return std::nullopt;
    // Some ICU converters have no standard name to report; keep the caller's then.
    const char* standard = decoder.name();
    *usedName = !reportGivenName && standard && *standard ? QString::fromLatin1(standard) : name;
    return decodeWithIcu(decoder, bytes, latin);
}

// ---------------------------------------------------------------------------------------------
// Legacy code page detection

// Bytes that read as ordinary Western text in windows-1252: accented Latin letters, typographic
// punctuation and the common Latin-1 signs. A byte outside this set points to another code page.
constexpr std::array<bool, 256> makeWesternTable()
{
    std::array<bool, 256> table{};
    for (int b = 0xC0; b <= 0xFF; ++b)
        table[b] = b != 0xD7 && b != 0xF7;
    for (const int b : {0x80, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x89, 0x8A, 0x8B, 0x8C, 0x8E, 0x91, 0x92,
                        0x93, 0x94, 0x95, 0x96, 0x97, 0x99, 0x9A, 0x9B, 0x9C, 0x9E, 0x9F, 0xA0, 0xA1, 0xA2,
                        0xA3, 0xA5, 0xA7, 0xA9, 0xAA, 0xAB, 0xAE, 0xB0, 0xB4, 0xB7, 0xBA, 0xBB, 0xBF})
        table[b] = true;
    return table;
}
constexpr std::array<bool, 256> kWestern = makeWesternTable();

struct HighByteStats
{
    qsizetype letters = 0;  // bytes 0xA0-0xFF, where single-byte code pages put their letters
    bool c1Bytes = false;   // bytes 0x80-0x9F: control codes in every ISO-8859 part, so never ISO text
    bool allWestern = true; // every byte >= 0x80 is in kWestern
};

HighByteStats highByteStats(QByteArrayView bytes)
{
    HighByteStats stats;
    for (const char c : bytes) {
        const auto b = static_cast<uchar>(c);
        if (b < 0x80)
            continue;
        if (b < 0xA0)
            stats.c1Bytes = true;
        else
            ++stats.letters;
        stats.allWestern = stats.allWestern && kWestern[b];
    }
    return stats;
}

bool isOneOf(const QByteArray& name, std::initializer_list<const char*> names)
{
    for (const char* candidate : names) {
        if (name == candidate)
            return true;
    }
    return false;
}

// uchardet judges single-byte pages from letter statistics, which a handful of accented letters or
// smart quotes cannot support: "Café" comes back as ISO-8859-2, curly quotes as windows-1258 or
// ISO-8859-7. Our legacy Western pages are windows-1252, so a thin, Western-looking sample goes there.
bool isWeakSingleByteGuess(const QByteArray& detected, const HighByteStats& stats)
{
    constexpr qsizetype kEnoughLetters = 64;
    if (!stats.allWestern)
        return false;
    const bool latinScript =
        isOneOf(detected, {"ISO-8859-2", "ISO-8859-3", "ISO-8859-4", "ISO-8859-9", "ISO-8859-10",
                           "ISO-8859-13", "ISO-8859-15", "ISO-8859-16", "WINDOWS-1250", "WINDOWS-1254",
                           "WINDOWS-1257", "WINDOWS-1258", "MAC-CENTRALEUROPE", "IBM852", "VISCII"});
    if (latinScript && stats.letters < kEnoughLetters)
        return true;
    // An ISO-8859 answer for text that holds C1 control bytes cannot be right.
    return detected.startsWith("ISO-8859-") && stats.c1Bytes;
}

// Maps uchardet's answer to a name QStringDecoder accepts, choosing supersets where one exists.
QString legacyEncodingName(QByteArrayView bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(
        uchardet_new(), &uchardet_delete);
    if (!detector)
        return kWindows1252;
    // uchardet takes a size_t length, so huge inputs go in slices.
    constexpr qsizetype kSlice = qsizetype(1) << 30;
    for (qsizetype at = 0; at < bytes.size(); at += kSlice) {
        const QByteArrayView slice = bytes.sliced(at, std::min(kSlice, bytes.size() - at));
        if (uchardet_handle_data(detector.get(), slice.data(), size_t(slice.size())) != 0)
            break;
    }
    uchardet_data_end(detector.get());
    const char* charset = uchardet_get_charset(detector.get());
    const QByteArray detected = QByteArray(charset ? charset : "").toUpper();

    // ASCII cannot be right for bytes that failed UTF-8 validation; windows-1252 is the superset of
    // ISO-8859-1 and what Western pages really used.
    if (detected.isEmpty() || detected == "ASCII" || detected == "ISO-8859-1")
        return kWindows1252;
    if (isOneOf(detected, {"GB18030", "GB2312", "GBK", "EUC-CN"}))
        return QStringLiteral("GB18030");
    if (isOneOf(detected, {"UHC", "EUC-KR", "CP949"}))
        return QStringLiteral("windows-949");
    if (detected == "TIS-620")
        return QStringLiteral("windows-874");
    if (detected == "BIG5")
        return QStringLiteral("Big5");
    if (detected == "SHIFT_JIS")
        return QStringLiteral("Shift_JIS");
    if (isWeakSingleByteGuess(detected, highByteStats(bytes)))
        return kWindows1252;
    if (detected.startsWith("WINDOWS-"))
        return QStringLiteral("windows-") + QString::fromLatin1(detected.sliced(8));
    return QString::fromLatin1(detected);
}

QString detectAndDecode(QByteArrayView bytes, QString* usedName)
{
    if (const auto bom = findBom(bytes)) {
        *usedName = QString::fromLatin1(bom->name);
        // The mark is gone, so a second U+FEFF right after it is text and must stay.
        return decodeBuiltin(bytes.sliced(bom->mark.size()), bom->encoding, Flag::ConvertInitialBom);
    }
    if (isValidUtf8(bytes)) {
        *usedName = QStringLiteral("UTF-8");
        return decodeBuiltin(bytes, QStringConverter::Utf8, Flag::ConvertInitialBom);
    }
    const QString legacy = legacyEncodingName(bytes);
    if (auto text = decodeNamed(bytes, legacy, usedName, true))
        return *text;
    *usedName = kWindows1252;
    return decodeWindows1252(bytes);
}

// Reading needs the bytes plus up to two bytes of text per byte; refuse up front what the machine
// cannot hold instead of letting the kernel end the process halfway through.
bool fitsInMemory(qint64 size)
{
    if (size > std::numeric_limits<qsizetype>::max() / 4)
        return false;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return true;
    const auto physical = static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(pageSize);
    return static_cast<unsigned long long>(size) <= physical / 3;
}

// One sized read; a file that grows meanwhile still comes in whole.
std::optional<QByteArray> readWhole(QFile& file, qint64 size)
{
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qint64 filled = 0;
    while (filled < size) {
        const qint64 got = file.read(bytes.data() + filled, size - filled);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        filled += got;
    }
    bytes.truncate(qsizetype(filled));
    if (filled == size) {
        const QByteArray more = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        bytes += more;
    }
    return bytes;
}

bool isAuto(const QString& encoding)
{
    return encoding.isEmpty() || encoding.compare(QLatin1String("auto"), Qt::CaseInsensitive) == 0;
}

// nullopt only when the requested encoding has no decoder.
std::optional<QString> decode(QByteArrayView bytes, const QString& encoding, QString* usedName)
{
    const QString requested = encoding.trimmed();
    if (isAuto(requested))
        return detectAndDecode(bytes, usedName);
    return decodeNamed(bytes, requested, usedName, false);
}

} // namespace

QString decodeSource(const QByteArray& bytes, const QString& encoding, QString* usedEncoding, QString* error)
{
    QString usedName;
    std::optional<QString> text = decode(bytes, encoding, &usedName);
    if (usedEncoding)
        *usedEncoding = usedName;
    if (error)
        *error = text ? QString() : QStringLiteral("Unknown encoding \"%1\".").arg(encoding.trimmed());
    return text ? std::move(*text) : QString();
}

SourceText readSourceFile(const QString& path, const QString& encoding)
{
    SourceText result;
    const QString shown = QDir::toNativeSeparators(path);
    const auto fail = [&](const QString& reason) {
        result.ok = false;
        result.error = QStringLiteral("Cannot read \"%1\": %2.").arg(shown, reason);
        return result;
    };

    if (path.isEmpty())
        return fail(QStringLiteral("no file name was given"));
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("the file does not exist"));
    if (info.isDir())
        return fail(QStringLiteral("it is a folder, not a file"));
    if (!info.isFile())
        return fail(QStringLiteral("it is not a regular file"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    result.bytes = file.size();
    const QString tooLarge = QStringLiteral("the file is too large to hold in memory (%1 bytes)");
    if (!fitsInMemory(result.bytes))
        return fail(tooLarge.arg(result.bytes));

    try {
        const auto bytes = readWhole(file, result.bytes);
        if (!bytes)
            return fail(file.errorString());
        result.bytes = bytes->size();
        auto text = decode(*bytes, encoding, &result.encoding);
        if (!text)
            return fail(QStringLiteral("the encoding \"%1\" is not known").arg(encoding.trimmed()));
        result.text = std::move(*text);
    } catch (const std::bad_alloc&) {
        result.text.clear();
        return fail(tooLarge.arg(result.bytes));
    }
    result.ok = true;
    return result;
}

} // namespace folionix

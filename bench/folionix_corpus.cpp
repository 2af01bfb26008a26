// folionix-corpus SIZE OUTFILE [SEED]: writes a generated classic ASP corpus for benchmarks.
#include "CorpusGenerator.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>
#include <optional>

namespace {

void usage()
{
    std::fputs("usage: folionix-corpus SIZE OUTFILE [SEED]\n"
               "  SIZE    bytes, with an optional K, M or G suffix (powers of 1024), e.g. 500K, 10M\n"
               "  OUTFILE file to write, or - for standard output\n"
               "  SEED    unsigned 32-bit number; the same seed gives the same corpus (default 1)\n",
               stderr);
}

std::optional<qint64> parseSize(QByteArray text)
{
    qint64 factor = 1;
    text = text.trimmed().toUpper();
    if (text.endsWith('B') && text.size() > 1 && QByteArray("KMG").contains(text.at(text.size() - 2)))
        text.chop(1);
    if (text.endsWith('K') || text.endsWith('M') || text.endsWith('G')) {
        factor = text.endsWith('K') ? 1024 : text.endsWith('M') ? 1024 * 1024 : 1024 * 1024 * 1024;
        text.chop(1);
    }
    bool ok = false;
    const qint64 count = text.toLongLong(&ok);
    if (!ok || count < 0 || count > (qint64(1) << 40) / factor)
        return std::nullopt;
    return count * factor;
}

bool writeAll(QIODevice& device, const QByteArray& bytes)
{
    return device.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4) {
        usage();
        return 2;
    }
    const auto size = parseSize(argv[1]);
    if (!size) {
        std::fprintf(stderr, "folionix-corpus: invalid size \"%s\"\n", argv[1]);
        usage();
        return 2;
    }
    quint32 seed = 1;
    if (argc == 4) {
        bool ok = false;
        seed = QByteArray(argv[3]).toUInt(&ok);
        if (!ok) {
            std::fprintf(stderr, "folionix-corpus: invalid seed \"%s\"\n", argv[3]);
            usage();
            return 2;
        }
    }

    const QByteArray corpus = folionix::bench::generateAspCorpus(*size, seed);
    const QString path = QString::fromLocal8Bit(argv[2]);
    if (path == QLatin1String("-")) {
        QFile out;
        if (!out.open(stdout, QIODevice::WriteOnly) || !writeAll(out, corpus) || !out.flush()) {
            std::fputs("folionix-corpus: cannot write to standard output\n", stderr);
            return 1;
        }
        return 0;
    }
    // Written aside and renamed, so an interrupted run never leaves half a corpus behind.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || !writeAll(out, corpus) || !out.commit()) {
        std::fprintf(stderr, "folionix-corpus: cannot write \"%s\": %s\n", argv[2],
                     qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}

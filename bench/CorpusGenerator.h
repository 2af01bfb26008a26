#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace folionix::bench {

// Classic ASP source for benchmarks: HTML pages mixed with server VBScript and JScript, client
// scripts and style sheets, mostly CR LF line ends with some LF pages, tabs and occasional long
// lines. The same seed always gives the same bytes, on any platform or standard library. The result
// is exactly targetBytes long (the last page is closed with a filler comment); 0 or less gives an
// empty corpus.
QByteArray generateAspCorpus(qint64 targetBytes, quint32 seed = 1);

} // namespace folionix::bench

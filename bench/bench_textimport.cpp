// Text and table files at the size of a large label run: 100,000 rows of
// 5 columns read through the document into an empty table.
#include "document/project/projectdoc.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>

#include <memory>
#include <random>
#include <string>

namespace {

constexpr int kRows = 100000;

// Lines like "W1234;12,5;-300;X3:17;"Motor feeder 12 cabinet =A3+K7"";
// with `accent` the description holds a non-ASCII letter, so the file is
// converted from UTF-8.
std::string delimitedFile(bool accent)
{
    std::mt19937 rng(42);
    auto num = [&](unsigned mod) { return std::to_string(rng() % mod); };
    std::string out;
    out.reserve(size_t(kRows) * 64);
    for (int r = 0; r < kRows; ++r) {
        // Appended piece by piece (operator+ chains upset GCC 12's -Wrestrict).
        for (const std::string& piece :
             {std::string("W"), num(100000), std::string(";"), num(1000), std::string(","), num(100),
              std::string(";"), std::to_string(int(rng() % 20001) - 10000), std::string(";X"), num(40),
              std::string(":"), num(24), std::string(";\"Motor feeder "), num(500),
              std::string(accent ? " Schaltschrank \xC3\xA4=A" : " cabinet =A"), num(9), std::string("+K"),
              num(30), std::string("\"\r\n")})
            out += piece;
    }
    return out;
}

QString writeTemp(QTemporaryDir& dir, const char* name, const std::string& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes.data(), qint64(bytes.size()));
    return path;
}

void importDelimited(benchmark::State& state, bool accent)
{
    QTemporaryDir dir;
    const QString path = writeTemp(dir, "big.txt", delimitedFile(accent));
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVorteplanSoftLabelDoc>();
        state.ResumeTiming();
        doc->ReadDelimitedTextFile(path, ';', 0);
        benchmark::DoNotOptimize(doc->GetTableRowCount());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_ImportDelimitedAscii(benchmark::State& state)
{
    importDelimited(state, false);
}
BENCHMARK(BM_ImportDelimitedAscii)->Unit(benchmark::kMillisecond);

void BM_ImportDelimitedUtf8(benchmark::State& state)
{
    importDelimited(state, true);
}
BENCHMARK(BM_ImportDelimitedUtf8)->Unit(benchmark::kMillisecond);

void BM_TbfWriteAndRead(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString txt = writeTemp(dir, "big.txt", delimitedFile(false));
    CVorteplanSoftLabelDoc source;
    source.ReadDelimitedTextFile(txt, ';', 0);
    const QString tbf = dir.filePath(QStringLiteral("big.tbf"));
    for (auto _ : state) {
        source.WriteTbfFile(tbf);
        state.PauseTiming();
        auto doc = std::make_unique<CVorteplanSoftLabelDoc>();
        state.ResumeTiming();
        doc->ReadTbfFile(tbf);
        benchmark::DoNotOptimize(doc->GetTableRowCount());
        state.PauseTiming();
        doc.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_TbfWriteAndRead)->Unit(benchmark::kMillisecond);

} // namespace

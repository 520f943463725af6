// Files too large for the ordinary tests, made in a folder and read by the engines,
// each read in a child process whose address space is limited to 4 x the file's
// size + 100 MB over what the process held before it. Prints per file: its size,
// how the read ended (read, refused with the reason, out of memory, a signal),
// seconds, and the child's peak resident memory, also per byte of the file.
//   giant_files_bench DIR [RTF_MB]
// DIR receives: a workbook with one sheet full across 65,536 rows x 256 columns
// (numbers, one MULRK record per row); an RTF of one 1 GB paragraph, written
// streaming; and one of RTF_MB (default 256) below the reader's size cap, read
// once under the limit and once without it, for the memory per byte. The files are
// deleted at the end.

#include "office/doc/Application.h"
#include "office/doc/Document.h"
#include "office/doc/RtfReader.h"
#include "office/ole/CompoundFile.h"
#include "office/sheet/Workbook.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <new>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 kMB = 1 << 20;

QByteArray u16(unsigned v) {
    return QByteArray(1, char(v & 0xFF)) + char((v >> 8) & 0xFF);
}
QByteArray u32(std::uint32_t v) {
    return u16(v & 0xFFFF) + u16(v >> 16);
}
QByteArray record(unsigned id, const QByteArray &body) {
    return u16(id) + u16(unsigned(body.size())) + body;
}
QByteArray bof(unsigned type) {
    return record(0x0809, u16(0x0600) + u16(type) + QByteArray(12, 0));
}

// The full sheet: globals with one XF and one BOUNDSHEET, then the sheet with its
// DIMENSIONS and one MULRK of 256 integers per row.
bool writeFullSheet(const QString &path) {
    const QByteArray name = "Voll";
    const QByteArray xf = record(0x00E0, QByteArray(20, 0));
    const qint64 boundSheetSize = 4 + 4 + 2 + 2 + name.size();
    const qint64 sheetOffset = bof(0x0005).size() + xf.size() + boundSheetSize + 4;
    QByteArray stream =
        bof(0x0005) + xf +
        record(0x0085, u32(std::uint32_t(sheetOffset)) + char(0) + char(0) + char(name.size()) + char(0) + name) +
        record(0x000A, {});
    stream += bof(0x0010);
    stream += record(0x0200, u32(0) + u32(65536) + u16(0) + u16(256) + u16(0));
    QByteArray body;
    for (int row = 0; row < 65536; ++row) {
        body = u16(unsigned(row)) + u16(0);
        for (int column = 0; column < 256; ++column)
            body += u16(0) + u32(std::uint32_t((row * 256 + column) & 0x3FFFFFFF) << 2 | 2);
        body += u16(255);
        stream += record(0x00BD, body);
    }
    stream += record(0x000A, {});
    office::ole::CompoundFile file;
    file.setStream(QStringLiteral("Workbook"), stream);
    return file.writeFile(path).ok;
}

// One paragraph of `bytes` plain text, written a megabyte at a time.
bool writeOneParagraph(const QString &path, qint64 bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray piece = QByteArray("Ein langer Absatz ohne Ende ").repeated(int(kMB / 28));
    bool ok = file.write("{\\rtf1\\ansi ") > 0;
    for (qint64 written = 0; ok && written < bytes; written += piece.size()) ok = file.write(piece) == piece.size();
    return ok && file.write("}") == 1 && file.flush();
}

qint64 virtualBytes() {
    std::ifstream statm("/proc/self/statm");
    qint64 size = 0;
    statm >> size;
    return size * ::sysconf(_SC_PAGESIZE);
}

// Runs read in a child (with the address space limit when `limited`) and prints how it ended.
void measure(const char *what, const QString &path, bool limited, const std::function<QString()> &read) {
    const qint64 size = QFileInfo(path).size();
    const qint64 limit = virtualBytes() + 4 * size + 100 * kMB;
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        if (limited) {
            const rlimit as{rlim_t(limit), rlim_t(limit)};
            ::setrlimit(RLIMIT_AS, &as);
        }
        QByteArray outcome;
        try {
            outcome = read().toUtf8();
        } catch (const std::bad_alloc &) {
            outcome = "out of memory (std::bad_alloc left the engine)";
        }
        (void)!::write(pipeEnds[1], outcome.constData(), size_t(outcome.size()));
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    QByteArray outcome;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) outcome.append(buffer, n);
    ::close(pipeEnds[0]);
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    if (WIFSIGNALED(status)) outcome = "signal " + QByteArray::number(WTERMSIG(status)) + " " + outcome;
    const double peakMb = double(usage.ru_maxrss) / 1024.0;
    std::printf("%-34s %7.0f MB  %-9s %7.1f s  peak %7.0f MB (%.2f bytes per byte)  %s\n", what, double(size) / kMB,
                limited ? "limited" : "unlimited", double(timer.elapsed()) / 1000.0, peakMb,
                peakMb * double(kMB) / double(size), outcome.constData());
    std::fflush(stdout);
}

QString readWorkbook(const QString &path) {
    std::unique_ptr<office::sheet::Workbook> book;
    const office::Status st = office::sheet::Workbook::open(path, book);
    if (!st) return QStringLiteral("refused: ") + st.message;
    const office::sheet::Worksheet &sheet = *book->worksheet(1);
    const bool right = sheet.value(65536, 256) == office::sheet::CellValue::number(65536.0 * 256 - 1);
    return QStringLiteral("read, %1 cells%2").arg(sheet.cells().size()).arg(right ? "" : ", last cell WRONG");
}

QString readRtf(const QString &path) {
    office::doc::Application app;
    office::doc::Document *doc = app.documents().add();
    const office::Status st = office::doc::RtfReader::readFile(path, *doc);
    if (!st) return QStringLiteral("refused: ") + st.message;
    return QStringLiteral("read, %1 characters").arg(doc->story().length());
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [RTF_MB]\n", argv[0]);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    const qint64 belowCap = (argc > 2 ? std::atoll(argv[2]) : 256) * kMB;
    if (!dir.exists() && !QDir().mkpath(dir.path())) return 2;

    const QString sheet = dir.filePath(QStringLiteral("full-sheet.xls"));
    QElapsedTimer timer;
    timer.start();
    if (!writeFullSheet(sheet)) return 1;
    std::printf("full sheet written in %.1f s\n", double(timer.restart()) / 1000.0);
    measure("workbook 65,536 x 256 numbers", sheet, true, [&] { return readWorkbook(sheet); });
    measure("workbook 65,536 x 256 numbers", sheet, false, [&] { return readWorkbook(sheet); });
    QFile::remove(sheet);

    const QString giant = dir.filePath(QStringLiteral("one-paragraph-1g.rtf"));
    if (!writeOneParagraph(giant, 1024 * kMB)) return 1;
    std::printf("1 GB paragraph written in %.1f s\n", double(timer.restart()) / 1000.0);
    measure("RTF, one paragraph of 1 GB", giant, true, [&] { return readRtf(giant); });
    QFile::remove(giant);

    const QString smaller = dir.filePath(QStringLiteral("one-paragraph.rtf"));
    if (!writeOneParagraph(smaller, belowCap)) return 1;
    measure("RTF, one paragraph below the cap", smaller, true, [&] { return readRtf(smaller); });
    measure("RTF, one paragraph below the cap", smaller, false, [&] { return readRtf(smaller); });
    QFile::remove(smaller);
    return 0;
}

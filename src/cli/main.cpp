// celltrove-cli: the runs of the desktop program without windows.

#include <celltrove/Version.h>

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

namespace {

int usage(QTextStream &err) {
    err << "Aufruf: celltrove-cli --version\n";
    return 2;
}

}  // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("CellTroveExcel"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && args.first() == QLatin1String("--version")) {
        out << "Celltrove für Excel " << celltrove::kVersionText << " Build " << celltrove::kBuildText << "\n";
        return 0;
    }
    return usage(err);
}

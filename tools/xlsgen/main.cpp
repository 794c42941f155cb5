// Writes a template workbook from its text description:
//   ledgerly_xlsgen DESCRIPTION.txt OUTPUT.xls
#include "export/XlsTemplate.h"
#include "store/CheckedFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <exception>

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: ledgerly_xlsgen DESCRIPTION.txt OUTPUT.xls\n");
        return 2;
    }
    QFile description(args[1]);
    if (!description.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "ledgerly_xlsgen: cannot read %s: %s\n", qPrintable(args[1]),
                     qPrintable(description.errorString()));
        return 1;
    }
    try {
        const QByteArray text = description.readAll();
        TCheckedFile::WriteWhole(args[2], TXlsTemplate::FromDescription(QString::fromUtf8(text)),
                                 TCheckedFile::TAccess::Shared);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "ledgerly_xlsgen: %s\n", e.what());
        return 1;
    }
    return 0;
}

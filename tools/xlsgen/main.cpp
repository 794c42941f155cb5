// Writes a template workbook from its text description:
//   ledgerly_xlsgen DESCRIPTION.txt OUTPUT.xls
#include "export/XlsTemplate.h"
#include "store/KestrelClass.h"

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
    try {
        const QByteArray text = TKestrel::ReadFileText(args[1]);
        TKestrel::WriteFileText(args[2], TXlsTemplate::FromDescription(QString::fromUtf8(text)));
    } catch (const std::exception &e) {
        std::fprintf(stderr, "ledgerly_xlsgen: %s\n", e.what());
        return 1;
    }
    return 0;
}

#pragma once

#include <QByteArray>
#include <QString>

// The compound-file (OLE2) container of .xls workbooks, carried by libgsf.
// Works on whole files held in memory; throws TExportError with a reason.
class TOleStorage {
public:
    // True when the bytes start with the compound-file signature.
    static bool IsCompoundFile(const QByteArray &file);

    // True when the root storage holds a stream of that name (letter case
    // ignored, here and below).
    static bool HasStream(const QByteArray &file, const QString &name);

    // The content of a stream of the root storage.
    static QByteArray ReadStream(const QByteArray &file, const QString &name);

    // A new compound file: every stream and storage of `file` copied (class
    // ids kept), except the root stream `name`, which gets `content`.
    static QByteArray ReplaceStream(const QByteArray &file, const QString &name,
                                    const QByteArray &content);

    // A new compound file that holds one stream; the root storage gets the
    // class id (16 bytes) when one is given.
    static QByteArray CreateWithStream(const QString &name, const QByteArray &content,
                                       const QByteArray &rootClassId = QByteArray());
};

#include "export/OleStorage.h"

#include "export/ExportTypes.h"

#include <QCoreApplication>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>

#include <memory>

namespace {

struct TUnref {
    void operator()(gpointer object) const {
        if (object)
            g_object_unref(object);
    }
};
template <typename T> using TGPtr = std::unique_ptr<T, TUnref>;

QString TakeError(GError *error) {
    const QString text = error ? QString::fromUtf8(error->message)
                               : QCoreApplication::translate("TOleStorage", "unknown error");
    if (error)
        g_error_free(error);
    return text;
}

// Opens the bytes (which must outlive the result) as a compound file.
TGPtr<GsfInfile> OpenInfile(const QByteArray &file) {
    TGPtr<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8 *>(file.constData()),
                                               file.size(), FALSE));
    GError *error = nullptr;
    TGPtr<GsfInfile> infile(gsf_infile_msole_new(input.get(), &error));
    if (!infile)
        throw TExportError(QCoreApplication::translate(
                               "TOleStorage", "The file is not an Excel 97-2003 workbook (%1).")
                               .arg(TakeError(error)));
    return infile;
}

void Write(GsfOutput *output, const guint8 *data, size_t size) {
    if (size > 0 && !gsf_output_write(output, size, data))
        throw TExportError(
            QCoreApplication::translate("TOleStorage", "Cannot write the workbook container."));
}

void Close(GsfOutput *output) {
    if (!gsf_output_close(output)) {
        const GError *error = gsf_output_error(output);
        throw TExportError(
            QCoreApplication::translate("TOleStorage", "Cannot write the workbook container (%1).")
                .arg(error ? QString::fromUtf8(error->message) : QString()));
    }
}

bool IsStorage(GsfInput *child) {
    return GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0;
}

void CopyClassId(GsfInfile *from, GsfOutfile *to) {
    guint8 clsid[16] = {};
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(from), clsid))
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(to), clsid);
}

void CopyStream(GsfInput *from, GsfOutput *to) {
    gsf_off_t left = gsf_input_size(from);
    while (left > 0) {
        const size_t chunk = static_cast<size_t>(std::min<gsf_off_t>(left, 65536));
        const guint8 *data = gsf_input_read(from, chunk, nullptr);
        if (!data)
            throw TExportError(QCoreApplication::translate(
                "TOleStorage", "The template workbook is damaged: a stream of "
                               "its container cannot be read."));
        Write(to, data, chunk);
        left -= chunk;
    }
}

// Copies the children of `from` into `to`; at the root (`replaceName` set)
// the stream of that name gets `content` instead of its old bytes.
void CopyStorage(GsfInfile *from, GsfOutfile *to, const char *replaceName,
                 const QByteArray *content) {
    const int count = gsf_infile_num_children(from);
    for (int i = 0; i < count; ++i) {
        const char *name = gsf_infile_name_by_index(from, i);
        TGPtr<GsfInput> child(gsf_infile_child_by_index(from, i));
        if (!child || !name)
            throw TExportError(QCoreApplication::translate(
                "TOleStorage", "The template workbook is damaged: an entry of "
                               "its container cannot be read."));
        const bool storage = IsStorage(child.get());
        TGPtr<GsfOutput> out(gsf_outfile_new_child(to, name, storage));
        if (!out)
            throw TExportError(
                QCoreApplication::translate("TOleStorage", "Cannot write the workbook container."));
        if (storage) {
            CopyClassId(GSF_INFILE(child.get()), GSF_OUTFILE(out.get()));
            CopyStorage(GSF_INFILE(child.get()), GSF_OUTFILE(out.get()), nullptr, nullptr);
        } else if (replaceName && qstricmp(name, replaceName) == 0) {
            Write(out.get(), reinterpret_cast<const guint8 *>(content->constData()),
                  content->size());
        } else {
            CopyStream(child.get(), out.get());
        }
        Close(out.get());
    }
}

QByteArray FinishMemory(GsfOutfile *outfile, GsfOutput *sink) {
    Close(GSF_OUTPUT(outfile)); // closes the sink as well
    if (!gsf_output_is_closed(sink))
        Close(sink);
    const guint8 *bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
    return QByteArray(reinterpret_cast<const char *>(bytes), gsf_output_size(sink));
}

// The child of the root storage named `name`, letter case ignored (as Excel
// reads stream names); null when there is none.
GsfInput *RootChild(GsfInfile *infile, const QString &name) {
    const int count = gsf_infile_num_children(infile);
    for (int i = 0; i < count; ++i) {
        const char *childName = gsf_infile_name_by_index(infile, i);
        if (childName && QString::fromUtf8(childName).compare(name, Qt::CaseInsensitive) == 0)
            return gsf_infile_child_by_index(infile, i);
    }
    return nullptr;
}

} // namespace

bool TOleStorage::IsCompoundFile(const QByteArray &file) {
    return file.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1"));
}

bool TOleStorage::HasStream(const QByteArray &file, const QString &name) {
    TGPtr<GsfInfile> infile = OpenInfile(file);
    TGPtr<GsfInput> child(RootChild(infile.get(), name));
    return child && !IsStorage(child.get());
}

QByteArray TOleStorage::ReadStream(const QByteArray &file, const QString &name) {
    TGPtr<GsfInfile> infile = OpenInfile(file);
    TGPtr<GsfInput> child(RootChild(infile.get(), name));
    if (!child || IsStorage(child.get()))
        throw TExportError(
            QCoreApplication::translate("TOleStorage", "The file has no \"%1\" stream.").arg(name));
    const gsf_off_t size = gsf_input_size(child.get());
    QByteArray data;
    data.resize(size);
    if (size > 0 && !gsf_input_read(child.get(), size, reinterpret_cast<guint8 *>(data.data())))
        throw TExportError(
            QCoreApplication::translate("TOleStorage", "The \"%1\" stream cannot be read.")
                .arg(name));
    return data;
}

QByteArray TOleStorage::ReplaceStream(const QByteArray &file, const QString &name,
                                      const QByteArray &content) {
    TGPtr<GsfInfile> infile = OpenInfile(file);
    TGPtr<GsfOutput> sink(gsf_output_memory_new());
    TGPtr<GsfOutfile> outfile(gsf_outfile_msole_new(sink.get()));
    CopyClassId(infile.get(), outfile.get());
    const QByteArray utf8Name = name.toUtf8();
    CopyStorage(infile.get(), outfile.get(), utf8Name.constData(), &content);
    return FinishMemory(outfile.get(), sink.get());
}

QByteArray TOleStorage::CreateWithStream(const QString &name, const QByteArray &content,
                                         const QByteArray &rootClassId) {
    TGPtr<GsfOutput> sink(gsf_output_memory_new());
    TGPtr<GsfOutfile> outfile(gsf_outfile_msole_new(sink.get()));
    if (rootClassId.size() == 16)
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(outfile.get()),
                                       reinterpret_cast<const guint8 *>(rootClassId.constData()));
    TGPtr<GsfOutput> stream(gsf_outfile_new_child(outfile.get(), name.toUtf8().constData(), FALSE));
    if (!stream)
        throw TExportError(
            QCoreApplication::translate("TOleStorage", "Cannot write the workbook container."));
    Write(stream.get(), reinterpret_cast<const guint8 *>(content.constData()), content.size());
    Close(stream.get());
    return FinishMemory(outfile.get(), sink.get());
}

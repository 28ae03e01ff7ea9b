// RTFD: the folder form and the flat form (the folder serialised into one blob).
//
// Flat layout, all integers 32-bit little-endian:
//   "rtfd", 0, then the folder as a directory record.
//   directory record: 3, count N, N names, N value sizes (in bytes; not needed to read),
//                     then N value records.
//   data record:      1, one byte string.
//   byte string:      length, bytes; or 0x80000000, length, padding, padding bytes, bytes.
// A file is a directory record whose entry ".." holds its bytes, beside the entries
// "__@PreferredName@__" and "__@UTF8PreferredName@__" with its name; a data record in
// place of the file's directory record is read as the file's bytes too. This follows the
// publicly described layout of serialised file folders; since no reference blob was at
// hand to check it against, the reader is lenient and stops quietly at anything it does
// not expect (the text then still reads, without the attachments it could not find).
#include "platform/text/rtf.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QFile>
#include <QHash>
#include <QtEndian>

namespace {

const QByteArray TextFileName = "TXT.rtf";
const QByteArray PreferredName = "__@PreferredName@__";
const QByteArray UTF8PreferredName = "__@UTF8PreferredName@__";
constexpr int MaxFolderDepth = 4;

// Folder entries may name files only within the folder.
bool isPlainFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && name != QLatin1String(".")
        && name != QLatin1String("..");
}

void putU32(QByteArray &out, quint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putString(QByteArray &out, const QByteArray &s)
{
    putU32(out, quint32(s.size()));
    out += s;
}

QByteArray dataRecord(const QByteArray &bytes)
{
    QByteArray r;
    putU32(r, 1);
    putString(r, bytes);
    return r;
}

QByteArray directoryRecord(const QList<QByteArray> &names, const QList<QByteArray> &values)
{
    QByteArray r;
    putU32(r, 3);
    putU32(r, quint32(names.size()));
    for (const auto &n : names)
        putString(r, n);
    for (const auto &v : values)
        putU32(r, quint32(v.size()));
    for (const auto &v : values)
        r += v;
    return r;
}

QByteArray fileRecord(const QString &name, const QByteArray &contents)
{
    return directoryRecord({"..", PreferredName, UTF8PreferredName},
                           {dataRecord(contents), dataRecord(name.toLatin1()), dataRecord(name.toUtf8())});
}

class FlatReader {
public:
    explicit FlatReader(const QByteArray &data) : m_data(data) {}

    // Reads the folder's files by name; false when the blob is not a flat RTFD.
    bool read(QHash<QString, QByteArray> *files)
    {
        if (!m_data.startsWith("rtfd"))
            return false;
        m_pos = 4;
        quint32 zero, type;
        if (!u32(&zero) || !u32(&type) || type != 3)
            return false;
        readDirectory(files, 0);
        return files->contains(QString::fromLatin1(TextFileName));
    }

private:
    bool u32(quint32 *v)
    {
        if (m_data.size() - m_pos < 4)
            return false;
        *v = qFromLittleEndian<quint32>(m_data.constData() + m_pos);
        m_pos += 4;
        return true;
    }

    bool string(QByteArray *s)
    {
        quint32 length;
        if (!u32(&length))
            return false;
        if (length == 0x80000000u) {
            quint32 padding;
            if (!u32(&length) || !u32(&padding) || padding > quint64(m_data.size() - m_pos))
                return false;
            m_pos += padding;
        }
        if (length > quint64(m_data.size() - m_pos))
            return false;
        *s = m_data.mid(m_pos, length);
        m_pos += length;
        return true;
    }

    // A value record: a file's bytes (data, or a file directory) or a sub-folder, whose
    // files are not part of an RTFD and are skipped.
    bool readValue(QByteArray *bytes, QHash<QString, QByteArray> *subFolder, int depth)
    {
        quint32 type;
        if (!u32(&type))
            return false;
        if (type == 1)
            return string(bytes);
        if (type != 3 || depth >= MaxFolderDepth)
            return false;
        return readDirectory(subFolder, depth + 1, bytes);
    }

    // Reads a directory record after its type; a file directory gives its bytes in fileBytes.
    bool readDirectory(QHash<QString, QByteArray> *files, int depth, QByteArray *fileBytes = nullptr)
    {
        quint32 count;
        if (!u32(&count) || count > quint64(m_data.size() - m_pos) / 8)
            return false;
        QList<QByteArray> names;
        for (quint32 i = 0; i < count; ++i) {
            QByteArray name;
            if (!string(&name))
                return false;
            names.append(name);
        }
        if (qint64(count) * 4 > m_data.size() - m_pos)
            return false;
        m_pos += qsizetype(count) * 4;
        for (const QByteArray &name : names) {
            QByteArray bytes;
            QHash<QString, QByteArray> nested;
            if (!readValue(&bytes, &nested, depth))
                return false;
            if (name == "..") {
                if (fileBytes)
                    *fileBytes = bytes;
            } else if (name != "." && name != PreferredName && name != UTF8PreferredName) {
                QString fileName = QString::fromUtf8(name);
                if (isPlainFileName(fileName))
                    files->insert(fileName, bytes);
            }
        }
        return true;
    }

    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

std::optional<AttributedString> textFromFiles(const QHash<QString, QByteArray> &files)
{
    auto it = files.constFind(QString::fromLatin1(TextFileName));
    if (it == files.constEnd())
        return std::nullopt;
    return attributedStringWithRTF(*it, [&files](const QString &name) -> std::optional<QByteArray> {
        auto f = files.constFind(name);
        return f == files.constEnd() ? std::nullopt : std::optional<QByteArray>(*f);
    });
}

} // namespace

QByteArray RTFDFromRange(const AttributedString &text, TextRange range)
{
    QList<TextAttachment> files;
    QByteArray rtf = RTFWithAttachments(text, range, &files);
    QList<QByteArray> names{TextFileName};
    QList<QByteArray> values{fileRecord(QString::fromLatin1(TextFileName), rtf)};
    for (const auto &f : files) {
        names.append(f.fileName.toUtf8());
        values.append(fileRecord(f.fileName, f.contents));
    }
    QByteArray out = "rtfd";
    putU32(out, 0);
    return out + directoryRecord(names, values);
}

std::optional<AttributedString> attributedStringWithRTFD(const QByteArray &flat)
{
    QHash<QString, QByteArray> files;
    if (!FlatReader(flat).read(&files))
        return std::nullopt;
    return textFromFiles(files);
}

bool writeRTFDDirectory(const AttributedString &text, const QString &path)
{
    QList<TextAttachment> files;
    QByteArray rtf = RTFWithAttachments(text, {0, text.length()}, &files);
    files.prepend({QString::fromLatin1(TextFileName), rtf});
    // The folder is written complete beside its place and then renamed into it, so a failed
    // write leaves the previous folder as it was.
    const QFileInfo target(path);
    QTemporaryDir staging(target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
    if (!staging.isValid())
        return false;
    const QDir dir(staging.path());
    for (const auto &f : files) {
        QFile file(dir.filePath(f.fileName));
        if (!file.open(QIODevice::NewOnly) || file.write(f.contents) != f.contents.size() || !file.flush())
            return false;
    }
    const QString previous = staging.path() + QStringLiteral(".old");
    const bool replacing = target.exists() || target.isSymLink();
    if (replacing && !QDir().rename(path, previous))
        return false;
    if (!QDir().rename(staging.path(), path)) {
        if (replacing)
            QDir().rename(previous, path);
        return false;
    }
    staging.setAutoRemove(false);
    if (replacing && !QDir(previous).removeRecursively())
        QFile::remove(previous);
    return true;
}

std::optional<AttributedString> readRTFDDirectory(const QString &path)
{
    QDir dir(path);
    // Symbolic links are never followed: an attachment linking to a file elsewhere would
    // embed that file in the document and write it out again on every save.
    auto isOwnFile = [&dir](const QString &name) {
        const QFileInfo info(dir.filePath(name));
        return !info.isSymLink() && info.isFile();
    };
    QFile text(dir.filePath(QString::fromLatin1(TextFileName)));
    if (!isOwnFile(QString::fromLatin1(TextFileName)) || !text.open(QIODevice::ReadOnly))
        return std::nullopt;
    return attributedStringWithRTF(text.readAll(), [&dir, &isOwnFile](const QString &name) -> std::optional<QByteArray> {
        if (!isPlainFileName(name) || !isOwnFile(name))
            return std::nullopt;
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    });
}

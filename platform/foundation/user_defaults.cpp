// UserDefaults: lookups, merging with the file on synchronize, atomic writes and keeping unreadable files.
#include "platform/foundation/user_defaults.h"

#include "platform/foundation/file_writing.h"
#include "platform/foundation/plist_xml_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutexLocker>

#include <memory>

namespace {

// How long a writer waits for another process's write to the same file.
constexpr int FileLockTimeoutMs = 2000;

} // namespace

UserDefaults::UserDefaults(const QString &filePath, Access access) : m_filePath(filePath), m_access(access)
{
    PropertyList values;
    if (readFile(&values) == FileState::Read)
        m_stored = values;
}

UserDefaults::~UserDefaults()
{
    if (!m_pending.isEmpty() && m_access == Access::ReadWrite)
        synchronize();
}

UserDefaults &UserDefaults::standardUserDefaults()
{
    static UserDefaults defaults(standardFilePath());
    return defaults;
}

QString UserDefaults::standardFilePath()
{
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (folder.isEmpty() || QDir::isRelativePath(folder))
        folder = QDir::homePath() + QStringLiteral("/.config");
    return folder + QStringLiteral("/kestrum.Vekanto.plist");
}

void UserDefaults::registerDefaults(const PropertyList &dictionary)
{
    QMutexLocker lock(&m_mutex);
    for (const auto &[key, value] : dictionary.entries())
        m_registered.insert(key, value);
}

PropertyList UserDefaults::objectForKey(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_stored.contains(key) ? m_stored.value(key) : m_registered.value(key);
}

void UserDefaults::setObject(const PropertyList &value, const QString &key)
{
    QMutexLocker lock(&m_mutex);
    m_stored.insert(key, value);
    m_pending.insert(key);
}

void UserDefaults::removeObjectForKey(const QString &key)
{
    setObject(PropertyList(), key);
}

void UserDefaults::updateObjectForKey(const QString &key, const std::function<void(PropertyList &)> &change)
{
    QMutexLocker lock(&m_mutex);
    PropertyList value = m_stored.contains(key) ? m_stored.value(key) : m_registered.value(key);
    change(value);
    m_stored.insert(key, value);
    m_pending.insert(key);
}

QString UserDefaults::stringForKey(const QString &key) const
{
    const PropertyList value = objectForKey(key);
    return value.isString() || value.isNumber() ? value.stringValue() : QString();
}

PropertyList UserDefaults::arrayForKey(const QString &key) const
{
    PropertyList value = objectForKey(key);
    return value.isArray() ? value : PropertyList();
}

PropertyList UserDefaults::dictionaryForKey(const QString &key) const
{
    PropertyList value = objectForKey(key);
    return value.isDictionary() ? value : PropertyList();
}

PropertyList UserDefaults::dictionaryRepresentation() const
{
    QMutexLocker lock(&m_mutex);
    PropertyList all = m_registered;
    for (const auto &[key, value] : m_stored.entries())
        all.insert(key, value);
    return all;
}

bool UserDefaults::synchronize()
{
    QMutexLocker lock(&m_mutex);
    const bool writing = m_access == Access::ReadWrite && !m_pending.isEmpty();
    // Keeps another process from writing between our read and our write.
    std::unique_ptr<QLockFile> fileLock;
    if (writing) {
        QDir().mkpath(QFileInfo(m_filePath).absolutePath());
        fileLock = std::make_unique<QLockFile>(m_filePath + QStringLiteral(".lock"));
        fileLock->tryLock(FileLockTimeoutMs);
    }

    PropertyList onDisk = PropertyList::dictionary();
    const FileState state = readFile(&onDisk);
    // An unreadable file has been set aside: what we hold is the best account there is.
    PropertyList merged = state == FileState::Corrupt ? m_stored : onDisk;
    for (const QString &key : std::as_const(m_pending))
        merged.insert(key, m_stored.value(key));
    m_stored = merged;

    if (m_access == Access::ReadOnly || (m_pending.isEmpty() && state != FileState::Corrupt))
        return true;
    if (!writeFile(m_stored))
        return false;
    m_pending.clear();
    return true;
}

UserDefaults::FileState UserDefaults::readFile(PropertyList *values)
{
    QFile file(m_filePath);
    if (!file.exists())
        return FileState::Missing;
    if (!file.open(QIODevice::ReadOnly)) {
        keepCorruptFile(file.errorString());
        return FileState::Corrupt;
    }
    const QByteArray data = file.readAll();
    file.close();
    if (data.isEmpty())
        return FileState::Missing;
    PropertyListError error;
    const PropertyList read = propertyListFromXml(data, &error);
    if (!read.isDictionary()) {
        keepCorruptFile(read.isAbsent() ? error.toString() : QStringLiteral("it does not hold a dictionary"));
        return FileState::Corrupt;
    }
    *values = read;
    return FileState::Read;
}

void UserDefaults::keepCorruptFile(const QString &reason)
{
    const QByteArray path = QDir::toNativeSeparators(m_filePath).toLocal8Bit();
    if (m_access == Access::ReadOnly) {
        qWarning("Vekanto: the preferences file %s cannot be read (%s); using the default settings.", path.constData(),
                 qPrintable(reason));
        return;
    }
    QString backup = m_filePath + QStringLiteral(".corrupt");
    for (int n = 2; QFileInfo::exists(backup); ++n)
        backup = m_filePath + QStringLiteral(".corrupt-%1").arg(n);
    if (QFile::rename(m_filePath, backup)) {
        qWarning("Vekanto: the preferences file %s cannot be read (%s); it was kept as %s and the default settings "
                 "are used.",
                 path.constData(), qPrintable(reason), qPrintable(QDir::toNativeSeparators(backup)));
    } else {
        qWarning("Vekanto: the preferences file %s cannot be read (%s) nor set aside; it is left untouched and "
                 "settings are not saved.",
                 path.constData(), qPrintable(reason));
        m_writeBlocked = true;
    }
}

bool UserDefaults::writeFile(const PropertyList &values)
{
    if (m_writeBlocked)
        return false;
    QString error;
    const QByteArray data = xmlPropertyListData(values, &error);
    if (data.isEmpty()) {
        qWarning("Vekanto: the preferences cannot be written: %s", qPrintable(error));
        return false;
    }
    if (!writeWholeFile(m_filePath, data, &error)) {
        qWarning("Vekanto: the preferences cannot be written: %s", qPrintable(error));
        return false;
    }
    return true;
}

#include "plugins/hosts/plugin_library.h"

#include "platform/foundation/plist_text_format.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <dlfcn.h>

namespace {

QString pluginFolderHolding(const QString &file)
{
    const QString configured = qEnvironmentVariable("VEKANTO_PLUGIN_DIR");
    if (!configured.isEmpty())
        return configured;
    const QString own = QCoreApplication::applicationDirPath();
    if (QFile::exists(own + QLatin1Char('/') + file))
        return own;
    return QDir::cleanPath(own + QStringLiteral("/" VEK_PLUGINS_FROM_HOSTS));
}

} // namespace

PlugInLibrary::PlugInLibrary(const QString &name)
{
    const QString folder = pluginFolderHolding(name + QStringLiteral(".plist"));
    QFile file(folder + QLatin1Char('/') + name + QStringLiteral(".plist"));
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("The plug-in registration %1 cannot be read.").arg(file.fileName());
        return;
    }
    m_registration = propertyListFromText(file.readAll());
    m_registrationPath = file.fileName();
    const QString library = folder + QLatin1Char('/') + m_registration.value(QStringLiteral("Library")).stringValue();
    m_handle = dlopen(QFile::encodeName(library).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        m_error = QStringLiteral("The plug-in %1 cannot be loaded: %2").arg(library, QString::fromLocal8Bit(dlerror()));
}

PlugInLibrary::~PlugInLibrary()
{
    // The library stays loaded: Qt may still hold objects it made (fonts, images).
}

void *PlugInLibrary::symbol(const char *name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

void *PlugInLibrary::instance(const char *type, const char *interfaceID)
{
    if (!m_handle)
        return nullptr;
    const QString factoryID = m_registration.value(QStringLiteral("CFPlugInTypes"))
                                  .value(QString::fromLatin1(type))
                                  .at(0)
                                  .stringValue();
    const QString function =
        m_registration.value(QStringLiteral("CFPlugInFactories")).value(factoryID).stringValue();
    auto factory = reinterpret_cast<VekPlugInFactoryFunction>(symbol(function.toLatin1().constData()));
    const auto typeBytes = uuidFromString(type);
    const auto interfaceBytes = uuidFromString(interfaceID);
    if (!factory || !typeBytes || !interfaceBytes) {
        m_error = QStringLiteral("The plug-in registration %1 names no factory for its type.").arg(m_registrationPath);
        return nullptr;
    }
    void *made = factory(nullptr, &*typeBytes);
    if (!made) {
        m_error = QStringLiteral("The plug-in's factory made no instance.");
        return nullptr;
    }
    auto *unknown = *static_cast<VekUnknownTable **>(made);
    void *queried = nullptr;
    const VekResult result = unknown->QueryInterface(made, *interfaceBytes, &queried);
    unknown->Release(made);
    if (result != VEK_S_OK || !queried) {
        m_error = QStringLiteral("The plug-in does not offer the interface it is registered for.");
        return nullptr;
    }
    return queried;
}

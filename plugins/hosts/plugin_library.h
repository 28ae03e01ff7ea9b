// Loading one of our plug-ins as a host does: its registration file (a text property list
// naming the library, and the factory function of each factory identifier and type), the
// library, and an instance of the type from the registered factory.
#pragma once

#include "platform/foundation/property_list.h"
#include "plugins/shim/plugin_binding.h"

#include <QString>

class PlugInLibrary {
public:
    // The registration file `name`.plist in the plug-in folder: $VEKANTO_PLUGIN_DIR, else
    // the host's own folder when it holds it (a build tree), else the installed folder
    // beside the host's.
    explicit PlugInLibrary(const QString &name);
    ~PlugInLibrary();
    PlugInLibrary(const PlugInLibrary &) = delete;
    PlugInLibrary &operator=(const PlugInLibrary &) = delete;

    // Why loading failed; empty when the library is loaded.
    const QString &error() const { return m_error; }
    // A new instance of `type` from its registered factory, queried for `interfaceID`; the
    // factory's own reference is released, so the caller holds one. Null with error() set.
    void *instance(const char *type, const char *interfaceID);
    // A function the library exports; null when it has none.
    void *symbol(const char *name) const;

private:
    void *m_handle = nullptr;
    QString m_registrationPath;
    PropertyList m_registration;
    QString m_error;
};

// The installed document shell, or the built-in one.
#include "app/document/document_shell_services.h"

namespace {

DocumentShellServices *installedServices = nullptr;

} // namespace

DocumentShellServices &documentShellServices()
{
    static DocumentShellServices builtIn;
    return installedServices ? *installedServices : builtIn;
}

void setDocumentShellServices(DocumentShellServices *services)
{
    installedServices = services;
}

/* The plug-in host as a plain C program: no Qt anywhere in the process but the plug-ins'. */
#include "tests/plugins/hosts/plugin_host.h"

int main(int argc, char **argv)
{
    return run_plugin_host(argc, argv);
}

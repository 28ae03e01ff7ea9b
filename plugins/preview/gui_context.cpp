#include "plugins/preview/gui_context.h"

#include <QGuiApplication>

#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace {

// Holds the plug-in's own application. The thread that makes it must be the first of the
// process to use Qt's threads, so that Qt takes it for the main thread; it then waits for
// the rest of the process's life and never touches the application again.
void runOwnApplication(std::promise<void> *made)
{
    static int argc = 3;
    static char name[] = "VekantoPreview", option[] = "-platform", platform[] = "offscreen";
    static char *argv[] = {name, option, platform, nullptr};
    new QGuiApplication(argc, argv);
    made->set_value();
    std::mutex never;
    std::condition_variable wait;
    std::unique_lock lock(never);
    wait.wait(lock, [] { return false; });
}

} // namespace

GuiContext ensureGuiContext()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (QCoreApplication::instance())
            return;
        std::promise<void> made;
        std::thread(runOwnApplication, &made).detach();
        made.get_future().wait();
    });
    return QCoreApplication::instance()->inherits("QGuiApplication") ? GuiContext::Ready : GuiContext::CoreOnly;
}

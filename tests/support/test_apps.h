// The application object a test needs (event loop, fonts, widgets), made once on first use.
//
// Each kind has its own header because the test programs link different Qt modules; all
// of them reuse an application another test already made, so test programs may mix them.
#pragma once

#include <QCoreApplication>

namespace test_apps_detail {
inline int argc = 1;
inline char name[] = "vekanto-test";
inline char *argv[] = {name, nullptr};
} // namespace test_apps_detail

template <typename App>
App &ensureApp()
{
    if (auto *existing = qobject_cast<App *>(QCoreApplication::instance()))
        return *existing;
    static App *app = new App(test_apps_detail::argc, test_apps_detail::argv);
    return *app;
}

inline QCoreApplication &ensureCoreApp()
{
    if (QCoreApplication *existing = QCoreApplication::instance())
        return *existing;
    return ensureApp<QCoreApplication>();
}

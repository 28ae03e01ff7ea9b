// The QGuiApplication that font and PDF tests need, made once on first use (named apart
// from other folders' testApp, since test programs may include several of these headers).
#pragma once

#include <QGuiApplication>

// An application another helper already made is used as it is.
inline QGuiApplication &pdfTestApp()
{
    if (auto *existing = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "test_pdf";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    return app;
}

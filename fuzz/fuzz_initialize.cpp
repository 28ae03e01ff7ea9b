// The set-up every fuzz target runs once before its first input, under libFuzzer and in the
// replay program alike: the readers reach fonts, images and the clipboard, which need the
// application object, and fuzzing runs without a display.
#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

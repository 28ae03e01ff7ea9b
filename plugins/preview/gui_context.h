// The Qt GUI application that drawing text needs (fonts come from its platform), for a
// plug-in that any program may load: a Qt GUI program, a Qt program without GUI, or a
// program that knows nothing of Qt.
#pragma once

enum class GuiContext {
    Ready,       // the process has a Qt GUI application: drawing may start on any thread
    CoreOnly,    // the host made a Qt application without GUI; a second one cannot be made
};

// Makes sure the process has a Qt GUI application before the plug-in draws. The host's is
// used when it made one. When the host made none, the plug-in makes one on the off-screen
// platform, on a thread of its own that it keeps for the life of the process (so the
// application never outlives the thread it belongs to, whatever threads the host calls
// from and ends). Call it before anything else of Qt runs in a generation.
GuiContext ensureGuiContext();

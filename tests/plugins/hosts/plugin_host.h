/* A host of the plug-ins written in plain C: it loads each library with dlopen, as a
   program that knows nothing of Qt does, and asks for thumbnails, previews and metadata
   from several threads at once. The same host also runs inside Qt applications (see
   qt_app_host.cpp), so that each kind of host is tried on the same work. */
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

/* plugin_host PLUGIN_DIR THREADS ROUNDS OUT_DIR FILE...
   Every thread asks, ROUNDS times, for the thumbnail (128 pixels), the preview and the
   metadata of every FILE. A thumbnail must be PNG and equal for every thread and round, a
   preview must be a whole PDF, and every import must succeed. For each FILE number i,
   OUT_DIR receives i.png (the thumbnail) and i.txt (the title and authors imported).
   Returns 0 when all held, else 1 with the first fault on standard error. */
int run_plugin_host(int argc, char **argv);

#ifdef __cplusplus
}
#endif

/* extension_plugin.c: the plug-in library of the test images. It extends the built-in
 * Dictionary with a method and a property whose routines count the object's entries, so an
 * image that calls them shows that the plug-in's code ran with its object. */
#ifdef _WIN32
#define QV_PLUGIN_LIBRARY
#define QV_PLUGIN_EXPORT __declspec(dllexport)
#else
#define QV_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif
#include "sdk/quaver_plugin.h"

#include <stddef.h>

static __typeof__(&dictionaryCount) g_count;

static int32_t tally(RuntimeObject* self, int32_t extra) { return g_count(self) * 100 + extra; }

static int32_t size_get(RuntimeObject* self, int32_t parameter)
{
    (void)parameter;
    return g_count(self);
}

static const QvPluginProperty kProperties[] = {
    {"Size", "Integer", (void*)&size_get, QV_PLUGIN_NONE, QV_PLUGIN_NO_FIELD},
};
static const QvPluginMethod kMethods[] = {
    {"Tally(extra As Integer) As Integer", (void*)&tally, QV_PLUGIN_NONE},
};
static const QvPluginClass kDictionaryExtension = {
    "Dictionary", NULL, 0, NULL, NULL, kProperties, 1, kMethods, 1, NULL, 0, NULL, 0, NULL,
};

QV_PLUGIN_EXPORT void QuavPluginMain(QvPluginResolver resolve)
{
    __typeof__(&PluginRegisterClassExtension) extend =
        (__typeof__(&PluginRegisterClassExtension))resolve("PluginRegisterClassExtension");
    g_count = (__typeof__(&dictionaryCount))resolve("dictionaryCount");
    if (extend && g_count)
        extend(&kDictionaryExtension);
}

// A shared library with one export, built twice with different values, so that a test can
// tell which file the loader picked.

extern "C" __attribute__((visibility("default"))) int ZarvoTestPluginValue()
{
    return ZARVO_TEST_PLUGIN_VALUE;
}

// A shared library without Qt plug-in metadata.
extern "C" int tp_not_plugin_answer()
{
    return 42;
}

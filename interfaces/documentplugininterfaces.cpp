#include "documentplugininterfaces.h"

// Out of line so that the vtables and type information of the two QObject
// interfaces are emitted here only, next to their meta-object code.
IDocumentLoader::~IDocumentLoader() = default;
IDocumentImageExporter::~IDocumentImageExporter() = default;

#pragma once
// Creation of elements by type: the built-in kinds and the kinds other libraries add
// through factories registered once at start-up.

#include <string>

#include "graphics/GraphicElement.h"
#include "tarn/Pointer.h"

namespace graphics {

class IGraphicElementFactory : public virtual tarn::IBase {
public:
    // A new element, or none when the factory does not know the name.
    virtual tarn::P<CGraphicElement> Create(const std::wstring& typeName) = 0;
};

// Appends to the process-wide list of factories.
void RegisterFactory(const tarn::P<IGraphicElementFactory>& factory);
// Removes a factory again (for tests and tools that register temporarily).
void UnregisterFactory(const tarn::P<IGraphicElementFactory>& factory);

// A built-in kind when the name is one of the element tags, else the first factory that
// knows it; raises CWXError when nothing creates it.
tarn::P<CGraphicElement> NewInstance(const std::wstring& typeName);
tarn::P<CGraphicElement> NewInstance(int type);

}  // namespace graphics

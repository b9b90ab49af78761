#pragma once
// The element kinds of menu content: action buttons, skin buttons and animations, registered
// in the order the player uses for as long as this object lives.

#include <string>
#include <vector>

#include "graphics/GraphicElementFactory.h"
#include "tarn/Pointer.h"

namespace lum::data {

class CElementFactories {
public:
    CElementFactories();
    ~CElementFactories();
    CElementFactories(const CElementFactories&) = delete;
    CElementFactories& operator=(const CElementFactories&) = delete;

    // The type names these factories make elements for, as authors write them.
    static std::vector<std::wstring> TypeNames();

private:
    std::vector<tarn::P<graphics::IGraphicElementFactory>> m_factories;
};

}  // namespace lum::data

#pragma once
// Receives the change notices of elements.

#include "tarn/Object.h"

namespace graphics {

class CGraphicBase;

class IGraphicListener : public tarn::CObject {
public:
    virtual void OnGraphicChanged(CGraphicBase& element) = 0;
};

}  // namespace graphics

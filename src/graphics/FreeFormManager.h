#pragma once
// The process-wide registry of free forms, holding the four built-in outlines.

#include <map>
#include <string>
#include <vector>

#include "graphics/FreeForm.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace graphics {

class CFreeFormManager : public tarn::CObject {
public:
    // Created on first use with star, trapeze, triangle and parallelogram.
    static tarn::P<CFreeFormManager> Get();

    void Register(const tarn::P<CFreeForm>& form);
    // A new instance of the free form registered under name, or none.
    tarn::P<CFreeForm> Find(const std::wstring& name) const;
    // The registered names in registration order.
    const std::vector<std::wstring>& GetNames() const { return m_order; }

private:
    std::map<std::wstring, tarn::P<CFreeForm>> m_forms;
    std::vector<std::wstring> m_order;
};

}  // namespace graphics

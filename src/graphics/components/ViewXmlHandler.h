#pragma once
// Lets dialog resources place a view: class name "CView".

#include <wx/xrc/xmlres.h>

namespace graphics::components {

class CViewXmlHandler : public wxXmlResourceHandler {
public:
    wxObject* DoCreateResource() override;
    bool CanHandle(wxXmlNode* node) override;

private:
    wxDECLARE_DYNAMIC_CLASS(CViewXmlHandler);
};

}  // namespace graphics::components

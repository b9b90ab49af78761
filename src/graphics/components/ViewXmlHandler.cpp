#include "graphics/components/ViewXmlHandler.h"

#include "graphics/components/View.h"

namespace graphics::components {

wxIMPLEMENT_DYNAMIC_CLASS(CViewXmlHandler, wxXmlResourceHandler);

wxObject* CViewXmlHandler::DoCreateResource() {
    XRC_MAKE_INSTANCE(view, CView)
    view->Create(m_parentAsWindow, GetID(), GetPosition(), GetSize(), wxWANTS_CHARS, GetName());
    view->SetScrollbarMode(0);
    SetupWindow(view);
    return view;
}

bool CViewXmlHandler::CanHandle(wxXmlNode* node) { return IsOfClass(node, "CView"); }

}  // namespace graphics::components

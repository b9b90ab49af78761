#include "graphics/FreeFormManager.h"

#include "tarn/Singleton.h"

namespace graphics {
namespace {

tarn::P<CFreeFormManager> CreateManager() {
    auto manager = tarn::New<CFreeFormManager>();
    manager->Register(tarn::New<CFreeFormStar>());
    manager->Register(tarn::New<CFreeFormTrapeze>());
    manager->Register(tarn::New<CFreeFormTriangle>());
    manager->Register(tarn::New<CFreeFormParallelogram>());
    return manager;
}

}  // namespace

tarn::P<CFreeFormManager> CFreeFormManager::Get() {
    static tarn::TSingletonHolder<CFreeFormManager> holder;
    return holder.Get(&CreateManager);
}

void CFreeFormManager::Register(const tarn::P<CFreeForm>& form) {
    if (!form) return;
    if (m_forms.find(form->GetName()) == m_forms.end()) m_order.push_back(form->GetName());
    m_forms[form->GetName()] = form;
}

tarn::P<CFreeForm> CFreeFormManager::Find(const std::wstring& name) const {
    const auto found = m_forms.find(name);
    return found == m_forms.end() ? nullptr : found->second->NewInstance();
}

}  // namespace graphics

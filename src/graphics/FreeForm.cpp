#include "graphics/FreeForm.h"

#include "graphics/GraphicElementType.h"
#include "graphics/GraphicPoint.h"
#include "tarn/StringLocalizer.h"

namespace graphics {

CFreeForm::CFreeForm(std::wstring name, const std::vector<CDPoint>& outline)
    : m_name(std::move(name)), m_document(tarn::New<CGraphicDocument>()) {
    for (const CDPoint& corner : outline) {
        auto point = tarn::New<CGraphicPoint>();
        point->SetCenter(corner);
        m_document->Add(point);
    }
}

std::vector<CDPoint> CFreeForm::GetPoints() const {
    std::vector<CDPoint> points;
    for (std::size_t i = 0; i < m_document->GetCount(); ++i) {
        const auto element = m_document->GetAt(i);
        if (element->GetType() == GRAPHIC_POINT) points.push_back(element->GetCenter());
    }
    return points;
}

CFreeFormStar::CFreeFormStar()
    : CFreeForm(L"freeform.star", {{0, 117}, {117, 117}, {154, 0}, {191, 117}, {309, 117},
                                   {213, 192}, {250, 312}, {154, 239}, {59, 312}, {94, 192},
                                   {0, 117}}) {}
std::wstring CFreeFormStar::GetDisplayName() const {
    return tarn::Localize(L"CFreeFormStar.Star", L"Star");
}
tarn::P<CFreeForm> CFreeFormStar::NewInstance() const { return tarn::New<CFreeFormStar>(); }

CFreeFormTrapeze::CFreeFormTrapeze()
    : CFreeForm(L"freeform.trapeze", {{-0.6, -1}, {0.6, -1}, {1, 1}, {-1, 1}, {-0.6, -1}}) {}
std::wstring CFreeFormTrapeze::GetDisplayName() const {
    return tarn::Localize(L"CFreeFormTrapeze.Trapeze", L"Trapeze");
}
tarn::P<CFreeForm> CFreeFormTrapeze::NewInstance() const {
    return tarn::New<CFreeFormTrapeze>();
}

CFreeFormTriangle::CFreeFormTriangle()
    : CFreeForm(L"freeform.triangle", {{0, -1}, {1, 1}, {-1, 1}, {0, -1}}) {}
std::wstring CFreeFormTriangle::GetDisplayName() const {
    return tarn::Localize(L"CFreeFormTriangle.Triangle", L"Triangle");
}
tarn::P<CFreeForm> CFreeFormTriangle::NewInstance() const {
    return tarn::New<CFreeFormTriangle>();
}

CFreeFormParallelogram::CFreeFormParallelogram()
    : CFreeForm(L"freeform.parallelogram", {{0, 0}, {0.8, 0}, {1, 1}, {0.2, 1}, {0, 0}}) {}
std::wstring CFreeFormParallelogram::GetDisplayName() const {
    return tarn::Localize(L"CFreeFormParallelogram.Parallelogram", L"Parallelogram");
}
tarn::P<CFreeForm> CFreeFormParallelogram::NewInstance() const {
    return tarn::New<CFreeFormParallelogram>();
}

}  // namespace graphics

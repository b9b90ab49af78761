#include "graphics/GraphicElementFactory.h"

#include <algorithm>
#include <vector>

#include "graphics/GraphicArrow.h"
#include "graphics/GraphicCircle.h"
#include "graphics/GraphicDimension.h"
#include "graphics/GraphicDummy.h"
#include "graphics/GraphicElementType.h"
#include "graphics/GraphicImage.h"
#include "graphics/GraphicLabel.h"
#include "graphics/GraphicLine.h"
#include "graphics/GraphicMirror.h"
#include "graphics/GraphicPaper.h"
#include "graphics/GraphicPoint.h"
#include "graphics/GraphicRectangle.h"
#include "graphics/GraphicShape.h"
#include "graphics/GraphicStateButton.h"
#include "graphics/GraphicTable.h"
#include "graphics/GraphicText.h"
#include "graphics/GraphicTextCircle.h"
#include "tarn/Singleton.h"
#include "wxutil/WXError.h"

namespace graphics {
namespace {

class CFactoryRegistry : public tarn::CObject {
public:
    std::vector<tarn::P<IGraphicElementFactory>> factories;
};

tarn::P<CFactoryRegistry> Registry() {
    static tarn::TSingletonHolder<CFactoryRegistry> holder;
    return holder.Get([] { return tarn::New<CFactoryRegistry>(); });
}

tarn::P<CGraphicElement> NewBuiltIn(int type) {
    switch (type) {
        case GRAPHIC_PAPER: return tarn::New<CGraphicPaper>();
        case GRAPHIC_IMAGE: return tarn::New<CGraphicImage>();
        case GRAPHIC_TEXT: return tarn::New<CGraphicText>();
        case GRAPHIC_TEXT_CIRCLE: return tarn::New<CGraphicTextCircle>();
        case GRAPHIC_TABLE: return tarn::New<CGraphicTable>();
        case GRAPHIC_LINE: return tarn::New<CGraphicLine>();
        case GRAPHIC_POINT: return tarn::New<CGraphicPoint>();
        case GRAPHIC_CIRCLE: return tarn::New<CGraphicCircle>();
        case GRAPHIC_RECTANGLE: return tarn::New<CGraphicRectangle>();
        case GRAPHIC_SHAPE: return tarn::New<CGraphicShape>();
        case GRAPHIC_ARROW: return tarn::New<CGraphicArrow>();
        case GRAPHIC_DIMENSION: return tarn::New<CGraphicDimension>();
        case GRAPHIC_DUMMY: return tarn::New<CGraphicDummy>();
        case GRAPHIC_STATE_BUTTON: return tarn::New<CGraphicStateButton>();
        case GRAPHIC_MIRROR: return tarn::New<CGraphicMirror>();
        case GRAPHIC_LABEL: return tarn::New<CGraphicLabel>();
        default: break;
    }
    throw wxutil::CWXError(wxString("CSheetItemFormat.NewInstance unknwown type"));
}

}  // namespace

void RegisterFactory(const tarn::P<IGraphicElementFactory>& factory) {
    if (factory) Registry()->factories.push_back(factory);
}

void UnregisterFactory(const tarn::P<IGraphicElementFactory>& factory) {
    auto& factories = Registry()->factories;
    const auto found = std::find(factories.begin(), factories.end(), factory);
    if (found != factories.end()) factories.erase(found);
}

tarn::P<CGraphicElement> NewInstance(const std::wstring& typeName) {
    if (IsGraphicTypeName(typeName)) return NewBuiltIn(GraphicTypeFromXml(typeName));
    // A factory may register further factories while asked: ask a copy of the list.
    const auto factories = Registry()->factories;
    for (const auto& factory : factories) {
        if (tarn::P<CGraphicElement> element = factory->Create(typeName)) return element;
    }
    throw wxutil::CWXError(wxString(L"CSheetItemFormat.NewInstance unknwown type: " + typeName));
}

tarn::P<CGraphicElement> NewInstance(int type) {
    GraphicTypeToXml(type);  // raises for values outside the enumeration
    return NewBuiltIn(type);
}

}  // namespace graphics

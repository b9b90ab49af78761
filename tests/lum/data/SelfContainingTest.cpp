// Elements that name themselves inside their own content, through the shared "unique" ids of
// a content file: the loader gives the inner reference an object of its own, so no element
// contains itself and painting ends.

#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include "ContentFile.h"
#include "graphics/GraphicMirror.h"
#include "graphics/GraphicShape.h"
#include "graphics/PaintMatrixDC.h"
#include "lum/data/ElementFactories.h"
#include "lum/data/Product.h"

namespace {

using graphics::CGraphicDocument;
using graphics::CGraphicMirror;
using graphics::CGraphicShape;

const char* kProduct = R"(<?xml version="1.0" encoding="UTF-8"?>
<product title="T"><pages><page name="P0"><document version="1">
  <mirror name="outer" unique="5"><center x="100" y="100"/><size width="120" height="80"/>
    <graphic-document>
      <mirror name="inner" unique="5"><center x="50" y="40"/><size width="60" height="40"/>
        <graphic-document>
          <rectangle name="deepest"><center x="10" y="10"/><size width="20" height="20"/></rectangle>
        </graphic-document>
      </mirror>
    </graphic-document>
  </mirror>
  <mirror name="again" unique="5"/>
  <shape name="form" unique="7" shape="free-form"><center x="300" y="100"/><size width="80" height="80"/>
    <free-form name="freeform.triangle"><graphic-document>
      <shape name="inside" unique="7" shape="free-form"><center x="0" y="0"/><size width="10" height="10"/>
        <free-form name="freeform.triangle"><graphic-document>
          <point><center x="0" y="-1"/></point><point><center x="1" y="1"/></point>
          <point><center x="-1" y="1"/></point>
        </graphic-document></free-form>
      </shape>
      <point><center x="0" y="-1"/></point><point><center x="1" y="1"/></point>
      <point><center x="-1" y="1"/></point>
    </graphic-document></free-form>
  </shape>
</document></page></pages></product>)";

TEST(SelfContainingTest, AnElementNamedInsideItselfGetsAnObjectOfItsOwn) {
    lum::data::CElementFactories factories;
    testsupport::TempFolder folder;
    auto product = tarn::New<lum::data::CProduct>();
    product->Load(wxFileName(lumtest::WriteArchive(folder, "self.lum", {{"product.xml", kProduct}})));
    ASSERT_EQ(product->GetPageCount(), 1u);
    const tarn::P<CGraphicDocument> page = product->GetPage(0)->GetDocument();
    ASSERT_EQ(page->GetCount(), 3u);

    const auto outer = tarn::Cast<CGraphicMirror>(page->GetAt(0));
    ASSERT_TRUE(outer && outer->GetDocument());
    EXPECT_EQ(outer->GetName(), L"outer");
    const auto inner = tarn::Cast<CGraphicMirror>(outer->GetDocument()->GetAt(0));
    ASSERT_TRUE(inner);
    EXPECT_NE(inner.Get(), outer.Get());
    EXPECT_EQ(inner->GetName(), L"inner");
    ASSERT_TRUE(inner->GetDocument());
    EXPECT_EQ(inner->GetDocument()->GetAt(0)->GetName(), L"deepest");
    // Once read, the id is shared as usual.
    EXPECT_EQ(page->GetAt(1).Get(), outer.Get());

    const auto form = tarn::Cast<CGraphicShape>(page->GetAt(2));
    ASSERT_TRUE(form && form->GetFreeForm());
    const auto inside = tarn::Cast<CGraphicShape>(form->GetFreeForm()->GetDocument().GetAt(0));
    ASSERT_TRUE(inside);
    EXPECT_NE(inside.Get(), form.Get());
    EXPECT_EQ(form->GetFreeForm()->GetPoints().size(), 3u);

    // Painting the page ends.
    wxBitmap picture(400, 200, 32);
    {
        wxMemoryDC dc(picture);
        dc.SetBackground(*wxWHITE_BRUSH);
        dc.Clear();
        graphics::CPaintMatrixDC context(dc, wxAffineMatrix2D());
        page->Paint(context);
    }
    EXPECT_TRUE(picture.IsOk());
}

}  // namespace

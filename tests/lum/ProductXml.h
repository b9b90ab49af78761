#pragma once
// Products read from XML text, for tests that need pages and translations but no attachments.

#include <string>

#include "lum/data/Product.h"
#include "tarn/Pointer.h"

namespace lumtest {

tarn::P<lum::data::CProduct> ReadProduct(const std::string& xml);

}  // namespace lumtest

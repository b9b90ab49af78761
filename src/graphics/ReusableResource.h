#pragma once
// An object that writes itself to and reads itself from an XML node, and that elements can
// share through a "unique" id.

#include <wx/xml/xml.h>

#include <cstdint>

#include "tarn/Object.h"

namespace graphics {

class IResourceStore;
class IResourceInputStore;

class IReusableResource : public virtual tarn::IBase {
public:
    virtual void ToXml(wxXmlNode& node, IResourceStore* store) const = 0;
    virtual void FromXml(const wxXmlNode& node, IResourceInputStore& store) = 0;
    // The object's identity, used to number shared objects when writing.
    virtual std::int64_t GetResourceId() const = 0;
};

}  // namespace graphics

#include "lum/data/Translation.h"

#include "graphics/XmlValues.h"

namespace lum::data {

void CTranslation::ReadXml(const wxXmlNode& node, graphics::IResourceInputStore*) {
    graphics::xml::ReadString(node, "id", m_id);
    graphics::xml::ReadString(node, "default", m_default);
    graphics::xml::ReadString(node, "translation", m_translation);
    graphics::xml::ReadString(node, "language", m_language);
}

}  // namespace lum::data

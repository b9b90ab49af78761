#pragma once
// The listing of the medium's folders and files, as the authoring tool recorded it.

#include <wx/filename.h>
#include <wx/xml/xml.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/ResourceStore.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace lum::data {

class CVolumeFolder;

class CVolumeItem : public tarn::CObject {
public:
    virtual bool IsFolder() const = 0;
    // A new item of the same kind with everything copied (children included).
    virtual tarn::P<CVolumeItem> Clone() const = 0;
    virtual void WriteXml(wxXmlNode& node, graphics::IResourceStore* store) const;
    virtual void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store);
    // Copies name and origin; the parent stays.
    virtual void CopyFrom(const CVolumeItem& other);

    std::wstring GetName() const { return m_name; }
    void SetName(std::wstring name) { m_name = std::move(name); }
    wxFileName GetOrigin() const { return m_origin; }
    void SetOrigin(const wxFileName& origin) { m_origin = origin; }
    // The folder holding this item; null for the root.
    CVolumeFolder* GetParent() const { return m_parent; }

protected:
    // How a path read from XML becomes the origin: files and folders differ.
    virtual wxFileName OriginFromPath(const wxString& path) const = 0;

private:
    friend class CVolumeFolder;

    std::wstring m_name;
    wxFileName m_origin;
    tarn::PFrail<CVolumeFolder> m_parent = nullptr;
};

class CVolumeFolder : public CVolumeItem {
public:
    // Folders nested deeper than this are skipped when reading.
    static constexpr int kMaxDepth = 200;

    CVolumeFolder() = default;
    ~CVolumeFolder() override;
    CVolumeFolder(const CVolumeFolder&) = delete;
    CVolumeFolder& operator=(const CVolumeFolder&) = delete;

    bool IsFolder() const override { return true; }
    tarn::P<CVolumeItem> Clone() const override;
    void WriteXml(wxXmlNode& node, graphics::IResourceStore* store) const override;
    void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store) override;
    // Deep: every child is cloned. Raises tarn::CCastError when other is not a folder.
    void CopyFrom(const CVolumeItem& other) override;

    // Appends the child and becomes its parent. Raises tarn::CInvalidArgError for a null
    // child and for this folder or one of its ancestors, which would make a cycle.
    void AddChild(const tarn::P<CVolumeItem>& child);
    // Removes every occurrence of the child.
    void RemoveChild(const tarn::P<CVolumeItem>& child);
    void RemoveAllChildren();
    std::size_t GetChildCount() const { return m_children.size(); }
    tarn::P<CVolumeItem> GetChild(std::size_t index) const { return m_children.at(index); }

protected:
    wxFileName OriginFromPath(const wxString& path) const override;

private:
    void ReadLevel(const wxXmlNode& node, graphics::IResourceInputStore* store, int depth);
    void Orphan(CVolumeItem& child);

    std::vector<tarn::P<CVolumeItem>> m_children;
};

class CVolumeFile : public CVolumeItem {
public:
    bool IsFolder() const override { return false; }
    tarn::P<CVolumeItem> Clone() const override;
    void WriteXml(wxXmlNode& node, graphics::IResourceStore* store) const override;
    void ReadXml(const wxXmlNode& node, graphics::IResourceInputStore* store) override;
    // Takes the size too when other is a file.
    void CopyFrom(const CVolumeItem& other) override;

    std::int64_t GetSize() const { return m_size; }
    void SetSize(std::int64_t size) { m_size = size; }

protected:
    wxFileName OriginFromPath(const wxString& path) const override;

private:
    std::int64_t m_size = 0;
};

// The root folder of the listing.
class CVolume : public CVolumeFolder {
public:
    CVolume();
    tarn::P<CVolumeItem> Clone() const override;
};

}  // namespace lum::data

#pragma once
// The bag of named, typed values kept with documents and pages.

#include <wx/xml/xml.h>

#include <cstdint>
#include <map>
#include <string>

#include "graphics/Geometry.h"
#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace graphics {

class IResourceStore;
class IResourceInputStore;

class CXData : public tarn::CObject {
public:
    virtual void ToXml(wxXmlNode& node, IResourceStore* store) const = 0;
    virtual void FromXml(const wxXmlNode& node, IResourceInputStore* store) = 0;
    virtual std::wstring GetTypeName() const = 0;
    virtual tarn::P<CXData> Copy() const = 0;
    virtual bool IsEmpty() const = 0;
};

class CStringXData : public CXData {
public:
    explicit CStringXData(std::wstring value = {}) : m_value(std::move(value)) {}
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore* store) override;
    std::wstring GetTypeName() const override { return L"string"; }
    tarn::P<CXData> Copy() const override { return tarn::New<CStringXData>(m_value); }
    bool IsEmpty() const override { return m_value.empty(); }
    const std::wstring& GetValue() const { return m_value; }

private:
    std::wstring m_value;
};

class CIntXData : public CXData {
public:
    explicit CIntXData(std::int32_t value = 0) : m_value(value) {}
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore* store) override;
    std::wstring GetTypeName() const override { return L"int"; }
    tarn::P<CXData> Copy() const override { return tarn::New<CIntXData>(m_value); }
    // Every integer is a value, 0 included.
    bool IsEmpty() const override { return false; }
    std::int32_t GetValue() const { return m_value; }

private:
    std::int32_t m_value;
};

class CRectXData : public CXData {
public:
    explicit CRectXData(CDRect value = {}) : m_value(value) {}
    void ToXml(wxXmlNode& node, IResourceStore* store) const override;
    void FromXml(const wxXmlNode& node, IResourceInputStore* store) override;
    std::wstring GetTypeName() const override { return L"rect"; }
    tarn::P<CXData> Copy() const override { return tarn::New<CRectXData>(m_value); }
    bool IsEmpty() const override;
    const CDRect& GetValue() const { return m_value; }

private:
    CDRect m_value;
};

class CXDatas : public tarn::CObject {
public:
    void ToXml(wxXmlNode& node, IResourceStore* store) const;
    void FromXml(const wxXmlNode& node, IResourceInputStore* store);
    // True when no entry has a value.
    bool IsEmpty() const;
    tarn::P<CXData> Get(const std::wstring& name) const;
    void Set(const std::wstring& name, tarn::P<CXData> value);
    tarn::P<CXDatas> Copy() const;
    std::size_t GetCount() const { return m_values.size(); }

private:
    std::map<std::wstring, tarn::P<CXData>> m_values;
};

}  // namespace graphics

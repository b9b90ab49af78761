#include "tarn/Exception.h"

#include "tarn/Messages.h"
#include "tarn/StringLocalizer.h"
#include "tarn/Text.h"
#include "tarn/URI.h"

namespace tarn {

namespace {

std::wstring OrDefault(std::wstring text, const wchar_t* fallback) {
    return text.empty() ? std::wstring(fallback) : text;
}

std::wstring DisplayText(const P<CURI>& uri) {
    return uri ? uri->GetDisplayText() : std::wstring(L"<uri unknown>");
}

std::wstring FileNotFoundText(const P<CURI>& uri) {
    if (!uri) return Localize(messages::kFileNotFoundGeneral);
    return SetPlaceholder(Localize(messages::kFileNotFound), L"FILE", uri->GetDisplayText());
}

std::wstring EndOfStreamText(const P<CURI>& uri) {
    if (!uri) return L"Unexpected end of data stream.";
    return L"Unexpected end of data stream (uri: '" + uri->GetDisplayText() + L"').";
}

}  // namespace

CException::CException(std::wstring description, std::wstring title)
    : m_title(std::move(title)),
      m_description(std::move(description)),
      m_what(ToUtf8(m_description)) {}

const char* CException::what() const noexcept { return m_what.c_str(); }
std::wstring CException::GetTitle() const { return m_title; }
std::wstring CException::GetDescription() const { return m_description; }
P<CException> CException::Clone() const { return New<CException>(*this); }

CError::CError(std::wstring description, std::wstring title)
    : CException(OrDefault(std::move(description), L"Unspecified error"),
                 OrDefault(std::move(title), L"Error")) {}
P<CException> CError::Clone() const { return New<CError>(*this); }

CParseError::CParseError(std::wstring description, std::wstring title)
    : CError(std::move(description), std::move(title)) {}
P<CException> CParseError::Clone() const { return New<CParseError>(*this); }

std::wstring CObjectError::DescribeObject(const IBase* object, const std::wstring& className) {
    if (object) return L"object: " + object->GetObjectDescription();
    if (!className.empty()) return L"object class: " + className;
    return L"unknown object";
}

CObjectError::CObjectError(const IBase* object, std::wstring className,
                           std::wstring descriptionTemplate, std::wstring title)
    : CObjectError(Composed{},
                   descriptionTemplate.empty()
                       ? DescribeObject(object, className)
                       : SetPlaceholder(descriptionTemplate, L"OBJECTDESC",
                                        DescribeObject(object, className)),
                   std::move(title)) {}

CObjectError::CObjectError(Composed, std::wstring description, std::wstring title)
    : CError(std::move(description), OrDefault(std::move(title), L"Object error")) {}
P<CException> CObjectError::Clone() const { return New<CObjectError>(*this); }

CMethodNotImplementedError::CMethodNotImplementedError(const std::wstring& method,
                                                       const IBase* object)
    : CObjectError(Composed{}, L"Method not implemented (" + DescribeObject(object) + L"): " +
                                   (method.empty() ? L"unspecified method" : method) + L".") {}
P<CException> CMethodNotImplementedError::Clone() const {
    return New<CMethodNotImplementedError>(*this);
}

CInvalidObjectStateError::CInvalidObjectStateError(const std::wstring& reason,
                                                   const IBase* object)
    : CObjectError(Composed{}, L"The object is in an invalid state (" + DescribeObject(object) +
                                   L"): " + reason + L".") {}
P<CException> CInvalidObjectStateError::Clone() const {
    return New<CInvalidObjectStateError>(*this);
}

CEndOfEnumError::CEndOfEnumError(const IBase* object)
    : CInvalidObjectStateError(Localize(messages::kEndOfEnum), object) {}
P<CException> CEndOfEnumError::Clone() const { return New<CEndOfEnumError>(*this); }

CInvalidArgError::CInvalidArgError(const std::wstring& method, const std::wstring& argument,
                                   const IBase* object)
    : CObjectError(Composed{}, L"An invalid argument was passed to method '" +
                                   (method.empty() ? L"unspecified method" : method) + L"' of '" +
                                   DescribeObject(object) + L"': " +
                                   (argument.empty() ? L"unspecified argument" : argument)) {}
P<CException> CInvalidArgError::Clone() const { return New<CInvalidArgError>(*this); }

CCastError::CCastError(const std::wstring& sourceClass, const std::wstring& targetClass)
    : CObjectError(Composed{},
                   L"Error casting a '" + sourceClass + L"' object to '" + targetClass + L"'.",
                   L"Cast error") {}
P<CException> CCastError::Clone() const { return New<CCastError>(*this); }

CNoSuchObjectError::CNoSuchObjectError(std::wstring description)
    : CError(description.empty() ? Localize(messages::kNoSuchObject) : std::move(description)) {}
P<CException> CNoSuchObjectError::Clone() const { return New<CNoSuchObjectError>(*this); }

CURIError::CURIError(P<CURI> uri, const std::wstring& descriptionTemplate, std::wstring title)
    : CError(SetPlaceholder(descriptionTemplate, L"URI", DisplayText(uri)), std::move(title)),
      m_uri(std::move(uri)) {}
CURIError::CURIError(Composed, P<CURI> uri, std::wstring description, std::wstring title)
    : CError(std::move(description), std::move(title)), m_uri(std::move(uri)) {}
P<CException> CURIError::Clone() const { return New<CURIError>(*this); }
P<CURI> CURIError::GetURI() const { return m_uri; }

CFileError::CFileError(P<CURI> uri, const std::wstring& description, std::wstring title)
    : CURIError(std::move(uri), description, std::move(title)) {}
CFileError::CFileError(Composed, P<CURI> uri, std::wstring description)
    : CURIError(Composed{}, std::move(uri), std::move(description)) {}
P<CException> CFileError::Clone() const { return New<CFileError>(*this); }

CFileNotFoundError::CFileNotFoundError(P<CURI> uri)
    : CFileError(Composed{}, uri, FileNotFoundText(uri)) {}
P<CException> CFileNotFoundError::Clone() const { return New<CFileNotFoundError>(*this); }

CStreamError::CStreamError(P<CURI> uri, const std::wstring& description)
    : CURIError(std::move(uri), description) {}
CStreamError::CStreamError(Composed, P<CURI> uri, std::wstring description)
    : CURIError(Composed{}, std::move(uri), std::move(description)) {}
P<CException> CStreamError::Clone() const { return New<CStreamError>(*this); }

CStreamClosedError::CStreamClosedError(P<CURI> uri)
    : CStreamError(std::move(uri), L"The stream has been closed.") {}
P<CException> CStreamClosedError::Clone() const { return New<CStreamClosedError>(*this); }

CEndOfStreamError::CEndOfStreamError(P<CURI> uri)
    : CStreamError(Composed{}, uri, EndOfStreamText(uri)) {}
P<CException> CEndOfStreamError::Clone() const { return New<CEndOfStreamError>(*this); }

}  // namespace tarn

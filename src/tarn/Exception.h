#pragma once
// The error tree: every failure is thrown as one of these, by value, and caught by reference.
// Each carries a title and a description; Clone keeps an error beyond its handler.

#include <exception>
#include <string>

#include "tarn/Object.h"
#include "tarn/Pointer.h"

namespace tarn {

class CURI;

class CException : public std::exception, public CObject {
public:
    CException(std::wstring description, std::wstring title);

    // The description as UTF-8, valid while the error lives.
    const char* what() const noexcept override;
    virtual std::wstring GetTitle() const;
    virtual std::wstring GetDescription() const;
    virtual P<CException> Clone() const;

private:
    std::wstring m_title;
    std::wstring m_description;
    std::string m_what;
};

class CError : public CException {
public:
    explicit CError(std::wstring description = {}, std::wstring title = {});
    P<CException> Clone() const override;
};

class CParseError : public CError {
public:
    explicit CParseError(std::wstring description = {}, std::wstring title = {});
    P<CException> Clone() const override;
};

class CObjectError : public CError {
public:
    // The template's "%OBJECTDESC%" becomes the object's description; an empty template
    // gives the object description alone.
    CObjectError(const IBase* object, std::wstring className, std::wstring descriptionTemplate,
                 std::wstring title = {});
    P<CException> Clone() const override;

    // "object: ..." for an object, "object class: ..." for a known class, else "unknown object".
    static std::wstring DescribeObject(const IBase* object, const std::wstring& className = {});

protected:
    struct Composed {};
    // For subclasses that compose their whole description themselves.
    CObjectError(Composed, std::wstring description, std::wstring title = {});
};

class CMethodNotImplementedError : public CObjectError {
public:
    CMethodNotImplementedError(const std::wstring& method, const IBase* object);
    P<CException> Clone() const override;
};

class CInvalidObjectStateError : public CObjectError {
public:
    CInvalidObjectStateError(const std::wstring& reason, const IBase* object);
    P<CException> Clone() const override;
};

class CEndOfEnumError : public CInvalidObjectStateError {
public:
    explicit CEndOfEnumError(const IBase* object);
    P<CException> Clone() const override;
};

class CInvalidArgError : public CObjectError {
public:
    CInvalidArgError(const std::wstring& method, const std::wstring& argument,
                     const IBase* object);
    P<CException> Clone() const override;
};

class CCastError : public CObjectError {
public:
    CCastError(const std::wstring& sourceClass, const std::wstring& targetClass);
    P<CException> Clone() const override;
};

class CNoSuchObjectError : public CError {
public:
    explicit CNoSuchObjectError(std::wstring description = {});
    P<CException> Clone() const override;
};

class CURIError : public CError {
public:
    // Every "%URI%" in the template becomes the URI's display text, or "<uri unknown>".
    CURIError(P<CURI> uri, const std::wstring& descriptionTemplate, std::wstring title = {});
    P<CException> Clone() const override;
    P<CURI> GetURI() const;

protected:
    struct Composed {};
    // For subclasses whose description is complete: it is not searched for "%URI%".
    CURIError(Composed, P<CURI> uri, std::wstring description, std::wstring title = {});

private:
    P<CURI> m_uri;
};

class CFileError : public CURIError {
public:
    CFileError(P<CURI> uri, const std::wstring& description, std::wstring title = {});
    P<CException> Clone() const override;

protected:
    CFileError(Composed, P<CURI> uri, std::wstring description);
};

class CFileNotFoundError : public CFileError {
public:
    explicit CFileNotFoundError(P<CURI> uri = nullptr);
    P<CException> Clone() const override;
};

class CStreamError : public CURIError {
public:
    CStreamError(P<CURI> uri, const std::wstring& description);
    P<CException> Clone() const override;

protected:
    CStreamError(Composed, P<CURI> uri, std::wstring description);
};

class CStreamClosedError : public CStreamError {
public:
    explicit CStreamClosedError(P<CURI> uri = nullptr);
    P<CException> Clone() const override;
};

class CEndOfStreamError : public CStreamError {
public:
    explicit CEndOfStreamError(P<CURI> uri = nullptr);
    P<CException> Clone() const override;
};

}  // namespace tarn

#pragma once
// The error the toolkit-facing code throws with a composed toolkit string.

#include <wx/string.h>

#include "tarn/Exception.h"

namespace wxutil {

class CWXError : public tarn::CError {
public:
    explicit CWXError(const wxString& message);

    tarn::P<tarn::CException> Clone() const override;
    const wxString& GetMessage() const { return m_message; }

private:
    wxString m_message;
};

}  // namespace wxutil

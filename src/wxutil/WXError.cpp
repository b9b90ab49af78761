#include "wxutil/WXError.h"

namespace wxutil {

CWXError::CWXError(const wxString& message)
    : tarn::CError(message.ToStdWstring(), L"Error"), m_message(message) {}

tarn::P<tarn::CException> CWXError::Clone() const { return tarn::New<CWXError>(*this); }

}  // namespace wxutil
